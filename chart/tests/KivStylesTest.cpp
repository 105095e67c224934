// Covers chart/core/KivStyles.cpp: defaults, change events, stored rules, gradient colours.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "chart/core/KivStyles.h"

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

TEST(KivGradient, UseMiddleColorBringsTheRemovedColourBack) {
  int changes = 0;
  TKivGradient g([&] { ++changes; });
  g.SetStartColor(RGB(0, 0, 0));
  g.SetEndColor(RGB(200, 100, 50));
  changes = 0;
  // Never chosen: halfway, so the picture stays as it was.
  g.UseMiddleColor();
  EXPECT_EQ(g.MidColor(), RGB(100, 50, 25));
  EXPECT_EQ(changes, 1);
  g.UseMiddleColor();  // already on: no change
  EXPECT_EQ(changes, 1);
  g.SetMidColor(clRed);
  g.SetMidColor(clNone);
  changes = 0;
  g.UseMiddleColor();
  EXPECT_EQ(g.MidColor(), clRed);
  EXPECT_EQ(changes, 1);
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

// Each pen and brush kind has its own defaults: a property equal to the
// instance's default is not stored, a changed one is, and a reset brings the
// instance's default back (not the base class's).
TEST(StyleTables, InstanceDefaultsGovernStoringAndReset) {
  struct Case {
    const char* kind;
    std::function<std::unique_ptr<classlib::TPersistent>()> make;
    const char* property;
    classlib::TPropValue other;  // a value that is not the instance's default
  };
  auto v = [](std::int64_t i) { return classlib::TPropValue(i); };
  auto b = [](bool x) { return classlib::TPropValue(x); };
  auto panelBorder = [] {
    auto pen = std::make_unique<TChartHiddenPen>();
    pen->InitEndStyle(esFlat);  // as the panel makes its frame pen
    return pen;
  };
  const Case cases[] = {
      {"TChartPen", [] { return std::make_unique<TChartPen>(); }, "Visible", b(false)},
      {"TChartHiddenPen", [] { return std::make_unique<TChartHiddenPen>(); }, "Visible", b(true)},
      {"TDottedGrayPen", [] { return std::make_unique<TDottedGrayPen>(); }, "Color", v(clRed)},
      {"TDottedGrayPen", [] { return std::make_unique<TDottedGrayPen>(); }, "Style", v(psSolid)},
      {"TDarkGrayPen", [] { return std::make_unique<TDarkGrayPen>(); }, "Color", v(clBlack)},
      {"TChartAxisPen", [] { return std::make_unique<TChartAxisPen>(); }, "Width", v(1)},
      {"TWhitePen", [] { return std::make_unique<TWhitePen>(); }, "Color", v(clBlack)},
      {"panel frame", panelBorder, "EndStyle", v(esRound)},
      {"TChartBrush", [] { return std::make_unique<TChartBrush>(); }, "Color", v(clRed)},
      {"TBrush", [] { return std::make_unique<TBrush>(); }, "Style", v(bsClear)},
      {"TKivFont", [] { return std::make_unique<TKivFont>(); }, "Name", classlib::TPropValue(std::string("Courier New"))},
      {"TKivFont", [] { return std::make_unique<TKivFont>(); }, "Height", v(-20)},
      {"TKivFont", [] { return std::make_unique<TKivFont>(); }, "Color", v(clRed)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.kind) + "." + c.property);
    auto obj = c.make();
    const classlib::TPropInfo* info = obj->ClassInfo().FindProperty(c.property);
    ASSERT_NE(info, nullptr);
    const classlib::TPropValue initial = info->Get(*obj);
    EXPECT_EQ(info->DefaultFor(*obj), initial);
    EXPECT_FALSE(info->IsStored(*obj));
    info->Set(*obj, c.other);
    EXPECT_EQ(info->Get(*obj), c.other);
    EXPECT_TRUE(info->IsStored(*obj));
    classlib::ResetToDefaults(*obj);
    EXPECT_EQ(info->Get(*obj), initial);
    EXPECT_FALSE(info->IsStored(*obj));
  }
}

TEST(StyleTables, ShadowDefaultsChosenByTheOwner) {
  TKivShadow s;
  s.InitDefaults(clBlack, 3);
  s.SetColor(clRed);
  s.SetHorizSize(7);
  s.SetTransparency(40);
  classlib::ResetToDefaults(s);
  EXPECT_EQ(s.Color(), clBlack);
  EXPECT_EQ(s.HorizSize(), 3);
  EXPECT_EQ(s.VertSize(), 3);
  EXPECT_EQ(s.Transparency(), 0);
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
