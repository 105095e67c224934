// The text forms of the analysis enumerations that the spectrum and signal
// reports print. Each sets S to the text of Value; a value without a text
// leaves S as it was, except TimeTransformCaption, which clears S first.
//
// Tested by: signal/tests/SignalAnalyzerTest.cpp.
#pragma once

#include <string>

#include "signal/SignalAnalyzer.h"
#include "signal/SpectrumAnalyzer.h"
#include "signal/SpectrumPeaks.h"
#include "signal/SpectrumStats.h"

namespace sig {

// "1/100", "1/10000", "1E-6", "1E-8".
void InterpolationPrecisionCaption(TInterpolationPrecision Value, std::string& S);
// "Window", "Autocorreation", "Cross correlation", "Discrete cosine
// transform", "Inverse discrete cosine transform", "Real cepstrum",
// "Complex cepstrum".
void TimeTransformCaption(TTimeTransform Value, std::string& S);
// "Normal", "Biased", "Unbiased".
void AutoCorrTypeCaption(TAutoCorrType Value, std::string& S);
// "None", "Numeric", "Quadratic", "Barycentric", "Quinn''s first",
// "Quinn''s second", "Jain''s" (the doubled apostrophes belong to the texts).
void InterpolationMethodCaption(TInterpolationMethod Value, std::string& S);
// "FFT", "Yule-Walker", "Burg", "Covariance", "Modified covariance",
// "Chirp-Z transform"; smRealCepstrum has none.
void SpectrumMethodCaption(TSpectrumMethod Value, std::string& S);
// "None", "Linear" (both linear modes), "Exponential", "Peak-hold" (both),
// "Peak and decay", "Complex linear" (both), "Complex exponential".
void AveragingCaption(TAveraging Value, std::string& S);
// "None", "Integrate 1x", "Integrate 2x", "Differentiate 1x",
// "Differentiate 2x".
void IntegrationCaption(TIntegration Value, std::string& S);

}  // namespace sig
