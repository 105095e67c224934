// Covers what the chart adds to the class library's component stream
// (chart/series/SeriesStream.cpp, chart/series/SeriesMarks.cpp, chart/series/ChartElement.cpp,
// chart/tools/ToolBases.cpp, chart/KivPanel.cpp, chart/ChartControl.cpp,
// chart/core/ValueList.cpp, chart/core/KivStream.cpp): the "Items" bytes from a
// hand-built fixture, a whole chart through the binary stream and the text
// form, the obsolete names of older streams, and streams refused whole.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "chart/ChartControl.h"
#include "chart/core/KivStream.h"
#include "chart/functions/Functions.h"
#include "chart/series/SeriesMarks.h"
#include "chart/testing/ChartProbes.h"
#include "chart/testing/TestPointSeries.h"
#include "platform/classlib/ClassRegistry.h"
#include "platform/classlib/ComponentStream.h"
#include "platform/classlib/Streams.h"
#include "platform/classlib/WarningSink.h"
#include "testing/TestSupport.h"

namespace chart {
namespace {

using testing::AddPointSeries;
using testing::Bytes;
using testing::TTestPointSeries;

// An axis tool the reader can make.
class TTestAxisTool : public TKivCustomToolAxis {
  ORVEL_CLASS_INFO
 public:
  using TKivCustomToolAxis::TKivCustomToolAxis;
};

const classlib::TClassInfo& TTestAxisTool::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TTestAxisTool>("TTestAxisTool", TKivCustomToolAxis::StaticClassInfo())
          .Creatable()
          .Build();
  return info;
}

void RegisterTestClasses() {
  classlib::RegisterClasses({&TTestPointSeries::StaticClassInfo(), &TTestAxisTool::StaticClassInfo()});
}

void Fill(classlib::TMemoryStream& s, const std::vector<std::uint8_t>& bytes) {
  s.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  s.SetPosition(0);
}

// The item count, then per point one property list: a point without an item
// of its own carries the marks' common look (nothing differs from an item's
// defaults here), the second one its red colour.
TEST(ChartStream, TheItemsBytes) {
  TTestPointSeries s;
  s.AddXY(0, 1);
  s.AddXY(1, 2);
  s.Marks()->Item(1).SetColor(clRed);
  classlib::TMemoryStream m;
  s.Marks()->WriteItems(m);
  const std::vector<std::uint8_t> want{2, 0, 0, 0,                                             // count
                                       16, 0,                                                  // point 0
                                       16, 5, 'C', 'o', 'l', 'o', 'r', 3, 0xFF, 0x00, 0};  // point 1
  EXPECT_EQ(Bytes(m), want);
  // Read back: the first point gets an item with the common look, the second its red.
  TTestPointSeries t;
  t.AddXY(0, 1);
  t.AddXY(1, 2);
  classlib::TMemoryStream in;
  Fill(in, want);
  t.Marks()->ReadItems(in);
  EXPECT_EQ(t.Marks()->MarkItem(1).Color(), clRed);
  EXPECT_EQ(t.Marks()->MarkItem(0).Color(), clInfoBk);
  EXPECT_TRUE(t.Marks()->Items().LoadedFromStream);
}

TEST(ChartStream, ABadItemsBlobIsRefusedAndChangesNothing) {
  TTestPointSeries s;
  s.AddXY(0, 1);
  s.Marks()->Item(0).SetColor(clBlue);
  for (const std::vector<std::uint8_t>& bad : {std::vector<std::uint8_t>{0xE8, 3, 0, 0, 16, 0},  // 1000 items
                                               std::vector<std::uint8_t>{1, 0, 0, 0, 16},        // unfinished list
                                               std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFF}}) {
    classlib::TMemoryStream in;
    Fill(in, bad);
    EXPECT_THROW(s.Marks()->ReadItems(in), classlib::EReadError);
    EXPECT_EQ(s.Marks()->MarkItem(0).Color(), clBlue);
  }
}

