// The file reader's control window, opened through the component dialog on
// a reader of generated .dat files: what it shows of the file, the position
// in samples and in seconds, the overlap pair, the record and framing
// controls, the block size, opening a file through the prompt (and a file
// that does not open), "Process all", Cancel, and its picture.
// Covers: analysis_ui/FileReadDialog.cpp.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "analysis_ui/ComponentDialog.h"
#include "analysis_ui/FileReadDialog.h"
#include "analysis_ui/MtxFloatEdit.h"
#include "analysis_ui/tests/FormTestSupport.h"
#include "platform/ui/testing/WindowTest.h"
#include "signal/SignalFileFormats.h"
#include "signal/SignalRead.h"

namespace analysis_ui {
namespace {

using formtests::DarkPixels;
using formtests::TSourceDialog;
using formtests::Type;
using ui::Control;

template <class T>
void Append(std::string& bytes, T value) {
  bytes.append(reinterpret_cast<const char*>(&value), sizeof value);
}

// A .dat record of real doubles, one channel.
std::string DatRecord(std::int32_t count, double fs) {
  std::string bytes;
  Append<std::int32_t>(bytes, count);
  Append<double>(bytes, fs);
  Append<std::int32_t>(bytes, 0);  // float64 samples
  Append<std::int32_t>(bytes, 0);  // real
  Append<std::int32_t>(bytes, 1);  // one channel
  for (std::int32_t i = 0; i < count; ++i) Append<double>(bytes, i);
  return bytes;
}

class FileReadDialog : public ui::TWindowTest {
 protected:
  void SetUp() override {
    TWindowTest::SetUp();
    FTwoRecords = FDir.Write("two.dat", DatRecord(1000, 100.0) + DatRecord(400, 50.0));
    FOneRecord = FDir.Write("one.dat", DatRecord(2000, 200.0));
    FReader.SetName("Reader1");
    FReader.SetLength(256);
    FReader.SetOnParameterUpdate([this](classlib::TPersistent*) {
      ++FUpdates;
      FContinuousAtUpdate = FReader.Continuous();
    });
    FDialog.SetName("ReaderDialog");
    FDialog.SetSource(&FReader);
  }
  void TearDown() override {
    if (FDialog.EditorForm() != nullptr) FDialog.EditorForm()->CloseForm(false);
    formtests::FreeClosedForms();
    TWindowTest::TearDown();
  }

  TFileReadDialogForm& Open(const std::string& file = std::string()) {
    if (!file.empty()) {
      FReader.SetFileName(file);
      FReader.OpenFile();
    }
    FDialog.Execute();
    auto* form = dynamic_cast<TFileReadDialogForm*>(FDialog.EditorForm());
    if (form == nullptr) throw std::runtime_error("the reader's window did not open");
    return *form;
  }
  static TMtxFloatEdit& Edit(QWidget& form, const char* name) { return Control<TMtxFloatEdit>(form, name); }
  static QString Label(QWidget& form, const char* name) { return Control<QLabel>(form, name).text(); }

