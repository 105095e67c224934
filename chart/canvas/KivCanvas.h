// The drawing surface through which every chart element draws.
//
// TKivCanvas holds the 2D operations, TCanvas3D adds the operations that take
// a depth and project it, and TKivCanvas3D (chart/canvas/KivCanvasQt.h) is the
// concrete surface that paints with QPainter into an off-screen image. The
// operations follow the window-system conventions the engine's geometry was
// designed for: rectangles exclude their right and bottom edge, a line does
// not paint its end pixel, text is placed by the alignment flags (its top
// edge by default), colours are TColor values.
//
// The 3D operations are written once here on top of the 2D ones and the
// projection, so every surface (the QPainter one, the recording one of the
// tests) draws a 3D primitive the same way.
//
// Tested by: chart/tests/KivCanvasTest.cpp, chart/tests/KivCanvasQtTest.cpp
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "chart/core/KivProjection.h"
#include "chart/core/KivStyles.h"
#include "chart/core/KivTypes.h"

namespace chart {

class TCanvas;  // the device a surface paints on (chart/canvas/KivGraphics.h)
class TKivCanvas;

// Pixels of a rectangle saved by BeginBlending, mixed back by EndBlending.
class TKivBlend {
 public:
  virtual ~TKivBlend() = default;
  // Mixes the saved pixels over what was drawn since: transparency percent of the old.
  virtual void DoBlend(std::int32_t transparency) = 0;
};

class TKivCanvas {
 public:
  TKivCanvas() = default;
  TKivCanvas(const TKivCanvas&) = delete;
  TKivCanvas& operator=(const TKivCanvas&) = delete;
  virtual ~TKivCanvas() = default;

  // properties
  TChartPen& Pen() { return *FPen; }
  TBrush& Brush() { return *FBrush; }
  TFont& Font() { return *FFont; }
  // The chart font last selected with AssignFont (nullptr until then).
  TKivFont* CurrentFont() const { return FCurrentFont; }
  double FontZoom() const { return FFontZoom; }
  void SetFontZoom(double v) { FFontZoom = v; }
  bool Recording() const { return FRecording; }
  void SetRecording(bool v) { FRecording = v; }
  // Extra pixels between characters of the selected font.
  std::int32_t CharacterExtra() const { return FCharExtra; }
  void SetCharacterExtra(std::int32_t v) { FCharExtra = v; }

  // operations: state
  virtual TColor GetBackColor() const { return FBackColor; }
  virtual int GetBackMode() const { return FBackMode; }
  virtual bool GetMonochrome() const = 0;
  virtual TColor GetPixel(std::int32_t x, std::int32_t y) = 0;
  virtual unsigned GetTextAlign() const { return FTextAlign; }
  virtual bool GetBuffered() const = 0;
  virtual void SetBackColor(TColor c) { FBackColor = c; }
  virtual void SetBackMode(int mode) { FBackMode = mode & 0xFF; }
  virtual void SetMonochrome(bool v) = 0;
  virtual void SetPixel(std::int32_t x, std::int32_t y, TColor c) = 0;
  virtual void SetTextAlign(unsigned flags) { FTextAlign = flags; }
  virtual void SetBuffered(bool v) = 0;

  // operations: blending
  // Saves the pixels of rect; EndBlending mixes them back by the transparency.
  std::unique_ptr<TKivBlend> BeginBlending(const TRect& rect, std::int32_t transparency);
  void EndBlending(std::unique_ptr<TKivBlend> blend);

