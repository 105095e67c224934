// Covers chart_editors/KivFuncEdit.cpp (the function editor),
// chart_editors/KivSourceEdit.cpp (its base, "Apply Changes ?"),
// chart_editors/KivBaseFuncEdit.cpp and chart_editors/KivEdiPeri.cpp (the
// period options), and the close query of chart_editors/EditorForm.cpp.
#include <gtest/gtest.h>

#include <QApplication>

#include <algorithm>
#include <memory>
#include <vector>

#include "chart/ChartControl.h"
#include "chart/functions/Functions.h"
#include "chart/series/CandleSeries.h"
#include "chart/series/LineSeries.h"
#include "chart/series/SeriesRegistry.h"
#include "chart_editors/KivAxisIncr.h"
#include "chart_editors/KivEdiPeri.h"
#include "chart_editors/KivFuncEdit.h"
#include "chart_editors/KivLisB.h"
#include "chart_editors/tests/EditorTestSupport.h"
#include "platform/ui/testing/WindowTest.h"

namespace chart_editors {
namespace {

using chart::TChartSeries;
using chart::TLineSeries;
using testing::AnswerModal;
using testing::ChooseItem;
using testing::InkIn;
using testing::TypeText;
using ui::Items;
using ui::Texts;

// Kinds of function for the editor to offer: one that needs no source, one
// over several sources, one sliding over a single source.
class TNoSourceFunction : public chart::TKivFunction {
  ORVEL_CLASS_INFO
 public:
  using TKivFunction::TKivFunction;
  bool NoSourceRequired() const override { return true; }
};

class TSumFunction : public chart::TKivFunction {
  ORVEL_CLASS_INFO
 public:
  using TKivFunction::TKivFunction;
  double CalculateMany(const std::vector<TChartSeries*>& sources, int index) override {
    double sum = 0;
    for (TChartSeries* s : sources) sum += s->YValues()->Value(index);
    return sum;
  }
};

class TMeanFunction : public chart::TKivMovingFunction {
  ORVEL_CLASS_INFO
 public:
  using TKivMovingFunction::TKivMovingFunction;
  double Calculate(TChartSeries& source, int first, int last) override {
    double sum = 0;
    for (int i = first; i <= last; ++i) sum += source.YValues()->Value(i);
    return sum / (last - first + 1);
  }
};

template <class T>
const classlib::TClassInfo& Info(const char* name) {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<T>(name, chart::TKivFunction::StaticClassInfo()).Creatable().Build();
  return info;
}

const classlib::TClassInfo& TNoSourceFunction::StaticClassInfo() { return Info<TNoSourceFunction>("TNoSourceFunction"); }
const classlib::TClassInfo& TSumFunction::StaticClassInfo() { return Info<TSumFunction>("TSumFunction"); }
const classlib::TClassInfo& TMeanFunction::StaticClassInfo() { return Info<TMeanFunction>("TMeanFunction"); }

class FunctionEditor : public ui::TWindowTest {
 protected:
  void SetUp() override {
    ui::TWindowTest::SetUp();
    chart::RegisterFunction(TNoSourceFunction::StaticClassInfo(), "Test No Source\rKind", "Tests");
    chart::RegisterFunction(TSumFunction::StaticClassInfo(), "Test Sum", "Tests");
    chart::RegisterFunction(TMeanFunction::StaticClassInfo(), "test Mean", "Tests");
    FChart = std::make_unique<chart::TChart>();
    FSource = &AddSeries("Source", {1, 2, 3, 4, 5, 6});
    FOther = &AddSeries("Other", {10, 20, 30, 40, 50, 60});
    FTarget = &AddSeries("Target", {});
  }
  void TearDown() override {
    FEditor.reset();
    FChart.reset();
    chart::UnregisterFunctions(
        {&TNoSourceFunction::StaticClassInfo(), &TSumFunction::StaticClassInfo(), &TMeanFunction::StaticClassInfo()});
    ui::TWindowTest::TearDown();
  }

  TLineSeries& AddSeries(const char* title, const std::vector<double>& ys) {
    auto* s = new TLineSeries(FChart.get());
    s->SetName(title);
    s->SetTitle(title);
    for (double y : ys) s->Add(y);
    s->SetParentChart(FChart.get());
    return *s;
  }

