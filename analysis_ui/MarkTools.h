// The mark cursors: chart tools with which the user puts marks on the data of
// one series of an analysis chart with the mouse. The marks are kept by the
// analysis component itself (its mark list) and shown as the points of a
// second series, the mark series, whose point labels carry each mark's
// frequency or time (under the horizontal axis) and whose mark texts carry
// its amplitude or phase.
//
// While CursorActive is on, the marks a click would place follow the mouse
// as a preview (points of the mark series that the component does not keep);
// a left click (press and release at one pixel) fixes them, a left double
// click clears every mark. The spectrum mark cursor snaps to the peak under
// the mouse and places one mark, a harmonic series, modulation side bands
// (two clicks: the carrier, then a side band) or mode pairs (two clicks);
// the signal mark cursor marks local maxima, minima, zero crossings or free
// positions.
//
// How a window sets one up (a spectrum chart with the analysed series 0 and
// a point series for the marks):
//
//   auto* tool = new TSpectrumMarkTool(&chart);
//   tool->SetParentChart(&chart);       // a TSpectrumChart, or it raises
//   tool->SetSeries(chart.Series(0));
//   tool->SetMarkSeries(marks);         // its mark texts come from the tool
//
// Series i of the chart belongs to item i of its collection, so the tool's
// Series names the component it marks.
//
// Tested by: analysis_ui/tests/SpectrumMarkToolTest.cpp, analysis_ui/tests/SignalMarkToolTest.cpp,
// analysis_ui/tests/MarkToolWindowTest.cpp
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "chart/tools/ToolBases.h"
#include "signal/MarkList.h"

namespace chart {
class TChartSeries;
}

namespace sig {
class TSignal;
class TSpectrum;
}  // namespace sig

namespace analysis_ui {

class TSignalChart;
class TSpectrumChart;

// A series kind that can be drawn on the plane of another series: the mark
// cursors put their points on the analysed series' plane through it. -1
// lets the series find its own Z order again.
class IFixedZOrderSeries {
 public:
  virtual ~IFixedZOrderSeries() = default;
  virtual void SetFixedZOrder(std::int32_t Value) = 0;
};

class TCursorMarkTool : public chart::TKivCustomToolSeries {
  ORVEL_CLASS_INFO
 public:
  explicit TCursorMarkTool(classlib::TComponent* AOwner = nullptr);
  ~TCursorMarkTool() override;

  // properties
  // On: the marks follow the mouse and a click fixes them. Off: the mouse
  // only moves the cursor position and the stored marks are shown.
  bool CursorActive() const { return FCursorActive; }
  void SetCursorActive(bool Value);
  chart::TChartSeries* MarkSeries() const { return FMarkSeries; }
  bool DoubleClickClear() const { return FDoubleClickClear; }
  void SetDoubleClickClear(bool Value) { FDoubleClickClear = Value; }
  // The cursor position in axis values (the frequency or time a click marks)
  // and in pixels ({-1, -1} until known).
  double CursorX() const { return FCursorX; }
  double CursorY() const { return FCursorY; }
  chart::TPoint CursorPixels() const { return {FCursorPixelX, FCursorPixelY}; }
  // The marks shown, point k of the mark series standing for mark k.
  const std::vector<sig::TMarkRecord>& ShownMarks() const { return FMarks; }

  // introduced virtual
  // The old mark series no longer asks the tool for its mark texts; the new
  // one does, and tells the tool when it is freed.
  virtual void SetMarkSeries(chart::TChartSeries* Value);
  // Keeps the shift state and position of a press, which a release is
  // compared with.
  virtual void CursorMouseDown(chart::TShiftState Shift, std::int32_t X, std::int32_t Y);
  virtual void CursorMouseMove(chart::TShiftState Shift, std::int32_t X, std::int32_t Y) = 0;
  virtual void CursorMouseUp(chart::TMouseButton Button, chart::TShiftState Shift, std::int32_t X,
                             std::int32_t Y) = 0;
  // The mark series' mark text of point ValueIndex; an index outside the
  // marks shown leaves the text as it was.
  virtual void GetMarkLabel(chart::TChartSeries& Sender, int ValueIndex, std::string& MarkText) = 0;

