// Two series kinds for sampled signals. The discrete series draws every
// sample as a stem from an origin line to the sample's pointer, the usual
// picture of a discrete-time signal. The high-low series draws the band
// between a high and a low value per X, the envelope of a signal reduced to
// the smallest and largest sample of each pixel, or only the high values as
// a line.
//
// Both go into the series gallery on the page "DSP" ("Signal point" and
// "Signal high-low") when the layer starts, and leave it when it ends.
//
// Tested by: analysis_ui/tests/SignalSeriesTest.cpp
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "analysis_ui/MarkTools.h"
#include "chart/series/ErrorSeries.h"
#include "chart/series/LineSeries.h"

namespace chart {
class TCanvas3D;
}

namespace analysis_ui {

class TSignalDiscreteSeries : public chart::TPointSeries, public IFixedZOrderSeries {
  ORVEL_CLASS_INFO
 public:
  explicit TSignalDiscreteSeries(classlib::TComponent* AOwner = nullptr);

  // properties
  // On: the stems end at YOrigin, which the vertical range then takes in.
  // Off: they end at the bottom of the vertical axis.
  bool UseYOrigin() const { return FUseYOrigin; }
  void SetUseYOrigin(bool Value);
  double YOrigin() const { return FYOrigin; }
  // A value that is not finite raises chart::ChartException and changes nothing.
  void SetYOrigin(double Value);
  // The pixel row the stem of a point ends at.
  std::int32_t OriginPos() const;

  // IFixedZOrderSeries: -1 lets the series find its own Z order again.
  void SetFixedZOrder(std::int32_t Value) override { FFixedZOrder = Value; }

  // overrides
  std::string EditorClassName() const override { return "TSignalDiscreteSeriesEditor"; }
  void Assign(const classlib::TPersistent& Source) override;
  void CalcZOrder() override;
  bool MoreSameZOrder() const override;
  void DrawAllValues() override;
  double MaxYValue() const override;
  double MinYValue() const override;

 private:
  bool FUseYOrigin = false;
  double FYOrigin = 0;
  std::int32_t FFixedZOrder = -1;
};

enum TSignalSeriesMode : std::uint8_t { ssmHighLow, ssmLine };

class TSignalHighLowSeries : public chart::THighLowSeries {
  ORVEL_CLASS_INFO
 public:
  explicit TSignalHighLowSeries(classlib::TComponent* AOwner = nullptr);

  // properties
  TSignalSeriesMode SeriesMode() const { return FSeriesMode; }
  void SetSeriesMode(TSignalSeriesMode Value);

  // overrides
  void Assign(const classlib::TPersistent& Source) override;
  // Every series of this kind keeps a depth of its own.
  bool MoreSameZOrder() const override { return false; }
  void DrawAllValues() override;
  double MaxYValue() const override;
  double MinYValue() const override;

 private:
  TSignalSeriesMode FSeriesMode = ssmHighLow;
};

// Draws Len points of Points from Index on as one line; a request that
// reaches past the end raises chart::ChartException "(Len+Index) > Length(Points)".
void DrawPolyline(chart::TCanvas3D& Canvas, std::span<const chart::TPoint> Points, std::size_t Index,
                  std::size_t Len);

// The two kinds in the series gallery (and the class registry), and out again.
void RegisterSignalSeriesKiv();
void UnregisterSignalSeriesKiv();

}  // namespace analysis_ui