  template <class T>
  T& GiveFunction(TChartSeries& series, std::vector<TChartSeries*> sources = {}) {
    auto* f = static_cast<T*>(chart::CreateSeriesFunction(series, T::StaticClassInfo()));
    for (TChartSeries* s : sources) series.AddDataSource(*s);
    series.CheckDatasource();
    return *f;
  }

  TKivFuncEditor& Open(TChartSeries& series) {
    FEditor = std::make_unique<TKivFuncEditor>();
    FEditor->SetTag(&series);
    FEditor->resize(460, 320);
    FEditor->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(FEditor.get()));
    return *FEditor;
  }

  void Choose(const QString& kind) {
    const int index = FEditor->CBSources->findText(kind);
    ASSERT_GE(index, 0) << kind.toStdString();
    ChooseItem(*FEditor->CBSources, index);
  }

  bool TabShown(QWidget* tab) const { return FEditor->PageControl1->isTabVisible(FEditor->PageControl1->indexOf(tab)); }

  // The options form, on its page as the user goes there.
  TKivFunctionEditor& Period() const {
    FEditor->PageControl1->setCurrentWidget(FEditor->TabOptions);
    auto* form = dynamic_cast<TKivFunctionEditor*>(FEditor->OptionsForm());
    EXPECT_NE(form, nullptr);
    return *form;
  }

  std::unique_ptr<chart::TChart> FChart;
  TLineSeries* FSource = nullptr;
  TLineSeries* FOther = nullptr;
  TLineSeries* FTarget = nullptr;
  std::unique_ptr<TKivFuncEditor> FEditor;
};

TEST_F(FunctionEditor, OffersCopyAndEveryFunctionKindByName) {
  TKivFuncEditor& e = Open(*FTarget);
  const QStringList kinds = Items(*e.CBSources);
  EXPECT_TRUE(kinds.contains("Copy"));
  EXPECT_TRUE(kinds.contains("Test No Source Kind"));  // its line break a blank
  EXPECT_TRUE(kinds.contains("Test Sum"));
  QStringList sorted = kinds;
  std::sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) < 0;
  });
  EXPECT_EQ(kinds, sorted);
  // A series without function or source starts on "Copy", with something to apply.
  EXPECT_EQ(e.CBSources->currentText(), "Copy");
  EXPECT_EQ(e.SelectedFunctionClass(), nullptr);
  EXPECT_TRUE(e.BApply->isEnabled());
  EXPECT_FALSE(TabShown(e.TabOptions));
  // The series themselves are offered as sources, the edited one not.
  EXPECT_EQ(Texts(*e.Selector()->FromList), (QStringList{"Source", "Other"}));
}

TEST_F(FunctionEditor, CopyRemovesTheFunctionWhenApplied) {
  GiveFunction<TSumFunction>(*FTarget, {FSource});
  TKivFuncEditor& e = Open(*FTarget);
  EXPECT_EQ(e.CBSources->currentText(), "Test Sum");
  EXPECT_FALSE(e.BApply->isEnabled());
  EXPECT_EQ(Texts(*e.Selector()->ToList), QStringList{"Source"});
  Choose("Copy");
  EXPECT_TRUE(e.BApply->isEnabled());
  EXPECT_FALSE(TabShown(e.TabOptions));
  EXPECT_TRUE(e.PanSingle->isHidden());
  EXPECT_FALSE(e.Selector()->isHidden());
  ASSERT_NE(FTarget->FunctionType(), nullptr);  // not before Apply
  QTest::mouseClick(e.BApply, Qt::LeftButton);
  EXPECT_EQ(FTarget->FunctionType(), nullptr);
  EXPECT_EQ(FTarget->DataSource(), FSource);
  EXPECT_EQ(FTarget->Count(), FSource->Count());  // a copy of its source
  EXPECT_FALSE(e.BApply->isEnabled());
  EXPECT_FALSE(TabShown(e.TabOptions));
}

TEST_F(FunctionEditor, AKindThatNeedsNoSourceShowsOnlyItsOptions) {
  TKivFuncEditor& e = Open(*FTarget);
  Choose("Test No Source Kind");
  ASSERT_NE(FTarget->FunctionType(), nullptr);
  EXPECT_EQ(&FTarget->FunctionType()->ClassInfo(), &TNoSourceFunction::StaticClassInfo());
  EXPECT_FALSE(TabShown(e.TabSource));
  EXPECT_TRUE(TabShown(e.TabOptions));
  EXPECT_EQ(e.PageControl1->currentWidget(), e.TabOptions);
  EXPECT_EQ(Period().Tag(), FTarget->FunctionType());
  // Another kind brings the sources back.
  Choose("Test Sum");
  EXPECT_TRUE(TabShown(e.TabSource));
  EXPECT_FALSE(e.Selector()->isHidden());
}

