// FFTW problems: their text form, their plans, scratch arrays laid out as theirs.
// Tested by: platform/spl/tests/FftPlanningTest.cpp
#include "platform/spl/FftwProblem.h"

#include <charconv>
#include <cstddef>
#include <cstdint>

namespace spl {

namespace {

// Offsets beyond any SIMD alignment FFTW uses are not offsets it reports.
constexpr int kMaxOffset = 64;

bool ReadInt(const char*& p, const char* end, int& value) {
  const auto [next, error] = std::from_chars(p, end, value);
  if (error != std::errc() || next == p) return false;
  p = next;
  return true;
}

// Doubles each array of a problem needs: a complex or real spectrum of n
// points fills at most 2n + 2, a cosine transform n.
std::size_t ArrayDoubles(const TFftwProblem& problem) {
  const auto n = static_cast<std::size_t>(problem.Length);
  return problem.Kind == fkCosineForward || problem.Kind == fkCosineInverse ? n : 2 * n + 2;
}

// A block of doubles starting offset bytes past FFTW's alignment.
void* AllocateOffset(std::size_t doubles, int offset, double*& data) {
  void* block = fftw_malloc(doubles * sizeof(double) + kMaxOffset);
  data = block == nullptr ? nullptr : reinterpret_cast<double*>(static_cast<char*>(block) + offset);
  return block;
}

}  // namespace

std::string TFftwProblem::Text() const {
  return std::to_string(static_cast<int>(Kind)) + ":" + std::to_string(Length) + ":" + (InPlace ? "1" : "0") + ":" +
         std::to_string(InOffset) + ":" + std::to_string(OutOffset);
}

std::optional<TFftwProblem> TFftwProblem::FromText(const std::string& text) {
  const char* p = text.data();
  const char* const end = p + text.size();
  int fields[5];
  for (int i = 0; i < 5; ++i) {
    if (i > 0 && (p == end || *p++ != ':')) return std::nullopt;
    if (!ReadInt(p, end, fields[i])) return std::nullopt;
  }
  if (p != end) return std::nullopt;
  const auto [kind, length, inPlace, inOffset, outOffset] = fields;
  if (kind < 0 || kind >= fkKinds || length < 1 || (inPlace != 0 && inPlace != 1)) return std::nullopt;
  if (inOffset < 0 || inOffset >= kMaxOffset || outOffset < 0 || outOffset >= kMaxOffset) return std::nullopt;
  if (inPlace == 1 && inOffset != outOffset) return std::nullopt;
  return TFftwProblem{static_cast<TFftwKind>(kind), length, inPlace == 1, inOffset, outOffset};
}

fftw_plan MakeFftwPlan(const TFftwProblem& problem, unsigned rigour, double* in, double* out) {
  const int n = problem.Length;
  unsigned flags = rigour | (problem.Aligned() ? 0u : FFTW_UNALIGNED);
  auto* const cin = reinterpret_cast<fftw_complex*>(in);
  auto* const cout = reinterpret_cast<fftw_complex*>(out);
  switch (problem.Kind) {
    case fkComplexForward:
      return fftw_plan_dft_1d(n, cin, cout, FFTW_FORWARD, flags);
    case fkComplexInverse:
      return fftw_plan_dft_1d(n, cin, cout, FFTW_BACKWARD, flags);
    case fkRealForward:
      return fftw_plan_dft_r2c_1d(n, in, cout, flags);
    case fkRealInverse:
      // The caller's spectrum must survive the inverse.
      if (!problem.InPlace) flags |= FFTW_PRESERVE_INPUT;
      return fftw_plan_dft_c2r_1d(n, cin, out, flags);
    case fkCosineForward:
      return fftw_plan_r2r_1d(n, in, out, FFTW_REDFT10, flags);
    case fkCosineInverse:
      return fftw_plan_r2r_1d(n, in, out, FFTW_REDFT01, flags);
    default:
      return nullptr;
  }
}

TFftwScratch::TFftwScratch(const TFftwProblem& problem) {
  const std::size_t doubles = ArrayDoubles(problem);
  FInBlock = AllocateOffset(doubles, problem.InOffset, FIn);
  if (problem.InPlace)
    FOut = FIn;
  else
    FOutBlock = AllocateOffset(doubles, problem.OutOffset, FOut);
}

TFftwScratch::~TFftwScratch() {
  fftw_free(FInBlock);
  fftw_free(FOutBlock);
}

}  // namespace spl
