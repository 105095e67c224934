// Covers chart_editors/KivEdiSeri.cpp, KivEdiSeriPages.cpp and
// KivEdiSeriData.cpp: the series editor's choice of series, its pages
// (the kind's own, General, Marks, Data Source), pages other editors insert,
// the veto of a page change and the chart's events.
#include <gtest/gtest.h>

#include <QTabBar>

#include <memory>
#include <string>
#include <vector>

#include "chart/ChartControl.h"
#include "chart/functions/Functions.h"
#include "chart/series/BarSeries.h"
#include "chart/series/LineSeries.h"
#include "chart/series/SeriesMarks.h"
#include "chart/series/SeriesRegistry.h"
#include "chart/series/SeriesSource.h"
#include "chart_editors/ComponentLink.h"
#include "chart_editors/KivEdiSeri.h"
#include "chart_editors/KivFuncEdit.h"
#include "chart_editors/KivLisB.h"
#include "chart_editors/KivPoEdi.h"
#include "chart_editors/tests/EditorTestSupport.h"
#include "platform/ui/testing/WindowTest.h"

namespace chart_editors {
namespace {

using namespace chart;
using testing::AnswerModal;
using testing::ChooseItem;
using testing::InkIn;
using testing::TypeText;
using ui::Items;

// A kind whose page inserts the pointer's page, as the kinds with pointers do.
class TStemSeries : public TPointSeries {
  ORVEL_CLASS_INFO
 public:
  using TPointSeries::TPointSeries;
  std::string EditorClassName() const override { return "TStemSeriesEditor"; }
};

const classlib::TClassInfo& TStemSeries::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TStemSeries>("TStemSeries", TPointSeries::StaticClassInfo()).Creatable().Build();
  return info;
}

class TStemSeriesEditor : public TEditorForm {
 public:
  using TEditorForm::TEditorForm;
  void FormShow() override { Pointer = InsertPointerEditorPage(this, Tag(), "Pointer"); }
  TSeriesPointerEditor* Pointer = nullptr;
};

// A kind of source the editors offer, with an editor that takes the "New" button.
class TTestSource : public TKivSeriesSource {
  ORVEL_CLASS_INFO
 public:
  using TKivSeriesSource::TKivSeriesSource;
  std::string Description() const override { return "Test file"; }
  std::string EditorClassName() const override { return "TTestSourceEditor"; }
  void Load() override {
    if (Series() == nullptr) return;
    Series()->Clear();
    for (double y : {1.0, 2.0, 4.0}) Series()->Add(y);
  }
};

const classlib::TClassInfo& TTestSource::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TTestSource>("TTestSource", TKivSeriesSource::StaticClassInfo()).Creatable().Build();
  return info;
}

class TTestSourceEditor : public TBaseSourceEditor {
 public:
  explicit TTestSourceEditor(QWidget* owner) : TBaseSourceEditor(owner) {
    if (auto* form = dynamic_cast<TFormKivSeries*>(owner))
      connect(form->NewDataButton, &QPushButton::clicked, this, [this] { ++NewClicks; });
  }
  int NewClicks = 0;
};

class SeriesEditor : public ui::TWindowTest {
 protected:
  void SetUp() override {
    ui::TWindowTest::SetUp();
    RegisterEditorForm("TStemSeriesEditor", EditorFormFactory<TStemSeriesEditor>());
    FChart = std::make_unique<TChart>();
  }
  void TearDown() override {
    FForm.reset();
    FChart.reset();
    UnRegisterEditorForm("TStemSeriesEditor");
    ui::TWindowTest::TearDown();
  }

  template <class S = TLineSeries>
  S& Add(const char* title, int points = 0) {
    auto* s = new S(FChart.get());
    s->SetName(title);
    s->SetTitle(title);
    s->SetParentChart(FChart.get());
    if (points > 0) s->FillSampleValues(points);
    return *s;
  }

