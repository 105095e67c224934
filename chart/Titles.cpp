// Positioned shapes and chart titles.
//
// Tested by: chart/tests/WallsTitlesTest.cpp
#include "chart/Titles.h"

#include <algorithm>

#include "chart/AxisPanel.h"
#include "chart/core/StoreAndInvalidate.h"

namespace chart {

using classlib::TClassBuilder;
using classlib::TClassInfo;

const TClassInfo& TKivCustomShapePosition::StaticClassInfo() {
  static const TClassInfo info =
      ShapeClassBuilder<TKivCustomShapePosition>("TKivCustomShapePosition",
                                                  TKivCustomShape::StaticClassInfo())
          .Property("CustomPosition", &TKivCustomShapePosition::CustomPosition,
                    &TKivCustomShapePosition::SetCustomPosition, false)
          .Property("Left", &TKivCustomShapePosition::Left, &TKivCustomShapePosition::SetLeft)
          .Stored([](const TKivCustomShapePosition& s) { return s.CustomPosition(); })
          .Property("Top", &TKivCustomShapePosition::Top, &TKivCustomShapePosition::SetTop)
          .Stored([](const TKivCustomShapePosition& s) { return s.CustomPosition(); })
          .Build();
  return info;
}

void TKivCustomShapePosition::SetCustomPosition(bool v) { StoreAndInvalidate(*this, FCustomPosition, v); }

void TKivCustomShapePosition::SetLeft(std::int32_t v) {
  FCustomPosition = true;
  TRect r = ShapeBounds();
  const std::int32_t w = r.Width();
  r.Left = v;
  r.Right = v + w;
  SetShapeBounds(r);
  Invalidate();
}

void TKivCustomShapePosition::SetTop(std::int32_t v) {
  FCustomPosition = true;
  TRect r = ShapeBounds();
  const std::int32_t h = r.Height();
  r.Top = v;
  r.Bottom = v + h;
  SetShapeBounds(r);
  Invalidate();
}

void TKivCustomShapePosition::Assign(const classlib::TPersistent& source) {
  if (auto* s = dynamic_cast<const TKivCustomShapePosition*>(&source)) {
    FCustomPosition = s->FCustomPosition;
    if (FCustomPosition) SetShapeBounds(s->ShapeBounds());
  }
  TKivCustomShape::Assign(source);
}

const TClassInfo& TChartTitle::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TChartTitle>("TChartTitle", TKivCustomShapePosition::StaticClassInfo())
          .Property("AdjustFrame", &TChartTitle::AdjustFrame, &TChartTitle::SetAdjustFrame, true)
          .Property("Alignment", &TChartTitle::Alignment, &TChartTitle::SetAlignment, taCenter)
          .TypeName("TAlignment")
          .Names({"taLeftJustify", "taRightJustify", "taCenter"})
          .Property("Text", &TChartTitle::Caption, &TChartTitle::SetCaption, std::string())
          .Creatable()
          .Build();
  return info;
}

TChartTitle::TChartTitle(TCustomKivPanel* parent, bool onTop) : TKivCustomShapePosition(parent), FOnTop(onTop) {
  InitTransparent(true);
  Font()->InitDefaults(clBlue, 0);
}

void TChartTitle::SetAdjustFrame(bool v) { StoreAndInvalidate(*this, FAdjustFrame, v); }

void TChartTitle::SetAlignment(TAlignment v) { StoreAndInvalidate(*this, FAlignment, v); }

void TChartTitle::SetText(const std::vector<std::string>& lines) {
  FText = lines;
  Invalidate();
}

std::string TChartTitle::Caption() const {
  std::string s;
  for (std::size_t i = 0; i < FText.size(); ++i) s += (i ? "\n" : "") + FText[i];
  return s;
}

void TChartTitle::SetCaption(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start <= text.size() && !text.empty()) {
    const std::size_t nl = text.find('\n', start);
    std::string line = text.substr(start, nl == std::string::npos ? std::string::npos : nl - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    if (nl == std::string::npos) break;
    start = nl + 1;
  }
  SetText(lines);
}

