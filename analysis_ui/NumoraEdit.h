// The vector and matrix editor: a window that shows a vector or a matrix in
// a string grid, edits it when allowed, loads and saves it (the numeric
// library's matrix and vector files, delimited text, Matrix Market text),
// copies and pastes it as delimited text, resizes it and applies simple
// operations. Its "Chart" menu holds the plug-in items registered by other
// units (the values window's "Series in rows" and "Series in cols").
//
// Other forms open it on a vector with ViewValues:
//   ViewValues(vec, "Coefficients", /*Modal=*/true, /*StayOnTop=*/false, /*Editable=*/true);
// A modal, editable window writes the values back into vec when it closes;
// a modeless one works on its own copy and frees itself when closed.
//
// An editable grid is read back into the data before every operation: the
// cells the user changed, each checked first (a cell that does not read is
// reported by row and column and nothing changes); the other values keep
// their full precision, whatever the display format rounds them to.
//
// Settings live in the settings store under "\Software\Halvane\Numora",
// section "NumoraEditor", read when the window is set up (ReadSettings) and
// written when it goes.
//
// Tested by: analysis_ui/tests/NumoraEditTest.cpp
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <QDialog>

#include "numeric/Mtx.h"
#include "numeric/Vec.h"

class QAction;
class QMenu;
class QMenuBar;

namespace analysis_ui {

class TNumoraEditForm;
class TStringGrid;

// A command of the editor's "Chart" menu, made for one window: its action
// (owned by the window) is the menu item.
class TMtxEditKivItem {
 public:
  explicit TMtxEditKivItem(TNumoraEditForm& Form);
  virtual ~TMtxEditKivItem();
  TMtxEditKivItem(const TMtxEditKivItem&) = delete;
  TMtxEditKivItem& operator=(const TMtxEditKivItem&) = delete;

  // properties
  QAction* Action() const { return FAction; }
  TNumoraEditForm& Form() const { return FForm; }

  // introduced virtual
  // Enables the action for the window's data.
  virtual void Update() = 0;
  virtual void Execute() = 0;

 private:
  TNumoraEditForm& FForm;
  QAction* FAction;
};

// What a unit registers: makes its item for a window.
using TMtxEditKivItemClass = std::unique_ptr<TMtxEditKivItem> (*)(TNumoraEditForm& Form);
void RegisterMtxEditItem(TMtxEditKivItemClass ItemClass);
void UnregisterMtxEditItem(TMtxEditKivItemClass ItemClass);
// The registered classes, in the order of registration.
std::vector<TMtxEditKivItemClass> MtxEditItemClasses();

// "#" and a decimal character code (1 to 127) as that one character; any
// text without "#" as it stands. Nothing for an empty text or a "#" text
// that is no such code.
std::optional<std::string> DecodeDelimiter(const std::string& Text);
// The delimiter as the store keeps it: a control character, a blank or "#"
// as "#" and its code, anything else as it stands.
std::string EncodeDelimiter(const std::string& Delimiter);

class TNumoraEditForm : public QDialog {
 public:
  // An empty 0 x 0 matrix, the grid not editable, a tab as delimiter.
  explicit TNumoraEditForm(QWidget* parent = nullptr);
  // Writes the settings.
  ~TNumoraEditForm() override;

  // properties
  numeric::TMtx& Data() const { return *FData; }
  // Opened on a vector: the size dialog asks for one length, no transposing.
  bool IsVector() const { return FIsVector; }
  bool Editable() const { return FEditable; }
  // A grid that stops being editable is read back first.
  void SetEditable(bool Value);
  const std::string& Delimiter() const { return FDelimiter; }
  const std::string& StringFormat() const { return FStringFormat; }
  bool Scientific() const { return FScientific; }
  std::int32_t ColumnWidth() const { return FColumnWidth; }
  TStringGrid& Grid() const { return *FGrid; }
  bool Modal() const { return FModal; }
  const std::string& LastOpenDir() const { return FLastOpenDir; }
  const std::string& LastSaveDir() const { return FLastSaveDir; }

  // operations
  // Sizes the grid and the window to the data and writes the values.
  void FillGrid();
  // Dst := the data with the cells the user changed read in (the data
  // itself when the grid is not editable). A cell that does not read raises
  // and leaves Dst as it was.
  void GridValues(numeric::TMtx& Dst) const;
  // Reads the changed cells into the data (editable grid only).
  void ReadGrid();
  // Enables the commands for the data and the clipboard now.
  void UpdateActions();

