// Candle and volume series: candle colours, the four candle styles in 2D and
// 3D, the click test, gallery styles; volume lines from their origin.
//
// Tested by: chart/tests/CandleSeriesTest.cpp
#include "chart/series/CandleSeries.h"

#include <algorithm>
#include <span>
#include <typeinfo>

#include "chart/AxisPanel.h"
#include "chart/ChartAxis.h"
#include "chart/core/KivConst.h"
#include "chart/core/KivProCo.h"
#include "chart/core/KivProcsRoutines.h"
#include "chart/series/SeriesLines.h"

namespace chart {

using classlib::TClassBuilder;
using classlib::TClassInfo;

const TClassInfo& TCandleSeries::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TCandleSeries>("TCandleSeries", TOHLCSeries::StaticClassInfo())
          .Property("CandleStyle", &TCandleSeries::CandleStyle, &TCandleSeries::SetCandleStyle, csCandleStick)
          .TypeName("TCandleStyle")
          .Names({"csCandleStick", "csCandleBar", "csOpenClose", "csLine"})
          .Property("CandleWidth", &TCandleSeries::CandleWidth, &TCandleSeries::SetCandleWidth, 4)
          .Property("Draw3D", &TCandleSeries::Draw3D, &TCandleSeries::SetDraw3D, false)
          .Property("Dark3D", &TCandleSeries::Dark3D, &TCandleSeries::SetDark3D, true)
          .Property("DownCloseColor", &TCandleSeries::DownCloseColor, &TCandleSeries::SetDownCloseColor, clRed)
          .TypeName("TColor")
          .Property("ShowCloseTick", &TCandleSeries::ShowCloseTick, &TCandleSeries::SetShowCloseTick, true)
          .Property("ShowOpenTick", &TCandleSeries::ShowOpenTick, &TCandleSeries::SetShowOpenTick, true)
          .Property("UpCloseColor", &TCandleSeries::UpCloseColor, &TCandleSeries::SetUpCloseColor, clWhite)
          .TypeName("TColor")
          .SubObject("Pen", &TCandleSeries::Pen)
          .TypeName("TChartPen")
          .Creatable()
          .Build();
  return info;
}

TCandleSeries::TCandleSeries(classlib::TComponent* owner) : TOHLCSeries(owner) {
  Pointer()->SetDraw3D(false);
}

void TCandleSeries::SetCandleStyle(TCandleStyle v) {
  if (FCandleStyle == v) return;
  FCandleStyle = v;
  Pointer()->SetVisible(v != csLine);
  Invalidate();
}

void TCandleSeries::Assign(const classlib::TPersistent& source) {
  if (auto* s = dynamic_cast<const TCandleSeries*>(&source)) {
    FCandleWidth = s->FCandleWidth;
    FCandleStyle = s->FCandleStyle;
    FUpCloseColor = s->FUpCloseColor;
    FDownCloseColor = s->FDownCloseColor;
    FShowOpenTick = s->FShowOpenTick;
    FShowCloseTick = s->FShowCloseTick;
  }
  TOHLCSeries::Assign(source);
}

TColor TCandleSeries::CandleColor(int i) const {
  const TColor own = ValueColor(i);
  if (own != SeriesColor()) return own;
  const double open = OpenValues()->Value(i), close = CloseValues()->Value(i);
  if (close < open) return FDownCloseColor;
  if (close > open) return FUpCloseColor;
  if (i == 0) return FUpCloseColor;
  const double previous = CloseValues()->Value(i - 1);
  if (close < previous) return FDownCloseColor;
  if (close > previous) return FUpCloseColor;
  return ValueColor(i - 1);
}

double TCandleSeries::MaxYValue() const {
  return FCandleStyle == csLine ? CloseValues()->MaxValue() : TOHLCSeries::MaxYValue();
}

double TCandleSeries::MinYValue() const {
  return FCandleStyle == csLine ? CloseValues()->MinValue() : TOHLCSeries::MinYValue();
}

TCandleSeries::TCandleGeometry TCandleSeries::Geometry(int i) const {
  TCandleGeometry g;
  TChartAxis* h = GetHorizAxis();
  TChartAxis* v = GetVertAxis();
  if (h == nullptr || v == nullptr) return g;
  g.X = h->CalcXPosValue(DateValues()->Value(i));
  g.Open = v->CalcYPosValue(OpenValues()->Value(i));
  g.Close = v->CalcYPosValue(CloseValues()->Value(i));
  g.High = v->CalcYPosValue(HighValues()->Value(i));
  g.Low = v->CalcYPosValue(LowValues()->Value(i));
  g.LeftHalf = FCandleWidth / 2;
  g.RightHalf = FCandleWidth - g.LeftHalf;
  return g;
}

