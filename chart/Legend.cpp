// The legend: items, layout, drawing, hit test and check boxes.
//
// Tested by: chart/tests/LegendTest.cpp
#include "chart/Legend.h"

#include <algorithm>

#include "chart/AxisPanel.h"
#include "chart/core/KivConst.h"
#include "chart/core/StoreAndInvalidate.h"

namespace chart {

using classlib::TClassBuilder;
using classlib::TClassInfo;

const TClassInfo& TLegendSymbol::StaticClassInfo() {
  using S = TLegendSymbol;
  static const TClassInfo info =
      TClassBuilder<S>("TLegendSymbol", classlib::TPersistent::StaticClassInfo())
          .Property("Continuous", &S::Continuous, &S::SetContinuous, false)
          .Property("DefaultPen", &S::DefaultPen, &S::SetDefaultPen, true)
          .SubObject("Pen", &S::Pen)
          .TypeName("TChartPen")
          .Property("Position", &S::Position, &S::SetPosition, spLeft)
          .TypeName("TLegendSymbolPosition")
          .Names({"spLeft", "spRight"})
          .Property("Squared", &S::Squared, &S::SetSquared, false)
          .Property("Visible", &S::Visible, &S::SetVisible, true)
          .Property("Width", &S::Width, &S::SetWidth, 20)
          .Property("WidthUnits", &S::WidthUnits, &S::SetWidthUnits, lcsPercent)
          .TypeName("TLegendSymbolSize")
          .Names({"lcsPercent", "lcsPixels"})
          .Build();
  return info;
}

TLegendSymbol::TLegendSymbol(TCustomChartLegend& legend)
    : FLegend(legend), FPen(std::make_unique<TChartPen>([this] { Invalidate(); })) {}
TLegendSymbol::~TLegendSymbol() = default;

void TLegendSymbol::Invalidate() const { FLegend.Invalidate(); }
void TLegendSymbol::SetContinuous(bool v) { StoreAndInvalidate(*this, FContinuous, v); }
void TLegendSymbol::SetDefaultPen(bool v) { StoreAndInvalidate(*this, FDefaultPen, v); }
void TLegendSymbol::SetPosition(TLegendSymbolPosition v) { StoreAndInvalidate(*this, FPosition, v); }
void TLegendSymbol::SetSquared(bool v) { StoreAndInvalidate(*this, FSquared, v); }
void TLegendSymbol::SetVisible(bool v) { StoreAndInvalidate(*this, FVisible, v); }
void TLegendSymbol::SetWidth(std::int32_t v) { StoreAndInvalidate(*this, FWidth, v); }
void TLegendSymbol::SetWidthUnits(TLegendSymbolSize v) { StoreAndInvalidate(*this, FWidthUnits, v); }

std::int32_t TLegendSymbol::CalcWidth(std::int32_t textWidth, std::int32_t itemHeight) const {
  if (!FVisible) return 0;
  if (FSquared) return itemHeight - 5;
  return FWidthUnits == lcsPixels ? FWidth : Round(FWidth * textWidth * 0.01);
}

void TLegendSymbol::Assign(const classlib::TPersistent& source) {
  if (auto* s = dynamic_cast<const TLegendSymbol*>(&source)) {
    FContinuous = s->FContinuous;
    FDefaultPen = s->FDefaultPen;
    FPen->Assign(*s->FPen);
    FPosition = s->FPosition;
    FSquared = s->FSquared;
    FVisible = s->FVisible;
    FWidth = s->FWidth;
    FWidthUnits = s->FWidthUnits;
    return;
  }
  classlib::TPersistent::Assign(source);
}

const TClassInfo& TChartLegendGradient::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TChartLegendGradient>("TChartLegendGradient", TKivGradient::StaticClassInfo()).Build();
  return info;
}

TChartLegendGradient::TChartLegendGradient(TNotifyEvent onChange) : TKivGradient(std::move(onChange)) {
  SetDirection(gdRightLeft);
  SetStartColor(clSilver);
  SetEndColor(clWhite);
}

// --- the legend -----------------------------------------------------------------