// A chart with everything the stream carries beyond plain properties.
void BuildChart(TChart& chart) {
  chart.SetName("Chart1");
  chart.Title()->SetText({"Prices", "hourly"});
  chart.Legend()->SetAlignment(laBottom);
  chart.BottomWall()->SetSize(3);
  chart.SetPrintMargins({10, 15, 20, 15});
  TChartAxis* price = chart.CustomAxes().Add();
  price->SetHorizontal(false);
  price->SetOtherSide(true);
  price->SetStartPosition(78);
  TChartAxis* thin = chart.CustomAxes().Add();
  thin->SetHorizontal(false);
  thin->SetStartPosition(76);
  thin->SetEndPosition(77);
  thin->SetMinMax(-5, 5);

  TTestPointSeries* a = AddPointSeries(chart, "Close");
  a->SetTitle("Close");
  a->SetAlwaysStoreData(true);
  a->SetIdentifier("close-1");
  a->SetStyle(0x21);
  for (int i = 0; i < 12; ++i) a->AddXY(1 + i * 0.5, 100 + (i * 7) % 5, i == 3 ? "third" : "");
  a->SetValueColor(5, clRed);
  a->Marks()->SetVisible(true);
  a->Marks()->SetStyle(smsValue);
  a->Marks()->SetMultiLine(true);
  a->Marks()->Item(2).SetColor(clYellow);
  a->SetCustomVertAxis(thin);

  TTestPointSeries* b = AddPointSeries(chart, "Smooth");
  auto* f = new TKivMovingFunction(&chart);
  f->SetName("Moving1");
  f->SetPeriod(3);
  b->SetFunction(f);
  b->SetDataSource(a);

  TTestPointSeries* both = AddPointSeries(chart, "Both");
  both->SetFunction(new TKivFunction(&chart));
  both->AddDataSource(*a);
  both->AddDataSource(*b);

  auto* tool = new TTestAxisTool(&chart);
  tool->SetName("Tool1");
  tool->SetAxis(chart.RightAxis());
}

void ExpectLikeTheBuiltChart(TChart& chart) {
  ASSERT_EQ(chart.SeriesCount(), 3);
  TChartSeries* a = chart.Series(0);
  TChartSeries* b = chart.Series(1);
  TChartSeries* both = chart.Series(2);
  EXPECT_EQ(a->Name(), "Close");
  EXPECT_EQ(a->Identifier(), "close-1");
  EXPECT_EQ(a->Style(), 0x21);
  ASSERT_EQ(a->Count(), 12);
  EXPECT_EQ(a->XValues()->Value(11), 6.5);
  EXPECT_EQ(a->YValues()->Value(4), 103);
  EXPECT_EQ(a->Labels().GetLabel(3), "third");
  EXPECT_EQ(a->ValueColor(5), clRed);
  EXPECT_EQ(a->Marks()->MarkItem(2).Color(), clYellow);
  ASSERT_EQ(chart.CustomAxes().Count(), 2);
  EXPECT_EQ(a->GetVertAxis(), chart.CustomAxes().Items(1));
  EXPECT_EQ(chart.CustomAxes().Items(1)->Minimum(), -5);
  EXPECT_EQ(chart.CustomAxes().Items(0)->StartPosition(), 78);
  EXPECT_EQ(b->DataSource(), a);
  ASSERT_NE(b->FunctionType(), nullptr);
  EXPECT_EQ(b->FunctionType()->Period(), 3);
  EXPECT_EQ(b->Count(), 10);  // the moving function over the loaded points
  EXPECT_EQ(both->DataSources(), (std::vector<classlib::TComponent*>{a, b}));
  ASSERT_EQ(chart.Tools().Count(), 1);
  EXPECT_EQ(dynamic_cast<TKivCustomToolAxis*>(chart.Tools()[0])->Axis(), chart.RightAxis());
  EXPECT_EQ(chart.Title()->Text(), (std::vector<std::string>{"Prices", "hourly"}));
  EXPECT_EQ(chart.PrintMargins()[2], 20);
}

