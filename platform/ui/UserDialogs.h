// Everything a window asks of the user: message boxes and questions, text
// input, file, colour, font and picture dialogs, modal windows and opening
// links. The program answers with Qt's dialogs (TQtUserDialogs); tests put a
// script in their place (platform/ui/testing/ScriptedDialogs.h), so no modal
// window ever waits in a test.
//
// A window that was handed its dialogs uses those; a control deep inside a
// form uses the process-wide ones (Dialogs()), which the program and each
// test main install.
//
// Tested by: platform/ui/tests/UserDialogsTest.cpp
#pragma once

#include <exception>
#include <optional>
#include <string>
#include <string_view>

#include <QFont>
#include <QStringList>

#include "platform/ui/Colors.h"
#include "platform/ui/UserMessages.h"

class QDialog;
class QUrl;
class QWidget;

namespace ui {

// The file a dialog chose and the filter it chose it with (counted from 1).
struct TFileChoice {
  std::string FileName;  // UTF-8
  int FilterIndex = 1;
};

// What a file dialog opens with.
struct TFileDialogOptions {
  // "description|patterns|..." pairs, patterns separated by ';'.
  std::string Filter;
  // The filter shown first, counted from 1.
  int FilterIndex = 1;
  // The folder shown first; empty: the dialog's own choice.
  std::string InitialDir;
  // Added, with its dot, to a name typed without an extension ("vec").
  std::string DefaultExt;
};

class TUserDialogs : public TUserMessages {
 public:
  // introduced virtual
  // A line of text under caption and prompt, starting with value; nothing
  // when the user cancels.
  virtual std::optional<std::string> InputQuery(const std::string& caption, const std::string& prompt,
                                                const std::string& value) = 0;
  // An existing file to open.
  virtual std::optional<TFileChoice> OpenFileDialog(QWidget* parent, const TFileDialogOptions& options) = 0;
  // A file to write; asks before an existing file is replaced.
  virtual std::optional<TFileChoice> SaveFileDialog(QWidget* parent, const TFileDialogOptions& options) = 0;
  // A colour, starting from color; nothing when the user cancels.
  virtual std::optional<TColor> ColorDialog(QWidget* parent, TColor color) = 0;
  // A font, starting from font; nothing when the user cancels.
  virtual std::optional<QFont> FontDialog(QWidget* parent, const QFont& font) = 0;
  // A picture file to open (the formats the program can read).
  virtual std::optional<std::string> OpenPictureDialog(QWidget* parent) = 0;
  // Shows a dialog modally and returns its result code.
  virtual int ExecModal(QDialog& dialog) = 0;
  virtual void OpenUrl(const QUrl& url) = 0;

  // operations
  std::optional<TFileChoice> OpenFileDialog(QWidget* parent, const std::string& filter, int filterIndex);
  std::optional<TFileChoice> SaveFileDialog(QWidget* parent, const std::string& filter, int filterIndex);
  // The answer of InputQuery, or def when the user cancels.
  std::string InputBox(const std::string& caption, const std::string& prompt, const std::string& def);
  // The one handler of failures that reach the event loop: the message in a
  // box captioned with the program's title.
  void ShowException(const std::exception_ptr& error);
};

// The dialogs of the running program.
class TQtUserDialogs : public TUserDialogs {
 public:
  using TUserDialogs::OpenFileDialog;
  using TUserDialogs::SaveFileDialog;

  TMessageResult MessageBox(const std::string& text, const std::string& caption, TMessageButtons buttons,
                            TMessageIcon icon) override;
  std::optional<std::string> InputQuery(const std::string& caption, const std::string& prompt,
                                        const std::string& value) override;
  std::optional<TFileChoice> OpenFileDialog(QWidget* parent, const TFileDialogOptions& options) override;
  std::optional<TFileChoice> SaveFileDialog(QWidget* parent, const TFileDialogOptions& options) override;
  std::optional<TColor> ColorDialog(QWidget* parent, TColor color) override;
  std::optional<QFont> FontDialog(QWidget* parent, const QFont& font) override;
  std::optional<std::string> OpenPictureDialog(QWidget* parent) override;
  int ExecModal(QDialog& dialog) override;
  void OpenUrl(const QUrl& url) override;
};

// Installs the process-wide dialogs (nullptr: Qt's) and returns the ones it replaces.
TUserDialogs* SetDialogs(TUserDialogs* dialogs);
// The process-wide dialogs.
TUserDialogs& Dialogs();
// Runs a dialog modally through the process-wide dialogs and returns its result code.
int ShowModal(QDialog& dialog);
// Hands a failure to the process-wide dialogs' failure handler.
void ShowException(const std::exception_ptr& error);

// "Text (*.txt)|*.txt|Any file|*.*" as Qt's name filters: "Text (*.txt)",
// "Any file (*.*)".
QStringList FileDialogFilters(std::string_view filter);

// The text of a failure: the class library's message, or what() of another exception.
std::string ExceptionText(const std::exception_ptr& error);

}  // namespace ui
