// Dialogs that follow a script instead of waiting for a user. Every dialog
// shown is recorded; each kind takes its answers from its own queue, in
// order, and a dialog the script did not expect fails the test.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QFont>
#include <QUrl>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/UserDialogs.h"
#include "platform/ui/testing/ScriptedMessages.h"

namespace ui {

class TScriptedDialogs : public TScriptedMessagesOf<TUserDialogs> {
 public:
  using TUserDialogs::OpenFileDialog;
  using TUserDialogs::SaveFileDialog;

  struct TFileDialog {
    std::string Filter;
    int FilterIndex;
    bool Save;
    std::string InitialDir;
    std::string DefaultExt;
  };
  struct TInputQuery {
    std::string Caption, Prompt, Value;
  };

  std::deque<std::optional<TFileChoice>> FileChoices;  // for open and save dialogs
  std::vector<TFileDialog> FileDialogs;
  std::deque<std::optional<std::string>> InputAnswers;  // nullopt: Cancel
  std::vector<TInputQuery> InputQueries;
  std::deque<std::optional<TColor>> ColorAnswers;
  std::deque<std::optional<QFont>> FontAnswers;
  std::deque<std::optional<std::string>> PictureAnswers;
  std::deque<std::function<int(QDialog&)>> Modals;  // for modal windows
  std::vector<QUrl> Urls;
  // When set, a message takes the focus from the window while it is up, as
  // the program's own boxes do.
  bool MessagesTakeFocus = false;

  TMessageResult MessageBox(const std::string& text, const std::string& caption, TMessageButtons buttons,
                            TMessageIcon icon) override {
    using TBase = TScriptedMessagesOf<TUserDialogs>;
    if (!MessagesTakeFocus) return TBase::MessageBox(text, caption, buttons, icon);
    QWidget* before = QApplication::activeWindow();
    QDialog box;
    box.setObjectName("ScriptedMessageBox");
    box.show();
    QApplication::setActiveWindow(&box);
    const TMessageResult answer = TBase::MessageBox(text, caption, buttons, icon);
    box.hide();
    if (before != nullptr) QApplication::setActiveWindow(before);
    return answer;
  }

  std::optional<std::string> InputQuery(const std::string& caption, const std::string& prompt,
                                        const std::string& value) override {
    InputQueries.push_back({caption, prompt, value});
    return Next(InputAnswers, "input query " + caption);
  }
  std::optional<TFileChoice> OpenFileDialog(QWidget*, const TFileDialogOptions& options) override {
    return NextFile(options, false);
  }
  std::optional<TFileChoice> SaveFileDialog(QWidget*, const TFileDialogOptions& options) override {
    return NextFile(options, true);
  }
  std::optional<TColor> ColorDialog(QWidget*, TColor) override { return Next(ColorAnswers, "colour dialog"); }
  std::optional<QFont> FontDialog(QWidget*, const QFont&) override { return Next(FontAnswers, "font dialog"); }
  std::optional<std::string> OpenPictureDialog(QWidget*) override { return Next(PictureAnswers, "picture dialog"); }
  int ExecModal(QDialog& dialog) override {
    if (Modals.empty()) {
      ADD_FAILURE() << "unexpected modal window " << dialog.objectName().toStdString();
      return QDialog::Rejected;
    }
    auto script = std::move(Modals.front());
    Modals.pop_front();
    return script(dialog);
  }
  void OpenUrl(const QUrl& url) override { Urls.push_back(url); }

  // Fails the test for every answer the script still holds.
  void ExpectAllUsed() const {
    EXPECT_TRUE(Answers.empty()) << "unused answers";
    EXPECT_TRUE(FileChoices.empty()) << "unused file choices";
    EXPECT_TRUE(InputAnswers.empty()) << "unused input answers";
    EXPECT_TRUE(ColorAnswers.empty()) << "unused colour answers";
    EXPECT_TRUE(FontAnswers.empty()) << "unused font answers";
    EXPECT_TRUE(PictureAnswers.empty()) << "unused picture answers";
    EXPECT_TRUE(Modals.empty()) << "unused modal scripts";
  }

 private:
  template <class T>
  static std::optional<T> Next(std::deque<std::optional<T>>& answers, const std::string& what) {
    if (answers.empty()) {
      ADD_FAILURE() << "unexpected " << what;
      return std::nullopt;
    }
    std::optional<T> answer = std::move(answers.front());
    answers.pop_front();
    return answer;
  }

  std::optional<TFileChoice> NextFile(const TFileDialogOptions& options, bool save) {
    FileDialogs.push_back({options.Filter, options.FilterIndex, save, options.InitialDir, options.DefaultExt});
    return Next(FileChoices, "file dialog " + options.Filter);
  }
};

}  // namespace ui
