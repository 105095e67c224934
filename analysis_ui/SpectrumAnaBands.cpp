// The spectrum analyser form's Bands page: the band templates in the combo
// box, one line per band of the current template, and the edits of the
// selected band.
//
// A band edit commits on Enter and when it is left, and at every change
// while Live is on. Committing stores the edits into the selected band
// (the typed edge moves the ones it crosses), recomputes while Live is on
// and shows the band again.
//
// Tested by: analysis_ui/tests/SpectrumAnaTest.cpp
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidgetItem>

#include <algorithm>
#include <functional>
#include <optional>
#include <utility>

#include "analysis_ui/MtxFloatEdit.h"
#include "analysis_ui/MtxGridView.h"
#include "analysis_ui/SpectrumAna.h"
#include "numeric/MathCore.h"
#include "platform/ui/Guarded.h"
#include "platform/ui/UserDialogs.h"
#include "signal/SpectrumBands.h"

namespace analysis_ui {

namespace {

// Commits a band control when it is left or Enter is pressed in it.
class TCommitFilter : public QObject {
 public:
  TCommitFilter(QObject* parent, std::function<void(QObject*)> commit) : QObject(parent), FCommit(std::move(commit)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::FocusOut) {
      ui::RunGuarded([&] { FCommit(watched); });
      return false;
    }
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
    ui::RunGuarded([&] {
      // A text that does not read is reported and the value shown again first.
      if (auto* edit = dynamic_cast<TMtxFloatEdit*>(watched)) edit->CommitText();
      FCommit(watched);
    });
    return true;
  }

 private:
  std::function<void(QObject*)> FCommit;
};

// An edit whose value is already shown keeps its text: the user may be
// typing in it, and what is typed stays as it is typed.
void ShowPosition(TMtxFloatEdit* edit, double value) {
  if (edit->Position() != value) edit->SetPosition(value);
}

void SetEnabledWithLabel(QWidget* control, bool on) {
  control->setEnabled(on);
  if (auto* label = control->parentWidget()->findChild<QLabel*>(control->objectName() + "Label"))
    label->setEnabled(on);
}

}  // namespace

void TSpectrumAnaForm::ConnectBands() {
  FBandsBox->SetComboBox(FTemplateCombo);
  FBandsBox->SetOnMtxUpdateEdits([this](QObject*, std::int32_t i, QTreeWidgetItem* item) { ShowBand(i, item); });
  FBandsBox->SetOnMtxLineDefinition(
      [this](QObject* sender, std::int32_t i, QTreeWidgetItem* item) { StoreBand(sender, i, item); });
  FBandsBox->SetOnMtxDataIsDirty([this](QObject*) { ApplyChange(); });
  connect(FNewButton, &QPushButton::clicked, this, ui::Guarded([this] { FBandsBox->NewTemplate(); }));
  connect(FDeleteTemplateButton, &QPushButton::clicked, this, ui::Guarded([this] { FBandsBox->DeleteTemplate(); }));
  connect(FSaveAsButton, &QPushButton::clicked, this, ui::Guarded([this] { FBandsBox->SaveTemplateAs(); }));
  connect(FAddSignalButton, &QPushButton::clicked, this, ui::Guarded([this] { AddBandClick(); }));
  connect(FDeleteBandButton, &QPushButton::clicked, this, ui::Guarded([this] { FBandsBox->DeleteLine(); }));
  connect(FBandsBox, &QTreeWidget::itemDoubleClicked, this, ui::Guarded([this] { ChangeRmsFormat(); }));
  // Checking a line's box makes its band active at once.
  connect(FBandsBox, &QTreeWidget::itemChanged, this, ui::Guarded([this](QTreeWidgetItem* item, int column) {
            if (column != 0 || !Ready() || !FBandsBox->Ready() || Analyzer() == nullptr) return;
            const std::int32_t i = FBandsBox->indexOfTopLevelItem(item);
            if (i == FBandsBox->SelectedLine()) {
              CommitBand(FBandsBox);
              return;
            }
            sig::TSpectrumBands& bands = Analyzer()->Bands().Template();
            if (i < 0 || i >= bands.Count()) return;
            bands.GetBand(i).Active = item->checkState(0) == Qt::Checked;
            ApplyChange();
          }));

  auto* filter = new TCommitFilter(this, [this](QObject* sender) { CommitBand(sender); });
  auto live = [this](QObject* sender) {
    if (ShowLive()) CommitBand(sender);
  };
  for (TMtxFloatEdit* edit : {FStartTransEdit, FStartEdit, FEndEdit, FEndTransEdit, FBandsPeakNumberEdit}) {
    edit->installEventFilter(filter);
    connect(edit, &QLineEdit::textChanged, this, ui::Guarded([edit, live] { live(edit); }));
  }
  FReferenceBox->installEventFilter(filter);
  connect(FReferenceBox, &QComboBox::currentIndexChanged, this, ui::Guarded([this, live] {
            ReferenceLayout();
            live(FReferenceBox);
          }));
  FBandsRMSBox->installEventFilter(filter);
  connect(FBandsRMSBox, &QCheckBox::toggled, this, ui::Guarded([this, live] { live(FBandsRMSBox); }));
}

