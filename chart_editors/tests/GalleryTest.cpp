// Covers chart_editors/KivGalleryPanel.cpp (the gallery panel, its sample
// charts, their looks, keys and the pop-up gallery of sub-styles) and
// chart_editors/KivGally.cpp (the gallery dialog and the engine's two
// gallery entry points).
#include <gtest/gtest.h>

#include <QApplication>
#include <QSet>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "chart/ChartControl.h"
#include "chart/functions/Functions.h"
#include "chart/series/BarSeries.h"
#include "chart/series/CandleSeries.h"
#include "chart/series/LineSeries.h"
#include "chart/series/SeriesRegistry.h"
#include "chart_editors/ChartEditors.h"
#include "chart_editors/KivGalleryPanel.h"
#include "chart_editors/KivGally.h"
#include "chart_editors/tests/EditorTestSupport.h"

namespace chart_editors {
namespace {

using namespace chart;
using testing::CountPixels;
using testing::FindForm;

// Thirteen kinds of one page, to overfill three rows of four.
template <int N>
class TManyKind : public TLineSeries {
  ORVEL_CLASS_INFO
 public:
  using TLineSeries::TLineSeries;
};

template <int N>
const classlib::TClassInfo& TManyKind<N>::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TManyKind<N>>("TManyKind" + std::to_string(N), TLineSeries::StaticClassInfo())
          .Creatable()
          .Build();
  return info;
}

template <int... N>
std::vector<const classlib::TClassInfo*> ManyKinds(std::integer_sequence<int, N...>) {
  return {&TManyKind<N>::StaticClassInfo()...};
}
std::vector<const classlib::TClassInfo*> ManyKinds() { return ManyKinds(std::make_integer_sequence<int, 13>()); }

class TGalleryTestFunction : public TKivFunction {
  ORVEL_CLASS_INFO
 public:
  using TKivFunction::TKivFunction;
};

const classlib::TClassInfo& TGalleryTestFunction::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TGalleryTestFunction>("TGalleryTestFunction", TKivFunction::StaticClassInfo())
          .Creatable()
          .Build();
  return info;
}

class Gallery : public ui::TWindowTest {
 protected:
  void SetUp() override {
    ui::TWindowTest::SetUp();
    int n = 0;
    for (const classlib::TClassInfo* kind : ManyKinds())
      RegisterSeriesType(*kind, "Kind " + std::to_string(++n), "Many");
    RegisterFunction(TGalleryTestFunction::StaticClassInfo(), "Test\rFunction", "Many");
  }
  void TearDown() override {
    FPanel.reset();
    UnregisterSeriesTypes(ManyKinds());
    UnregisterFunctions({&TGalleryTestFunction::StaticClassInfo()});
    ui::TWindowTest::TearDown();
  }

  TChartGalleryPanel& Panel(const std::string& page, bool functions = false) {
    FPanel = std::make_unique<TChartGalleryPanel>();
    FPanel->resize(442, 301);
    FPanel->FunctionsOnly = functions;
    FPanel->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(FPanel.get()));
    FPanel->CreateGalleryPage(page);
    return *FPanel;
  }

  static std::string TitleOf(const TGalleryChart& chart) {
    std::string text;
    for (const std::string& line : chart.Title()->Text()) text += (text.empty() ? "" : "|") + line;
    return text;
  }
  static bool LooksSelected(TGalleryChart& chart) {
    return chart.HasGradient() && chart.Gradient()->Visible() && chart.BevelOuter() == bvRaised &&
           (chart.Title()->Font()->Style() & FontStyleBit(fsBold)) != 0;
  }

  std::unique_ptr<TChartGalleryPanel> FPanel;
};

