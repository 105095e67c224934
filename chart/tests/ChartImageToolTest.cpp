// Covers chart/tools/ChartImageTool.cpp: the picture stretched over the axes'
// range or a series' values, behind the series.
#include <gtest/gtest.h>

#include <QImage>
#include <memory>

#include "ToolTestSupport.h"
#include "chart/tools/ChartImageTool.h"

namespace chart {
namespace {

using testing::PaintPicture;
using testing::ToolChartFixture;

class ImageFixture : public ToolChartFixture {
 protected:
  void SetUp() override {
    ToolChartFixture::SetUp();
    Tool = new TChartImageTool(Chart.get());
    Tool->SetParentChart(Chart.get());
    QImage image(2, 2, QImage::Format_RGB32);
    image.fill(QColor(0, 128, 0));
    Tool->Picture()->SetGraphic(std::make_shared<TBitmap>(image));
  }
  TChartImageTool* Tool = nullptr;
};

TEST_F(ImageFixture, WithoutSeriesThePictureCoversTheAxesRange) {
  const QImage picture = PaintPicture(*Chart);
  const TRect r = Tool->ImageRect();
  EXPECT_EQ(r, (TRect{Bottom().CalcXPosValue(Bottom().Minimum()), Left().CalcYPosValue(Left().Maximum()),
                      Bottom().CalcXPosValue(Bottom().Maximum()), Left().CalcYPosValue(Left().Minimum())}));
  // Behind the series: green where no point is, the points over it.
  const TColor green = RGB(0, 128, 0);
  EXPECT_EQ(FromQRgb(picture.pixel(Bottom().CalcXPosValue(2.5), Left().CalcYPosValue(75))), green);
  const TPoint p = PointPixel(5);
  EXPECT_NE(FromQRgb(picture.pixel(p.X, p.Y)), green);
}

TEST_F(ImageFixture, WithASeriesThePictureCoversItsValues) {
  auto* other = new testing::TTestPointSeries(Chart.get());
  other->SetParentChart(Chart.get());
  other->AddXY(2, 20);
  other->AddXY(4, 60);
  Tool->SetSeries(other);
  const QImage picture = PaintPicture(*Chart);
  EXPECT_EQ(Tool->ImageRect(), (TRect{Bottom().CalcXPosValue(2), Left().CalcYPosValue(60),
                                      Bottom().CalcXPosValue(4), Left().CalcYPosValue(20)}));
  const TColor green = RGB(0, 128, 0);
  EXPECT_EQ(FromQRgb(picture.pixel(Bottom().CalcXPosValue(3.5), Left().CalcYPosValue(30))), green);
  EXPECT_NE(FromQRgb(picture.pixel(Bottom().CalcXPosValue(7.5), Left().CalcYPosValue(30))), green);
}

TEST_F(ImageFixture, ANewPictureRepaints) {
  PaintPicture(*Chart);
  EXPECT_FALSE(dynamic_cast<TKivCanvas3D&>(Chart->Canvas()).Dirty());
  TPicture empty;
  Tool->SetPicture(empty);
  EXPECT_TRUE(dynamic_cast<TKivCanvas3D&>(Chart->Canvas()).Dirty());
  PaintPicture(*Chart);
}

}  // namespace
}  // namespace chart
