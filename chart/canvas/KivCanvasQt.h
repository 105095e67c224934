// The concrete drawing surface: paints with QPainter, into an off-screen image
// when buffered (the default), and copies the finished image to the screen.
//
// Part of the KivCanvas unit.
//
// Tested by: chart/tests/KivCanvasQtTest.cpp
#pragma once

#include <QPainter>
#include <QRegion>
#include <memory>
#include <optional>

#include "chart/canvas/KivCanvas.h"
#include "chart/canvas/KivGraphics.h"
#include "chart/canvas/StraightLines.h"

namespace chart {

class TKivCanvas3D : public TCanvas3D {
 public:
  explicit TKivCanvas3D(TCanvas* reference = nullptr);
  ~TKivCanvas3D() override;

  // properties
  TCanvas* ReferenceCanvas() const { return FReference; }
  void SetReferenceCanvas(TCanvas* canvas);
  // The off-screen image (nullptr until a buffered InitWindow).
  TBitmap* Bitmap() const { return FBitmap.get(); }
  bool Dirty() const { return FDirty; }

  // overrides: state
  bool GetMonochrome() const override { return FMonochrome; }
  TColor GetPixel(std::int32_t x, std::int32_t y) override;
  bool GetBuffered() const override { return FBuffered; }
  void SetMonochrome(bool v) override;
  void SetPixel(std::int32_t x, std::int32_t y, TColor c) override;
  void SetBuffered(bool v) override;

  // overrides: 2D primitives
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
  void Invalidate() override { FDirty = true; }
  void Polyline(std::span<const TPoint> points) override;
  void LineSegments(std::span<const TPoint> points) override;
  void Polygon(std::span<const TPoint> points) override;
  using TKivCanvas::Ellipse;
  using TKivCanvas::Rectangle;
  using TKivCanvas::RoundRect;

  // overrides: passes and buffering
  TRect InitWindow(TCanvas* dest, TView3DOptions* options, TColor backColor, bool is3D,
                   const TRect& bounds) override;
  void ShowImage(TCanvas* dest, TCanvas* defaultCanvas, const TRect& rect) override;
  bool ReDrawBitmap() override;

  // operations
  void DeleteBitmap();
  // Copies the whole off-screen image to dest at (x, y).
  void BitBltBitmap(std::int32_t x, std::int32_t y, TCanvas& dest);

 protected:
  std::unique_ptr<TKivBlend> NewBlend(const TRect& rect) override;
  void RawTextOut(std::int32_t x, std::int32_t y, const std::string& text, TColor color) override;
  void PathTextOut(std::int32_t x, std::int32_t y, const std::string& text, const TChartPen* outline,
                   TKivFontGradient* gradient) override;
  std::int32_t RawTextWidth(const std::string& text) override;
  std::int32_t RawTextHeight(const std::string& text) override;
  bool IsMonochrome() const override { return FMonochrome; }
  // Off, every primitive builds and sets the painter's pen, brush and modes
  // afresh: the plain road the tests compare the kept state with, picture
  // for picture.
  virtual bool ReusesPainterState() const { return true; }

 private:
  // What the styles ask of the painter, in the colours it paints in: equal
  // values give an equal painter state.
  struct TPenStyles {
    QPainter::CompositionMode Mode = QPainter::CompositionMode_SourceOver;
    bool Shown = false;
    QRgb Color = 0;
    std::int32_t Width = 0;
    TPenStyle Style = psSolid;
    TPenEndStyle EndStyle = esRound;
    bool SmallDots = false;
    bool operator==(const TPenStyles&) const = default;
  };
  struct TBrushStyles {
    bool Picture = false;
    TBrushStyle Style = bsSolid;
    QRgb Color = 0;
    // A hatch under an XOR raster operation is laid as a picture whose
    // see-through pixels hold this colour.
    bool Baked = false;
    QRgb Back = 0;
    bool operator==(const TBrushStyles&) const = default;
  };
  struct TPainterStyles {
    TPenStyles Pen;
    TBrushStyles Brush;
    bool Opaque = false;
    QRgb BackColor = 0;
  };
  TPainterStyles WantedStyles(QPainter::CompositionMode mode, TColor penColor);
  void BuildPen(const TPenStyles& wanted);
  void BuildBrush(const TBrushStyles& wanted);

  QPainter* Painter() const { return FReference != nullptr ? &FReference->Painter() : nullptr; }
  // What a primitive draws: a shape fills with the brush, an outline and
  // single lines do not.
  enum class TDrawing { Shape, Outline, Lines };
  // Sets the painter's pen, background and raster mode from the styles, and
  // its brush too for a shape; false when the pen mode paints nothing.
  bool Prepare(QPainter& p, TDrawing drawing = TDrawing::Shape);
  // True when the painter's pen, as Prepare left it, paints a pixel met twice
  // as it paints it once: a one-pixel solid opaque pen in plain copy.
  bool PaintsEachPixelOnce(const QPainter& p) const;
  QFont CurrentQFont() const;
  void ClipRegion(const QRegion& region);
  // The writer of straight lines for the painter as Prepare left it (with
  // its brush for a shape), or nothing where the painter must draw itself.
  // Asking the painter costs more than a short line, so the answer is kept
  // while what Prepare set, the clip and the picture stay as they were.
  const TStraightLines* StraightLinesFor(const QPainter& p, TDrawing drawing);

  TCanvas* FReference = nullptr;
  std::unique_ptr<TBitmap> FBitmap;
  bool FMonochrome = false;
  bool FDirty = true;
  bool FBuffered = true;
  TRect FBounds;
  std::optional<QRegion> FSavedClip;
  // Styles used while no canvas is bound.
  TChartPen FIdlePen;
  TBrush FIdleBrush;
  TFont FIdleFont;
  // The painter objects last built from the styles, kept while the styles
  // stay the same: a QPen and a QBrush made for every short line cost more
  // than the line itself.
  TPainterStyles FStyles;
  bool FPenBuilt = false;
  bool FBrushBuilt = false;
  bool FBackgroundBuilt = false;
  // Set by Prepare for single lines: a line of no length draws nothing.
  bool FPointLinesSkipped = false;
  QPen FPainterPen;
  QBrush FPainterBrush;
  QBrush FPainterBackground;
  // What Prepare last set beside the pen and the brush, and how often these
  // two were built.
  QPainter::CompositionMode FPreparedMode = QPainter::CompositionMode_SourceOver;
  Qt::BGMode FPreparedBackground = Qt::TransparentMode;
  std::uint64_t FPenBuilds = 0, FBrushBuilds = 0;
  // What a kept straight-lines writer was made for. Prepare puts back any
  // pen, brush or mode someone else set on the painter, and only this
  // surface clips it, so its own counts stand for the painter's state.
  struct TStraightKey {
    const TCanvas* Reference = nullptr;
    const uchar* Bits = nullptr;
    std::uint64_t PenBuilds = 0;
    QPainter::CompositionMode Mode = QPainter::CompositionMode_SourceOver;
    bool Identity = true;
    std::uint64_t ClipChanges = 0;
    bool operator==(const TStraightKey&) const = default;
  };
  // One writer for each background mode: single lines of a solid pen drop
  // the opaque mode that shapes keep, so the two take turns.
  struct TKeptStraightLines {
    std::optional<TStraightKey> Key;
    std::uint64_t BrushBuilds = 0;
    std::optional<TStraightLines> Writer;
  };
  TKeptStraightLines FStraight[2];
  std::uint64_t FClipChanges = 0;
};

}  // namespace chart
