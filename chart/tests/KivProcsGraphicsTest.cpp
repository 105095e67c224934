// Covers chart/canvas/KivProcsGraphics.cpp: the check box's pixels and the class
// bitmap lookup through the resources linked into this test
// (data/class_bitmaps.qrc holds a bitmap named TTestBitmapParent).
#include <gtest/gtest.h>

#include <QImage>

#include "chart/canvas/KivGraphics.h"
#include "chart/canvas/KivProcsGraphics.h"

namespace chart {
namespace {

QImage Render(bool checked) {
  QImage img(20, 20, QImage::Format_RGB32);
  img.fill(Qt::red);
  {
    TCanvas c(img);
    DrawCheckBox(3, 4, c, checked);
  }
  return img;
}

TEST(CheckBox, ThirteenPixelsSquareWithATickWhenChecked) {
  const QImage off = Render(false), on = Render(true);
  const TColor red = clRed;
  for (const QImage* img : {&off, &on}) {
    // Inside the 13 x 13 box every pixel is painted; around it nothing is.
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 20; ++x) {
        const bool inside = x >= 3 && x < 16 && y >= 4 && y < 17;
        EXPECT_EQ(FromQRgb(img->pixel(x, y)) != red, inside) << x << "," << y;
      }
    EXPECT_EQ(FromQRgb(img->pixel(3, 4)), ColorToRGB(clBtnShadow));
    EXPECT_EQ(FromQRgb(img->pixel(15, 16)), ColorToRGB(clBtnHighlight));
  }
  // The centre of the box: the window colour when clear, the tick when checked.
  EXPECT_EQ(FromQRgb(off.pixel(3 + 5, 4 + 7)), ColorToRGB(clWindow));
  EXPECT_EQ(FromQRgb(on.pixel(3 + 5, 4 + 7)), ColorToRGB(clWindowText));
  int tick = 0;
  for (int y = 6; y < 15; ++y)
    for (int x = 5; x < 14; ++x) tick += FromQRgb(on.pixel(x, y)) == ColorToRGB(clWindowText);
  EXPECT_GT(tick, 15);
}

class TTestBitmapParent : public classlib::TPersistent {
  ORVEL_CLASS_INFO
};
class TTestBitmapChild : public TTestBitmapParent {
  ORVEL_CLASS_INFO
};

const classlib::TClassInfo& TTestBitmapParent::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TTestBitmapParent>("TTestBitmapParent", TPersistent::StaticClassInfo()).Build();
  return info;
}
const classlib::TClassInfo& TTestBitmapChild::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TTestBitmapChild>("TTestBitmapChild", TTestBitmapParent::StaticClassInfo()).Build();
  return info;
}

TEST(ClassBitmaps, OwnNameThenParentName) {
  TBitmap b;
  EXPECT_TRUE(LoadClassBitmap(b, "TTestBitmapParent", ""));
  ASSERT_EQ(b.Width(), 3);
  EXPECT_EQ(b.Height(), 2);
  EXPECT_EQ(FromQRgb(b.Image().pixel(0, 0)), clRed);
  EXPECT_EQ(FromQRgb(b.Image().pixel(2, 0)), clBlue);

  TBitmap child;
  TTestBitmapChild object;
  EXPECT_TRUE(LoadObjectClassBitmap(child, object));  // no bitmap of its own: the parent's
  EXPECT_EQ(child.Width(), 3);

  TBitmap none;
  none.SetSize(5, 5);
  EXPECT_FALSE(LoadClassBitmap(none, "TNoSuchClass", "TNoSuchParent"));
  EXPECT_EQ(none.Width(), 5);  // unchanged
}

}  // namespace
}  // namespace chart
