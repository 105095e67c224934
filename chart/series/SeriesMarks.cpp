// Series marks: their look, the places they were drawn, and their drawing.
//
// Tested by: chart/tests/SeriesMarksTest.cpp
#include "chart/series/SeriesMarks.h"

#include <algorithm>
#include <cmath>

#include "chart/AxisPanel.h"
#include "chart/ChartAxis.h"
#include "chart/series/ChartElement.h"
#include "platform/classlib/ComponentStream.h"

namespace chart {

using classlib::TClassBuilder;
using classlib::TClassInfo;

namespace {

template <class T>
void EraseRange(std::vector<std::unique_ptr<T>>& v, int start, int quantity) {
  if (start < 0 || start >= static_cast<int>(v.size()) || quantity <= 0) return;
  const int end = std::min(static_cast<int>(v.size()), start + quantity);
  v.erase(v.begin() + start, v.begin() + end);
}

template <class T>
void SwapEntries(std::vector<std::unique_ptr<T>>& v, int a, int b) {
  const int n = std::max(a, b);
  if (n >= static_cast<int>(v.size())) {
    const int lo = std::min(a, b);
    if (lo >= static_cast<int>(v.size()) || !v[static_cast<std::size_t>(lo)]) return;
    v.resize(static_cast<std::size_t>(n) + 1);
  }
  std::swap(v[static_cast<std::size_t>(a)], v[static_cast<std::size_t>(b)]);
}

template <class T>
void InsertEntry(std::vector<std::unique_ptr<T>>& v, int index) {
  if (index >= 0 && index < static_cast<int>(v.size())) v.insert(v.begin() + index, nullptr);
}

}  // namespace

void TSeriesMarkPosition::Assign(const TSeriesMarkPosition& other) {
  ArrowFrom = other.ArrowFrom;
  ArrowTo = other.ArrowTo;
  LeftTop = other.LeftTop;
  Width = other.Width;
  Height = other.Height;
}

TSeriesMarkPosition* TSeriesMarksPositions::Position(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return FItems[static_cast<std::size_t>(index)].get();
}

TSeriesMarkPosition& TSeriesMarksPositions::Ensure(int index) {
  if (index >= Count()) FItems.resize(static_cast<std::size_t>(index) + 1);
  auto& p = FItems[static_cast<std::size_t>(index)];
  if (!p) p = std::make_unique<TSeriesMarkPosition>();
  return *p;
}

bool TSeriesMarksPositions::HasCustom() const {
  return std::any_of(FItems.begin(), FItems.end(), [](const auto& p) { return p && p->Custom; });
}

void TSeriesMarksPositions::Delete(int index) { EraseRange(FItems, index, 1); }
void TSeriesMarksPositions::DeleteRange(int start, int quantity) { EraseRange(FItems, start, quantity); }
void TSeriesMarksPositions::Swap(int a, int b) { SwapEntries(FItems, a, b); }
void TSeriesMarksPositions::InsertEmpty(int index) { InsertEntry(FItems, index); }

TMarksItem* TMarksItems::Item(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return FItems[static_cast<std::size_t>(index)].get();
}
void TMarksItems::Delete(int index) { EraseRange(FItems, index, 1); }
void TMarksItems::DeleteRange(int start, int quantity) { EraseRange(FItems, start, quantity); }
void TMarksItems::Swap(int a, int b) { SwapEntries(FItems, a, b); }
void TMarksItems::InsertEmpty(int index) { InsertEntry(FItems, index); }

const TClassInfo& TMarksItem::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TMarksItem>("TMarksItem", TKivCustomShape::StaticClassInfo())
          .Property("Bevel", &TMarksItem::Bevel, &TMarksItem::SetBevel, bvNone)
          .TypeName("TBevelCut")
          .Names({"bvNone", "bvLowered", "bvRaised", "bvSpace"})
          .Property("BevelWidth", &TMarksItem::BevelWidth, &TMarksItem::SetBevelWidth, 2)
          .Property("Color", &TMarksItem::Color, &TMarksItem::SetColor, clInfoBk)
          .TypeName("TColor")
          .SubObject("Font", &TMarksItem::Font)
          .TypeName("TKivFont")
          .SubObject("Shadow", &TMarksItem::Shadow)
          .TypeName("TKivShadow")
          .Property("ShapeStyle", &TMarksItem::ShapeStyle, &TMarksItem::SetShapeStyle, fosRectangle)
          .TypeName("TChartObjectShapeStyle")
          .Names({"fosRectangle", "fosRoundRectangle"})
          .Property("Transparency", &TMarksItem::Transparency, &TMarksItem::SetTransparency, 0)
          .Property("Transparent", &TMarksItem::Transparent, &TMarksItem::SetTransparent, false)
          .Creatable()
          .Build();
  return info;
}

