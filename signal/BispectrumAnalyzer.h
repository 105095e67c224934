// TBiSpectrumAnalyzer: the bispectrum of its input, or its bicoherence, over
// pairs of lines (f1, f2) of the frame's spectrum X (L lines), averaged over
// frames by Stats (avLinearInf, avLinear or avExponentInf; every other mode
// takes the frame alone). It shows the row at f1 = BiAnalyzer.Frequency as
// its own amplitude spectrum over f2, so that peaks, bands, report and charts
// work on it as on any spectrum.
//
// Each frame gives the triple products T(f1, f2) = X[f1] X[f2] conj(X[f1 +
// f2]) (the transform is unscaled: bicoherence does not depend on it) and
// its averages B = <T>, N = <|T|^2> (modified) or P = <|X|^2> (default):
//   hoBispectrum                cbrt |B|
//   hoBicoherence, bctModified  |B|^2 / N               (0 where N is 0)
//   hoBicoherence, bctDefault   |B|^2 / (P[f1] P[f2] P[f1 + f2])
//                                                       (0 where that is 0)
// A coupled triple (phases adding up) gives bicoherence 1, independent
// phases 0 as the frames grow.
//
// The whole matrix (SingleLinesOnly off) covers the principal domain f2 <=
// f1, f1 + f2 < L in h + 1 rows of h columns (h = L div 2): row i holds the
// pairs (i, k), k <= i, and then those of row h + i + 1. It grows with L^2:
// a frame whose matrices would need more than 1 GiB is refused. With
// SingleLinesOnly only the rows of the frequencies in Lines are made, each
// the whole slice at its line (L columns, the pairs (f1, f2) with f1 <= f2 <
// L - f1 in columns f2), so that the row shown equals the whole matrix's
// slice there.
//
// Each frame sets Method to smFFT and SpectrumType to spAmplt: the products
// need the plain transform. Recursive (the default) keeps running averages;
// without it the analyser keeps plain sums and divides them by the number
// of frames at every update (the chart is not told of each frame), so both
// modes show the same averages. Switching Recursive or SingleLinesOnly, or
// other lines, restarts the average.
//
// Tested by: signal/tests/BispectrumAnalyzerTest.cpp,
// signal/tests/CrossBispectrumOracleTest.cpp.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "numeric/Mtx.h"
#include "numeric/Vec.h"
#include "platform/classlib/Persistent.h"
#include "signal/SpectrumAnalyzer.h"

namespace sig {

class TBiSpectrumAnalyzer;

enum TBicoherenceType : std::uint8_t { bctDefault, bctModified };
enum TBiAnalysis : std::uint8_t { hoBicoherence, hoBispectrum };

// The averaged matrices of a TBiSpectrumAnalyzer, its published BiAnalyzer.
class TBiAnalyzer : public classlib::TPersistent {
  ORVEL_CLASS_INFO
 public:
  explicit TBiAnalyzer(TBiSpectrumAnalyzer& Owner);
  ~TBiAnalyzer() override;

  // properties
  TBicoherenceType BicoherenceType() const { return FBicoherenceType; }
  void SetBicoherenceType(TBicoherenceType Value) { FBicoherenceType = Value; }
  bool Recursive() const { return FRecursive; }
  // On a change: stores and restarts the average.
  void SetRecursive(bool Value);
  TBiAnalysis Transform() const { return FTransform; }
  void SetTransform(TBiAnalysis Value) { FTransform = Value; }
  // The first frequency of the row shown, in Hz.
  double Frequency() const { return FFrequency; }
  // Ignored unless it differs and is >= 0; stores at most (Length div 2)
  // HzRes of the owner.
  void SetFrequency(double Value);
  // The result matrix (real).
  numeric::TMtx& Bispectrum() const { return *FBispectrum; }
  bool SingleLinesOnly() const { return FSingleLinesOnly; }
  // On a change: stores and restarts the average.
  void SetSingleLinesOnly(bool Value);
  // The frequencies in Hz of the rows made with SingleLinesOnly.
  numeric::TVec& Lines() const { return *FLines; }

  // operations
  // Raises when the averages and the result of a frame of L lines would
  // need more than 1 GiB.
  void CheckBudget(std::int32_t L) const;
  // Takes one frame's complex spectrum into the averages (the owner's Stats
  // counts it); CheckBudget first.
  void AddFrame(const numeric::TVec& X);
  // Bispectrum := the result of Transform from the averages.
  void ComputeResult();
  // Amplt := the row of the result at Frequency over the owner's lines.
  void Display(numeric::TVec& Amplt) const;

 private:
  // The bin of each entry of Lines in a spectrum of L lines.
  std::vector<std::int32_t> LineBins(std::int32_t L) const;

  TBiSpectrumAnalyzer& FOwner;
  TBicoherenceType FBicoherenceType = bctModified;
  bool FRecursive = true;
  TBiAnalysis FTransform = hoBicoherence;
  double FFrequency = 0.0;
  bool FSingleLinesOnly = false;
  std::unique_ptr<numeric::TMtx> FBispectrum;
  std::unique_ptr<numeric::TVec> FLines;
  // The averages (or, without Recursive, the sums): B of the triple
  // products, complex; N of their squared magnitudes (modified) or of the
  // frame's power spectrum (one row, default).
  std::unique_ptr<numeric::TMtx> FB;
  std::unique_ptr<numeric::TMtx> FN;
  // The line count and the bins of the rows the averages hold.
  std::int32_t FLineCount = 0;
  std::vector<std::int32_t> FBins;
};

class TBiSpectrumAnalyzer : public TSpectrumAnalyzer {
  ORVEL_CLASS_INFO
 public:
  explicit TBiSpectrumAnalyzer(classlib::TComponent* AOwner = nullptr);
  ~TBiSpectrumAnalyzer() override;

  // properties
  TBiAnalyzer& BiAnalyzer() const { return *FBiAnalyzer; }

  // events
  // Fills the frame's complex spectrum in place of the analyser's transform.
  const TNotifyVecEvent& OnGetSpectrum() const { return FOnGetSpectrum; }
  void SetOnGetSpectrum(TNotifyVecEvent Value) { FOnGetSpectrum = std::move(Value); }
  // Kept for the host; the analyser never fires it.
  const TNotifyEvent& OnUpdateSpectrum() const { return FOnUpdateSpectrum; }
  void SetOnUpdateSpectrum(TNotifyEvent Value) { FOnUpdateSpectrum = std::move(Value); }

  // overrides
  // The registry finds the form by this name whatever its letter case.
  std::string EditorClassName() const override { return "TBispectrumAnaForm"; }
  // Without BiAnalyzer.Recursive the chart is not told of the frame.
  std::uint8_t Update() override;
  // Method := smFFT first, so that the timing is the FFT's.
  void PrepareUpdate() override;
  // One frame into the averages, the result and the row shown. A completed
  // avLinear average only shows the result again; an empty input changes
  // nothing.
  std::uint8_t InternalUpdate() override;

 private:
  // Amplt := the row at BiAnalyzer.Frequency, then the timing of the
  // frame, peaks, bands and the extremes.
  void DisplayResult();

  std::unique_ptr<TBiAnalyzer> FBiAnalyzer;
  TNotifyVecEvent FOnGetSpectrum;
  TNotifyEvent FOnUpdateSpectrum;
};

// Registers TBiSpectrumAnalyzer with the class registry, and takes it out again.
void RegisterBispectrumAnalyzerClasses();
void UnregisterBispectrumAnalyzerClasses();

}  // namespace sig