TEST_F(Gallery, NineKindsKeepThreeRowsAndThirteenMakeFourOnFourColumns) {
  TChartGalleryPanel& standard = Panel("Standard");
  EXPECT_EQ(standard.Charts().Count(), 9);
  EXPECT_EQ(standard.NumRows(), 3);
  EXPECT_EQ(TitleOf(*standard.Charts()[0]), "Line");
  EXPECT_EQ(TitleOf(*standard.Charts()[2]), "Horizontal|Bar");
  // Cells of (width - 1) / 4 by (height - 1) / 3, one pixel in.
  EXPECT_EQ(standard.CellWidth(), 110);
  EXPECT_EQ(standard.CellHeight(), 100);
  EXPECT_EQ(standard.Charts()[5]->Window()->geometry(), QRect(111, 101, 110, 100));
  EXPECT_EQ(standard.Charts()[5]->Width(), 110);
  EXPECT_EQ(standard.ChartAt(1, 1), standard.Charts()[5]);
  EXPECT_EQ(standard.ChartAt(1, 2), nullptr);
  EXPECT_EQ(standard.ChartAt(4, 0), nullptr);

  TChartGalleryPanel& many = Panel("Many");
  EXPECT_EQ(many.Charts().Count(), 13);
  EXPECT_EQ(many.NumRows(), 4);
  EXPECT_EQ(many.CellHeight(), 75);
  EXPECT_EQ(many.ChartAt(0, 3), many.Charts()[12]);
  // Back to nine: three rows again.
  many.CreateGalleryPage("Standard");
  EXPECT_EQ(many.NumRows(), 3);
}

TEST_F(Gallery, AFunctionKindIsShownOverALineSample) {
  TChartGalleryPanel& p = Panel("Many", true);
  ASSERT_EQ(p.Charts().Count(), 1);
  const TGalleryChart& chart = *p.Charts()[0];
  EXPECT_EQ(TitleOf(chart), "Test|Function");
  ASSERT_EQ(chart.SeriesCount(), 1);
  EXPECT_EQ(&chart.Series(0)->ClassInfo(), &TLineSeries::StaticClassInfo());
  ASSERT_NE(chart.Series(0)->FunctionType(), nullptr);
  EXPECT_EQ(&chart.Series(0)->FunctionType()->ClassInfo(), &TGalleryTestFunction::StaticClassInfo());
  EXPECT_GT(chart.Series(0)->Count(), 0);
  const classlib::TClassInfo* seriesClass = nullptr;
  const classlib::TClassInfo* functionClass = nullptr;
  int sub = 0;
  ASSERT_TRUE(p.GetSelected(seriesClass, functionClass, sub));
  EXPECT_EQ(seriesClass, &TLineSeries::StaticClassInfo());
  EXPECT_EQ(functionClass, &TGalleryTestFunction::StaticClassInfo());
  EXPECT_EQ(sub, -1);
}

TEST_F(Gallery, TheArrowKeysMoveInsideTheGridAndStopAtItsEdges) {
  TChartGalleryPanel& p = Panel("Standard");
  const TChartList& charts = p.Charts();
  ASSERT_EQ(p.Selected(), charts[0]);
  EXPECT_TRUE(LooksSelected(*charts[0]));
  EXPECT_FALSE(LooksSelected(*charts[1]));
  int changes = 0;
  p.OnChangeChart = [&] { ++changes; };
  p.setFocus();
  const struct {
    Qt::Key Key;
    int Expected;
  } steps[] = {{Qt::Key_Left, 0}, {Qt::Key_Up, 0},   {Qt::Key_Right, 1}, {Qt::Key_Right, 2}, {Qt::Key_Right, 3},
               {Qt::Key_Right, 3}, {Qt::Key_Down, 7}, {Qt::Key_Down, 7},  {Qt::Key_Left, 6},  {Qt::Key_Left, 5},
               {Qt::Key_Left, 4},  {Qt::Key_Down, 8}, {Qt::Key_Down, 8},  {Qt::Key_Right, 8}, {Qt::Key_Up, 4}};
  for (const auto& step : steps) {
    QWidget* focus = QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : &p;
    QTest::keyClick(focus, step.Key);
    EXPECT_EQ(charts.IndexOf(p.Selected()), step.Expected) << step.Key;
  }
  EXPECT_EQ(changes, 9);
  EXPECT_TRUE(LooksSelected(*charts[4]));
  EXPECT_FALSE(LooksSelected(*charts[0]));
  // Enter chooses; so does a double click.
  int chosen = 0;
  p.OnSelectedChart = [&] { ++chosen; };
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_EQ(chosen, 1);
  QTest::mouseDClick(charts[6]->Window(), Qt::LeftButton, {}, QPoint(50, 30));
  EXPECT_EQ(chosen, 2);
  EXPECT_EQ(p.Selected(), charts[6]);
  // A click selects.
  QTest::mouseClick(charts[2]->Window(), Qt::LeftButton, {}, QPoint(50, 30));
  EXPECT_EQ(p.Selected(), charts[2]);
}

