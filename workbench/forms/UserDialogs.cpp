// The program's message boxes, file dialogs and links, and the failure handler.
// Tested by: tests/MainWindowTest.cpp (handler, filters), the program itself (the Qt dialogs).
#include "workbench/forms/UserDialogs.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

#include "platform/classlib/Exception.h"
#include "workbench/logic/Classes_Remez.h"

namespace workbench {

void TUserDialogs::ShowException(const std::exception_ptr& error) {
  const QString title = QApplication::applicationName().isEmpty() ? QStringLiteral("Orvel")
                                                                   : QApplication::applicationName();
  MessageBox(ExceptionText(error), title.toStdString(), mbOK, miError);
}

std::string ExceptionText(const std::exception_ptr& error) {
  try {
    std::rethrow_exception(error);
  } catch (const classlib::Exception& e) {
    return e.Message();
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "Unknown error";
  }
}

QStringList FileDialogFilters(std::string_view filter) {
  const std::vector<std::string> parts = SplitString("|", filter);
  QStringList filters;
  for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
    const QString description = QString::fromStdString(parts[i]);
    QString patterns = QString::fromStdString(parts[i + 1]);
    patterns.replace(';', ' ');
    // A description that shows its patterns already is a Qt filter as it stands.
    filters << (description.contains("(" + patterns + ")") ? description : description + " (" + patterns + ")");
  }
  return filters;
}

TMessageResult TQtUserDialogs::MessageBox(const std::string& text, const std::string& caption,
                                          TMessageButtons buttons, TMessageIcon icon) {
  static constexpr QMessageBox::Icon icons[] = {QMessageBox::NoIcon, QMessageBox::Information, QMessageBox::Warning,
                                                QMessageBox::Critical, QMessageBox::Question};
  QMessageBox box(icons[icon < 5 ? icon : 0], QString::fromStdString(caption), QString::fromStdString(text),
                  buttons == mbOK ? QMessageBox::Ok : QMessageBox::Ok | QMessageBox::Cancel,
                  QApplication::activeWindow());
  return box.exec() == QMessageBox::Ok ? mrOK : mrCancel;
}

namespace {

std::optional<TFileChoice> RunFileDialog(QWidget* parent, const std::string& filter, int filterIndex, bool save) {
  QFileDialog dialog(parent);
  const QStringList filters = FileDialogFilters(filter);
  dialog.setNameFilters(filters);
  if (filterIndex >= 1 && filterIndex <= filters.size()) dialog.selectNameFilter(filters[filterIndex - 1]);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  TFileChoice choice;
  choice.FileName = dialog.selectedFiles().front().toStdString();
  choice.FilterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
  if (choice.FilterIndex < 1) choice.FilterIndex = 1;
  return choice;
}

}  // namespace

std::optional<TFileChoice> TQtUserDialogs::OpenFileDialog(QWidget* parent, const std::string& filter,
                                                          int filterIndex) {
  return RunFileDialog(parent, filter, filterIndex, false);
}

std::optional<TFileChoice> TQtUserDialogs::SaveFileDialog(QWidget* parent, const std::string& filter,
                                                          int filterIndex) {
  return RunFileDialog(parent, filter, filterIndex, true);
}

int TQtUserDialogs::ExecModal(QDialog& dialog) { return dialog.exec(); }

void TQtUserDialogs::OpenUrl(const QUrl& url) { QDesktopServices::openUrl(url); }

}  // namespace workbench
