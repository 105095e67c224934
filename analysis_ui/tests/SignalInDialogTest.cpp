// The recording window on the fake sound system, opened through the
// component dialog: filled from the recorder, each control writing its
// property, the format controls held while recording (also when the
// recording was started elsewhere), the mixer's sources and volume, the gain
// calibration on a scripted level curve with its timer ticked by hand, Cancel
// with and without a source found, no sound card, and its picture.
// Covers: analysis_ui/SignalInDialog.cpp, analysis_ui/AudioDialogSupport.h.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstdint>
#include <memory>
#include <numbers>
#include <span>
#include <string>
#include <vector>

#include "analysis_ui/MtxFloatEdit.h"
#include "analysis_ui/SignalInDialog.h"
#include "analysis_ui/tests/FormTestSupport.h"
#include "platform/ui/testing/WindowTest.h"
#include "signal/tests/AudioTestSupport.h"

namespace analysis_ui {
namespace {

using audio::TMixerElement;
using formtests::Choose;
using formtests::DarkPixels;
using formtests::Type;
using ui::Control;

// The card's volume range of the recording sources; the bar's 0 .. 65536
// stands for it.
constexpr std::int32_t MicMaximum = 1000;

// A card with a playback master and two recording sources chosen one at a
// time: Mic (mono, 0 .. 1000) and Line (stereo, 0 .. 31).
std::shared_ptr<audio::TFakeMixerCard> Card() {
  const TMixerElement::TSide none;
  auto element = [](const char* name, TMixerElement::TSide playback, TMixerElement::TSide capture) {
    TMixerElement e;
    e.Name = name;
    e.Playback = playback;
    e.Capture = capture;
    e.CaptureExclusive = true;
    return e;
  };
  return std::make_shared<audio::TFakeMixerCard>(
      "Fake Card", "fakedrv",
      std::vector<TMixerElement>{element("Master", {true, true, 2, false, 0, 87}, none),
                                 element("Mic", none, {true, true, 1, true, 0, MicMaximum}),
                                 element("Line", none, {true, true, 2, false, 0, 31})});
}
constexpr std::int32_t MicElement = 1;
constexpr std::int32_t LineElement = 2;

// The recorded level as the card's Mic volume sets it: a sine of 100
// samples whose peak is 32767 (v / 1000)^1.5.
double Level(std::int32_t Volume) { return 32767.0 * std::pow(static_cast<double>(Volume) / MicMaximum, 1.5); }

class SignalInDialog : public ui::TWindowTest {
 protected:
  void SetUp() override {
    TWindowTest::SetUp();
    FCard = Card();
    FFake.System->AddMixerCard(FCard);
    FFake.System->SetCaptureSource([this](std::int64_t first, std::span<std::uint8_t> bytes) {
      const double peak = std::round(Level(FCard->Volume(MicElement, true)[0]));
      for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const double phase = 2.0 * std::numbers::pi * static_cast<double>((first + static_cast<std::int64_t>(i / 2)) % 100) / 100.0;
        const auto v = static_cast<std::int16_t>(std::lround(peak * std::sin(phase)));
        bytes[i] = static_cast<std::uint8_t>(static_cast<std::uint16_t>(v) & 0xFF);
        bytes[i + 1] = static_cast<std::uint8_t>(static_cast<std::uint16_t>(v) >> 8);
      }
    });
    FInput.SetName("SignalIn1");
    FInput.SetSamplingFrequency(8000.0);
    FInput.SetOnParameterUpdate([this](classlib::TPersistent*) { ++FUpdates; });
    FDialog.SetName("SignalInDialog");
    FDialog.SetSource(&FInput);
  }
  void TearDown() override {
    if (FDialog.EditorForm() != nullptr) FDialog.EditorForm()->CloseForm(false);
    formtests::FreeClosedForms();
    if (FInput.Active()) FInput.Stop();
    TWindowTest::TearDown();
  }

