// What the recording and the playback windows share: their buffer length in
// seconds, the sample widths they offer, and their rows of fields.
//
// A buffer keeps its size in bytes when the rate, the sample width or the
// channels change (and a player takes its input's on "Play"), so the field
// of seconds is written again after each of them.
//
// Tested by: analysis_ui/tests/SignalInDialogTest.cpp,
// analysis_ui/tests/SignalOutDialogTest.cpp
#pragma once

#include <cstdint>

#include <QGridLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QStringList>

#include "analysis_ui/MtxFloatEdit.h"
#include "platform/ui/Rounding.h"
#include "signal/AudioSignal.h"

namespace analysis_ui {

// The sample widths of the "Dynamics" list: item i is (i + 1) x 8 bits.
inline QStringList DynamicsItems() { return {"8", "16", "24"}; }

// Seconds of sound a buffer holds; 0 while the rate is not set.
inline double BufferSeconds(const sig::TAudioSignal& Audio) {
  const double bytesPerSecond = Audio.ChannelCount() * Audio.Quantization() / 8.0 * Audio.SamplingFrequency();
  return bytesPerSecond > 0.0 ? Audio.BufferSize() / bytesPerSecond : 0.0;
}

// The buffer size in bytes of Seconds of sound.
inline std::int32_t BufferSizeOfSeconds(const sig::TAudioSignal& Audio, double Seconds) {
  return ui::Trunc(Seconds * Audio.SamplingFrequency() * Audio.Quantization() / 8.0 * Audio.ChannelCount());
}

// A label beside its control in a grid row from Column on, with a unit after
// it when given.
inline void AddFieldRow(QGridLayout& Grid, int Row, QLabel* Label, QWidget* Control, QLabel* Unit = nullptr,
                        int Column = 0) {
  Grid.addWidget(Label, Row, Column);
  Grid.addWidget(Control, Row, Column + 1);
  if (Unit != nullptr) Grid.addWidget(Unit, Row, Column + 2);
}

// Shows in Edit the seconds the buffer of Audio holds now, unless the user
// is typing there; the edit's change handlers do not run.
inline void ShowBufferSeconds(TMtxFloatEdit& Edit, const sig::TAudioSignal& Audio) {
  const double seconds = BufferSeconds(Audio);
  if (Edit.hasFocus() || Edit.Position() == seconds) return;
  const QSignalBlocker quiet(&Edit);
  Edit.SetPosition(seconds);
}

}  // namespace analysis_ui