TEST_F(Gallery, AChangingSeriesSelectsItsKindAndGreysTheKindsThatCannotReplaceIt) {
  TChart chart;
  auto* bars = new TBarSeries(&chart);
  bars->SetParentChart(&chart);
  FPanel = std::make_unique<TChartGalleryPanel>();
  FPanel->resize(442, 301);
  FPanel->SetChangingSeries(bars);
  FPanel->CheckCompatible = true;
  FPanel->show();
  FPanel->CreateGalleryPage("Standard");
  EXPECT_EQ(&FPanel->Selected()->Series(0)->ClassInfo(), &TBarSeries::StaticClassInfo());
  for (const auto& c : FPanel->Charts()) EXPECT_TRUE(c->Choosable());
  // Price bars take the place of price bars only.
  FPanel->CreateGalleryPage("Financial");
  const TGalleryChart& candle = *FPanel->Charts()[0];
  EXPECT_EQ(&candle.Series(0)->ClassInfo(), &TCandleSeries::StaticClassInfo());
  EXPECT_FALSE(candle.Choosable());
  EXPECT_EQ(candle.Window()->cursor().shape(), Qt::ForbiddenCursor);
  EXPECT_NE(FPanel->Selected(), &candle);
  // A click on it selects nothing.
  TGalleryChart* before = FPanel->Selected();
  QTest::mouseClick(candle.Window(), Qt::LeftButton, {}, QPoint(40, 40));
  EXPECT_EQ(FPanel->Selected(), before);
}

// Answers the pop-up gallery with body.
void AnswerSubGallery(ui::TScriptedDialogs& dialogs, std::function<void(QDialog&, TChartGalleryPanel&)> body) {
  dialogs.Modals.push_back([body = std::move(body)](QDialog& form) {
    form.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
    auto* sub = FindForm<TChartGalleryPanel>(form);
    EXPECT_NE(sub, nullptr);
    if (sub != nullptr) body(form, *sub);
    form.hide();
    return form.result();
  });
}