  // The editor as its owner opens it: the chart's series listed, one chosen.
  TFormKivSeries& Open(TChartSeries& series) {
    FForm = std::make_unique<TFormKivSeries>();
    std::vector<std::pair<std::string, TChartSeries*>> items;
    FillSeriesItems(items, *FChart);
    for (const auto& [title, s] : items) AddComboObject(*FForm->CBSeries, QString::fromStdString(title), s);
    FForm->CBSeries->setCurrentIndex(FindComboObject(*FForm->CBSeries, &series));
    FForm->CBSeriesChange();
    FForm->resize(520, 440);
    FForm->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(FForm.get()));
    return *FForm;
  }

  void Choose(TChartSeries& series) { ChooseItem(*FForm->CBSeries, FindComboObject(*FForm->CBSeries, &series)); }

  bool TabShown(QWidget* page) const {
    return FForm->PageSeries->isTabVisible(FForm->PageSeries->indexOf(page));
  }
  QString CurrentCaption() const { return FForm->PageSeries->tabText(FForm->PageSeries->currentIndex()); }

  // Clicks a page's tab as the user does.
  void ClickTab(QWidget* page) {
    QTabBar* bar = FForm->PageSeries->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(FForm->PageSeries->indexOf(page)).center());
  }

  std::unique_ptr<TChart> FChart;
  std::unique_ptr<TFormKivSeries> FForm;
};

TEST_F(SeriesEditor, EveryStandardKindOpensAndOnlyKindsWithARegisteredEditorHaveFormat) {
  const TKivSeriesTypes& types = KivSeriesTypesList();
  int kinds = 0;
  for (int i = 0; i < types.Count(); ++i) {
    const TKivSeriesType& type = types.Get(i);
    if (type.GalleryPage != "Standard") continue;
    ++kinds;
    FChart = std::make_unique<TChart>();
    TChartSeries& s = *CreateChartSeries(FChart.get(), *FChart, *type.SeriesClass);
    s.SetTitle("Sample");
    s.FillSampleValues(6);
    TFormKivSeries& e = Open(s);
    SCOPED_TRACE(type.SeriesClass->ClassName());
    EXPECT_EQ(e.TheSeries(), &s);
    EXPECT_FALSE(e.PageSeries->isHidden());
    QString description = QString::fromStdString(type.Description);
    description.replace('\r', ' ');
    EXPECT_EQ(e.LabelSeriesClass->text(), description + ": Sample");
    // Of the names the kinds give, only the pointer editor's is registered.
    const bool format = s.EditorClassName() == "TSeriesPointerEditor";
    EXPECT_EQ(TabShown(e.TheTabSheet), format);
    EXPECT_EQ(e.EmbeddedForms().size(), format ? 1u : 0u);
    EXPECT_EQ(CurrentCaption(), format ? "Format" : "General");
    EXPECT_EQ(e.GBHorizAxis->isHidden(), !s.UseAxis());
    EXPECT_TRUE(TabShown(e.TabDataSource));
  }
  EXPECT_EQ(kinds, 9);
}

TEST_F(SeriesEditor, ChangingSeriesKeepsThePageOfTheSameCaption) {
  TStemSeries& first = Add<TStemSeries>("First", 5);
  TStemSeries& second = Add<TStemSeries>("Second", 5);
  TLineSeries& line = Add("Line", 5);
  TFormKivSeries& e = Open(first);
  // The kind's page inserted the pointer's page after it.
  ASSERT_EQ(e.PageSeries->tabText(1), "Pointer");
  EXPECT_EQ(e.EmbeddedForms().size(), 2u);
  ClickTab(e.PageSeries->widget(1));
  EXPECT_EQ(CurrentCaption(), "Pointer");
  Choose(second);
  EXPECT_EQ(CurrentCaption(), "Pointer");
  auto* pointer = testing::FindForm<TSeriesPointerEditor>(*e.PageSeries->currentWidget());
  ASSERT_NE(pointer, nullptr);
  EXPECT_EQ(pointer->Pointer(), second.Pointer());
  ClickTab(e.TabMarks);
  Choose(first);
  EXPECT_EQ(CurrentCaption(), "Marks");
  // A line has neither its own page nor a pointer's: from "Pointer" to "General".
  ClickTab(e.PageSeries->widget(1));
  Choose(line);
  EXPECT_EQ(e.PageSeries->count(), 4);
  EXPECT_FALSE(TabShown(e.TheTabSheet));
  EXPECT_EQ(CurrentCaption(), "General");
}

