// The spectrum mark cursor's editor form.
//
// Tested by: analysis_ui/tests/MarkToolEditorsTest.cpp
#include <QGridLayout>

#include "analysis_ui/MarkToolEditors.h"
#include "platform/ui/Guarded.h"

namespace analysis_ui {

using chart_editors::CreateControl;

namespace {
QString Text(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

TSpectrumMarkToolEditor::TSpectrumMarkToolEditor(QWidget* owner) : TCursorMarkToolEditor(owner) {
  setObjectName("SpectrumMarkToolEditor");
  setWindowTitle("SpectrumMarkToolEditor");
  SpectrumLabel->setText("Spectrum:");
  MarkModeBox->addItems({"Single peak", "Harmonic series", "Modulation side bands", "Modulation modes", "Free style"});
  auto& config = *static_cast<QGridLayout*>(Configuration->layout());
  // Nothing stands behind it: shown as the choice it would be, never as one taken.
  CoordinatesBox = CreateControl<QCheckBox>(Configuration, "CoordinatesBox", "Display coordinates");
  CoordinatesBox->setEnabled(false);
  ClearPeaksButton = CreateControl<QPushButton>(Configuration, "ClearPeaksButton", "Clear peaks");
  FilterPeaksButton = CreateControl<QPushButton>(Configuration, "FilterPeaksButton", "Filter peaks");
  config.addWidget(CoordinatesBox, 4, 0, 1, 2);
  config.addWidget(ClearPeaksButton, 5, 0);
  config.addWidget(FilterPeaksButton, 5, 1, Qt::AlignLeft);

  auto& display = *static_cast<QGridLayout*>(Display->layout());
  auto& format = *static_cast<QGridLayout*>(FormatGroup->layout());
  PhaseLabel = CreateControl<QLabel>(FormatGroup, "PhaseLabel", "Phase:");
  PhaseEdit = CreateControl<QLineEdit>(FormatGroup, "PhaseEdit", "0.00#");
  FrequencyLabel = CreateControl<QLabel>(FormatGroup, "FrequencyLabel", "Frequency");
  FrequencyEdit = CreateControl<QLineEdit>(FormatGroup, "FrequencyEdit", "0.00#");
  PhaseLabel->setBuddy(PhaseEdit);
  FrequencyLabel->setBuddy(FrequencyEdit);
  format.addWidget(PhaseLabel, 1, 0);
  format.addWidget(PhaseEdit, 1, 1);
  format.addWidget(FrequencyLabel, 2, 0);
  format.addWidget(FrequencyEdit, 2, 1);
  MarkTypeLabel = CreateControl<QLabel>(Display, "MarkTypeLabel", "Display:");
  MarkTypeBox = CreateControl<QComboBox>(Display, "MarkTypeBox");
  MarkTypeBox->addItems({"Amplitude", "Phase", "Amplitude and Phase"});
  MarkTypeLabel->setBuddy(MarkTypeBox);
  LabelHeadersBox = CreateControl<QCheckBox>(Display, "LabelHeadersBox", "Label headers");
  display.addWidget(MarkTypeLabel, 1, 0);
  display.addWidget(MarkTypeBox, 1, 1);
  display.addWidget(LabelHeadersBox, 2, 0, 1, 2);

  Interface = AddPage("Interface", "Interface");
  auto* interface = new QGridLayout(Interface);
  DoubleClickClear = CreateControl<QCheckBox>(Interface, "DoubleClickClear", "Clear peaks on double click");
  FilterBox = CreateControl<QCheckBox>(Interface, "FilterBox", "Digital filter clicked peaks");
  PeakZoomBandBox = CreateControl<QCheckBox>(Interface, "PeakZoomBandBox", "Peak search band follows zoom");
  interface->addWidget(DoubleClickClear, 0, 0);
  interface->addWidget(FilterBox, 1, 0);
  interface->addWidget(PeakZoomBandBox, 2, 0);
  interface->setRowStretch(20, 1);

  ConfIntervals = AddPage("ConfIntervals", "Conf. Intervals");
  auto* conf = new QGridLayout(ConfIntervals);
  UpperLimitLabel = CreateControl<QLabel>(ConfIntervals, "UpperLimitLabel", "Upper limit series:");
  UpperLimitBox = AddSeriesBox(
      ConfIntervals, "UpperLimitBox",
      [](TCursorMarkTool& tool) { return static_cast<TSpectrumMarkTool&>(tool).UpperLimitSeries(); },
      [](TCursorMarkTool& tool, chart::TChartSeries* s) { static_cast<TSpectrumMarkTool&>(tool).SetUpperLimitSeries(s); });
  LowerLimitLabel = CreateControl<QLabel>(ConfIntervals, "LowerLimitLabel", "Lower limit series:");
  LowerLimitBox = AddSeriesBox(
      ConfIntervals, "LowerLimitBox",
      [](TCursorMarkTool& tool) { return static_cast<TSpectrumMarkTool&>(tool).LowerLimitSeries(); },
      [](TCursorMarkTool& tool, chart::TChartSeries* s) { static_cast<TSpectrumMarkTool&>(tool).SetLowerLimitSeries(s); });
  UpperLimitLabel->setBuddy(UpperLimitBox);
  LowerLimitLabel->setBuddy(LowerLimitBox);
  // The confidence level has no property behind it either.
  ConfidenceLabel = CreateControl<QLabel>(ConfIntervals, "ConfidenceLabel", "Confidence:");
  ConfidenceEdit = CreateControl<QLineEdit>(ConfIntervals, "ConfidenceEdit", "99");
  PercentLabel = CreateControl<QLabel>(ConfIntervals, "PercentLabel", "[%]");
  for (QWidget* w : {static_cast<QWidget*>(ConfidenceLabel), static_cast<QWidget*>(ConfidenceEdit),
                     static_cast<QWidget*>(PercentLabel)})
    w->setEnabled(false);
  ConfidenceEdit->setMaximumWidth(60);
  ConfidenceBox = CreateControl<QCheckBox>(ConfIntervals, "ConfidenceBox", "Marks only");
  StdDevLabel = CreateControl<QLabel>(ConfIntervals, "StdDevLabel", "Standard deviation not available!");
  conf->addWidget(UpperLimitLabel, 0, 0);
  conf->addWidget(UpperLimitBox, 0, 1, 1, 2);
  conf->addWidget(LowerLimitLabel, 1, 0);
  conf->addWidget(LowerLimitBox, 1, 1, 1, 2);
  conf->addWidget(ConfidenceLabel, 2, 0);
  conf->addWidget(ConfidenceEdit, 2, 1);
  conf->addWidget(PercentLabel, 2, 2, Qt::AlignLeft);
  conf->addWidget(ConfidenceBox, 3, 0, 1, 3);
  conf->addWidget(StdDevLabel, 4, 0, 1, 3);
  conf->setColumnStretch(3, 1);
  conf->setRowStretch(20, 1);

  using T = TSpectrumMarkTool;
  connect(MarkModeBox, &QComboBox::activated, this, ui::Guarded([this](int i) {
            Edit<T>([i](T& t) { t.SetMarkMode(static_cast<TSpectrumMarkMode>(i)); });
          }));
  connect(ClearPeaksButton, &QPushButton::clicked, this, ui::Guarded([this] { Edit<T>([](T& t) { t.ClearPeaks(); }); }));
  connect(FilterPeaksButton, &QPushButton::clicked, this,
          ui::Guarded([this] { Edit<T>([](T& t) { t.FilterPeaks(); }); }));
  connect(AmplitudeEdit, &QLineEdit::textChanged, this, ui::Guarded([this](const QString& s) {
            Edit<T>([&](T& t) { t.SetAmpltFormat(s.toStdString()); });
          }));
  connect(PhaseEdit, &QLineEdit::textChanged, this, ui::Guarded([this](const QString& s) {
            Edit<T>([&](T& t) { t.SetPhaseFormat(s.toStdString()); });
          }));
  connect(FrequencyEdit, &QLineEdit::textChanged, this, ui::Guarded([this](const QString& s) {
            Edit<T>([&](T& t) { t.SetFreqFormat(s.toStdString()); });
          }));
  connect(MarkTypeBox, &QComboBox::activated, this, ui::Guarded([this](int i) {
            Edit<T>([i](T& t) { t.SetMarkType(static_cast<TSpectrumMarkType>(i)); });
          }));
  connect(LabelHeadersBox, &QCheckBox::toggled, this,
          ui::Guarded([this](bool on) { Edit<T>([on](T& t) { t.SetLabelHeaders(on); }); }));
  connect(DoubleClickClear, &QCheckBox::toggled, this,
          ui::Guarded([this](bool on) { Edit<T>([on](T& t) { t.SetDoubleClickClear(on); }); }));
  connect(FilterBox, &QCheckBox::toggled, this,
          ui::Guarded([this](bool on) { Edit<T>([on](T& t) { t.SetPeakFilterMode(on); }); }));
  connect(PeakZoomBandBox, &QCheckBox::toggled, this,
          ui::Guarded([this](bool on) { Edit<T>([on](T& t) { t.SetPeakZoomBand(on); }); }));
  connect(ConfidenceBox, &QCheckBox::toggled, this,
          ui::Guarded([this](bool on) { Edit<T>([on](T& t) { t.SetConfMarksOnly(on); }); }));
}

TCursorMarkTool* TSpectrumMarkToolEditor::ToolOf(classlib::TPersistent* tag) const {
  return dynamic_cast<TSpectrumMarkTool*>(tag);
}

void TSpectrumMarkToolEditor::FillControls() {
  const auto& tool = static_cast<const TSpectrumMarkTool&>(*Tool());
  MarkModeBox->setCurrentIndex(tool.MarkMode());
  MarkTypeBox->setCurrentIndex(tool.MarkType());
  FilterBox->setChecked(tool.PeakFilterMode());
  AmplitudeEdit->setText(Text(tool.AmpltFormat()));
  PhaseEdit->setText(Text(tool.PhaseFormat()));
  FrequencyEdit->setText(Text(tool.FreqFormat()));
  LabelHeadersBox->setChecked(tool.LabelHeaders());
  PeakZoomBandBox->setChecked(tool.PeakZoomBand());
  DoubleClickClear->setChecked(tool.DoubleClickClear());
  ConfidenceBox->setChecked(tool.ConfMarksOnly());
}

}  // namespace analysis_ui