  TSignalInDialogForm& Open() {
    FDialog.Execute();
    auto* form = dynamic_cast<TSignalInDialogForm*>(FDialog.EditorForm());
    if (form == nullptr) throw std::runtime_error("the recorder's window did not open");
    return *form;
  }
  void SelectMic(std::int32_t Volume) {
    FCard->SetSwitch(MicElement, true, {true});
    const std::int32_t v[] = {Volume};
    FCard->SetVolume(MicElement, true, v);
  }
  static TMtxFloatEdit& Edit(QWidget& form, const char* name) { return Control<TMtxFloatEdit>(form, name); }
  static QString Label(QWidget& form, const char* name) { return Control<QLabel>(form, name).text(); }
  // The volume bar's position for a Mic volume.
  static int Bar(double Volume) { return static_cast<int>(std::lround(Volume / MicMaximum * 65536.0)); }

  audio_tests::TFakeAudio FFake;
  std::shared_ptr<audio::TFakeMixerCard> FCard;
  sig::TSignalIn FInput;
  formtests::TSourceDialog FDialog;
  int FUpdates = 0;
};

TEST_F(SignalInDialog, OpensThroughTheDialogFilledFromTheRecorder) {
  EXPECT_EQ(FInput.EditorClassName(), "TSignalInDialogForm");
  FInput.SetSamplingFrequency(11025.0);
  FInput.SetQuantization(8);
  FInput.SetStereo(true);
  FInput.SetNumBuffers(3);
  FInput.SetBufferSize(4410);  // 0.2 s of 8-bit stereo
  FInput.SetTriggering(sig::trAuto);
  FInput.SetTriggerMode(sig::trPeak);
  FInput.SetTriggerPosition(sig::tpCenter);
  FInput.SetTriggerChannel(sig::chRight);
  FInput.SetTriggerAbove(1.5);
  FInput.SetTriggerBelow(-2.0);
  FInput.SetTriggerDelay(-250);
  FInput.SetAutoTriggerLag(120);
  TSignalInDialogForm& form = Open();
  EXPECT_EQ(form.windowTitle(), "Audio recording");
  EXPECT_EQ(Edit(form, "FSEdit").text(), "11025");
  EXPECT_EQ(Control<QComboBox>(form, "DynamicsEditBox").currentText(), "8");
  EXPECT_EQ(Edit(form, "BuffersEdit").text(), "3");
  EXPECT_EQ(Edit(form, "BufferLengthEdit").text(), "0.20");
  EXPECT_TRUE(Control<QCheckBox>(form, "StereoBox").isChecked());
  EXPECT_EQ(Control<QComboBox>(form, "TriggerBox").currentText(), "Auto");
  EXPECT_EQ(Control<QComboBox>(form, "TriggerModeBox").currentText(), "Peak");
  EXPECT_EQ(Control<QComboBox>(form, "TriggerPositionBox").currentText(), "Center");
  EXPECT_EQ(Control<QComboBox>(form, "TriggerChannelBox").currentText(), "Right");
  EXPECT_EQ(Edit(form, "TriggerAboveEdit").text(), "1.50");
  EXPECT_EQ(Edit(form, "TriggerBelowEdit").text(), "-2.00");
  EXPECT_EQ(Edit(form, "TriggerDelayEdit").text(), "-250");
  EXPECT_EQ(Edit(form, "AutoTriggerLagBox").text(), "120");
  EXPECT_EQ(Edit(form, "CalibrationEdit").text(), "50");
  EXPECT_EQ(Label(form, "MonitorFreqLabel"), "Monitor frequency: 0.0 [Hz]");
  EXPECT_EQ(Label(form, "OverlappingLabel"), "Overlapping: 0 [%]");
  EXPECT_EQ(Label(form, "TriggerCatchUpLabel"), "Catch-ups: 0, 0");
  EXPECT_EQ(Label(form, "TriggerCountLabel"), "Trigger count: 0, 0");
  EXPECT_EQ(Control<QTimer>(form, "CalibrationTimer").interval(), 200);
  EXPECT_FALSE(Control<QTimer>(form, "CalibrationTimer").isActive());
  EXPECT_FALSE(Control<QAction>(form, "Continuous1").isVisible());
  EXPECT_FALSE(Control<QAction>(form, "Stop1").isEnabled());
  EXPECT_TRUE(Control<QAction>(form, "Record1").isEnabled());
}

TEST_F(SignalInDialog, EveryControlWritesItsProperty) {
  TSignalInDialogForm& form = Open();
  Type(Edit(form, "FSEdit"), "22050");
  EXPECT_EQ(FInput.SamplingFrequency(), 22050.0);
  // Enter ends the typing; it presses no button of the window, even with
  // the calibration's page in view when the window was shown.
  form.hide();
  Control<QTabWidget>(form, "PageControl1").setCurrentIndex(2);
  form.show();
  QTest::keyClick(&Edit(form, "CalibrationEdit"), Qt::Key_Return);
  EXPECT_TRUE(FDialogs.Shown.empty()) << FDialogs.ShownTexts();
  Choose(Control<QComboBox>(form, "DynamicsEditBox"), 2);
  EXPECT_EQ(FInput.Quantization(), 24);
  Type(Edit(form, "BuffersEdit"), "6");
  EXPECT_EQ(FInput.NumBuffers(), 6);
  Type(Edit(form, "BufferLengthEdit"), "0.5");
  EXPECT_EQ(FInput.BufferSize(), 33075);  // 0.5 s x 22050 Hz x 3 bytes
  ui::ClickButton(&Control<QCheckBox>(form, "StereoBox"));
  EXPECT_TRUE(FInput.Stereo());
  Choose(Control<QComboBox>(form, "TriggerBox"), 1);
  EXPECT_EQ(FInput.Triggering(), sig::trSingle);
  Choose(Control<QComboBox>(form, "TriggerModeBox"), 1);
  EXPECT_EQ(FInput.TriggerMode(), sig::trAboveBelow);
  Choose(Control<QComboBox>(form, "TriggerPositionBox"), 3);
  EXPECT_EQ(FInput.TriggerPosition(), sig::tpUser);
  Choose(Control<QComboBox>(form, "TriggerChannelBox"), 1);
  EXPECT_EQ(FInput.TriggerChannel(), sig::chRight);
  Type(Edit(form, "TriggerAboveEdit"), "0.25");
  EXPECT_EQ(FInput.TriggerAbove(), 0.25);
  Type(Edit(form, "TriggerBelowEdit"), "-0.75");
  EXPECT_EQ(FInput.TriggerBelow(), -0.75);
  Type(Edit(form, "TriggerDelayEdit"), "-500");
  EXPECT_EQ(FInput.TriggerDelay(), -500);
  Type(Edit(form, "AutoTriggerLagBox"), "90");
  EXPECT_EQ(FInput.AutoTriggerLag(), 90);
  Type(Edit(form, "CalibrationEdit"), "75");
  EXPECT_EQ(FInput.TriggerPercentage(), 75);
  // Without Live nothing recomputes until "Update".
  EXPECT_EQ(FUpdates, 0);
  Control<QToolButton>(form, "ToolButton1").click();
  EXPECT_EQ(FUpdates, 1);
  EXPECT_TRUE(FDialogs.Shown.empty()) << FDialogs.ShownTexts();
}

// The buffer keeps its bytes; the seconds it holds follow the rate, the
// sample width and the channels.
TEST_F(SignalInDialog, TheBufferLengthFollowsTheFormat) {
  FInput.SetBufferSize(8000);  // 0.5 s of 16-bit mono at 8000 Hz
  TSignalInDialogForm& form = Open();
  TMtxFloatEdit& seconds = Edit(form, "BufferLengthEdit");
  EXPECT_EQ(seconds.text(), "0.50");
  Type(Edit(form, "FSEdit"), "16000");
  EXPECT_EQ(seconds.text(), "0.25");
  Choose(Control<QComboBox>(form, "DynamicsEditBox"), 0);
  EXPECT_EQ(seconds.text(), "0.50");
  ui::ClickButton(&Control<QCheckBox>(form, "StereoBox"));
  EXPECT_EQ(seconds.text(), "0.25");
  EXPECT_EQ(FInput.BufferSize(), 8000);
  EXPECT_EQ(seconds.Position(), 0.25);
}

TEST_F(SignalInDialog, ARateOfZeroIsHeldAtOneHertz) {
  TSignalInDialogForm& form = Open();
  Type(Edit(form, "FSEdit"), "0");
  EXPECT_EQ(FInput.SamplingFrequency(), 1.0);
  Edit(form, "FSEdit").CommitText();
  EXPECT_EQ(Edit(form, "FSEdit").text(), "1");
  EXPECT_EQ(FInput.SamplingFrequency(), 1.0);
}

TEST_F(SignalInDialog, TheFormatIsHeldWhileRecordingAndTheTriggerStaysLive) {
  TSignalInDialogForm& form = Open();
  Control<QAction>(form, "Record1").trigger();
  ASSERT_TRUE(FInput.Active()) << FDialogs.ShownTexts();
  for (const char* name : {"FSEdit", "DynamicsEditBox", "BuffersEdit", "BufferLengthEdit", "StereoBox"})
    EXPECT_FALSE(Control<QWidget>(form, name).isEnabled()) << name;
  for (const char* name : {"TriggerBox", "TriggerDelayEdit", "AutoTriggerLagBox", "CalibrationEdit"})
    EXPECT_TRUE(Control<QWidget>(form, name).isEnabled()) << name;
  EXPECT_FALSE(Control<QAction>(form, "Record1").isEnabled());
  // A change that reaches a format control meanwhile is ignored.
  Edit(form, "FSEdit").setText("44100");
  Edit(form, "BuffersEdit").setText("7");
  EXPECT_EQ(FInput.SamplingFrequency(), 8000.0);
  EXPECT_EQ(FInput.NumBuffers(), 4);
  Type(Edit(form, "TriggerDelayEdit"), "33");
  EXPECT_EQ(FInput.TriggerDelay(), 33);

  Control<QAction>(form, "Stop1").trigger();
  EXPECT_FALSE(FInput.Active());
  for (const char* name : {"FSEdit", "DynamicsEditBox", "BuffersEdit", "BufferLengthEdit", "StereoBox"})
    EXPECT_TRUE(Control<QWidget>(form, name).isEnabled()) << name;

  // Started elsewhere: the next refresh of the statistics holds the format.
  ASSERT_TRUE(FInput.Start());
  EXPECT_TRUE(Edit(form, "FSEdit").isEnabled());
  FFake.Play(4096);
  sig::TSignal left;
  left.SetLength(512);
  FInput.Monitor(&left, nullptr);
  EXPECT_FALSE(Edit(form, "FSEdit").isEnabled());
  EXPECT_EQ(Label(form, "MonitorFreqLabel"), "Monitor frequency: 2.0 [Hz]");  // 8000 Hz / 4096 frames
  EXPECT_EQ(Label(form, "OverlappingLabel"), "Overlapping: -700 [%]");      // (1 - 4096 / 512) x 100
}

TEST_F(SignalInDialog, TheTriggerResetsReachTheRecorder) {
  TSignalInDialogForm& form = Open();
  Control<QAction>(form, "Record1").trigger();
  FFake.Play(1000);
  Control<QToolButton>(form, "ResetTriggerButton").click();
  EXPECT_EQ(FInput.TriggerState().ChannelPosition[0], 1000);
  EXPECT_EQ(FInput.TriggerState().ChannelPosition[1], 1000);
  Control<QToolButton>(form, "ResetCatchUpsButton").click();
  EXPECT_EQ(Label(form, "TriggerCatchUpLabel"), "Catch-ups: 0, 0");
  EXPECT_EQ(Label(form, "TriggerCountLabel"), "Trigger count: 0, 0");
  EXPECT_TRUE(FDialogs.Shown.empty()) << FDialogs.ShownTexts();
}

TEST_F(SignalInDialog, TheSourcesAndTheVolumeOfTheCard) {
  SelectMic(250);
  TSignalInDialogForm& form = Open();
  QComboBox& sources = Control<QComboBox>(form, "DeviceBox");
  ASSERT_EQ(sources.count(), 2);
  EXPECT_EQ(sources.itemText(0), "Mic");
  EXPECT_EQ(sources.itemText(1), "Line");
  EXPECT_EQ(sources.currentIndex(), 0);
  EXPECT_TRUE(form.MixerLineFound());
  EXPECT_EQ(form.MixerVolume(), 250);
  QSlider& bar = Control<QSlider>(form, "VolumeBar");
  EXPECT_EQ(bar.minimum(), 0);
  EXPECT_EQ(bar.maximum(), 65536);
  EXPECT_EQ(bar.tickInterval(), 2000);
  EXPECT_EQ(bar.value(), 16384);

  // The bar's range stands for the card's.
  bar.setFocus();
  QTest::keyClick(&bar, Qt::Key_End);
  EXPECT_EQ(FCard->Volume(MicElement, true)[0], MicMaximum);
  bar.setValue(32768);
  EXPECT_EQ(FCard->Volume(MicElement, true)[0], 500);

  // Another source is selected, with its own volume on the bar.
  const std::int32_t lineVolume[] = {31, 31};
  FCard->SetVolume(LineElement, true, lineVolume);
  Choose(sources, 1);
  EXPECT_EQ(bar.value(), 65536);
  EXPECT_TRUE(FCard->Switch(LineElement, true)[0]);
  EXPECT_FALSE(FCard->Switch(MicElement, true)[0]);
  bar.setValue(0);
  EXPECT_EQ(FCard->Volume(LineElement, true)[0], 0);
  EXPECT_EQ(FCard->Volume(MicElement, true)[0], 500);
}

TEST_F(SignalInDialog, CancelPutsTheVolumeOfTheSourceFoundBack) {
  SelectMic(250);
  TSignalInDialogForm& form = Open();
  Control<QSlider>(form, "VolumeBar").setValue(65536);
  ASSERT_EQ(FCard->Volume(MicElement, true)[0], MicMaximum);
  Type(Edit(form, "BuffersEdit"), "5");
  Control<QToolButton>(form, "CancelButton").click();
  EXPECT_EQ(FCard->Volume(MicElement, true)[0], 250);
  EXPECT_TRUE(FCard->Switch(MicElement, true)[0]);
  EXPECT_EQ(FInput.NumBuffers(), 4);
  EXPECT_FALSE(FInput.EditorOpen());
}

TEST_F(SignalInDialog, WithoutASourceFoundCancelLeavesTheVolume) {
  // No recording source is selected on the card: no line was found.
  TSignalInDialogForm& form = Open();
  EXPECT_FALSE(form.MixerLineFound());
  EXPECT_EQ(Control<QComboBox>(form, "DeviceBox").currentIndex(), 0);
  Control<QSlider>(form, "VolumeBar").setValue(32768);
  ASSERT_EQ(FCard->Volume(MicElement, true)[0], 500);
  Control<QToolButton>(form, "CancelButton").click();
  EXPECT_EQ(FCard->Volume(MicElement, true)[0], 500);
}

TEST_F(SignalInDialog, WithoutASoundCardTheVolumeIsDisabled) {
  audio_tests::TFakeAudio bare;  // no card, installed over the fixture's
  TSignalInDialogForm& form = Open();
  EXPECT_EQ(form.Mixer().MixerId(), -1);
  EXPECT_FALSE(Control<QComboBox>(form, "DeviceBox").isEnabled());
  EXPECT_FALSE(Control<QSlider>(form, "VolumeBar").isEnabled());
  EXPECT_FALSE(Control<QPushButton>(form, "CalibrateButton").isEnabled());
  Control<QToolButton>(form, "CancelButton").click();
  EXPECT_TRUE(FDialogs.Shown.empty()) << FDialogs.ShownTexts();
}

TEST_F(SignalInDialog, CalibrationNeedsARecording) {
  SelectMic(100);
  TSignalInDialogForm& form = Open();
  Control<QPushButton>(form, "CalibrateButton").click();
  ASSERT_EQ(FDialogs.Shown.size(), 1u);
  EXPECT_EQ(FDialogs.Shown[0].Text, "Recording is not running!");
  EXPECT_FALSE(form.Calibrating());
  EXPECT_FALSE(Control<QTimer>(form, "CalibrationTimer").isActive());
}

TEST_F(SignalInDialog, CalibrationBringsTheLevelToTheTargetWithinItsSteps) {
  struct TCase {
    std::int32_t StartVolume;
    int Target;  // % of the range
  };
  for (const TCase c : {TCase{0, 50}, TCase{MicMaximum, 50}, TCase{300, 20}}) {
    SCOPED_TRACE(c.StartVolume);
    SelectMic(c.StartVolume);
    TSignalInDialogForm& form = Open();
    Type(Edit(form, "CalibrationEdit"), QString::number(c.Target));
    Control<QAction>(form, "Record1").trigger();
    ASSERT_TRUE(FInput.Active());
    QPushButton& calibrate = Control<QPushButton>(form, "CalibrateButton");
    QTimer& timer = Control<QTimer>(form, "CalibrationTimer");
    calibrate.click();
    EXPECT_EQ(calibrate.text(), "Wait...");
    EXPECT_TRUE(timer.isActive());
    EXPECT_EQ(timer.interval(), 200);
    // Each tick reads what was recorded since the last move of the bar.
    int ticks = 0;
    while (form.Calibrating() && ticks < 100) {
      FFake.Play(4096);
      form.CalibrationTimerTimer();
      ++ticks;
    }
    EXPECT_FALSE(form.Calibrating());
    EXPECT_FALSE(timer.isActive());
    EXPECT_EQ(calibrate.text(), "Calibrate");
    // Steps of 16384 .. 64 on the bar: nine rounds, each a reading and at
    // most four moves (the level lies within two steps of the last round's
    // end); the first round may cross the whole bar.
    EXPECT_LE(ticks, 9 + 4 + 8 * 4);
    // 16-bit samples: the target is half the range times the share.
    const double target = std::trunc(65536.0F * (static_cast<float>(c.Target) / 100.0F) / 2.0F);
    const double volume = MicMaximum * std::pow(target / 32767.0, 1.0 / 1.5);
    // The level was passed upwards with the last step of 64, and the card's
    // steps are 65.5 bar units wide.
    EXPECT_NEAR(Control<QSlider>(form, "VolumeBar").value(), Bar(volume), 64 + 66);
    // Two of the card's steps hold the level within 1 % of the target here.
    EXPECT_NEAR(Level(FCard->Volume(MicElement, true)[0]), target, target * 0.01);
    Control<QAction>(form, "Stop1").trigger();
    form.CloseForm(false);
    formtests::FreeClosedForms();
  }
  EXPECT_TRUE(FDialogs.Shown.empty()) << FDialogs.ShownTexts();
}

// At 8 bits the smallest step is 10 of 256 sample units: the rounds move the
// bar by 16384, 8192 and 4096 and end when the step would be 2048.
TEST_F(SignalInDialog, AnEightBitCalibrationEndsAtItsCoarserStep) {
  FFake.System->SetCaptureSource([this](std::int64_t first, std::span<std::uint8_t> bytes) {
    const double peak = std::round(127.0 * std::pow(FCard->Volume(MicElement, true)[0] / double(MicMaximum), 1.5));
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      const double phase = 2.0 * std::numbers::pi * static_cast<double>((first + static_cast<std::int64_t>(i)) % 100) / 100.0;
      bytes[i] = static_cast<std::uint8_t>(128 + std::lround(peak * std::sin(phase)));
    }
  });
  FInput.SetQuantization(8);
  SelectMic(0);
  TSignalInDialogForm& form = Open();
  Control<QAction>(form, "Record1").trigger();
  QSlider& bar = Control<QSlider>(form, "VolumeBar");
  Control<QPushButton>(form, "CalibrateButton").click();
  std::vector<int> moves;
  for (int ticks = 0; form.Calibrating() && ticks < 100; ++ticks) {
    const int before = bar.value();
    FFake.Play(4096);
    form.CalibrationTimerTimer();
    if (bar.value() != before) moves.push_back(std::abs(bar.value() - before));
  }
  ASSERT_FALSE(form.Calibrating());
  ASSERT_FALSE(moves.empty());
  EXPECT_EQ(moves.front(), 16384);
  EXPECT_EQ(*std::min_element(moves.begin(), moves.end()), 4096);
  // The level ends within the last step of the target (64 of 128).
  const double level = std::round(127.0 * std::pow(FCard->Volume(MicElement, true)[0] / double(MicMaximum), 1.5));
  EXPECT_NEAR(level, 64.0, 127.0 * 4096.0 / 65536.0 * 1.5 + 1.0);
  EXPECT_TRUE(FDialogs.Shown.empty()) << FDialogs.ShownTexts();
}

