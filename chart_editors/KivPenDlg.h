// How every chart editor comes into being (a modal dialog centred on its
// owner's window, or a child of another editor's page), the pen editor with
// its entry point and the pen sample button, and the list, value-format,
// arrow and cursor routines the other editors share.
//
// Tested by: chart_editors/tests/PenDialogTest.cpp, chart_editors/tests/EditorRoutinesTest.cpp
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QStringList>

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

#include "chart/core/KivStyles.h"
#include "chart/widgets/KivCanvasWidgets.h"
#include "chart_editors/EditorForm.h"
#include "platform/ui/Cursors.h"

namespace chart_editors {

// ---------------------------------------------------------------------------
// Creating and embedding editor forms

// The window a modal editor of owner belongs to: the window owner sits in,
// or nullptr without an owner.
QWidget* ModalEditorOwner(QWidget* owner);
// Gives a created form the frame of a modal dialog (fixed size, no
// minimise or maximise); Qt centres it on its owner's window when it shows,
// or on the screen when it has none.
void PrepareModalEditorForm(TEditorForm& form);

// A new modal editor of class TForm for owner; the caller runs it
// (ui::ShowModal) and frees it.
template <class TForm>
std::unique_ptr<TForm> CreateModalEditorForm(QWidget* owner) {
  auto form = std::make_unique<TForm>(ModalEditorOwner(owner));
  PrepareModalEditorForm(*form);
  return form;
}

// Makes a created form a borderless child of a page that edits tag, places
// it (filling the page when the form aligns to its client, else 4 pixels in
// from the left and at most 4 from the top) and shows it; the form fills
// itself from tag then, even while the page is not on the screen.
void EmbedEditorForm(TEditorForm& form, QWidget* parent, classlib::TPersistent* tag);

// Shows or hides every control of the list.
void SetControlsVisible(bool visible, std::initializer_list<QWidget*> controls);

// ---------------------------------------------------------------------------
// Pen editor

// The pen editor, "Border Editor". It edits the pen in place while it is
// open; Cancel puts back what it had, and only when something changed.
class TPenDialog : public TEditorForm {
 public:
  explicit TPenDialog(QWidget* owner = nullptr);

  // properties
  chart::TPen* Pen() const { return FPen; }
  // The pen to edit (not owned), before the form shows.
  void SetPen(chart::TPen* pen) { FPen = pen; }
  bool Modified() const { return FModified; }

  // The item of CBStyle that stands for small dots (a chart pen only).
  static constexpr int SmallDotsItem = 5;

  // controls
  QCheckBox* CBVisible;
  QLabel* LWidth;
  QSpinBox* UDWidth;
  QLineEdit* SEWidth;  // the edit of UDWidth
  QLabel* Label1;
  chart::TComboFlat* CBStyle;
  chart::TButtonColor* BColor;
  chart::TComboFlat* CBEndStyle;
  QPushButton* BOk;
  QPushButton* BCancel;

  // overrides
  void FormShow() override;
  // Cancel, Escape and closing the window: the pen as it was.
  void reject() override;

 private:
  chart::TChartPen* ChartPen() const { return dynamic_cast<chart::TChartPen*>(FPen); }
  void SEWidthChange();
  void CBStyleChange(int index);
  void CBEndStyleChange(int index);
  void CBVisibleClick(bool checked);
  void BColorClick();
  void EnableWidth(bool enabled);

  std::unique_ptr<chart::TChartPen> FBackup;
  bool FModified = false;
  chart::TPen* FPen = nullptr;
};

// Edits pen in the pen editor (its Visible box hidden when hideVisible);
// true when the user closed it with OK.
bool EditChartPen(QWidget* owner, chart::TPen& pen, bool hideVisible = false);

// A push button showing a short line drawn with its pen near its right end;
// a click edits the pen, and OnClick follows only when the user confirmed.
class TButtonPen : public chart::TKivButton {
 public:
  explicit TButtonPen(QWidget* parent = nullptr);

  // properties
  chart::TPen* Pen() const;
  // Passed on to the pen editor: no Visible box there.
  bool HideVisible() const { return FHideVisible; }
  void SetHideVisible(bool v) { FHideVisible = v; }

  // operations
  // Binds the button to pen (nullptr: none) and repaints it.
  void LinkPen(chart::TPen* pen);

  // events
  // After the pen editor closed with OK, or at every click while no pen is linked.
  std::function<void()> OnClick;

  // The widest line the sample draws.
  static constexpr int MaxSampleWidth = 6;

  // overrides
  void DrawSample(chart::TKivCanvas3D& canvas) override;

 private:
  void Click();

  bool FHideVisible = false;
};

// ---------------------------------------------------------------------------
// Lists, value formats, arrows and cursors

// Moves the selected items of from (text and data, in their order) to the
// end of to.
void MoveSelectedListItems(QListWidget& from, QListWidget& to);
// Moves every item of from to the end of to.
void MoveAllListItems(QListWidget& from, QListWidget& to);

// Appends the value formats the editors offer, the chart's default first.
void AddDefaultValueFormats(QStringList& items);

// The glyphs of the move-up and move-down buttons.
void LoadArrowBitmaps(QImage& upGlyph, QImage& downGlyph);

// "crKivHand" is the chart's hand (2020); other names are the screen cursors'
// or a number. Raises classlib::EConvertError for a name that is neither.
ui::TCursor KivCursorFromName(std::string_view name);
// The name of a cursor, or its number as text when it has none.
std::string KivCursorToName(ui::TCursor cursor);
// The name without a leading "cr".
std::string StripCursorPrefix(std::string_view name);
// Fills combo with the names of every cursor without their "cr", sorted, and
// selects cursor's (nothing for a cursor without a name).
void FillCursorCombo(QComboBox& combo, ui::TCursor cursor);

}  // namespace chart_editors