TMarksItem::TMarksItem(TCustomKivPanel* parent) : TKivCustomShape(parent) {
  SetColor(clInfoBk);
  Shadow()->InitDefaults(clGray, 1);
}

const TClassInfo& TSeriesMarksGradient::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TSeriesMarksGradient>("TSeriesMarksGradient", TKivGradient::StaticClassInfo()).Build();
  return info;
}

TSeriesMarksGradient::TSeriesMarksGradient(TNotifyEvent onChange) : TKivGradient(std::move(onChange)) {
  SetDirection(gdRightLeft);
  SetEndColor(clWhite);
  SetStartColor(clSilver);
}

const TClassInfo& TSeriesMarks::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TSeriesMarks>("TSeriesMarks", TKivCustomShape::StaticClassInfo())
          .Property("Angle", &TSeriesMarks::Angle, &TSeriesMarks::SetAngle, 0)
          .SubObject("Callout", &TSeriesMarks::Callout)
          .TypeName("TMarksCallout")
          .Property("Bevel", &TSeriesMarks::Bevel, &TSeriesMarks::SetBevel, bvNone)
          .TypeName("TBevelCut")
          .Names({"bvNone", "bvLowered", "bvRaised", "bvSpace"})
          .Property("BevelWidth", &TSeriesMarks::BevelWidth, &TSeriesMarks::SetBevelWidth, 2)
          .SubObject("Brush", &TSeriesMarks::Brush)
          .TypeName("TChartBrush")
          .Property("Clip", &TSeriesMarks::Clip, &TSeriesMarks::SetClip, false)
          .Property("Color", &TSeriesMarks::Color, &TSeriesMarks::SetColor, clInfoBk)
          .TypeName("TColor")
          .Property("DrawEvery", &TSeriesMarks::DrawEvery, &TSeriesMarks::SetDrawEvery, 1)
          .SubObject("Font", &TSeriesMarks::Font)
          .TypeName("TKivFont")
          .SubObject("Frame", &TSeriesMarks::Pen)
          .TypeName("TChartPen")
          .Property("MultiLine", &TSeriesMarks::MultiLine, &TSeriesMarks::SetMultiLine, false)
          .SubObject("Shadow", &TSeriesMarks::Shadow)
          .TypeName("TKivShadow")
          .Property("ShapeStyle", &TSeriesMarks::ShapeStyle, &TSeriesMarks::SetShapeStyle, fosRectangle)
          .TypeName("TChartObjectShapeStyle")
          .Names({"fosRectangle", "fosRoundRectangle"})
          .Property("Style", &TSeriesMarks::Style, &TSeriesMarks::SetStyle, smsLabel)
          .TypeName("TSeriesMarksStyle")
          .Names({"smsValue", "smsPercent", "smsLabel", "smsLabelPercent", "smsLabelValue", "smsLegend",
                  "smsPercentTotal", "smsLabelPercentTotal", "smsXValue", "smsXY"})
          .Property("Transparency", &TSeriesMarks::Transparency, &TSeriesMarks::SetTransparency, 0)
          .Property("Transparent", &TSeriesMarks::Transparent, &TSeriesMarks::SetTransparent, false)
          .Property("Visible", &TSeriesMarks::Visible, &TSeriesMarks::SetVisible, false)
          .Build();
  return info;
}

TSeriesMarks::TSeriesMarks(TCustomChartSeries* series)
    : TKivCustomShape(series != nullptr ? series->ParentChart() : nullptr),
      FSeries(series),
      FCallout(std::make_unique<TMarksCallout>(series)) {
  SetColor(clInfoBk);
  SetVisible(false);
  Shadow()->InitDefaults(clGray, 1);
}