  // overrides
  // Needs both Series and MarkSeries: a press, move or release goes to the
  // cursor operation of its kind.
  void ChartMouseEvent(chart::TChartMouseEvent Event, chart::TMouseButton Button, chart::TShiftState Shift,
                       std::int32_t X, std::int32_t Y) override;

 protected:
  void Notification(classlib::TComponent* AComponent, classlib::TOperation Operation) override;

  // The start of every move: false when the move is ignored (a button held,
  // a series missing) or, with CursorActive off, only moves the cursor position.
  bool PreviewWanted(chart::TShiftState Shift, std::int32_t X, std::int32_t Y);
  // The cursor's values from a pixel position through the series' axes.
  void SetCursorFromPixels(std::int32_t X, std::int32_t Y);
  // The cursor's pixels from its values; an unknown one starts in the middle of its axis.
  void UpdateCursorPixels();
  void SetCursorX(double Value) { FCursorX = Value; }
  // A mark's label under the horizontal axis of Series takes a second line:
  // the axis title moves down one line, and back when no mark is left.
  void AddAxisTitleBreak();
  void RemoveAxisTitleBreak();
  // The mark series and the marks shown, emptied.
  void ClearShownMarks();
  // A point (X, Y, Label) of the mark series with Rec among the marks shown
  // at the same index; false and nothing added when X or Y is not finite.
  bool AddMarkPoint(const sig::TMarkRecord& Rec, double X, double Y, const std::string& Label);
  // True when the mark series holds a point within HalfWidth of X.
  bool MarkSeriesHoldsX(double X, double HalfWidth) const;
  // The index of Series in its chart's series list; -1 without one.
  int SeriesIndex() const;
  // The last mouse position a preview was made for ({-1, -1} none), which
  // the preview takes again before every pass.
  bool HasMousePosition() const { return FMouseX != -1 || FMouseY != -1; }
  void RememberMouse(std::int32_t X, std::int32_t Y) {
    FMouseX = X;
    FMouseY = Y;
  }
  void PreviewAtMouse() { CursorMouseMove(0, FMouseX, FMouseY); }
  // A press and a release at one pixel.
  bool ClickedWhere(std::int32_t X, std::int32_t Y) const { return X == FPressX && Y == FPressY; }
  bool PressedDouble() const { return (FPressShift & (1u << chart::ssDouble)) != 0; }
  static bool ButtonHeld(chart::TShiftState Shift);

  // The record a click would store.
  sig::TMarkRecord FCurrent;

 private:
  bool FCursorActive = true;
  bool FDoubleClickClear = true;
  chart::TChartSeries* FMarkSeries = nullptr;
  std::vector<sig::TMarkRecord> FMarks;
  double FCursorX = 0, FCursorY = 0;
  std::int32_t FCursorPixelX = -1, FCursorPixelY = -1;
  std::int32_t FMouseX = -1, FMouseY = -1;
  chart::TShiftState FPressShift = 0;
  std::int32_t FPressX = 0, FPressY = 0;
};

enum TSpectrumMarkMode : std::uint8_t { mmSingle, mmHarmonic, mmSideBand, mmModes, mmFreeStyle };
enum TSpectrumMarkType : std::uint8_t { mtAmplt, mtPhase, mtAmpltPhase };

// "Spectrum mark cursor": marks peaks of a spectrum on a TSpectrumChart.
// The chart's OnAfterMarkPeak fires after a click has placed its marks (not
// while a two-click placement waits for its second click) and after a double
// click cleared them.
class TSpectrumMarkTool : public TCursorMarkTool {
  ORVEL_CLASS_INFO
 public:
  explicit TSpectrumMarkTool(classlib::TComponent* AOwner = nullptr);
  ~TSpectrumMarkTool() override;

