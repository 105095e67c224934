// The shared pages of the spectrum analysers' windows: their builders, the
// filling, the enabled-state rules, the band list and the Info refresh.
//
// Tested by: analysis_ui/tests/SpectrumAnaTest.cpp,
// analysis_ui/tests/CrossSpectrumAnaTest.cpp,
// analysis_ui/tests/BiSpectrumAnaTest.cpp
#include "analysis_ui/SpectrumAnaPages.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTreeWidgetItem>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <utility>

#include "analysis_ui/EditorControls.h"
#include "analysis_ui/MtxFloatEdit.h"
#include "analysis_ui/MtxGridView.h"
#include "chart_editors/EditorForm.h"
#include "numeric/MathCore.h"
#include "platform/classlib/StringLists.h"
#include "platform/classlib/SysUtils.h"
#include "platform/ui/Guarded.h"
#include "platform/ui/UserDialogs.h"
#include "signal/SpectrumBands.h"
#include "signal/SpectrumCZT.h"
#include "signal/SpectrumPeaks.h"
#include "signal/SpectrumStats.h"
#include "signal/StreamTemplates.h"

namespace analysis_ui {

namespace {

using chart_editors::CreateControl;

using editor_controls::BoundedIntPosition;
using editor_controls::InfoNumber;
using editor_controls::IntegerFormat;
using editor_controls::NewCombo;
using editor_controls::NewEdit;

template <class T>
int IndexOf(const std::vector<T>& Values, T Value) {
  const auto found = std::find(Values.begin(), Values.end(), Value);
  return found == Values.end() ? -1 : static_cast<int>(found - Values.begin());
}

// The peak trace list's last item: no trace method of its own.
constexpr int PeakTraceAll = 5;
// Frequencies show every digit a user types for them: a band of a quote
// spectrum lies at hundredths of a cycle per bar.
constexpr const char* FrequencyFormat = "0.########";

}  // namespace

TSpectrumPagesForm::TSpectrumPagesForm(QWidget* owner, bool LabelsNamedAfterControls)
    : TComponentEditorForm(owner), FLabelsNamedAfterControls(LabelsNamedAfterControls) {
  auto* layout = new QVBoxLayout(ClientArea());
  layout->setContentsMargins(0, 0, 0, 0);
  FPages = CreateControl<QTabWidget>(ClientArea(), "PageControl1");
  layout->addWidget(FPages);
}

QWidget* TSpectrumPagesForm::AddPage(const char* Name, const QString& Caption) {
  auto* sheet = CreateControl<QWidget>(FPages, Name);
  FPages->addTab(sheet, Caption);
  return sheet;
}

// --- Building blocks ---------------------------------------------------------

QLabel* TSpectrumPagesForm::AddRow(QGridLayout* Grid, QWidget* Parent, const char* LabelName, const QString& Caption,
                                   QWidget* Control, const QString& Unit) {
  const QByteArray name = FLabelsNamedAfterControls ? (Control->objectName() + "Label").toUtf8() : QByteArray(LabelName);
  QLabel* label = editor_controls::AddRow(Grid, Parent, name.constData(), Caption, Control, Unit);
  if (!Unit.isEmpty()) {
    QLabel* unit = Parent->findChild<QLabel*>(QString::fromUtf8(name) + "Unit", Qt::FindDirectChildrenOnly);
    if (unit != nullptr && FLabelsNamedAfterControls) unit->setObjectName(Control->objectName() + "Unit");
    FUnits[Control] = unit;
  }
  return label;
}

void TSpectrumPagesForm::EnableWithLabel(QWidget* Control, bool Value) const {
  if (Control == nullptr) return;
  Control->setEnabled(Value);
  // The label whose buddy the control is, and a unit beside it.
  for (QLabel* label : findChildren<QLabel*>())
    if (label->buddy() == Control) label->setEnabled(Value);
  const auto unit = FUnits.find(Control);
  if (unit != FUnits.end() && unit->second != nullptr) unit->second->setEnabled(Value);
}

void TSpectrumPagesForm::EnableCZTRows(bool Value) {
  for (QWidget* edit : std::initializer_list<QWidget*>{FCZTStartEdit, FCZTEndEdit, FCZTStepEdit})
    EnableWithLabel(edit, Value);
}

void TSpectrumPagesForm::Bind(QComboBox* Box, std::function<void(int)> Changed, bool Apply) {
  connect(Box, &QComboBox::currentIndexChanged, this,
          ui::Guarded([this, Changed = std::move(Changed), Apply](int index) {
            if (!Ready() || Spectrum() == nullptr || index < 0) return;
            Changed(index);
            if (Apply) ApplyChange();
          }));
}

void TSpectrumPagesForm::Bind(TMtxFloatEdit* Edit, std::function<void()> Changed, bool Apply) {
  connect(Edit, &QLineEdit::textChanged, this, ui::Guarded([this, Changed = std::move(Changed), Apply] {
            if (!Ready() || Spectrum() == nullptr) return;
            Changed();
            if (Apply) ApplyChange();
          }));
}

void TSpectrumPagesForm::Bind(QCheckBox* Box, std::function<void(bool)> Changed, bool Apply) {
  connect(Box, &QCheckBox::toggled, this, ui::Guarded([this, Changed = std::move(Changed), Apply](bool on) {
            if (!Ready() || Spectrum() == nullptr) return;
            Changed(on);
            if (Apply) ApplyChange();
          }));
}

// --- Spectrum parameters -----------------------------------------------------

void TSpectrumPagesForm::AddSpectrumTypeRow(QGridLayout* Grid, QWidget* Parent) {
  FSpectrumTypeBox = NewCombo(Parent, "SpectrumTypeBox", {"Amplt", "RMS", "Power", "PeakPeak", "Complex"});
  AddRow(Grid, Parent, "SpectrumTypeLabel", "Spectrum type:", FSpectrumTypeBox);
  Bind(FSpectrumTypeBox, [this](int i) { Spectrum()->SetSpectrumType(static_cast<sig::TSpectrumType>(i)); });
}

void TSpectrumPagesForm::AddWindowRows(QGridLayout* Grid, QWidget* Parent) {
  FWindowBox = NewCombo(Parent, "WindowBox",
                        {"Rectangular", "Hanning", "Hamming", "FlatTop", "Bartlet", "Blackman", "BlackmanHarris",
                         "BlackmanExact", "CosineTappered", "Kaiser", "Chebyshev", "Exponent"});
  AddRow(Grid, Parent, "WindowLabel", "Window:", FWindowBox);
  FSidelobeAttBox = CreateControl<TMtxFloatEdit>(Parent, "SidelobeAttBox");
  // Leaving the field shows the value the analyser keeps.
  FSidelobeAttBox->SetMinValue("13");
  FSidelobeAttBox->SetMaxValue("300");
  AddRow(Grid, Parent, "SidelobeAttLabel", "Sidelobe atten.:", FSidelobeAttBox, "[dB]");
  Bind(FWindowBox, [this](int i) {
    Spectrum()->SetWindow(static_cast<sig::TSignalWindowType>(i));
    WindowLayout();
  });
  Bind(FSidelobeAttBox, [this] { Spectrum()->SetSidelobeAtt(FSidelobeAttBox->Position()); });
}

void TSpectrumPagesForm::AddZeroPaddingRow(QGridLayout* Grid, QWidget* Parent) {
  FZeroPaddingBox = NewCombo(Parent, "ZeroPaddingBox", {"1", "2", "4", "8", "16", "32", "64"});
  FZeroPaddingBox->setToolTip("Define FFT interpolation factor for higher amplitude and frequency accuracy");
  AddRow(Grid, Parent, "ZeroPaddingLabel", "Zero padding:", FZeroPaddingBox);
  Bind(FZeroPaddingBox, [this](int i) { Spectrum()->SetZeroPadding(FZeroPaddingBox->itemText(i).toInt()); });
}

void TSpectrumPagesForm::AddIntegrationRow(QGridLayout* Grid, QWidget* Parent) {
  FIntegrationBox =
      NewCombo(Parent, "IntegrationBox",
               {"None", "Integrate once", "Integrate twice", "Differentiate once", "Differentiate twice"});
  AddRow(Grid, Parent, "IntegrationLabel", "Integration:", FIntegrationBox);
  Bind(FIntegrationBox, [this](int i) { Spectrum()->SetIntegration(static_cast<sig::TIntegration>(i)); });
}

void TSpectrumPagesForm::AddScaleFactorRow(QGridLayout* Grid, QWidget* Parent) {
  FScaleFactorEdit = CreateControl<TMtxFloatEdit>(Parent, "ScaleFactorEdit");
  AddRow(Grid, Parent, "ScaleFactorLabel", "Scale factor:", FScaleFactorEdit);
  Bind(FScaleFactorEdit, [this] { Spectrum()->SetScaleFactor(FScaleFactorEdit->Position()); });
}

void TSpectrumPagesForm::AddLogarithmicRows(QGridLayout* Grid, QWidget* Parent) {
  FLogarithmicBox = CreateControl<QCheckBox>(Parent, "LogarithmicBox", "Logarithmic");
  Grid->addWidget(FLogarithmicBox, Grid->rowCount(), 1);
  FLogSpanBox = NewCombo(Parent, "LogSpanBox", {"30", "45", "60", "90", "120", "150", "200", "350"});
  AddRow(Grid, Parent, "LogSpanLabel", "Logarithmic span:", FLogSpanBox, "[dB]");
  FLogScaleBox = NewCombo(Parent, "LogScaleBox", {"Absolute", "Relative"});
  AddRow(Grid, Parent, "LogScaleLabel", "Logarithmic scale:", FLogScaleBox);
  Bind(FLogarithmicBox, [this](bool on) {
    Spectrum()->SetLogarithmic(on);
    LogarithmicLayout();
  });
  Bind(FLogSpanBox, [this](int i) { Spectrum()->SetLogSpan(static_cast<sig::TLogSpan>(i)); });
  Bind(FLogScaleBox, [this](int i) { Spectrum()->SetLogType(static_cast<sig::TLogType>(i)); });
}

void TSpectrumPagesForm::AddCZTRows(QGridLayout* Grid, QWidget* Parent) {
  FCZTStartEdit = NewEdit(Parent, "CZTStartEdit", FrequencyFormat);
  AddRow(Grid, Parent, "CZTStartLabel", "CZT start:", FCZTStartEdit);
  FCZTEndEdit = NewEdit(Parent, "CZTEndEdit", FrequencyFormat);
  AddRow(Grid, Parent, "CZTEndLabel", "CZT stop:", FCZTEndEdit);
  FCZTStepEdit = NewEdit(Parent, "CZTStepEdit", FrequencyFormat);
  FCZTStepEdit->SetMinValue("0");
  FCZTStepEdit->SetMaxValue("1E300");
  AddRow(Grid, Parent, "CZTStepLabel", "CZT step:", FCZTStepEdit);
  Bind(
      FCZTStartEdit, [this] { CZTFrequencyChanged(FCZTStartEdit, FCZTEndEdit, true); }, false);
  Bind(
      FCZTEndEdit, [this] { CZTFrequencyChanged(FCZTEndEdit, FCZTStartEdit, false); }, false);
  Bind(FCZTStepEdit, [this] { Spectrum()->CZT().SetFrequencyStep(FCZTStepEdit->Position()); });
}

void TSpectrumPagesForm::CZTFrequencyChanged(TMtxFloatEdit* Edit, TMtxFloatEdit* Other, bool Start) {
  sig::TSpectrumCZT& czt = Spectrum()->CZT();
  if (Start)
    czt.SetStartFrequency(Edit->Position());
  else
    czt.SetStopFrequency(Edit->Position());
  const double other = Start ? czt.StopFrequency() : czt.StartFrequency();
  // The analyser moved the other end: its edit shows it, and its own
  // handler recomputes.
  if (other != Other->Position())
    Other->SetPosition(other);
  else
    ApplyChange();
}

QCheckBox* TSpectrumPagesForm::AddRemoveDCRow(QGridLayout* Grid, QWidget* Parent) {
  FRemoveDCBox = CreateControl<QCheckBox>(Parent, "RemoveDCBox", "Remove DC");
  Grid->addWidget(FRemoveDCBox, Grid->rowCount(), 1);
  Bind(FRemoveDCBox, [this](bool on) { Spectrum()->SetDCDump(on); });
  return FRemoveDCBox;
}

void TSpectrumPagesForm::AddConjugateRows(QGridLayout* Grid, QWidget* Parent) {
  FConjugateExtendBox = CreateControl<QCheckBox>(Parent, "ConjugateExtendBox", "Conjugate extend");
  Grid->addWidget(FConjugateExtendBox, Grid->rowCount(), 1);
  FFlipBox = CreateControl<QCheckBox>(Parent, "FlipBox", "Conjugate flip");
  Grid->addWidget(FFlipBox, Grid->rowCount(), 1);
  Bind(FConjugateExtendBox, [this](bool on) { Spectrum()->SetConjExtend(on); });
  Bind(FFlipBox, [this](bool on) { Spectrum()->SetConjFlip(on); });
}

void TSpectrumPagesForm::BuildBasicPage(QWidget* Page, const std::function<void(QGridLayout*)>& FirstRows,
                                        const std::function<void(QGridLayout*)>& LastRows) {
  auto* columns = new QHBoxLayout(Page);
  auto* left = new QGridLayout();
  auto* right = new QGridLayout();
  columns->addLayout(left, 1);
  columns->addLayout(right, 1);
  if (FirstRows) FirstRows(left);
  AddSpectrumTypeRow(left, Page);
  AddWindowRows(left, Page);
  AddZeroPaddingRow(left, Page);
  AddIntegrationRow(left, Page);
  AddScaleFactorRow(left, Page);
  if (LastRows) LastRows(left);
  left->setRowStretch(left->rowCount(), 1);
  AddRemoveDCRow(right, Page);
  AddConjugateRows(right, Page);
  AddLogarithmicRows(right, Page);
  AddCZTRows(right, Page);
  right->setRowStretch(right->rowCount(), 1);
}

// --- Averaging ---------------------------------------------------------------

void TSpectrumPagesForm::BuildAveragingControls(QGridLayout* Grid, QWidget* Parent, bool AllKinds) {
  if (AllKinds) {
    FAveragingTypeBox = NewCombo(Parent, "AveragingTypeBox",
                                 {"None", "Linear infinite", "Exponential Infinite", "Linear finite", "Peak-hold",
                                  "Peak-hold infinite", "Peak and decay"});
    FAveragingKinds = {sig::avNone,     sig::avLinearInf,   sig::avExponentInf,  sig::avLinear,
                       sig::avPeakHold, sig::avPeakHoldInf, sig::avPeakAndDecay};
  } else {
    FAveragingTypeBox =
        NewCombo(Parent, "AveragingTypeBox", {"Linear infinite", "Exponential Infinite", "Linear finite"});
    FAveragingKinds = {sig::avLinearInf, sig::avExponentInf, sig::avLinear};
  }
  AddRow(Grid, Parent, "AveragingTypeLabel", "Averaging type:", FAveragingTypeBox);
  FAveragesEdit = NewEdit(Parent, "AveragesEdit", IntegerFormat, "1", "2147483647");
  AddRow(Grid, Parent, "AveragesLabel", "Number of averages to take:", FAveragesEdit);
  FExpDecayBox = NewEdit(Parent, "ExpDecayBox", IntegerFormat, "1", "2147483647");
  AddRow(Grid, Parent, "ExpDecayLabel", "Exponential decay factor:", FExpDecayBox);
  if (AllKinds) {
    FStdDevBox = CreateControl<QCheckBox>(Parent, "StdDevBox", "Compute standard deviation");
    Grid->addWidget(FStdDevBox, Grid->rowCount(), 0, 1, 2);
    Bind(FStdDevBox, [this](bool on) { Spectrum()->Stats().SetCalcStdDev(on); });
  }
  FAveragesMadeLabel = CreateControl<QLabel>(Parent, "AveragesMadeLabel", "Averages made: 0");
  auto* reset = CreateControl<QPushButton>(Parent, "ResetButton", "Reset");
  const int row = Grid->rowCount();
  Grid->addWidget(FAveragesMadeLabel, row, 0);
  Grid->addWidget(reset, row, 1, Qt::AlignLeft);
  Bind(FAveragingTypeBox, [this](int i) {
    Spectrum()->Stats().SetAveraging(FAveragingKinds[static_cast<std::size_t>(i)]);
    AveragingLayout();
  });
  Bind(FAveragesEdit, [this] { Spectrum()->Stats().SetAverages(BoundedIntPosition(*FAveragesEdit)); });
  Bind(FExpDecayBox, [this] { Spectrum()->Stats().SetExpDecay(BoundedIntPosition(*FExpDecayBox)); });
  connect(reset, &QPushButton::clicked, this, ui::Guarded([this] {
            if (Spectrum() == nullptr) return;
            Spectrum()->ResetAveraging();
            BuildReport();
          }));
}

void TSpectrumPagesForm::BuildAveragingPage(QWidget* Page, bool AllKinds) {
  auto* layout = new QVBoxLayout(Page);
  auto* grid = new QGridLayout();
  layout->addLayout(grid);
  BuildAveragingControls(grid, Page, AllKinds);
  grid->setColumnStretch(1, 1);
  layout->addStretch(1);
}

// --- Peaks -------------------------------------------------------------------

void TSpectrumPagesForm::BuildPeaksPage(QWidget* Page, const TPeaksOptions& Options) {
  auto* layout = new QVBoxLayout(Page);
  auto* top = new QGridLayout();
  layout->addLayout(top);
  FLargestEdit = NewEdit(Page, "LargestEdit", IntegerFormat, "0", "2147483647");
  AddRow(top, Page, "LargestLabel", "Largest peaks:", FLargestEdit);
  if (Options.Tolerance) {
    FToleranceEdit = CreateControl<TMtxFloatEdit>(Page, "MtxFloatEdit4");
    AddRow(top, Page, "ToleranceLabel", "Tolerance:", FToleranceEdit, "%");
    EnableWithLabel(FToleranceEdit, false);
  }
  FHarmonicsEdit = NewEdit(Page, "HarmonicsEdit", IntegerFormat, "0", "2147483647");
  AddRow(top, Page, "HarmonicsLabel", "Harmonics:", FHarmonicsEdit);
  FPeakTraceBox =
      NewCombo(Page, "PeakTraceBox", {"None", "Current", "Largest", "Amplt harmonics", "Freq harmonics", "All"});
  // Where "All" means nothing to the analyser it is shown but cannot be chosen.
  if (!Options.TraceAll)
    if (auto* model = qobject_cast<QStandardItemModel*>(FPeakTraceBox->model()))
      model->item(PeakTraceAll)->setEnabled(false);
  AddRow(top, Page, "PeakTraceLabel", "Peak trace:", FPeakTraceBox);
  top->setColumnStretch(1, 1);
  Bind(FLargestEdit, [this] { Spectrum()->Peaks().SetLargestCount(BoundedIntPosition(*FLargestEdit)); });
  Bind(FHarmonicsEdit, [this] { Spectrum()->SetHarmonics(BoundedIntPosition(*FHarmonicsEdit)); });
  Bind(FPeakTraceBox, [this](int i) {
    // "All" has no trace method of its own: the analyser keeps its method.
    if (i != PeakTraceAll) Spectrum()->Peaks().SetTraceMethod(static_cast<sig::TPeakTraceMethod>(i));
    PeakTraceLayout();
  });

  if (Options.Interpolation) {
    auto* group = CreateControl<QGroupBox>(Page, "InterpolationGroup", "Interpolation");
    auto* grid = new QGridLayout(group);
    FInterpolationBox =
        NewCombo(group, "InterpolationBox",
                 {"None", "Numeric", "Quadratic", "Barycentric", "Quinn's first", "Quinn's second", "Jain"});
    AddRow(grid, group, "InterpolationLabel", "Interpolation:", FInterpolationBox);
    FInterpolationPrecisionBox = NewCombo(group, "InterpolationPrecisionBox", {"2", "4", "6", "8"});
    AddRow(grid, group, "InterpolationPrecisionLabel", "Interpolation precision:", FInterpolationPrecisionBox);
    FTracedHarmonicsBox = CreateControl<QCheckBox>(group, "TracedHarmonicsBox", "Interpolate traced harmonics");
    grid->addWidget(FTracedHarmonicsBox, grid->rowCount(), 0, 1, 2);
    grid->setColumnStretch(1, 1);
    layout->addWidget(group);
    Bind(FInterpolationBox, [this](int i) {
      Spectrum()->Peaks().Interpolation().SetMethod(static_cast<sig::TInterpolationMethod>(i));
      InterpolationLayout();
    });
    Bind(FInterpolationPrecisionBox, [this](int i) {
      Spectrum()->Peaks().Interpolation().SetPrecision(static_cast<sig::TInterpolationPrecision>(i));
    });
    Bind(FTracedHarmonicsBox, [this](bool on) { Spectrum()->Peaks().Interpolation().SetHarmonics(on); });
  }

  auto* bandwidth = CreateControl<QGroupBox>(Page, "BandwidthGroup", "Bandwidth selection");
  auto* grid = new QGridLayout(bandwidth);
  FBandwidthLEdit = NewEdit(bandwidth, "BandwidthLEdit", FrequencyFormat);
  AddRow(grid, bandwidth, "BandwidthLLabel", "Low:", FBandwidthLEdit, "[Hz]");
  FBandwidthHEdit = NewEdit(bandwidth, "BandwidthHEdit", FrequencyFormat);
  AddRow(grid, bandwidth, "BandwidthHLabel", "High:", FBandwidthHEdit, "[Hz]");
  FFullBWBox = CreateControl<QCheckBox>(bandwidth, "FullBWBox", "Use full bandwidth");
  grid->addWidget(FFullBWBox, grid->rowCount(), 1);
  FTraceIntervalEdit = CreateControl<TMtxFloatEdit>(bandwidth, "TraceIntervalEdit");
  FTraceIntervalEdit->SetMinValue("0");
  FTraceIntervalEdit->SetMaxValue("100");
  FTraceIntervalEdit->setToolTip("Amount of total bandwidth in % around the marked peak to search for its new position.");
  AddRow(grid, bandwidth, "TraceIntervalLabel", "Trace interval:", FTraceIntervalEdit, "[%]");
  grid->setColumnStretch(1, 1);
  layout->addWidget(bandwidth);
  auto* update = CreateControl<QPushButton>(Page, "UpdatePeaksButton", "Update peaks");
  layout->addWidget(update, 0, Qt::AlignLeft);
  layout->addStretch(1);
  Bind(FBandwidthLEdit, [this] { Spectrum()->Peaks().SetBandwidthL(FBandwidthLEdit->Position()); });
  Bind(FBandwidthHEdit, [this] { Spectrum()->Peaks().SetBandwidthH(FBandwidthHEdit->Position()); });
  Bind(FFullBWBox, [this](bool on) {
    Spectrum()->Peaks().SetUseFullBandwidth(on);
    FullBandwidthLayout();
  });
  Bind(FTraceIntervalEdit, [this] { Spectrum()->Peaks().SetTraceInterval(FTraceIntervalEdit->Position()); });
  connect(update, &QPushButton::clicked, this, ui::Guarded([this] {
            if (Spectrum() != nullptr) Spectrum()->Peaks().Update();
          }));
}

// --- Bands -------------------------------------------------------------------

void TSpectrumPagesForm::BuildBandsPage(QWidget* Page) {
  auto* layout = new QVBoxLayout(Page);
  editor_controls::TTemplateRow templates = editor_controls::NewTemplateRow(Page, "New frequency band template...");
  FTemplateCombo = templates.Combo;
  templates.Delete->setToolTip("Delete currently selected template");
  templates.SaveAs->setToolTip("Save template under a different name...");
  layout->addLayout(templates.Layout);

  auto* middle = new QHBoxLayout();
  auto* listColumn = new QVBoxLayout();
  FBandsBox = CreateControl<TMtxGridView>(Page, "BandsBox");
  FBandsBox->setHeaderLabels({"Band", "Range", "RMS"});
  FBandsBox->SetComboBox(FTemplateCombo);
  listColumn->addWidget(FBandsBox, 1);
  auto* lineButtons = new QHBoxLayout();
  auto* add = CreateControl<QPushButton>(Page, "AddSignalButton", "&Add band");
  auto* deleteBand = CreateControl<QPushButton>(Page, "DeleteBandButton", "D&elete");
  deleteBand->setToolTip("Delete selected frequency band definition");
  lineButtons->addWidget(add);
  lineButtons->addWidget(deleteBand);
  lineButtons->addStretch(1);
  listColumn->addLayout(lineButtons);
  middle->addLayout(listColumn, 1);

  auto* band = CreateControl<QGroupBox>(Page, "BandGroup", "Band parameters");
  auto* grid = new QGridLayout(band);
  const auto frequency = [&](const char* name, const char* labelName, const char* caption, const char* hint,
                             const char* hzName) {
    TMtxFloatEdit* edit = NewEdit(band, name, FrequencyFormat);
    edit->setToolTip(hint);
    AddRow(grid, band, labelName, caption, edit);
    auto* hz = CreateControl<QLabel>(band, hzName, "[Hz]");
    grid->addWidget(hz, grid->rowCount() - 1, 2);
    FHzLabels.push_back(hz);
    return edit;
  };
  FStartTransEdit = frequency("StartTransEdit", "StartTransLabel",
                              "Start transition:", "Transition region start frequency", "HzLabel1");
  FStartEdit = frequency("StartEdit", "StartLabel", "Start:", "Constant region start frequency", "HzLabel2");
  FEndEdit = frequency("EndEdit", "EndLabel", "End:", "Transition region start frequency", "HzLabel3");
  FEndTransEdit =
      frequency("EndTransEdit", "EndTransLabel", "End transition:", "Transition region end frequency", "HzLabel4");
  FReferenceBox = NewCombo(band, "ReferenceBox", {"Sampling freq.", "Nyquist freq.", "Order freq.", "N'th peak"});
  FReferenceBox->setToolTip("The frequency band can be selected with a reference");
  AddRow(grid, band, "ReferenceLabel", "Reference:", FReferenceBox);
  FBandsPeakNumberEdit = NewEdit(band, "BandsPeakNumberEdit", IntegerFormat, "0", "2147483647");
  FBandsPeakNumberEdit->setToolTip(
      "If the reference of the frequency band is a selected peak, this defines the peak number.");
  // Its label keeps its own name: it is shown and hidden with the edit.
  FPeakNumberLabel =
      editor_controls::AddRow(grid, band, "PeakNumberLabel", "Peak number:", FBandsPeakNumberEdit);
  FBandsRMSBox = CreateControl<QCheckBox>(band, "BandsRMSBox", "Adjust for spectrum type");
  FBandsRMSBox->setToolTip(
      "The RMS of the frequency bands will always be the same, regardless of the spectrum type, if checked.");
  grid->addWidget(FBandsRMSBox, grid->rowCount(), 0, 1, 3);
  grid->setRowStretch(grid->rowCount(), 1);
  middle->addWidget(band);
  layout->addLayout(middle, 1);

  FBandsBox->SetOnMtxUpdateEdits([this](QObject*, std::int32_t i, QTreeWidgetItem* item) { ShowBand(i, item); });
  FBandsBox->SetOnMtxLineDefinition([this](QObject* sender, std::int32_t i, QTreeWidgetItem* item) {
    StoreBand(sender, i, true);
    WriteBandLine(i, item);
  });
  FBandsBox->SetOnMtxDataIsDirty([this](QObject*) { ApplyChange(); });
  // The line's check box is the band's Active.
  connect(FBandsBox, &QTreeWidget::itemChanged, this, ui::Guarded([this](QTreeWidgetItem* item, int column) {
            if (column != 0 || !FBandsBox->Ready() || !Ready() || Spectrum() == nullptr) return;
            const std::int32_t i = FBandsBox->indexOfTopLevelItem(item);
            sig::TSpectrumBands& bands = Spectrum()->Bands().Template();
            if (i < 0 || i >= bands.Count()) return;
            bands.GetBand(i).Active = item->checkState(0) == Qt::Checked;
            ApplyChange();
          }));
  connect(FBandsBox, &QTreeWidget::itemDoubleClicked, this, ui::Guarded([this] { BandsDoubleClick(); }));
  connect(templates.New, &QPushButton::clicked, this, ui::Guarded([this] { FBandsBox->NewTemplate(); }));
  connect(templates.Delete, &QPushButton::clicked, this, ui::Guarded([this] { FBandsBox->DeleteTemplate(); }));
  connect(templates.SaveAs, &QPushButton::clicked, this, ui::Guarded([this] { FBandsBox->SaveTemplateAs(); }));
  connect(add, &QPushButton::clicked, this, ui::Guarded([this] { AddBandClick(); }));
  connect(deleteBand, &QPushButton::clicked, this, ui::Guarded([this] {
            FBandsBox->DeleteLine();
            ApplyChange();
          }));

  auto* commit = new editor_controls::TCommitFilter(this, [this](QObject* field) { BandEditChanged(field, true); });
  for (TMtxFloatEdit* edit : {FStartTransEdit, FStartEdit, FEndEdit, FEndTransEdit, FBandsPeakNumberEdit}) {
    edit->installEventFilter(commit);
    connect(edit, &QLineEdit::textChanged, this, ui::Guarded([this, edit] { BandEditChanged(edit, false); }));
  }
  // A choice is whole once made: it is committed at once.
  connect(FReferenceBox, &QComboBox::currentIndexChanged, this, ui::Guarded([this] {
            ReferenceLayout();
            BandEditChanged(FReferenceBox, true);
          }));
  connect(FBandsRMSBox, &QCheckBox::toggled, this, ui::Guarded([this] { BandEditChanged(FBandsRMSBox, true); }));
  // Without a selected band the edits would edit nothing.
  connect(FBandsBox, &QTreeWidget::itemSelectionChanged, this,
          ui::Guarded([this] { EnableBandEdits(FBandsBox->SelectedLine() >= 0); }));
  EnableBandEdits(false);
  ReferenceLayout();
}

void TSpectrumPagesForm::EnableBandEdits(bool Value) {
  if (FBandsBox == nullptr) return;
  for (QWidget* w : std::initializer_list<QWidget*>{FStartTransEdit, FStartEdit, FEndEdit, FEndTransEdit, FReferenceBox,
                                                    FBandsPeakNumberEdit, FBandsRMSBox})
    EnableWithLabel(w, Value);
  for (QLabel* hz : FHzLabels) hz->setEnabled(Value);
}

void TSpectrumPagesForm::ReferenceLayout() {
  for (QLabel* hz : FHzLabels) hz->setVisible(FReferenceBox->currentIndex() == 0);
  FPeakNumberLabel->setVisible(FReferenceBox->currentIndex() == 3);
  FBandsPeakNumberEdit->setVisible(FReferenceBox->currentIndex() == 3);
}

void TSpectrumPagesForm::ShowBand(std::int32_t LineIndex, QTreeWidgetItem* Item, const QObject* Typing) {
  if (Spectrum() == nullptr) return;
  const sig::TSpectrumBands& bands = Spectrum()->Bands().Template();
  if (LineIndex < 0 || LineIndex >= bands.Count()) return;
  if (!FReportRefresh) {
    const sig::TSpectrumBandRecord& band = bands.GetBand(LineIndex);
    EnableBandEdits(true);
    const bool ready = Ready();
    SetReady(false);
    const std::pair<TMtxFloatEdit*, double> frequencies[] = {
        {FStartTransEdit, band.F1}, {FStartEdit, band.F2}, {FEndEdit, band.F3}, {FEndTransEdit, band.F4}};
    for (const auto& [edit, value] : frequencies)
      if (edit != Typing) edit->SetPosition(value);
    // A reference this list does not know (a damaged file) shows as the last it does.
    FReferenceBox->setCurrentIndex(std::min<int>(band.Reference, FReferenceBox->count() - 1));
    if (FBandsPeakNumberEdit != Typing) FBandsPeakNumberEdit->SetIntPosition(band.PeakIndex);
    FBandsRMSBox->setChecked(band.AdjustForType);
    SetReady(ready);
  }
  WriteBandLine(LineIndex, Item);
}

void TSpectrumPagesForm::WriteBandLine(std::int32_t LineIndex, QTreeWidgetItem* Item) {
  const sig::TSpectrumBandRecord& band = Spectrum()->Bands().Template().GetBand(LineIndex);
  const auto general = [](double x) { return numeric::FloatToStrPrec(x, 15, 0); };
  FBandsBox->SetLine(Item, band.Active,
                     {general(band.F2) + "<->" + general(band.F3), classlib::FormatFloat(FFormatFloatRMS, band.Rms)});
}

void TSpectrumPagesForm::StoreBand(QObject* Sender, std::int32_t LineIndex, bool Order) {
  if (Spectrum() == nullptr) return;
  sig::TSpectrumBands& bands = Spectrum()->Bands().Template();
  if (LineIndex < 0 || LineIndex >= bands.Count()) return;
  sig::TSpectrumBandRecord& b = bands.GetBand(LineIndex);
  TMtxFloatEdit* const edges[] = {FStartTransEdit, FStartEdit, FEndEdit, FEndTransEdit};
  double* const fields[] = {&b.F1, &b.F2, &b.F3, &b.F4};
  for (std::int32_t k = 0; k < 4; ++k) {
    if (Sender != edges[k]) continue;
    // Ordered, the value typed stays and the others move to keep F1 <= F2 <= F3 <= F4.
    if (Order)
      sig::SetBandEdge(b, k + 1, edges[k]->Position());
    else
      *fields[k] = edges[k]->Position();
  }
  b.Reference = static_cast<std::uint8_t>(std::max(FReferenceBox->currentIndex(), 0));
  b.AdjustForType = FBandsRMSBox->isChecked();
  if (QTreeWidgetItem* line = FBandsBox->Line(LineIndex)) b.Active = line->checkState(0) == Qt::Checked;
  b.PeakIndex = BoundedIntPosition(*FBandsPeakNumberEdit);
}

void TSpectrumPagesForm::BandEditChanged(QObject* Sender, bool Commit) {
  if (!Commit && !ShowLive()) return;
  if (!Ready() || Spectrum() == nullptr || !FBandsBox->Ready()) return;
  const std::int32_t i = FBandsBox->SelectedLine();
  if (i < 0) return;
  // While a number is being typed its first digits must not push the other
  // edges away (typing 25 passes through 2): they move when the field is
  // left or Enter is pressed.
  StoreBand(Sender, i, Commit);
  ApplyChange();
  // The edits show the band as kept (the other frequencies may have moved);
  // the field being typed in keeps its text until it is left.
  ShowBand(i, FBandsBox->Line(i), Commit ? nullptr : Sender);
}

void TSpectrumPagesForm::AddBandClick() {
  if (Spectrum() == nullptr) return;
  // A refused line leaves no record behind.
  FBandsBox->CheckTemplateDefined();
  Spectrum()->Bands().Template().AddBand(sig::TSpectrumBandRecord{});
  FBandsBox->AddLine(true);
  ApplyChange();
}

void TSpectrumPagesForm::BandsDoubleClick() {
  const std::optional<std::string> format =
      ui::Dialogs().InputQuery("Change RMS number format", "New float format:", FFormatFloatRMS);
  if (!format) return;
  FFormatFloatRMS = *format;
  FBandsBox->UpdateAllLines();
}

void TSpectrumPagesForm::FillBands() {
  sig::TSpectrumBandsAnalyzer& bands = Spectrum()->Bands();
  const sig::TStringStreamList& names = bands.Templates();
  FTemplateCombo->clear();
  for (int i = 0; i < names.Count(); ++i) FTemplateCombo->addItem(QString::fromStdString(names.Strings(i)));
  FTemplateCombo->setCurrentIndex(bands.TemplateIndex());
  FBandsBox->SetTemplates(&bands);
  FBandsBox->clear();
  EnableBandEdits(false);
  FBandsBox->Refresh();
}

// --- Order and phase ---------------------------------------------------------

void TSpectrumPagesForm::BuildOrderPage(QWidget* Page, bool ChirpZ, bool AllTracings) {
  auto* layout = new QVBoxLayout(Page);
  auto* order = CreateControl<QGroupBox>(Page, "OrderGroup", "Order analysis");
  auto* grid = new QGridLayout(order);
  FOrderEdit = NewEdit(order, "OrderEdit", FrequencyFormat);
  AddRow(grid, order, "OrderLabel", "Frequency:", FOrderEdit);
  if (AllTracings) {
    FOrderTracingEdit = NewCombo(order, "OrderTracingEdit", {"None", "First peak", "N'th peak", "Largest peak"});
    FOrderTracings = {sig::otNone, sig::otFirstPeak, sig::otNthPeak, sig::otLargest};
  } else {
    FOrderTracingEdit = NewCombo(order, "OrderTracingEdit", {"None", "N'th peak", "Largest peak"});
    FOrderTracings = {sig::otNone, sig::otNthPeak, sig::otLargest};
  }
  AddRow(grid, order, "OrderTracingLabel", "Tracing:", FOrderTracingEdit);
  FOrderPeakNumber = NewEdit(order, "OrderPeakNumber", IntegerFormat, "1", "2147483647");
  AddRow(grid, order, "OrderPeakNumberLabel", "Peak number:", FOrderPeakNumber);
  FOrderActiveBox = CreateControl<QCheckBox>(order, "OrderActiveBox", "Active");
  grid->addWidget(FOrderActiveBox, grid->rowCount(), 1);
  grid->setColumnStretch(1, 1);
  layout->addWidget(order);
  Bind(FOrderEdit, [this] { Spectrum()->Peaks().SetOrderFrequency(FOrderEdit->Position()); });
  Bind(FOrderTracingEdit, [this](int i) { Spectrum()->Peaks().SetOrderTracing(FOrderTracings[static_cast<std::size_t>(i)]); });
  Bind(FOrderPeakNumber, [this] { Spectrum()->Peaks().SetOrderPeakNumber(BoundedIntPosition(*FOrderPeakNumber)); });
  Bind(FOrderActiveBox, [this](bool on) { Spectrum()->Peaks().SetOrderActive(on); });
  if (ChirpZ) {
    auto* czt = CreateControl<QGroupBox>(Page, "ChirpZGroup", "Chirp-Z");
    auto* cztGrid = new QGridLayout(czt);
    FCZTRStartEdit = CreateControl<TMtxFloatEdit>(czt, "CZTRStartEdit");
    AddRow(cztGrid, czt, "CZTRStartLabel", "Start radius:", FCZTRStartEdit);
    FCZTRStopEdit = CreateControl<TMtxFloatEdit>(czt, "CZTRStopEdit");
    AddRow(cztGrid, czt, "CZTRStopLabel", "Stop radius:", FCZTRStopEdit);
    for (TMtxFloatEdit* radius : {FCZTRStartEdit, FCZTRStopEdit}) {
      radius->SetMinValue("0");
      radius->SetMaxValue("1E300");
    }
    cztGrid->setColumnStretch(1, 1);
    layout->addWidget(czt);
    Bind(FCZTRStartEdit, [this] { Spectrum()->CZT().SetStartRadius(FCZTRStartEdit->Position()); });
    Bind(FCZTRStopEdit, [this] { Spectrum()->CZT().SetStopRadius(FCZTRStopEdit->Position()); });
  }
  layout->addStretch(1);
}

void TSpectrumPagesForm::BuildPhasePage(QWidget* Page) {
  auto* layout = new QVBoxLayout(Page);
  auto* grid = new QGridLayout();
  layout->addLayout(grid);
  FPhaseModeBox = NewCombo(Page, "PhaseModeBox", {"Ignore", "Default", "Phase delay", "Group delay"});
  AddRow(grid, Page, "PhaseModeLabel", "Mode:", FPhaseModeBox);
  FPhaseUnitsBox = NewCombo(Page, "PhaseUnitsBox", {"Radians", "Degrees"});
  AddRow(grid, Page, "PhaseUnitsLabel", "Units:", FPhaseUnitsBox);
  FPhaseRangeBox = NewCombo(Page, "PhaseRangeBox", {"-Pi ... +Pi", "0 ... 2*Pi"});
  AddRow(grid, Page, "PhaseRangeLabel", "Range:", FPhaseRangeBox);
  FUnwrapPhaseBox = CreateControl<QCheckBox>(Page, "UnwrapPhaseBox", "Unwrap phase");
  grid->addWidget(FUnwrapPhaseBox, grid->rowCount(), 1);
  FRunningPhaseBox = NewCombo(Page, "RunningPhaseBox", {"Default", "Constant phase", "Integer lag", "Partial"});
  AddRow(grid, Page, "RunningPhaseLabel", "Running:", FRunningPhaseBox);
  grid->setColumnStretch(1, 1);
  layout->addStretch(1);
  Bind(FPhaseModeBox, [this](int i) {
    Spectrum()->SetPhaseMode(static_cast<sig::TPhaseMode>(i));
    PhaseModeLayout();
  });
  Bind(FPhaseUnitsBox, [this](int i) { Spectrum()->SetPhaseUnits(static_cast<sig::TPhaseUnits>(i)); });
  Bind(FPhaseRangeBox, [this](int i) { Spectrum()->SetPhaseRange(static_cast<sig::TPhaseRange>(i)); });
  Bind(FUnwrapPhaseBox, [this](bool on) {
    Spectrum()->SetUnwrapPhase(on);
    UnwrapPhaseLayout();
  });
  Bind(FRunningPhaseBox, [this](int i) { Spectrum()->SetRunningPhase(static_cast<sig::TRunningPhase>(i)); });
}

// --- Info and report ---------------------------------------------------------

void TSpectrumPagesForm::BuildInfoPage(QWidget* Page, bool Statistics) {
  auto* layout = new QVBoxLayout(Page);
  if (Statistics) {
    FMessageLabel = CreateControl<QLabel>(Page, "MessageLabel", "Message");
    FMessageLabel->setStyleSheet("color: #a00000;");
    layout->addWidget(FMessageLabel);
  }
  auto* general = CreateControl<QGroupBox>(Page, "GeneralGroup", "General");
  auto* labels = new QVBoxLayout(general);
  const auto label = [&](const char* name) {
    auto* l = CreateControl<QLabel>(general, name, " ");
    labels->addWidget(l);
    return l;
  };
  FFSLabel = label("FSLabel");
  FNyquistLabel = label("NyquistLabel");
  FSamplesAnaLabel = label("SamplesAnaLabel");
  FSignalLenLabel = label("SignalLenLabel");
  FFreqResLabel = label("FreqResLabel");
  FFreqBinSpaceLabel = label("FreqBinSpaceLabel");
  FFreqBinsLabel = label("FreqBinsLabel");
  FAveragesMade = label("AveragesMade");
  layout->addWidget(general);
  if (Statistics) {
    auto* group = CreateControl<QGroupBox>(Page, "StatisticsGroup", "Statistics");
    auto* grid = new QGridLayout(group);
    const auto box = [&](const char* name, const char* caption, const char* hint, int row, int column) {
      auto* b = CreateControl<QCheckBox>(group, name, caption);
      b->setToolTip(hint);
      grid->addWidget(b, row, column);
      connect(b, &QCheckBox::clicked, this, ui::Guarded([this] { BuildReport(); }));
      return b;
    };
    QCheckBox* thd = box("THDBox", "THD", "Total harmonic distrortion", 0, 0);
    QCheckBox* nf = box("NFBox", "NF", "Noise floor", 1, 0);
    QCheckBox* sfdr = box("SFDRBox", "SFDR", "Spurious free dynamic range", 2, 0);
    QCheckBox* snr = box("SNRBox", "SNR", "Signal to noise ratio", 3, 0);
    QCheckBox* rms = box("RMSBOx", "RMS", "Root mean square", 0, 1);
    QCheckBox* sinad = box("SINADBox", "SINAD", "Signal to noise and distortion", 1, 1);
    QCheckBox* thdn = box("THDNBox", "THDN", "Total harmonic distortion and noise", 2, 1);
    using S = sig::TSpectrumAnalyzer;
    FMeasureBoxes = {
        {thd, "THD", [](S& a) { return a.THD(); }, "0.00", " [%]"},
        {thdn, "THDN", [](S& a) { return a.THDN(a.PaddingRatio()); }, "0.00", " [%]"},
        {nf, "NF", [](S& a) { return a.NF(a.PaddingRatio()); }, "0.00", " [dB]"},
        {sfdr, "SFDR", [](S& a) { return a.SFDR(); }, "0.00", " [dB]"},
        {sinad, "SINAD", [](S& a) { return a.SINAD(a.PaddingRatio()); }, "0.00", " [dB]"},
        {rms, "RMS", [](S& a) { return a.BandRMS(a.PaddingRatio()); }, "", ""},
        {snr, "SNR", [](S& a) { return a.SNR(a.PaddingRatio()); }, "0.00", " [dB]"},
    };
    layout->addWidget(group);
  }
  layout->addStretch(1);
}

void TSpectrumPagesForm::BuildReportPage(QWidget* Page, std::vector<TReportBox> Boxes) {
  auto* layout = new QVBoxLayout(Page);
  auto* include = CreateControl<QGroupBox>(Page, "IncludeGroup", "Include:");
  auto* grid = new QGridLayout(include);
  FReportBoxes = std::move(Boxes);
  const int rows = static_cast<int>((FReportBoxes.size() + 1) / 2);
  for (std::size_t k = 0; k < FReportBoxes.size(); ++k) {
    TReportBox& b = FReportBoxes[k];
    b.Box = CreateControl<QCheckBox>(include, b.Name, b.Caption);
    grid->addWidget(b.Box, static_cast<int>(k) % rows, static_cast<int>(k) / rows);
    connect(b.Box, &QCheckBox::toggled, this, ui::Guarded([this, item = b.Item](bool on) {
              if (!Ready() || Spectrum() == nullptr) return;
              sig::TSpectrumReport& report = Spectrum()->Report();
              const auto bit = static_cast<sig::TSpectrumReportSet>(1u << item);
              report.SetReportItems(on ? (report.ReportItems() | bit) : (report.ReportItems() & ~bit));
            }));
  }
  layout->addWidget(include);
  auto* formats = CreateControl<QGroupBox>(Page, "FormatGroup", "Number formating");
  auto* formatGrid = new QGridLayout(formats);
  const auto format = [&](const char* name, const char* labelName, const char* caption, const char* hint,
                          void (sig::TSpectrumReport::*setter)(const std::string&)) {
    auto* edit = CreateControl<QLineEdit>(formats, name);
    edit->setToolTip(hint);
    AddRow(formatGrid, formats, labelName, caption, edit);
    connect(edit, &QLineEdit::textChanged, this, ui::Guarded([this, setter](const QString& text) {
              if (Ready() && Spectrum() != nullptr) (Spectrum()->Report().*setter)(text.toStdString());
            }));
    return edit;
  };
  FFreqFormatEdit = format("FreqFormatEdit", "FreqFormatLabel",
                           "Frequency:", "Specifies number format of the frequencies: (Example: 0.##)",
                           &sig::TSpectrumReport::SetFrequencyFormat);
  FAmpltFormatEdit = format("AmpltFormatEdit", "AmpltFormatLabel",
                            "Amplitude:", "Specifies number format of the amplitudes: (Example: 0.##)",
                            &sig::TSpectrumReport::SetAmplitudeFormat);
  FPhaseFormatEdit =
      format("PhaseFormatEdit", "PhaseFormatLabel", "Phase:", "Specifies number format of the phase: (Example: 0.##)",
             &sig::TSpectrumReport::SetPhaseFormat);
  layout->addWidget(formats);
  auto* button = CreateControl<QPushButton>(Page, "ReportButton", "Copy to clipboard");
  button->setToolTip("Create report and copy to clipboard");
  layout->addWidget(button, 0, Qt::AlignLeft);
  layout->addStretch(1);
  connect(button, &QPushButton::clicked, this, ui::Guarded([this] { ReportButtonClick(); }));
}

std::vector<TSpectrumPagesForm::TReportBox> TSpectrumPagesForm::AllReportBoxes() {
  return {{"IncludeInfoBox", "General info", sig::sriGeneralInfo},
          {"IncludePeaksBox", "Marked peaks", sig::sriMarkedPeaks},
          {"IncludeLinesBox", "All frequency lines", sig::sriFrequencyLines},
          {"IncludePhaseBox", "Phase", sig::sriPhase},
          {"IncludeTHDBox", "THD", sig::sriTHD},
          {"IncludeTHDNBox", "THDN", sig::sriTHDN},
          {"IncludeNFBox", "NF", sig::sriNF},
          {"IncludeSFDRBox", "SFDR", sig::sriSFDR},
          {"IncludeBandsBox", "Bands RMS", sig::sriBandsRMS},
          {"IncludeSINADBox", "SINAD", sig::sriSINAD},
          {"IncludeRMSBox", "RMS", sig::sriRMS},
          {"IncludeSNRBox", "SNR", sig::sriSNR},
          {"DateTimeBox", "Date/Time", sig::sriDateTime}};
}

void TSpectrumPagesForm::ReportButtonClick() {
  if (Spectrum() == nullptr) return;
  classlib::TStringList lines;
  Spectrum()->Report().BuildReport(lines);
  editor_controls::CopyToClipboard(lines);
}

sig::TStreamTemplates* TSpectrumPagesForm::AppendableTemplates() const {
  return Spectrum() != nullptr ? &Spectrum()->Bands() : nullptr;
}

// --- Filling and the enabled states ------------------------------------------

void TSpectrumPagesForm::FillControls() {
  sig::TSpectrumAnalyzer& a = *Spectrum();
  FPages->setCurrentIndex(0);
  if (FSpectrumTypeBox) FSpectrumTypeBox->setCurrentIndex(a.SpectrumType());
  if (FWindowBox) {
    FWindowBox->setCurrentIndex(a.Window());
    FSidelobeAttBox->SetPosition(a.SidelobeAtt());
  }
  if (FZeroPaddingBox)
    FZeroPaddingBox->setCurrentIndex(std::clamp(numeric::IntLog2(std::max(a.ZeroPadding(), 1)), 0, 6));
  if (FIntegrationBox) FIntegrationBox->setCurrentIndex(a.Integration());
  if (FScaleFactorEdit) FScaleFactorEdit->SetPosition(a.ScaleFactor());
  if (FRemoveDCBox) FRemoveDCBox->setChecked(a.DCDump());
  if (FLogarithmicBox) {
    FLogarithmicBox->setChecked(a.Logarithmic());
    FLogSpanBox->setCurrentIndex(a.LogSpan());
    FLogScaleBox->setCurrentIndex(a.LogType());
  }
  if (FConjugateExtendBox) {
    FConjugateExtendBox->setChecked(a.ConjExtend());
    FFlipBox->setChecked(a.ConjFlip());
  }
  if (FCZTStartEdit) {
    FCZTStartEdit->SetPosition(a.CZT().StartFrequency());
    FCZTEndEdit->SetPosition(a.CZT().StopFrequency());
    FCZTStepEdit->SetPosition(a.CZT().FrequencyStep());
  }
  if (FAveragingTypeBox) {
    const int kind = IndexOf(FAveragingKinds, a.Stats().Averaging());
    if (kind >= 0) FAveragingTypeBox->setCurrentIndex(kind);
    FAveragesEdit->SetPosition(a.Stats().Averages());
    FExpDecayBox->SetIntPosition(a.Stats().ExpDecay());
    if (FStdDevBox) FStdDevBox->setChecked(a.Stats().CalcStdDev());
    FAveragesMadeLabel->setText("Averages made: " + QString::number(a.Stats().Averaged()));
  }
  if (FLargestEdit) {
    FLargestEdit->SetIntPosition(a.Peaks().LargestCount());
    FHarmonicsEdit->SetIntPosition(a.Harmonics());
    if (a.Peaks().TraceMethod() < PeakTraceAll) FPeakTraceBox->setCurrentIndex(a.Peaks().TraceMethod());
    FFullBWBox->setChecked(a.Peaks().UseFullBandwidth());
    FBandwidthLEdit->SetPosition(a.Peaks().BandwidthL());
    FBandwidthHEdit->SetPosition(a.Peaks().BandwidthH());
    FTraceIntervalEdit->SetPosition(a.Peaks().TraceInterval());
  }
  if (FInterpolationBox) {
    FInterpolationBox->setCurrentIndex(a.Peaks().Interpolation().Method());
    FInterpolationPrecisionBox->setCurrentIndex(a.Peaks().Interpolation().Precision());
    FTracedHarmonicsBox->setChecked(a.Peaks().Interpolation().Harmonics());
  }
  if (FBandsBox) FillBands();
  if (FOrderEdit) {
    FOrderEdit->SetPosition(a.Peaks().OrderFrequency());
    const int tracing = IndexOf(FOrderTracings, a.Peaks().OrderTracing());
    if (tracing >= 0) FOrderTracingEdit->setCurrentIndex(tracing);
    FOrderPeakNumber->SetIntPosition(a.Peaks().OrderPeakNumber());
    FOrderActiveBox->setChecked(a.Peaks().OrderActive());
  }
  if (FCZTRStartEdit) {
    FCZTRStartEdit->SetPosition(a.CZT().StartRadius());
    FCZTRStopEdit->SetPosition(a.CZT().StopRadius());
  }
  if (FPhaseModeBox) {
    FPhaseModeBox->setCurrentIndex(a.PhaseMode());
    FPhaseUnitsBox->setCurrentIndex(a.PhaseUnits());
    FPhaseRangeBox->setCurrentIndex(a.PhaseRange());
    FUnwrapPhaseBox->setChecked(a.UnwrapPhase());
    FRunningPhaseBox->setCurrentIndex(a.RunningPhase());
  }
  const sig::TSpectrumReport& report = a.Report();
  for (const TReportBox& b : FReportBoxes) b.Box->setChecked((report.ReportItems() >> b.Item) & 1u);
  if (FFreqFormatEdit) {
    FFreqFormatEdit->setText(QString::fromStdString(report.FrequencyFormat()));
    FAmpltFormatEdit->setText(QString::fromStdString(report.AmplitudeFormat()));
    FPhaseFormatEdit->setText(QString::fromStdString(report.PhaseFormat()));
  }
  RunLayouts();
}

void TSpectrumPagesForm::RunLayouts() {
  FullBandwidthLayout();
  WindowLayout();
  PeakTraceLayout();
  LogarithmicLayout();
  AveragingLayout();
  InterpolationLayout();
  PhaseModeLayout();
}

void TSpectrumPagesForm::WindowLayout() {
  if (FWindowBox == nullptr) return;
  const int w = FWindowBox->currentIndex();
  EnableWithLabel(FSidelobeAttBox, w == dsp::wtKaiser || w == dsp::wtChebyshev);
}

void TSpectrumPagesForm::LogarithmicLayout() {
  if (FLogarithmicBox == nullptr) return;
  EnableWithLabel(FLogSpanBox, FLogarithmicBox->isChecked());
  EnableWithLabel(FLogScaleBox, FLogarithmicBox->isChecked());
}

void TSpectrumPagesForm::AveragingLayout() {
  if (FAveragingTypeBox == nullptr) return;
  const int i = FAveragingTypeBox->currentIndex();
  const sig::TAveraging kind = i >= 0 ? FAveragingKinds[static_cast<std::size_t>(i)] : sig::avNone;
  EnableWithLabel(FExpDecayBox, kind == sig::avExponentInf || kind == sig::avPeakAndDecay);
  EnableWithLabel(FAveragesEdit, kind == sig::avLinear || kind == sig::avPeakHold || kind == sig::avPeakHoldInf);
  EnableWithLabel(FStdDevBox, kind == sig::avLinearInf || kind == sig::avLinear);
}

void TSpectrumPagesForm::PeakTraceLayout() {
  if (FPeakTraceBox == nullptr) return;
  const int i = FPeakTraceBox->currentIndex();
  if (i < 0) return;
  EnableWithLabel(FLargestEdit, i == sig::ptLargest);
  // "All" leaves the interval and the harmonics as the method before left them.
  if (i == PeakTraceAll) return;
  EnableWithLabel(FTraceIntervalEdit, i == sig::ptCurrent || i == sig::ptFreqHarmonics);
  EnableWithLabel(FHarmonicsEdit, i == sig::ptCurrent || i == sig::ptAmpltHarmonics || i == sig::ptFreqHarmonics);
}

void TSpectrumPagesForm::FullBandwidthLayout() {
  if (FFullBWBox == nullptr) return;
  EnableWithLabel(FBandwidthLEdit, !FFullBWBox->isChecked());
  EnableWithLabel(FBandwidthHEdit, !FFullBWBox->isChecked());
}

void TSpectrumPagesForm::InterpolationLayout() {
  if (FInterpolationBox == nullptr) return;
  EnableWithLabel(FInterpolationPrecisionBox, FInterpolationBox->currentIndex() == sig::imNumeric);
}

void TSpectrumPagesForm::PhaseModeLayout() {
  if (FPhaseModeBox == nullptr) return;
  const bool phase = FPhaseModeBox->currentIndex() == sig::pm360;
  for (QWidget* w : std::initializer_list<QWidget*>{FPhaseUnitsBox, FPhaseRangeBox, FUnwrapPhaseBox})
    EnableWithLabel(w, phase);
  UnwrapPhaseLayout();
}

void TSpectrumPagesForm::UnwrapPhaseLayout() {
  if (FUnwrapPhaseBox == nullptr) return;
  // The running phase means something only for an unwrapped phase that is shown.
  EnableWithLabel(FRunningPhaseBox, FUnwrapPhaseBox->isEnabled() && FUnwrapPhaseBox->isChecked());
}

// --- Info refresh ------------------------------------------------------------

void TSpectrumPagesForm::BuildReport() {
  sig::TSpectrumAnalyzer* a = Spectrum();
  if (a == nullptr) return;
  const QString averages = "Averages made: " + QString::number(a->Stats().Averaged());
  if (FAveragesMadeLabel) FAveragesMadeLabel->setText(averages);
  bool measures = false;
  for (const TMeasureBox& m : FMeasureBoxes) {
    QString text = m.Name;
    if (m.Box->isChecked()) {
      const double value = m.Measure(*a);
      // A measure that cannot be computed reads as the report writes it.
      const QString shown = std::isnan(value) ? QString("n/a")
                            : *m.Format       ? QString::fromStdString(classlib::FormatFloat(m.Format, value))
                                              : InfoNumber(value);
      text += " = " + shown + m.Unit;
      if (std::string_view(m.Name) != "RMS") measures = true;
    }
    m.Box->setText(text);
  }
  if (FMessageLabel) {
    QString message;
    if (measures) {
      if (a->Marks().Count() == 0)
        message = "No peaks have been marked!";
      else if (a->Marks().Count() == 1)
        message = "THD and SFDR require at least two marked peaks!";
      if (a->Logarithmic()) message = "Spectrum scale is not linear!";
    }
    auto* rms = findChild<QCheckBox*>("RMSBOx");
    if (rms != nullptr && rms->isChecked() && a->SpectrumType() != dsp::spAmplt)
      message = "RMS: spectrum type is not peak amplitude!";
    FMessageLabel->setText(message);
  }
  FFSLabel->setText("Sampling frequency: " + InfoNumber(a->SamplingFrequency()) + " [Hz]");
  FNyquistLabel->setText("Bandwidth: " + InfoNumber(a->SamplingFrequency() / 2.0) + " [Hz]");
  if (const sig::TSignal* input = a->InputSignal()) {
    FSamplesAnaLabel->setText("Samples analyzed: " + QString::number(input->Length()));
    FSignalLenLabel->setText("Signal length: " + InfoNumber(input->Duration()) + " [s]");
    FFreqResLabel->setText("Frequency resolution: " + InfoNumber(input->FrequencyStep()) + " [Hz]");
  }
  FFreqBinsLabel->setText("Frequency bins: " + QString::number(a->Length()));
  FFreqBinSpaceLabel->setText("Frequency bin spacing: " + InfoNumber(a->HzRes()) + " [Hz]");
  FAveragesMade->setText(averages);
  if (FBandsBox != nullptr) {
    // The band RMS values change with every update; the edits stay.
    FReportRefresh = true;
    try {
      FBandsBox->UpdateAllLines();
    } catch (...) {
      FReportRefresh = false;
      throw;
    }
    FReportRefresh = false;
  }
}

void TSpectrumPagesForm::KeepChanges() {
  if (FBandsBox == nullptr) return;
  // Taking the chosen template reloads the list; that alone recomputes
  // nothing (closing recomputes once).
  Quietly([this] { FBandsBox->Refresh(); });
}

void TSpectrumPagesForm::AfterClose() { Spectrum()->Bands().RefreshTemplate(); }

}  // namespace analysis_ui