  // operations: 2D primitives
  virtual void Arc(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                   std::int32_t x3, std::int32_t y3, std::int32_t x4, std::int32_t y4) = 0;
  // A filled ring sector; angles in degrees, counter-clockwise from 3 o'clock.
  virtual void Donut(std::int32_t x, std::int32_t y, std::int32_t xRadius, std::int32_t yRadius,
                     double startAngle, double endAngle, double holePercent) = 0;
  virtual void Draw(std::int32_t x, std::int32_t y, const TGraphic* graphic) = 0;
  virtual void Ellipse(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) = 0;
  virtual void FillRect(const TRect& rect) = 0;
  virtual void Frame3D(TRect& rect, TColor topColor, TColor bottomColor, std::int32_t width);
  virtual void LineTo(std::int32_t x, std::int32_t y) = 0;
  virtual void MoveTo(std::int32_t x, std::int32_t y) = 0;
  virtual void Pie(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                   std::int32_t x3, std::int32_t y3, std::int32_t x4, std::int32_t y4) = 0;
  virtual void Rectangle(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1) = 0;
  virtual void RoundRect(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                         std::int32_t x3, std::int32_t y3) = 0;
  virtual void StretchDraw(const TRect& rect, const TGraphic* graphic) = 0;
  virtual void TextOut(std::int32_t x, std::int32_t y, const std::string& text);
  virtual std::int32_t TextWidth(const std::string& text);
  virtual std::int32_t TextHeight(const std::string& text);
  virtual void ClipRectangle(const TRect& rect) = 0;
  virtual void ClipEllipse(const TRect& rect) = 0;
  virtual void ClipRoundRectangle(const TRect& rect, std::int32_t corner) = 0;
  virtual void ClipPolygon(std::span<const TPoint> points) = 0;
  virtual void UnClipRectangle() = 0;
  virtual void DoHorizLine(std::int32_t x0, std::int32_t x1, std::int32_t y);
  virtual void DoVertLine(std::int32_t x, std::int32_t y0, std::int32_t y1);
  virtual void EraseBackground(const TRect& rect) { FillRect(rect); }
  virtual void GradientFill(const TRect& rect, TColor startColor, TColor endColor,
                            TGradientDirection direction, std::int32_t balance);
  virtual void Invalidate() = 0;
  virtual void Line(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1);
  virtual void Polyline(std::span<const TPoint> points) = 0;
  // The points joined by one line each, exactly as MoveTo to the first and
  // LineTo to each next one draw them; a surface may set its pen up once.
  virtual void LineSegments(std::span<const TPoint> points);
  virtual void Polygon(std::span<const TPoint> points) = 0;
  // Text turned counter-clockwise by angle degrees about (x, y).
  virtual void RotateLabel(std::int32_t x, std::int32_t y, const std::string& text, double angle);
  // Fills rect with the 1-pixel rings of a radial gradient from start (centre) to end.
  void RadialFill(const TRect& rect, TColor start, TColor end, std::int32_t radialX,
                  std::int32_t radialY, std::int32_t balance);

  // operations: record forms and style selection
  void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
  void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
  void RoundRect(const TRect& r, std::int32_t x3, std::int32_t y3) {
    RoundRect(r.Left, r.Top, r.Right, r.Bottom, x3, y3);
  }
  void Line(const TPoint& a, const TPoint& b) { Line(a.X, a.Y, b.X, b.Y); }

  void AssignBrush(const TChartBrush& brush, TColor color);
  void AssignBrush(const TChartBrush& brush) { AssignBrush(brush, brush.Color()); }
  void AssignBrushColor(const TChartBrush& brush, TColor color, TColor background);
  void AssignVisiblePen(const TPen& pen) { AssignVisiblePenColor(pen, pen.Color()); }
  void AssignVisiblePenColor(const TPen& pen, TColor color);
  void AssignFont(TKivFont& font);
  // Pen black, width 1, solid; brush white, solid; font black, size 10;
  // background white and transparent; text alignment 0.
  void ResetState();
  // With a solid brush its colour becomes the darkened colour, else the background colour.
  void SetDarkBrush(TColor color, std::int32_t amount);
  std::int32_t FontHeight() { return TextHeight("W"); }

