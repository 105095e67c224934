// A framed group of radio buttons, one per item, of which one is chosen
// (ItemIndex); OnClick tells when the user chooses one.
//
// Tested by: chart_editors/tests/AxisIncrementTest.cpp
#pragma once

#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>
#include <QStringList>

#include <functional>

namespace chart_editors {

class TRadioGroup : public QGroupBox {
 public:
  TRadioGroup(const QString& caption, const QStringList& items, QWidget* parent = nullptr);

  // properties
  // The chosen item; -1 while none is.
  int ItemIndex() const { return FIndex; }
  // Chooses an item without OnClick.
  void SetItemIndex(int index);
  QRadioButton* Item(int index) const { return static_cast<QRadioButton*>(FButtons->button(index)); }

  // events
  std::function<void()> OnClick;

 private:
  QButtonGroup* FButtons;
  int FIndex = -1;
};

}  // namespace chart_editors