bool TChartTitle::Clicked(std::int32_t x, std::int32_t y) const {
  return Visible() && PointInRect(ShapeBounds(), x, y);
}

std::int32_t TChartTitle::FrameWidth() const {
  if (Bevel() != bvNone) return BevelWidth();
  if (Pen()->Visible() && Pen()->Color() != clDefault) return Pen()->Width();
  return 0;
}

void TChartTitle::DrawTitle() {
  auto* chart = dynamic_cast<TCustomAxisPanel*>(ParentChart());
  if (chart == nullptr || !Visible() || FText.empty()) return;
  TCanvas3D& c = chart->Canvas();
  const std::int32_t f = FrameWidth();
  TRect r = ShapeBounds();
  if (!CustomPosition()) {
    r = chart->ChartRect();
    if (FOnTop) r.Top += f;
  }
  c.AssignFont(*Font());
  const std::int32_t h = c.FontHeight();
  const std::int32_t lines = static_cast<std::int32_t>(FText.size());
  if (!FOnTop && !CustomPosition())
    r.Top = r.Bottom - lines * h;
  else
    r.Bottom = r.Top + lines * h;
  if (!CustomPosition()) r = {r.Left - f, r.Top - f, r.Right + f, r.Bottom + f};
  if (FAdjustFrame) {
    std::int32_t widest = 0;
    for (const std::string& l : FText) widest = std::max(widest, c.TextWidth(l));
    const std::int32_t w = widest + c.TextWidth("W") + f;
    if (FAlignment == taLeftJustify) {
      r.Right = r.Left + w;
    } else if (FAlignment == taRightJustify) {
      r.Left = r.Right - w;
    } else {
      if (CustomPosition()) r.Right = r.Left + w;
      const std::int32_t mid = (r.Left + r.Right) / 2;
      r.Left = mid - w / 2;
      r.Right = mid + w / 2;
    }
  }
  SetShapeBounds(r);
  Draw(c);
  c.SetBackMode(TRANSPARENT);
  c.Brush().SetStyle(bsClear);
  c.AssignFont(*Font());
  for (std::int32_t i = 0; i < lines; ++i) {
    const std::string& line = FText[static_cast<std::size_t>(i)];
    const std::int32_t y = FOnTop || CustomPosition() ? r.Top + f + h * i : r.Bottom - f - h * (lines - i);
    std::int32_t x;
    if (FAlignment == taLeftJustify)
      x = r.Left + f;
    else if (FAlignment == taRightJustify)
      x = r.Right - c.TextWidth(line) - f / 2;
    else
      x = (r.Left + r.Right) / 2 - c.TextWidth(line) / 2;
    c.TextOut(x, y, line);
  }
  if (!CustomPosition()) {
    std::int32_t g = 5 + f;
    if (!Transparent()) g += Shadow()->VertSize();
    TRect cr = chart->ChartRect();
    if (FOnTop)
      cr.Top = r.Bottom + g;
    else
      cr.Bottom = r.Bottom - g - lines * h;
    chart->SetChartRect(cr);
  }
}

void TChartTitle::Assign(const classlib::TPersistent& source) {
  if (auto* t = dynamic_cast<const TChartTitle*>(&source)) {
    FAdjustFrame = t->FAdjustFrame;
    FAlignment = t->FAlignment;
    FText = t->FText;
  }
  TKivCustomShapePosition::Assign(source);
}

const TClassInfo& TChartFootTitle::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TChartFootTitle>("TChartFootTitle", TChartTitle::StaticClassInfo()).Creatable().Build();
  return info;
}

TChartFootTitle::TChartFootTitle(TCustomKivPanel* parent) : TChartTitle(parent, false) {
  Font()->InitDefaults(clRed, FontStyleBit(fsItalic));
}

}  // namespace chart