TEST(ChartStream, AWholeChartThroughTheBinaryStreamAndTheTextForm) {
  RegisterTestClasses();
  TChart chart;
  BuildChart(chart);
  const std::string text = classlib::ComponentToText(chart);
  // The binary stream.
  {
    classlib::TMemoryStream m;
    classlib::WriteComponent(m, chart);
    m.SetPosition(0);
    TChart back;
    classlib::TWarningRecorder warnings;
    classlib::ReadComponent(m, back);
    EXPECT_TRUE(warnings.Warnings().empty()) << warnings.Warnings().front();
    ExpectLikeTheBuiltChart(back);
    EXPECT_EQ(classlib::ComponentToText(back), text);
  }
  // The text form.
  {
    TChart back;
    classlib::TWarningRecorder warnings;
    classlib::ReadComponentText(text, back);
    EXPECT_TRUE(warnings.Warnings().empty()) << warnings.Warnings().front();
    ExpectLikeTheBuiltChart(back);
    EXPECT_EQ(classlib::ComponentToText(back), text);
  }
  // Nothing is written that holds nothing.
  TChart plain;
  AddPointSeries(plain, "Series1")->AddXY(0, 1);
  const std::string plainText = classlib::ComponentToText(plain);
  for (const char* name : {"Identifier", "Style", "DataSources", "CustomVertAxis", "Data", "Items", "PrintMargins",
                           "CustomAxes", "AxisID"})
    EXPECT_EQ(plainText.find(std::string(name) + " ="), std::string::npos) << name << "\n" << plainText;
}

// An axis title is a framed shape without being a TKivShape: its shape rows
// (bevel, colour, font, pen, ...) reach it as what it is, both ways, and are
// written under the names a shape writes. The chart title and the custom
// labels of an axis are built the same way.
TEST(ChartStream, AnAxisTitleThroughTheBinaryStreamAndTheTextForm) {
  for (const classlib::TClassInfo* c : {&TChartAxisTitle::StaticClassInfo(), &TAxisItem::StaticClassInfo(),
                                        &TKivCustomShapePosition::StaticClassInfo()}) {
    EXPECT_TRUE(c->InheritsFrom(TKivCustomShape::StaticClassInfo())) << c->ClassName();
    EXPECT_FALSE(c->InheritsFrom(TKivShape::StaticClassInfo())) << c->ClassName();
  }
  TChart chart;
  TChartAxisTitle& title = *chart.LeftAxis()->Title();
  title.SetCaption("Price");
  title.SetAngle(45);
  title.SetBevel(bvRaised);
  title.SetColor(clYellow);
  title.SetTransparent(false);
  title.Font()->SetColor(clRed);
  title.Pen()->SetWidth(2);
  chart.Title()->SetBevel(bvLowered);
  const std::string text = classlib::ComponentToText(chart);
  for (const char* row : {"LeftAxis.Title.Bevel = bvRaised", "LeftAxis.Title.Color = 65535",
                          "LeftAxis.Title.Transparent = False", "LeftAxis.Title.Caption = 'Price'",
                          "LeftAxis.Title.Angle = 45", "Title.Bevel = bvLowered"})
    EXPECT_NE(text.find(row), std::string::npos) << row << "\n" << text;
  auto expectLikeTheTitle = [&](TChart& back) {
    const TChartAxisTitle& t = *back.LeftAxis()->Title();
    EXPECT_EQ(t.Caption(), "Price");
    EXPECT_EQ(t.Angle(), 45);
    EXPECT_EQ(t.Bevel(), bvRaised);
    EXPECT_EQ(t.Color(), clYellow);
    EXPECT_FALSE(t.Transparent());
    EXPECT_EQ(t.Font()->Color(), clRed);
    EXPECT_EQ(t.Pen()->Width(), 2);
    EXPECT_EQ(back.Title()->Bevel(), bvLowered);
    EXPECT_EQ(classlib::ComponentToText(back), text);
  };
  {
    classlib::TMemoryStream m;
    classlib::WriteComponent(m, chart);
    m.SetPosition(0);
    TChart back;
    classlib::ReadComponent(m, back);
    expectLikeTheTitle(back);
  }
  {
    TChart back;
    classlib::ReadComponentText(text, back);
    expectLikeTheTitle(back);
  }
}