bool TCandleSeries::FirstDrawn(int i) const {
  return i == (DrawValuesForward() ? FirstValueIndex() : LastValueIndex());
}

void TCandleSeries::DrawValue(int i) {
  TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr) return;
  if (OnGetPointerStyle) OnGetPointerStyle(*this, i);
  TCanvas3D& c = chart->Canvas();
  Pointer()->PrepareCanvas(c, clDefault);
  TCandleGeometry g = Geometry(i);
  const bool is3D = chart->View3D();
  const std::int32_t z = MiddleZ;
  const TColor color = CandleColor(i);
  auto vertLine = [&](std::int32_t x, std::int32_t y0, std::int32_t y1) { SeriesVertLine(c, is3D, x, y0, y1, z); };
  auto horizLine = [&](std::int32_t x0, std::int32_t x1, std::int32_t y) { SeriesHorizLine(c, is3D, x0, x1, y, z); };
  switch (FCandleStyle) {
    case csLine: {
      if (!FirstDrawn(i) && !IsNull(i)) {
        c.AssignVisiblePenColor(*Pen(), color);
        c.SetBackMode(TRANSPARENT);
        if (is3D)
          c.LineWithZ(FOldX, FOldY, g.X, g.Close, z);
        else
          c.Line(FOldX, FOldY, g.X, g.Close);
      }
      FOldX = g.X;
      FOldY = g.Close;
      return;
    }
    case csCandleBar:
      c.AssignVisiblePenColor(*Pen(), color);
      c.SetBackMode(TRANSPARENT);
      vertLine(g.X, g.Low, g.High);
      if (FShowOpenTick) horizLine(g.X, g.X - g.LeftHalf - 1, g.Open);
      if (FShowCloseTick) horizLine(g.X, g.X + g.RightHalf + 1, g.Close);
      return;
    case csCandleStick:
    case csOpenClose:
      break;
  }
  const bool stick = FCandleStyle == csCandleStick;
  if (is3D && Pointer()->Draw3D()) {
    const std::int32_t top = std::min(g.Open, g.Close), bottom = std::max(g.Open, g.Close);
    if (stick) c.VertLine3D(g.X, bottom, g.Low, z);
    c.Brush().SetColor(color);
    if (g.Open == g.Close) c.Pen().SetColor(color);
    c.Cube(g.X - g.LeftHalf, g.X + g.RightHalf, top, bottom, StartZ, EndZ, Pointer()->Dark3D());
    if (stick) c.VertLine3D(g.X, top, g.High, z);
    return;
  }
  if (is3D) {
    if (stick) vertLine(g.X, g.Low, g.High);
    if (g.Open == g.Close) --g.Close;
    c.Brush().SetColor(color);
    c.RectangleWithZ({g.X - g.LeftHalf, g.Open, g.X + g.RightHalf, g.Close}, z);
    return;
  }
  DrawFlatCandle(c, g, color);
}

void TCandleSeries::DrawFlatCandle(TCanvas3D& c, TCandleGeometry g, TColor color) {
  if (FCandleStyle == csCandleStick) c.DoVertLine(g.X, g.Low, g.High);
  if (g.Open == g.Close) --g.Close;
  c.Brush().SetColor(color);
  if (!Pen()->Visible()) {
    if (g.Open < g.Close)
      --g.Open;
    else
      --g.Close;
  }
  c.Rectangle(g.X - g.LeftHalf, g.Open, g.X + g.RightHalf + 1, g.Close);
}

bool TCandleSeries::DrawsCandlesInOneLoop() const { return typeid(*this) == typeid(TCandleSeries); }

