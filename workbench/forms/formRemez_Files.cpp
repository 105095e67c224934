// The filter generator's files (parameter files, CSV quotes, history files),
// its indicator text and the clipboard.
// Tested by: tests/GeneratorFilesTest.cpp
#include <filesystem>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>

#include "workbench/forms/Controls.h"
#include "workbench/forms/UserDialogs.h"
#include "workbench/forms/formRemez.h"
#include "workbench/logic/FileNames.h"
#include "workbench/logic/HistoryFile.h"
#include "workbench/logic/ParameterFile.h"
#include "workbench/logic/QuoteCsv.h"
#include "workbench/logic/TextFiles.h"

namespace workbench {

namespace {

constexpr const char* RemezOpenFilter =
    "MetaTrader 3.x, 4.x history (*.hst)|*.hst|MetaTrader CSV (*.csv)|*.csv|Параметры фильтров (*.prm)|*.prm";
constexpr int QuoteCsvLabelLines = 100;

const char* RemezSaveFilter(int textMode) {
  switch (textMode) {
    case tmMQL2: return "Текст индикатора MQL2 (*.mql)|*.mql|Параметры фильтра (*.prm)|*.prm|Any file|*.*";
    case tmMQL4: return "Текст индикатора MQL4 (*.mq4)|*.mq4|Параметры фильтра (*.prm)|*.prm|Any file|*.*";
    default: return "Коэффициенты фильтра (*.txt)|*.txt|Параметры фильтра (*.prm)|*.prm|Any file|*.*";
  }
}

const char* TextExtension(int textMode) {
  switch (textMode) {
    case tmMQL2: return ".mql";
    case tmMQL4: return ".mq4";
    default: return ".txt";
  }
}

}  // namespace

void TfrmRemez::actFileOpenExecute() {
  const std::optional<TFileChoice> choice = FDialogs.OpenFileDialog(this, RemezOpenFilter, 1);
  if (choice) OpenFile(choice->FileName);
}

void TfrmRemez::OpenFile(const std::string& fileName) {
  const std::string name = std::filesystem::path(fileName).filename().string();
  switch (GeneratorFileKind(name)) {
    case gfParameters: {
      // The whole file reads before any input changes; the values then settle
      // together, as one validation of the band type.
      const TParameterFileValues values = ReadParameterFile(fileName);
      FTyping = true;
      try {
        if (values.P1) InputT1->SetValue(*values.P1);
        if (values.D1) InputTransient1->SetValue(*values.D1);
        if (values.Ripple) InputRipple->setText(QString::fromStdString(*values.Ripple));
        if (values.A1) InputAtten1->SetValue(std::abs(*values.A1));
        if (values.P2) InputT2->SetValue(*values.P2);
        if (values.D2) InputTransient2->SetValue(*values.D2);
        if (values.A2) InputAtten2->SetValue(std::abs(*values.A2));
        if (values.Delay) InputDelay->SetValue(*values.Delay);
        if (values.FilterType) FilterType->SetItemIndex(*values.FilterType);
        (values.Method == dmOwnExchange ? Method1 : Method2)->setChecked(true);
      } catch (...) {
        FTyping = false;
        throw;
      }
      FTyping = false;
      SettleBandType();
      break;
    }
    case gfQuoteCsv: {
      const std::vector<TQuoteBar> quotes = ReadQuoteCsv(fileName);
      SetQuoteBars(FPriceChart, quotes);
      FPreview = {};
      FillCandles();
      // Only a file of some length names itself over the chart; a shorter one
      // shows no name at all rather than the name of what it replaced.
      HSTLabel->setText(QString::fromStdString(name));
      HSTLabel->setVisible(quotes.size() > QuoteCsvLabelLines);
      break;
    }
    case gfHistory:
      if (LoadHistoryFile(fileName, FDialogs)) {
        SetHistoryBars(FPriceChart, History);
        FPreview = {};
        FillCandles();
        HSTLabel->setText(QString::fromStdString(HistoryFileLabel(History)));
        HSTLabel->show();
      }
      break;
  }
  pcMain->setCurrentWidget(tsTimeChart);
  ApplyFilterToChart();
  RedrawTimeChart();
}

void TfrmRemez::actFileSaveExecute() {
  if (FIndicatorText.empty()) return;
  const int textMode = FIRTextMode->ItemIndex();
  const std::optional<TFileChoice> choice = FDialogs.SaveFileDialog(this, RemezSaveFilter(textMode), 1);
  if (!choice) return;
  if (choice->FilterIndex == 2) {
    TParameterFile parameters;
    parameters.P1 = InputT1->Value();
    parameters.D1 = InputTransient1->Value();
    parameters.Ripple = InputRipple->text().toStdString();
    parameters.A1 = InputAtten1->Value();
    parameters.P2 = InputT2->Value();
    parameters.D2 = InputTransient2->Value();
    parameters.A2 = InputAtten2->Value();
    parameters.Delay = InputDelay->Value();
    parameters.FilterType = static_cast<std::uint8_t>(FilterType->ItemIndex());
    parameters.Method = Method1->isChecked() ? dmOwnExchange : dmLibrary;
    SaveParameterFile(AppendExtension(choice->FileName, ".prm"), parameters);
    return;
  }
  // Every line of the text ends with CR LF, the last one too.
  std::string text = WithCrLf(FIndicatorText);
  if (text.size() < 2 || text.compare(text.size() - 2, 2, "\r\n") != 0) text += "\r\n";
  WriteWholeFile(AppendExtension(choice->FileName, TextExtension(textMode)), text);
}

void TfrmRemez::actCopyToClipboardExecute() {
  if (FIndicatorText.empty()) return;
  Memo1->selectAll();
  QApplication::clipboard()->setText(QString::fromStdString(FIndicatorText));
}

std::string TfrmRemez::BuildIndicatorText() {
  FCurrentFilter.CoefCount = FDesign.DesignCoefCount;
  FDesign.DesignCoefficients.Separate = chkSeparate->isChecked() ? 1 : 0;
  FDesign.DesignCoefficients.TextMode = static_cast<std::uint8_t>(std::max(FIRTextMode->ItemIndex(), 0));
  FCurrentFilter.Price = rbPrice1->isChecked() ? 0 : 1;
  return GenerateIndicatorText(FCurrentFilter, FDesign.DesignCoefficients);
}

void TfrmRemez::SetMemoText(const std::string& text) {
  FIndicatorText = text;
  Memo1->setPlainText(QString::fromStdString(text).replace("\r\n", "\n"));
}

void TfrmRemez::FIRTextModeClick() {
  Memo1->clear();
  FIndicatorText.clear();
  if (FDesign.DesignCoefCount > 0) SetMemoText(BuildIndicatorText());
  UpdateMainCommands();
}

void TfrmRemez::ChangePriceClick() {
  FIRTextModeClick();
  ApplyFilterToChart();
  RedrawTimeChart();
}

}  // namespace workbench