const TClassInfo& TCustomChartLegend::StaticClassInfo() {
  using L = TCustomChartLegend;
  static const TClassInfo info =
      TClassBuilder<L>("TCustomChartLegend", TKivCustomShapePosition::StaticClassInfo())
          .Property("Alignment", &L::Alignment, &L::SetAlignment, laRight)
          .TypeName("TLegendAlignment")
          .Names({"laLeft", "laRight", "laTop", "laBottom"})
          .Property("CheckBoxes", &L::CheckBoxes, &L::SetCheckBoxes, false)
          .Property("ColorWidth", &L::ColorWidth, &L::SetColorWidth, 20)
          .Property("CurrentPage", &L::CurrentPage, &L::SetCurrentPage, true)
          .SubObject("DividingLines", &L::DividingLines)
          .TypeName("TChartHiddenPen")
          .Property("FirstValue", &L::FirstValue, &L::SetFirstValue, 0)
          .Property("FontSeriesColor", &L::FontSeriesColor, &L::SetFontSeriesColor, false)
          .Property("HorizMargin", &L::HorizMargin, &L::SetHorizMargin, 0)
          .Property("Inverted", &L::Inverted, &L::SetInverted, false)
          .Property("LegendStyle", &L::LegendStyle, &L::SetLegendStyle, lsAuto)
          .TypeName("TLegendStyle")
          .Names({"lsAuto", "lsSeries", "lsValues", "lsLastValues"})
          .Property("MaxNumRows", &L::MaxNumRows, &L::SetMaxNumRows, 10)
          .Property("ResizeChart", &L::ResizeChart, &L::SetResizeChart, true)
          .SubObject("Symbol", &L::Symbol)
          .TypeName("TLegendSymbol")
          .Property("TextStyle", &L::TextStyle, &L::SetTextStyle, ltsLeftValue)
          .TypeName("TLegendTextStyle")
          .Names({"ltsPlain", "ltsLeftValue", "ltsRightValue", "ltsLeftPercent", "ltsRightPercent", "ltsXValue",
                  "ltsValue", "ltsPercent", "ltsXAndValue", "ltsXAndPercent"})
          .Property("TopPos", &L::TopPos, &L::SetTopPos, 10)
          .Property("VertMargin", &L::VertMargin, &L::SetVertMargin, 0)
          .Property("VertSpacing", &L::VertSpacing, &L::SetVertSpacing, 0)
          .Build();
  return info;
}

const TClassInfo& TChartLegend::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TChartLegend>("TChartLegend", TCustomChartLegend::StaticClassInfo()).Build();
  return info;
}

TCustomChartLegend::TCustomChartLegend(TCustomAxisPanel* chart)
    : TKivCustomShapePosition(chart),
      FDividingLines(std::make_unique<TChartHiddenPen>([this] { Invalidate(); })),
      FSymbol(std::make_unique<TLegendSymbol>(*this)) {
  SetColor(clWhite);
}

TCustomChartLegend::~TCustomChartLegend() = default;

TCustomAxisPanel& TCustomChartLegend::Chart() const { return *static_cast<TCustomAxisPanel*>(ParentChart()); }

void TCustomChartLegend::SetFirstValue(std::int32_t v) {
  if (v < 0) throw LegendException(KivMsg(msgLegendFirstValue));
  StoreAndInvalidate(*this, FFirstValue, v);
}

TLegendStyle TCustomChartLegend::ResolvedStyle() const {
  if (FLegendStyle != lsAuto) return FLegendStyle;
  if (ParentChart() == nullptr) return lsSeries;
  return !FCheckBoxes && Chart().CountActiveSeries() < 2 ? lsValues : lsSeries;
}

TChartSeries* TCustomChartLegend::LegendSeries() const {
  if (FSeries != nullptr) return FSeries;
  return ParentChart() != nullptr ? Chart().FirstActiveSeries() : nullptr;
}

int TCustomChartLegend::ItemCount() const {
  if (ParentChart() == nullptr) return 0;
  const TLegendStyle style = ResolvedStyle();
  int n = 0;
  if (style == lsValues) {
    TChartSeries* s = LegendSeries();
    if (s != nullptr && s->ShowInLegend()) n = s->CountLegendItems();
  } else {
    for (TChartSeries* s : Chart().SeriesList())
      if (s->ShowInLegend() && (s->Active() || HasCheckBoxes())) ++n;
  }
  return std::max(0, n - FFirstValue);
}

std::string TCustomChartLegend::ItemText(int index) const {
  TCustomAxisPanel& chart = Chart();
  const TLegendStyle style = ResolvedStyle();
  std::string text;
  if (style == lsSeries) {
    TChartSeries* s = chart.SeriesForLegend(index, !HasCheckBoxes());
    if (s != nullptr) text = SeriesTitleOrName(*s);
  } else if (style == lsValues) {
    text = chart.FormatLegendValue(LegendSeries(), index);
  } else {
    TChartSeries* s = chart.SeriesForLegend(index, !HasCheckBoxes());
    if (s != nullptr) text = chart.FormatLegendValue(s, s->Count() - 1);
  }
  if (chart.OnGetLegendText) chart.OnGetLegendText(chart, style, index, text);
  return text;
}