TEST_F(Gallery, ThePopUpGalleryOffersTheSubStylesAndEscapeKeepsTheChoice) {
  TChartGalleryPanel& p = Panel("Standard");
  TGalleryChart& line = *p.Charts()[0];
  int picked = 0;
  p.OnSubSelected = [&] { ++picked; };
  std::vector<std::string> names;
  TLineSeries().ListSubStyles([&](const std::string& n) { names.push_back(n); });
  // A click on the mark at the chart's bottom left corner opens it.
  AnswerSubGallery(FDialogs, [&](QDialog& form, TChartGalleryPanel& sub) {
    EXPECT_FALSE(sub.DisplaySub());
    ASSERT_EQ(sub.Charts().Count(), static_cast<int>(names.size()));
    for (int i = 0; i < sub.Charts().Count(); ++i) EXPECT_EQ(TitleOf(*sub.Charts()[i]), names[i]);
    EXPECT_EQ(sub.NumRows(), (sub.Charts().Count() + 3) / 4);
    const QImage shot = ui::Screenshot(form, "gallery_sub_styles");
    // The strip's upward mark closes the pop-up; below it each sub-style draws its sample.
    EXPECT_GT(CountPixels(shot, QRect(4, 2, 10, 9), clBlack), 10);
    EXPECT_EQ(CountPixels(shot, QRect(20, 2, 10, 9), clBlack), 0);
    for (int i = 0; i < sub.Charts().Count(); ++i) {
      const QRect area(sub.Charts()[i]->Window()->mapTo(&form, QPoint(0, 0)), sub.Charts()[i]->Window()->size());
      QSet<QRgb> colours;
      for (int y = area.top(); y < area.bottom(); y += 2)
        for (int x = area.left(); x < area.right(); x += 2) colours.insert(shot.pixel(x, y));
      EXPECT_GT(colours.size(), 4) << names[static_cast<std::size_t>(i)];
    }
    QTest::mouseDClick(sub.Charts()[2]->Window(), Qt::LeftButton, {}, QPoint(40, 30));
  });
  QTest::mouseClick(line.Window(), Qt::LeftButton, {}, QPoint(5, line.Window()->height() - 5));
  EXPECT_EQ(line.Tag, 2);
  EXPECT_EQ(picked, 1);
  EXPECT_TRUE(LooksSelected(line));
  // Escape leaves it as it was; Alt+Down opens it from the keyboard.
  AnswerSubGallery(FDialogs, [](QDialog& form, TChartGalleryPanel& sub) {
    QTest::keyClick(sub.Charts()[0]->Window(), Qt::Key_Right);
    EXPECT_EQ(sub.Charts().IndexOf(sub.Selected()), 1);
    QTest::keyClick(sub.Charts()[1]->Window(), Qt::Key_Escape);
    EXPECT_EQ(form.result(), QDialog::Rejected);
  });
  p.setFocus();
  QTest::keyClick(&p, Qt::Key_Down, Qt::AltModifier);
  EXPECT_EQ(line.Tag, 2);
  EXPECT_EQ(picked, 1);
  // A click elsewhere on the chart opens nothing.
  QTest::mouseClick(line.Window(), Qt::LeftButton, {}, QPoint(60, 20));
  // Sub-style 0 rebuilds the plain kind.
  AnswerSubGallery(FDialogs, [](QDialog&, TChartGalleryPanel& sub) {
    QTest::mouseClick(sub.Charts()[0]->Window(), Qt::LeftButton, {}, QPoint(40, 30));
    QTest::keyClick(sub.Charts()[0]->Window(), Qt::Key_Return);
  });
  p.ShowSubGallery();
  EXPECT_EQ(line.Tag, 0);
  EXPECT_EQ(line.SeriesCount(), 2);
  EXPECT_EQ(picked, 2);
}

// Answers the gallery dialog with body.
void AnswerGallery(ui::TScriptedDialogs& dialogs, std::function<void(TKivGallery&)> body) {
  testing::AnswerModal<TKivGallery>(dialogs, std::move(body));
}

