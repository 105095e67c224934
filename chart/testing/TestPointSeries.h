// A small series kind for the tests: a pointer at every point, hit-tested by
// its box. It stands in for the point series until the series kinds exist.
#pragma once

#include <memory>
#include <string>

#include "chart/AxisPanel.h"
#include "chart/series/SeriesData.h"
#include "chart/series/SeriesPointer.h"

namespace chart::testing {

class TTestPointSeries : public TChartSeries {
  ORVEL_CLASS_INFO
 public:
  explicit TTestPointSeries(classlib::TComponent* owner = nullptr)
      : TChartSeries(owner), FPointer(std::make_unique<TSeriesPointer>(this)) {}
  TSeriesPointer* Pointer() const { return FPointer.get(); }

  void SetParentChart(TCustomAxisPanel* chart) override {
    TChartSeries::SetParentChart(chart);
    FPointer->SetParent(chart);
  }
  void DrawValue(int index) override {
    TCanvas3D& c = ParentChart()->Canvas();
    FPointer->PrepareCanvas(c, ValueColor(index));
    FPointer->DrawPointer(CalcXPos(index), CalcYPos(index), ValueColor(index), FPointer->Style());
  }
  int Clicked(std::int32_t x, std::int32_t y) override {
    for (int i = 0; i < Count(); ++i)
      if (std::abs(CalcXPos(i) - x) <= FPointer->HorizSize() && std::abs(CalcYPos(i) - y) <= FPointer->VertSize())
        return i;
    return -1;
  }
  void CalcHorizMargins(std::int32_t& left, std::int32_t& right) override { FPointer->CalcHorizMargins(left, right); }
  void CalcVerticalMargins(std::int32_t& top, std::int32_t& bottom) override {
    FPointer->CalcVerticalMargins(top, bottom);
  }

 private:
  std::unique_ptr<TSeriesPointer> FPointer;
};

inline const classlib::TClassInfo& TTestPointSeries::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TTestPointSeries>("TTestPointSeries", TChartSeries::StaticClassInfo())
          .Creatable()
          .Build();
  return info;
}

// A new point series on chart, owned by it, with the name given (none by default).
inline TTestPointSeries* AddPointSeries(TCustomAxisPanel& chart, const std::string& name = "") {
  auto* s = new TTestPointSeries(&chart);
  if (!name.empty()) s->SetName(name);
  s->SetParentChart(&chart);
  return s;
}

}  // namespace chart::testing