bool TCustomChartLegend::ShouldDraw() const {
  if (ParentChart() == nullptr || !Visible()) return false;
  return Chart().CountActiveSeries() > 0 || (HasCheckBoxes() && ItemCount() > 0);
}

std::int32_t TCustomChartLegend::FrameWidth() const {
  if (Bevel() != bvNone) return BevelWidth();
  return Pen()->Visible() ? Pen()->Width() : 0;
}

std::int32_t TCustomChartLegend::CalcItemHeight() {
  TCanvas3D& c = Chart().Canvas();
  c.AssignFont(*Font());
  std::int32_t h = c.FontHeight();
  if (HasCheckBoxes()) h = std::max(h, 17);
  h += FVertSpacing;
  if (Vertical() && FDividingLines->Visible()) h += FDividingLines->Width();
  return h;
}

void TCustomChartLegend::DrawLegend() {
  TCustomAxisPanel& chart = Chart();
  TCanvas3D& c = chart.Canvas();
  FStyleInDraw = ResolvedStyle();
  FFirstInDraw = FFirstValue;
  int count = ItemCount();
  if (FStyleInDraw == lsValues && FCurrentPage && chart.MaxPointsPerPage() > 0) {
    FFirstInDraw = (chart.Page() - 1) * chart.MaxPointsPerPage();
    TChartSeries* s = LegendSeries();
    const int all = s != nullptr ? s->CountLegendItems() : 0;
    count = std::max(0, std::min(all - FFirstInDraw, chart.MaxPointsPerPage()));
  }
  FTotalItems = count;
  chart.LegendColor = Color();
  FItemHeight = CalcItemHeight();
  const std::int32_t f = FrameWidth();
  const std::int32_t framePen = Pen()->Visible() ? Pen()->Width() : 0;
  // The texts of every listed item, split into two columns.
  for (auto& col : FItemTexts) col.clear();
  FColumnWidths[0] = FColumnWidths[1] = 0;
  for (int i = 0; i < count; ++i) {
    const std::string text = ItemText(FFirstInDraw + i);
    const std::size_t sep = text.find(LegendColumnSeparator);
    FItemTexts[0].push_back(text.substr(0, sep));
    FItemTexts[1].push_back(sep == std::string::npos ? "" : text.substr(sep + 1, text.find(LegendColumnSeparator, sep + 1) - sep - 1));
  }
  c.AssignFont(*Font());
  for (int k = 0; k < 2; ++k)
    for (const std::string& t : FItemTexts[k]) FColumnWidths[k] = std::max(FColumnWidths[k], c.TextWidth(t));
  const std::int32_t gap = c.TextWidth(" ");
  const std::int32_t itemWidth = FColumnWidths[0] + FColumnWidths[1] + 2 * gap - 1;
  const std::int32_t symbolWidth = FSymbol->CalcWidth(FColumnWidths[0] + FColumnWidths[1], FItemHeight);
  const bool boxes = HasCheckBoxes();
  const TRect cr = chart.ChartRect();
  TRect r = ShapeBounds();
  FNumCols = FNumRows = 0;
  if (!Vertical()) {
    if (!CustomPosition()) {
      if (FAlignment == laBottom)
        r.Bottom = cr.Bottom - chart.Shadow()->VertSize() - f - 1;
      else
        r.Top = cr.Top + f + 1;
    }
    const std::int64_t cell = static_cast<std::int64_t>(symbolWidth) + itemWidth + 8 + (boxes ? 27 : 0);
    std::int64_t cols = cell >= 1 && cr.Right > 8 ? (chart.ChartWidth() - 2 * framePen - 8) / cell : 0;
    // A legend narrower than one item shows none.
    FNumCols = static_cast<std::int32_t>(std::clamp<std::int64_t>(cols, 0, count));
    if (FNumCols > 0) FNumRows = std::min((count + FNumCols - 1) / FNumCols, FMaxNumRows);
    FLastValue = FFirstInDraw + std::min(count, FNumCols * FNumRows) - 1;
  } else {
    if (!CustomPosition()) {
      const TRect& b = chart.ChartBounds();
      r.Top = b.Top + Round(FTopPos * 0.01 * b.Height());
    }
    FNumCols = 1;
    FNumRows = 0;
    if (r.Top < cr.Bottom && FItemHeight >= 1)
      FNumRows = std::min<std::int32_t>((chart.ChartHeight() - 2 * framePen - (r.Top - cr.Top)) / FItemHeight, count);
    FNumRows = std::max(0, FNumRows);
    FLastValue = FFirstInDraw + std::min(FNumRows, count) - 1;
  }
  const int shown = FLastValue - FFirstInDraw + 1;
  if (shown <= 0 || FNumRows <= 0) {
    FNumRows = 0;
    FLastValue = FFirstInDraw - 1;
    return;
  }
  const std::int32_t height = FItemHeight * FNumRows + 2;
  if (FAlignment == laBottom && !CustomPosition())
    r.Top = r.Bottom - height;
  else
    r.Bottom = r.Top + height;
  if (Vertical()) {
    const std::int32_t width = itemWidth + 10 + symbolWidth + (boxes ? 15 : 0);
    if (!CustomPosition()) {
      if (FAlignment == laLeft) {
        r.Left = cr.Left + (framePen > 0 ? f + 1 : 0);
        r.Right = r.Left + width;
      } else {
        r.Right = cr.Right - Shadow()->HorizSize() - (framePen > 0 ? f + 1 : 0);
        r.Left = r.Right - width;
      }
    } else {
      r.Right = r.Left + width;
    }
  } else {
    std::int32_t width = (itemWidth + symbolWidth) * FNumCols + 12 + 6 * (FNumCols - 1);
    if (boxes) width += 13 * FNumCols + 8;
    width = std::min(chart.ChartWidth(), width);
    if (!CustomPosition()) {
      const TRect& b = chart.ChartBounds();
      r.Left = chart.ChartXCenter() - width / 2 + Round(FTopPos * 0.01 * (b.Width() - width));
    }
    r.Right = r.Left + width;
  }
  if (chart.OnGetLegendRect) chart.OnGetLegendRect(chart, r);
  SetShapeBounds(r);
  Draw(c);
  DrawItems(gap, symbolWidth, itemWidth);
  if (!CustomPosition()) {
    TRect ncr = chart.ChartRect();
    if (FResizeChart) {
      switch (FAlignment) {
        case laLeft: ncr.Left = r.Right; break;
        case laRight: ncr.Right = r.Left; break;
        case laTop: ncr.Top = r.Bottom + chart.Shadow()->VertSize(); break;
        case laBottom: ncr.Bottom = r.Top; break;
      }
    }
    if (Vertical()) {
      const std::int32_t m = FHorizMargin != 0 ? FHorizMargin : Round(chart.ChartWidth() * 0.03);
      if (FAlignment == laLeft) ncr.Left += m; else ncr.Right -= m;
    } else {
      const std::int32_t m = FVertMargin != 0 ? FVertMargin : Round(chart.ChartHeight() * 0.04);
      if (FAlignment == laTop) ncr.Top += m; else ncr.Bottom -= m;
    }
    chart.SetChartRect(ncr);
  }
}

