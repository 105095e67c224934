// The comparison window's files: price history, expert sampling files, the
// coefficient import and a Source row written as MQL text.
// Tested by: tests/CompareWindowTest.cpp
#include <filesystem>

#include <QAction>
#include <QLabel>
#include <QTableWidget>

#include "chart/ChartControl.h"
#include "chart/series/FastLineSeries.h"
#include "platform/classlib/Cp1251.h"
#include "workbench/forms/FormCompareBruteForce.h"
#include "workbench/forms/FormCompareImport.h"
#include "workbench/forms/UserDialogs.h"
#include "workbench/forms/formCompare.h"
#include "workbench/forms/formMain.h"
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
  SetHistoryBars(FCandles, History);
  FillCandles();
  SetFileLabel(QString::fromStdString(HistoryFileLabel(History)), true);
  RecomputeRows(true);
  RescaleTimeChart();
}

void TfrmCompare::OpenExpertSampling(const std::string& fileName) {
  // The whole file is read before anything is replaced.
  const TExpertSampling sampling = ReadExpertSampling(fileName);
  int r = -1;
  for (int i = 0; i < static_cast<int>(FRows.size()); ++i)
    if (FRows[static_cast<std::size_t>(i)].Kind == rkImportResponse) {
      r = i;
      break;
    }
  if (r < 0) {
    FRows.push_back(ImportResponseRow(classlib::Utf8ToCp1251(fileName)));
    r = static_cast<int>(FRows.size()) - 1;
  }
  SetQuoteBars(FCandles, sampling.Bars);
  FillCandles();
  TCompareFilterRecord& row = FRows[static_cast<std::size_t>(r)];
  row.Output = sampling.Response;
  chart::TFastLineSeries* series = EnsureRowSeries(r);
  TRowPoints points;
  for (std::size_t b = 0; b < sampling.Response.size(); ++b)
    points.emplace_back(static_cast<double>(b + 1), sampling.Response[b]);
  DrawRow(r, points);
  series->SetActive(row.On != 0);
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
  FRows.push_back(std::move(row));
  CalculateFilterOutput(static_cast<int>(FRows.size()) - 1);
}

void TfrmCompare::actFileSaveExecute() {
  const int r = FSelectedRow - 1;
  if (r < 0 || r >= static_cast<int>(FRows.size()) || FRows[static_cast<std::size_t>(r)].Kind != rkSource) return;
  const auto choice = FDialogs.SaveFileDialog(this, SaveFilter, 1);
  if (!choice) return;
  const bool mql4 = choice->FilterIndex == 2;
  TCompareFilterRecord& row = FRows[static_cast<std::size_t>(r)];
  row.Filter.CoefCount = row.Coefficients.Count;
  const std::string text = CompareRowText(row, mql4 ? tmMQL4 : tmMQL2);
  WriteWholeFile(AppendExtension(choice->FileName, mql4 ? ".mq4" : ".mql"), text);
}

void TfrmCompare::actBeginCompareExecute() {
  if (FCandles.LastIndex < 101) {
    FDialogs.MessageBox("Недостаточно исторических данных для анализа", "Orvel", mbOK, miNone);
    return;
  }
  TfrmCmpBruteForce& search = FMain.SearchDialog();
  search.Prepare(*this, SearchReferenceItems(FRows));
  FDialogs.ExecModal(search);
}

}  // namespace workbench