TEST_F(Gallery, TheDialogListsTheStandardPageFirstAndSwitchesPagesAndTypes) {
  AnswerGallery(FDialogs, [](TKivGallery& d) {
    EXPECT_EQ(d.windowTitle(), "Kiv Gallery");
    ASSERT_EQ(d.TabTypes->count(), 2);
    EXPECT_EQ(d.TabTypes->tabText(0), "Series");
    EXPECT_EQ(d.TabTypes->tabText(1), "Functions");
    ASSERT_GE(d.TabPages->count(), 3);
    EXPECT_EQ(d.TabPages->tabText(0), "Standard");
    EXPECT_EQ(d.ChartGalleryPanel1->Charts().Count(), 9);
    const int many = [&] {
      for (int i = 0; i < d.TabPages->count(); ++i)
        if (d.TabPages->tabText(i) == "Many") return i;
      return -1;
    }();
    ASSERT_GE(many, 0);
    QTest::mouseClick(d.TabPages, Qt::LeftButton, {}, d.TabPages->tabRect(many).center());
    EXPECT_EQ(d.ChartGalleryPanel1->Charts().Count(), 13);
    // The function kinds on their own tab.
    QTest::mouseClick(d.TabTypes, Qt::LeftButton, {}, d.TabTypes->tabRect(1).center());
    EXPECT_TRUE(d.ChartGalleryPanel1->FunctionsOnly);
    QStringList pages;
    for (int i = 0; i < d.TabPages->count(); ++i) pages << d.TabPages->tabText(i);
    EXPECT_TRUE(pages.contains("Financial"));
    EXPECT_TRUE(pages.contains("Many"));
    EXPECT_FALSE(pages.contains("Standard"));
    // 2D for the samples too.
    ui::ClickButton(d.CB3D);
    EXPECT_FALSE(d.ChartGalleryPanel1->View3D());
    for (const auto& c : d.ChartGalleryPanel1->Charts()) EXPECT_FALSE(c->View3D());
    QTest::mouseClick(d.BCancel, Qt::LeftButton);
  });
  const classlib::TClassInfo* seriesClass = nullptr;
  const classlib::TClassInfo* functionClass = nullptr;
  bool view3D = true;
  int sub = 7;
  EXPECT_FALSE(ShowGalleryDialog(nullptr, nullptr, true, sub, false, functionClass, view3D, seriesClass));
  EXPECT_TRUE(view3D);
  EXPECT_EQ(sub, 7);
  EXPECT_EQ(seriesClass, nullptr);

  // Without functions, the one tab.
  AnswerGallery(FDialogs, [](TKivGallery& d) {
    EXPECT_EQ(d.TabTypes->count(), 1);
    QTest::mouseDClick(d.ChartGalleryPanel1->Charts()[4]->Window(), Qt::LeftButton, {}, QPoint(40, 40));
  });
  EXPECT_TRUE(ShowGalleryDialog(nullptr, nullptr, false, sub, false, functionClass, view3D, seriesClass));
  EXPECT_EQ(seriesClass, &TPointSeries::StaticClassInfo());
  EXPECT_EQ(functionClass, nullptr);
  EXPECT_EQ(sub, -1);
  EXPECT_TRUE(view3D);
}

TEST_F(Gallery, TheHooksCreateASeriesAndChangeASeriesKind) {
  // The editors' start-up installed them.
  ASSERT_TRUE(GalleryCreateSeriesHook());
  ASSERT_TRUE(GalleryChangeSeriesKindHook());
  TChart chart;
  chart.SetView3D(true);
  // Cancel: nothing made, 3D as it was.
  AnswerGallery(FDialogs, [](TKivGallery& d) {
    ui::ClickButton(d.CB3D);
    QTest::mouseClick(d.BCancel, Qt::LeftButton);
  });
  EXPECT_EQ(GalleryCreateSeriesHook()(nullptr, &chart, nullptr), nullptr);
  EXPECT_TRUE(chart.View3D());
  EXPECT_EQ(chart.SeriesCount(), 0);
  // A bar in 2D.
  AnswerGallery(FDialogs, [](TKivGallery& d) {
    ui::ClickButton(d.CB3D);
    QTest::mouseClick(d.ChartGalleryPanel1->Charts()[1]->Window(), Qt::LeftButton, {}, QPoint(50, 30));
    QTest::mouseClick(d.BOk, Qt::LeftButton);
  });
  TChartSeries* bars = GalleryCreateSeriesHook()(nullptr, &chart, nullptr);
  ASSERT_NE(bars, nullptr);
  EXPECT_EQ(&bars->ClassInfo(), &TBarSeries::StaticClassInfo());
  EXPECT_EQ(bars->ParentChart(), &chart);
  EXPECT_FALSE(chart.View3D());
  EXPECT_EQ(GalleryCreateSeriesHook()(nullptr, nullptr, nullptr), nullptr);

  // Its own kind as it is: nothing changes.
  bars->SetTitle("Volumes");
  bars->FillSampleValues(5);
  TChartSeries* series = bars;
  AnswerGallery(FDialogs, [](TKivGallery& d) {
    EXPECT_EQ(d.TabTypes->count(), 1);
    EXPECT_EQ(&d.ChartGalleryPanel1->Selected()->Series(0)->ClassInfo(), &TBarSeries::StaticClassInfo());
    QTest::mouseClick(d.BOk, Qt::LeftButton);
  });
  EXPECT_EQ(GalleryChangeSeriesKindHook()(nullptr, series), &TBarSeries::StaticClassInfo());
  EXPECT_EQ(series, bars);
  // Another kind takes its place, its title and its points.
  const int points = bars->Count();
  AnswerGallery(FDialogs, [](TKivGallery& d) {
    QTest::mouseDClick(d.ChartGalleryPanel1->Charts()[0]->Window(), Qt::LeftButton, {}, QPoint(50, 30));
  });
  EXPECT_EQ(GalleryChangeSeriesKindHook()(nullptr, series), &TLineSeries::StaticClassInfo());
  ASSERT_NE(series, nullptr);
  EXPECT_EQ(&series->ClassInfo(), &TLineSeries::StaticClassInfo());
  EXPECT_EQ(series->Title(), "Volumes");
  EXPECT_EQ(series->Count(), points);
  ASSERT_EQ(chart.SeriesCount(), 1);
  EXPECT_EQ(chart.Series(0), series);
}

