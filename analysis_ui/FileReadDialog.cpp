// The control window of a signal file reader.
//
// Tested by: analysis_ui/tests/FileReadDialogTest.cpp
#include "analysis_ui/FileReadDialog.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>
#include <string>

#include "analysis_ui/MtxFloatEdit.h"
#include "platform/classlib/Exception.h"
#include "platform/classlib/SysUtils.h"
#include "platform/classlib/TextUtils.h"
#include "platform/ui/Guarded.h"
#include "platform/ui/Rounding.h"
#include "signal/SignalFileFormats.h"

namespace analysis_ui {

using chart_editors::CreateControl;

namespace {

const char* const SamplesFormat = "0";
// Enough decimals to tell one sample from the next at the usual rates.
const char* const SecondsFormat = "0.######";

const std::string SignalOpenFilter =
    "All know formats|*.dat;*.bin;*.dbn;*.sfs;*.asc;*.sgl;*.wav|" + std::string(sig::SignalFileFilter);

void MakeIntegerEdit(TMtxFloatEdit& edit) {
  edit.SetReFormat("0");
  edit.SetIntegerIncrement(true);
  edit.SetIncrement("1");
}

std::string General(double value) { return classlib::FloatToStrF(value, classlib::ffGeneral, 7, 0); }

// Sets a flag for the life of a scope and puts back what it was.
class TFlagScope {
 public:
  TFlagScope(bool& flag, bool value) : FFlag(flag), FWas(flag) { flag = value; }
  ~TFlagScope() { FFlag = FWas; }
  TFlagScope(const TFlagScope&) = delete;
  TFlagScope& operator=(const TFlagScope&) = delete;

 private:
  bool& FFlag;
  bool FWas;
};

// The reader's Continuous switched off for the life of a scope.
class TNotContinuous {
 public:
  explicit TNotContinuous(sig::TSignalRead& reader) : FReader(reader), FWas(reader.Continuous()) {
    reader.SetContinuous(false);
  }
  ~TNotContinuous() { FReader.SetContinuous(FWas); }
  TNotContinuous(const TNotContinuous&) = delete;
  TNotContinuous& operator=(const TNotContinuous&) = delete;