TEST_F(FunctionEditor, ShowsThePeriodAsItsChoiceCounts) {
  const struct {
    TPeriodChoice Choice;
    double Period;
    const char* Text;
  } cases[] = {
      {pcNumPoints, 2.6, "3"}, {pcNumPoints, -2.6, "0"}, {pcNumPoints, 2.5, "2"}, {pcNumPoints, 0.4, "0"},
      {pcRange, 2.5, "2.5"},   {pcAllPoints, 7, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(PeriodText(c.Choice, c.Period), c.Text) << c.Choice << " " << c.Period;

  auto& f = GiveFunction<TMeanFunction>(*FTarget, {FSource});
  f.SetPeriod(2.6);
  Open(*FTarget);
  TKivFunctionEditor& p = Period();
  EXPECT_EQ(p.CBStyle->currentText(), "Every number of points");
  EXPECT_EQ(p.ENum->text(), "3");
  EXPECT_TRUE(p.ENum->isEnabled());
  EXPECT_FALSE(p.BChange->isEnabled());
  EXPECT_EQ(p.CBAlign->currentIndex(), chart::paCenter);
  // Filling wrote nothing back and left nothing to apply.
  EXPECT_EQ(f.Period(), 2.6);
  EXPECT_FALSE(FEditor->BApply->isEnabled());
  ChooseItem(*p.CBStyle, pcAllPoints);
  EXPECT_EQ(p.ENum->text(), "");
  EXPECT_FALSE(p.ENum->isEnabled());
  EXPECT_TRUE(FEditor->BApply->isEnabled());
}

TEST_F(FunctionEditor, RefusesANegativeOrUnreadablePeriodBeforeApplyingAnything) {
  auto& f = GiveFunction<TMeanFunction>(*FTarget, {FSource});
  f.SetPeriod(2);
  TKivFuncEditor& e = Open(*FTarget);
  TKivFunctionEditor& p = Period();
  ChooseItem(*p.CBAlign, chart::paLast);
  TypeText(*p.ENum, "-2");
  ASSERT_TRUE(e.BApply->isEnabled());
  QTest::mouseClick(e.BApply, Qt::LeftButton);
  ASSERT_EQ(FDialogs.Shown.size(), 1u) << FDialogs.ShownTexts();
  EXPECT_EQ(FDialogs.Shown[0].Text, "Incorrect value. Reason: Function Period should be >= 0");
  EXPECT_EQ(f.Period(), 2);
  EXPECT_EQ(f.PeriodAlign(), chart::paCenter);  // nothing applied
  EXPECT_TRUE(e.BApply->isEnabled());
  TypeText(*p.ENum, "abc");
  QTest::mouseClick(e.BApply, Qt::LeftButton);
  ASSERT_EQ(FDialogs.Shown.size(), 2u);
  EXPECT_EQ(FDialogs.Shown[1].Text, "Incorrect value. Reason: 'abc' is not a valid floating point value");
  // Closing with it asks, and Yes then fails to apply: the editor stays.
  FDialogs.Answers.push_back(ui::mrYes);
  e.close();
  EXPECT_TRUE(e.isVisible());
  EXPECT_EQ(FDialogs.Shown.size(), 4u);
  TypeText(*p.ENum, "4");
  QTest::mouseClick(e.BApply, Qt::LeftButton);
  EXPECT_EQ(f.Period(), 4);
  EXPECT_EQ(f.PeriodAlign(), chart::paLast);
  EXPECT_FALSE(e.BApply->isEnabled());
  // Recalculated: the mean of each 4 points, from the fourth point on.
  ASSERT_EQ(FTarget->Count(), 3);
  EXPECT_EQ(FTarget->YValues()->Value(0), 2.5);
}

TEST_F(FunctionEditor, ApplyChangesCancelKeepsTheEditorNoDropsTheChange) {
  TKivFuncEditor& e = Open(*FTarget);
  ASSERT_TRUE(e.BApply->isEnabled());
  FDialogs.Answers.push_back(ui::mrCancel);
  e.close();
  ASSERT_EQ(FDialogs.Shown.size(), 1u);
  EXPECT_EQ(FDialogs.Shown[0].Text, "Apply Changes ?");
  EXPECT_EQ(FDialogs.Shown[0].Buttons, ui::mbYesNoCancel);
  EXPECT_TRUE(e.isVisible());
  EXPECT_TRUE(e.BApply->isEnabled());
  FDialogs.Answers.push_back(ui::mrNo);
  e.close();
  EXPECT_FALSE(e.isVisible());
  EXPECT_EQ(FTarget->DataSource(), nullptr);
  // Yes applies, then closes.
  TKivFuncEditor& again = Open(*FTarget);
  again.Selector()->FromList->item(1)->setSelected(true);
  QTest::mouseClick(again.Selector()->BRightOne, Qt::LeftButton);
  FDialogs.Answers.push_back(ui::mrYes);
  again.close();
  EXPECT_FALSE(again.isVisible());
  EXPECT_EQ(FTarget->DataSource(), FOther);
}

TEST_F(FunctionEditor, ASingleSourceKindChoosesTheSeriesAndItsValues) {
  TKivFuncEditor& e = Open(*FTarget);
  Choose("test Mean");
  EXPECT_FALSE(e.PanSingle->isHidden());
  EXPECT_TRUE(e.Selector()->isHidden());
  EXPECT_FALSE(e.CBValues->isHidden());
  EXPECT_EQ(Items(*e.CBSingle), (QStringList{"Source", "Other"}));
  EXPECT_EQ(e.CBSingle->currentIndex(), -1);
  EXPECT_FALSE(e.BNone->isEnabled());
  ChooseItem(*e.CBSingle, 1);
  EXPECT_TRUE(e.CBValues->isEnabled());
  EXPECT_TRUE(e.BNone->isEnabled());
  EXPECT_EQ(Items(*e.CBValues), QStringList{"Y"});
  EXPECT_EQ(e.CBValues->currentText(), "Y");
  TypeText(*Period().ENum, "2");
  QTest::mouseClick(e.BApply, Qt::LeftButton);
  EXPECT_EQ(FTarget->DataSource(), FOther);
  EXPECT_EQ(FTarget->YValues()->ValueSource(), "Y");
  ASSERT_NE(FTarget->FunctionType(), nullptr);
  EXPECT_EQ(FTarget->FunctionType()->Period(), 2);
  EXPECT_GT(FTarget->Count(), 0);
  EXPECT_EQ(FTarget->YValues()->Value(0), 15);  // the mean of 10 and 20
  // None takes the source away again.
  QTest::mouseClick(e.BNone, Qt::LeftButton);
  EXPECT_EQ(e.CBSingle->currentIndex(), -1);
  EXPECT_FALSE(e.CBValues->isEnabled());
  QTest::mouseClick(e.BApply, Qt::LeftButton);
  EXPECT_EQ(FTarget->DataSource(), nullptr);
  EXPECT_EQ(FTarget->YValues()->ValueSource(), "");
}

TEST_F(FunctionEditor, SeveralSourcesAreTakenInTheirOrder) {
  TKivFuncEditor& e = Open(*FTarget);
  Choose("Test Sum");
  EXPECT_TRUE(e.PanSingle->isHidden());
  TSelectListForm& s = *e.Selector();
  QTest::mouseClick(s.BRightAll, Qt::LeftButton);
  s.ToList->setCurrentRow(1);
  QTest::mouseClick(s.BMoveUP, Qt::LeftButton);
  EXPECT_EQ(Texts(*s.ToList), (QStringList{"Other", "Source"}));
  EXPECT_TRUE(e.BApply->isEnabled());
  QTest::mouseClick(e.BApply, Qt::LeftButton);
  ASSERT_EQ(FTarget->DataSources().size(), 2u);
  EXPECT_EQ(FTarget->DataSources()[0], FOther);
  EXPECT_EQ(FTarget->DataSources()[1], FSource);
  ASSERT_EQ(FTarget->Count(), 6);
  EXPECT_EQ(FTarget->YValues()->Value(2), 33);
}

TEST_F(FunctionEditor, OffersOnlyTheSeriesAKindTakes) {
  auto* bars = new chart::TCandleSeries(FChart.get());
  bars->SetTitle("Bars");
  bars->AddCandle(0, 1, 2, 0.5, 1.5);
  bars->SetParentChart(FChart.get());
  TKivFuncEditor& e = Open(*FTarget);
  EXPECT_EQ(Texts(*e.Selector()->FromList), (QStringList{"Source", "Other", "Bars"}));
  Choose("R.S.I.");
  EXPECT_EQ(Items(*e.CBSingle), QStringList{"Bars"});
  EXPECT_TRUE(e.CBValues->isHidden());  // it reads the bars' open and close
  EXPECT_TRUE(TabShown(e.TabOptions));
}

TEST_F(FunctionEditor, OffersNoSourceThatWouldFeedOnItsOwnSeries) {
  FOther->SetDataSource(FTarget);
  TKivFuncEditor& e = Open(*FTarget);
  EXPECT_EQ(Texts(*e.Selector()->FromList), QStringList{"Source"});
}

TEST_F(FunctionEditor, FollowsTheSeriesOfItsChart) {
  TKivFuncEditor& e = Open(*FTarget);
  TLineSeries& added = AddSeries("Added", {1});
  EXPECT_EQ(Texts(*e.Selector()->FromList), (QStringList{"Source", "Other", "Added"}));
  delete &added;
  EXPECT_EQ(Texts(*e.Selector()->FromList), (QStringList{"Source", "Other"}));
  // Its own series leaving the chart leaves nothing to apply.
  delete FTarget;
  FTarget = nullptr;
  EXPECT_FALSE(e.BApply->isEnabled());
  EXPECT_EQ(e.Series(), nullptr);
  FDialogs.ExpectAllUsed();
  e.close();
  EXPECT_FALSE(e.isVisible());
}

TEST_F(FunctionEditor, ChangeOpensThePeriodRangeDialog) {
  auto& f = GiveFunction<TMeanFunction>(*FTarget, {FSource});
  f.SetPeriod(3);
  TKivFuncEditor& e = Open(*FTarget);
  TKivFunctionEditor& p = Period();
  ChooseItem(*p.CBStyle, pcRange);
  EXPECT_EQ(p.ENum->text(), "3");
  ASSERT_TRUE(p.BChange->isEnabled());
  AnswerModal<TAxisIncrement>(FDialogs, [](TAxisIncrement& d) {
    EXPECT_EQ(d.windowTitle(), "Period range");
    EXPECT_FALSE(d.IsDateTime());
    EXPECT_EQ(d.ECustom->text(), "3");
    TypeText(*d.ECustom, "2.5");
    QTest::mouseClick(d.BOk, Qt::LeftButton);
  });
  QTest::mouseClick(p.BChange, Qt::LeftButton);
  EXPECT_EQ(p.ENum->text(), "2.5");
  QTest::mouseClick(e.BApply, Qt::LeftButton);
  EXPECT_EQ(f.Period(), 2.5);
  EXPECT_EQ(f.PeriodStyle(), chart::psRange);
}

TEST_F(FunctionEditor, ScreenshotShowsTheKindItsSourcesAndItsPeriod) {
  auto& f = GiveFunction<TMeanFunction>(*FTarget, {FSource});
  f.SetPeriod(4);
  TKivFuncEditor& e = Open(*FTarget);
  QImage shot = ui::Screenshot(e, "function_editor_sources");
  EXPECT_GT(InkIn(shot, e, *e.CBSources), 20);  // "test Mean"
  EXPECT_GT(InkIn(shot, e, *e.CBSingle), 20);   // "Source"
  EXPECT_GT(InkIn(shot, e, *e.CBValues), 5);    // "Y"
  EXPECT_EQ(e.CBValues->currentText(), "Y");
  EXPECT_EQ(InkIn(shot, e, *e.BApply), 0);      // disabled: grey letters only
  e.PageControl1->setCurrentWidget(e.TabOptions);
  shot = ui::Screenshot(e, "function_editor");
  TKivFunctionEditor& p = Period();
  EXPECT_GT(InkIn(shot, e, *p.CBStyle), 20);
  EXPECT_GT(InkIn(shot, e, *p.ENum), 5);  // "4"
  EXPECT_GT(InkIn(shot, e, *p.Label3), 20);
}

}  // namespace
}  // namespace chart_editors
