// What the editor tests share: answering a modal editor as a user would,
// choosing a combo box item with the mouse, and reading pictures.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QDialog>
#include <QImage>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

#include <functional>

#include "chart/canvas/KivGraphics.h"
#include "platform/ui/testing/ScriptedDialogs.h"
#include "platform/ui/testing/WindowTest.h"

namespace chart_editors::testing {

// Answers the next modal window with body, run on the form shown on the
// screen; the form's result is what its buttons made of it.
template <class TForm>
void AnswerModal(ui::TScriptedDialogs& dialogs, std::function<void(TForm&)> body) {
  dialogs.Modals.push_back([body = std::move(body)](QDialog& dialog) {
    auto* form = dynamic_cast<TForm*>(&dialog);
    if (form == nullptr) {
      ADD_FAILURE() << "another modal window: " << dialog.objectName().toStdString();
      return static_cast<int>(QDialog::Rejected);
    }
    form->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form));
    body(*form);
    form->hide();
    return form->result();
  });
}

// Opens the combo box's list and clicks the item, as a user chooses one.
inline void ChooseItem(QComboBox& combo, int index) {
  combo.showPopup();
  QAbstractItemView* view = combo.view();
  const QRect item = view->visualRect(combo.model()->index(index, combo.modelColumn()));
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
}

// Replaces an edit's text by typing.
inline void TypeText(QLineEdit& edit, const QString& text) {
  edit.setFocus();
  edit.selectAll();
  QTest::keyClick(&edit, Qt::Key_Delete);
  QTest::keyClicks(&edit, text);
}

inline chart::TColor Pixel(const QImage& image, QPoint p) { return chart::FromQRgb(image.pixel(p)); }

// The number of pixels of a colour in a rectangle of an image.
inline int CountPixels(const QImage& image, const QRect& area, chart::TColor color) {
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (image.valid(x, y) && Pixel(image, {x, y}) == color) ++n;
  return n;
}

// The first form of class TForm inside parent. Forms carry no meta-object
// of their own, so Qt's findChild would take any dialog for one.
template <class TForm>
TForm* FindForm(const QObject& parent) {
  for (QObject* child : parent.findChildren<QObject*>())
    if (auto* form = dynamic_cast<TForm*>(child)) return form;
  return nullptr;
}
template <class TForm>
int CountForms(const QObject& parent) {
  int n = 0;
  for (QObject* child : parent.findChildren<QObject*>()) n += dynamic_cast<TForm*>(child) != nullptr ? 1 : 0;
  return n;
}

// Pixels of text in a control of a window's picture: far from the grey of
// its own face (a disabled control's grey letters count none).
inline int InkIn(const QImage& shot, QWidget& window, QWidget& control) {
  const QRect area(control.mapTo(&window, QPoint(2, 2)), QSize(control.width() - 4, control.height() - 4));
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (shot.valid(x, y)) n += qGray(shot.pixel(x, y)) < 90 ? 1 : 0;
  return n;
}

}  // namespace chart_editors::testing
