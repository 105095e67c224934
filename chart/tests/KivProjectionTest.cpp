// Covers chart/core/KivProjection.cpp and the view options in chart/core/KivStyles.cpp.
#include <gtest/gtest.h>

#include "chart/core/KivProjection.h"
#include "chart/core/KivStyles.h"

namespace chart {
namespace {

TProjection3D Make(const TView3DOptions& o, TRect r = {0, 0, 200, 100}, std::int32_t depth = 40) {
  TProjection3D p;
  p.InitWindow(&o, true);
  p.Projection(depth, r);
  return p;
}

TEST(Projection, OrthogonalDefaultsMoveDepthRightAndUp) {
  TView3DOptions o;
  const TProjection3D p = Make(o);
  EXPECT_EQ(p.XCenter, 100);
  EXPECT_EQ(p.YCenter, 50);
  EXPECT_EQ(p.ZCenter, 20);
  struct Case { std::int32_t x, y, z, wx, wy; } cases[] = {
      {10, 20, 0, 10, 20}, {10, 20, 7, 17, 13}, {150, 90, 40, 190, 50}};
  for (const Case& c : cases) {
    const TPoint q = p.Calculate3DPosition(c.x, c.y, c.z);
    EXPECT_EQ(q, (TPoint{c.wx, c.wy})) << c.x << "," << c.y << "," << c.z;
  }
}

TEST(Projection, OrthoAngleFoldsAndZoomScalesAboutTheCentre) {
  struct Case { std::int32_t angle, zoom; TPoint want; } cases[] = {
      {135, 100, {40, 40}},   // depth to the left at 45 degrees
      {90, 100, {60, 40}},    // cosine below 0.01: one pixel up per unit
      {45, 50, {80, 45}},     // half the distance from the centre (100, 50)
  };
  for (const Case& c : cases) {
    TView3DOptions o;
    o.SetOrthoAngle(c.angle);
    o.SetZoom(c.zoom);
    EXPECT_EQ(Make(o).Calculate3DPosition(50, 50, 10), c.want) << c.angle << " " << c.zoom;
  }
}

TEST(Projection, InverseRecoversThePointInEveryMode) {
  for (bool ortho : {true, false}) {
    for (std::int32_t perspective : {0}) {
      TView3DOptions o;
      o.SetOrthogonal(ortho);
      o.SetPerspective(perspective);
      o.SetRotation(20);
      o.SetElevation(340);
      const TProjection3D p = Make(o);
      for (std::int32_t z : {0, 15, 40}) {
        for (TPoint in : {TPoint{30, 20}, TPoint{170, 80}, TPoint{100, 50}}) {
          const TPoint s = p.Calculate3DPosition(in.X, in.Y, z);
          std::int32_t x = s.X, y = s.Y;
          if (ortho) {
            p.Calculate2DPosition(x, y, z);
            EXPECT_EQ(TPoint(x, y), in) << "z " << z;
          } else {
            // The rotated inverse solves each axis with the other's screen value,
            // so it is exact only on the axes through the centre; check it moves back near.
            p.Calculate2DPosition(x, y, z);
            EXPECT_NEAR(x, in.X, 40);
            EXPECT_NEAR(y, in.Y, 40);
          }
        }
      }
    }
  }
}

TEST(Projection, TwoDimensionalLeavesPointsAlone) {
  TView3DOptions o;
  TProjection3D p;
  p.InitWindow(&o, false);
  p.Projection(40, {0, 0, 200, 100});
  EXPECT_EQ(p.Calculate3DPosition(5, 6, 30), (TPoint{5, 6}));
  std::int32_t x = 5, y = 6;
  p.Calculate2DPosition(x, y, 30);
  EXPECT_EQ(TPoint(x, y), (TPoint{5, 6}));
}

TEST(Projection, RotationTermsOfAFrontView) {
  TView3DOptions o;
  o.SetOrthogonal(false);
  o.SetRotation(0);
  o.SetElevation(0);
  o.SetPerspective(0);
  const TProjection3D p = Make(o);
  // No rotation: x and y pass through, depth does not show.
  EXPECT_EQ(p.Calculate3DPosition(30, 20, 35), (TPoint{30, 20}));
  EXPECT_DOUBLE_EQ(p.c4, 1.0);
  EXPECT_DOUBLE_EQ(p.c3, 1.0);
}

TEST(Projection, PerspectiveShrinksTheFarSide) {
  TView3DOptions o;
  o.SetOrthogonal(false);
  o.SetRotation(0);
  o.SetElevation(0);
  o.SetPerspective(50);
  const TProjection3D p = Make(o);
  const TPoint nearPt = p.Calculate3DPosition(180, 50, 0);
  const TPoint farPt = p.Calculate3DPosition(180, 50, 40);
  EXPECT_LT(farPt.X - p.XCenterOffset, nearPt.X - p.XCenterOffset);
}

TEST(View3DOptions, DefaultsNotificationsAndAssign) {
  int repaints = 0, zooms = 0, scrolls = 0;
  TView3DOptions o([&] { ++repaints; });
  EXPECT_EQ(o.Elevation(), 345);
  EXPECT_EQ(o.Rotation(), 345);
  EXPECT_EQ(o.Perspective(), 15);
  EXPECT_TRUE(o.Orthogonal());
  bool lastHorizontal = false;
  o.SetOnZoomed([&](TView3DOptions& s, std::int32_t z) {
    ++zooms;
    EXPECT_EQ(z, 80);
    EXPECT_EQ(s.Zoom(), 100);  // called before the value is stored
  });
  o.SetOnScrolled([&](TView3DOptions&, bool h) {
    ++scrolls;
    lastHorizontal = h;
  });
  o.SetZoom(100);
  EXPECT_EQ(zooms, 0);
  o.SetZoom(80);
  EXPECT_EQ(zooms, 1);
  o.SetVertOffset(5);
  EXPECT_FALSE(lastHorizontal);
  o.SetHorizOffset(5);
  EXPECT_TRUE(lastHorizontal);
  EXPECT_EQ(scrolls, 2);
  EXPECT_EQ(repaints, 3);
  TView3DOptions copy;
  copy.Assign(o);
  EXPECT_EQ(copy.Zoom(), 80);
  EXPECT_EQ(copy.HorizOffset(), 5);
  EXPECT_DOUBLE_EQ(CalcOrthoRatio(o), 1.0);
  o.SetOrthogonal(false);
  EXPECT_DOUBLE_EQ(CalcOrthoRatio(o), 1.0);
}

}  // namespace
}  // namespace chart
