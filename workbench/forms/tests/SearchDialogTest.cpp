// The brute-force search dialog driven from the comparison window: a filter
// searched against its own coefficients finds itself first and a double click
// takes it into the comparison; refused starts; progress; cancelling, and
// closing the comparison or the program while a search runs.
// Covers: FormCompareBruteForce.cpp and the search command of formCompare_Files.cpp.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QToolBar>

#include "WorkbenchFixture.h"
#include "workbench/forms/Controls.h"
#include "workbench/forms/FormCompareBruteForce.h"
#include "workbench/forms/FormMethodEdit.h"
#include "workbench/forms/formCompare.h"

namespace workbench {
namespace {

class SearchDialog : public TWorkbenchTest {
 protected:
  // The comparison over the sample history with a Source row (library design,
  // P1 30, D1 15) and that row's MQL2 text imported as a Coefficients row.
  TfrmCompare& StartWithReference() {
    StartWorkbench(OwnMethodSettings);
    QTest::mouseClick(FMain->ToolBar1->widgetForAction(FMain->actFormCompare), Qt::LeftButton);
    auto* c = dynamic_cast<TfrmCompare*>(FMain->FindChildWindow("frmcompare"));
    if (c == nullptr) throw std::runtime_error("no comparison window");
    Open(ORVEL_SAMPLE_HISTORY);
    FDialogs.Modals.push_back([](QDialog& dialog) {
      auto& d = dynamic_cast<TfrmMethodEdit&>(dialog);
      ClickButton(d.Method2);
      d.InputT1->SetValue(30);
      d.InputTransient1->SetValue(15);
      QTest::mouseClick(d.btnOK, Qt::LeftButton);
      return d.result();
    });
    c->actFilterAdd->trigger();
    c->sgrGroup->setCurrentCell(0, 2);
    FDialogs.FileChoices.push_back(TFileChoice{FDir.File("self"), 1});
    FMain->actFileSave->trigger();
    Open(FDir.File("self.mql"));
    return *c;
  }

  void Open(const std::string& fileName) {
    FDialogs.FileChoices.push_back(TFileChoice{fileName, 1});
    FMain->actFileOpen->trigger();
  }

  static void SetRanges(TfrmCmpBruteForce& d, int p1from, int p1to, int d1from, int d1to) {
    ClickButton(d.FilterType->Button(ftLowPass));
    d.inP1from->SetValue(p1from), d.inP1to->SetValue(p1to), d.inP1step->SetValue(1);
    d.inD1from->SetValue(d1from), d.inD1to->SetValue(d1to), d.inD1step->SetValue(1);
    d.inA1from->SetValue(35), d.inA1to->SetValue(45), d.inA1step->SetValue(5);
    d.inRfrom->setText("0.08"), d.inRto->setText("0.08"), d.inRstep->setText("0.01");
    d.inDfrom->SetValue(0), d.inDto->SetValue(1), d.inDstep->SetValue(1);
  }