TEST_F(SeriesEditor, TheGeneralPageShowsAndWritesTheSeriesSettings) {
  TLineSeries& s = Add("Prices", 5);
  s.SetShowInLegend(false);
  s.SetDepth(20);
  s.SetValueFormat("#,##0.0");
  s.SetPercentFormat("0.0 %");
  s.XValues()->SetDateTime(true);
  s.YValues()->SetOrder(loAscending);
  TFormKivSeries& e = Open(s);
  ClickTab(e.TabGeneral);
  EXPECT_FALSE(e.CBShowInLegend->isChecked());
  EXPECT_FALSE(e.CBDepth->isChecked());
  EXPECT_EQ(e.UDDepth->value(), 20);
  EXPECT_EQ(e.CBFormat->currentText(), "#,##0.0");
  EXPECT_TRUE(e.CBFormat->findText("#,##0.###") >= 0);
  EXPECT_EQ(e.EPercentFormat->text(), "0.0 %");
  EXPECT_TRUE(e.CBXDateTime->isChecked());
  EXPECT_FALSE(e.CBYDateTime->isChecked());
  EXPECT_EQ(e.CBHorizAxis->currentIndex(), 1);  // bottom
  EXPECT_EQ(e.CBVertAxis->currentIndex(), 0);   // left
  EXPECT_EQ(e.CBSort->currentText(), "Ascending");
  EXPECT_FALSE(e.CBSort->isHidden());
  // Nothing written back by showing.
  EXPECT_EQ(s.Depth(), 20);

  ui::ClickButton(e.CBShowInLegend);
  EXPECT_TRUE(s.ShowInLegend());
  ui::ClickButton(e.CBDepth);
  EXPECT_EQ(s.Depth(), -1);
  TypeText(*e.EDepth, "35");
  EXPECT_EQ(s.Depth(), 35);
  EXPECT_FALSE(e.CBDepth->isChecked());
  TypeText(*e.CBFormat->lineEdit(), "0.00");
  EXPECT_EQ(s.ValueFormat(), "0.00");
  TypeText(*e.EPercentFormat, "##0 %");
  EXPECT_EQ(s.PercentFormat(), "##0 %");
  ui::ClickButton(e.CBYDateTime);
  EXPECT_TRUE(s.YValues()->DateTime());
  ChooseItem(*e.CBHorizAxis, 0);
  EXPECT_EQ(s.HorizAxis(), aTopAxis);
  ChooseItem(*e.CBVertAxis, 2);
  EXPECT_EQ(s.VertAxis(), aBothVertAxis);
  ChooseItem(*e.CBCursor, e.CBCursor->findText("Cross"));
  EXPECT_EQ(s.Cursor(), crCross);
  // The order is the values' (the X values lose theirs).
  ChooseItem(*e.CBSort, 1);
  EXPECT_EQ(s.YValues()->Order(), loDescending);
  EXPECT_EQ(s.XValues()->Order(), loNone);
  for (int i = 1; i < s.Count(); ++i) EXPECT_GE(s.YValues()->Value(i - 1), s.YValues()->Value(i));
  ChooseItem(*e.CBSort, 2);
  EXPECT_EQ(s.YValues()->Order(), loNone);
}