TSeriesMarks::~TSeriesMarks() = default;

void TSeriesMarks::SetParent(TCustomKivPanel* parent) {
  TKivCustomShape::SetParent(parent);
  FCallout->SetParent(parent);
  for (auto& item : FItems.Entries())
    if (item) item->SetParent(parent);
}

TMarksItem& TSeriesMarks::Item(int index) {
  auto& entries = FItems.Entries();
  if (index >= static_cast<int>(entries.size())) entries.resize(static_cast<std::size_t>(index) + 1);
  auto& item = entries[static_cast<std::size_t>(index)];
  if (!item) item = std::make_unique<TMarksItem>(ParentChart());
  return *item;
}

TKivCustomShape& TSeriesMarks::MarkItem(int index) {
  if (TMarksItem* item = FItems.Item(index)) return *item;
  return *this;
}

bool TSeriesMarks::ItemVisible(int index) { return MarkItem(index).Visible(); }

void TSeriesMarks::Clear() {
  FPositions.Clear();
  if (!FItems.LoadedFromStream) FItems.Clear();
}

int TSeriesMarks::Clicked(std::int32_t x, std::int32_t y) {
  if (ParentChart() != nullptr) ParentChart()->Canvas().Calculate2DPosition(x, y, ZPosition);
  for (int i = 0; i < FPositions.Count(); ++i) {
    if (i % FDrawEvery != 0) continue;
    const TSeriesMarkPosition* p = FPositions.Position(i);
    if (p != nullptr && PointInRect(p->Bounds(), x, y)) return i;
  }
  return -1;
}

void TSeriesMarks::ApplyArrowLength(TSeriesMarkPosition& position) const {
  const std::int32_t d = FCallout->Length() + FCallout->Distance();
  position.LeftTop.Y -= d;
  position.ArrowTo.Y -= d;
  position.ArrowFrom.Y -= FCallout->Distance();
}

void TSeriesMarks::AntiOverlap(int first, int index, TSeriesMarkPosition& position) {
  for (int i = std::max(first, 0); i < index; ++i) {
    const TSeriesMarkPosition* p = FPositions.Position(i);
    if (p == nullptr) continue;
    TRect r = p->Bounds();
    const std::int32_t frame = Pen()->Visible() ? Pen()->Width() : 0;
    r.Right += frame + Shadow()->HorizSize();
    r.Bottom += frame + Shadow()->VertSize();
    const TRect c = position.Bounds();
    if (c.Left < r.Right && r.Left < c.Right && c.Top < r.Bottom && r.Top < c.Bottom) {
      const std::int32_t overlap = c.Bottom - r.Top;
      position.LeftTop.Y -= overlap;
      position.ArrowTo.Y -= overlap;
    }
  }
}

std::int32_t TSeriesMarks::TextWidth(int index, const std::string& text) {
  if (FSeries == nullptr || ParentChart() == nullptr) return 0;
  TCanvas3D& c = ParentChart()->Canvas();
  c.AssignFont(*MarkItem(index).Font());
  std::int32_t w = 0;
  for (const std::string& line : TChartAxis::LabelLines(text))
    w = std::max(w, c.TextWidth(line));
  return w;
}

