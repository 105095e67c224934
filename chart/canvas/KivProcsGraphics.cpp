// The shared routines that paint or load pictures: the check box and the
// class bitmaps.
//
// Tested by: chart/tests/KivCanvasQtTest.cpp
#include <QFile>
#include <QImage>
#include <QPainter>

#include "chart/canvas/KivGraphics.h"
#include "chart/canvas/KivProcsGraphics.h"

namespace chart {

void DrawCheckBox(std::int32_t x, std::int32_t y, TCanvas& canvas, bool checked) {
  QPainter& p = canvas.Painter();
  p.save();
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
  p.setBrush(Qt::NoBrush);
  auto line = [&](TColor c, int x0, int y0, int x1, int y1) {
    p.setPen(QPen(ToQColor(c), 0));
    p.drawLine(x + x0, y + y0, x + x1, y + y1);
  };
  // A sunken frame two pixels wide: shadow and dark shadow above and left,
  // highlight and light below and right.
  line(clBtnShadow, 0, 0, 11, 0);
  line(clBtnShadow, 0, 0, 0, 11);
  line(cl3DDkShadow, 1, 1, 10, 1);
  line(cl3DDkShadow, 1, 1, 1, 10);
  line(clBtnHighlight, 12, 0, 12, 12);
  line(clBtnHighlight, 0, 12, 12, 12);
  line(cl3DLight, 11, 1, 11, 11);
  line(cl3DLight, 1, 11, 11, 11);
  p.fillRect(QRect(x + 2, y + 2, 9, 9), ToQColor(clWindow));
  if (checked) {
    // A three-pixel-thick tick from (3, 5) down to (5, 7) and up to (9, 3).
    p.setPen(QPen(ToQColor(clWindowText), 0));
    for (int d = 0; d < 3; ++d) {
      p.drawLine(x + 3, y + 5 + d, x + 5, y + 7 + d);
      p.drawLine(x + 5, y + 7 + d, x + 9, y + 3 + d);
    }
  }
  p.restore();
}

bool LoadClassBitmap(TBitmap& bitmap, const std::string& className, const std::string& parentClassName) {
  for (const std::string* name : {&className, &parentClassName}) {
    if (name->empty()) continue;
    const QString path = QStringLiteral(":/kiv/bitmaps/") + QString::fromStdString(*name);
    if (!QFile::exists(path)) continue;
    QImage image(path);
    if (image.isNull()) continue;
    bitmap.SetImage(image.convertToFormat(QImage::Format_RGB32));
    return true;
  }
  return false;
}

bool LoadObjectClassBitmap(TBitmap& bitmap, const classlib::TPersistent& object) {
  const classlib::TClassInfo& info = object.ClassInfo();
  return LoadClassBitmap(bitmap, info.ClassName(),
                         info.Parent() != nullptr ? info.Parent()->ClassName() : std::string());
}

}  // namespace chart
