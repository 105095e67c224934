// The draw line tool: the user draws straight lines on a chart with the
// mouse, selects one, moves it or drags either end. Lines are kept in axis
// values, so they stay on the data when the axes change, and are streamed
// with the tool as a collection.
//
// Tested by: chart/tests/DrawLineToolTest.cpp
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "chart/core/StoreAndInvalidate.h"
#include "chart/tools/ToolBases.h"
#include "platform/classlib/Collections.h"

namespace chart {

class TDrawLineTool;

enum TDrawLineStyle : std::uint8_t { dlLine, dlHorizParallel, dlVertParallel };

class TDrawLine : public classlib::TCollectionItem {
  ORVEL_CLASS_INFO
 public:
  TDrawLine() = default;
  // A line leaving the tool is no longer its selection.
  ~TDrawLine() override;

  // properties
  TDrawLineStyle Style() const { return FStyle; }
  void SetStyle(TDrawLineStyle v) { StoreAndInvalidate(*this, FStyle, v); }
  double X0() const { return FX0; }
  void SetX0(double v) { StoreAndInvalidate(*this, FX0, v); }
  double Y0() const { return FY0; }
  void SetY0(double v) { StoreAndInvalidate(*this, FY0, v); }
  double X1() const { return FX1; }
  void SetX1(double v) { StoreAndInvalidate(*this, FX1, v); }
  double Y1() const { return FY1; }
  void SetY1(double v) { StoreAndInvalidate(*this, FY1, v); }
  // The tool whose collection holds the line (nullptr outside one).
  TDrawLineTool* Parent() const;
  // Marks the tool's chart picture stale.
  void Invalidate() const;

  // overrides
  void Assign(const classlib::TPersistent& source) override;

 private:
  TDrawLineStyle FStyle = dlLine;
  double FX0 = 0, FY0 = 0, FX1 = 0, FY1 = 0;
};

class TDrawLines : public classlib::TCollection {
  ORVEL_CLASS_INFO
 public:
  explicit TDrawLines(TDrawLineTool* tool = nullptr);
  TDrawLineTool* Tool() const { return FTool; }
  TDrawLine* Line(int index) const { return static_cast<TDrawLine*>(Items(index)); }
  // A new line from (x0, y0) to (x1, y1) at the end.
  TDrawLine* AddLine(double x0, double y0, double x1, double y1);

 private:
  TDrawLineTool* FTool;
};

using TDrawLineNotify = std::function<void(TDrawLineTool& sender)>;
using TDrawLineSelecting = std::function<void(TDrawLineTool& sender, TDrawLine& line, bool& allowSelect)>;

class TDrawLineTool : public TKivCustomToolSeries {
  ORVEL_CLASS_INFO
 public:
  explicit TDrawLineTool(classlib::TComponent* owner = nullptr);
  ~TDrawLineTool() override;

  // properties
  TMouseButton Button() const { return FButton; }
  void SetButton(TMouseButton v) { FButton = v; }
  bool EnableDraw() const { return FEnableDraw; }
  void SetEnableDraw(bool v) { FEnableDraw = v; }
  bool EnableSelect() const { return FEnableSelect; }
  // Switching it off clears the selection.
  void SetEnableSelect(bool v);
  TDrawLines* Lines() const { return FLines.get(); }
  void SetLines(const TDrawLines& v) { FLines->Assign(v); }
  TDrawLine* Selected() const { return FSelected; }
  // nullptr clears the selection.
  void SetSelected(TDrawLine* line);
  // 0 none, 1 the start point, 2 the end point, 3 the whole line.
  int DragState() const { return FDragState; }
  bool Drawing() const { return FDrawing; }

  // events
  TDrawLineNotify OnDraggedLine, OnDragLine, OnNewLine, OnSelect;
  TDrawLineSelecting OnSelecting;

  // operations
  // A point in axis values as a pixel, and back.
  TPoint AxisPoint(double x, double y) const;
  void ScreenPointToValues(const TPoint& p, double& x, double& y) const;
  // The line at (x, y) by kind: 1 its start handle, 2 its end handle, 0 its
  // shape; the selected line first, then the collection in order.
  TDrawLine* LineAt(int kind, std::int32_t x, std::int32_t y) const;
  // A line's shape first, then a start handle, then an end handle.
  TDrawLine* AnyLineAt(std::int32_t x, std::int32_t y) const;

  // introduced virtual
  // Clips the surface to the rectangle of the axes the lines lie on.
  virtual void ClipDrawingArea();

  // overrides
  void ChartEvent(TChartToolEvent event) override;
  void ChartMouseEvent(TChartMouseEvent event, TMouseButton button, TShiftState shift, std::int32_t x,
                       std::int32_t y) override;
  std::string Description() const override { return "Draw Line"; }
  std::string EditorClassName() const override { return "TDrawLineEdit"; }

 private:
  friend class TDrawLine;
  bool HitLine(const TDrawLine& line, int kind, const TPoint& p) const;
  void DrawShape(TCanvas3D& canvas, TDrawLineStyle style, const TPoint& p0, const TPoint& p1) const;
  void DrawHandles(TCanvas3D& canvas) const;
  void DrawRubberLine();

  TMouseButton FButton = mbLeft;
  bool FEnableDraw = true;
  bool FEnableSelect = true;
  std::unique_ptr<TDrawLines> FLines;
  TDrawLine* FSelected = nullptr;
  int FDragState = 0;
  bool FDrawing = false;
  TPoint FLast{0, 0}, FFrom{0, 0}, FTo{0, 0};
};

}  // namespace chart
