// The vector and matrix editor: the window, its menus, its settings, the
// grid and the plug-in items of its Chart menu; the commands are in
// NumoraEditActions.cpp.
//
// Tested by: analysis_ui/tests/NumoraEditTest.cpp
#include "analysis_ui/NumoraEdit.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionMenuItem>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

#include "analysis_ui/MtxDialogs.h"
#include "analysis_ui/StringGrid.h"
#include "numeric/ObjectCache.h"
#include "platform/classlib/Exception.h"
#include "platform/classlib/WarningSink.h"
#include "platform/ui/Guarded.h"
#include "platform/ui/RegistryStore.h"
#include "platform/ui/UserDialogs.h"

namespace analysis_ui {

namespace {

constexpr const char* EditorStoreKey = "\\Software\\Halvane\\Numora";
constexpr const char* EditorStoreSection = "NumoraEditor";
constexpr std::int32_t DefaultColumnWidth = 64;
// The form styles and positions the store keeps, by their numbers.
constexpr std::int32_t fsStayOnTop = 3;
constexpr std::int32_t poDesigned = 0;
constexpr std::int32_t poScreenCenter = 4;
constexpr std::int32_t poOwnerFormCenter = 7;

std::vector<TMtxEditKivItemClass>& ItemClasses() {
  static std::vector<TMtxEditKivItemClass> classes;
  return classes;
}

QRect ScreenRect(const QWidget& window) {
  const QScreen* screen = window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->geometry() : QRect(0, 0, 1024, 768);
}

// The width that shows every menu of the bar side by side; the bar's own
// size hint counts only the menus that fit the window as it is.
int MenuBarWidth(const QMenuBar& bar) {
  const QStyle& style = *bar.style();
  QStyleOptionMenuItem option;
  option.initFrom(&bar);
  const int spacing = style.pixelMetric(QStyle::PM_MenuBarItemSpacing, nullptr, &bar);
  int width = 2 * (style.pixelMetric(QStyle::PM_MenuBarHMargin, nullptr, &bar) +
                   style.pixelMetric(QStyle::PM_MenuBarPanelWidth, nullptr, &bar));
  for (const QAction* action : bar.actions()) {
    if (!action->isVisible()) continue;
    const QSize text = bar.fontMetrics().size(Qt::TextShowMnemonic, action->text());
    width += style.sizeFromContents(QStyle::CT_MenuBarItem, &option, text, &bar).width() + spacing;
  }
  return width;
}

// Value kept within [low, high], the lower bound winning when they cross.
int KeepWithin(int value, int low, int high) { return std::max(std::min(value, high), low); }

}  // namespace

// ---------------------------------------------------------------------------
// Plug-in items

TMtxEditKivItem::TMtxEditKivItem(TNumoraEditForm& Form) : FForm(Form), FAction(new QAction(&Form)) {
  QObject::connect(FAction, &QAction::triggered, &Form, ui::Guarded([this] { Execute(); }));
}

TMtxEditKivItem::~TMtxEditKivItem() { delete FAction; }

void RegisterMtxEditItem(TMtxEditKivItemClass ItemClass) {
  std::vector<TMtxEditKivItemClass>& classes = ItemClasses();
  if (std::find(classes.begin(), classes.end(), ItemClass) == classes.end()) classes.push_back(ItemClass);
}

void UnregisterMtxEditItem(TMtxEditKivItemClass ItemClass) {
  std::vector<TMtxEditKivItemClass>& classes = ItemClasses();
  classes.erase(std::remove(classes.begin(), classes.end(), ItemClass), classes.end());
}

std::vector<TMtxEditKivItemClass> MtxEditItemClasses() { return ItemClasses(); }

// ---------------------------------------------------------------------------
// Delimiters

std::optional<std::string> DecodeDelimiter(const std::string& Text) {
  if (Text.empty()) return std::nullopt;
  if (Text.find('#') == std::string::npos) return Text;
  if (Text.size() < 2 || Text.size() > 4 || Text[0] != '#') return std::nullopt;
  int code = 0;
  for (std::size_t i = 1; i < Text.size(); ++i) {
    if (Text[i] < '0' || Text[i] > '9') return std::nullopt;
    code = code * 10 + (Text[i] - '0');
  }
  // One byte of plain text: the clipboard and text files carry it as it is.
  if (code < 1 || code > 127) return std::nullopt;
  return std::string(1, static_cast<char>(code));
}

std::string EncodeDelimiter(const std::string& Delimiter) {
  if (Delimiter.size() == 1 &&
      (static_cast<unsigned char>(Delimiter[0]) <= ' ' || Delimiter[0] == '#' || Delimiter[0] == '\x7f'))
    return "#" + std::to_string(static_cast<unsigned char>(Delimiter[0]));
  return Delimiter;
}

// ---------------------------------------------------------------------------
// The window

TNumoraEditForm::TNumoraEditForm(QWidget* parent) : QDialog(parent), FData(std::make_unique<numeric::TMtx>()) {
  setObjectName("NumoraEditForm");
  setWindowTitle("View values");
  setSizeGripEnabled(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  FMenuBar = new QMenuBar(this);
  FMenuBar->setObjectName("MainMenu");
  FMenuBar->setNativeMenuBar(false);
  layout->setMenuBar(FMenuBar);
  FGrid = new TStringGrid(this);
  FGrid->setObjectName("StringGrid");
  layout->addWidget(FGrid);
  BuildMenus();
  connect(FGrid, &QTableWidget::cellChanged, this, [this](int row, int column) { CellChanged(row, column); });
  if (QClipboard* clipboard = QGuiApplication::clipboard())
    connect(clipboard, &QClipboard::dataChanged, this, ui::Guarded([this] { UpdateActions(); }));
  SetEditable(false);
  FillGrid();
}

TNumoraEditForm::~TNumoraEditForm() {
  ui::RunGuarded([this] { WriteSettings(); });
  FreeChartItems();
}

QAction* TNumoraEditForm::NewAction(const char* name, const char* caption, void (TNumoraEditForm::*handler)()) {
  auto* action = new QAction(QString::fromUtf8(caption), this);
  action->setObjectName(name);
  connect(action, &QAction::triggered, this, ui::Guarded([this, handler] { (this->*handler)(); }));
  return action;
}

void TNumoraEditForm::BuildMenus() {
  ALoad = NewAction("ALoad", "Load", &TNumoraEditForm::ALoadExecute);
  ASave = NewAction("ASave", "Save", &TNumoraEditForm::ASaveExecute);
  AClose = new QAction("Close", this);
  AClose->setObjectName("AClose");
  connect(AClose, &QAction::triggered, this, [this] { close(); });
  ACopy = NewAction("ACopy", "&Copy", &TNumoraEditForm::ACopyExecute);
  ACopyReal = NewAction("ACopyReal", "Copy as real", &TNumoraEditForm::ACopyRealExecute);
  APaste = NewAction("APaste", "Paste", &TNumoraEditForm::APasteExecute);
  APasteComplex = NewAction("APasteComplex", "Paste as complex", &TNumoraEditForm::APasteComplexExecute);
  ASize = NewAction("ASize", "&Size", &TNumoraEditForm::ASizeExecute);
  ASetZero = NewAction("ASetZero", "Initialize to zero", &TNumoraEditForm::ASetZeroExecute);
  ATransp = NewAction("ATransp", "Transp", &TNumoraEditForm::ATranspExecute);
  AAdjung = NewAction("AAdjung", "Adjung", &TNumoraEditForm::AAdjungExecute);
  ARealPart = NewAction("ARealPart", "Real part", &TNumoraEditForm::ARealPartExecute);
  AImagPart = NewAction("AImagPart", "Imag part", &TNumoraEditForm::AImagPartExecute);
  AMag = NewAction("AMag", "Mag", &TNumoraEditForm::AMagExecute);
  AEditable = NewAction("AEditable", "Editable", &TNumoraEditForm::AEditableExecute);
  AEditable->setCheckable(true);
  AColWidth = NewAction("AColWidth", "Column width", &TNumoraEditForm::AColWidthExecute);
  AStrFmt = NewAction("AStrFmt", "String format", &TNumoraEditForm::AStrFmtExecute);
  ASetDelimiter = NewAction("ASetDelimiter", "Delimiter = #9", &TNumoraEditForm::ASetDelimiterExecute);
  ScientificFormatItem =
      NewAction("ScientificFormatItem", "Use scientific format", &TNumoraEditForm::ScientificFormatItemClick);
  ScientificFormatItem->setCheckable(true);

  QMenu* file = FMenuBar->addMenu("&File");
  file->setObjectName("FileMenu");
  file->addActions({ALoad, ASave, AClose});
  QMenu* edit = FMenuBar->addMenu("&Edit");
  edit->setObjectName("EditMenu");
  edit->addActions({ACopy, ACopyReal, APaste, APasteComplex, ASize, ASetZero});
  QMenu* operations = edit->addMenu("Operations");
  operations->setObjectName("OperationsMenu");
  operations->addActions({ATransp, AAdjung, ARealPart, AImagPart, AMag});
  QMenu* options = FMenuBar->addMenu("&Options");
  options->setObjectName("OptionsMenu");
  options->addActions({AEditable, AColWidth, ASetDelimiter, AStrFmt, ScientificFormatItem});
  FChartMenu = FMenuBar->addMenu("Chart");
  FChartMenu->setObjectName("ChartMenu");
  FChartMenu->menuAction()->setVisible(false);
  // The clipboard and the data may have changed since the commands were set.
  for (QMenu* menu : {file, edit, operations, options, FChartMenu})
    connect(menu, &QMenu::aboutToShow, this, ui::Guarded([this] { UpdateActions(); }));
}

void TNumoraEditForm::SetEditable(bool Value) {
  if (FEditable && !Value) ReadGrid();
  FEditable = Value;
  AEditable->setChecked(Value);
  FGrid->setEditTriggers(Value ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                     QAbstractItemView::AnyKeyPressed
                               : QAbstractItemView::NoEditTriggers);
}

void TNumoraEditForm::SetData(const numeric::TMtx& Value) {
  const std::string caption = FData->Caption();
  FData->Copy(Value);
  FData->SetCaption(caption);
}

void TNumoraEditForm::CellChanged(int row, int column) {
  if (!FFilling) FChangedCells.insert({row, column});
}

void TNumoraEditForm::FillGrid() {
  const numeric::TMtx& data = *FData;
  const int parts = data.Complex() ? 2 : 1;
  const int rows = data.Rows() + 1;
  const int cols = data.Cols() * parts + 1;
  {
    FFilling = true;
    struct TEnd {
      bool& Flag;
      ~TEnd() { Flag = false; }
    } end{FFilling};
    FGrid->horizontalHeader()->setDefaultSectionSize(FColumnWidth);
    FGrid->SetRowCount(rows);
    FGrid->SetColCount(cols);
    for (int c = 0; c < cols; ++c) FGrid->setColumnWidth(c, FColumnWidth);
    FGrid->SetFixedRows(rows >= 2 ? 1 : 0);
    FGrid->SetFixedCols(cols >= 2 ? 1 : 0);
    MtxToStringGrid(data, *FGrid, true, FScientific ? std::string() : FStringFormat);
    FGrid->SetCells(0, 0, std::to_string(data.Rows()) + "x" + std::to_string(data.Cols()));
    // The cursor starts on the first value, not on a header.
    if (rows > FGrid->FixedRows() && cols > FGrid->FixedCols())
      FGrid->setCurrentCell(FGrid->FixedRows(), FGrid->FixedCols());
    FChangedCells.clear();
  }
  // The window fits the grid, within most of the screen to its right and below.
  const QRect screen = ScreenRect(*this);
  const int rowHeight = FGrid->verticalHeader()->defaultSectionSize();
  // Narrower than its menu bar, the window would fold the menus away.
  const int width = KeepWithin((FColumnWidth + 1) * cols + 15, std::max(64, MenuBarWidth(*FMenuBar)),
                               static_cast<int>(std::trunc((screen.right() + 1 - x()) * 0.85)));
  const int height = KeepWithin(FMenuBar->sizeHint().height() + (rowHeight + 1) * (rows + 1) - 13, rowHeight + 1,
                                static_cast<int>(std::trunc((screen.bottom() + 1 - y()) * 0.85)));
  resize(width, height);
  UpdateActions();
}

void TNumoraEditForm::GridValues(numeric::TMtx& Dst) const {
  if (!FEditable || FChangedCells.empty()) {
    if (&Dst != FData.get()) Dst.Copy(*FData);
    return;
  }
  const numeric::TMtx& data = *FData;
  const bool complex = data.Complex();
  const int parts = complex ? 2 : 1;
  numeric::TCachedMtx values;
  values->Copy(data);
  for (const auto& [row, column] : FChangedCells) {
    const int r = row - 1;
    const int c = (column - 1) / parts;
    if (r < 0 || column < 1 || r >= data.Rows() || c >= data.Cols()) continue;
    const int firstColumn = 1 + c * parts;
    if (complex) {
      // Both cells of the value are read; a part the user left alone keeps
      // its value, not the rounded text it shows.
      const numeric::TCplx old = values->CRowValues(r)[c];
      StringGridToMtx(*values, *FGrid, row, firstColumn, true, r, c, 1, 1);
      numeric::TCplx& now = values->CRowValues(r)[c];
      if (FChangedCells.count({row, firstColumn}) == 0) now.Re = old.Re;
      if (FChangedCells.count({row, firstColumn + 1}) == 0) now.Im = old.Im;
    } else {
      StringGridToMtx(*values, *FGrid, row, firstColumn, false, r, c, 1, 1);
    }
  }
  Dst.Copy(*values);
}

void TNumoraEditForm::ReadGrid() {
  if (!FEditable) return;
  GridValues(*FData);
  FChangedCells.clear();
}

void TNumoraEditForm::UpdateActions() {
  const bool complex = FData->Complex();
  const QClipboard* clipboard = QGuiApplication::clipboard();
  const bool text = clipboard != nullptr && clipboard->mimeData() != nullptr && clipboard->mimeData()->hasText();
  ACopyReal->setEnabled(complex);
  APaste->setEnabled(text);
  APasteComplex->setEnabled(text);
  ATransp->setEnabled(!FIsVector);
  AAdjung->setEnabled(!FIsVector);
  ARealPart->setEnabled(complex);
  AImagPart->setEnabled(complex);
  AMag->setEnabled(complex);
  for (const auto& item : FChartItems) item->Update();
}

void TNumoraEditForm::FreeChartItems() {
  FChartItems.clear();
  if (FChartMenu != nullptr) FChartMenu->clear();
}

void TNumoraEditForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  ui::RunGuarded([this] {
    const std::vector<TMtxEditKivItemClass> classes = MtxEditItemClasses();
    if (classes.empty() && FChartItems.empty()) return;
    FreeChartItems();
    FChartMenu->menuAction()->setVisible(!classes.empty());
    for (TMtxEditKivItemClass itemClass : classes) {
      FChartItems.push_back(itemClass(*this));
      FChartMenu->addAction(FChartItems.back()->Action());
    }
    const int menus = MenuBarWidth(*FMenuBar);
    if (width() < menus) resize(menus, height());
    UpdateActions();
  });
}

void TNumoraEditForm::done(int r) {
  if (FModal && FEditable && FSourceVector != nullptr) {
    try {
      ReadGrid();
      FSourceVector->CopyFromMtx(*FData);
    } catch (...) {
      // The window stays open on the cell that does not read.
      ui::ShowException(std::current_exception());
      return;
    }
  }
  QDialog::done(r);
}

// ---------------------------------------------------------------------------
// Settings

void TNumoraEditForm::ReadSettingsFromStore() {
  const ui::TRegIniFile store(EditorStoreKey);
  FFormPosition = store.ReadInteger(EditorStoreSection, "FormPosition", poScreenCenter);
  const int left = store.ReadInteger(EditorStoreSection, "FormLeft", x());
  const int top = store.ReadInteger(EditorStoreSection, "FormTop", y());
  if (FFormPosition == poDesigned) move(left, top);
  const std::string delimiter = store.ReadString(EditorStoreSection, "Delimiter", "#9");
  if (const std::optional<std::string> decoded = DecodeDelimiter(delimiter))
    FDelimiter = *decoded;
  else
    classlib::ReportWarning("The stored delimiter \"" + delimiter + "\" is no delimiter; a tab is used.");
  ASetDelimiter->setText(QString::fromStdString("Delimiter = " + EncodeDelimiter(FDelimiter)));
  FStringFormat = store.ReadString(EditorStoreSection, "StringFormat", "0.0000");
  FColumnWidth = store.ReadInteger(EditorStoreSection, "ColumnWidth", DefaultColumnWidth);
  if (FColumnWidth < 4) FColumnWidth = DefaultColumnWidth;
  FScientific = store.ReadBool(EditorStoreSection, "Scientific", false);
  ScientificFormatItem->setChecked(FScientific);
  FLastSaveDir = store.ReadString(EditorStoreSection, "LastSaveDir", "");
  FLastOpenDir = store.ReadString(EditorStoreSection, "LastOpenDir", "");
  const QRect screen = ScreenRect(*this);
  resize(store.ReadInteger(EditorStoreSection, "Width", screen.width() / 2),
         store.ReadInteger(EditorStoreSection, "Height", screen.height() / 2));
}

void TNumoraEditForm::WriteSettings() {
  ui::TRegIniFile store(EditorStoreKey);
  store.WriteInteger(EditorStoreSection, "FormStyle", FFormStyle);
  store.WriteInteger(EditorStoreSection, "FormPosition", FFormPosition);
  store.WriteInteger(EditorStoreSection, "FormLeft", x());
  store.WriteInteger(EditorStoreSection, "FormTop", y());
  store.WriteString(EditorStoreSection, "Delimiter", EncodeDelimiter(FDelimiter));
  store.WriteString(EditorStoreSection, "StringFormat", FStringFormat);
  store.WriteInteger(EditorStoreSection, "ColumnWidth", FColumnWidth);
  store.WriteBool(EditorStoreSection, "Scientific", FScientific);
  store.WriteString(EditorStoreSection, "LastSaveDir", FLastSaveDir);
  store.WriteString(EditorStoreSection, "LastOpenDir", FLastOpenDir);
  store.WriteInteger(EditorStoreSection, "Width", width());
  store.WriteInteger(EditorStoreSection, "Height", height());
  store.UpdateFile();
}

void TNumoraEditForm::ApplyPosition() {
  // Centred positions centre on the screen: the window has no owner to centre on.
  if (FFormPosition < poScreenCenter || FFormPosition > poOwnerFormCenter) return;
  const QRect screen = ScreenRect(*this);
  move(screen.center() - QPoint(width() / 2, height() / 2));
}

void ReadSettings(TNumoraEditForm& Form, const numeric::TMtx& Data, const std::string& Caption, bool Modal,
                  bool StayOnTop, bool Editable) {
  if (&Data != &Form.Data()) {
    Form.Data().Copy(Data);
    Form.Data().SetCaption(Data.Caption());
  }
  Form.FModal = Modal;
  Form.SetEditable(Editable);
  const ui::TRegIniFile store(EditorStoreKey);
  Form.FFormStyle = StayOnTop ? fsStayOnTop : store.ReadInteger(EditorStoreSection, "FormStyle", 0);
  Form.setWindowFlag(Qt::WindowStaysOnTopHint, Form.FFormStyle == fsStayOnTop);
  Form.setWindowTitle(QString::fromStdString(Caption.empty() ? Data.Caption() : Caption));
  Form.ReadSettingsFromStore();
  Form.FillGrid();
  Form.ApplyPosition();
  if (Modal)
    ui::ShowModal(Form);
  else
    Form.show();
}

void ViewValues(numeric::TVec& Values, const std::string& Caption, bool Modal, bool StayOnTop, bool Editable) {
  auto form = std::make_unique<TNumoraEditForm>();
  form->FDefaultExt = "vec";
  form->FOpenFilterIndex = 2;
  form->FSaveFilterIndex = 2;
  form->FIsVector = true;
  numeric::TMtx& data = form->Data();
  data.Size(Values.Length(), 1, Values.Complex());
  if (Values.Length() > 0) data.SetCol(Values, 0);
  data.SetCaption(Values.Caption());
  if (Modal) {
    // Only a modal window writes back: the caller's vector outlives it.
    form->FSourceVector = &Values;
    ReadSettings(*form, data, Caption, true, StayOnTop, Editable);
    return;
  }
  form->setAttribute(Qt::WA_DeleteOnClose);
  ReadSettings(*form.release(), data, Caption, false, StayOnTop, Editable);
}

}  // namespace analysis_ui