// Older streams: names that are read into their new homes and never written back.
TEST(ChartStream, ObsoleteNamesAreReadAndNotWrittenBack) {
  RegisterTestClasses();
  const std::string old = R"(object Chart1: TChart
  BorderStyle = bsNone
  AllowZoom = False
  AnimatedZoom = True
  AnimatedZoomSteps = 5
  BackColor = clYellow
  PrintMargins = (
    10
    15
    15
    15)
  Legend.ShadowColor = clRed
  Legend.ShadowSize = 5
  object Series1: TTestPointSeries
    XValues.Multiplier = 1.0
    YValues.Multiplier = 2.5
  end
end
)";
  TChart chart;
  chart.Border()->SetVisible(true);
  classlib::TWarningRecorder warnings;
  classlib::ReadComponentText(old, chart);
  ASSERT_EQ(warnings.Warnings().size(), 1u);  // only the multiplier other than 1
  EXPECT_EQ(warnings.Warnings()[0],
            "Error: Multiplier property is obsolete.\rModify KivDefs.inc (enable Multiplier) and recompile.");
  EXPECT_FALSE(chart.Border()->Visible());
  EXPECT_FALSE(chart.Zoom()->Allow());
  EXPECT_TRUE(chart.Zoom()->Animated());
  EXPECT_EQ(chart.Zoom()->AnimatedSteps(), 5);
  EXPECT_EQ(chart.BackWall()->Color(), clYellow);
  EXPECT_EQ(chart.PrintMargins()[0], 10);
  EXPECT_EQ(chart.Legend()->Shadow()->Color(), clRed);
  EXPECT_EQ(chart.Legend()->Shadow()->HorizSize(), 5);
  EXPECT_EQ(chart.Legend()->Shadow()->VertSize(), 5);
  const std::string again = classlib::ComponentToText(chart);
  for (const char* name : {"BorderStyle", "AllowZoom", "AnimatedZoom", "BackColor", "ShadowColor", "ShadowSize",
                           "Multiplier"})
    EXPECT_EQ(again.find(name), std::string::npos) << name << "\n" << again;
  EXPECT_NE(again.find("PrintMargins"), std::string::npos);
  // "BorderStyle" other than bsNone shows the frame; colours also come as numbers.
  classlib::ReadComponentText("object Chart1: TChart\n  BorderStyle = bsSingle\n  BackColor = 255\nend\n", chart);
  EXPECT_TRUE(chart.Border()->Visible());
  EXPECT_EQ(chart.BackWall()->Color(), clRed);
}

TEST(ChartStream, ColourNames) {
  TColor c = 0;
  EXPECT_TRUE(IdentToColor("clInfoBk", c));
  EXPECT_EQ(c, clInfoBk);
  EXPECT_TRUE(IdentToColor("CLNAVY", c));
  EXPECT_EQ(c, clNavy);
  EXPECT_FALSE(IdentToColor("clPlum", c));
  TChart chart;
  EXPECT_TRUE(orvel::testing::Raises<classlib::EReadError>(
      [&] { classlib::ReadComponentText("object Chart1: TChart\n  BackColor = clPlum\nend\n", chart); },
      "Error reading Chart1.BackColor at line 2: Invalid property value: no colour is named clPlum"));
}

// A stream cut short, or one whose points do not fit their record, is refused
// with a message, and the chart keeps everything it had.
TEST(ChartStream, ATruncatedOrCorruptedStreamLeavesTheChartAsItWas) {
  RegisterTestClasses();
  TChart source;
  BuildChart(source);
  classlib::TMemoryStream m;
  classlib::WriteComponent(m, source);
  std::vector<std::uint8_t> bytes = Bytes(m);

  TChart target;
  target.SetName("Chart1");
  AddPointSeries(target, "Mine")->AddXY(1, 2);
  target.Title()->SetCaption("keep me");
  const std::string before = classlib::ComponentToText(target);

  bytes.resize(bytes.size() - 20);
  classlib::TMemoryStream cut;
  Fill(cut, bytes);
  EXPECT_THROW(classlib::ReadComponent(cut, target), classlib::EReadError);
  EXPECT_EQ(classlib::ComponentToText(target), before);

  // A "Data" record that claims more points than it holds.
  std::string text = classlib::ComponentToText(source);
  const std::size_t data = text.find("Data = {");
  ASSERT_NE(data, std::string::npos);
  text.replace(data + 8, text.find('}', data) - data - 8, "\n      0163000000000000000000F03F");
  try {
    classlib::ReadComponentText(text, target);
    ADD_FAILURE() << "a short data record was accepted";
  } catch (const classlib::EReadError& e) {
    EXPECT_NE(e.Message().find("99 points do not fit"), std::string::npos) << e.Message();
  }
  EXPECT_EQ(classlib::ComponentToText(target), before);
}

}  // namespace
}  // namespace chart