 private:
  sig::TSignalRead& FReader;
  bool FWas;
};

}  // namespace

TFileReadDialogForm::TFileReadDialogForm(QWidget* owner) : TComponentEditorForm(owner) {
  setObjectName("FileReadDialogForm");
  setWindowTitle("File control");
  resize(426, 268);

  auto* clientLayout = new QVBoxLayout(ClientArea());
  clientLayout->setContentsMargins(0, 0, 0, 0);
  PageControl1 = CreateControl<QTabWidget>(ClientArea(), "PageControl1");
  clientLayout->addWidget(PageControl1);

  // Page "Control".
  ControlSheet = CreateControl<QWidget>(PageControl1, "ControlSheet");
  PageControl1->addTab(ControlSheet, "Control");
  CurrentLabel = CreateControl<QLabel>(ControlSheet, "CurrentLabel", "Current:");
  CurrentEdit = CreateControl<TMtxFloatEdit>(ControlSheet, "CurrentEdit");
  MakeIntegerEdit(*CurrentEdit);
  FinalLabel = CreateControl<QLabel>(ControlSheet, "FinalLabel", "Final:");
  FinalEdit = CreateControl<TMtxFloatEdit>(ControlSheet, "FinalEdit");
  MakeIntegerEdit(*FinalEdit);
  UnitLabels = CreateControl<QLabel>(ControlSheet, "UnitLabels", "[samples]");
  SamplesSecsBox = CreateControl<QCheckBox>(ControlSheet, "SamplesSecsBox", "Samples <-> Seconds");
  SamplesSecsBox->setChecked(true);
  LastFrameCheckBox = CreateControl<QCheckBox>(ControlSheet, "LastFrameCheckBox", "Check last frame");
  LoopBox = CreateControl<QCheckBox>(ControlSheet, "LoopBox", "Loop");
  RecordNumberLabel = CreateControl<QLabel>(ControlSheet, "RecordNumberLabel", "Record number:");
  RecordNumberEdit = CreateControl<TMtxFloatEdit>(ControlSheet, "RecordNumberEdit");
  MakeIntegerEdit(*RecordNumberEdit);
  ScaleFactorLabel = CreateControl<QLabel>(ControlSheet, "ScaleFactorLabel", "Scale factor:");
  ScaleFactorEdit = CreateControl<TMtxFloatEdit>(ControlSheet, "ScaleFactorEdit");
  ScaleFactorEdit->SetReFormat("0.00#;-0.00#");
  ScaleFactorEdit->SetIncrement("0.1");
  OverlappingLabel = CreateControl<QLabel>(ControlSheet, "OverlappingLabel", "Overlapping:");
  OverlappingEdit = CreateControl<TMtxFloatEdit>(ControlSheet, "OverlappingEdit");
  OverlappingEdit->SetReFormat("0.00#;-0.00#");
  OverlappingEdit->SetIncrement("0.1");
  OverlappingUnitLabel = CreateControl<QLabel>(ControlSheet, "OverlappingUnitLabel", "[%]");
  Overlapping2Label = CreateControl<QLabel>(ControlSheet, "Overlapping2Label", "Overlapping:");
  Overlapping2Edit = CreateControl<TMtxFloatEdit>(ControlSheet, "Overlapping2Edit");
  MakeIntegerEdit(*Overlapping2Edit);
  Overlapping2UnitLabel = CreateControl<QLabel>(ControlSheet, "Overlapping2UnitLabel", "[samples]");
  FramingLabel = CreateControl<QLabel>(ControlSheet, "FramingLabel", "Framing:");
  FramingBox = CreateControl<QComboBox>(ControlSheet, "FramingBox");
  FramingBox->addItems({"Single record", "Across records"});
  BlockSizeLabel = CreateControl<QLabel>(ControlSheet, "BlockSizeLabel", "Block size:");
  BlockSizeBox = CreateControl<QComboBox>(ControlSheet, "BlockSizeBox");
  BlockSizeBox->setEditable(true);
  BlockSizeBox->setInsertPolicy(QComboBox::NoInsert);
  for (int size = 16; size <= 524288; size *= 2) BlockSizeBox->addItem(QString::number(size));
  BlockSizeBox->setCurrentText("512");

  auto* grid = new QGridLayout(ControlSheet);
  grid->addWidget(CurrentLabel, 0, 0);
  grid->addWidget(CurrentEdit, 0, 1);
  grid->addWidget(UnitLabels, 0, 2, 2, 1);
  grid->addWidget(SamplesSecsBox, 0, 4, 1, 2);
  grid->addWidget(FinalLabel, 1, 0);
  grid->addWidget(FinalEdit, 1, 1);
  grid->addWidget(LastFrameCheckBox, 1, 4, 1, 2);
  grid->addWidget(RecordNumberLabel, 2, 0);
  grid->addWidget(RecordNumberEdit, 2, 1);
  grid->addWidget(LoopBox, 2, 4, 1, 2);
  grid->addWidget(ScaleFactorLabel, 3, 0);
  grid->addWidget(ScaleFactorEdit, 3, 1);
  grid->addWidget(FramingLabel, 3, 4);
  grid->addWidget(FramingBox, 3, 5);
  grid->addWidget(OverlappingLabel, 4, 0);
  grid->addWidget(OverlappingEdit, 4, 1);
  grid->addWidget(OverlappingUnitLabel, 4, 2);
  grid->addWidget(BlockSizeLabel, 4, 4);
  grid->addWidget(BlockSizeBox, 4, 5);
  grid->addWidget(Overlapping2Label, 5, 0);
  grid->addWidget(Overlapping2Edit, 5, 1);
  grid->addWidget(Overlapping2UnitLabel, 5, 2);
  grid->setColumnMinimumWidth(3, 12);
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(5, 1);
  grid->setRowStretch(6, 1);

  // Page "Info".
  InfoSheet = CreateControl<QWidget>(PageControl1, "InfoSheet");
  PageControl1->addTab(InfoSheet, "Info");
  Taglabel = CreateControl<QLabel>(InfoSheet, "Taglabel");
  DescLabel = CreateControl<QLabel>(InfoSheet, "DescLabel");
  GeneralBox = CreateControl<QGroupBox>(InfoSheet, "GeneralBox", "General");
  RecordsCountLabel = CreateControl<QLabel>(GeneralBox, "RecordsCountLabel");
  ChannelCountLabel = CreateControl<QLabel>(GeneralBox, "ChannelCountLabel");
  RecordLengthTime = CreateControl<QLabel>(GeneralBox, "RecordLengthTime");
  RecordLengthLabel = CreateControl<QLabel>(GeneralBox, "RecordLengthLabel");
  SamplingFreqLabel = CreateControl<QLabel>(GeneralBox, "SamplingFreqLabel");
  auto* generalLayout = new QVBoxLayout(GeneralBox);
  for (QLabel* l : {RecordsCountLabel, ChannelCountLabel, RecordLengthTime, RecordLengthLabel, SamplingFreqLabel})
    generalLayout->addWidget(l);
  generalLayout->addStretch(1);
  FramingGroup = CreateControl<QGroupBox>(InfoSheet, "FramingGroup", "Data/Framing");
  FramesCountLabel = CreateControl<QLabel>(FramingGroup, "FramesCountLabel");
  FrameNumberLabel = CreateControl<QLabel>(FramingGroup, "FrameNumberLabel");
  FramesPerSecLabel = CreateControl<QLabel>(FramingGroup, "FramesPerSecLabel");
  PrecisionLabel = CreateControl<QLabel>(FramingGroup, "PrecisionLabel");
  ComplexLabel = CreateControl<QLabel>(FramingGroup, "ComplexLabel");
  FileSizeLabel = CreateControl<QLabel>(FramingGroup, "FileSizeLabel");
  auto* framingLayout = new QVBoxLayout(FramingGroup);
  for (QLabel* l : {FramesCountLabel, FrameNumberLabel, FramesPerSecLabel, PrecisionLabel, ComplexLabel, FileSizeLabel})
    framingLayout->addWidget(l);
  framingLayout->addStretch(1);
  auto* infoLayout = new QGridLayout(InfoSheet);
  infoLayout->addWidget(Taglabel, 0, 0, 1, 2);
  infoLayout->addWidget(DescLabel, 1, 0, 1, 2);
  infoLayout->addWidget(GeneralBox, 2, 0);
  infoLayout->addWidget(FramingGroup, 2, 1);
  infoLayout->setRowStretch(2, 1);

  // The settings items every window has go by this window's names; its own
  // items follow them.
  SaveItem()->setObjectName("Savesettings1");
  LoadItem()->setObjectName("Loadsettings1");
  WindowEditMenu()->addSeparator();
  ProcessAllItem = WindowEditMenu()->addAction("Process all");
  ProcessAllItem->setObjectName("Processall1");
  OpenFileItem = WindowEditMenu()->addAction("Open file...");
  OpenFileItem->setObjectName("Openfile1");

  connect(CurrentEdit, &QLineEdit::textChanged, this, ui::Guarded([this] { CurrentEditChange(); }));
  connect(FinalEdit, &QLineEdit::textChanged, this, ui::Guarded([this] { FinalEditChange(); }));
  connect(SamplesSecsBox, &QCheckBox::clicked, this, ui::Guarded([this] { SamplesSecsBoxClick(); }));
  connect(LastFrameCheckBox, &QCheckBox::clicked, this, ui::Guarded([this] { LastFrameCheckBoxClick(); }));
  connect(LoopBox, &QCheckBox::clicked, this, ui::Guarded([this] { LoopBoxClick(); }));
  connect(RecordNumberEdit, &QLineEdit::textChanged, this, ui::Guarded([this] { RecordNumberEditChange(); }));
  connect(ScaleFactorEdit, &QLineEdit::textChanged, this, ui::Guarded([this] { ScaleFactorEditChange(); }));
  // 0 is kept as 1 by the reader: the field shows that once the user leaves it.
  connect(ScaleFactorEdit, &QLineEdit::editingFinished, this, ui::Guarded([this] {
            if (Quiet()) return;
            TFlagScope busy(FBusy, true);
            ScaleFactorEdit->SetPosition(Reader()->ScaleFactor());
          }));
  connect(OverlappingEdit, &QLineEdit::textChanged, this, ui::Guarded([this] { OverlappingEditChange(); }));
  connect(Overlapping2Edit, &QLineEdit::textChanged, this, ui::Guarded([this] { Overlapping2EditChange(); }));
  connect(FramingBox, &QComboBox::activated, this, ui::Guarded([this] { FramingBoxChange(); }));
  connect(BlockSizeBox, &QComboBox::activated, this, ui::Guarded([this] { BlockSizeBoxChange(); }));
  connect(BlockSizeBox->lineEdit(), &QLineEdit::editingFinished, this, ui::Guarded([this] { BlockSizeBoxChange(); }));
  // After the window's own "Update" recomputed.
  connect(UpdateButton(), &QToolButton::clicked, this, ui::Guarded([this] { UpdateClick(); }));
  connect(ProcessAllItem, &QAction::triggered, this, ui::Guarded([this] { ProcessAllClick(); }));
  connect(OpenFileItem, &QAction::triggered, this, ui::Guarded([this] { OpenFileClick(); }));
}

bool TFileReadDialogForm::Quiet() const { return !Ready() || FBusy || Reader() == nullptr; }

bool TFileReadDialogForm::CountsSamples() const { return SamplesSecsBox->isChecked(); }

std::int32_t TFileReadDialogForm::EditSamples(const TMtxFloatEdit& Edit) const {
  if (CountsSamples()) return Edit.IntPosition();
  return ui::Trunc(Edit.Position() * Reader()->SamplingFrequency());
}

void TFileReadDialogForm::ShowSamples(TMtxFloatEdit& Edit, std::int32_t Samples) {
  if (EditSamples(Edit) == Samples && !Edit.text().isEmpty()) return;
  TFlagScope busy(FBusy, true);
  const double fs = Reader()->SamplingFrequency();
  if (CountsSamples())
    Edit.SetIntPosition(Samples);
  else
    Edit.SetPosition(fs > 0.0 ? Samples / fs : 0.0);
}

void TFileReadDialogForm::ShowPositions() {
  ShowSamples(*CurrentEdit, Reader()->RecordPosition());
  ShowSamples(*FinalEdit, Reader()->FinalRecordPosition());
}

void TFileReadDialogForm::ShowCaption() {
  const sig::TSignalRead* reader = Reader();
  if (reader == nullptr || reader->FileName().empty())
    setWindowTitle("File control");
  else
    setWindowTitle(QString::fromStdString("File control - " + reader->FileName()));
}

void TFileReadDialogForm::FillControls() {
  sig::TSignalRead& reader = *Reader();
  TFlagScope busy(FBusy, true);
  ShowCaption();
  UnitLabels->setText(CountsSamples() ? "[samples]" : "[seconds]");
  for (TMtxFloatEdit* edit : {CurrentEdit, FinalEdit}) edit->SetReFormat(CountsSamples() ? SamplesFormat : SecondsFormat);
  CurrentEdit->clear();
  FinalEdit->clear();
  ShowPositions();
  LastFrameCheckBox->setChecked(reader.LastFrameCheck());
  LoopBox->setChecked(reader.Loop());
  RecordNumberEdit->SetIntPosition(reader.RecordNumber());
  ScaleFactorEdit->SetPosition(reader.ScaleFactor());
  OverlappingEdit->SetPosition(reader.OverlappingPercent());
  Overlapping2Edit->SetIntPosition(reader.OverlappingSamples());
  FramingBox->setCurrentIndex(reader.Framing());
  BlockSizeBox->setCurrentText(QString::number(reader.Length()));
}

void TFileReadDialogForm::ShowInfo() {
  sig::TSignalRead* reader = Reader();
  if (reader == nullptr) return;
  if (FProcessing) {
    const std::int32_t length = reader->RecordLength();
    // The last frame may end past the record: the run is then done.
    const int percent =
        length > 0 ? std::min(ui::Round(static_cast<double>(reader->RecordPosition()) / length * 100.0), 100) : 0;
    setWindowTitle(QString::fromStdString("File control - Progress " + classlib::IntToStr(percent) + "%"));
    return;
  }
  using classlib::IntToStr;
  RecordsCountLabel->setText(QString::fromStdString("Records count: " + IntToStr(reader->NumberOfRecords())));
  RecordLengthLabel->setText(
      QString::fromStdString("Record length: " + IntToStr(reader->RecordLength()) + " [samples]"));
  ChannelCountLabel->setText(QString::fromStdString("Channel count: " + IntToStr(reader->ChannelCount())));
  RecordLengthTime->setText(QString::fromStdString("Record length: " + General(reader->RecordTime()) + " [s]"));
  PrecisionLabel->setText(QString::fromStdString("Precision: " + numeric::PrecisionToStr(reader->Precision())));
  ComplexLabel->setText(reader->Complex() ? "Complex: True" : "Complex: False");
  FileSizeLabel->setText(QString::fromStdString(
      "File size: " + IntToStr(ui::Round(static_cast<double>(reader->FileSize()) / 1024.0)) + " [kB]"));
  SamplingFreqLabel->setText(
      QString::fromStdString("Sampling freqency: " + General(reader->SamplingFrequency()) + " [Hz]"));
  FramesCountLabel->setText(QString::fromStdString("Frames count: " + IntToStr(reader->MaxFrames())));
  FrameNumberLabel->setText(QString::fromStdString("Frame number: " + IntToStr(reader->FrameNumber())));
  FramesPerSecLabel->setText(QString::fromStdString("Frames/second: " + General(reader->FramesPerSecond())));
  Taglabel->setText(QString::fromStdString(sig::FileFormatToText(*reader)));
  DescLabel->setText(QString::fromStdString(sig::SignalFileInfoText(*reader)));

  const bool records = reader->NumberOfRecords() > 1;
  RecordNumberEdit->setEnabled(records);
  RecordNumberLabel->setEnabled(records);
  FramingBox->setEnabled(records);
  FramingLabel->setEnabled(records);
  if (reader->NumberOfRecords() == 1) {
    TFlagScope busy(FBusy, true);
    RecordNumberEdit->SetIntPosition(0);
    FramingBox->setCurrentIndex(sig::frSingleRecord);
    // The box speaks for the reader: one record is read as a single record.
    if (reader->Framing() != sig::frSingleRecord) reader->SetFraming(sig::frSingleRecord);
  }
}

void TFileReadDialogForm::AfterChange() {
  ApplyChange();
  ShowSamples(*CurrentEdit, Reader()->RecordPosition());
  ShowInfo();
}

void TFileReadDialogForm::CurrentEditChange() {
  if (Quiet()) return;
  sig::TSignalRead& reader = *Reader();
  reader.SetRecordPosition(EditSamples(*CurrentEdit));
  // The frame at the new position is read again rather than the next one.
  TNotContinuous still(reader);
  AfterChange();
}

void TFileReadDialogForm::FinalEditChange() {
  if (Quiet()) return;
  Reader()->SetFinalRecordPosition(EditSamples(*FinalEdit));
  AfterChange();
}

void TFileReadDialogForm::SamplesSecsBoxClick() {
  if (Reader() == nullptr) return;
  {
    TFlagScope busy(FBusy, true);
    UnitLabels->setText(CountsSamples() ? "[samples]" : "[seconds]");
    for (TMtxFloatEdit* edit : {CurrentEdit, FinalEdit}) {
      edit->SetReFormat(CountsSamples() ? SamplesFormat : SecondsFormat);
      edit->clear();
    }
  }
  ShowPositions();
}

void TFileReadDialogForm::LastFrameCheckBoxClick() {
  if (Quiet()) return;
  Reader()->SetLastFrameCheck(LastFrameCheckBox->isChecked());
  AfterChange();
}

void TFileReadDialogForm::LoopBoxClick() {
  if (Quiet()) return;
  Reader()->SetLoop(LoopBox->isChecked());
  AfterChange();
}

void TFileReadDialogForm::RecordNumberEditChange() {
  if (Quiet()) return;
  sig::TSignalRead& reader = *Reader();
  reader.SetRecordNumber(RecordNumberEdit->IntPosition());
  // A number beyond the file's records shows the record the reader took.
  if (reader.FileOpen() && reader.RecordNumber() != RecordNumberEdit->IntPosition()) {
    TFlagScope busy(FBusy, true);
    RecordNumberEdit->SetIntPosition(reader.RecordNumber());
  }
  AfterChange();
}

void TFileReadDialogForm::ScaleFactorEditChange() {
  if (Quiet()) return;
  Reader()->SetScaleFactor(ScaleFactorEdit->Position());
  AfterChange();
}

void TFileReadDialogForm::OverlappingEditChange() {
  if (Quiet()) return;
  sig::TSignalRead& reader = *Reader();
  reader.SetOverlappingPercent(OverlappingEdit->Position());
  {
    TFlagScope busy(FBusy, true);
    Overlapping2Edit->SetIntPosition(reader.OverlappingSamples());
    // A percentage above 100 shows the 100 the reader keeps.
    if (reader.OverlappingPercent() != OverlappingEdit->Position())
      OverlappingEdit->SetPosition(reader.OverlappingPercent());
  }
  AfterChange();
}

void TFileReadDialogForm::Overlapping2EditChange() {
  if (Quiet()) return;
  sig::TSignalRead& reader = *Reader();
  reader.SetOverlappingSamples(Overlapping2Edit->IntPosition());
  {
    TFlagScope busy(FBusy, true);
    OverlappingEdit->SetPosition(reader.OverlappingPercent());
  }
  AfterChange();
}

void TFileReadDialogForm::FramingBoxChange() {
  if (Quiet() || FramingBox->currentIndex() < 0) return;
  Reader()->SetFraming(static_cast<sig::TFraming>(FramingBox->currentIndex()));
  ShowInfo();
}

void TFileReadDialogForm::BlockSizeBoxChange() {
  if (Quiet()) return;
  sig::TSignalRead& reader = *Reader();
  const std::string text = classlib::Trim(BlockSizeBox->currentText().toStdString());
  std::int32_t size = 0;
  if (!classlib::TryStrToInt(text, size) || size < 1) {
    {
      TFlagScope busy(FBusy, true);
      BlockSizeBox->setCurrentText(QString::number(reader.Length()));
    }
    throw classlib::EConvertError("'" + text + "' is not a valid block size: a whole number above 0 is needed");
  }
  if (size == reader.Length()) return;
  reader.SetLength(size);
  // The framing follows the new length.
  reader.SetFraming(reader.Framing());
  {
    TFlagScope busy(FBusy, true);
    Overlapping2Edit->SetIntPosition(reader.OverlappingSamples());
  }
  AfterChange();
}

void TFileReadDialogForm::UpdateClick() {
  if (Reader() == nullptr) return;
  ShowSamples(*CurrentEdit, Reader()->RecordPosition());
  ShowInfo();
}

void TFileReadDialogForm::ProcessAllClick() {
  if (Reader() == nullptr || FProcessing) return;
  sig::TSignalRead& reader = *Reader();
  // Everything below comes back whatever the run does.
  struct TRestore {
    TFileReadDialogForm& Form;
    sig::TSignalRead& Reader;
    bool Continuous = Reader.Continuous();
    bool Loop = Reader.Loop();
    bool Suspended = Reader.SuspendNotify();
    ~TRestore() {
      Reader.SetLoop(Loop);
      Reader.SetContinuous(Continuous);
      Reader.SetSuspendNotify(Suspended);
      Form.FProcessing = false;
      Form.ShowCaption();
      QApplication::restoreOverrideCursor();
    }
  };
  QApplication::setOverrideCursor(Qt::WaitCursor);
  {
    TRestore restore{*this, reader};
    reader.SetContinuous(true);
    reader.SetLoop(false);
    reader.SetSuspendNotify(true);
    FProcessing = true;
    if (reader.OnProcessAll()) reader.OnProcessAll()(&reader);
  }
  ShowPositions();
  ShowInfo();
}

void TFileReadDialogForm::OpenFileClick() {
  if (Reader() == nullptr) return;
  sig::TSignalRead& reader = *Reader();
  ui::TFileDialogOptions options;
  options.Filter = SignalOpenFilter;
  options.FilterIndex = 1;
  if (!reader.FileName().empty())
    options.InitialDir = std::filesystem::path(reader.FileName()).parent_path().string();
  const std::optional<ui::TFileChoice> choice = ui::Dialogs().OpenFileDialog(this, options);
  if (!choice) return;

  const std::string oldName = reader.FileName();
  const bool wasOpen = reader.FileOpen();
  const std::int32_t oldRecord = reader.RecordNumber();
  const std::int32_t oldPosition = reader.RecordPosition();
  try {
    reader.SetFileName(choice->FileName);
    ShowCaption();
    reader.OpenFile();
  } catch (...) {
    // The reader keeps the file it had; the failure is what the user hears of.
    try {
      reader.SetFileName(oldName);
      if (wasOpen) {
        reader.OpenFile();
        reader.SetRecordNumber(oldRecord);
        reader.SetRecordPosition(oldPosition);
      }
    } catch (...) {
    }
    ShowCaption();
    throw;
  }
  SetReady(false);
  try {
    FillControls();
  } catch (...) {
    SetReady(true);
    throw;
  }
  SetReady(true);
  if (ShowLive())
    AfterChange();
  else
    ShowInfo();
}

void TFileReadDialogForm::ClosingUpdate() {
  TNotContinuous still(*Reader());
  Reader()->ParameterUpdate(nullptr);
}

void RegisterFileReadDialog() {
  chart_editors::RegisterEditorForm("TFileReadDialogForm", chart_editors::EditorFormFactory<TFileReadDialogForm>());
}

void UnregisterFileReadDialog() { chart_editors::UnRegisterEditorForm("TFileReadDialogForm"); }

}  // namespace analysis_ui
