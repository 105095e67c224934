// A form of two lists: the items available and, in order, the items chosen,
// with buttons that move the selected or all items across and move a chosen
// item up or down. The function editor embeds it to choose the series a
// function is calculated from; items carry their object beside their text
// (KivLisB.h).
//
// Tested by: chart_editors/tests/SelectListTest.cpp
#pragma once

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

#include <functional>

#include "chart_editors/EditorForm.h"

namespace chart_editors {

class TSelectListForm : public TEditorForm {
 public:
  explicit TSelectListForm(QWidget* owner = nullptr);

  // controls
  QListWidget* FromList;
  QListWidget* ToList;
  QToolButton* BMoveUP;
  QToolButton* BMoveDown;
  QLabel* L22;
  QLabel* L24;
  QPushButton* BRightOne;
  QPushButton* BRightAll;
  QPushButton* BLeftOne;
  QPushButton* BLeftAll;

  // events
  // After the chosen items changed (moved across or in order).
  std::function<void(TSelectListForm& sender)> OnChange;

  // operations
  // Enables the buttons for what the lists hold and select.
  void EnableButtons();
  // EnableButtons, then OnChange.
  void Changed();

  // overrides
  void FormShow() override;

 private:
  void MoveUpDown(bool up);
  void RightOne();
};

}  // namespace chart_editors
