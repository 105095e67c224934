// The axis increment dialog and its date-time increment texts.
//
// Tested by: chart_editors/tests/AxisIncrementTest.cpp
#include "chart_editors/KivAxisIncr.h"

#include <QGridLayout>
#include <QVBoxLayout>

#include <cmath>
#include <cstdio>

#include "chart/core/KivConst.h"
#include "chart_editors/EditorTexts.h"
#include "platform/classlib/SysUtils.h"
#include "platform/classlib/TextUtils.h"
#include "platform/ui/Guarded.h"

namespace chart_editors {

namespace {

constexpr std::int64_t MSecsPerDay = 86'400'000;

// A time of day of whole milliseconds below one day: hours, minutes and
// seconds, and the milliseconds when there are any.
std::string TimeText(std::int64_t msec, const classlib::TFormatSettings& settings) {
  const char sep = settings.TimeSeparator;
  char text[32];
  std::snprintf(text, sizeof text, "%02d%c%02d%c%02d", static_cast<int>(msec / 3'600'000), sep,
                static_cast<int>(msec / 60'000 % 60), sep, static_cast<int>(msec / 1000 % 60));
  std::string result = text;
  if (msec % 1000 != 0) {
    std::snprintf(text, sizeof text, "%c%03d", settings.DecimalSeparator, static_cast<int>(msec % 1000));
    result += text;
  }
  return result;
}

}  // namespace

std::string DateTimeIncrementText(double days) {
  if (!(days > 0)) days = 1.0 / classlib::SecsPerDay;
  const auto settings = classlib::CurrentFormatSettings();
  // Past some thousand years of days the milliseconds no longer count.
  if (days >= 1e9) return classlib::FloatToStr(std::floor(days), *settings);
  const auto msec = static_cast<std::int64_t>(std::nearbyint(days * static_cast<double>(MSecsPerDay)));
  const std::int64_t whole = msec / MSecsPerDay, rest = msec % MSecsPerDay;
  if (whole == 0) return TimeText(rest, *settings);
  std::string text = classlib::IntToStr(whole);
  if (rest != 0) text += " " + TimeText(rest, *settings);
  return text;
}

double DateTimeIncrementFromText(std::string_view text) {
  const std::string trimmed = classlib::Trim(text);
  const std::size_t blank = trimmed.find(' ');
  if (blank != std::string::npos)
    return classlib::StrToFloat(trimmed.substr(0, blank)) + classlib::StrToTime(classlib::Trim(trimmed.substr(blank + 1)));
  double days = 0;
  if (classlib::TryStrToFloat(trimmed, days)) return days;
  return classlib::StrToTime(trimmed);
}

TAxisIncrement::TAxisIncrement(QWidget* owner) : TEditorForm(owner) {
  setObjectName("AxisIncrement");
  setWindowTitle("Axis Increment");

  RadioGroup1 = new TRadioGroup("Increment:", {"&Standard:", "&Custom:"}, this);
  RadioGroup1->setObjectName("RadioGroup1");
  CBSteps = CreateControl<chart::TComboFlat>(this, "CBSteps");
  CBSteps->addItems({"One Millisecond", "One Second",    "Five Seconds", "Ten Seconds",  "Fifteen Seconds",
                     "Thirty Seconds",  "One Minute",    "Five Minutes", "Ten Minutes",  "Fifteen Minutes",
                     "Thirty Minutes",  "One Hour",      "Two Hours",    "Six Hours",    "Twelve Hours",
                     "One Day",         "Two Days",      "Three Days",   "One Week",     "Half Month",
                     "One Month",       "Two Months",    "Three Months", "Four Months",  "Six Months",
                     "One Year"});
  CBSteps->setMaxVisibleItems(18);
  Label1 = CreateControl<QLabel>(this, "Label1", "&Increment:");
  ECustom = CreateControl<QLineEdit>(this, "ECustom");
  ECustom->setMinimumWidth(140);
  Label1->setBuddy(ECustom);
  CBExact = CreateControl<QCheckBox>(this, "CBExact", "&Exact Date Time");
  BOk = CreateControl<QPushButton>(this, "BOk", "OK");
  BOk->setDefault(true);
  BCancel = CreateControl<QPushButton>(this, "BCancel", "Cancel");

  FCustom = new QVBoxLayout;
  FCustom->addWidget(Label1);
  FCustom->addWidget(ECustom);
  FGrid = new QGridLayout(this);
  FGrid->addWidget(RadioGroup1, 0, 0, 2, 1);
  FGrid->addWidget(CBSteps, 0, 1);
  FGrid->addLayout(FCustom, 1, 1);
  FGrid->addWidget(BOk, 0, 2);
  FGrid->addWidget(BCancel, 1, 2, Qt::AlignTop);
  FGrid->addWidget(CBExact, 2, 0, 1, 2);

  RadioGroup1->OnClick = [this] { RadioGroup1Click(); };
  connect(CBExact, &QCheckBox::clicked, this, ui::Guarded([this](bool on) { CBExactClick(on); }));
  connect(CBSteps, &QComboBox::activated, this, ui::Guarded([this](int i) { FStep = static_cast<std::uint8_t>(i + 1); }));
  connect(BOk, &QPushButton::clicked, this, ui::Guarded([this] { BOkClick(); }));
  connect(BCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TAxisIncrement::FormShow() {
  TFillingScope filling(*this);
  CBExact->setVisible(FIsDateTime);
  CBExact->setChecked(FIsExact);
  if (FIsDateTime) {
    ECustom->setToolTip(QString::fromStdString(chart::KivMsg(txtEnterDaysTime)));
    ShowIncrementText();
    if (FIsExact && FStep != chart::dtNone) {
      RadioGroup1->SetItemIndex(StandardItem);
      SetStandardMode(true);
      CBSteps->setCurrentIndex(FStep - 1);
      ECustom->clear();
      CBSteps->setFocus();
    } else {
      RadioGroup1->SetItemIndex(CustomItem);
      SetStandardMode(false);
      CBSteps->setCurrentIndex(-1);
    }
  } else {
    CBSteps->hide();
    RadioGroup1->hide();
    // The box goes up beside OK, its caption above it.
    FGrid->removeItem(FCustom);
    FGrid->addLayout(FCustom, 0, 1, 2, 1, Qt::AlignTop);
    RadioGroup1->SetItemIndex(CustomItem);
    SetStandardMode(false);
    ECustom->setToolTip(QString());
    ECustom->setText(QString::fromStdString(classlib::FloatToStr(FIncrement)));
    ECustom->setFocus();
  }
}

void TAxisIncrement::SetStandardMode(bool on) {
  ECustom->setEnabled(!on);
  CBSteps->setEnabled(on);
  if (on) {
    CBExact->setChecked(true);
    FIsExact = true;
    CBExact->setEnabled(true);
  }
}

void TAxisIncrement::ShowIncrementText() { ECustom->setText(QString::fromStdString(DateTimeIncrementText(FIncrement))); }

void TAxisIncrement::RadioGroup1Click() {
  if (RadioGroup1->ItemIndex() == StandardItem) {
    SetStandardMode(true);
    CBSteps->setCurrentIndex(FStep == chart::dtNone ? 0 : FStep - 1);
    CBSteps->setFocus();
  } else {
    SetStandardMode(false);
    ShowIncrementText();
    ECustom->setFocus();
  }
}

void TAxisIncrement::CBExactClick(bool checked) {
  FIsExact = checked;
  if (checked) return;
  RadioGroup1->SetItemIndex(CustomItem);
  SetStandardMode(false);
  ShowIncrementText();
  ECustom->setFocus();
}

void TAxisIncrement::BOkClick() {
  try {
    if (!FIsDateTime)
      FIncrement = classlib::StrToFloat(ECustom->text().toStdString());
    else if (RadioGroup1->ItemIndex() == CustomItem)
      FIncrement = DateTimeIncrementFromText(ECustom->text().toStdString());
    else
      FIncrement = chart::DateTimeStep[CBSteps->currentIndex() + 1];
  } catch (const classlib::EConvertError& e) {
    throw classlib::Exception(chart::FormatKivMsg(txtIncorrectValue, {e.Message()}));
  }
  accept();
}

}  // namespace chart_editors