void TSpectrumAnaForm::FillBands() {
  sig::TSpectrumBandsAnalyzer& bands = Analyzer()->Bands();
  const sig::TStringStreamList& names = bands.Templates();
  FTemplateCombo->clear();
  for (int i = 0; i < names.Count(); ++i) FTemplateCombo->addItem(QString::fromStdString(names.Strings(i)));
  FTemplateCombo->setCurrentIndex(bands.TemplateIndex() < FTemplateCombo->count() ? bands.TemplateIndex() : -1);
  FBandsBox->SetTemplates(&bands);
  // Without templates there is nothing to list, whatever was listed before.
  if (FTemplateCombo->count() == 0) FBandsBox->clear();
  FBandsBox->Refresh();
  if (FBandsBox->LineCount() == 0) SetBandEditsEnabled(false);
}

void TSpectrumAnaForm::SetBandEditsEnabled(bool Value) {
  for (QWidget* c : {static_cast<QWidget*>(FStartTransEdit), static_cast<QWidget*>(FStartEdit),
                     static_cast<QWidget*>(FEndEdit), static_cast<QWidget*>(FEndTransEdit),
                     static_cast<QWidget*>(FReferenceBox), static_cast<QWidget*>(FBandsRMSBox)})
    SetEnabledWithLabel(c, Value);
  for (QLabel* hz : FHzLabels) hz->setEnabled(Value);
  FBandsPeakNumberEdit->setEnabled(Value);
  FPeakNumberLabel->setEnabled(Value);
}

void TSpectrumAnaForm::ReferenceLayout() {
  const int reference = FReferenceBox->currentIndex();
  for (QLabel* hz : FHzLabels) hz->setVisible(reference == 0);
  FPeakNumberLabel->setVisible(reference == 3);
  FBandsPeakNumberEdit->setVisible(reference == 3);
}

void TSpectrumAnaForm::ShowBand(std::int32_t LineIndex, QTreeWidgetItem* Item) {
  if (Analyzer() == nullptr) return;
  const sig::TSpectrumBands& bands = Analyzer()->Bands().Template();
  if (LineIndex < 0 || LineIndex >= bands.Count()) return;
  const sig::TSpectrumBandRecord& band = bands.GetBand(LineIndex);
  if (!FReportRefresh) {
    SetBandEditsEnabled(true);
    // Showing a band is no edit of it.
    const bool was = FShowingBand;
    FShowingBand = true;
    ShowPosition(FStartTransEdit, band.F1);
    ShowPosition(FStartEdit, band.F2);
    ShowPosition(FEndEdit, band.F3);
    ShowPosition(FEndTransEdit, band.F4);
    FReferenceBox->setCurrentIndex(std::min<int>(band.Reference, FReferenceBox->count() - 1));
    ShowPosition(FBandsPeakNumberEdit, band.PeakIndex);
    FBandsRMSBox->setChecked(band.AdjustForType);
    FShowingBand = was;
    ReferenceLayout();
  }
  WriteBandLine(LineIndex, Item);
}

void TSpectrumAnaForm::WriteBandLine(std::int32_t LineIndex, QTreeWidgetItem* Item) {
  const sig::TSpectrumBandRecord& band = Analyzer()->Bands().Template().GetBand(LineIndex);
  FBandsBox->SetLine(Item, band.Active,
                     {numeric::SampleToStr(band.F2) + "<->" + numeric::SampleToStr(band.F3),
                      numeric::SampleToStr(band.Rms, FFormatFloatRMS)});
}

void TSpectrumAnaForm::StoreBand(QObject* Sender, std::int32_t LineIndex, QTreeWidgetItem* Item) {
  if (Analyzer() == nullptr || FShowingBand) return;
  sig::TSpectrumBands& bands = Analyzer()->Bands().Template();
  if (LineIndex < 0 || LineIndex >= bands.Count()) return;
  sig::TSpectrumBandRecord& band = bands.GetBand(LineIndex);
  const TMtxFloatEdit* edges[] = {FStartTransEdit, FStartEdit, FEndEdit, FEndTransEdit};
  for (std::int32_t k = 0; k < 4; ++k)
    if (Sender == edges[k]) sig::SetBandEdge(band, k + 1, edges[k]->Position());
  band.Reference = static_cast<std::uint8_t>(std::max(FReferenceBox->currentIndex(), 0));
  band.AdjustForType = FBandsRMSBox->isChecked();
  band.Active = Item != nullptr && Item->checkState(0) == Qt::Checked;
  band.PeakIndex = FBandsPeakNumberEdit->IntPosition();
}

void TSpectrumAnaForm::CommitBand(QObject* Sender) {
  if (!Ready() || FShowingBand || Analyzer() == nullptr || !FBandsBox->Ready()) return;
  const std::int32_t line = FBandsBox->SelectedLine();
  if (line < 0) return;
  QTreeWidgetItem* item = FBandsBox->Line(line);
  StoreBand(Sender, line, item);
  ApplyChange();
  ShowBand(line, item);
}

void TSpectrumAnaForm::AddBandClick() {
  // Checked first, so that a refused line leaves no record behind.
  FBandsBox->CheckTemplateDefined();
  Analyzer()->Bands().Template().AddBand(sig::TSpectrumBandRecord{});
  FBandsBox->AddLine(true);
}

void TSpectrumAnaForm::ChangeRmsFormat() {
  const std::optional<std::string> format =
      ui::Dialogs().InputQuery("Change RMS number format", "New float format:", FFormatFloatRMS);
  if (!format) return;
  FFormatFloatRMS = *format;
  FBandsBox->UpdateAllLines();
}

}  // namespace analysis_ui
