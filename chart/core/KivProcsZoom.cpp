// The zoom and panning settings of a panel.
//
// Tested by: chart/tests/KivProcsTest.cpp
#include "chart/core/KivProcsZoom.h"

namespace chart {

using classlib::TClassBuilder;
using classlib::TClassInfo;

const TClassInfo& TZoomPanning::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TZoomPanning>("TZoomPanning", classlib::TPersistent::StaticClassInfo()).Build();
  return info;
}

const TClassInfo& TKivZoomPen::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TKivZoomPen>("TKivZoomPen", TChartPen::StaticClassInfo()).Creatable().Build();
  return info;
}

const TClassInfo& TKivZoomBrush::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TKivZoomBrush>("TKivZoomBrush", TChartBrush::StaticClassInfo()).Creatable().Build();
  return info;
}

const TClassInfo& TKivZoom::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TKivZoom>("TKivZoom", TZoomPanning::StaticClassInfo())
          .Property("Allow", &TKivZoom::Allow, &TKivZoom::SetAllow, true)
          .Property("Animated", &TKivZoom::Animated, &TKivZoom::SetAnimated, false)
          .Property("AnimatedSteps", &TKivZoom::AnimatedSteps, &TKivZoom::SetAnimatedSteps, 8)
          .SubObject("Brush", &TKivZoom::Brush)
          .TypeName("TKivZoomBrush")
          .Stored([](const TKivZoom& z) { return z.HasBrush(); })
          .Property("Direction", &TKivZoom::Direction, &TKivZoom::SetDirection, tzdBoth)
          .TypeName("TKivZoomDirection")
          .Names({"tzdHorizontal", "tzdVertical", "tzdBoth"})
          .Property("KeyShift", &TKivZoom::KeyShift, &TKivZoom::SetKeyShift, 0)
          .TypeName("TShiftState")
          .AsSet({"ssShift", "ssAlt", "ssCtrl", "ssLeft", "ssRight", "ssMiddle", "ssDouble"})
          .Property("MinimumPixels", &TKivZoom::MinimumPixels, &TKivZoom::SetMinimumPixels, 16)
          .Property("MouseButton", &TKivZoom::MouseButton, &TKivZoom::SetMouseButton, mbLeft)
          .TypeName("TMouseButton")
          .Names({"mbLeft", "mbRight", "mbMiddle"})
          .SubObject("Pen", &TKivZoom::Pen)
          .TypeName("TKivZoomPen")
          .Creatable()
          .Build();
  return info;
}

TKivZoom::TKivZoom() = default;
TKivZoom::~TKivZoom() = default;

TKivZoomBrush* TKivZoom::Brush() const {
  if (!FBrush) FBrush = std::make_unique<TKivZoomBrush>();
  return FBrush.get();
}

void TKivZoom::SetBrush(TKivZoomBrush* v) {
  if (v == nullptr)
    FBrush.reset();
  else
    Brush()->Assign(*v);
}

TKivZoomPen* TKivZoom::Pen() const {
  if (!FPen) FPen = std::make_unique<TKivZoomPen>();
  return FPen.get();
}

void TKivZoom::SetPen(TKivZoomPen* v) {
  if (v == nullptr)
    FPen.reset();
  else
    Pen()->Assign(*v);
}

void TKivZoom::Assign(const classlib::TPersistent& source) {
  if (auto* z = dynamic_cast<const TKivZoom*>(&source)) {
    FAllow = z->FAllow;
    FAnimated = z->FAnimated;
    FAnimatedSteps = z->FAnimatedSteps;
    SetBrush(z->FBrush.get());
    FDirection = z->FDirection;
    FKeyShift = z->FKeyShift;
    FMinimumPixels = z->FMinimumPixels;
    SetPen(z->FPen.get());
    return;
  }
  TZoomPanning::Assign(source);
}

}  // namespace chart
