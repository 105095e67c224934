// The walls of the chart's 3D box and their drawing.
//
// Tested by: chart/tests/WallsTitlesTest.cpp
#include "chart/Walls.h"

#include "chart/AxisPanel.h"
#include "chart/canvas/StyleDrawing.h"
#include "chart/core/StoreAndInvalidate.h"

namespace chart {

using classlib::TClassBuilder;
using classlib::TClassInfo;

const TClassInfo& TCustomChartWall::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TCustomChartWall>("TCustomChartWall", TKivCustomShape::StaticClassInfo())
          .SubObject("Brush", &TCustomChartWall::Brush)
          .TypeName("TChartBrush")
          .Property("Color", &TCustomChartWall::Color, &TCustomChartWall::SetColor)
          .TypeName("TColor")
          .InstanceDefault([](const TCustomChartWall& w) { return w.DefaultColor(); })
          .Property("Dark3D", &TCustomChartWall::Dark3D, &TCustomChartWall::SetDark3D, true)
          .SubObject("Pen", &TCustomChartWall::Pen)
          .TypeName("TChartPen")
          .Property("Size", &TCustomChartWall::Size, &TCustomChartWall::SetSize, 0)
          .Property("Transparency", &TCustomChartWall::Transparency, &TCustomChartWall::SetTransparency, 0)
          .Property("Transparent", &TCustomChartWall::Transparent, &TCustomChartWall::SetTransparent)
          .InstanceDefault(&TCustomChartWall::DefaultTransparent)
          .Property("Visible", &TCustomChartWall::Visible, &TCustomChartWall::SetVisible)
          .InstanceDefault(&TCustomChartWall::DefaultVisible)
          .Build();
  return info;
}

TCustomChartWall::TCustomChartWall(TCustomKivPanel* parent) : TKivCustomShape(parent) { SetColor(clDefault); }

void TCustomChartWall::SetDark3D(bool v) { StoreAndInvalidate(*this, FDark3D, v); }

void TCustomChartWall::SetSize(std::int32_t v) { StoreAndInvalidate(*this, FSize, v); }

bool TCustomChartWall::DarkSides() const { return Brush()->Style() != bsClear && Brush()->Bitmap() == nullptr && FDark3D; }

void TCustomChartWall::Assign(const classlib::TPersistent& source) {
  if (auto* w = dynamic_cast<const TCustomChartWall*>(&source)) {
    FDark3D = w->FDark3D;
    FSize = w->FSize;
  }
  TKivCustomShape::Assign(source);
}

const TClassInfo& TChartWall::StaticClassInfo() {
  static const TClassInfo info = TClassBuilder<TChartWall>("TChartWall", TCustomChartWall::StaticClassInfo()).Build();
  return info;
}

const TClassInfo& TChartBackWall::StaticClassInfo() {
  static const TClassInfo info = TClassBuilder<TChartBackWall>("TChartBackWall", TChartWall::StaticClassInfo()).Build();
  return info;
}

TChartBackWall::TChartBackWall(TCustomKivPanel* parent) : TChartWall(parent) {
  InitColor(clSilver);
  InitTransparent(true);
}

const TClassInfo& TChartRightWall::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TChartRightWall>("TChartRightWall", TChartWall::StaticClassInfo()).Build();
  return info;
}

TChartRightWall::TChartRightWall(TCustomKivPanel* parent) : TChartWall(parent) {
  InitColor(clSilver);
  InitVisible(false);
}

const TClassInfo& TChartWalls::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TChartWalls>("TChartWalls", classlib::TPersistent::StaticClassInfo())
          .SubObject("Back", &TChartWalls::Back)
          .TypeName("TChartBackWall")
          .SubObject("Bottom", &TChartWalls::Bottom)
          .TypeName("TChartWall")
          .SubObject("Left", &TChartWalls::Left)
          .TypeName("TChartWall")
          .SubObject("Right", &TChartWalls::Right)
          .TypeName("TChartRightWall")
          .Build();
  return info;
}

TChartWalls::TChartWalls(TCustomAxisPanel& chart)
    : FChart(chart),
      FBack(std::make_unique<TChartBackWall>(&chart)),
      FBottom(std::make_unique<TChartWall>(&chart)),
      FLeft(std::make_unique<TChartWall>(&chart)),
      FRight(std::make_unique<TChartRightWall>(&chart)) {
  FBottom->InitColor(clWhite);
  FLeft->InitColor(0x80FFFF);
}

TChartWalls::~TChartWalls() = default;

