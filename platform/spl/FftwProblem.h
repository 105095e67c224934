// One FFTW problem as the transforms of this layer plan it: the transform,
// its length and the layout of its arrays. This process and the helper that
// measures plans for it (planner/FftwPlannerMain.cpp) make their plans through
// the same code, so FFTW's wisdom from one matches the problems of the other.
//
// Tested by: platform/spl/tests/FftPlanningTest.cpp
#pragma once

#include <fftw3.h>

#include <optional>
#include <string>

namespace spl {

enum TFftwKind : int {
  fkComplexForward,
  fkComplexInverse,
  fkRealForward,
  fkRealInverse,
  fkCosineForward,  // type II
  fkCosineInverse,  // type III
  fkKinds
};

struct TFftwProblem {
  TFftwKind Kind = fkComplexForward;
  int Length = 0;  // points of the transform
  bool InPlace = false;
  // Byte offsets of the arrays from FFTW's SIMD alignment (fftw_alignment_of).
  // FFTW files its wisdom under them, so plans for unaligned data are measured
  // on arrays offset the same way as the caller's.
  int InOffset = 0;
  int OutOffset = 0;

  bool Aligned() const { return InOffset == 0 && OutOffset == 0; }

  // "kind:length:in-place:in-offset:out-offset", the helper's argument.
  std::string Text() const;
  // The problem a Text() describes; nothing for anything else.
  static std::optional<TFftwProblem> FromText(const std::string& text);
};

// A plan for the problem on in and out, made with the given planner rigour
// (FFTW_ESTIMATE, FFTW_MEASURE, either with FFTW_WISDOM_ONLY); null where FFTW
// makes none. Only FFTW_ESTIMATE and FFTW_WISDOM_ONLY leave the arrays alone.
// The caller holds whatever serialises FFTW's planner in its process.
fftw_plan MakeFftwPlan(const TFftwProblem& problem, unsigned rigour, double* in, double* out);

// Arrays with a problem's layout (its length, in place or not, its offsets)
// for planning away from the caller's data.
class TFftwScratch {
 public:
  explicit TFftwScratch(const TFftwProblem& problem);
  ~TFftwScratch();
  TFftwScratch(const TFftwScratch&) = delete;
  TFftwScratch& operator=(const TFftwScratch&) = delete;

  // False when the memory could not be had.
  bool Ok() const { return FIn != nullptr && FOut != nullptr; }
  double* In() const { return FIn; }
  double* Out() const { return FOut; }

 private:
  void* FInBlock = nullptr;
  void* FOutBlock = nullptr;
  double* FIn = nullptr;
  double* FOut = nullptr;
};

}  // namespace spl