TEST_F(SeriesEditor, CustomAxesJoinTheAxisListsOfTheirOrientation) {
  TChartAxis* vertical = FChart->CustomAxes().Add();
  vertical->SetHorizontal(false);
  TChartAxis* horizontal = FChart->CustomAxes().Add();
  TLineSeries& s = Add("Prices", 5);
  s.SetCustomHorizAxis(horizontal);
  TFormKivSeries& e = Open(s);
  ClickTab(e.TabGeneral);
  ASSERT_EQ(e.CBHorizAxis->count(), 4);
  EXPECT_EQ(ComboObject<TChartAxis>(*e.CBHorizAxis, 3), horizontal);
  // The custom axis' number among all custom axes.
  EXPECT_EQ(e.CBHorizAxis->itemText(3), "Custom  1");
  EXPECT_EQ(e.CBHorizAxis->currentIndex(), 3);
  ASSERT_EQ(e.CBVertAxis->count(), 4);
  EXPECT_EQ(ComboObject<TChartAxis>(*e.CBVertAxis, 3), vertical);
  EXPECT_EQ(e.CBVertAxis->itemText(3), "Custom  0");

  ChooseItem(*e.CBVertAxis, 3);
  EXPECT_EQ(s.VertAxis(), aCustomVertAxis);
  EXPECT_EQ(s.CustomVertAxis(), vertical);
  ChooseItem(*e.CBHorizAxis, 1);
  EXPECT_EQ(s.HorizAxis(), aBottomAxis);
  EXPECT_EQ(s.CustomHorizAxis(), nullptr);
}

TEST_F(SeriesEditor, MultiLineIsOfferedOnlyForTheStylesWithTwoTexts) {
  TLineSeries& s = Add("Prices", 5);
  TFormKivSeries& e = Open(s);
  ClickTab(e.TabMarks);
  for (int style = 0; style < 10; ++style) {
    ui::ClickButton(e.RGMarkStyle->Item(style));
    EXPECT_EQ(s.Marks()->Style(), style);
    const bool two = style == 3 || style == 4 || style == 6 || style == 7 || style == 9;
    EXPECT_EQ(e.CBMultiLine->isEnabled(), two) << style;
  }
}

TEST_F(SeriesEditor, TheMarksPageShowsAndWritesTheMarks) {
  TLineSeries& s = Add("Prices", 5);
  TLineSeries& other = Add("Other", 5);
  TSeriesMarks& m = *s.Marks();
  m.SetAngle(45);
  m.SetDrawEvery(3);
  m.SetClip(true);
  m.Callout()->SetDistance(6);
  m.Callout()->SetArrowHead(ahSolid);
  TFormKivSeries& e = Open(s);
  ClickTab(e.TabMarks);
  EXPECT_EQ(e.UDMarksAngle->value(), 45);
  EXPECT_EQ(e.UDEvery->value(), 3);
  EXPECT_TRUE(e.CBMarkClip->isChecked());
  EXPECT_EQ(e.UDArrowDist->value(), 6);
  EXPECT_EQ(e.CBHead->currentIndex(), ahSolid);
  EXPECT_EQ(e.RGMarkStyle->ItemIndex(), smsLabel);
  EXPECT_EQ(e.BMarkLinCol->Pen(), m.Arrow());
  // The shape pages joined the marks' own, filled from the marks.
  ASSERT_NE(e.MarksShapeEditor(), nullptr);
  EXPECT_EQ(e.MarksShapeEditor()->Shape(), &m);
  EXPECT_EQ(e.PageControlMarks->count(), 6);
  EXPECT_EQ(e.PageControlMarks->tabText(0), "Style");
  EXPECT_EQ(e.PageControlMarks->tabText(2), "Format");

  TypeText(*e.SEMarksAngle, "90");
  EXPECT_EQ(m.Angle(), 90);
  TypeText(*e.EMarksEvery, "7");
  EXPECT_EQ(m.DrawEvery(), 7);
  ui::ClickButton(e.CBMarkClip);
  EXPECT_FALSE(m.Clip());
  e.PageControlMarks->setCurrentWidget(e.TabSheet2);
  TypeText(*e.SEArrowLength, "-12");
  EXPECT_EQ(m.ArrowLength(), -12);
  TypeText(*e.EArrowDist, "4");
  EXPECT_EQ(m.Callout()->Distance(), 4);
  ChooseItem(*e.CBHead, ahLine);
  EXPECT_EQ(m.Callout()->ArrowHead(), ahLine);
  TypeText(*e.Edit1, "11");
  EXPECT_EQ(m.Callout()->ArrowHeadSize(), 11);
  e.PageControlMarks->setCurrentWidget(e.TabSheet1);

  // Visible for this series; all series visible through the other box.
  ui::ClickButton(e.CBMarksVisible);
  EXPECT_TRUE(m.Visible());
  ui::ClickButton(e.CBMultiLine);
  EXPECT_FALSE(m.MultiLine());  // "Label" has one text: the box stays greyed
  EXPECT_TRUE(e.CBAllVisible->isChecked());
  EXPECT_FALSE(other.Marks()->Visible());
  ui::ClickButton(e.CBAllVisible);
  EXPECT_FALSE(m.Visible());
  ui::ClickButton(e.CBAllVisible);
  EXPECT_TRUE(m.Visible());
  EXPECT_TRUE(other.Marks()->Visible());
  EXPECT_TRUE(e.CBMarksVisible->isChecked());

  // The callout's pointer in its own modal dialog.
  e.PageControlMarks->setCurrentWidget(e.TabSheet2);
  AnswerModal<TSeriesPointerEditor>(FDialogs, [](TSeriesPointerEditor& d) {
    ui::ClickButton(d.CBDrawPoint);
    ChooseItem(*d.CBStyle, psDiamond);
    QTest::keyClick(&d, Qt::Key_Escape);
  });
  QTest::mouseClick(e.BCalloutPointer, Qt::LeftButton);
  EXPECT_EQ(m.Callout()->Style(), psDiamond);
}