  std::string FTwoRecords, FOneRecord;
  sig::TSignalRead FReader;
  TSourceDialog FDialog;
  int FUpdates = 0;
  bool FContinuousAtUpdate = true;
};

TEST_F(FileReadDialog, OpensThroughTheDialogForTheReader) {
  EXPECT_EQ(FReader.EditorClassName(), "TFileReadDialogForm");
  TFileReadDialogForm& form = Open(FTwoRecords);
  EXPECT_EQ(form.Reader(), &FReader);
  EXPECT_TRUE(FReader.EditorOpen());
  EXPECT_EQ(form.windowTitle().toStdString(), "File control - " + FTwoRecords);
  EXPECT_EQ(Control<QComboBox>(form, "BlockSizeBox").currentText(), "256");
  EXPECT_EQ(Edit(form, "ScaleFactorEdit").text(), "1.00");
  EXPECT_EQ(Edit(form, "FinalEdit").text(), "-1");
}

TEST_F(FileReadDialog, TheInfoPageShowsWhatTheFileHolds) {
  TFileReadDialogForm& form = Open(FTwoRecords);
  EXPECT_EQ(Label(form, "RecordsCountLabel"), "Records count: 2");
  EXPECT_EQ(Label(form, "RecordLengthLabel"), "Record length: 1000 [samples]");
  EXPECT_EQ(Label(form, "ChannelCountLabel"), "Channel count: 1");
  EXPECT_EQ(Label(form, "RecordLengthTime"), "Record length: 10 [s]");
  EXPECT_EQ(Label(form, "SamplingFreqLabel"), "Sampling freqency: 100 [Hz]");
  EXPECT_EQ(Label(form, "PrecisionLabel"), "Precision: float, 8 bytes");
  EXPECT_EQ(Label(form, "ComplexLabel"), "Complex: False");
  // Two records of 24 header bytes and 1400 samples of 8 bytes: 11248 bytes.
  EXPECT_EQ(Label(form, "FileSizeLabel"), "File size: 11 [kB]");
  // (1000 - 256) / 256 frames, at 10 s.
  EXPECT_EQ(Label(form, "FramesCountLabel"), "Frames count: 2");
  EXPECT_EQ(Label(form, "FrameNumberLabel"), "Frame number: 0");
  EXPECT_EQ(Label(form, "FramesPerSecLabel"), "Frames/second: 0.2");
  EXPECT_EQ(Label(form, "Taglabel"), "Binary DAT");
  EXPECT_EQ(Label(form, "DescLabel").toStdString(), sig::SignalFileInfoText(FReader));
  EXPECT_FALSE(Label(form, "DescLabel").isEmpty());
  EXPECT_TRUE(Edit(form, "RecordNumberEdit").isEnabled());
  EXPECT_TRUE(Control<QComboBox>(form, "FramingBox").isEnabled());

  // The second record's header.
  Type(Edit(form, "RecordNumberEdit"), "1");
  EXPECT_EQ(FReader.RecordNumber(), 1);
  EXPECT_EQ(Label(form, "RecordLengthLabel"), "Record length: 400 [samples]");
  EXPECT_EQ(Label(form, "SamplingFreqLabel"), "Sampling freqency: 50 [Hz]");
  EXPECT_EQ(Label(form, "RecordLengthTime"), "Record length: 8 [s]");
}

TEST_F(FileReadDialog, TheInfoPagePicture) {
  TFileReadDialogForm& form = Open(FTwoRecords);
  form.resize(426, 268);
  Control<QTabWidget>(form, "PageControl1").setCurrentIndex(1);
  const QImage picture = ui::Screenshot(form, "FileReadDialogInfo");
  ASSERT_FALSE(picture.isNull());
  // Each information line has its text drawn; the sheet below the groups is bare.
  for (const char* name : {"RecordsCountLabel", "SamplingFreqLabel", "FramesCountLabel", "FileSizeLabel", "Taglabel"}) {
    QLabel& label = Control<QLabel>(form, name);
    const QRect area(label.mapTo(&form, QPoint(0, 0)), label.size());
    EXPECT_GT(DarkPixels(picture, area), 20) << name;
  }
  QLabel& size = Control<QLabel>(form, "FileSizeLabel");
  const QPoint below = size.mapTo(&form, QPoint(0, size.height()));
  const QRect blank(below.x(), below.y() + 4, size.width(), 6);
  EXPECT_EQ(DarkPixels(picture, blank), 0);
}

TEST_F(FileReadDialog, AFileOfOneRecordTakesNoRecordNumberNorFraming) {
  FReader.SetFraming(sig::frAcrossAllRecords);
  TFileReadDialogForm& form = Open(FOneRecord);
  EXPECT_EQ(Label(form, "RecordsCountLabel"), "Records count: 1");
  EXPECT_FALSE(Edit(form, "RecordNumberEdit").isEnabled());
  EXPECT_FALSE(Control<QComboBox>(form, "FramingBox").isEnabled());
  EXPECT_EQ(Edit(form, "RecordNumberEdit").text(), "0");
  EXPECT_EQ(Control<QComboBox>(form, "FramingBox").currentText(), "Single record");
  EXPECT_EQ(FReader.Framing(), sig::frSingleRecord);
}

TEST_F(FileReadDialog, SamplesAndSecondsShowOnePosition) {
  TFileReadDialogForm& form = Open(FTwoRecords);
  Type(Edit(form, "CurrentEdit"), "250");
  EXPECT_EQ(FReader.RecordPosition(), 250);
  QCheckBox& unit = Control<QCheckBox>(form, "SamplesSecsBox");
  ui::ClickButton(&unit);
  EXPECT_FALSE(unit.isChecked());
  EXPECT_EQ(Label(form, "UnitLabels"), "[seconds]");
  EXPECT_EQ(Edit(form, "CurrentEdit").text(), "2.5");
  EXPECT_EQ(FReader.RecordPosition(), 250);

  // A position typed in seconds is a sample index at the file's rate, and the
  // field keeps reading in seconds after the change.
  Type(Edit(form, "CurrentEdit"), "3.57");
  EXPECT_EQ(FReader.RecordPosition(), 357);
  EXPECT_EQ(Edit(form, "CurrentEdit").text(), "3.57");
  Type(Edit(form, "FinalEdit"), "9");
  EXPECT_EQ(FReader.FinalRecordPosition(), 900);

  ui::ClickButton(&unit);
  EXPECT_EQ(Label(form, "UnitLabels"), "[samples]");
  EXPECT_EQ(Edit(form, "CurrentEdit").text(), "357");
  EXPECT_EQ(Edit(form, "FinalEdit").text(), "900");
  EXPECT_EQ(FReader.RecordPosition(), 357);
}

TEST_F(FileReadDialog, APositionChangeRecomputesTheFrameWhereItStands) {
  FDialog.SetShowLive(true);
  TFileReadDialogForm& form = Open(FTwoRecords);
  ASSERT_TRUE(FReader.Continuous());
  Type(Edit(form, "CurrentEdit"), "40");
  EXPECT_EQ(FReader.RecordPosition(), 40);
  EXPECT_EQ(FReader.Data().Values()[0], 40.0);
  EXPECT_GT(FUpdates, 0);
  EXPECT_FALSE(FContinuousAtUpdate);
  EXPECT_TRUE(FReader.Continuous());
  // The other controls recompute as the reader runs.
  ui::ClickButton(&Control<QCheckBox>(form, "LoopBox"));
  EXPECT_TRUE(FContinuousAtUpdate);
}

TEST_F(FileReadDialog, TheOverlapPairWritesEachOtherWithoutRunningAgain) {
  TFileReadDialogForm& form = Open(FTwoRecords);
  // 33 % of 256 samples rounds to 84; the sample field's own handler would
  // make that 32.8125 %.
  Type(Edit(form, "OverlappingEdit"), "33");
  EXPECT_EQ(FReader.OverlappingPercent(), 33.0);
  EXPECT_EQ(FReader.OverlappingSamples(), 84);
  EXPECT_EQ(Edit(form, "Overlapping2Edit").text(), "84");
  EXPECT_EQ(Edit(form, "OverlappingEdit").text(), "33");

  Type(Edit(form, "Overlapping2Edit"), "64");
  EXPECT_EQ(FReader.OverlappingSamples(), 64);
  EXPECT_EQ(FReader.OverlappingPercent(), 25.0);
  EXPECT_EQ(Edit(form, "OverlappingEdit").text(), "25.00");
  EXPECT_EQ(Edit(form, "Overlapping2Edit").text(), "64");

  // The reader keeps at most 100 %, and the field says so.
  Type(Edit(form, "OverlappingEdit"), "250");
  EXPECT_EQ(FReader.OverlappingPercent(), 100.0);
  EXPECT_EQ(Edit(form, "OverlappingEdit").text(), "100.00");
  EXPECT_EQ(Edit(form, "Overlapping2Edit").text(), "256");
}

TEST_F(FileReadDialog, EveryControlWritesItsProperty) {
  TFileReadDialogForm& form = Open(FTwoRecords);
  ui::ClickButton(&Control<QCheckBox>(form, "LoopBox"));
  EXPECT_TRUE(FReader.Loop());
  ui::ClickButton(&Control<QCheckBox>(form, "LastFrameCheckBox"));
  EXPECT_TRUE(FReader.LastFrameCheck());
  Type(Edit(form, "ScaleFactorEdit"), "2.5");
  EXPECT_EQ(FReader.ScaleFactor(), 2.5);

  // A record number beyond the file shows the last record, which the reader took.
  Type(Edit(form, "RecordNumberEdit"), "7");
  EXPECT_EQ(FReader.RecordNumber(), 1);
  EXPECT_EQ(Edit(form, "RecordNumberEdit").text(), "1");

  QComboBox& framing = Control<QComboBox>(form, "FramingBox");
  formtests::Choose(framing, 1);
  EXPECT_EQ(FReader.Framing(), sig::frAcrossAllRecords);
  EXPECT_EQ(Label(form, "FramesCountLabel"), "Frames count: 2");

  QComboBox& block = Control<QComboBox>(form, "BlockSizeBox");
  formtests::Choose(block, block.findText("1024"));
  EXPECT_EQ(FReader.Length(), 1024);
  // A typed size is taken when the user leaves the box.
  Type(*block.lineEdit(), "100");
  QTest::keyClick(block.lineEdit(), Qt::Key_Return);
  EXPECT_EQ(FReader.Length(), 100);
  EXPECT_TRUE(FDialogs.Shown.empty()) << FDialogs.ShownTexts();
}

TEST_F(FileReadDialog, ABlockSizeThatIsNoWholeNumberAboveZeroIsRefused) {
  TFileReadDialogForm& form = Open(FTwoRecords);
  QComboBox& block = Control<QComboBox>(form, "BlockSizeBox");
  for (const char* text : {"abc", "0", "-16", ""}) {
    SCOPED_TRACE(text);
    FDialogs.Shown.clear();
    Type(*block.lineEdit(), text);
    QTest::keyClick(block.lineEdit(), Qt::Key_Return);
    EXPECT_EQ(FReader.Length(), 256);
    EXPECT_EQ(block.currentText(), "256");
    ASSERT_EQ(FDialogs.Shown.size(), 1u);
    EXPECT_NE(FDialogs.Shown[0].Text.find("is not a valid block size"), std::string::npos) << FDialogs.Shown[0].Text;
  }
}

TEST_F(FileReadDialog, OpenFileAsksWithTheSignalFiltersAndOpensTheChoice) {
  TFileReadDialogForm& form = Open();
  EXPECT_EQ(form.windowTitle(), "File control");
  FDialogs.FileChoices.push_back(ui::TFileChoice{FOneRecord, 1});
  Control<QAction>(form, "Openfile1").trigger();
  ASSERT_EQ(FDialogs.FileDialogs.size(), 1u);
  EXPECT_FALSE(FDialogs.FileDialogs[0].Save);
  EXPECT_EQ(FDialogs.FileDialogs[0].Filter,
            "All know formats|*.dat;*.bin;*.dbn;*.sfs;*.asc;*.sgl;*.wav|" + std::string(sig::SignalFileFilter));
  EXPECT_EQ(FDialogs.FileDialogs[0].FilterIndex, 1);
  EXPECT_TRUE(FReader.FileOpen());
  EXPECT_EQ(FReader.FileName(), FOneRecord);
  EXPECT_EQ(form.windowTitle().toStdString(), "File control - " + FOneRecord);
  EXPECT_EQ(Label(form, "RecordLengthLabel"), "Record length: 2000 [samples]");

  // A prompt cancelled changes nothing.
  FDialogs.FileChoices.push_back(std::nullopt);
  Control<QAction>(form, "Openfile1").trigger();
  EXPECT_EQ(FReader.FileName(), FOneRecord);
  EXPECT_TRUE(FReader.FileOpen());
}

TEST_F(FileReadDialog, AFileThatDoesNotOpenIsReportedAndTheReaderKeepsItsFile) {
  TFileReadDialogForm& form = Open(FTwoRecords);
  Type(Edit(form, "RecordNumberEdit"), "1");
  Type(Edit(form, "CurrentEdit"), "120");
  struct TCase {
    std::string File;
    const char* Message;
  };
  const TCase cases[] = {
      {FDir.Write("bad.dat", std::string("\x05\x00\x00", 3)), "bad.dat"},
      {FDir.File("missing.dat"), "File not found: "},
      {FDir.Write("notes.txt", "text"), "Unknown file file format extension: .txt"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.File);
    FDialogs.Shown.clear();
    FDialogs.FileChoices.push_back(ui::TFileChoice{c.File, 1});
    Control<QAction>(form, "Openfile1").trigger();
    ASSERT_EQ(FDialogs.Shown.size(), 1u);
    EXPECT_NE(FDialogs.Shown[0].Text.find(c.Message), std::string::npos) << FDialogs.Shown[0].Text;
    EXPECT_EQ(FReader.FileName(), FTwoRecords);
    EXPECT_TRUE(FReader.FileOpen());
    EXPECT_EQ(FReader.RecordNumber(), 1);
    EXPECT_EQ(FReader.RecordPosition(), 120);
    EXPECT_EQ(form.windowTitle().toStdString(), "File control - " + FTwoRecords);
  }
}

TEST_F(FileReadDialog, ProcessAllRunsTheHandlerAndRestoresTheReader) {
  TFileReadDialogForm& form = Open(FTwoRecords);
  FReader.SetLoop(true);
  FReader.SetContinuous(false);
  std::vector<std::string> captions;
  int frames = 0;
  FReader.SetOnProcessAll([&](classlib::TPersistent* sender) {
    EXPECT_EQ(sender, &FReader);
    EXPECT_TRUE(FReader.Continuous());
    EXPECT_FALSE(FReader.Loop());
    EXPECT_TRUE(FReader.SuspendNotify());
    EXPECT_TRUE(form.Processing());
    while (FReader.Pull() != 2) {
      ++frames;
      captions.push_back(form.windowTitle().toStdString());
    }
  });
  Control<QAction>(form, "Processall1").trigger();
  EXPECT_EQ(frames, 4);
  ASSERT_FALSE(captions.empty());
  EXPECT_EQ(captions.front(), "File control - Progress 26%");
  EXPECT_EQ(captions.back(), "File control - Progress 100%");
  EXPECT_TRUE(FReader.Loop());
  EXPECT_FALSE(FReader.Continuous());
  EXPECT_FALSE(FReader.SuspendNotify());
  EXPECT_FALSE(form.Processing());
  EXPECT_EQ(form.windowTitle().toStdString(), "File control - " + FTwoRecords);

  // Without a handler only the settings and the caption come back.
  FReader.SetOnProcessAll(nullptr);
  Control<QAction>(form, "Processall1").trigger();
  EXPECT_TRUE(FReader.Loop());
  EXPECT_FALSE(FReader.Continuous());
  EXPECT_EQ(form.windowTitle().toStdString(), "File control - " + FTwoRecords);

  // A handler that fails leaves the reader as it was too.
  FReader.SetOnProcessAll([](classlib::TPersistent*) { throw classlib::Exception("stopped"); });
  Control<QAction>(form, "Processall1").trigger();
  ASSERT_EQ(FDialogs.Shown.size(), 1u);
  EXPECT_EQ(FDialogs.Shown[0].Text, "stopped");
  EXPECT_TRUE(FReader.Loop());
  EXPECT_FALSE(FReader.Continuous());
  EXPECT_FALSE(FReader.SuspendNotify());
  EXPECT_EQ(form.windowTitle().toStdString(), "File control - " + FTwoRecords);
}

// A reader without a file has records of no length: the progress is 0 %.
TEST_F(FileReadDialog, TheProgressOfAReaderWithoutAFileIsNought) {
  TFileReadDialogForm& form = Open();
  ASSERT_EQ(FReader.RecordLength(), 0);
  std::string caption;
  FReader.SetOnProcessAll([&](classlib::TPersistent*) {
    form.ShowInfo();
    caption = form.windowTitle().toStdString();
  });
  Control<QAction>(form, "Processall1").trigger();
  EXPECT_EQ(caption, "File control - Progress 0%");
  EXPECT_EQ(form.windowTitle().toStdString(), "File control");
  EXPECT_TRUE(FDialogs.Shown.empty()) << FDialogs.ShownTexts();
}

TEST_F(FileReadDialog, CancelRestoresTheReadersParameters) {
  TFileReadDialogForm& form = Open(FTwoRecords);
  ui::ClickButton(&Control<QCheckBox>(form, "LoopBox"));
  Type(Edit(form, "ScaleFactorEdit"), "3");
  Type(Edit(form, "OverlappingEdit"), "50");
  Type(Edit(form, "RecordNumberEdit"), "1");
  ASSERT_TRUE(FReader.Loop());
  Control<QToolButton>(form, "CancelButton").click();
  EXPECT_FALSE(FReader.Loop());
  EXPECT_EQ(FReader.ScaleFactor(), 1.0);
  EXPECT_EQ(FReader.OverlappingPercent(), 0.0);
  EXPECT_EQ(FReader.RecordNumber(), 0);
  EXPECT_FALSE(FReader.EditorOpen());
  // The closing update read the frame where the reader stands.
  EXPECT_FALSE(FContinuousAtUpdate);
  EXPECT_TRUE(FReader.Continuous());
}

TEST_F(FileReadDialog, SettingsSavedAndLoadedComeBackIntoTheControls) {
  TFileReadDialogForm& form = Open(FTwoRecords);
  Type(Edit(form, "ScaleFactorEdit"), "4");
  const std::string file = FDir.File("reader.cfg");
  FDialogs.FileChoices.push_back(ui::TFileChoice{file, 1});
  Control<QAction>(form, "Savesettings1").trigger();
  Type(Edit(form, "ScaleFactorEdit"), "7");
  FDialogs.FileChoices.push_back(ui::TFileChoice{file, 1});
  Control<QAction>(form, "Loadsettings1").trigger();
  EXPECT_EQ(FReader.ScaleFactor(), 4.0);
  EXPECT_EQ(Edit(form, "ScaleFactorEdit").text(), "4.00");
  EXPECT_TRUE(FDialogs.Shown.empty()) << FDialogs.ShownTexts();
}

}  // namespace
}  // namespace analysis_ui
