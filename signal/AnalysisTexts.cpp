// The text forms of the analysis enumerations.
// Tested by: signal/tests/SignalAnalyzerTest.cpp.
#include "signal/AnalysisTexts.h"

#include <array>

namespace sig {

namespace {

// S := Texts[Value] when Value has a text.
template <std::size_t N>
void Caption(std::size_t Value, const std::array<const char*, N>& Texts, std::string& S) {
  if (Value < N) S = Texts[Value];
}

}  // namespace

void InterpolationPrecisionCaption(TInterpolationPrecision Value, std::string& S) {
  static constexpr std::array<const char*, 4> texts = {"1/100", "1/10000", "1E-6", "1E-8"};
  Caption(Value, texts, S);
}

void TimeTransformCaption(TTimeTransform Value, std::string& S) {
  static constexpr std::array<const char*, 7> texts = {"Window",
                                                       "Autocorreation",
                                                       "Cross correlation",
                                                       "Discrete cosine transform",
                                                       "Inverse discrete cosine transform",
                                                       "Real cepstrum",
                                                       "Complex cepstrum"};
  S.clear();
  Caption(Value, texts, S);
}

void AutoCorrTypeCaption(TAutoCorrType Value, std::string& S) {
  static constexpr std::array<const char*, 3> texts = {"Normal", "Biased", "Unbiased"};
  Caption(Value, texts, S);
}

void InterpolationMethodCaption(TInterpolationMethod Value, std::string& S) {
  static constexpr std::array<const char*, 7> texts = {
      "None", "Numeric", "Quadratic", "Barycentric", "Quinn''s first", "Quinn''s second", "Jain''s"};
  Caption(Value, texts, S);
}

void SpectrumMethodCaption(TSpectrumMethod Value, std::string& S) {
  static constexpr std::array<const char*, 6> texts = {"FFT",        "Yule-Walker",         "Burg",
                                                       "Covariance", "Modified covariance", "Chirp-Z transform"};
  Caption(Value, texts, S);
}

void AveragingCaption(TAveraging Value, std::string& S) {
  static constexpr std::array<const char*, 10> texts = {
      "None",      "Linear",         "Exponential",    "Linear",         "Peak-hold",
      "Peak-hold", "Peak and decay", "Complex linear", "Complex linear", "Complex exponential"};
  Caption(Value, texts, S);
}

void IntegrationCaption(TIntegration Value, std::string& S) {
  static constexpr std::array<const char*, 5> texts = {"None", "Integrate 1x", "Integrate 2x", "Differentiate 1x",
                                                       "Differentiate 2x"};
  Caption(Value, texts, S);
}

}  // namespace sig
