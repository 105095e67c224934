// The device layer under the drawing surface: a canvas that paints with a
// QPainter and keeps the pen, brush, font and current position a window-system
// device context keeps, and a bitmap graphic over a QImage.
//
// Tested by: chart/tests/KivCanvasQtTest.cpp
#pragma once

#include <QImage>
#include <QPainter>
#include <memory>

#include "chart/core/KivStyles.h"
#include "chart/core/KivTypes.h"

namespace chart {

class TCanvas {
 public:
  // Paints on device with a painter of its own, open for the canvas's life.
  explicit TCanvas(QPaintDevice& device);
  // Paints with a painter someone else opened (a widget's paint event, a button face).
  explicit TCanvas(QPainter& painter);
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;
  ~TCanvas();

  QPainter& Painter() { return *FPainter; }
  // The image painted on, when the device is one (pixel reads and blending need it).
  QImage* Image() const { return FImage; }

  TChartPen Pen;
  TBrush Brush;
  TFont Font;
  TPoint PenPos;

 private:
  std::unique_ptr<QPainter> FOwnPainter;
  QPainter* FPainter = nullptr;
  QImage* FImage = nullptr;
};

class TBitmap : public TGraphic {
 public:
  TBitmap() = default;
  explicit TBitmap(QImage image) : FImage(std::move(image)) {}
  ~TBitmap() override;

  int Width() const override { return FImage.width(); }
  int Height() const override { return FImage.height(); }
  // Resizes, losing the picture; the new pixels are white.
  void SetSize(int width, int height);
  const QImage& Image() const { return FImage; }
  // Replaces the picture (closing an open canvas first).
  void SetImage(QImage image) {
    FCanvas.reset();
    FImage = std::move(image);
  }
  // A canvas painting on the image, opened on first use.
  TCanvas& Canvas();
  // The canvas when one is open, without opening one.
  TCanvas* OpenCanvas() const { return FCanvas.get(); }
  // Closes the canvas so the image can be copied or saved as a finished picture.
  void ReleaseCanvas() { FCanvas.reset(); }

 private:
  QImage FImage;
  std::unique_ptr<TCanvas> FCanvas;
};

// The screen colour of a TColor: system colours through the application's
// palette, plain colours as they are (clNone and clDefault are not colours and give black).
QColor ToQColor(TColor color);
// The same as a pixel value, opaque.
QRgb ToQRgb(TColor color);
// The TColor of a pixel value.
TColor FromQRgb(QRgb rgb);
// The system colours as the application's palette shows them.
TColor ColorToRGB(TColor color);

}  // namespace chart
