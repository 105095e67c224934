// A drawing surface that paints nothing and writes each primitive it is asked
// for as one line of text, with the points already projected. Tests compare
// the lines to check what a drawing asked for without looking at pixels.
//
// Used by: chart/tests/KivCanvasTest.cpp, chart/tests/KivPanelTest.cpp
#pragma once

#include <string>
#include <vector>

#include "chart/canvas/KivCanvas.h"

namespace chart::testing {

class TRecordingCanvas : public TCanvas3D {
 public:
  TRecordingCanvas();

  std::vector<std::string> Log;
  // Text measures: every character is CharWidth wide, a line LineHeight high.
  std::int32_t CharWidth = 6;
  std::int32_t LineHeight = 13;

  // Lines of the log that start with prefix.
  std::vector<std::string> Calls(const std::string& prefix) const;

  bool GetMonochrome() const override { return FMonochrome; }
  TColor GetPixel(std::int32_t x, std::int32_t y) override;
  bool GetBuffered() const override { return false; }
  void SetMonochrome(bool v) override { FMonochrome = v; }
  void SetPixel(std::int32_t x, std::int32_t y, TColor c) override;
  void SetBuffered(bool) override {}

  void Arc(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, std::int32_t x3,
           std::int32_t y3, std::int32_t x4, std::int32_t y4) override;
  void Donut(std::int32_t x, std::int32_t y, std::int32_t xRadius, std::int32_t yRadius,
             double startAngle, double endAngle, double holePercent) override;
  void Draw(std::int32_t x, std::int32_t y, const TGraphic* graphic) override;
  void Ellipse(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) override;
  void FillRect(const TRect& rect) override;
  void LineTo(std::int32_t x, std::int32_t y) override;
  void MoveTo(std::int32_t x, std::int32_t y) override;
  void Pie(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, std::int32_t x3,
           std::int32_t y3, std::int32_t x4, std::int32_t y4) override;
  void Rectangle(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1) override;
  void RoundRect(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, std::int32_t x3,
                 std::int32_t y3) override;
  void StretchDraw(const TRect& rect, const TGraphic* graphic) override;
  void ClipRectangle(const TRect& rect) override;
  void ClipEllipse(const TRect& rect) override;
  void ClipRoundRectangle(const TRect& rect, std::int32_t corner) override;
  void ClipPolygon(std::span<const TPoint> points) override;
  void UnClipRectangle() override;
  void Invalidate() override { Log.push_back("Invalidate"); }
  void Polyline(std::span<const TPoint> points) override;
  void Polygon(std::span<const TPoint> points) override;
  using TKivCanvas::Ellipse;
  using TKivCanvas::Rectangle;
  using TKivCanvas::RoundRect;

  TRect InitWindow(TCanvas* dest, TView3DOptions* options, TColor backColor, bool is3D,
                   const TRect& bounds) override;
  void ShowImage(TCanvas* dest, TCanvas* defaultCanvas, const TRect& rect) override;
  bool ReDrawBitmap() override { return false; }

 protected:
  std::unique_ptr<TKivBlend> NewBlend(const TRect& rect) override;
  void RawTextOut(std::int32_t x, std::int32_t y, const std::string& text, TColor color) override;
  void PathTextOut(std::int32_t x, std::int32_t y, const std::string& text, const TChartPen* outline,
                   TKivFontGradient* gradient) override;
  std::int32_t RawTextWidth(const std::string& text) override;
  std::int32_t RawTextHeight(const std::string& text) override;
  bool IsMonochrome() const override { return FMonochrome; }

 private:
  // The pen and brush a filled primitive is drawn with, e.g. "pen=000000/1 brush=FFFFFF".
  std::string Style() const;
  void Add(const std::string& line) { Log.push_back(line); }

  bool FMonochrome = false;
  TChartPen FPen;
  TBrush FBrush;
  TFont FFont;
};

// "x,y x,y ..." of a list of points.
std::string PointsText(std::span<const TPoint> points);

}  // namespace chart::testing
