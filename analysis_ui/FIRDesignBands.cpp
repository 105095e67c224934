// The filter design form's Designer page: the band templates in the combo
// box, one line per band of the current template, the edits of the selected
// band and the band check.
//
// Tested by: analysis_ui/tests/FIRDesignTest.cpp
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidgetItem>

#include <optional>

#include "analysis_ui/EditorControls.h"
#include "analysis_ui/FIRDesign.h"
#include "analysis_ui/MtxFloatEdit.h"
#include "analysis_ui/MtxGridView.h"
#include "numeric/MathCore.h"
#include "platform/ui/Guarded.h"
#include "platform/ui/UserDialogs.h"
#include "signal/FilterBands.h"

namespace analysis_ui {

using namespace editor_controls;

namespace {

// The items of the band type box.
enum : int { PassBand, StopBand, PassBandGain };

QLabel* LabelOf(QWidget* control) {
  return control->parentWidget()->findChild<QLabel*>(control->objectName() + "Label");
}

void EnableWithLabel(QWidget* control, bool on) {
  control->setEnabled(on);
  if (QLabel* label = LabelOf(control)) label->setEnabled(on);
}

}  // namespace

void TFIRDesignForm::ConnectBands() {
  FBandsBox->SetComboBox(FTemplateCombo);
  FBandsBox->SetOnMtxUpdateEdits([this](QObject*, std::int32_t i, QTreeWidgetItem* item) { ShowBand(i, item); });
  FBandsBox->SetOnMtxLineDefinition([this](QObject* sender, std::int32_t i, QTreeWidgetItem* item) {
    // The list asks as its selection moves too. The edits then show the band
    // held within the bounds of its type (a stored stop band of 0.5 dB shows
    // 2), and what the user typed was committed as the field was left: only
    // a band just added takes the edits.
    if (i == FNewBand) StoreBand(sender, i, item);
  });
  FBandsBox->SetOnMtxDataIsDirty([this](QObject*) { BandsDataIsDirty(); });
  // The band edits take input only while a band is selected: a template
  // that goes takes its lines with it.
  // The action is a lambda, not a member pointer: GCC 12 under
  // UndefinedBehaviorSanitizer loses the form's pointer beside a captured
  // member pointer, and the slot then runs on a stray address.
  const auto then = [this](auto action) {
    return ui::Guarded([this, action] {
      action(*FBandsBox);
      BandEditsLayout();
    });
  };
  connect(FNewButton, &QPushButton::clicked, this, then([](TMtxGridView& box) { box.NewTemplate(); }));
  connect(FDeleteTemplateButton, &QPushButton::clicked, this,
          then([](TMtxGridView& box) { box.DeleteTemplate(); }));
  connect(FSaveAsButton, &QPushButton::clicked, this, then([](TMtxGridView& box) { box.SaveTemplateAs(); }));
  connect(FAddBandButton, &QPushButton::clicked, this, ui::Guarded([this] { AddBandClick(); }));
  connect(FDeleteBandButton, &QPushButton::clicked, this, ui::Guarded([this] {
            FBandsBox->DeleteLine();
            BandEditsLayout();
            ApplyChange();
          }));
  connect(FSpeedButton1, &QPushButton::clicked, this, ui::Guarded([this] { VerifyClick(); }));
  connect(FBandsBox, &QTreeWidget::itemDoubleClicked, this, ui::Guarded([this] { ChangeHzFormat(); }));
  // A line's check box is the band's mark, kept at once.
  connect(FBandsBox, &QTreeWidget::itemChanged, this, ui::Guarded([this](QTreeWidgetItem* item, int column) {
            if (column != 0 || !Ready() || !FBandsBox->Ready() || Filter() == nullptr) return;
            sig::TBandFilterList& bands = Filter()->Filters().Template();
            const std::int32_t i = FBandsBox->indexOfTopLevelItem(item);
            if (i >= 0 && i < bands.Count()) bands.GetBand(i).Checked = item->checkState(0) == Qt::Checked;
          }));

  auto* commit = new TCommitFilter(this, [this](QObject* sender) { CommitBand(sender, true); });
  for (TMtxFloatEdit* edit : {FBandStartEdit, FBandEndEdit, FAttRippleEdit, FGainEdit}) {
    edit->installEventFilter(commit);
    connect(edit, &QLineEdit::textChanged, this, ui::Guarded([this, edit] {
              if (ShowLive() && HoldsNumber(*edit)) CommitBand(edit, false);
            }));
  }
  FPassStopBox->installEventFilter(commit);
  connect(FPassStopBox, &QComboBox::currentIndexChanged, this, ui::Guarded([this] {
            if (Ready() && FBandsBox->Ready()) PassStopLayout();
          }));
}

void TFIRDesignForm::FillBands() {
  sig::TFilterList& filters = Filter()->Filters();
  const sig::TStringStreamList& names = filters.Templates();
  FTemplateCombo->clear();
  for (int i = 0; i < names.Count(); ++i) FTemplateCombo->addItem(QString::fromStdString(names.Strings(i)));
  FTemplateCombo->setCurrentIndex(filters.TemplateIndex() < FTemplateCombo->count() ? filters.TemplateIndex() : -1);
  FBandsBox->SetTemplates(&filters);
  // Without templates there is nothing to list, whatever was listed before.
  if (FTemplateCombo->count() == 0) FBandsBox->clear();
  FBandsBox->Refresh();
  BandEditsLayout();
}

void TFIRDesignForm::BandEditsLayout() {
  const bool band = FBandsBox->SelectedLine() >= 0;
  for (QWidget* c : std::initializer_list<QWidget*>{FBandStartEdit, FBandEndEdit, FAttRippleEdit, FPassStopBox})
    EnableWithLabel(c, band);
  EnableWithLabel(FGainEdit, band && FPassStopBox->currentIndex() == PassBandGain);
}

void TFIRDesignForm::PassStopLayout() {
  const int type = FPassStopBox->currentIndex();
  EnableWithLabel(FGainEdit, type == PassBandGain && FBandsBox->SelectedLine() >= 0);
  Quietly([this, type] {
    if (type == PassBand) FGainEdit->SetPosition(1);
    if (type == StopBand) FGainEdit->SetPosition(0);
    // Both bounds land before the value is held within them.
    const bool stop = type == StopBand;
    FAttRippleEdit->SetMaxValue(stop ? "300" : "0.5");
    FAttRippleEdit->SetMinValue(stop ? "2" : "1E-15");
    FAttRippleEdit->SetMaxValue(stop ? "300" : "0.5");
  });
}

void TFIRDesignForm::ShowBand(std::int32_t LineIndex, QTreeWidgetItem* Item, const QObject* Except) {
  if (Filter() == nullptr) return;
  const sig::TBandFilterList& bands = Filter()->Filters().Template();
  if (LineIndex < 0 || LineIndex >= bands.Count()) return;
  const sig::TFilterBand& band = bands.GetBand(LineIndex);
  Quietly([&] {
    if (Except != FBandStartEdit) FBandStartEdit->SetPosition(band.Start);
    if (Except != FBandEndEdit) FBandEndEdit->SetPosition(band.Stop);
    // While a field is being typed in, the band's type stays as the user set it.
    if (Except != nullptr) return;
    FGainEdit->SetPosition(band.Gain);
    FPassStopBox->setCurrentIndex(band.Gain == 0 ? StopBand : band.Gain == 1 ? PassBand : PassBandGain);
    PassStopLayout();
    FAttRippleEdit->SetPosition(band.Ripple);
  });
  BandEditsLayout();
  WriteBandLine(LineIndex, Item);
}

void TFIRDesignForm::WriteBandLine(std::int32_t LineIndex, QTreeWidgetItem* Item) {
  if (Item == nullptr) return;
  const sig::TFilterBand& band = Filter()->Filters().Template().GetBand(LineIndex);
  FBandsBox->SetLine(Item, band.Checked,
                     {numeric::SampleToStr(band.Start, FFormatFloatHz) + "<->" +
                          numeric::SampleToStr(band.Stop, FFormatFloatHz),
                      numeric::SampleToStr(band.Ripple, "0.####"), numeric::SampleToStr(band.Gain)});
  for (int c = 1; c < 4; ++c) Item->setTextAlignment(c, Qt::AlignCenter);
}

void TFIRDesignForm::StoreBand(const QObject* Sender, std::int32_t LineIndex, QTreeWidgetItem* Item) {
  if (Filter() == nullptr) return;
  sig::TBandFilterList& bands = Filter()->Filters().Template();
  if (LineIndex < 0 || LineIndex >= bands.Count()) return;
  sig::TFilterBand& band = bands.GetBand(LineIndex);
  // The edge typed moves the other one along rather than crossing it.
  if (Sender == FBandStartEdit) {
    band.Start = BoundedPosition(*FBandStartEdit);
    if (band.Start > band.Stop) band.Stop = band.Start;
  }
  if (Sender == FBandEndEdit) {
    band.Stop = BoundedPosition(*FBandEndEdit);
    if (band.Stop < band.Start) band.Start = band.Stop;
  }
  band.Gain = BoundedPosition(*FGainEdit);
  band.Ripple = BoundedPosition(*FAttRippleEdit);
  band.Checked = Item != nullptr && Item->checkState(0) == Qt::Checked;
}

void TFIRDesignForm::CommitBand(const QObject* Sender, bool Final) {
  if (!Ready() || !FBandsBox->Ready() || Filter() == nullptr) return;
  const std::int32_t line = FBandsBox->SelectedLine();
  if (line < 0) return;
  QTreeWidgetItem* item = FBandsBox->Line(line);
  StoreBand(Sender, line, item);
  ApplyChange();
  // A gain typed for "Pass band gain" may be 0 or 1: showing the band again
  // would take the type from it.
  if (Final && Sender == FPassStopBox && FPassStopBox->currentIndex() == PassBandGain) {
    WriteBandLine(line, item);
    return;
  }
  ShowBand(line, item, Final ? nullptr : Sender);
}

void TFIRDesignForm::AddBandClick() {
  // Checked first, so that a refused line leaves no band behind.
  FBandsBox->CheckTemplateDefined();
  sig::TBandFilterList& bands = Filter()->Filters().Template();
  bands.AddBand(sig::TFilterBand{});
  FNewBand = bands.Count() - 1;
  try {
    FBandsBox->AddLine(true);
  } catch (...) {
    FNewBand = -1;
    throw;
  }
  FNewBand = -1;
  ApplyChange();
}

void TFIRDesignForm::VerifyClick() {
  Quietly([this] {
    Filter()->Filters().Template().Sort();
    VerifyBands();
    FBandsBox->Refresh();
  });
}

std::int32_t TFIRDesignForm::VerifyBands() {
  const sig::TSignalFilter& f = *Filter();
  std::int32_t index = 0;
  std::int32_t code = f.Filters().Template().CheckBands(index);
  // A pass band and a stop band at least: the check itself counts no bands.
  if ((f.Response() == sig::rstFIR || f.Response() == sig::rstIIR) &&
      (f.Filters().TemplateIndex() < 0 || f.Filters().Template().Count() < 2))
    code = 1;
  FFilterLabel->setText(QString::fromStdString(sig::BandCheckText(code, index)));
  FFilterLabel->setStyleSheet(code == 0 ? "color: #006000;" : "color: #a00000;");
  FFilterLabel->show();
  FTimer1->start();
  return code;
}

void TFIRDesignForm::Timer1Timer() {
  FTimer1->stop();
  FFilterLabel->hide();
}

void TFIRDesignForm::ChangeHzFormat() {
  const std::optional<std::string> format =
      ui::Dialogs().InputQuery("Change frequency number format", "New float format:", FFormatFloatHz);
  if (!format) return;
  FFormatFloatHz = *format;
  FBandsBox->UpdateAllLines();
}

void TFIRDesignForm::BandsDataIsDirty() {
  Filter()->SetDesigned(false);
  ApplyChange();
}

}  // namespace analysis_ui