  // The commands of the menus.
  void ALoadExecute();
  void ASaveExecute();
  void ACopyExecute();
  void ACopyRealExecute();
  void APasteExecute();
  void APasteComplexExecute();
  void ASizeExecute();
  void ASetZeroExecute();
  void ATranspExecute();
  void AAdjungExecute();
  void ARealPartExecute();
  void AImagPartExecute();
  void AMagExecute();
  void AEditableExecute();
  void AColWidthExecute();
  void AStrFmtExecute();
  void ASetDelimiterExecute();
  void ScientificFormatItemClick();

 protected:
  // overrides
  // The Chart menu is made afresh from the registered items.
  void showEvent(QShowEvent* event) override;
  // A modal, editable window opened on a vector writes it back first; a
  // cell that does not read keeps the window open with the message.
  void done(int r) override;

 private:
  friend void ReadSettings(TNumoraEditForm& Form, const numeric::TMtx& Data, const std::string& Caption, bool Modal,
                           bool StayOnTop, bool Editable);
  friend void ViewValues(numeric::TVec& Values, const std::string& Caption, bool Modal, bool StayOnTop, bool Editable);

  QAction* NewAction(const char* name, const char* caption, void (TNumoraEditForm::*handler)());
  void BuildMenus();
  void WriteSettings();
  void ReadSettingsFromStore();
  // Sets the window's place as the stored position asks.
  void ApplyPosition();
  void SetData(const numeric::TMtx& Value);
  // Data := Part of the data (its real or imaginary part, its magnitudes).
  void ReplaceByPart(numeric::TMtx& (numeric::TMtx::*Part)(const numeric::TMtx&));
  void SetClipboardLines(const numeric::TMtx& Values);
  // The clipboard's text as a matrix.
  void ReadClipboard(numeric::TMtx& Dst) const;
  void CellChanged(int row, int column);
  void FreeChartItems();

  std::unique_ptr<numeric::TMtx> FData;
  numeric::TVec* FSourceVector = nullptr;
  bool FIsVector = false;
  bool FEditable = false;
  bool FModal = false;
  bool FFilling = false;
  std::string FDelimiter = "\t";
  std::string FStringFormat = "0.0000";
  bool FScientific = false;
  std::int32_t FColumnWidth = 64;
  std::string FLastSaveDir, FLastOpenDir;
  std::int32_t FFormStyle = 0;
  std::int32_t FFormPosition = 4;
  std::string FDefaultExt = "mtx";
  int FOpenFilterIndex = 1;
  int FSaveFilterIndex = 1;
  // The grid cells (row, column) the user changed since the last fill.
  std::set<std::pair<int, int>> FChangedCells;

  TStringGrid* FGrid = nullptr;
  QMenuBar* FMenuBar = nullptr;
  QMenu* FChartMenu = nullptr;
  QAction* ALoad = nullptr;
  QAction* ASave = nullptr;
  QAction* AClose = nullptr;
  QAction* ACopy = nullptr;
  QAction* ACopyReal = nullptr;
  QAction* APaste = nullptr;
  QAction* APasteComplex = nullptr;
  QAction* ASize = nullptr;
  QAction* ASetZero = nullptr;
  QAction* ATransp = nullptr;
  QAction* AAdjung = nullptr;
  QAction* ARealPart = nullptr;
  QAction* AImagPart = nullptr;
  QAction* AMag = nullptr;
  QAction* AEditable = nullptr;
  QAction* AColWidth = nullptr;
  QAction* AStrFmt = nullptr;
  QAction* ASetDelimiter = nullptr;
  QAction* ScientificFormatItem = nullptr;
  std::vector<std::unique_ptr<TMtxEditKivItem>> FChartItems;
};

// Sets the window up for Data (copied unless it is the window's own data)
// and shows it: Editable, the stored form style (or stay-on-top), the
// caption (Data's when Caption is empty), the stored settings; then the grid
// is filled and the window shown, modally when Modal.
void ReadSettings(TNumoraEditForm& Form, const numeric::TMtx& Data, const std::string& Caption, bool Modal,
                  bool StayOnTop, bool Editable);
// Shows Values in a new editor window, as one value column. A modal window
// returns when it is closed, an editable one having written the values back
// into Values; a modeless one works on a copy and frees itself when closed.
void ViewValues(numeric::TVec& Values, const std::string& Caption, bool Modal, bool StayOnTop, bool Editable);

}  // namespace analysis_ui