 protected:
  // Binds the pen, brush and font that the next drawing uses.
  void BindStyles(TChartPen& pen, TBrush& brush, TFont& font) {
    FPen = &pen;
    FBrush = &brush;
    FFont = &font;
  }
  virtual std::unique_ptr<TKivBlend> NewBlend(const TRect& rect) = 0;
  // Text in the font colour at (x, y) by the alignment flags, turned by
  // TextAngle, with the font's size replaced by TextSize when that is above 0.
  virtual void RawTextOut(std::int32_t x, std::int32_t y, const std::string& text,
                          TColor color) = 0;
  // The text as an outline stroked with the outline pen (and filled in the
  // font colour unless it is clNone), or filled by the gradient.
  virtual void PathTextOut(std::int32_t x, std::int32_t y, const std::string& text,
                           const TChartPen* outline, TKivFontGradient* gradient) = 0;
  virtual std::int32_t RawTextWidth(const std::string& text) = 0;
  virtual std::int32_t RawTextHeight(const std::string& text) = 0;
  virtual bool IsMonochrome() const = 0;

  double FTextAngle = 0;         // degrees, counter-clockwise
  std::int32_t FTextSize = 0;    // points; 0 keeps the font's size

 private:
  TChartPen* FPen = nullptr;
  TBrush* FBrush = nullptr;
  TFont* FFont = nullptr;
  TKivFont* FCurrentFont = nullptr;
  double FFontZoom = 100.0;
  bool FRecording = false;
  std::int32_t FCharExtra = 0;
  std::int32_t FBlendTransparency = 0;
  TColor FBackColor = clWhite;
  int FBackMode = OPAQUE;
  unsigned FTextAlign = TA_LEFT | TA_TOP;
};

class TCanvas3D : public TKivCanvas {
 public:
  // properties
  TView3DOptions* View3DOptions() const { return FView3DOptions; }
  void SetView3DOptions(TView3DOptions* v) { FView3DOptions = v; }
  bool IsOrthogonal() const { return FProjection.IsOrthogonal; }
  bool Is3D() const { return FProjection.Is3D; }
  const TProjection3D& ProjectionState() const { return FProjection; }
  void SetRotationCenter(double x, double y, double z) {
    FProjection.RotationCenterX = x;
    FProjection.RotationCenterY = y;
    FProjection.RotationCenterZ = z;
  }
  bool ZoomText() const { return FProjection.ZoomText; }
  void SetZoomText(bool v) { FProjection.ZoomText = v; }

  void RotateLabel(std::int32_t x, std::int32_t y, const std::string& text, double angle) override;

  // operations: projection and passes
  // Binds the surface for a drawing pass into dest (when buffered, into the
  // off-screen image) and returns the rectangle to draw in.
  virtual TRect InitWindow(TCanvas* dest, TView3DOptions* options, TColor backColor, bool is3D,
                           const TRect& bounds) = 0;
  virtual void Projection(std::int32_t maxDepth, const TRect& chartRect) {
    FProjection.Projection(maxDepth, chartRect);
  }
  // Takes the view options' angles again and centres on chartRect: an outline
  // dragged between passes needs the new angles at once.
  void Reproject(bool is3D, std::int32_t maxDepth, const TRect& chartRect) {
    FProjection.InitWindow(FView3DOptions, is3D);
    Projection(maxDepth, chartRect);
  }
  // Shows the finished picture in dest at rect's top-left; then binds defaultCanvas.
  virtual void ShowImage(TCanvas* dest, TCanvas* defaultCanvas, const TRect& rect) = 0;
  // Repaints from the off-screen image when it holds a finished picture.
  virtual bool ReDrawBitmap() = 0;
  virtual void Assign(const TCanvas3D& other) { SetMonochrome(other.GetMonochrome()); }
  virtual bool GetSupportsFullRotation() const { return false; }
  virtual bool GetSupports3DText() const { return false; }