void TCandleSeries::DrawAllValues() {
  TCustomAxisPanel* chart = ParentChart();
  const TChartAxis* h = GetHorizAxis();
  const TChartAxis* v = GetVertAxis();
  const int first = FirstValueIndex(), last = LastValueIndex();
  if (!DrawsCandlesInOneLoop() || chart == nullptr || h == nullptr || v == nullptr || chart->View3D() ||
      OnGetPointerStyle || (FCandleStyle != csCandleStick && FCandleStyle != csOpenClose) || first < 0 ||
      (DrawLine() && OutLine()->Visible())) {
    TOHLCSeries::DrawAllValues();
    return;
  }
  TCanvas3D& c = chart->Canvas();
  // What DrawValue sets up for every bar is the same for all of them.
  Pointer()->PrepareCanvas(c, clDefault);
  const TAxisScale& hs = h->Scale();
  const TAxisScale& vs = v->Scale();
  const bool linear = hs.IsLinear() && vs.IsLinear();
  const TLinearPixelMap xMap = hs.LinearMap(true), yMap = vs.LinearMap(false);
  const std::span<const double> dates = DateValues()->Values(), open = OpenValues()->Values(),
                                close = CloseValues()->Values(), high = HighValues()->Values(),
                                low = LowValues()->Values();
  const bool forward = DrawValuesForward();
  for (int k = 0; k <= last - first; ++k) {
    const int i = forward ? first + k : last - k;
    TCandleGeometry g;
    if (linear) {
      g.X = xMap(dates[i]);
      g.Open = yMap(open[i]);
      g.Close = yMap(close[i]);
      g.High = yMap(high[i]);
      g.Low = yMap(low[i]);
      g.LeftHalf = FCandleWidth / 2;
      g.RightHalf = FCandleWidth - g.LeftHalf;
    } else {
      g = Geometry(i);
    }
    DrawFlatCandle(c, g, CandleColor(i));
  }
}

int TCandleSeries::Clicked(std::int32_t x, std::int32_t y) {
  const int first = FirstValueIndex(), last = LastValueIndex();
  if (first < 0 || last < 0) return -1;
  TCustomAxisPanel* chart = ParentChart();
  if (chart != nullptr) chart->Canvas().Calculate2DPosition(x, y, StartZ);
  const bool is3D = chart != nullptr && chart->View3D();
  const TPoint p{x, y};
  auto onLine = [&](std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1) {
    return PointInLineTolerance(p, x0, y0, x1, y1, 0);
  };
  for (int i = first; i <= last && i < Count(); ++i) {
    TCandleGeometry g = Geometry(i);
    switch (FCandleStyle) {
      case csLine: {
        const bool hit = !FirstDrawn(i) && onLine(FOldX, FOldY, g.X, g.Close);
        FOldX = g.X;
        FOldY = g.Close;
        if (hit) return i;
        continue;
      }
      case csCandleBar:
        if (onLine(g.X, g.Low, g.X, g.High) ||
            (FShowOpenTick && onLine(g.X, g.Open, g.X - g.LeftHalf - 1, g.Open)) ||
            (FShowCloseTick && onLine(g.X, g.Close, g.X + g.RightHalf + 1, g.Close)))
          return i;
        continue;
      case csCandleStick:
      case csOpenClose:
        break;
    }
    const bool stick = FCandleStyle == csCandleStick;
    TRect body;
    if (is3D && Pointer()->Draw3D()) {
      const std::int32_t top = std::min(g.Open, g.Close), bottom = std::max(g.Open, g.Close);
      if (stick && (onLine(g.X, bottom, g.X, g.Low) || onLine(g.X, top, g.X, g.High))) return i;
      body = {g.X - g.LeftHalf, top, g.X + g.RightHalf, bottom};
    } else {
      if (stick && onLine(g.X, g.Low, g.X, g.High)) return i;
      if (g.Open == g.Close) --g.Close;
      std::int32_t right = g.X + g.RightHalf;
      if (!is3D) {
        if (!Pen()->Visible()) {
          if (g.Open < g.Close)
            --g.Open;
          else
            --g.Close;
        }
        ++right;
      }
      body = {g.X - g.LeftHalf, std::min(g.Open, g.Close), right, std::max(g.Open, g.Close)};
    }
    if (PointInRect(body, x, y)) return i;
  }
  return -1;
}

void TCandleSeries::ListSubStyles(const std::function<void(const std::string&)>& callback) {
  TOHLCSeries::ListSubStyles(callback);
  for (int m : {int(msgSubStyleBar), int(msgSubStyleNoOpen), int(msgSubStyleNoClose), 179, 209}) callback(KivMsg(m));
}

void TCandleSeries::ApplySubStyle(int subStyle) {
  switch (subStyle) {
    case 1: SetCandleStyle(csCandleBar); break;
    case 2:
      Pen()->SetVisible(true);
      SetCandleStyle(csCandleBar);
      SetShowOpenTick(false);
      break;
    case 3:
      Pen()->SetVisible(true);
      SetCandleStyle(csCandleBar);
      SetShowCloseTick(false);
      break;
    case 4:
      SetCandleStyle(csCandleStick);
      Pen()->SetVisible(false);
      break;
    case 5: SetCandleStyle(csLine); break;
    default: TOHLCSeries::ApplySubStyle(subStyle);
  }
}