TEST_F(SeriesEditor, TheDataSourcePageOpensOnRandomOrManualAndSwitchesItsContent) {
  TLineSeries& random = Add("Random", 8);
  TLineSeries& typed = Add("Typed");
  Add("Source", 6);
  TFormKivSeries& e = Open(random);
  ClickTab(e.TabDataSource);
  EXPECT_EQ(e.CBDataSourcestyle->currentText(), "Random");
  EXPECT_FALSE(e.Panel4->isHidden());
  EXPECT_TRUE(e.Panel2->isHidden());

  // Typing a point makes the series manual.
  Choose(typed);
  EXPECT_EQ(CurrentCaption(), "Data Source");
  EXPECT_EQ(e.CBDataSourcestyle->currentText(), "Manual");
  EXPECT_FALSE(e.ChartGrid1->isHidden());
  EXPECT_FALSE(e.ChartGridNavigator1->isHidden());
  EXPECT_EQ(e.ChartGrid1->Series(), &typed);
  e.ChartGrid1->SetEditText(2, TCustomChartGrid::FixedRows, "42");
  EXPECT_TRUE(typed.ManualData());
  Choose(random);
  Choose(typed);
  EXPECT_EQ(e.CBDataSourcestyle->currentText(), "Manual");

  // The function editor, then the random panel, then the grid again.
  ChooseItem(*e.CBDataSourcestyle, TFormKivSeries::dsFunction);
  ASSERT_NE(e.DataSourceEditor(), nullptr);
  EXPECT_NE(dynamic_cast<TKivFuncEditor*>(e.DataSourceEditor()), nullptr);
  EXPECT_EQ(e.DataSourceEditor()->Series(), &typed);
  EXPECT_TRUE(e.ChartGrid1->isHidden());
  EXPECT_FALSE(e.DataSourceEditor()->isHidden());
  ChooseItem(*e.CBDataSourcestyle, TFormKivSeries::dsRandom);
  EXPECT_EQ(e.DataSourceEditor(), nullptr);
  EXPECT_FALSE(e.Panel4->isHidden());
  ChooseItem(*e.CBDataSourcestyle, TFormKivSeries::dsManual);
  EXPECT_FALSE(e.ChartGrid1->isHidden());
  EXPECT_TRUE(e.Panel4->isHidden());
  EXPECT_EQ(FDialogs.Shown.size(), 0u);
}

