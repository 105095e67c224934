// The image tool: a picture behind the series, stretched over a series'
// value range or over the axes' range.
//
// Tested by: chart/tests/ChartImageToolTest.cpp
#pragma once

#include <memory>
#include <string>

#include "chart/tools/ToolBases.h"

namespace chart {

class TChartImageTool : public TKivCustomToolSeries {
  ORVEL_CLASS_INFO
 public:
  explicit TChartImageTool(classlib::TComponent* owner = nullptr);
  ~TChartImageTool() override;

  // properties
  TPicture* Picture() const { return FPicture.get(); }
  // Copies the picture.
  void SetPicture(const TPicture& v) { FPicture->Assign(v); }

  // operations
  // Where the picture goes, in pixels before projection.
  TRect ImageRect() const;

  // overrides
  void ChartEvent(TChartToolEvent event) override;
  std::string Description() const override { return "Image"; }
  std::string EditorClassName() const override { return "TChartImageToolEditor"; }
  void SetSeries(TChartSeries* series) override;

 private:
  std::unique_ptr<TPicture> FPicture;
};

}  // namespace chart