void TChartWalls::Assign(const classlib::TPersistent& source) {
  if (auto* w = dynamic_cast<const TChartWalls*>(&source)) {
    FBack->Assign(*w->FBack);
    FBottom->Assign(*w->FBottom);
    FLeft->Assign(*w->FLeft);
    FRight->Assign(*w->FRight);
    return;
  }
  classlib::TPersistent::Assign(source);
}

void TChartWalls::Prepare(TCustomChartWall& wall) {
  TCanvas3D& c = FChart.Canvas();
  c.AssignVisiblePen(*wall.Pen());
  if (wall.Transparent())
    c.Brush().SetStyle(bsClear);
  else
    c.AssignBrush(*wall.Brush(), wall.Color());
}

void TChartWalls::DrawBack() {
  TCanvas3D& c = FChart.Canvas();
  TCustomChartWall& w = *FBack;
  Prepare(w);
  const TRect cr = FChart.ChartRect();
  const std::int32_t W = FChart.Width3D();
  std::unique_ptr<TKivBlend> blend;
  if (!FChart.View3D()) {
    const TRect r{cr.Left, cr.Top, cr.Right, cr.Bottom + 1};
    if (w.Transparency() > 0) blend = c.BeginBlending(r, w.Transparency());
    if (!w.Transparent() && w.HasGradient() && w.Gradient()->Visible()) {
      DrawGradient(c, *w.Gradient(), r, 0);
      c.Brush().SetStyle(bsClear);
    }
    c.Rectangle(r);
  } else if (FChart.View3DWalls()) {
    TRect r = cr;
    if (w.Size() >= 1) {
      r.Left -= FChart.WallSizeBeside(*FChart.LeftAxis());
      r.Bottom += FChart.WallSizeBeside(*FChart.BottomAxis());
    }
    if (w.Transparency() > 0) blend = c.BeginBlending(c.RectFromRectZ(r, W), w.Transparency());
    if (!w.Transparent() && w.HasGradient() && w.Gradient()->Visible()) {
      DrawGradient(c, *w.Gradient(), c.Calculate3DPosition(r, W), 0);
      c.Brush().SetStyle(bsClear);
    }
    if (w.Size() < 1)
      c.RectangleWithZ(r, W);
    else
      c.Cube(r, W, W + (W < 0 ? -w.Size() : w.Size()), w.DarkSides());
  }
  if (FChart.HasBackImage() && FChart.BackImageInside()) {
    TRect r = cr;
    if (w.Pen()->Visible()) {
      ++r.Left;
      ++r.Top;
    }
    FChart.DrawBackImage(r, FChart.View3D() ? W : 0);
  }
  if (blend) c.EndBlending(std::move(blend));
}

void TChartWalls::DrawBottom() {
  TCanvas3D& c = FChart.Canvas();
  TCustomChartWall& w = *FBottom;
  Prepare(w);
  const TRect cr = FChart.ChartRect();
  const std::int32_t W = FChart.Width3D(), y = cr.Bottom;
  if (w.Size() < 1)
    c.RectangleY(cr.Left, y, cr.Right, 0, W);
  else
    c.Cube(cr.Left, cr.Right, y, y + w.Size(), 0, W, w.DarkSides());
}

void TChartWalls::DrawLeft() {
  TCanvas3D& c = FChart.Canvas();
  TCustomChartWall& w = *FLeft;
  Prepare(w);
  const TRect cr = FChart.ChartRect();
  const std::int32_t W = FChart.Width3D();
  const std::int32_t reach = cr.Bottom + FChart.WallSizeBeside(*FChart.BottomAxis());
  if (w.Size() < 1)
    c.RectangleZ(cr.Left, cr.Top, reach, 0, W);
  else
    c.Cube(cr.Left - w.Size(), cr.Left, cr.Top, reach, 0, W, w.DarkSides());
}

void TChartWalls::DrawRight() {
  TCanvas3D& c = FChart.Canvas();
  TCustomChartWall& w = *FRight;
  Prepare(w);
  const TRect cr = FChart.ChartRect();
  const std::int32_t W = FChart.Width3D();
  const std::int32_t reach = cr.Bottom + FChart.WallSizeBeside(*FChart.BottomAxis());
  if (w.Size() < 1)
    c.RectangleZ(cr.Right, cr.Top, reach, 0, W + 1);
  else
    c.Cube(cr.Right, cr.Right + w.Size(), cr.Top, reach, 0, W + FBack->Size(), w.DarkSides());
}

}  // namespace chart