  static QString ResultCell(TfrmCmpBruteForce& d, int row, int column) {
    return d.sgrResult->model()->index(row, column).data().toString();
  }
};

TEST_F(SearchDialog, AFilterFoundAgainstItsOwnCoefficientsIsTakenIntoTheComparison) {
  TfrmCompare& c = StartWithReference();
  ASSERT_EQ(c.Table().Rows().size(), 2u);
  const TFilterRecord source = c.Table().Rows()[0].Filter;
  ASSERT_TRUE(c.actBeginCompare->isEnabled());
  TFilterRecord taken{};
  FDialogs.Modals.push_back([&](QDialog& dialog) {
    auto& d = dynamic_cast<TfrmCmpBruteForce&>(dialog);
    EXPECT_EQ(d.windowTitle(), "Автоматический подбор параметров");
    d.show();
    EXPECT_EQ(d.pcMain->currentWidget(), d.tsParameters);
    EXPECT_EQ(d.cbxInitial->count(), 1);
    EXPECT_EQ(d.cbxInitial->itemText(0), "digf (Coefficients)");
    EXPECT_EQ(d.tbCorrelation->minimum(), 100);
    EXPECT_EQ(d.tbCorrelation->maximum(), 4999 - 100);
    EXPECT_EQ(d.tbCorrelation->value(), 100);
    EXPECT_EQ(d.lblCorrelation->text(), "100 бар(ов)");
    SetRanges(d, 28, 32, 14, 16);
    QTest::mouseClick(d.btnStart, Qt::LeftButton);
    EXPECT_FALSE(d.btnStart->isEnabled());
    EXPECT_FALSE(d.inP1from->isEnabled());
    EXPECT_TRUE(d.pbProcess->isVisible());
    EXPECT_TRUE(WaitUntil([&] { return !d.SearchRunning(); }, 120000)) << "the search did not end";
    EXPECT_TRUE(d.SearchFinished());
    EXPECT_TRUE(d.btnStart->isEnabled());
    EXPECT_TRUE(d.inP1from->isEnabled());
    EXPECT_EQ(d.pcMain->currentWidget(), d.tsResults);
    EXPECT_EQ(d.lblProcess->text(), "100%");
    EXPECT_TRUE(d.lblProcessInfo->text().startsWith("Расчет комбинации 90 из 90. Elapsed: "));
    if (d.Results().empty()) {
      ADD_FAILURE() << "no results";
      return static_cast<int>(QDialog::Rejected);
    }
    EXPECT_EQ(ResultCell(d, 0, 0), "1");
    EXPECT_EQ(ResultCell(d, 0, 1), "1");
    EXPECT_EQ(ResultCell(d, 0, 3), "0.00");
    TFilterRecord expected = source;
    expected.Name = "";
    expected.CoefCount = 0;
    expected.Order = d.Results()[0].Filter.Order;
    // The second band comes from the dialog's "from" fields.
    expected.P2 = d.inP2from->Value(), expected.D2 = d.inD2from->Value(), expected.A2 = d.inA2from->Value();
    EXPECT_EQ(d.Results()[0].Filter, expected);
    EXPECT_EQ(d.Results()[0].Filter.Order, source.Order);
    EXPECT_EQ(ResultCell(d, 0, 2).toStdString(), FilterDescription(d.Results()[0].Filter));
    for (int row = 1; row < static_cast<int>(d.Results().size()); ++row)
      EXPECT_LE(ResultCell(d, row, 1).toDouble(), ResultCell(d, row - 1, 1).toDouble());

    // The picture of the results: the first row's texts in dark letters, the
    // parameters whole up to the end of the column, in view.
    QTest::qWait(20);
    const QImage shot = Screenshot(d, "search_results");
    const QRect first = d.sgrResult->visualRect(d.sgrResult->model()->index(0, 2));
    const QPoint origin = d.sgrResult->viewport()->mapTo(&d, first.topLeft());
    const auto darkIn = [&](int left, int right) {
      int dark = 0;
      for (int y = origin.y(); y < origin.y() + first.height(); ++y)
        for (int x = origin.x() + left; x < origin.x() + right; ++x)
          dark += shot.pixelColor(x * shot.devicePixelRatio(), y * shot.devicePixelRatio()).lightness() < 100;
      return dark;
    };
    EXPECT_GT(darkIn(0, first.width()), 100);
    const QString parameters = ResultCell(d, 0, 2);
    EXPECT_TRUE(parameters.endsWith("Calculate method=2")) << parameters.toStdString();
    EXPECT_GE(first.width(), d.sgrResult->fontMetrics().horizontalAdvance(parameters));
    // Every column in view, the error too.
    EXPECT_LT(d.sgrResult->visualRect(d.sgrResult->model()->index(0, 3)).right(), d.sgrResult->viewport()->width());
    // "method=2" ends the text near the column's right end; nothing is elided to "...".
    EXPECT_GT(darkIn(first.width() - d.sgrResult->fontMetrics().horizontalAdvance("method=2") - 8, first.width()), 20);
    const QRect tabs(d.pcMain->mapTo(&d, QPoint(0, 0)), d.pcMain->tabBar()->size());
    EXPECT_GT(tabs.width(), 0);

    taken = d.Results()[0].Filter;
    const QPoint cell = d.sgrResult->visualRect(d.sgrResult->model()->index(0, 1)).center();
    QTest::mouseClick(d.sgrResult->viewport(), Qt::LeftButton, {}, cell);
    QTest::mouseDClick(d.sgrResult->viewport(), Qt::LeftButton, {}, cell);
    EXPECT_FALSE(d.isVisible());
    return d.result();
  });
  c.actBeginCompare->trigger();
  ASSERT_EQ(c.Table().Rows().size(), 3u);
  const TCompareFilterRecord& row = c.Table().Rows()[2];
  EXPECT_EQ(row.Name.Str(), "AutoOptimize");
  EXPECT_EQ(row.Kind, rkSource);
  taken.Name = "AutoOptimize";
  EXPECT_EQ(row.Filter, taken);
  EXPECT_EQ(row.Coefficients.Count, c.Table().Rows()[0].Coefficients.Count);
  EXPECT_NE(c.RowSeries(2), nullptr);
  // The ranges went into the settings as the dialog closed.
  EXPECT_EQ(WorkbenchSettings.P1from, 28);
  EXPECT_EQ(WorkbenchSettings.D1to, 16);
  EXPECT_EQ(WorkbenchSettings.Rto, 0.08);
}

TEST_F(SearchDialog, RefusedStartsChangeNothing) {
  TfrmCompare& c = StartWithReference();
  FDialogs.Modals.push_back([this](QDialog& dialog) {
    auto& d = dynamic_cast<TfrmCmpBruteForce&>(dialog);
    SetRanges(d, 28, 32, 14, 16);
    d.inA1step->SetValue(0);
    QTest::mouseClick(d.btnStart, Qt::LeftButton);
    EXPECT_EQ(FDialogs.Shown.back().Text, "Шаг перебора должен быть больше нуля");
    EXPECT_FALSE(d.SearchRunning());
    EXPECT_TRUE(d.btnStart->isEnabled());
    EXPECT_TRUE(d.inA1step->isEnabled());
    EXPECT_FALSE(d.pbProcess->isVisible());
    d.inA1step->SetValue(5);
    d.inRstep->setText("x");
    QTest::mouseClick(d.btnStart, Qt::LeftButton);
    EXPECT_EQ(FDialogs.Shown.back().Text, "'x' is not a valid floating point value");
    EXPECT_FALSE(d.SearchRunning());
    EXPECT_TRUE(d.btnStart->isEnabled());
    d.inRstep->setText("0.01");
    QTest::mouseClick(d.btnClose, Qt::LeftButton);
    return d.result();
  });
  c.actBeginCompare->trigger();
  EXPECT_EQ(c.Table().Rows().size(), 2u);

  // An expert sampling file of 100 bars is too short for a search.
  std::string csv;
  for (int b = 0; b < 100; ++b) csv += "20240102,1030,1.1,1.2,1.0,1.15," + std::to_string(b) + "\r\n";
  Open(FDir.Write("short.csv", csv));
  EXPECT_FALSE(c.actBeginCompare->isEnabled());
  const QPoint cell = c.sgrGroup->visualItemRect(c.sgrGroup->item(2, 2)).center();
  QTest::mouseClick(c.sgrGroup->viewport(), Qt::LeftButton, {}, cell);
  QTest::mouseDClick(c.sgrGroup->viewport(), Qt::LeftButton, {}, cell);
  EXPECT_EQ(FDialogs.Shown.back().Text, "Недостаточно исторических данных для анализа");
}

TEST_F(SearchDialog, ProgressCancelAndClosingWhileSearching) {
  TfrmCompare& c = StartWithReference();
  FDialogs.Modals.push_back([this](QDialog& dialog) {
    auto& d = dynamic_cast<TfrmCmpBruteForce&>(dialog);
    SetRanges(d, 10, 80, 8, 80);
    QTest::mouseClick(d.btnStart, Qt::LeftButton);
    // The timer shows the count once the combinations are counted.
    EXPECT_TRUE(WaitUntil([&] { return d.lblProcessInfo->text().startsWith("Расчет комбинации"); }, 5000));
    EXPECT_NE(d.lblProcessInfo->text().indexOf(" из 15762. Elapsed: "), -1) << d.lblProcessInfo->text().toStdString();
    // The settings page while searching: the percentage once, beside the
    // bar that shows it without text, and no empty half below the settings.
    d.show();
    QTest::qWait(20);
    const QImage shot = Screenshot(d, "search_progress");
    EXPECT_FALSE(d.pbProcess->isTextVisible());
    EXPECT_TRUE(d.lblProcess->text().endsWith("%"));
    const QRect bar = QRect(d.pbProcess->mapTo(&d, QPoint(0, 0)), d.pbProcess->size()).adjusted(3, 3, -3, -3);
    int darkInBar = 0;
    for (int y = bar.top(); y <= bar.bottom(); ++y)
      for (int x = bar.left(); x <= bar.right(); ++x) darkInBar += shot.pixelColor(x, y).lightness() < 100;
    EXPECT_EQ(darkInBar, 0);
    // Rows of the page below its lowest control hold only the page's colour.
    const QRect page(d.tsParameters->mapTo(&d, QPoint(0, 0)), d.tsParameters->size());
    const QColor background = shot.pixelColor(page.left() + 4, page.bottom() - 4);
    int emptyRows = 0;
    for (int y = page.bottom() - 4; y > page.top(); --y, ++emptyRows) {
      bool empty = true;
      for (int x = page.left() + 4; x < page.right() - 4 && empty; ++x) empty = shot.pixelColor(x, y) == background;
      if (!empty) break;
    }
    EXPECT_LT(emptyRows, page.height() / 5) << emptyRows << " of " << page.height();
    QTest::mouseClick(d.btnCancel, Qt::LeftButton);
    EXPECT_TRUE(d.inP1from->isEnabled());
    EXPECT_TRUE(WaitUntil([&] { return !d.SearchRunning(); }, 60000));
    EXPECT_FALSE(d.SearchFinished());
    EXPECT_TRUE(d.btnStart->isEnabled());
    for (std::size_t i = 1; i < d.Results().size(); ++i)
      EXPECT_LE(d.Results()[i].Correlation, d.Results()[i - 1].Correlation);
    // A second search, left running as the window that showed it goes.
    QTest::mouseClick(d.btnStart, Qt::LeftButton);
    EXPECT_TRUE(d.SearchRunning());
    return static_cast<int>(QDialog::Accepted);
  });
  c.actBeginCompare->trigger();
  // The cancelled search's thread has reported and goes on its own; the second one runs on.
  EXPECT_TRUE(WaitUntil([] { return RunningSearchThreads() == 1; }, 5000)) << RunningSearchThreads();
  c.close();
  QTest::qWait(50);
  EXPECT_EQ(FMain->FindChildWindow("frmcompare"), nullptr);
  // The program closes while the search runs: nothing is waited for with the windows up.
  FMain->close();
  FMain.reset();
  WaitForSearchThreads();
  EXPECT_EQ(RunningSearchThreads(), 0);
}

}  // namespace
}  // namespace workbench
