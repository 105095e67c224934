// The matrix grid series: a real matrix shown as a grid of coloured cells,
// cell (row r, column c) centred at X = c XStep + XOffset, Y = r YStep +
// YOffset, its colour taken from its value through a colour scale that the
// legend lists, largest value first.
//
// A drawing pass renders the cells in view, one pixel per cell, into one
// 32-bit image and stretches it over those cells without smoothing, so a
// large matrix costs one image the size of its visible part, not a shape per
// cell. Cells that hold no finite value let the background show through.
//
// Tested by: analysis_ui/tests/MtxGridSeriesTest.cpp
#pragma once

#include <QImage>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "chart/series/SeriesData.h"
#include "numeric/Mtx.h"

namespace analysis_ui {

enum TGridPaletteStyle : std::uint8_t { palRange, palRangeCustom, palCustom };

struct TGridPaletteEntry {
  double Value = 0;
  chart::TColor Color = chart::clBlack;
};

class TMtxGridSeries : public chart::TChartSeries {
  ORVEL_CLASS_INFO
 public:
  explicit TMtxGridSeries(classlib::TComponent* owner = nullptr);
  ~TMtxGridSeries() override;

  // properties
  chart::TColor TopColor() const { return FTopColor; }
  void SetTopColor(chart::TColor v);
  chart::TColor BottomColor() const { return FBottomColor; }
  void SetBottomColor(chart::TColor v);
  // Values below 2 are taken as 2: a scale needs two ends.
  std::int32_t PaletteSteps() const { return FPaletteSteps; }
  void SetPaletteSteps(std::int32_t v);
  TGridPaletteStyle PaletteStyle() const { return FPaletteStyle; }
  void SetPaletteStyle(TGridPaletteStyle v);
  // Placement of the cells; changing them does not repaint.
  double XOffset() const { return FXOffset; }
  void SetXOffset(double v) { FXOffset = v; }
  double XStep() const { return FXStep; }
  void SetXStep(double v) { FXStep = v; }
  double YOffset() const { return FYOffset; }
  void SetYOffset(double v) { FYOffset = v; }
  double YStep() const { return FYStep; }
  void SetYStep(double v) { FYStep = v; }
  const numeric::TMtx& Matrix() const { return *FMatrix; }
  // Copies source (its size, values and settings); the colour scale is built
  // again from the new values before the next pass.
  void SetMatrix(const numeric::TMtx& source);
  // The colour scale in ascending value order.
  const std::vector<TGridPaletteEntry>& Palette() const { return FPalette; }

  // operations
  // PaletteSteps entries from the smallest to the largest finite value of
  // the matrix, coloured from BottomColor to TopColor.
  void BuildPalette();
  // The picture a pass stretches over the cells of rows r0..r1 and columns
  // c0..c1: one pixel a cell, row r0 at the top (at the bottom when rows run
  // upwards) and column c0 on the left (on the right when columns run
  // leftwards).
  QImage RenderCells(std::int32_t r0, std::int32_t r1, std::int32_t c0, std::int32_t c1, bool rowsUpward = false,
                     bool columnsLeftward = false) const;

  // overrides
  std::string EditorClassName() const override { return "TMtxGridSeriesEditor"; }
  void DoBeforeDrawChart() override;
  void DrawAllValues() override;
  double MinXValue() const override;
  double MaxXValue() const override;
  double MinYValue() const override;
  double MaxYValue() const override;
  int Clicked(std::int32_t x, std::int32_t y) override;
  int CountLegendItems() const override { return static_cast<int>(FPalette.size()); }
  chart::TColor LegendItemColor(int index) const override;
  std::string LegendString(int legendIndex, chart::TLegendTextStyle style) const override;
  void Assign(const classlib::TPersistent& source) override;

 private:
  bool HasCells() const { return FMatrix->Rows() > 0 && FMatrix->Cols() > 0; }
  // The palette entry shown as legend item index; nullptr beyond the palette.
  const TGridPaletteEntry* LegendEntry(int index) const;
  void ColorsChanged();
  // RenderCells into image, which keeps its storage while its size stays.
  void RenderInto(QImage& image, std::int32_t r0, std::int32_t r1, std::int32_t c0, std::int32_t c1, bool rowsUpward,
                  bool columnsLeftward) const;

  chart::TColor FTopColor = chart::clNavy;
  chart::TColor FBottomColor = chart::clWhite;
  std::int32_t FPaletteSteps = 10;
  TGridPaletteStyle FPaletteStyle = palRange;
  double FXOffset = 0, FXStep = 1, FYOffset = 0, FYStep = 1;
  std::unique_ptr<numeric::TMtx> FMatrix;
  std::vector<TGridPaletteEntry> FPalette;
  // The value range of the last palette build: span = max - min, scale = 1 / span (0 when span is 0).
  double FMinValue = 0, FMaxValue = 0, FSpan = 0, FScale = 0;
  // The picture of the last pass, kept for the next one of the same size.
  QImage FImage;
};

}  // namespace analysis_ui