  TPoint Calculate3DPosition(std::int32_t x, std::int32_t y, std::int32_t z) const {
    return FProjection.Calculate3DPosition(x, y, z);
  }
  TPoint Calculate3DPosition(const TPoint& p, std::int32_t z) const {
    return FProjection.Calculate3DPosition(p.X, p.Y, z);
  }
  TRect Calculate3DPosition(const TRect& r, std::int32_t z) const;
  void Calculate2DPosition(std::int32_t& x, std::int32_t& y, std::int32_t z) const {
    FProjection.Calculate2DPosition(x, y, z);
  }
  // The bounding rectangle of the four projected corners of r at depth z,
  // widened by one at the right and bottom.
  TRect RectFromRectZ(const TRect& r, std::int32_t z) const;

  void FrontPlaneBegin() {
    FSaved3D = FProjection.Is3D;
    FProjection.Is3D = false;
  }
  void FrontPlaneEnd() { FProjection.Is3D = FSaved3D; }

  // operations: 3D primitives (points are projected at their depth)
  TColor GetPixel3D(std::int32_t x, std::int32_t y, std::int32_t z);
  void SetPixel3D(std::int32_t x, std::int32_t y, std::int32_t z, TColor color);
  void Arrow(bool filled, const TPoint& from, const TPoint& to, std::int32_t headWidth,
             std::int32_t headHeight, std::int32_t z);
  void ClipCube(const TRect& rect, std::int32_t minZ, std::int32_t maxZ);
  void HorizLine3D(std::int32_t x0, std::int32_t x1, std::int32_t y, std::int32_t z);
  void VertLine3D(std::int32_t x, std::int32_t y0, std::int32_t y1, std::int32_t z);
  void ZLine3D(std::int32_t x, std::int32_t y, std::int32_t z0, std::int32_t z1);
  void EllipseWithZ(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                    std::int32_t z);
  void EllipseWithZ(const TRect& r, std::int32_t z) { EllipseWithZ(r.Left, r.Top, r.Right, r.Bottom, z); }
  void LineWithZ(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1, std::int32_t z);
  void LineWithZ(const TPoint& a, const TPoint& b, std::int32_t z) { LineWithZ(a.X, a.Y, b.X, b.Y, z); }
  void MoveTo3D(std::int32_t x, std::int32_t y, std::int32_t z);
  void LineTo3D(std::int32_t x, std::int32_t y, std::int32_t z);
  void Plane3D(const TPoint& a, const TPoint& b, std::int32_t z0, std::int32_t z1);
  void PlaneWithZ(const TPoint& p1, const TPoint& p2, const TPoint& p3, const TPoint& p4,
                  std::int32_t z);
  void PlaneWithZ(const TPoint (&points)[4], std::int32_t z) {
    PlaneWithZ(points[0], points[1], points[2], points[3], z);
  }
  void PlaneFour3D(const TPoint (&points)[4], std::int32_t z0, std::int32_t z1);
  void PolygonWithZ(std::span<const TPoint> points, std::int32_t z);
  void PolylineWithZ(std::span<const TPoint> points, std::int32_t z);
  void RectangleWithZ(const TRect& rect, std::int32_t z);
  void RectangleY(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t z0,
                  std::int32_t z1);
  void RectangleZ(std::int32_t left, std::int32_t top, std::int32_t bottom, std::int32_t z0,
                  std::int32_t z1);
  void RotateLabel3D(std::int32_t x, std::int32_t y, std::int32_t z, const std::string& text,
                     double angle);
  void Sphere(std::int32_t x, std::int32_t y, double radius, std::int32_t z);
  void TextOut3D(std::int32_t x, std::int32_t y, std::int32_t z, const std::string& text);
  void Triangle3D(const TPoint (&points)[3], const std::int32_t (&z)[3], TColor color);
  void TriangleWithZ(const TPoint& p1, const TPoint& p2, const TPoint& p3, std::int32_t z);
  // The four-point buffer the plane operations fill.
  void PolygonFour() { Polygon(std::span<const TPoint>(FFourPoints, 4)); }
  const TPoint (&FourPoints() const)[4] { return FFourPoints; }