void TCandleSeries::PrepareForGallery(bool enabled) {
  TOHLCSeries::PrepareForGallery(enabled);
  FillSampleValues(4);
  SetColorEachPoint(enabled);
  if (enabled) {
    FUpCloseColor = clBlue;
  } else {
    FUpCloseColor = clSilver;
    FDownCloseColor = clGray;
    Pen()->SetColor(clGray);
  }
  Pen()->SetWidth(2);
  FCandleWidth = 12;
}

// --- volume -------------------------------------------------------------------

const TClassInfo& TVolumeSeries::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TVolumeSeries>("TVolumeSeries", TCustomSeries::StaticClassInfo())
          .Property("UseYOrigin", &TVolumeSeries::UseYOrigin, &TVolumeSeries::SetUseYOrigin, false)
          .SubObject("VolumeValues", &TVolumeSeries::VolumeValues)
          .TypeName("TChartValueList")
          .Property("YOrigin", &TVolumeSeries::YOrigin, &TVolumeSeries::SetYOrigin, 0.0)
          .Creatable()
          .Build();
  return info;
}

TVolumeSeries::TVolumeSeries(classlib::TComponent* owner) : TCustomSeries(owner) {
  SetDrawArea(false);
  SetDrawBetweenPoints(false);
  SetClickableLine(false);
  Pointer()->SetVisible(false);
}

void TVolumeSeries::Assign(const classlib::TPersistent& source) {
  if (auto* s = dynamic_cast<const TVolumeSeries*>(&source)) {
    FUseYOrigin = s->FUseYOrigin;
    FYOrigin = s->FYOrigin;
  }
  TCustomSeries::Assign(source);
}

void TVolumeSeries::SetSeriesColor(TColor v) {
  TCustomSeries::SetSeriesColor(v);
  LinePen()->SetColor(v);
}

void TVolumeSeries::DrawValue(int i) {
  TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr || GetVertAxis() == nullptr) return;
  TCanvas3D& c = chart->Canvas();
  const TColor color = ValueColor(i);
  if (color != FLastColor || i == FirstValueIndex()) {
    c.AssignVisiblePenColor(*LinePen(), color);
    c.SetBackMode(TRANSPARENT);
  }
  FLastColor = color;
  TChartAxis& v = *GetVertAxis();
  const std::int32_t origin =
      FUseYOrigin ? v.CalcYPosValue(FYOrigin) : (v.Inverted() ? v.IStartPos() : v.IEndPos());
  if (chart->View3D())
    c.VertLine3D(CalcXPos(i), CalcYPos(i), origin, MiddleZ);
  else
    c.DoVertLine(CalcXPos(i), origin, CalcYPos(i));
}

void TVolumeSeries::PrepareLegendCanvas(int valueIndex, TColor& backColor, TBrushStyle& brushStyle) {
  (void)valueIndex, (void)backColor, (void)brushStyle;
  if (ParentChart() != nullptr) ParentChart()->Canvas().AssignVisiblePenColor(*LinePen(), SeriesColor());
}

void TVolumeSeries::DrawLegendShape(int valueIndex, const TRect& rect) {
  (void)valueIndex;
  TCanvas3D& c = ParentChart()->Canvas();
  c.AssignVisiblePenColor(*LinePen(), SeriesColor());
  c.DoHorizLine(rect.Left, rect.Right, (rect.Top + rect.Bottom) / 2);
}

void TVolumeSeries::ListSubStyles(const std::function<void(const std::string&)>& callback) {
  TCustomSeries::ListSubStyles(callback);
  for (int m : {180, 181, int(msgSubStyleOrigin)}) callback(KivMsg(m));
}

void TVolumeSeries::ApplySubStyle(int subStyle) {
  switch (subStyle) {
    case 1: LinePen()->SetSmallDots(true); break;
    case 2: SetColorEachPoint(true); break;
    case 3: SetUseYOrigin(true); break;
    default: TCustomSeries::ApplySubStyle(subStyle);
  }
}

void TVolumeSeries::AddSampleValues(int numValues) {
  const TSampleBounds b = CalcRandomBounds(numValues);
  const std::int32_t top = Round(b.YRange) / 15;
  for (int i = 0; i < numValues; ++i) AddXY(b.XMin + b.Step * i, SampleRandom(top));
}

void TVolumeSeries::PrepareForGallery(bool enabled) {
  TCustomSeries::PrepareForGallery(enabled);
  FillSampleValues(26);
  Pointer()->SetInflateMargins(true);
}

}  // namespace chart