void TCustomChartLegend::DrawItems(std::int32_t gap, std::int32_t symbolWidth, std::int32_t itemWidth) {
  TCustomAxisPanel& chart = Chart();
  TCanvas3D& c = chart.Canvas();
  const TRect r = ShapeBounds();
  const bool boxes = HasCheckBoxes();
  const TLegendStyle style = FStyleInDraw;
  const int n = FLastValue - FFirstInDraw + 1;
  chart.LegendPen = FSymbol->DefaultPen() ? nullptr : FSymbol->Pen();
  for (int p = 0; p < n; ++p) {
    const int item = FInverted ? FLastValue - p : FFirstInDraw + p;
    const int k = item - FFirstInDraw;
    std::int32_t x = r.Left, y;
    if (Vertical()) {
      y = r.Top + 1 + FItemHeight * p + FVertSpacing / 2;
    } else {
      const int col = p % FNumCols, row = p / FNumCols;
      x += col * (itemWidth + symbolWidth + 6 + (boxes ? 15 : 0));
      y = r.Top + 1 + FItemHeight * row + FVertSpacing / 2;
    }
    std::int32_t boxX = x + 4;
    std::int32_t symbolX = x + 6 + (boxes ? 15 : 0);
    std::int32_t textX = symbolX + symbolWidth + 4;
    if (FSymbol->Position() == spRight) {
      textX = x + 6 + (boxes ? 15 : 0);
      symbolX = textX + itemWidth;
    }
    if (chart.OnGetLegendPos) chart.OnGetLegendPos(chart, item, textX, y, symbolX);
    TChartSeries* series = style == lsValues ? LegendSeries() : chart.SeriesForLegend(item, !boxes);
    c.AssignFont(*Font());
    if (FFontSeriesColor && series != nullptr)
      c.Font().SetColor(style == lsValues ? series->ValueColor(item) : series->SeriesColor());
    c.Brush().SetStyle(bsClear);
    c.SetBackMode(TRANSPARENT);
    std::int32_t tx = textX;
    for (int col = 0; col < 2; ++col) {
      const std::string& text = FItemTexts[col][static_cast<std::size_t>(k)];
      bool right = false;
      if (style != lsSeries) {
        if (col == 0)
          right = FTextStyle == ltsLeftValue || FTextStyle == ltsLeftPercent || FTextStyle == ltsXValue ||
                  FTextStyle == ltsValue || FTextStyle == ltsPercent || FTextStyle == ltsXAndValue ||
                  FTextStyle == ltsXAndPercent;
        else
          right = FTextStyle == ltsRightValue || FTextStyle == ltsRightPercent || FTextStyle == ltsXAndValue ||
                  FTextStyle == ltsXAndPercent;
      }
      c.SetTextAlign(right ? TA_RIGHT : TA_LEFT);
      c.TextOut(right ? tx + FColumnWidths[col] : tx, y, text);
      tx += FColumnWidths[col] + gap;
    }
    c.SetTextAlign(TA_LEFT);
    if (boxes && series != nullptr) {
      const TRect box{boxX, y + (FItemHeight - 13) / 2, boxX + 13, y + (FItemHeight - 13) / 2 + 13};
      c.Pen().SetStyle(psSolid);
      c.Pen().SetColor(clBlack);
      c.Brush().SetStyle(bsSolid);
      c.Brush().SetColor(chart.LegendColor);
      c.Rectangle(box);
      if (series->Active()) {
        c.Line(box.Left + 3, box.Top + 6, box.Left + 6, box.Top + 9);
        c.Line(box.Left + 6, box.Top + 9, box.Left + 11, box.Top + 3);
      }
    }
    if (series != nullptr && symbolWidth > 0) {
      const TRect sym{symbolX, y + 2, symbolX + symbolWidth, y + FItemHeight - 3};
      series->DrawLegend(style == lsValues ? item : -1, sym);
    }
    if (p > 0 && FDividingLines->Visible()) {
      c.AssignVisiblePen(*FDividingLines);
      if (Vertical())
        c.DoHorizLine(r.Left, r.Right, y - FVertSpacing / 2 - 1);
      else
        c.DoVertLine(x, r.Top, r.Bottom);
    }
  }
  chart.LegendPen = nullptr;
}