TEST_F(SeriesEditor, AFunctionEditorWithAChangeNotAppliedVetoesThePageChange) {
  TLineSeries& target = Add("Target");
  Add("Source", 6);
  TFormKivSeries& e = Open(target);
  ClickTab(e.TabDataSource);
  ChooseItem(*e.CBDataSourcestyle, TFormKivSeries::dsFunction);
  ASSERT_NE(e.DataSourceEditor(), nullptr);
  ASSERT_TRUE(e.DataSourceEditor()->BApply->isEnabled());
  // Cancel: the page stays, and the editor with it.
  FDialogs.Answers.push_back(ui::mrCancel);
  ClickTab(e.TabGeneral);
  EXPECT_EQ(e.PageSeries->currentWidget(), e.TabDataSource);
  ASSERT_EQ(FDialogs.Shown.size(), 1u);
  EXPECT_EQ(FDialogs.Shown[0].Text, "Apply Changes ?");
  ASSERT_NE(e.DataSourceEditor(), nullptr);
  // The keys ask too.
  FDialogs.Answers.push_back(ui::mrCancel);
  QTest::keyClick(e.PageSeries->tabBar(), Qt::Key_Left);
  EXPECT_EQ(e.PageSeries->currentWidget(), e.TabDataSource);
  // No: the change goes and so does the page.
  FDialogs.Answers.push_back(ui::mrNo);
  ClickTab(e.TabGeneral);
  EXPECT_EQ(e.PageSeries->currentWidget(), e.TabGeneral);
  // The series has no function yet: back on its page, it is typed in again.
  ClickTab(e.TabDataSource);
  EXPECT_EQ(e.CBDataSourcestyle->currentText(), "Manual");
  EXPECT_EQ(e.DataSourceEditor(), nullptr);
  // Closing the form asks as well, once something waits again.
  ChooseItem(*e.CBDataSourcestyle, TFormKivSeries::dsFunction);
  ASSERT_NE(e.DataSourceEditor(), nullptr);
  ASSERT_TRUE(e.DataSourceEditor()->BApply->isEnabled());
  FDialogs.Answers.push_back(ui::mrCancel);
  e.close();
  EXPECT_TRUE(e.isVisible());
  FDialogs.Answers.push_back(ui::mrNo);
  e.close();
  EXPECT_FALSE(e.isVisible());
}

TEST_F(SeriesEditor, TheRandomPanelsDefaultBoxFollowsTheSampleCount) {
  TLineSeries& s = Add("Random", 8);
  const int byDefault = s.DefaultSampleCount();
  const struct {
    int Count;
    bool Default;
  } cases[] = {{0, true}, {byDefault, true}, {7, false}};
  for (const auto& c : cases) {
    s.SetNumSampleValues(c.Count);
    TFormKivSeries& e = Open(s);
    ClickTab(e.TabDataSource);
    EXPECT_EQ(e.CBSamplesDefault->isChecked(), c.Default) << c.Count;
    EXPECT_EQ(e.CBSamplesDefault->isEnabled(), !c.Default) << c.Count;
    EXPECT_EQ(e.ESamples->text(), QString::number(c.Count != 0 ? c.Count : byDefault));
    EXPECT_FALSE(e.BApplyRandom->isEnabled());
  }
  TFormKivSeries& e = Open(s);
  ClickTab(e.TabDataSource);
  TypeText(*e.ESamples, "12");
  EXPECT_EQ(s.NumSampleValues(), 12);
  EXPECT_TRUE(e.BApplyRandom->isEnabled());
  QTest::mouseClick(e.BApplyRandom, Qt::LeftButton);
  EXPECT_EQ(s.Count(), 12);
  EXPECT_FALSE(s.ManualData());
  // Only digits go in.
  TypeText(*e.ESamples, "x-3");
  EXPECT_EQ(e.ESamples->text(), "3");
  ui::ClickButton(e.CBSamplesDefault);
  EXPECT_EQ(e.ESamples->text(), QString::number(byDefault));
  EXPECT_TRUE(e.CBSamplesDefault->isChecked());
  EXPECT_FALSE(e.CBSamplesDefault->isEnabled());
  EXPECT_EQ(s.NumSampleValues(), byDefault);
}

