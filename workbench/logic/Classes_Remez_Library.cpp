// The bridge to the filter-design library: its Remez design and its length
// estimate, fed from a design workspace.
// Tested by: tests/DesignOracleTest.cpp, tests/DesignTest.cpp,
// tests/GeneratorParametersTest.cpp
#include "workbench/logic/Classes_Remez_Library.h"

#include <array>
#include <span>

#include "dsp/OptimalFIR.h"
#include "numeric/Numora.h"

namespace workbench::detail {

namespace {

// The library takes the deviations themselves as the band weights, in the
// order of the bands.
std::array<double, 3> LibraryDeviations(const TDesignWorkspace& ws, std::uint8_t filterType) {
  const double pass = 2 * ws.PassDeviation;
  switch (filterType) {
    case ftLowPass: return {pass, ws.StopDeviation1, 0};
    case ftHighPass: return {ws.StopDeviation1, pass, 0};
    case ftBandPass: return {ws.StopDeviation1, pass, ws.StopDeviation2};
    default: return {pass, ws.StopDeviation1, pass};
  }
}

int BandsOf(std::uint8_t filterType) { return (filterType == ftLowPass || filterType == ftHighPass) ? 2 : 3; }

}  // namespace

bool LibraryImpulseResponse(TDesignWorkspace& ws, std::uint8_t filterType, int taps) {
  const int bands = BandsOf(filterType);
  std::array<double, 6> edges = ws.BandEdges;  // the library divides them in place
  const std::array<double, 3> deviations = LibraryDeviations(ws, filterType);
  numeric::TCachedVec h;
  h->SetLength(taps);
  double achieved = 0;
  const std::int32_t status = dsp::RemezImpulse(
      std::span(h->Values(), static_cast<std::size_t>(taps)), std::span(edges).first(2 * bands),
      std::span(ws.BandGains).first(bands), std::span(deviations).first(bands), dsp::rtMultiband, achieved, 1.0,
      false, ws.GridDensity);
  for (int i = 0; i < taps; ++i) ws.ImpulseResponse[i] = h->Values()[i];
  return status < dsp::RemezStatusLimit.load();
}

int LibraryOrderEstimate(const TDesignWorkspace& ws, std::uint8_t filterType) {
  const int bands = BandsOf(filterType);
  const std::array<double, 3> deviations = LibraryDeviations(ws, filterType);
  numeric::TCachedVec weights;  // filled by the estimate, not used
  return dsp::RemezOrder(std::span(ws.BandEdges).first(2 * bands), std::span(ws.BandGains).first(bands),
                         std::span(deviations).first(bands), *weights, 1.0);
}

}  // namespace workbench::detail
