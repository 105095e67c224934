// How a series turns a point into text (marks and legend) and draws its
// marks, its legend symbol and its values.
//
// Tested by: chart/tests/SeriesTextsTest.cpp
#include "chart/series/SeriesData.h"

#include <algorithm>
#include <cmath>

#include "chart/AxisPanel.h"
#include "chart/ChartAxis.h"
#include "chart/core/KivConst.h"
#include "chart/core/KivProcsDateTime.h"
#include "chart/series/SeriesMarks.h"
#include "platform/classlib/SysUtils.h"

namespace chart {

std::string TChartSeries::ValueText(int valueIndex) const {
  return classlib::FormatFloat(FValueFormat, GetMarkValue(valueIndex));
}

std::string TChartSeries::PercentText(int valueIndex) const {
  const double total = FMandatory->TotalABS();
  const double percent = total == 0 ? 100.0 : std::fabs(GetMarkValue(valueIndex)) * 100.0 / total;
  return classlib::FormatFloat(FPercentFormat, percent);
}

std::string TChartSeries::XText(int valueIndex) const {
  const double x = FNotMandatory->Value(valueIndex);
  TChartAxis* axis = FYMandatory ? FBoundHorizAxis : FBoundVertAxis;
  if (axis != nullptr) return axis->LabelValue(x);
  return classlib::FormatFloat(FValueFormat, x);
}

std::string TChartSeries::GetMarkText(int valueIndex) const {
  const std::string sep = FMarks->MultiLine() ? std::string(1, ChartLineSeparator) : std::string(" ");
  auto labelText = [&] {
    const std::string& l = FLabels.GetLabel(valueIndex);
    return l.empty() ? ValueText(valueIndex) : l;
  };
  auto percentTotal = [&] {
    const std::string total = classlib::FormatFloat(FValueFormat, FMandatory->TotalABS());
    return FormatKivMsg(FMarks->MultiLine() ? msgValueOfTotalLines : msgValueOfTotal,
                        {PercentText(valueIndex), total});
  };
  std::string text;
  switch (FMarks->Style()) {
    case smsValue: text = ValueText(valueIndex); break;
    case smsPercent: text = PercentText(valueIndex); break;
    case smsLabel: text = labelText(); break;
    case smsLabelPercent: text = labelText() + sep + PercentText(valueIndex); break;
    case smsLabelValue: text = labelText() + sep + ValueText(valueIndex); break;
    case smsLegend:
      if (FParentChart != nullptr)
        text = FParentChart->LegendValueText(const_cast<TChartSeries*>(this), valueIndex);
      break;
    case smsPercentTotal: text = percentTotal(); break;
    case smsLabelPercentTotal: text = labelText() + sep + percentTotal(); break;
    case smsXValue: text = XText(valueIndex); break;
    case smsXY: text = XText(valueIndex) + sep + ValueText(valueIndex); break;
  }
  if (OnGetMarkText) OnGetMarkText(const_cast<TChartSeries&>(*this), valueIndex, text);
  return text;
}

std::string TChartSeries::LegendString(int legendIndex, TLegendTextStyle style) const {
  const int i = LegendToValueIndex(legendIndex);
  const std::string label = FLabels.GetLabel(i);
  const std::string sep(1, LegendColumnSeparator);
  auto value = [&] {
    // The date, and the time of day unless it is midnight.
    if (FMandatory->DateTime()) return classlib::FormatDateTime("c", GetMarkValue(i));
    return ValueText(i);
  };
  switch (style) {
    case ltsPlain: return label;
    case ltsLeftValue: return label.empty() ? value() : value() + sep + label;
    case ltsRightValue: return label.empty() ? value() : label + sep + value();
    case ltsLeftPercent: return label.empty() ? PercentText(i) : PercentText(i) + sep + label;
    case ltsRightPercent: return label.empty() ? PercentText(i) : label + sep + PercentText(i);
    case ltsXValue: return XText(i);
    case ltsValue: return value();
    case ltsPercent: return PercentText(i);
    case ltsXAndValue: return XText(i) + sep + value();
    case ltsXAndPercent: return XText(i) + sep + PercentText(i);
  }
  return label;
}

void TChartSeries::DoBeforeDrawValues() {
  if (BeforeDrawValues) BeforeDrawValues(*this);
}

void TChartSeries::DoAfterDrawValues() {
  if (AfterDrawValues) AfterDrawValues(*this);
}

void TChartSeries::DrawAllValues() {
  if (FFirstVisible < 0) return;
  if (DrawValuesForward())
    for (int i = FFirstVisible; i <= FLastVisible; ++i) DrawValue(i);
  else
    for (int i = FLastVisible; i >= FFirstVisible; --i) DrawValue(i);
}

void TChartSeries::DrawMark(int valueIndex, const std::string& text, TSeriesMarkPosition& position) {
  FMarks->DrawItem(valueIndex, ValueColor(valueIndex), text, position);
}

void TChartSeries::DrawMarks() {
  if (FParentChart == nullptr || FFirstVisible < 0) return;
  TCanvas3D& c = FParentChart->Canvas();
  TSeriesMarkPosition position;
  const int every = std::max(1, FMarks->DrawEvery());
  for (int i = FFirstVisible; i <= FLastVisible && i < Count(); ++i) {
    if (i % every != 0 || IsNull(i)) continue;
    const std::string text = GetMarkText(i);
    if (text.empty() || !FMarks->ItemVisible(i)) continue;
    TKivCustomShape& item = FMarks->MarkItem(i);
    c.AssignFont(*item.Font());
    const std::vector<std::string> lines = TChartAxis::LabelLines(text);
    std::int32_t w = 0;
    for (const std::string& l : lines) w = std::max(w, c.TextWidth(l));
    w += c.TextWidth("W");
    std::int32_t h = c.FontHeight() * static_cast<std::int32_t>(lines.size());
    if (item.Pen()->Visible()) {
      w += 2 * item.Pen()->Width();
      h += 2 * item.Pen()->Width();
    } else {
      h += 1;
    }
    position.Width = w;
    position.Height = h;
    position.ArrowTo = {CalcXPos(i), CalcYPos(i)};
    position.ArrowFrom = position.ArrowTo;
    position.LeftTop = {position.ArrowTo.X - w / 2, position.ArrowTo.Y - h + 1};
    DrawMark(i, text, position);
  }
}

std::int32_t TChartSeries::MaxMarkWidth() {
  std::int32_t w = 0;
  for (int i = 0; i < Count(); ++i)
    if (FMarks->ItemVisible(i)) w = std::max(w, FMarks->TextWidth(i, GetMarkText(i)));
  return w;
}

void TChartSeries::DrawLegend(int valueIndex, const TRect& rect) {
  if (FParentChart == nullptr) return;
  if (valueIndex == -1 && FColorEachPoint) return;
  TCanvas3D& c = FParentChart->Canvas();
  const TColor color = valueIndex == -1 ? FSeriesColor : LegendItemColor(valueIndex);
  if (color == clNullPoint) return;
  TColor back = FParentChart->LegendColor;
  if (back == clDefault) back = FParentChart->Color();
  TBrushStyle brushStyle = Brush()->Style();
  const TBrushStyle saved = brushStyle;
  PrepareLegendCanvas(valueIndex, back, brushStyle);
  if (FParentChart->LegendPen != nullptr)
    c.AssignVisiblePen(*FParentChart->LegendPen);
  else
    c.AssignVisiblePen(*Pen());
  if (brushStyle != saved) Brush()->SetStyle(brushStyle);
  c.AssignBrushColor(*Brush(), color, back);
  DrawLegendShape(valueIndex, rect);
  if (brushStyle != saved) Brush()->SetStyle(saved);
}

void TChartSeries::DrawLegendShape(int valueIndex, const TRect& rect) {
  (void)valueIndex;
  TCanvas3D& c = FParentChart->Canvas();
  c.Rectangle(rect);
  TColor back = FParentChart->LegendColor;
  if (c.Brush().Color() == back) {
    c.Brush().SetStyle(bsClear);
    c.Pen().SetStyle(psSolid);
    c.Pen().SetColor(back == clBlack ? clWhite : clBlack);
    c.Rectangle(rect);
  }
}

std::string SeriesTitleOrName(const TChartSeries& series) {
  if (!series.Title().empty()) return series.Title();
  if (!series.Name().empty()) return series.Name();
  if (TCustomAxisPanel* chart = series.ParentChart()) {
    const auto& list = chart->SeriesList();
    const auto it = std::find(list.begin(), list.end(), &series);
    if (it != list.end()) return "Series" + std::to_string(it - list.begin() + 1);
  }
  return "";
}

}  // namespace chart