TEST_F(SeriesEditor, ChoosingManualOrRandomCutsTheSeriesFromItsSourcesAndFunction) {
  TLineSeries& source = Add("Source", 6);
  TLineSeries& copy = Add("Copy");
  CreateSeriesFunction(copy, TKivFunction::StaticClassInfo());
  copy.SetDataSource(&source);
  TFormKivSeries& e = Open(copy);
  ClickTab(e.TabDataSource);
  EXPECT_EQ(e.CBDataSourcestyle->currentText(), "Function");
  ChooseItem(*e.CBDataSourcestyle, TFormKivSeries::dsManual);
  EXPECT_EQ(copy.FunctionType(), nullptr);
  EXPECT_EQ(copy.DataSource(), nullptr);
  EXPECT_TRUE(copy.ManualData());
  // The page shows what the series now is, however often it is filled again.
  ClickTab(e.TabGeneral);
  ClickTab(e.TabDataSource);
  EXPECT_EQ(e.CBDataSourcestyle->currentText(), "Manual");
  // A change of the source reaches it no more.
  const int points = copy.Count();
  source.Add(5);
  EXPECT_EQ(copy.Count(), points);
}

TEST_F(SeriesEditor, ARegisteredSourceKindBringsItsEditorAndTheButtonsItTakes) {
  RegisteredSourcesList().push_back(&TTestSource::StaticClassInfo());
  RegisterEditorForm("TTestSourceEditor", EditorFormFactory<TTestSourceEditor>());
  TLineSeries& s = Add("Fed");
  auto* source = new TTestSource(&s);
  source->SetSeries(&s);
  source->Open();
  TComponentLink<TTestSource> link;
  link.Set(source);
  ASSERT_EQ(s.Count(), 3);
  TFormKivSeries& e = Open(s);
  EXPECT_EQ(Items(*e.CBDataSourcestyle), (QStringList{"Manual", "Random", "Function", "Test file"}));
  ClickTab(e.TabDataSource);
  EXPECT_EQ(e.CBDataSourcestyle->currentText(), "Test file");
  auto* editor = dynamic_cast<TTestSourceEditor*>(e.DataSourceEditor());
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->Series(), &s);
  // Only the button its editor handles shows.
  EXPECT_FALSE(e.NewDataButton->isHidden());
  EXPECT_TRUE(e.EditDataButton->isHidden());
  EXPECT_TRUE(e.DeleteDataButton->isHidden());
  QTest::mouseClick(e.NewDataButton, Qt::LeftButton);
  EXPECT_EQ(editor->NewClicks, 1);
  // Typing the points instead: the series' own source goes, and its points with it.
  ChooseItem(*e.CBDataSourcestyle, TFormKivSeries::dsManual);
  EXPECT_EQ(link.Get(), nullptr);
  EXPECT_EQ(s.DataSource(), nullptr);
  EXPECT_EQ(s.Count(), 0);
  EXPECT_TRUE(e.NewDataButton->isHidden());
  FForm.reset();
  UnRegisterEditorForm("TTestSourceEditor");
  std::erase(RegisteredSourcesList(), &TTestSource::StaticClassInfo());
}

TEST_F(SeriesEditor, ASeriesThatGoesLeavesTheListAndTheEditor) {
  TLineSeries& first = Add("First", 5);
  TStemSeries& stem = Add<TStemSeries>("Stem", 5);
  TFormKivSeries& e = Open(stem);
  ClickTab(e.TabMarks);
  delete &first;
  EXPECT_EQ(Items(*e.CBSeries), QStringList{"Stem"});
  EXPECT_EQ(e.TheSeries(), &stem);
  delete &stem;
  EXPECT_EQ(e.CBSeries->count(), 0);
  EXPECT_EQ(e.TheSeries(), nullptr);
  EXPECT_TRUE(e.PageSeries->isHidden());
  EXPECT_TRUE(e.EmbeddedForms().empty());
  EXPECT_EQ(e.PageSeries->count(), 4);
}

TEST_F(SeriesEditor, ThePersistenceBoxAndTheHiddenDataSourceFollowTheStyleBits) {
  TLineSeries& s = Add("Prices", 5);
  s.SetStyle(16);
  auto form = std::make_unique<TFormKivSeries>();
  form->ShowTabPersistent = true;
  AddComboObject(*form->CBSeries, "Prices", &s);
  form->CBSeries->setCurrentIndex(0);
  form->CBSeriesChange();
  EXPECT_FALSE(form->CBPersistent->isHidden());
  EXPECT_TRUE(form->CBPersistent->isChecked());
  form->show();
  ui::ClickButton(form->CBPersistent);
  EXPECT_EQ(s.Style() & 16, 0);
  // The hide-data-source bit hides the page.
  s.SetStyle(32);
  FForm.reset();
  TFormKivSeries& e = Open(s);
  EXPECT_FALSE(TabShown(e.TabDataSource));
  EXPECT_TRUE(e.CBPersistent->isHidden());
}

