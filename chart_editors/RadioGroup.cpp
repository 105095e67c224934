// The radio group.
//
// Tested by: chart_editors/tests/AxisIncrementTest.cpp
#include "chart_editors/RadioGroup.h"

#include <QVBoxLayout>

#include "platform/ui/Guarded.h"

namespace chart_editors {

TRadioGroup::TRadioGroup(const QString& caption, const QStringList& items, QWidget* parent)
    : QGroupBox(caption, parent), FButtons(new QButtonGroup(this)) {
  auto* layout = new QVBoxLayout(this);
  for (int i = 0; i < items.size(); ++i) {
    auto* button = new QRadioButton(items[i], this);
    FButtons->addButton(button, i);
    layout->addWidget(button);
  }
  // A click on the item already chosen changes nothing.
  connect(FButtons, &QButtonGroup::idClicked, this, ui::Guarded([this](int id) {
            if (id == FIndex) return;
            FIndex = id;
            if (OnClick) OnClick();
          }));
}

void TRadioGroup::SetItemIndex(int index) {
  if (QAbstractButton* button = FButtons->button(index)) {
    button->setChecked(true);
    FIndex = index;
    return;
  }
  if (QAbstractButton* checked = FButtons->checkedButton()) {
    // An exclusive group keeps one button on; none is chosen only outside it.
    FButtons->setExclusive(false);
    checked->setChecked(false);
    FButtons->setExclusive(true);
  }
  FIndex = -1;
}

}  // namespace chart_editors
