// Covers chart/KivStyles.cpp: defaults, change events, stored rules, gradient colours.
#include <gtest/gtest.h>

#include "chart/KivStyles.h"

namespace chart {
namespace {

bool Stored(const classlib::TPersistent& p, const char* name) {
  return p.ClassInfo().FindProperty(name)->IsStored(p);
}

TEST(ChartPen, KindsKeepTheirOwnDefaults) {
  TChartHiddenPen hidden;
  EXPECT_FALSE(hidden.Visible());
  EXPECT_FALSE(Stored(hidden, "Visible"));
  hidden.SetVisible(true);
  EXPECT_TRUE(Stored(hidden, "Visible"));
  TDottedGrayPen dotted;
  EXPECT_EQ(dotted.Color(), clGray);
  EXPECT_EQ(dotted.Style(), psDot);
  EXPECT_FALSE(Stored(dotted, "Color"));
  EXPECT_EQ(TChartAxisPen().Width(), 2);
  EXPECT_EQ(TWhitePen().Color(), clWhite);
}

TEST(ChartPen, SettersFireOnlyOnChangeAndAssignCopiesAll) {
  int changes = 0;
  TChartPen pen([&] { ++changes; });
  pen.SetWidth(1);
  EXPECT_EQ(changes, 0);
  pen.SetWidth(3);
  pen.SetSmallDots(true);
  EXPECT_EQ(changes, 2);
  TChartPen copy;
  copy.Assign(pen);
  EXPECT_EQ(copy.Width(), 3);
  EXPECT_TRUE(copy.SmallDots());
}

TEST(ChartBrush, AutomaticColourAndImageOnFirstRead) {
  TChartBrush brush;
  EXPECT_EQ(brush.Color(), clDefault);
  EXPECT_FALSE(Stored(brush, "Color"));
  EXPECT_FALSE(brush.HasImage());
  EXPECT_NE(brush.Image(), nullptr);
  brush.SetImage(nullptr);
  EXPECT_FALSE(Stored(brush, "Image"));
}

TEST(KivShadow, SizeIsTheLargerAndDefaultsGovernStoring) {
  TKivShadow s;
  s.InitDefaults(clBlack, 3);
  EXPECT_FALSE(Stored(s, "HorizSize"));
  EXPECT_FALSE(Stored(s, "Color"));
  s.SetHorizSize(5);
  EXPECT_EQ(s.Size(), 5);
  EXPECT_TRUE(Stored(s, "HorizSize"));
  s.SetSize(2);
  EXPECT_EQ(s.VertSize(), 2);
}

TEST(KivGradient, MidColourFlagAndReentryGuard) {
  int changes = 0;
  TKivGradient* self = nullptr;
  TKivGradient g([&] {
    ++changes;
    self->SetBalance(self->Balance() + 1);  // a handler that changes the gradient again
  });
  self = &g;
  EXPECT_EQ(g.MidColor(), clNone);
  g.SetMidColor(clRed);
  EXPECT_EQ(g.MidColor(), clRed);
  EXPECT_EQ(changes, 1);
  g.SetMidColor(clNone);
  EXPECT_EQ(g.MidColor(), clNone);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(g.StartColor(), clWhite);
  EXPECT_EQ(g.EndColor(), clYellow);
  EXPECT_FALSE(g.Visible());
}

TEST(GradientColours, BandsAndRings) {
  struct Case { int i, d, balance; TColor want; } cases[] = {
      {0, 9, 50, RGB(0, 0, 0)},
      {9, 9, 50, RGB(255, 90, 9)},
      {3, 9, 50, RGB(85, 30, 3)},   // integer division per channel
      {9, 9, 0, RGB(255, 90, 9)},   // the last band reaches the end colour
  };
  for (const Case& c : cases)
    EXPECT_EQ(GradientBandColor(RGB(0, 0, 0), RGB(255, 90, 9), c.i, c.d, c.balance), c.want) << c.i;
  // Balance 0: exponent 0.5, the colour moves fast near the start.
  EXPECT_GT(GetRValue(GradientBandColor(0, RGB(255, 0, 0), 2, 9, 0)),
            GetRValue(GradientBandColor(0, RGB(255, 0, 0), 2, 9, 50)));
  EXPECT_EQ(RadialRingColor(RGB(0, 0, 0), RGB(200, 0, 0), 5, 10, 10, 50), RGB(100, 0, 0));
  EXPECT_EQ(MonochromeGrey(clRed), RGB(85, 85, 85));
}

TEST(KivFont, ChartDefaultsAndOwnedObjects) {
  int changes = 0;
  TKivFont f([&] { ++changes; });
  EXPECT_EQ(f.Name(), "Arial");
  EXPECT_EQ(f.Size(), 8);
  EXPECT_EQ(f.Color(), clBlack);
  EXPECT_FALSE(Stored(f, "Name"));
  EXPECT_FALSE(Stored(f, "Shadow"));
  f.Shadow()->SetHorizSize(2);
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(Stored(f, "Shadow"));
  TKivFont copy;
  copy.Assign(f);
  EXPECT_EQ(copy.Shadow()->HorizSize(), 2);
  f.SetShadow(nullptr);
  EXPECT_FALSE(f.HasShadow());
  EXPECT_EQ(f.Height(), -11);
}

TEST(StyleTables, ResetToDefaultsRestoresDeclaredValues) {
  TKivGradient g;
  g.SetDirection(gdRadial);
  g.SetBalance(10);
  classlib::ResetToDefaults(g);
  EXPECT_EQ(g.Direction(), gdTopBottom);
  EXPECT_EQ(g.Balance(), 50);
  TView3DOptions o;
  o.SetZoom(30);
  classlib::ResetToDefaults(o);
  EXPECT_EQ(o.Zoom(), 100);
}

}  // namespace
}  // namespace chart
