// What the mark cursors and the axis scale tool compute without a chart: the
// line or sample under a mouse position, the search for a mark already
// placed, the texts of spectrum marks and the range an axis is scaled to.
//
// Tested by: analysis_ui/tests/MarkToolSupportTest.cpp
#pragma once

#include <cstdint>
#include <string>

#include "analysis_ui/MarkTools.h"
#include "analysis_ui/SignalToolsKiv.h"

namespace chart {
class TChartValueList;
}

namespace sig {
class TMarkList;
}

namespace analysis_ui {

// The line of a spectrum (Length lines from Start, Step apart) under F:
// Trunc((F - Start) / Step), with F first held within the lines, so a mouse
// beyond either end takes the end line (and NaN the first). 0 for an empty
// spectrum or a step that is not positive.
std::int32_t LineUnder(double F, double Start, double Step, std::int32_t Length);

// The sample of a signal (Length samples, Period apart) nearest to the time
// T from its first sample: Round(Min(Length - 1, T / Period)), T held at 0
// and above.
std::int32_t SampleNear(double T, double Period, std::int32_t Length);

// Which double of a mark a search compares: the frequency of a spectrum
// mark, the time of a signal mark.
enum TMarkKey : std::uint8_t { mkFirst, mkFourth };

// The first mark whose key lies within HalfWidth of Value (or equals it,
// whatever HalfWidth is); -1 when none does. Marks are taken as the same
// within half a line or half a sample, so a live spectrum whose refined peak
// moves a little still finds its mark.
std::int32_t FindMarkNear(const sig::TMarkList& Marks, TMarkKey Key, double Value, double HalfWidth);

// True when a value of the list lies within HalfWidth of Value (or equals it).
bool HoldsValueNear(const chart::TChartValueList& List, double Value, double HalfWidth);

// The text of a spectrum mark (a point of the mark series) for the part the
// chart shows: the amplitude, the phase (after "P=" with Headers), both on
// two lines ("A=" and "P=" with Headers), or the phase alone on a phase chart.
std::string SpectrumMarkText(TSpectrumPart Part, TSpectrumMarkType Type, bool Headers, double Amplitude,
                             double Phase, const std::string& AmpltFormat, const std::string& PhaseFormat);

// The label of mark k of a list shown under the horizontal axis: every odd
// one a line lower, so that neighbours do not overwrite each other.
std::string MarkPointLabel(std::int32_t K, const std::string& Format, double Value);

// The range the axis scale tool gives an axis whose data span Minimum ..
// Maximum: UpperMargin and LowerMargin percent of the span added above and
// below; ZeroBased (a spectrum on a linear scale) starts the range at 0 before
// the lower margin.
struct TScaleRange {
  double Minimum = 0;
  double Maximum = 0;
};
TScaleRange AxisScaleRange(double Minimum, double Maximum, std::int32_t UpperMargin, std::int32_t LowerMargin,
                           bool ZeroBased);

}  // namespace analysis_ui