  // A box: at most three faces, chosen by the facing tests of their projected
  // corners; with darkSides the side face is darkened by 128 and the top or
  // bottom face by 64 from the brush colour read at the start.
  void Cube(std::int32_t left, std::int32_t right, std::int32_t top, std::int32_t bottom,
            std::int32_t z0, std::int32_t z1, bool darkSides);
  void Cube(const TRect& r, std::int32_t z0, std::int32_t z1, bool darkSides) {
    Cube(r.Left, r.Right, r.Top, r.Bottom, z0, z1, darkSides);
  }
  // A pyramid bar: vertical with its apex at top (over the middle of the base
  // at bottom), else horizontal with its apex at right; faces chosen by their
  // turn, the sides darkened with darkSides.
  void Pyramid(bool vertical, std::int32_t left, std::int32_t top, std::int32_t right,
               std::int32_t bottom, std::int32_t z0, std::int32_t z1, bool darkSides);
  // A pyramid cut flat at rect's top edge: its top face is 2 * topHalfWidth
  // wide and 2 * topHalfDepth deep around the middle; no face is darkened.
  void PyramidTrunc(const TRect& rect, std::int32_t z0, std::int32_t z1, std::int32_t topHalfWidth,
                    std::int32_t topHalfDepth);
  // A cone bar of 16 sides whose top ring is topPercent of the base (0: the
  // unit's cone percent, a point); vertical from bottom up to top, else from
  // left out to right.
  void Cone(bool vertical, std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom,
            std::int32_t z0, std::int32_t z1, bool darkSides, std::int32_t topPercent);
  void Cylinder(bool vertical, std::int32_t left, std::int32_t top, std::int32_t right,
                std::int32_t bottom, std::int32_t z0, std::int32_t z1, bool darkSides) {
    Cone(vertical, left, top, right, bottom, z0, z1, darkSides, 100);
  }
  // A pie slice between z0 and z1 from startAngle to endAngle (radians,
  // counter-clockwise), sampled every 10 degrees; a hole of holePercent of the
  // radii makes it a ring sector. Curved bands and cut faces are drawn only
  // where they face the viewer.
  void Pie3D(std::int32_t xCenter, std::int32_t yCenter, std::int32_t xRadius, std::int32_t yRadius,
             std::int32_t z0, std::int32_t z1, double startAngle, double endAngle, bool darkSides,
             bool drawSides, std::int32_t holePercent = 0);
  // Shaded spheres are for surfaces that can show them; this one draws nothing.
  virtual void SphereEnh(std::int32_t x, std::int32_t y, std::int32_t z, std::int32_t radius,
                         std::int32_t color) {}
  // The picture as cells of rect at depth z, one per pixel, each filled in
  // its pixel's colour without a pen.
  void StretchImageInto(const TRect& rect, const TGraphic* graphic, std::int32_t z);

 protected:
  // The projection part of InitWindow; the buffering part is the backend's.
  void InitProjection(TView3DOptions* options, bool is3D) {
    FView3DOptions = options;
    FProjection.InitWindow(options, is3D);
  }

  TProjection3D FProjection;
  TPoint FFourPoints[4] = {};

 private:
  TView3DOptions* FView3DOptions = nullptr;
  bool FSaved3D = false;
};

// Side and top darkness of dark-sided solids, the darkness of a pie slice's
// sides, and the top size of a cone whose own is 0 (a point).
constexpr std::int32_t KivSideDarkness = 128;
constexpr std::int32_t KivTopDarkness = 64;
constexpr std::int32_t KivPieDarkness = 32;
constexpr std::int32_t KivConePercent = 0;

}  // namespace chart
