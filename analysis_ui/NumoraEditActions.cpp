// The commands of the vector and matrix editor: files, the clipboard,
// size and operations, and the display options.
//
// Tested by: analysis_ui/tests/NumoraEditTest.cpp
#include <QAction>
#include <QApplication>
#include <QClipboard>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>

#include "analysis_ui/NumoraEdit.h"
#include "numeric/ObjectCache.h"
#include "platform/classlib/Exception.h"
#include "platform/classlib/StringLists.h"
#include "platform/classlib/SysUtils.h"
#include "platform/ui/UserDialogs.h"

namespace analysis_ui {

namespace {

constexpr const char* OpenFilter = "Mtx files (*.mtx)|*.MTX|Vec files (*.vec)|*.VEC|text file (*.txt)|*.TXT";
constexpr const char* SaveFilter =
    "Mtx files (*.mtx)|*.MTX|Vec files (*.vec)|*.VEC|text file (*.txt)|*.TXT|Matrix market files (*.mtx)|*.tmx";

std::string FolderOf(const std::string& fileName) { return std::filesystem::path(fileName).parent_path().string(); }

// The text of an input box as a whole number; raises the library's
// conversion error for any other text, before anything changes.
std::int32_t AskInteger(const std::string& caption, const std::string& prompt, std::int32_t value) {
  return classlib::StrToInt(ui::Dialogs().InputBox(caption, prompt, std::to_string(value)));
}

}  // namespace

void TNumoraEditForm::ALoadExecute() {
  const std::optional<ui::TFileChoice> choice =
      ui::Dialogs().OpenFileDialog(this, {OpenFilter, FOpenFilterIndex, FLastOpenDir, FDefaultExt});
  // Nothing was loaded: the grid keeps what the user typed.
  if (!choice) return;
  FOpenFilterIndex = choice->FilterIndex;
  FLastOpenDir = FolderOf(choice->FileName);
  numeric::TCachedMtx loaded;
  switch (choice->FilterIndex) {
    case 2: {
      numeric::TCachedVec vector;
      vector->LoadFromFile(choice->FileName);
      loaded->CopyFromVec(*vector, vector->Length());
      if (vector->Length() == 0) loaded->Size(0, 1, vector->Complex());
      break;
    }
    case 3: {
      classlib::TStringList lines;
      lines.LoadFromFile(choice->FileName);
      if (lines.Count() == 0) throw classlib::Exception("The file " + choice->FileName + " holds no values.");
      loaded->StringsToValues(lines, FDelimiter);
      break;
    }
    default:
      loaded->LoadFromFile(choice->FileName);
  }
  SetData(*loaded);
  FillGrid();
}

void TNumoraEditForm::ASaveExecute() {
  const std::optional<ui::TFileChoice> choice =
      ui::Dialogs().SaveFileDialog(this, {SaveFilter, FSaveFilterIndex, FLastSaveDir, FDefaultExt});
  if (!choice) return;
  FSaveFilterIndex = choice->FilterIndex;
  FLastSaveDir = FolderOf(choice->FileName);
  ReadGrid();
  // Every writer below replaces the file whole or leaves it as it was.
  switch (choice->FilterIndex) {
    case 2: {
      numeric::TCachedVec vector;
      vector->CopyFromMtx(*FData);
      vector->SaveToFile(choice->FileName);
      break;
    }
    case 3: {
      classlib::TStringList lines;
      FData->ValuesToStrings(lines, FDelimiter);
      lines.SaveToFile(choice->FileName);
      break;
    }
    case 4:
      FData->SaveToMatrixMarketFile(choice->FileName);
      break;
    default:
      FData->SaveToFile(choice->FileName);
  }
}

void TNumoraEditForm::SetClipboardLines(const numeric::TMtx& Values) {
  classlib::TStringList lines;
  Values.ValuesToStrings(lines, FDelimiter);
  QString text;
  for (int i = 0; i < lines.Count(); ++i) text += QString::fromStdString(lines.Strings(i)) + '\n';
  QGuiApplication::clipboard()->setText(text);
}

void TNumoraEditForm::ACopyExecute() {
  ReadGrid();
  SetClipboardLines(*FData);
}

void TNumoraEditForm::ACopyRealExecute() {
  ReadGrid();
  // The real and imaginary parts as columns of their own.
  numeric::TCachedMtx real;
  real->Copy(*FData);
  real->SetComplex(false);
  SetClipboardLines(*real);
}

void TNumoraEditForm::ReadClipboard(numeric::TMtx& Dst) const {
  classlib::TStringList lines;
  const QStringList text = QGuiApplication::clipboard()->text().split('\n');
  for (QString line : text) {
    if (line.endsWith('\r')) line.chop(1);
    lines.Add(line.toStdString());
  }
  // The line break that ends the last row starts no row of its own.
  while (lines.Count() > 0 && lines.Strings(lines.Count() - 1).empty()) lines.Delete(lines.Count() - 1);
  if (lines.Count() == 0) throw classlib::Exception("The clipboard holds no values.");
  Dst.StringsToValues(lines, FDelimiter);
}

void TNumoraEditForm::APasteExecute() {
  numeric::TCachedMtx pasted;
  ReadClipboard(*pasted);
  SetData(*pasted);
  FillGrid();
}

void TNumoraEditForm::APasteComplexExecute() {
  numeric::TCachedMtx pasted;
  ReadClipboard(*pasted);
  // Pairs of columns become the values; an odd column would be lost.
  if (!pasted->Complex() && pasted->Cols() % 2 != 0)
    throw classlib::Exception("Complex values need an even number of columns; the clipboard holds " +
                              std::to_string(pasted->Cols()) + ".");
  pasted->SetComplex(true);
  SetData(*pasted);
  FillGrid();
}

void TNumoraEditForm::ASizeExecute() {
  ReadGrid();
  std::int32_t rows = 0, cols = 1;
  if (FIsVector) {
    rows = AskInteger("New vector length", "Length:", FData->Rows());
  } else {
    rows = AskInteger("New number of rows", "Rows:", FData->Rows());
    cols = AskInteger("New number of cols", "Cols:", FData->Cols());
  }
  // The overlap keeps its values; what the new size adds starts at zero
  // (a plain resize leaves it as the memory was).
  numeric::TCachedMtx resized;
  resized->Size(rows, cols, FData->Complex());
  resized->SetZero();
  const std::int32_t keepRows = std::min(rows, FData->Rows()), keepCols = std::min(cols, FData->Cols());
  if (keepRows > 0 && keepCols > 0) resized->Copy(*FData, 0, 0, 0, 0, keepRows, keepCols, false);
  SetData(*resized);
  FillGrid();
}

void TNumoraEditForm::ASetZeroExecute() {
  // Every value is replaced: what the grid holds does not matter.
  FData->SetZero();
  FillGrid();
}

void TNumoraEditForm::ATranspExecute() {
  ReadGrid();
  FData->Transp();
  FillGrid();
}

void TNumoraEditForm::AAdjungExecute() {
  ReadGrid();
  FData->Adjung();
  FillGrid();
}

void TNumoraEditForm::ReplaceByPart(numeric::TMtx& (numeric::TMtx::*Part)(const numeric::TMtx&)) {
  ReadGrid();
  numeric::TCachedMtx part;
  ((*part).*Part)(*FData);
  SetData(*part);
  FillGrid();
}

void TNumoraEditForm::ARealPartExecute() { ReplaceByPart(&numeric::TMtx::RealPart); }

void TNumoraEditForm::AImagPartExecute() { ReplaceByPart(&numeric::TMtx::ImagPart); }

void TNumoraEditForm::AMagExecute() { ReplaceByPart(&numeric::TMtx::Mag); }

void TNumoraEditForm::AEditableExecute() {
  const bool checked = AEditable->isChecked();
  try {
    SetEditable(checked);
  } catch (...) {
    // The grid stays editable until its cells read.
    AEditable->setChecked(FEditable);
    throw;
  }
}

void TNumoraEditForm::AColWidthExecute() {
  const std::int32_t width = AskInteger("Column width selection", "New column width:", FColumnWidth);
  if (width < 4) throw classlib::Exception("A column width of " + std::to_string(width) + " is too narrow.");
  ReadGrid();
  FColumnWidth = width;
  FillGrid();
}

void TNumoraEditForm::AStrFmtExecute() {
  const std::string format = ui::Dialogs().InputBox("String format selection", "New string format:", FStringFormat);
  ReadGrid();
  FStringFormat = format;
  FillGrid();
}

void TNumoraEditForm::ASetDelimiterExecute() {
  const std::string answer = ui::Dialogs().InputBox("Set new delimiter", "Delimiter:", EncodeDelimiter(FDelimiter));
  const std::optional<std::string> delimiter = DecodeDelimiter(answer);
  if (!delimiter)
    throw classlib::Exception("\"" + answer + "\" is no delimiter: type the character, or # and its code (#9 a tab).");
  FDelimiter = *delimiter;
  ASetDelimiter->setText(QString::fromStdString("Delimiter = " + answer));
}

void TNumoraEditForm::ScientificFormatItemClick() {
  try {
    ReadGrid();
  } catch (...) {
    ScientificFormatItem->setChecked(FScientific);
    throw;
  }
  FScientific = ScientificFormatItem->isChecked();
  FillGrid();
}

}  // namespace analysis_ui