  // properties
  // After a click a new mark's tone is taken out of the spectrum (its peak
  // filter) instead of being kept as a mark.
  bool PeakFilterMode() const { return FPeakFilterMode; }
  void SetPeakFilterMode(bool Value) { FPeakFilterMode = Value; }
  TSpectrumMarkMode MarkMode() const { return FMarkMode; }
  void SetMarkMode(TSpectrumMarkMode Value);
  // What the mark texts show on an amplitude chart.
  TSpectrumMarkType MarkType() const { return FMarkType; }
  void SetMarkType(TSpectrumMarkType Value);
  const std::string& AmpltFormat() const { return FAmpltFormat; }
  void SetAmpltFormat(const std::string& Value);
  const std::string& PhaseFormat() const { return FPhaseFormat; }
  void SetPhaseFormat(const std::string& Value);
  // The format of the frequencies under the horizontal axis.
  const std::string& FreqFormat() const { return FFreqFormat; }
  void SetFreqFormat(const std::string& Value);
  // "A=" and "P=" before the amplitude and phase of the mark texts.
  bool LabelHeaders() const { return FLabelHeaders; }
  void SetLabelHeaders(bool Value);
  // The analyser's peak search band follows the frequencies in view.
  bool PeakZoomBand() const { return FPeakZoomBand; }
  void SetPeakZoomBand(bool Value) { FPeakZoomBand = Value; }
  // Confidence limits of the spectrum: kept for the editor, not drawn.
  chart::TChartSeries* UpperLimitSeries() const { return FUpperLimitSeries; }
  void SetUpperLimitSeries(chart::TChartSeries* Value);
  chart::TChartSeries* LowerLimitSeries() const { return FLowerLimitSeries; }
  void SetLowerLimitSeries(chart::TChartSeries* Value);
  bool ConfMarksOnly() const { return FConfMarksOnly; }
  void SetConfMarksOnly(bool Value) { FConfMarksOnly = Value; }
  // The carrier (side bands) or first mode fixed by a first click; -1 none.
  double ReferenceFrequency() const { return FReference; }

  // operations
  // The spectrum of Series' item of the chart; nullptr when there is none.
  sig::TSpectrum* Spectrum() const;
  // The tone of every mark taken out of the spectrum, the marks cleared and
  // the spectrum updated.
  void FilterPeaks();
  // The spectrum's marks, the mark series and the axis title's second line
  // gone, and a pending two-click placement forgotten.
  void ClearPeaks();

  // introduced virtual
  // The mark series shows the spectrum's marks, sorted by frequency.
  virtual void ShowSpectrumMarks(sig::TSpectrum& Spectrum);
  // A preview mark at Frequency, unless it lies outside the spectrum or a
  // point of the mark series stands there already.
  virtual void AddSpectrumMark(sig::TSpectrum& Spectrum, double Frequency);
  // Stores a mark at the cursor frequency when none stands there (or, with
  // Remove, takes away the one that does).
  virtual void ToggleSpectrumMark(sig::TSpectrum& Spectrum, bool Remove);

  // overrides
  // A chart that is not a TSpectrumChart raises "TSpectrumChart type required!".
  void SetParentChart(chart::TCustomAxisPanel* Value) override;
  std::string EditorClassName() const override { return "TSpectrumMarkToolEditor"; }
  std::string Description() const override { return "Spectrum mark cursor"; }
  void ChartEvent(chart::TChartToolEvent Event) override;
  void CursorMouseMove(chart::TShiftState Shift, std::int32_t X, std::int32_t Y) override;
  void CursorMouseUp(chart::TMouseButton Button, chart::TShiftState Shift, std::int32_t X,
                     std::int32_t Y) override;
  void GetMarkLabel(chart::TChartSeries& Sender, int ValueIndex, std::string& MarkText) override;

 protected:
  void Notification(classlib::TComponent* AComponent, classlib::TOperation Operation) override;

