// The axis increment dialog ("Axis Increment"): a plain number, or in
// date-time mode one of the chart's standard date-time steps or a custom
// number of days and a time. The caller sets IsDateTime, IsExact, Increment
// and Step, runs it modally and reads Increment (and Step) back on OK.
//
// Tested by: chart_editors/tests/AxisIncrementTest.cpp
#pragma once

#include <QCheckBox>
#include <QGridLayout>
#include <QVBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <cstdint>
#include <string>
#include <string_view>

#include "chart/core/KivProcsDateTime.h"
#include "chart/widgets/KivCanvasWidgets.h"
#include "chart_editors/EditorForm.h"
#include "chart_editors/RadioGroup.h"

namespace chart_editors {

// A date-time increment as its text: the whole days, then a blank and the
// rest of the day as a time ("1 12:00:00"); below one day the time alone;
// zero, less or not a number as one second. Milliseconds show only when there are some.
std::string DateTimeIncrementText(double days);
// The days of a typed increment: a number of days, a blank and a time
// ("2 06:00:00"); a number of days ("0.5"); or a time ("12:00:00"). Raises
// classlib::EConvertError with the reason for any other text.
double DateTimeIncrementFromText(std::string_view text);

class TAxisIncrement : public TEditorForm {
 public:
  explicit TAxisIncrement(QWidget* owner = nullptr);

  // properties
  bool IsDateTime() const { return FIsDateTime; }
  void SetIsDateTime(bool v) { FIsDateTime = v; }
  bool IsExact() const { return FIsExact; }
  void SetIsExact(bool v) { FIsExact = v; }
  // In date-time mode a number of days.
  double Increment() const { return FIncrement; }
  void SetIncrement(double v) { FIncrement = v; }
  // The index of the standard step in the chart's table of date-time steps
  // (chart::DateTimeStep); chart::dtNone for none. The list shows the table
  // from its second entry, one millisecond: list item i is step i + 1.
  std::uint8_t Step() const { return FStep; }
  void SetStep(std::uint8_t v) { FStep = v; }

  // RadioGroup1's items.
  static constexpr int StandardItem = 0;
  static constexpr int CustomItem = 1;

  // controls
  TRadioGroup* RadioGroup1;
  chart::TComboFlat* CBSteps;
  QLineEdit* ECustom;
  QPushButton* BOk;
  QPushButton* BCancel;
  QLabel* Label1;
  QCheckBox* CBExact;

  // overrides
  void FormShow() override;

 private:
  void SetStandardMode(bool on);
  void ShowIncrementText();
  void RadioGroup1Click();
  void CBExactClick(bool checked);
  void BOkClick();

  bool FIsDateTime = false;
  bool FIsExact = false;
  double FIncrement = 0;
  std::uint8_t FStep = chart::dtNone;
  QGridLayout* FGrid;
  QVBoxLayout* FCustom;
};

}  // namespace chart_editors
