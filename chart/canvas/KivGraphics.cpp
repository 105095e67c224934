// The device canvas and bitmap graphic over QPainter and QImage.
//
// Tested by: chart/tests/KivCanvasQtTest.cpp
#include "chart/canvas/KivGraphics.h"

#include <QGuiApplication>
#include <QPalette>

namespace chart {

TCanvas::TCanvas(QPaintDevice& device)
    : FOwnPainter(std::make_unique<QPainter>(&device)),
      FPainter(FOwnPainter.get()),
      FImage(dynamic_cast<QImage*>(&device)) {}

TCanvas::TCanvas(QPainter& painter)
    : FPainter(&painter), FImage(dynamic_cast<QImage*>(painter.device())) {}

TCanvas::~TCanvas() = default;

TBitmap::~TBitmap() = default;

void TBitmap::SetSize(int width, int height) {
  FCanvas.reset();
  FImage = QImage(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32);
  FImage.fill(Qt::white);
}

TCanvas& TBitmap::Canvas() {
  if (!FCanvas) FCanvas = std::make_unique<TCanvas>(FImage);
  return *FCanvas;
}

namespace {

// The palette roles that stand for the desktop theme's colours.
bool PaletteColor(int index, QColor& out) {
  if (QGuiApplication::instance() == nullptr) return false;
  const QPalette palette = QGuiApplication::palette();
  QPalette::ColorRole role;
  switch (index) {
    case 4: role = QPalette::Window; break;              // menu
    case 5: role = QPalette::Base; break;                // window
    case 7: case 8: role = QPalette::Text; break;        // menu text, window text
    case 13: role = QPalette::Highlight; break;
    case 14: role = QPalette::HighlightedText; break;
    case 15: role = QPalette::Button; break;             // button face
    case 16: role = QPalette::Dark; break;               // button shadow
    case 18: role = QPalette::ButtonText; break;
    case 20: role = QPalette::Light; break;              // button highlight
    case 21: role = QPalette::Shadow; break;
    case 22: role = QPalette::Midlight; break;
    case 23: role = QPalette::ToolTipText; break;
    case 24: role = QPalette::ToolTipBase; break;
    default: return false;
  }
  out = palette.color(QPalette::Active, role);
  return true;
}

}  // namespace

TColor ColorToRGB(TColor color) {
  if (!IsSystemColor(color)) return color;
  QColor q;
  if (PaletteColor(SystemColorIndex(color), q)) return RGB(q.red(), q.green(), q.blue());
  return ColorToRGB(color, nullptr);
}

QColor ToQColor(TColor color) { return QColor::fromRgb(ToQRgb(color)); }

QRgb ToQRgb(TColor color) {
  if (color == clNone || color == clDefault) return qRgb(0, 0, 0);
  const TColor c = ColorToRGB(color);
  return qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

TColor FromQRgb(QRgb rgb) { return RGB(qRed(rgb), qGreen(rgb), qBlue(rgb)); }

}  // namespace chart
