// The design inputs the filter generator and the filter-parameter dialog
// share: band type, the two bands with ripple, attenuations and delay, the
// design method and the order, with the rules both apply to them.
#pragma once

#include <cstdint>

#include "workbench/logic/formRemezParameters.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPalette;
class QRadioButton;
class QWidget;

namespace workbench {

class TRadioGroup;
class TSpinEdit;

struct TBandInputs {
  TRadioGroup* FilterType = nullptr;
  QGroupBox* FIRGroupBox = nullptr;
  TSpinEdit* InputT1 = nullptr;
  TSpinEdit* InputTransient1 = nullptr;
  QLineEdit* InputRipple = nullptr;
  TSpinEdit* InputAtten1 = nullptr;
  TSpinEdit* InputDelay = nullptr;
  TSpinEdit* InputT2 = nullptr;
  TSpinEdit* InputTransient2 = nullptr;
  TSpinEdit* InputAtten2 = nullptr;
  QLabel* LabelP2a = nullptr;
  QLabel* LabelP2b = nullptr;
  QLabel* LabelP2c = nullptr;
  QRadioButton* Method1 = nullptr;
  QRadioButton* Method2 = nullptr;
  QCheckBox* CheckBoxOrder = nullptr;
  TSpinEdit* InputOrder = nullptr;
  QLabel* LabelOrder = nullptr;
  QLabel* Label7 = nullptr;
};

// Creates every input of `b` with `parent`. The band group lays out its own
// rows, the delay among them when `delayInGroup` (else the caller places
// InputDelay); the caller places the rest. `d2` is D2's first value.
void CreateBandInputs(TBandInputs& b, QWidget* parent, std::int32_t d2, bool delayInGroup);

// The periods the inputs stand for.
TGeneratorPeriods BandPeriods(const TBandInputs& b);
// Every input's value: what the fields show once left, as the design, the
// indicator text, the parameter file and the settings all take it.
TGeneratorInputs BandInputValues(const TBandInputs& b);
// The silent corrections: the ripple text made valid and the periods
// settled for the band type; an input changes only when its value does.
void SettleBandInputs(TBandInputs& b);
// Every integer input shows the value it stands for (an empty one its
// minimum), as the one that is left does.
void SettleBandSpinEdits(TBandInputs& b);
// The low-pass item names the filters of its delay.
void NameLowPassItem(TBandInputs& b);

// An input's background: the window's base when enabled, its button colour when not.
void SetInputColour(QWidget* input, bool enabled, const QPalette& window);
// P2, D2 and A2 enabled, with their hints, for band filters only, their
// labels greyed otherwise; the band group's title for the band type, and A2
// off for a band-stop filter, whose stop band is one.
void ShowBandInputs(TBandInputs& b, const QPalette& window);
// The order estimate N, in red from the order limit on.
void ShowOrderEstimate(TBandInputs& b, std::int32_t N, const QPalette& window);

}  // namespace workbench
