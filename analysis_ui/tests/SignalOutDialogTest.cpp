// The playback window on the fake sound system, opened through the component
// dialog: always live, filled from the player, each control writing its
// property and recomputing, play, pause and stop with the statistics, the
// format held while playing (also when playback was started elsewhere),
// Cancel, and its picture.
// Covers: analysis_ui/SignalOutDialog.cpp, analysis_ui/AudioDialogSupport.h.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QTest>
#include <QToolButton>

#include <memory>
#include <string>

#include "analysis_ui/MtxFloatEdit.h"
#include "analysis_ui/SignalOutDialog.h"
#include "analysis_ui/tests/FormTestSupport.h"
#include "platform/ui/testing/WindowTest.h"
#include "signal/tests/AudioTestSupport.h"

namespace analysis_ui {
namespace {

using formtests::Choose;
using formtests::DarkPixels;
using formtests::Type;
using ui::Control;

class SignalOutDialog : public ui::TWindowTest {
 protected:
  void SetUp() override {
    TWindowTest::SetUp();
    FOutput.SetName("SignalOut1");
    FOutput.SetInput(&FSource);
    FOutput.SetOnParameterUpdate([this](classlib::TPersistent*) { ++FUpdates; });
    FDialog.SetName("SignalOutDialog");
    FDialog.SetSource(&FOutput);
  }
  void TearDown() override {
    if (FDialog.EditorForm() != nullptr) FDialog.EditorForm()->CloseForm(false);
    formtests::FreeClosedForms();
    if (FOutput.Active()) FOutput.Stop();
    TWindowTest::TearDown();
  }

  TSignalOutDialogForm& Open() {
    FDialog.Execute();
    auto* form = dynamic_cast<TSignalOutDialogForm*>(FDialog.EditorForm());
    if (form == nullptr) throw std::runtime_error("the player's window did not open");
    return *form;
  }
  static TMtxFloatEdit& Edit(QWidget& form, const char* name) { return Control<TMtxFloatEdit>(form, name); }
  static QString Label(QWidget& form, const char* name) { return Control<QLabel>(form, name).text(); }