TEST_F(Gallery, ScreenshotShowsTheChosenSampleAndItsMark) {
  AnswerGallery(FDialogs, [](TKivGallery& d) {
    const TChartList& charts = d.ChartGalleryPanel1->Charts();
    QTest::mouseClick(charts[4]->Window(), Qt::LeftButton, {}, QPoint(50, 30));
    const QImage shot = ui::Screenshot(d, "gallery_dialog");
    const auto origin = [&](const TGalleryChart& c) { return c.Window()->mapTo(&d, QPoint(0, 0)); };
    // The greys of the left margin, from the top to the middle.
    const auto margin = [&](const TGalleryChart& c) {
      QSet<QRgb> greys;
      const QPoint at = origin(c);
      for (int y = 4; y < c.Window()->height() / 2; ++y) greys.insert(shot.pixel(at + QPoint(3, y)));
      return greys.size();
    };
    // The chosen sample on its gradient, the black mark at its bottom left.
    const QPoint chosen = origin(*charts[4]);
    EXPECT_GT(margin(*charts[4]), 6);
    const int h = charts[4]->Window()->height();
    EXPECT_GT(CountPixels(shot, QRect(chosen + QPoint(4, h - 9), QSize(9, 6)), clBlack), 8);
    // Another: plain, no mark.
    const QPoint other = origin(*charts[1]);
    EXPECT_EQ(margin(*charts[1]), 1);
    EXPECT_EQ(CountPixels(shot, QRect(other + QPoint(4, h - 9), QSize(9, 6)), clBlack), 0);
    // Each sample draws its kind in colours beside the walls' white and grey.
    for (int i = 0; i < charts.Count(); ++i) {
      const QRect area(origin(*charts[i]), charts[i]->Window()->size());
      QSet<QRgb> colours;
      for (int y = area.top(); y < area.bottom(); y += 2)
        for (int x = area.left(); x < area.right(); x += 2) colours.insert(shot.pixel(x, y));
      EXPECT_GT(colours.size(), 4) << i;
    }
    QTest::mouseClick(d.BCancel, Qt::LeftButton);
  });
  const classlib::TClassInfo* seriesClass = nullptr;
  const classlib::TClassInfo* functionClass = nullptr;
  bool view3D = true;
  int sub = -1;
  ShowGalleryDialog(nullptr, nullptr, true, sub, false, functionClass, view3D, seriesClass);
}

}  // namespace
}  // namespace chart_editors
