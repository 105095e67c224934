// The program's dialogs, the process-wide dialogs and the failure handler.
//
// Tested by: platform/ui/tests/UserDialogsTest.cpp (handler, filters, the
// process-wide dialogs), the program itself (the Qt dialogs).
#include "platform/ui/UserDialogs.h"

#include <vector>

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QImageReader>
#include <QInputDialog>
#include <QMessageBox>
#include <QUrl>

#include "platform/classlib/Exception.h"

namespace ui {

std::optional<TFileChoice> TUserDialogs::OpenFileDialog(QWidget* parent, const std::string& filter, int filterIndex) {
  return OpenFileDialog(parent, TFileDialogOptions{filter, filterIndex, {}, {}});
}

std::optional<TFileChoice> TUserDialogs::SaveFileDialog(QWidget* parent, const std::string& filter, int filterIndex) {
  return SaveFileDialog(parent, TFileDialogOptions{filter, filterIndex, {}, {}});
}

std::string TUserDialogs::InputBox(const std::string& caption, const std::string& prompt, const std::string& def) {
  return InputQuery(caption, prompt, def).value_or(def);
}

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
  std::vector<QString> parts;
  std::size_t start = 0;
  while (!filter.empty()) {
    const std::size_t bar = filter.find('|', start);
    const std::string_view part = filter.substr(start, bar == std::string_view::npos ? std::string_view::npos : bar - start);
    parts.push_back(QString::fromUtf8(part.data(), static_cast<qsizetype>(part.size())));
    if (bar == std::string_view::npos) break;
    start = bar + 1;
  }
  QStringList filters;
  for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
    const QString& description = parts[i];
    QString patterns = parts[i + 1];
    patterns.replace(';', ' ');
    // A description that shows its patterns already is a Qt filter as it
    // stands; its own letter case wins, since Qt matches patterns by case.
    filters << (description.contains("(" + patterns + ")", Qt::CaseInsensitive) ? description
                                                                                 : description + " (" + patterns + ")");
  }
  return filters;
}

TMessageResult TQtUserDialogs::MessageBox(const std::string& text, const std::string& caption,
                                          TMessageButtons buttons, TMessageIcon icon) {
  static constexpr QMessageBox::Icon icons[] = {QMessageBox::NoIcon, QMessageBox::Information, QMessageBox::Warning,
                                                QMessageBox::Critical, QMessageBox::Question};
  QMessageBox::StandardButtons standard = QMessageBox::Ok;
  QMessageBox::StandardButton escape = QMessageBox::Ok;
  switch (buttons) {
    case mbOK: break;
    case mbOKCancel:
      standard = QMessageBox::Ok | QMessageBox::Cancel;
      escape = QMessageBox::Cancel;
      break;
    case mbYesNo:
      standard = QMessageBox::Yes | QMessageBox::No;
      escape = QMessageBox::No;
      break;
    case mbYesNoCancel:
      standard = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
      escape = QMessageBox::Cancel;
      break;
  }
  QMessageBox box(icons[icon < 5 ? icon : 0], QString::fromStdString(caption), QString::fromStdString(text), standard,
                  QApplication::activeWindow());
  box.setEscapeButton(escape);
  switch (box.exec()) {
    case QMessageBox::Ok: return mrOK;
    case QMessageBox::Yes: return mrYes;
    case QMessageBox::No: return mrNo;
    default: return buttons == mbYesNo ? mrNo : mrCancel;
  }
}

std::optional<std::string> TQtUserDialogs::InputQuery(const std::string& caption, const std::string& prompt,
                                                      const std::string& value) {
  bool ok = false;
  const QString answer =
      QInputDialog::getText(QApplication::activeWindow(), QString::fromStdString(caption),
                            QString::fromStdString(prompt), QLineEdit::Normal, QString::fromStdString(value), &ok);
  if (!ok) return std::nullopt;
  return answer.toStdString();
}

namespace {

std::optional<TFileChoice> RunFileDialog(QWidget* parent, const TFileDialogOptions& options, bool save) {
  QFileDialog dialog(parent);
  const QStringList filters = FileDialogFilters(options.Filter);
  dialog.setNameFilters(filters);
  if (options.FilterIndex >= 1 && options.FilterIndex <= filters.size())
    dialog.selectNameFilter(filters[options.FilterIndex - 1]);
  if (!options.InitialDir.empty()) dialog.setDirectory(QString::fromStdString(options.InitialDir));
  if (!options.DefaultExt.empty()) dialog.setDefaultSuffix(QString::fromStdString(options.DefaultExt));
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

std::optional<TFileChoice> TQtUserDialogs::OpenFileDialog(QWidget* parent, const TFileDialogOptions& options) {
  return RunFileDialog(parent, options, false);
}

std::optional<TFileChoice> TQtUserDialogs::SaveFileDialog(QWidget* parent, const TFileDialogOptions& options) {
  return RunFileDialog(parent, options, true);
}

std::optional<TColor> TQtUserDialogs::ColorDialog(QWidget* parent, TColor color) {
  const QColor chosen = QColorDialog::getColor(ColorToQColor(color), parent);
  if (!chosen.isValid()) return std::nullopt;
  return QColorToColor(chosen);
}

std::optional<QFont> TQtUserDialogs::FontDialog(QWidget* parent, const QFont& font) {
  bool ok = false;
  const QFont chosen = QFontDialog::getFont(&ok, font, parent);
  if (!ok) return std::nullopt;
  return chosen;
}

std::optional<std::string> TQtUserDialogs::OpenPictureDialog(QWidget* parent) {
  QStringList patterns;
  for (const QByteArray& format : QImageReader::supportedImageFormats()) patterns << "*." + QString::fromLatin1(format);
  const std::string filter = "Pictures|" + patterns.join(';').toStdString() + "|All files|*";
  const std::optional<TFileChoice> choice = RunFileDialog(parent, TFileDialogOptions{filter, 1, {}, {}}, false);
  if (!choice) return std::nullopt;
  return choice->FileName;
}

int TQtUserDialogs::ExecModal(QDialog& dialog) { return dialog.exec(); }

void TQtUserDialogs::OpenUrl(const QUrl& url) { QDesktopServices::openUrl(url); }

namespace {

TUserDialogs*& Installed() {
  static TUserDialogs* dialogs = nullptr;
  return dialogs;
}

}  // namespace

TUserDialogs* SetDialogs(TUserDialogs* dialogs) {
  TUserDialogs* previous = Installed();
  Installed() = dialogs;
  return previous;
}

TUserDialogs& Dialogs() {
  if (Installed() != nullptr) return *Installed();
  static TQtUserDialogs qt;
  return qt;
}

int ShowModal(QDialog& dialog) { return Dialogs().ExecModal(dialog); }

void ShowException(const std::exception_ptr& error) { Dialogs().ShowException(error); }

}  // namespace ui