  audio_tests::TFakeAudio FFake;
  // Blocks of 1024 stereo values at 8000 Hz, for a long while.
  audio_tests::TBlockSource FSource{1024, 1000, 8000.0, 2};
  sig::TSignalOut FOutput;
  formtests::TSourceDialog FDialog;
  int FUpdates = 0;
};

TEST_F(SignalOutDialog, OpensThroughTheDialogFilledAndAlwaysLive) {
  EXPECT_EQ(FOutput.EditorClassName(), "TSignalOutDialogForm");
  FOutput.SetQuantization(24);
  FOutput.SetNumBuffers(5);
  FOutput.SetSamplingFrequency(8000.0);
  FOutput.SetBufferSize(4800);  // 0.2 s of 24-bit mono
  FOutput.SetScaleFactor(32767.0);
  FDialog.SetShowLive(false);
  TSignalOutDialogForm& form = Open();
  EXPECT_EQ(form.windowTitle(), "Audio playback");
  EXPECT_EQ(Control<QComboBox>(form, "DynamicsBox").currentText(), "24");
  EXPECT_EQ(Edit(form, "BuffersEdit").text(), "5");
  EXPECT_EQ(Edit(form, "BufferLengthEdit").text(), "0.20");
  EXPECT_EQ(Edit(form, "ScaleFactorEdit").text(), "32767");
  EXPECT_EQ(Label(form, "SamplingFreqLabel"), "Sampling frequency: 8000 [Hz]");
  EXPECT_EQ(Label(form, "StereoLabel"), "Stereo: False");
  EXPECT_EQ(Label(form, "MonitorFreqLabel"), "Monitor frequency: 0.0 [Hz]");
  EXPECT_EQ(Label(form, "OverlappingLabel"), "Overlapping: 0 [%]");
  // A dialog that is not live changes nothing: the window has no switch.
  EXPECT_FALSE(Control<QAction>(form, "Live1").isVisible());
  EXPECT_FALSE(Control<QAction>(form, "Continuous1").isVisible());
  EXPECT_FALSE(Control<QToolButton>(form, "ToolButton1").isVisible());
  EXPECT_TRUE(Control<QAction>(form, "Play1").isEnabled());
  EXPECT_FALSE(Control<QAction>(form, "Stop1").isEnabled());
  EXPECT_FALSE(Control<QAction>(form, "Pause1").isEnabled());
}

TEST_F(SignalOutDialog, EveryControlWritesItsPropertyAndRecomputes) {
  FOutput.SetSamplingFrequency(8000.0);
  TSignalOutDialogForm& form = Open();
  const double seconds = Edit(form, "BufferLengthEdit").Position();
  Choose(Control<QComboBox>(form, "DynamicsBox"), 0);
  EXPECT_EQ(FOutput.Quantization(), 8);
  EXPECT_EQ(FUpdates, 1);
  // The buffer keeps its bytes, which hold twice the time at 8 bits.
  EXPECT_EQ(Edit(form, "BufferLengthEdit").Position(), 2 * seconds);
  Type(Edit(form, "BuffersEdit"), "3");
  EXPECT_EQ(FOutput.NumBuffers(), 3);
  EXPECT_EQ(FUpdates, 2);
  Type(Edit(form, "BufferLengthEdit"), "0.25");
  EXPECT_EQ(FOutput.BufferSize(), 2000);  // 0.25 s x 8000 Hz x 1 byte
  Type(Edit(form, "ScaleFactorEdit"), "100");
  EXPECT_EQ(FOutput.ScaleFactor(), 100.0);
  // 0 is kept as 1, and the field shows it once left.
  formtests::Focus(Edit(form, "ScaleFactorEdit"));
  Type(Edit(form, "ScaleFactorEdit"), "0");
  EXPECT_EQ(FOutput.ScaleFactor(), 1.0);
  Edit(form, "ScaleFactorEdit").clearFocus();
  EXPECT_EQ(Edit(form, "ScaleFactorEdit").text(), "1");
  EXPECT_TRUE(FDialogs.Shown.empty()) << FDialogs.ShownTexts();
}

TEST_F(SignalOutDialog, PlayPauseAndStopOnTheDeviceWithTheStatistics) {
  TSignalOutDialogForm& form = Open();
  Control<QAction>(form, "Play1").trigger();
  ASSERT_TRUE(FOutput.Active()) << FDialogs.ShownTexts();
  audio::TFakeWaveStream& stream = FFake.System->LastStream();
  EXPECT_TRUE(stream.Started());
  EXPECT_EQ(stream.Format().Channels, 2);
  EXPECT_EQ(Label(form, "SamplingFreqLabel"), "Sampling frequency: 8000 [Hz]");
  EXPECT_EQ(Label(form, "StereoLabel"), "Stereo: True");
  // The player took its input's block: 512 frames at 8000 Hz.
  EXPECT_EQ(Edit(form, "BufferLengthEdit").text(), "0.064");
  for (const char* name : {"BuffersEdit", "BufferLengthEdit", "DynamicsBox"})
    EXPECT_FALSE(Control<QWidget>(form, name).isEnabled()) << name;
  EXPECT_TRUE(Edit(form, "ScaleFactorEdit").isEnabled());
  EXPECT_FALSE(Control<QAction>(form, "Play1").isEnabled());

  // A monitor read refreshes the statistics: 512 frames each, the device
  // 1024 frames on since the last read.
  FFake.Play(1024);
  sig::TSignal left, right;
  left.SetLength(512);
  FOutput.Monitor(&left, &right);
  EXPECT_EQ(Label(form, "MonitorFreqLabel"), "Monitor frequency: 7.8 [Hz]");  // 8000 / 1024
  EXPECT_EQ(Label(form, "OverlappingLabel"), "Overlapping: -100 [%]");       // (1 - 1024 / 512) x 100

  Control<QAction>(form, "Pause1").trigger();
  EXPECT_TRUE(FOutput.Paused());
  EXPECT_TRUE(stream.Paused());
  Control<QAction>(form, "Pause1").trigger();
  EXPECT_FALSE(FOutput.Paused());
  EXPECT_FALSE(stream.Paused());

  Control<QAction>(form, "Stop1").trigger();
  EXPECT_FALSE(FOutput.Active());
  EXPECT_TRUE(stream.Closed());
  for (const char* name : {"BuffersEdit", "BufferLengthEdit", "DynamicsBox"})
    EXPECT_TRUE(Control<QWidget>(form, name).isEnabled()) << name;
  EXPECT_TRUE(FDialogs.Shown.empty()) << FDialogs.ShownTexts();
}

TEST_F(SignalOutDialog, PlaybackStartedElsewhereHoldsTheFormatAtTheNextRefresh) {
  TSignalOutDialogForm& form = Open();
  ASSERT_TRUE(FOutput.Start());
  FFake.Play(1024);
  sig::TSignal left;
  left.SetLength(256);
  FOutput.Monitor(&left, nullptr);
  EXPECT_FALSE(Edit(form, "BuffersEdit").isEnabled());
  const int updates = FUpdates;
  Edit(form, "BuffersEdit").setText("7");
  Control<QComboBox>(form, "DynamicsBox").setCurrentIndex(0);
  emit Control<QComboBox>(form, "DynamicsBox").activated(0);
  EXPECT_EQ(FOutput.NumBuffers(), 4);
  EXPECT_EQ(FOutput.Quantization(), 16);
  EXPECT_EQ(FUpdates, updates);
  // The scale factor reaches the player while it plays.
  Type(Edit(form, "ScaleFactorEdit"), "3");
  EXPECT_EQ(FOutput.ScaleFactor(), 3.0);
}

TEST_F(SignalOutDialog, PlayWithoutAnythingToPlayIsReported) {
  FOutput.SetInput(nullptr);
  TSignalOutDialogForm& form = Open();
  Control<QAction>(form, "Play1").trigger();
  ASSERT_EQ(FDialogs.Shown.size(), 1u);
  EXPECT_FALSE(FOutput.Active());
  EXPECT_TRUE(Edit(form, "BuffersEdit").isEnabled());
}

TEST_F(SignalOutDialog, CancelRestoresThePlayersParameters) {
  TSignalOutDialogForm& form = Open();
  Type(Edit(form, "BuffersEdit"), "6");
  Type(Edit(form, "ScaleFactorEdit"), "9");
  Control<QToolButton>(form, "CancelButton").click();
  EXPECT_EQ(FOutput.NumBuffers(), 4);
  EXPECT_EQ(FOutput.ScaleFactor(), 1.0);
  EXPECT_EQ(FOutput.Input(), &FSource);
  EXPECT_FALSE(FOutput.EditorOpen());
}

TEST_F(SignalOutDialog, ThePicture) {
  TSignalOutDialogForm& form = Open();
  form.resize(409, 233);
  const QImage picture = ui::Screenshot(form, "SignalOutDialog");
  ASSERT_FALSE(picture.isNull());
  for (const char* name : {"SamplingFreqLabel", "StereoLabel", "BuffersEdit", "DynamicsBox"}) {
    QWidget& w = Control<QWidget>(form, name);
    EXPECT_GT(DarkPixels(picture, QRect(w.mapTo(&form, QPoint(0, 0)), w.size())), 20) << name;
  }
}

}  // namespace
}  // namespace analysis_ui
