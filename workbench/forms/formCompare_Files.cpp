// The comparison window's files: price history, expert sampling files, the
// coefficient import and a Source row written as MQL text.
// Tested by: tests/CompareWindowTest.cpp
#include <filesystem>

#include <QAction>
#include <QLabel>
#include <QPointer>
#include <QTableWidget>

#include "chart/ChartControl.h"
#include "chart/series/FastLineSeries.h"
#include "platform/classlib/Cp1251.h"
#include "workbench/forms/FormCompareBruteForce.h"
#include "workbench/forms/FormCompareImport.h"
#include "workbench/forms/UserDialogs.h"
#include "workbench/forms/formCompare.h"
#include "workbench/logic/CompareImport.h"
#include "workbench/logic/FileNames.h"
#include "workbench/logic/HistoryFile.h"
#include "workbench/logic/QuoteCsv.h"
#include "workbench/logic/TextFiles.h"

namespace workbench {

namespace {

constexpr const char* OpenFilter =
    "MQL-II script (*.mql)|*.mql|MQL-4 script (*.mq4)|*.mq4|Expert sampling (*.csv)|*.csv|"
    "MetaTrader 3.x, 4.x history (*.hst)|*.hst";
constexpr const char* SaveFilter = "Текст индикатора MQL2 (*.mql)|*.mql|Текст индикатора MQL4 (*.mq4)|*.mq4";

std::string NameWithoutFolder(const std::string& fileName) {
  return std::filesystem::path(fileName).filename().string();
}

}  // namespace

void TfrmCompare::actFileOpenExecute() {
  const auto choice = FDialogs.OpenFileDialog(this, OpenFilter, 1);
  if (choice) OpenFile(choice->FileName);
}

void TfrmCompare::OpenFile(const std::string& fileName) {
  switch (CompareFileKind(NameWithoutFolder(fileName))) {
    case cfExpertSampling: OpenExpertSampling(fileName); break;
    case cfMqlImport: ImportCoefficients(fileName); break;
    case cfHistory: OpenHistory(fileName); break;
  }
  RebuildFilterGrid();
}

void TfrmCompare::OpenHistory(const std::string& fileName) {
  // A refused file leaves the candles and the rows as they were.
  if (!LoadHistoryFile(fileName, FDialogs)) return;
  SetHistoryBars(FTable->Candles(), History);
  FillCandles();
  SetFileLabel(QString::fromStdString(HistoryFileLabel(History)), true);
  RecomputeRows(true);
  RescaleTimeChart();
}

void TfrmCompare::OpenExpertSampling(const std::string& fileName) {
  // The whole file is read before anything is replaced.
  const TExpertSampling sampling = ReadExpertSampling(fileName);
  TRowPoints points;
  const int r = FTable->TakeExpertSampling(sampling, classlib::Utf8ToCp1251(fileName), points);
  FillCandles();
  chart::TFastLineSeries* series = EnsureRowSeries(r);
  DrawRow(r, points);
  series->SetActive(FTable->Row(r).On != 0);
  SetFileLabel(QString::fromStdString(NameWithoutFolder(fileName)) + " " + QString::number(sampling.Bars.size()) +
                   " записей",
               true);
  RecomputeRows(true);
  RescaleTimeChart();
}

void TfrmCompare::ImportCoefficients(const std::string& fileName) {
  const std::vector<TCoefficientRecord> sets = ReadMqlCoefficientSets(fileName);
  if (sets.empty()) {
    FDialogs.MessageBox(msgCoefficientsNotFound, "Orvel", mbOK, miNone);
    return;
  }
  TCompareFilterRecord row = ImportRow(classlib::Utf8ToCp1251(fileName));
  TCoefficientRecord chosen = sets.front();
  if (sets.size() > 1) {
    TfrmCmpImport chooser(FDialogs, sets, chosen, this);
    FDialogs.ExecModal(chooser);
    // Cancel leaves the table as it was.
    if (chooser.Result() != 1) return;
  }
  row.Coefficients = chosen;
  row.Name = chosen.Name.Str();
  TRowPoints points;
  const TRowComputation done = FTable->Add(std::move(row), points);
  ShowRow(FTable->Count() - 1, done, points);
}

void TfrmCompare::actFileSaveExecute() {
  const int r = FSelectedRow - 1;
  if (!FTable->IsSource(r)) return;
  const auto choice = FDialogs.SaveFileDialog(this, SaveFilter, 1);
  if (!choice) return;
  const bool mql4 = choice->FilterIndex == 2;
  const std::string text = FTable->SourceRowText(r, mql4 ? tmMQL4 : tmMQL2);
  WriteWholeFile(AppendExtension(choice->FileName, mql4 ? ".mq4" : ".mql"), text);
}

void TfrmCompare::actBeginCompareExecute() {
  if (!FTable->EnoughBarsToSearch()) {
    FDialogs.MessageBox("Недостаточно исторических данных для анализа", "Orvel", mbOK, miNone);
    return;
  }
  TfrmCmpBruteForce& search = FMain.SearchDialog();
  // A result taken reaches this window only while it is there.
  search.Prepare(FTable, [window = QPointer<TfrmCompare>(this)](TCompareFilterRecord row) {
    if (!window.isNull()) window->AddRow(std::move(row));
  });
  FDialogs.ExecModal(search);
}

}  // namespace workbench