TEST_F(SeriesEditor, TheColourBoxShowsAndEditsTheSeriesColour) {
  TLineSeries& s = Add("Prices", 5);
  s.SetSeriesColor(clRed);
  TFormKivSeries& e = Open(s);
  EXPECT_GT(testing::CountPixels(e.PaintBox1->grab().toImage(), e.PaintBox1->rect(), clRed), 5);
  FDialogs.ColorAnswers.push_back(clBlue);
  QTest::mouseClick(e.PaintBox1, Qt::LeftButton);
  EXPECT_EQ(s.SeriesColor(), clBlue);
  EXPECT_GT(testing::CountPixels(e.PaintBox1->grab().toImage(), e.PaintBox1->rect(), clBlue), 5);
}

TEST_F(SeriesEditor, ScreenshotsShowEveryPageOfALineSeries) {
  TLineSeries& s = Add("Prices");
  s.SetSeriesColor(clRed);
  for (double y : {12.5, 13.25, 11.0}) s.Add(y);
  s.SetManualData(true);
  TFormKivSeries& e = Open(s);

  ClickTab(e.TabGeneral);
  QImage shot = ui::Screenshot(e, "series_editor_general");
  EXPECT_GT(InkIn(shot, e, *e.LabelSeriesClass), 40);  // "Line: Prices"
  EXPECT_GT(InkIn(shot, e, *e.CBShowInLegend), 20);
  EXPECT_GT(InkIn(shot, e, *e.CBFormat), 20);
  EXPECT_GT(InkIn(shot, e, *e.CBHorizAxis), 20);  // "Bottom"
  const QRect box(e.PaintBox1->mapTo(&e, QPoint(0, 0)), e.PaintBox1->size());
  EXPECT_GT(testing::CountPixels(shot, box, clRed), 5);

  ClickTab(e.TabMarks);
  shot = ui::Screenshot(e, "series_editor_marks");
  EXPECT_GT(InkIn(shot, e, *e.RGMarkStyle), 200);
  EXPECT_GT(InkIn(shot, e, *e.CBMarksVisible), 20);
  e.PageControlMarks->setCurrentWidget(e.TabSheet2);
  shot = ui::Screenshot(e, "series_editor_arrows");
  EXPECT_GT(InkIn(shot, e, *e.BMarkLinCol), 20);
  EXPECT_GT(InkIn(shot, e, *e.CBHead), 10);

  ClickTab(e.TabDataSource);
  shot = ui::Screenshot(e, "series_editor_data");
  EXPECT_GT(InkIn(shot, e, *e.CBDataSourcestyle), 20);  // "Manual"
  EXPECT_GT(InkIn(shot, e, *e.ChartGrid1), 100);        // the values
  EXPECT_GT(InkIn(shot, e, *e.ChartGridNavigator1), 20);

  // The kind's own page: a point series' pointer.
  TPointSeries& points = Add<TPointSeries>("Points", 6);
  points.Pointer()->SetColor(clBlue);
  TFormKivSeries& p = Open(points);
  shot = ui::Screenshot(p, "series_editor_format");
  EXPECT_EQ(p.PageSeries->currentWidget(), p.TheTabSheet);
  auto* pointer = testing::FindForm<TSeriesPointerEditor>(*p.TheTabSheet);
  ASSERT_NE(pointer, nullptr);
  EXPECT_GT(InkIn(shot, p, *pointer->CBDrawPoint), 20);
  const QRect style(pointer->CBStyle->mapTo(&p, QPoint(2, 2)), QSize(16, pointer->CBStyle->height() - 4));
  EXPECT_GT(testing::CountPixels(shot, style, clBlue), 10);
}

}  // namespace
}  // namespace chart_editors
