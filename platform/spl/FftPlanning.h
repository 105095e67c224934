// How the Fourier and cosine transforms get their FFTW plans.
//
// The first transform of a size, kind and array layout gets a plan at once:
// from FFTW's wisdom (plans measured before, kept in the wisdom file) when it
// has some, else a quick FFTW_ESTIMATE plan, made in a millisecond or two.
// Once a quick plan has been in use for a second, a background thread has it
// measured by a helper process (FFTW_MEASURE with no time limit, three times,
// keeping the fastest) and swaps the measured plan in; transforms running
// meanwhile go on with the quick one.
// Measured plans are added to the wisdom file, so the next run plans nothing.
//
// Two plans for one problem may differ in the last bits of their results:
// between machines and, once a quick plan is replaced, between two calls in
// one run. No result may depend on an FFT's last bits.
//
// Tested by: platform/spl/tests/FftPlanningTest.cpp
#pragma once

#include <cstdint>
#include <string>

namespace spl {

// What planning has done in this process so far.
struct TFftPlanningStats {
  std::int64_t QuickPlans = 0;     // first plans made with FFTW_ESTIMATE
  std::int64_t WisdomPlans = 0;    // first plans made from wisdom
  std::int64_t ReplacedPlans = 0;  // quick plans replaced by measured ones
  std::int64_t HelperRuns = 0;     // helper processes that measured plans
  std::int64_t MeasuredHere = 0;   // plans measured in this process, for want of the helper
  double LongestWait = 0;          // the longest a transform waited for its plan, seconds
  double TotalWait = 0;            // all transforms' waits for their plans, seconds
};

TFftPlanningStats FftPlanningStats();

// Blocks until every quick plan made so far has been measured and replaced
// (or measuring it has failed), starting at once rather than after the second.
void WaitForFftPlans();

// The wisdom file the environment asks for: ORVEL_FFTW_WISDOM if it is set
// (empty for none), else $XDG_CACHE_HOME/Orvel/fftw-wisdom, else
// $HOME/.cache/Orvel/fftw-wisdom; empty when none of these is set.
std::string DefaultFftWisdomFile();

// The wisdom file in use: DefaultFftWisdomFile() unless set here; "" for none.
// A new file is read before the next plan is made.
void SetFftWisdomFile(const std::string& path);
std::string FftWisdomFile();

}  // namespace spl
