// The about box: the program's name, version and description, for one modal use.
#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace ui {
class TUserDialogs;
}  // namespace ui

namespace workbench {

using TUserDialogs = ui::TUserDialogs;

class TfrmAbout : public QDialog {
 public:
  explicit TfrmAbout(TUserDialogs& dialogs, QWidget* parent = nullptr);

  // controls
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label3 = nullptr;
  QLabel* Label4 = nullptr;
  QLabel* lblVersion = nullptr;
  QPlainTextEdit* Memo1 = nullptr;
  QPushButton* Button1 = nullptr;

  // events
  void FormCreate();
  void Button1Click();
  void Label4Click();

 protected:
  // overrides
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TUserDialogs& FDialogs;
};

// What the contact label shows and the mail link it opens.
inline constexpr const char* AboutContactText = "Написать команде Orvel";
inline constexpr const char* AboutContactLink = "mailto:?subject=Orvel";

}  // namespace workbench
