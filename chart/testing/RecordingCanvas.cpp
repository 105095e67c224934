// The recording surface of the tests.
//
// Used by: chart/tests/KivCanvasTest.cpp, chart/tests/KivPanelTest.cpp
#include "chart/testing/RecordingCanvas.h"

#include <cstdio>

namespace chart::testing {

namespace {

std::string Hex(TColor c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%06X", static_cast<unsigned>(c & 0xFFFFFFFF));
  return buf;
}

std::string Ints(std::initializer_list<std::int32_t> values) {
  std::string s;
  for (std::int32_t v : values) {
    if (!s.empty()) s += ',';
    s += std::to_string(v);
  }
  return s;
}

class TRecordingBlend : public TKivBlend {
 public:
  TRecordingBlend(std::vector<std::string>& log, const TRect& r) : FLog(log), FRect(r) {}
  void DoBlend(std::int32_t transparency) override {
    FLog.push_back("EndBlending " + Ints({FRect.Left, FRect.Top, FRect.Right, FRect.Bottom}) + " " +
                   std::to_string(transparency));
  }

 private:
  std::vector<std::string>& FLog;
  TRect FRect;
};

}  // namespace

std::string PointsText(std::span<const TPoint> points) {
  std::string s;
  for (const TPoint& p : points) {
    if (!s.empty()) s += ' ';
    s += std::to_string(p.X) + ',' + std::to_string(p.Y);
  }
  return s;
}

TRecordingCanvas::TRecordingCanvas() { BindStyles(FPen, FBrush, FFont); }

std::vector<std::string> TRecordingCanvas::Calls(const std::string& prefix) const {
  std::vector<std::string> out;
  for (const std::string& line : Log)
    if (line.rfind(prefix, 0) == 0) out.push_back(line);
  return out;
}

std::string TRecordingCanvas::Style() const {
  auto& self = const_cast<TRecordingCanvas&>(*this);
  std::string pen = (self.Pen().Style() == psClear || !self.Pen().Visible())
                        ? "clear"
                        : Hex(self.Pen().Color()) + "/" + std::to_string(self.Pen().Width());
  std::string brush = self.Brush().Style() == bsClear ? "clear" : Hex(self.Brush().Color());
  return "pen=" + pen + " brush=" + brush;
}

TColor TRecordingCanvas::GetPixel(std::int32_t x, std::int32_t y) {
  Add("GetPixel " + Ints({x, y}));
  return clNone;
}

void TRecordingCanvas::SetPixel(std::int32_t x, std::int32_t y, TColor c) {
  Add("SetPixel " + Ints({x, y}) + " " + Hex(c));
}

void TRecordingCanvas::Arc(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                           std::int32_t x3, std::int32_t y3, std::int32_t x4, std::int32_t y4) {
  Add("Arc " + Ints({x1, y1, x2, y2, x3, y3, x4, y4}) + " " + Style());
}

void TRecordingCanvas::Donut(std::int32_t x, std::int32_t y, std::int32_t xRadius, std::int32_t yRadius,
                             double startAngle, double endAngle, double holePercent) {
  Add("Donut " + Ints({x, y, xRadius, yRadius}) + " " + std::to_string(startAngle) + " " +
      std::to_string(endAngle) + " " + std::to_string(holePercent) + " " + Style());
}

void TRecordingCanvas::Draw(std::int32_t x, std::int32_t y, const TGraphic* graphic) {
  if (graphic == nullptr || graphic->Empty()) return;
  Add("Draw " + Ints({x, y}));
}

void TRecordingCanvas::Ellipse(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
  Add("Ellipse " + Ints({x1, y1, x2, y2}) + " " + Style());
}

void TRecordingCanvas::FillRect(const TRect& r) {
  Add("FillRect " + Ints({r.Left, r.Top, r.Right, r.Bottom}) + " " + Hex(Brush().Color()));
}

void TRecordingCanvas::LineTo(std::int32_t x, std::int32_t y) { Add("LineTo " + Ints({x, y}) + " " + Style()); }
void TRecordingCanvas::MoveTo(std::int32_t x, std::int32_t y) { Add("MoveTo " + Ints({x, y})); }

void TRecordingCanvas::Pie(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                           std::int32_t x3, std::int32_t y3, std::int32_t x4, std::int32_t y4) {
  Add("Pie " + Ints({x1, y1, x2, y2, x3, y3, x4, y4}) + " " + Style());
}

void TRecordingCanvas::Rectangle(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1) {
  Add("Rectangle " + Ints({x0, y0, x1, y1}) + " " + Style());
}

void TRecordingCanvas::RoundRect(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                                 std::int32_t x3, std::int32_t y3) {
  Add("RoundRect " + Ints({x1, y1, x2, y2, x3, y3}) + " " + Style());
}

void TRecordingCanvas::StretchDraw(const TRect& r, const TGraphic* graphic) {
  if (graphic == nullptr) return;
  Add("StretchDraw " + Ints({r.Left, r.Top, r.Right, r.Bottom}));
}

void TRecordingCanvas::ClipRectangle(const TRect& r) {
  Add("ClipRectangle " + Ints({r.Left, r.Top, r.Right, r.Bottom}));
}
void TRecordingCanvas::ClipEllipse(const TRect& r) {
  Add("ClipEllipse " + Ints({r.Left, r.Top, r.Right, r.Bottom}));
}
void TRecordingCanvas::ClipRoundRectangle(const TRect& r, std::int32_t corner) {
  Add("ClipRoundRectangle " + Ints({r.Left, r.Top, r.Right, r.Bottom, corner}));
}
void TRecordingCanvas::ClipPolygon(std::span<const TPoint> points) { Add("ClipPolygon " + PointsText(points)); }
void TRecordingCanvas::UnClipRectangle() { Add("UnClipRectangle"); }

void TRecordingCanvas::Polyline(std::span<const TPoint> points) {
  Add("Polyline " + PointsText(points) + " " + Style());
}
void TRecordingCanvas::Polygon(std::span<const TPoint> points) {
  Add("Polygon " + PointsText(points) + " " + Style());
}

TRect TRecordingCanvas::InitWindow(TCanvas*, TView3DOptions* options, TColor, bool is3D,
                                   const TRect& bounds) {
  InitProjection(options, is3D);
  Add("InitWindow " + Ints({bounds.Left, bounds.Top, bounds.Right, bounds.Bottom}));
  return bounds;
}

void TRecordingCanvas::ShowImage(TCanvas*, TCanvas*, const TRect& r) {
  Add("ShowImage " + Ints({r.Left, r.Top, r.Right, r.Bottom}));
}

std::unique_ptr<TKivBlend> TRecordingCanvas::NewBlend(const TRect& r) {
  Add("BeginBlending " + Ints({r.Left, r.Top, r.Right, r.Bottom}));
  return std::make_unique<TRecordingBlend>(Log, r);
}

void TRecordingCanvas::RawTextOut(std::int32_t x, std::int32_t y, const std::string& text, TColor color) {
  Add("TextOut " + Ints({x, y}) + " " + Hex(color) + " \"" + text + "\"");
}

void TRecordingCanvas::PathTextOut(std::int32_t x, std::int32_t y, const std::string& text,
                                   const TChartPen* outline, TKivFontGradient* gradient) {
  Add("PathTextOut " + Ints({x, y}) + " \"" + text + "\"" + (outline ? " outline" : "") +
      (gradient ? " gradient" : ""));
}

std::int32_t TRecordingCanvas::RawTextWidth(const std::string& text) {
  return CharWidth * static_cast<std::int32_t>(text.size());
}

std::int32_t TRecordingCanvas::RawTextHeight(const std::string&) { return LineHeight; }

}  // namespace chart::testing
