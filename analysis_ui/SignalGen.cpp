// The signal generator form: its controls, the layout of each source and
// operator, and committing a line into the generator.
//
// Tested by: analysis_ui/tests/SignalGenTest.cpp
#include "analysis_ui/SignalGen.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidgetItem>
#include <QVBoxLayout>

#include <algorithm>
#include <string>

#include "analysis_ui/EditorControls.h"
#include "analysis_ui/MtxFloatEdit.h"
#include "analysis_ui/MtxGridView.h"
#include "chart_editors/EditorForm.h"
#include "platform/classlib/Exception.h"
#include "platform/ui/Guarded.h"

namespace analysis_ui {

using namespace editor_controls;

namespace {

constexpr const char* ParamFormat = "0.00##########;-0.00##########";

// The item of a code, or none when the list has no item for it.
void SelectCode(QComboBox* box, int code) { box->setCurrentIndex(code < box->count() ? code : -1); }

}  // namespace

TSignalGenForm::TSignalGenForm(QWidget* owner) : TComponentEditorForm(owner) {
  setObjectName("SignalGenForm");
  setWindowTitle("Signal Generator/Mixer/Modulator");
  CreateControls();
  ConnectHandlers();
  FOpBox->setCurrentIndex(0);
  FSignalTypeBox->setCurrentIndex(0);
  LineControlsLayout();
  resize(560, 340);
}

TSignalGenForm::~TSignalGenForm() = default;

void TSignalGenForm::CreateControls() {
  QWidget* p = ClientArea();
  auto* layout = new QVBoxLayout(p);
  layout->setContentsMargins(0, 0, 0, 0);
  const TTemplateRow templates = NewTemplateRow(p, "New signal template...");
  FTemplateCombo = templates.Combo;
  FNewButton = templates.New;
  FDeleteTemplateButton = templates.Delete;
  FSaveAsButton = templates.SaveAs;
  layout->addLayout(templates.Layout);

  auto* body = new QHBoxLayout;
  auto* list = new QVBoxLayout;
  FSignalBox = new TMtxGridView(p);
  FSignalBox->setObjectName("SignalBox");
  FSignalBox->setColumnCount(2);
  FSignalBox->setHeaderLabels({"   Nr.", "Signal type"});
  FSignalBox->header()->resizeSection(0, 35);
  FSignalBox->header()->resizeSection(1, 150);
  FSignalBox->headerItem()->setTextAlignment(1, Qt::AlignCenter);
  list->addWidget(FSignalBox, 1);
  auto* lineButtons = new QHBoxLayout;
  FAddSignalButton = NewButton(p, "AddSignalButton", "&Add signal", "Add a signal source to the formula");
  FAddOpButton = NewButton(p, "AddOpButton", "Add &op", "Add an operator to the formula");
  FDeleteSignalButton = NewButton(p, "DeleteSignalButton", "D&elete", "Delete the selected line");
  for (QPushButton* b : {FAddSignalButton, FAddOpButton, FDeleteSignalButton}) lineButtons->addWidget(b);
  lineButtons->addStretch(1);
  list->addLayout(lineButtons);
  body->addLayout(list, 1);

  auto* source = new QGroupBox("Signal source", p);
  source->setObjectName("SourceGroup");
  auto* grid = new QGridLayout(source);
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(3);
  FSignalTypeBox = NewCombo(source, "SignalTypeBox",
                            {"Sine", "Impulse", "Unit impulse", "Triangle", "Square", "RandGauss", "RandUniform",
                             "Chirp", "Constant", "Input 0", "Input 1", "Input 2", "Input 3", "Input 4", "Input 5",
                             "Input 6", "Input 7"});
  FOpBox = NewCombo(source, "OpBox",
                    {"+", "-", "*", "/", "Sin", "Cos", "Tan", "Exp", "Ln", "Log", "Abs", "Round", "Trunc", "Limit"});
  grid->addWidget(NewLabel(source, "SignalTypeBoxLabel", "Type:"), 0, 0);
  grid->addWidget(FSignalTypeBox, 0, 1);
  grid->addWidget(NewLabel(source, "OpBoxLabel", "Op:"), 0, 2);
  grid->addWidget(FOpBox, 0, 3);
  // Four fields on the left, three on the right.
  for (int k = 0; k < ParamCount; ++k) {
    const std::string n = std::to_string(k);
    FParamLabels[k] = NewLabel(source, QString::fromStdString("Label" + n + "x"), "");
    FParamEdits[k] = NewEdit(source, ("Edit" + n + "x").c_str(), ParamFormat);
    FParamEdits[k]->SetScientific(true);
    FParamEdits[k]->SetIncrement("1");
    FParamLabels[k]->setBuddy(FParamEdits[k]);
    const int row = 1 + k % 4, col = k < 4 ? 0 : 2;
    grid->addWidget(FParamLabels[k], row, col);
    grid->addWidget(FParamEdits[k], row, col + 1);
  }
  FCplxCheckBox = NewCheck(source, "CplxCheckBox", "Cplx");
  FContinuousBox = NewCheck(source, "ContinuousBox", "Continuous");
  FContinuousBox->setChecked(true);
  grid->addWidget(FCplxCheckBox, 4, 2);
  grid->addWidget(FContinuousBox, 4, 3);
  auto* resync = new QHBoxLayout;
  FResyncButton = NewButton(source, "ResyncButton", "&Resync", "Restart the selected line at its next block");
  FResyncAllButton = NewButton(source, "ResyncAllButton", "&Resync all", "Restart every line at its next block");
  resync->addWidget(FResyncButton);
  resync->addWidget(FResyncAllButton);
  resync->addStretch(1);
  grid->addLayout(resync, 5, 0, 1, 4);
  FMessageLabel = NewLabel(source, "MessageLabel", "");
  FMessageLabel->setWordWrap(true);
  FMessageLabel->setStyleSheet("color: #a00000;");
  grid->addWidget(FMessageLabel, 6, 0, 1, 4);
  grid->setRowStretch(7, 1);
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(3, 1);
  body->addWidget(source, 2);
  layout->addLayout(body, 1);
}

void TSignalGenForm::ConnectHandlers() {
  FSignalBox->SetComboBox(FTemplateCombo);
  FSignalBox->SetOnMtxUpdateEdits([this](QObject*, std::int32_t i, QTreeWidgetItem* item) { ShowLine(i, item); });
  FSignalBox->SetOnMtxLineDefinition([this](QObject*, std::int32_t i, QTreeWidgetItem* item) {
    // The list asks as its selection moves too; what the user typed was
    // committed as the field was left, and a line of a code the lists do not
    // offer must not take the first item's: only a line just added is defined.
    if (i == FNewLine) DefineLine(i, item);
  });
  FSignalBox->SetOnMtxDataIsDirty([this](QObject*) { FormulaChanged(); });
  connect(FNewButton, &QPushButton::clicked, this, ui::Guarded([this] { FSignalBox->NewTemplate(); }));
  connect(FDeleteTemplateButton, &QPushButton::clicked, this, ui::Guarded([this] { FSignalBox->DeleteTemplate(); }));
  connect(FSaveAsButton, &QPushButton::clicked, this, ui::Guarded([this] { FSignalBox->SaveTemplateAs(); }));
  connect(FAddSignalButton, &QPushButton::clicked, this, ui::Guarded([this] { AddLineClick(false); }));
  connect(FAddOpButton, &QPushButton::clicked, this, ui::Guarded([this] { AddLineClick(true); }));
  connect(FDeleteSignalButton, &QPushButton::clicked, this, ui::Guarded([this] {
            FSignalBox->DeleteLine();
            // The lines after it moved up: every line is set up again.
            FormulaChanged();
            LineControlsLayout();
          }));
  connect(FResyncButton, &QPushButton::clicked, this, ui::Guarded([this] {
            const std::int32_t line = FSignalBox->SelectedLine();
            if (Generator() != nullptr && line >= 0) Generator()->Resync(line);
          }));
  connect(FResyncAllButton, &QPushButton::clicked, this, ui::Guarded([this] {
            if (Generator() != nullptr) Generator()->ResyncAll();
          }));
  // A line's check box switches the line on or off at once.
  connect(FSignalBox, &QTreeWidget::itemChanged, this, ui::Guarded([this](QTreeWidgetItem* item, int column) {
            if (column != 0 || !Ready() || !FSignalBox->Ready() || Generator() == nullptr) return;
            sig::TFuncSignalList& lines = Generator()->Sounds().Template();
            const std::int32_t i = FSignalBox->indexOfTopLevelItem(item);
            if (i < 0 || i >= lines.Count()) return;
            lines.GetLine(i).Enabled = item->checkState(0) == Qt::Checked;
            FormulaChanged();
          }));

  auto* commit = new TCommitFilter(this, [this](QObject*) { Apply(); });
  const auto live = [this] {
    if (ShowLive()) Apply();
  };
  for (TMtxFloatEdit* edit : FParamEdits) {
    edit->installEventFilter(commit);
    // A field emptied or holding a lone sign is not yet a value.
    connect(edit, &QLineEdit::textChanged, this, ui::Guarded([this, edit] {
              if (ShowLive() && HoldsNumber(*edit)) Apply();
            }));
  }
  for (QWidget* c : std::initializer_list<QWidget*>{FSignalTypeBox, FOpBox, FCplxCheckBox, FContinuousBox})
    c->installEventFilter(commit);
  connect(FSignalTypeBox, &QComboBox::currentIndexChanged, this, ui::Guarded([this] { Apply(); }));
  connect(FContinuousBox, &QCheckBox::toggled, this, ui::Guarded([this] { Apply(); }));
  connect(FOpBox, &QComboBox::currentIndexChanged, this, ui::Guarded(live));
  connect(FCplxCheckBox, &QCheckBox::toggled, this, ui::Guarded(live));
}

// --- Life ------------------------------------------------------------------

void TSignalGenForm::FillControls() {
  sig::TSignalSounds& sounds = Generator()->Sounds();
  const sig::TStringStreamList& names = sounds.Templates();
  FTemplateCombo->clear();
  for (int i = 0; i < names.Count(); ++i) FTemplateCombo->addItem(QString::fromStdString(names.Strings(i)));
  FTemplateCombo->setCurrentIndex(sounds.TemplateIndex() < FTemplateCombo->count() ? sounds.TemplateIndex() : -1);
  FSignalBox->SetTemplates(&sounds);
  // Without templates there is nothing to list, whatever was listed before.
  if (FTemplateCombo->count() == 0) FSignalBox->clear();
  FSignalBox->Refresh();
  LineControlsLayout();
  FTemplateCombo->setFocus();
}

void TSignalGenForm::DisplayUpdate() {
  if (Generator() != nullptr) ShowMessage(Generator()->ErrorText());
}

void TSignalGenForm::KeepChanges() {
  Quietly([this] { FSignalBox->Refresh(); });
}

void TSignalGenForm::AfterClose() { Generator()->Sounds().RefreshTemplate(); }

void TSignalGenForm::UpdateClick() {
  Apply();
  Generator()->ParameterUpdate(nullptr);
}

void TSignalGenForm::ShowMessage(const std::string& Text) { FMessageLabel->setText(QString::fromStdString(Text)); }

// --- Layout ----------------------------------------------------------------

void TSignalGenForm::ShowParams(std::initializer_list<const char*> Captions) {
  int k = 0;
  for (const char* caption : Captions) {
    FParamLabels[k]->setText(caption);
    FParamEdits[k]->setVisible(true);
    ++k;
  }
  for (; k < ParamCount; ++k) {
    FParamLabels[k]->setText("");
    FParamEdits[k]->setVisible(false);
  }
}

void TSignalGenForm::SourceLayout(std::uint8_t SignalType) {
  FContinuousBox->setVisible(true);
  switch (SignalType) {
    case sig::gfSine:
      ShowParams({"Freq:", "Phase:", "Amplt:"});
      FCplxCheckBox->setVisible(true);
      break;
    case sig::gfImpulse:
      ShowParams({"High:", "Low:", "Raise:", "Fall:", "Amplt:"});
      FCplxCheckBox->setVisible(false);
      break;
    case sig::gfUnitImpulse:
      ShowParams({});
      FCplxCheckBox->setVisible(false);
      break;
    case sig::gfTriangle:
      ShowParams({"Freq:", "Phase:", "Amplt:", "Asym:"});
      FCplxCheckBox->setVisible(true);
      break;
    case sig::gfSquare:
      ShowParams({"Freq:", "Phase:", "Amplt:", "DC:"});
      FCplxCheckBox->setVisible(false);
      break;
    case sig::gfRandGauss:
      ShowParams({"Mean:", "StdDev:"});
      FCplxCheckBox->setVisible(true);
      break;
    case sig::gfRandUniform:
      ShowParams({"Low:", "Hi:"});
      FCplxCheckBox->setVisible(true);
      break;
    case sig::gfChirp:
      ShowParams({"Freq:", "Phase:", "Amplt:", "DC:", "Freq2:", "Amplt2:", "Duty:"});
      FCplxCheckBox->setVisible(false);
      break;
    case sig::gfConstant:
      ShowParams({"Re:", "Im:"});
      FCplxCheckBox->setVisible(true);
      break;
    default:
      // An input reads no parameter; "Cplx" stays as it was.
      ShowParams({});
      break;
  }
}

void TSignalGenForm::OperatorLayout(std::uint8_t Operator) {
  if (Operator == sig::goLimit)
    ShowParams({"Upper:", "Lower:"});
  else
    ShowParams({});
}

void TSignalGenForm::LineControlsLayout() {
  const std::int32_t line = FSignalBox->SelectedLine();
  const bool shown = line >= 0;
  bool source = shown;
  if (shown && Generator() != nullptr && line < Generator()->Sounds().Template().Count())
    source = Generator()->Sounds().Template().GetLine(line).Kind == 0;
  FSignalTypeBox->setEnabled(shown && source);
  FOpBox->setEnabled(shown && !source);
  for (QWidget* c : std::initializer_list<QWidget*>{FCplxCheckBox, FContinuousBox, FResyncButton}) c->setEnabled(shown);
  for (TMtxFloatEdit* edit : FParamEdits) edit->setEnabled(shown);
  FDeleteSignalButton->setEnabled(shown);
}

// --- Lines -----------------------------------------------------------------

void TSignalGenForm::ReadControls(sig::TFuncSignalLine& Line) const {
  if (Line.Kind == 0) {
    Line.SignalType = static_cast<std::uint8_t>(std::max(FSignalTypeBox->currentIndex(), 0));
    Line.Complex = FCplxCheckBox->isChecked();
    Line.Continuous = FContinuousBox->isChecked();
    double* params[] = {&Line.P1, &Line.P2, &Line.P3, &Line.P4, &Line.P5, &Line.P6, &Line.P7};
    for (int k = 0; k < ParamCount; ++k) *params[k] = FParamEdits[k]->Position();
  } else {
    Line.P1 = FParamEdits[0]->Position();
    Line.P2 = FParamEdits[1]->Position();
    Line.Operator = static_cast<std::uint8_t>(std::max(FOpBox->currentIndex(), 0));
    Line.Kind = 1;
  }
}

void TSignalGenForm::Apply() {
  if (!Ready() || !FSignalBox->Ready() || Generator() == nullptr) return;
  const std::int32_t line = FSignalBox->SelectedLine();
  sig::TFuncSignalList& lines = Generator()->Sounds().Template();
  if (line < 0 || line >= lines.Count()) return;
  sig::TFuncSignalLine& l = lines.GetLine(line);
  ReadControls(l);
  if (l.Kind == 0)
    SourceLayout(l.SignalType);
  else
    OperatorLayout(l.Operator);
  // A line that cannot be set up yet (no sampling frequency, an input the
  // generator does not have) is kept as typed; the reason shows where the
  // generator's own errors do, rather than in a box at every key.
  try {
    Generator()->SetupLine(line);
    ShowMessage(Generator()->ErrorText());
  } catch (const classlib::Exception& e) {
    ShowMessage(e.Message());
  }
  ApplyChange();
  WriteLine(line, FSignalBox->Line(line));
}

void TSignalGenForm::ShowLine(std::int32_t LineIndex, QTreeWidgetItem* Item) {
  if (Generator() == nullptr) return;
  const sig::TFuncSignalList& lines = Generator()->Sounds().Template();
  if (LineIndex < 0 || LineIndex >= lines.Count()) return;
  const sig::TFuncSignalLine& l = lines.GetLine(LineIndex);
  const bool ready = Ready();
  SetReady(false);
  if (l.Kind == 0) {
    SelectCode(FSignalTypeBox, l.SignalType);
    SourceLayout(l.SignalType);
    FCplxCheckBox->setChecked(l.Complex);
    FContinuousBox->setChecked(l.Continuous);
  } else {
    SelectCode(FOpBox, l.Operator);
    OperatorLayout(l.Operator);
    FCplxCheckBox->setVisible(false);
    FContinuousBox->setVisible(false);
  }
  const double params[] = {l.P1, l.P2, l.P3, l.P4, l.P5, l.P6, l.P7};
  for (int k = 0; k < ParamCount; ++k) FParamEdits[k]->SetPosition(params[k]);
  SetReady(ready);
  LineControlsLayout();
  WriteLine(LineIndex, Item);
}

void TSignalGenForm::DefineLine(std::int32_t LineIndex, QTreeWidgetItem* Item) {
  if (Generator() == nullptr) return;
  sig::TFuncSignalList& lines = Generator()->Sounds().Template();
  if (LineIndex < 0 || LineIndex >= lines.Count()) return;
  sig::TFuncSignalLine& l = lines.GetLine(LineIndex);
  ReadControls(l);
  l.Enabled = Item != nullptr && Item->checkState(0) == Qt::Checked;
}

void TSignalGenForm::WriteLine(std::int32_t LineIndex, QTreeWidgetItem* Item) {
  if (Item == nullptr) return;
  const sig::TFuncSignalLine& l = Generator()->Sounds().Template().GetLine(LineIndex);
  std::string text;
  if (l.Kind == 0)
    sig::GeneratorFunctionToText(l.SignalType, text);
  else
    sig::GeneratorOperatorToText(l.Operator, text);
  FSignalBox->SetLine(Item, l.Enabled, {text});
  Item->setTextAlignment(1, Qt::AlignCenter);
}

void TSignalGenForm::AddLineClick(bool Operator) {
  // Checked first, so that a refused line leaves no record behind.
  FSignalBox->CheckTemplateDefined();
  sig::TFuncSignalLine line;
  line.Kind = Operator ? 1 : 0;
  if (Operator)
    line.SignalType = sig::gfNone;
  else
    line.Operator = sig::goNone;
  sig::TFuncSignalList& lines = Generator()->Sounds().Template();
  FNewLine = lines.AddLine(line);
  try {
    FSignalBox->AddLine(true);
  } catch (...) {
    FNewLine = -1;
    throw;
  }
  FNewLine = -1;
  FormulaChanged();
}

void TSignalGenForm::FormulaChanged() {
  if (Generator() == nullptr) return;
  Generator()->SetPrepared(false);
  ApplyChange();
}

sig::TStreamTemplates* TSignalGenForm::AppendableTemplates() const {
  return Generator() != nullptr ? &Generator()->Sounds() : nullptr;
}

// --- Registration ----------------------------------------------------------

void RegisterSignalGenForm() {
  chart_editors::RegisterEditorForm("TSignalGenForm", chart_editors::EditorFormFactory<TSignalGenForm>());
}

void UnregisterSignalGenForm() { chart_editors::UnRegisterEditorForm("TSignalGenForm"); }

}  // namespace analysis_ui