 private:
  TSpectrumChart* Chart() const;
  // The amplitude at F as the chart shows it (in decibels on a logarithmic analyser).
  double AmplitudeAt(sig::TSpectrum& Spectrum, double F) const;
  // Adds the point of one mark: its amplitude or phase, as the chart shows.
  bool AddSpectrumPoint(const sig::TMarkRecord& Rec, const std::string& Label);
  void ToggleAt(sig::TSpectrum& Spectrum, double F);
  void AfterMarkPeak();

  bool FPeakFilterMode = false;
  TSpectrumMarkMode FMarkMode = mmSingle;
  TSpectrumMarkType FMarkType = mtAmplt;
  std::string FAmpltFormat = "0.00#";
  std::string FPhaseFormat = "0.00#";
  std::string FFreqFormat = "0.00#";
  bool FLabelHeaders = true;
  bool FPeakZoomBand = false;
  chart::TChartSeries* FUpperLimitSeries = nullptr;
  chart::TChartSeries* FLowerLimitSeries = nullptr;
  bool FConfMarksOnly = false;
  double FReference = -1;
};

enum TSignalMarkMode : std::uint8_t { tmMaximum, tmMinimum, tmZeroCrossing, tmFreeStyle };

// "Signal mark cursor": marks samples of a signal on a TSignalChart. A click
// on a mark shown takes it away again.
class TSignalMarkTool : public TCursorMarkTool {
  ORVEL_CLASS_INFO
 public:
  explicit TSignalMarkTool(classlib::TComponent* AOwner = nullptr);
  ~TSignalMarkTool() override;

  // properties
  const std::string& AmpltFormat() const { return FAmpltFormat; }
  void SetAmpltFormat(const std::string& Value);
  // The format of the times under the horizontal axis.
  const std::string& TimeFormat() const { return FTimeFormat; }
  void SetTimeFormat(const std::string& Value);
  TSignalMarkMode MarkMode() const { return FMarkMode; }
  void SetMarkMode(TSignalMarkMode Value) { FMarkMode = Value; }

  // operations
  // The signal of Series' item of the chart; nullptr when there is none.
  sig::TSignal* Signal() const;
  // The signal's marks, the mark series and the axis title's second line gone.
  void ClearMarks();

  // introduced virtual
  // The mark series shows the signal's marks, sorted by time.
  virtual void ShowSignalMarks(sig::TSignal& Signal);
  // A preview mark of the current record at the time T from the first
  // sample, unless T lies outside the record or a mark stands there already.
  virtual void AddSignalMark(sig::TSignal& Signal, double T);
  // Stores the current record when no mark stands at the cursor time (or,
  // with Remove, takes away the one that does).
  virtual void ToggleSignalMark(sig::TSignal& Signal, bool Remove);

  // overrides
  // A chart that is not a TSignalChart raises "TSignalChart type required!".
  void SetParentChart(chart::TCustomAxisPanel* Value) override;
  std::string EditorClassName() const override { return "TSignalMarkToolEditor"; }
  std::string Description() const override { return "Signal mark cursor"; }
  void ChartEvent(chart::TChartToolEvent Event) override;
  void CursorMouseMove(chart::TShiftState Shift, std::int32_t X, std::int32_t Y) override;
  void CursorMouseUp(chart::TMouseButton Button, chart::TShiftState Shift, std::int32_t X,
                     std::int32_t Y) override;
  void GetMarkLabel(chart::TChartSeries& Sender, int ValueIndex, std::string& MarkText) override;

 private:
  TSignalChart* Chart() const;
  // The label of a mark at time T (in milliseconds while the tool counts them).
  std::string TimeLabel(std::int32_t K, double T) const;

  std::string FAmpltFormat = "0.00#";
  std::string FTimeFormat = "0.00#";
  TSignalMarkMode FMarkMode = tmMaximum;
  // Times in milliseconds: mouse times are divided by 1000, label times
  // multiplied. Nothing switches it on yet.
  bool FMilliseconds = false;
};

}  // namespace analysis_ui
