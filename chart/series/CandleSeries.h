// Price charts: the candle series draws each bar as a candlestick, an OHLC
// bar, an open-close box or a point of a close line, coloured by the
// direction of the close; the volume series draws each point as a vertical
// line from an origin.
//
// Tested by: chart/tests/CandleSeriesTest.cpp
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "chart/core/StoreAndInvalidate.h"
#include "chart/series/OHLCSeries.h"

namespace chart {

enum TCandleStyle : std::uint8_t { csCandleStick, csCandleBar, csOpenClose, csLine };

class TCandleSeries : public TOHLCSeries {
  ORVEL_CLASS_INFO
 public:
  explicit TCandleSeries(classlib::TComponent* owner = nullptr);

  // properties
  TCandleStyle CandleStyle() const { return FCandleStyle; }
  // The pointer (the candles' pen and brush) shows for every style but the line.
  void SetCandleStyle(TCandleStyle v);
  std::int32_t CandleWidth() const { return FCandleWidth; }
  void SetCandleWidth(std::int32_t v) { StoreAndInvalidate(*this, FCandleWidth, v); }
  bool Draw3D() const { return Pointer()->Draw3D(); }
  void SetDraw3D(bool v) { Pointer()->SetDraw3D(v); }
  bool Dark3D() const { return Pointer()->Dark3D(); }
  void SetDark3D(bool v) { Pointer()->SetDark3D(v); }
  TColor DownCloseColor() const { return FDownCloseColor; }
  void SetDownCloseColor(TColor v) { StoreAndInvalidate(*this, FDownCloseColor, v); }
  bool ShowCloseTick() const { return FShowCloseTick; }
  void SetShowCloseTick(bool v) { StoreAndInvalidate(*this, FShowCloseTick, v); }
  bool ShowOpenTick() const { return FShowOpenTick; }
  void SetShowOpenTick(bool v) { StoreAndInvalidate(*this, FShowOpenTick, v); }
  TColor UpCloseColor() const { return FUpCloseColor; }
  void SetUpCloseColor(TColor v) { StoreAndInvalidate(*this, FUpCloseColor, v); }
  // The candles' pen is the pointer's: outline of bodies, bar and line pen.
  TChartPen* Pen() const { return Pointer()->Pen(); }

  // operations
  int AddCandle(double date, double open, double high, double low, double close) {
    return AddOHLC(date, open, high, low, close);
  }
  // The colour a candle is drawn in: its own, else by the direction of its close.
  TColor CandleColor(int valueIndex) const;

  // overrides
  void Assign(const classlib::TPersistent& source) override;
  std::string EditorClassName() const override { return "TCandleEditor"; }
  void SetPen(const TChartPen& v) override { Pointer()->Pen()->Assign(v); }
  void ListSubStyles(const std::function<void(const std::string&)>& callback) override;
  void DrawValue(int valueIndex) override;
  // Flat sticks and boxes with no handler of the pointer style go in one
  // loop that sets the pen up once; the others through DrawValue.
  void DrawAllValues() override;
  void ApplySubStyle(int subStyle) override;
  TColor LegendItemColor(int index) const override { return CandleColor(index); }
  double MaxYValue() const override;
  double MinYValue() const override;
  int Clicked(std::int32_t x, std::int32_t y) override;
  void PrepareForGallery(bool enabled) override;

 protected:
  // Whether a pass may draw in one loop. A kind of its own keeps the road
  // through DrawValue for every point: only this kind takes the other.
  virtual bool DrawsCandlesInOneLoop() const;

 private:

  // Screen geometry of one candle, with the adjustments drawing makes.
  struct TCandleGeometry {
    std::int32_t X = 0, Open = 0, Close = 0, High = 0, Low = 0, LeftHalf = 0, RightHalf = 0;
  };
  TCandleGeometry Geometry(int valueIndex) const;
  // A flat stick or box of a bar: the wick, then the body in its colour.
  void DrawFlatCandle(TCanvas3D& canvas, TCandleGeometry g, TColor color);
  bool FirstDrawn(int valueIndex) const;

  TCandleStyle FCandleStyle = csCandleStick;
  std::int32_t FCandleWidth = 4;
  TColor FDownCloseColor = clRed;
  bool FShowCloseTick = true;
  bool FShowOpenTick = true;
  TColor FUpCloseColor = clWhite;
  // The previous point of the close line (drawing and click test).
  std::int32_t FOldX = 0, FOldY = 0;
};

class TVolumeSeries : public TCustomSeries {
  ORVEL_CLASS_INFO
 public:
  explicit TVolumeSeries(classlib::TComponent* owner = nullptr);

  // properties
  TChartValueList* VolumeValues() const { return YValues(); }
  void SetVolumeValues(const TChartValueList& v) { SetYValues(v); }
  bool UseYOrigin() const { return FUseYOrigin; }
  void SetUseYOrigin(bool v) { StoreAndInvalidate(*this, FUseYOrigin, v); }
  double YOrigin() const { return FYOrigin; }
  void SetYOrigin(double v) { StoreAndInvalidate(*this, FYOrigin, v); }

  // overrides
  void Assign(const classlib::TPersistent& source) override;
  std::string EditorClassName() const override { return "TVolumeSeriesEditor"; }
  void ListSubStyles(const std::function<void(const std::string&)>& callback) override;
  void DrawLegendShape(int valueIndex, const TRect& rect) override;
  void DrawValue(int valueIndex) override;
  void PrepareLegendCanvas(int valueIndex, TColor& backColor, TBrushStyle& brushStyle) override;
  void SetSeriesColor(TColor v) override;
  void ApplySubStyle(int subStyle) override;
  void AddSampleValues(int numValues) override;
  int DefaultSampleCount() const override { return 40; }
  void PrepareForGallery(bool enabled) override;

 private:
  bool FUseYOrigin = false;
  double FYOrigin = 0;
  TColor FLastColor = clNone;
};

}  // namespace chart