TEST_F(SignalInDialog, ASecondPressDuringACalibrationDoesNothing) {
  SelectMic(0);
  TSignalInDialogForm& form = Open();
  Control<QAction>(form, "Record1").trigger();
  QPushButton& calibrate = Control<QPushButton>(form, "CalibrateButton");
  calibrate.click();
  FFake.Play(4096);
  form.CalibrationTimerTimer();
  FFake.Play(4096);
  form.CalibrationTimerTimer();
  const int bar = Control<QSlider>(form, "VolumeBar").value();
  ASSERT_EQ(bar, 32768);  // two moves up from 0
  calibrate.click();
  EXPECT_TRUE(form.Calibrating());
  EXPECT_EQ(calibrate.text(), "Wait...");
  EXPECT_EQ(Control<QSlider>(form, "VolumeBar").value(), bar);
  // The next tick goes on from where it was: one more step of 16384.
  FFake.Play(4096);
  form.CalibrationTimerTimer();
  EXPECT_EQ(Control<QSlider>(form, "VolumeBar").value(), 49152);
  EXPECT_TRUE(FDialogs.Shown.empty()) << FDialogs.ShownTexts();
}

TEST_F(SignalInDialog, ACalibrationEndsWithTheRecordingAndWithTheWindow) {
  SelectMic(0);
  TSignalInDialogForm& form = Open();
  Control<QAction>(form, "Record1").trigger();
  Control<QPushButton>(form, "CalibrateButton").click();
  Control<QAction>(form, "Stop1").trigger();
  EXPECT_FALSE(form.Calibrating());
  EXPECT_EQ(Control<QPushButton>(form, "CalibrateButton").text(), "Calibrate");

  // Stopped elsewhere: the next tick ends it.
  Control<QAction>(form, "Record1").trigger();
  Control<QPushButton>(form, "CalibrateButton").click();
  FInput.Stop();
  form.CalibrationTimerTimer();
  EXPECT_FALSE(form.Calibrating());

  // OK (and Cancel) end it with the window.
  Control<QAction>(form, "Record1").trigger();
  Control<QPushButton>(form, "CalibrateButton").click();
  QTimer& timer = Control<QTimer>(form, "CalibrationTimer");
  ASSERT_TRUE(timer.isActive());
  Control<QToolButton>(form, "OKButton").click();
  EXPECT_FALSE(timer.isActive());
  EXPECT_TRUE(FDialogs.Shown.empty()) << FDialogs.ShownTexts();
}

TEST_F(SignalInDialog, ThePicture) {
  SelectMic(250);
  TSignalInDialogForm& form = Open();
  form.resize(402, 267);
  const QImage picture = ui::Screenshot(form, "SignalInDialog");
  ASSERT_FALSE(picture.isNull());
  for (const char* name : {"MonitorFreqLabel", "OverlappingLabel", "FSEdit", "DeviceBox"}) {
    QWidget& w = Control<QWidget>(form, name);
    EXPECT_GT(DarkPixels(picture, QRect(w.mapTo(&form, QPoint(0, 0)), w.size())), 20) << name;
  }
  Control<QTabWidget>(form, "PageControl1").setCurrentIndex(2);
  const QImage gain = ui::Screenshot(form, "SignalInDialogGain");
  QPushButton& calibrate = Control<QPushButton>(form, "CalibrateButton");
  EXPECT_GT(DarkPixels(gain, QRect(calibrate.mapTo(&form, QPoint(0, 0)), calibrate.size())), 20);
}

}  // namespace
}  // namespace analysis_ui