void TSeriesMarks::DrawItem(int index, TColor color, const std::string& text, TSeriesMarkPosition& position) {
  TCustomKivPanel* chart = ParentChart();
  if (chart == nullptr) return;
  TCanvas3D& c = chart->Canvas();
  TSeriesMarkPosition& stored = FPositions.Ensure(index);
  if (stored.Custom) {
    const TPoint from = position.ArrowFrom;
    position.Assign(stored);
    if (position.ArrowFix) position.ArrowFrom = from;
  } else {
    stored.Assign(position);
  }
  TKivCustomShape& item = MarkItem(index);
  const std::int32_t z = ZPosition;
  if (FCallout->Visible() || FCallout->Arrow()->Visible())
    FCallout->DrawCallout(color, position.ArrowFrom, z, position.ArrowTo);
  if (item.Transparent()) {
    c.Brush().SetStyle(bsClear);
    c.SetBackMode(TRANSPARENT);
  } else {
    c.AssignBrush(*item.Brush(), item.Color());
  }
  c.AssignVisiblePen(*item.Pen());
  TRect r = position.Bounds();
  if (c.Is3D() && !c.GetSupports3DText()) {
    const TPoint p = c.Calculate3DPosition(position.ArrowTo, z);
    const std::int32_t dx = p.X - position.ArrowTo.X, dy = p.Y - position.ArrowTo.Y;
    r = {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
  }
  if (!item.Transparent()) {
    // The rectangle is already placed on the screen: draw it flat.
    c.FrontPlaneBegin();
    item.DrawRectRotated(c, r, FAngle % 360, 0);
    c.FrontPlaneEnd();
  }
  c.Brush().SetStyle(bsClear);
  c.SetBackMode(TRANSPARENT);
  c.AssignFont(*item.Font());
  c.SetTextAlign(TA_CENTER);
  const std::int32_t h = c.FontHeight();
  const std::vector<std::string> lines = TChartAxis::LabelLines(text);
  const std::int32_t xCenter = (r.Left + r.Right) / 2;
  std::int32_t y = r.Top + 2;
  if (FAngle == 0 && item.Pen()->Visible()) y += item.Pen()->Width();
  const double a = FAngle * M_PI / 180.0;
  for (std::size_t k = 0; k < lines.size(); ++k) {
    const double off = static_cast<double>(k) * h;
    if (FAngle != 0) {
      std::int32_t dx = Round(off * std::sin(a)), dy = Round(off * std::cos(a));
      if (FAngle == 90) dx += 2;
      c.RotateLabel(xCenter + dx, y + dy, lines[k], FAngle);
    } else {
      c.TextOut(xCenter, y + static_cast<std::int32_t>(off), lines[k]);
    }
  }
  c.SetTextAlign(TA_LEFT);
}

void TSeriesMarks::Assign(const classlib::TPersistent& source) {
  if (auto* m = dynamic_cast<const TSeriesMarks*>(&source)) {
    FAngle = m->FAngle;
    FCallout->Assign(*m->FCallout);
    FClip = m->FClip;
    FDrawEvery = m->FDrawEvery;
    FStyle = m->FStyle;
    FMultiLine = m->FMultiLine;
    FItems.Clear();
    for (int i = 0; i < m->FItems.Count(); ++i)
      if (TMarksItem* item = m->FItems.Item(i)) Item(i).Assign(*item);
    FItems.LoadedFromStream = m->FItems.LoadedFromStream;
  }
  TKivCustomShape::Assign(source);
}

// --- the "Items" property -------------------------------------------------

void TSeriesMarks::DefineProperties(classlib::TFiler& filer) {
  TKivCustomShape::DefineProperties(filer);
  const auto& entries = FItems.Entries();
  const bool any = std::any_of(entries.begin(), entries.end(), [](const auto& e) { return e != nullptr; });
  filer.DefineBinaryProperty(
      "Items", [this](classlib::TStream& s) { ReadItems(s); }, [this](classlib::TStream& s) { WriteItems(s); }, any);
}

void TSeriesMarks::WriteItems(classlib::TStream& stream) {
  const auto& entries = FItems.Entries();
  stream.WriteInt32(static_cast<std::int32_t>(entries.size()));
  TMarksItem common(ParentChart());
  common.Assign(*this);
  for (const auto& e : entries) classlib::WritePropertyList(stream, e ? static_cast<const TMarksItem&>(*e) : common);
}

void TSeriesMarks::ReadItems(classlib::TStream& stream) {
  const std::int32_t count = stream.ReadInt32();
  // Each item takes at least its list's tag and end byte.
  if (count < 0 || static_cast<std::int64_t>(count) * 2 > stream.Size() - stream.Position())
    throw classlib::EReadError("Mark items: " + IntToText(count) + " items do not fit in the bytes left");
  std::vector<std::unique_ptr<TMarksItem>> read;
  read.reserve(static_cast<std::size_t>(count));
  for (std::int32_t i = 0; i < count; ++i) {
    auto item = std::make_unique<TMarksItem>(ParentChart());
    classlib::ReadPropertyList(stream, *item);
    read.push_back(std::move(item));
  }
  FItems.Entries() = std::move(read);
  FItems.LoadedFromStream = count > 0;
  Invalidate();
}

}  // namespace chart
