// A chart that draws through the recording surface, and the calls one series
// asked for in the last pass (from its before-draw to its after-draw step:
// its values and its marks).
//
// Used by the series kinds' tests in chart/tests.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "chart/ChartControl.h"
#include "chart/testing/RecordingCanvas.h"

namespace chart::testing {

class TRecordedChart {
 public:
  explicit TRecordedChart(bool view3D = false, std::int32_t width = 400, std::int32_t height = 300) {
    auto canvas = std::make_unique<TRecordingCanvas>();
    Canvas = canvas.get();
    Chart.ReplaceCanvas(std::move(canvas));
    Chart.SetBounds(width, height);
    Chart.SetView3D(view3D);
    Chart.Legend()->SetVisible(false);
  }

  // Adds a series of the given kind to the chart and follows its drawing.
  template <class S>
  S* Add() {
    auto* s = new S(&Chart);
    s->SetParentChart(&Chart);
    Follow(*s);
    return s;
  }

  void Follow(TChartSeries& s) {
    s.BeforeDrawValues = [this](TChartSeries&) { FStart = Canvas->Log.size(); };
    s.AfterDrawValues = [this, &s](TChartSeries&) {
      Drawn[&s] = std::vector<std::string>(Canvas->Log.begin() + static_cast<std::ptrdiff_t>(FStart),
                                           Canvas->Log.end());
    };
  }

  void Draw() {
    Canvas->Log.clear();
    Drawn.clear();
    Chart.Draw(nullptr, Chart.GetRectangle());
  }

  // The calls of one series that start with prefix (all of them for "").
  std::vector<std::string> Of(const TChartSeries& s, const std::string& prefix = "") const {
    std::vector<std::string> out;
    auto it = Drawn.find(&s);
    if (it == Drawn.end()) return out;
    for (const std::string& line : it->second)
      if (line.rfind(prefix, 0) == 0) out.push_back(line);
    return out;
  }

  // The lines a series drew as "x0,y0-x1,y1" (a MoveTo followed by a LineTo,
  // or a LineTo continuing from the last point).
  std::vector<std::string> Lines(const TChartSeries& s) const {
    std::vector<std::string> out;
    std::string from;
    for (const std::string& line : Of(s)) {
      if (line.rfind("MoveTo ", 0) == 0) {
        from = line.substr(7);
      } else if (line.rfind("LineTo ", 0) == 0) {
        const std::string to = line.substr(7, line.find(' ', 7) - 7);
        out.push_back(from + "-" + to);
        from = to;
      }
    }
    return out;
  }

  TChart Chart;
  TRecordingCanvas* Canvas = nullptr;
  std::map<const TChartSeries*, std::vector<std::string>> Drawn;

 private:
  std::size_t FStart = 0;
};

inline std::string Pt(std::int32_t x, std::int32_t y) { return std::to_string(x) + "," + std::to_string(y); }
inline std::string Seg(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1) {
  return Pt(x0, y0) + "-" + Pt(x1, y1);
}

}  // namespace chart::testing