int TCustomChartLegend::Clicked(std::int32_t x, std::int32_t y) const {
  const TRect r = ShapeBounds();
  if (!PointInRect(r, x, y) || FNumRows <= 0 || FItemHeight <= 0) return -1;
  const int shown = FLastValue - FFirstInDraw + 1;
  int row = (y - r.Top - 1) / FItemHeight;
  if (y - r.Top - 1 < 0 || row >= FNumRows) return -1;
  int item;
  if (Vertical()) {
    item = FInverted ? FNumRows - 1 - row : row;
  } else {
    const std::int32_t colWidth = std::max(1, r.Width() / std::max(1, FNumCols));
    const int col = std::min(FNumCols - 1, static_cast<int>((x - r.Left) / colWidth));
    item = FInverted ? FNumCols * row + FNumCols - col - 1 : FNumCols * row + col;
  }
  if (item < 0 || item >= shown) return -1;
  return item;
}

bool TCustomChartLegend::DoMouseDown(std::int32_t x, std::int32_t y) {
  if (!HasCheckBoxes()) return false;
  const int item = Clicked(x, y);
  if (item < 0) return false;
  TChartSeries* s = Chart().SeriesForLegend(FFirstInDraw + item, false);
  if (s == nullptr) return false;
  s->SetActive(!s->Active());
  return true;
}

void TCustomChartLegend::Assign(const classlib::TPersistent& source) {
  if (auto* l = dynamic_cast<const TCustomChartLegend*>(&source)) {
    FAlignment = l->FAlignment;
    FCheckBoxes = l->FCheckBoxes;
    FCurrentPage = l->FCurrentPage;
    FDividingLines->Assign(*l->FDividingLines);
    FFirstValue = l->FFirstValue;
    FFontSeriesColor = l->FFontSeriesColor;
    FHorizMargin = l->FHorizMargin;
    FInverted = l->FInverted;
    FLegendStyle = l->FLegendStyle;
    FMaxNumRows = l->FMaxNumRows;
    FResizeChart = l->FResizeChart;
    FSymbol->Assign(*l->FSymbol);
    FTextStyle = l->FTextStyle;
    FTopPos = l->FTopPos;
    FVertMargin = l->FVertMargin;
    FVertSpacing = l->FVertSpacing;
  }
  TKivCustomShapePosition::Assign(source);
}

}  // namespace chart
