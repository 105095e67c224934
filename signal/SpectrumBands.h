// TSpectrumBandsAnalyzer: the band levels of a spectrum analyser (its
// published Bands), named templates (TStreamTemplates) of band lists whose
// current list is Template, a TSpectrumBands.
//
// What stands: the objects and their template handling. The band records,
// their stream form and the RMS of each band come later: until then a band
// list holds no bands and Update computes nothing.
//
// Tested by: signal/tests/SpectrumAnalyzerTest.cpp.
#pragma once

#include <cstdint>
#include <memory>

#include "signal/StreamTemplates.h"

namespace sig {

class TSpectrumAnalyzer;
class TSpectrumBandsAnalyzer;

class TSpectrumBands : public TStreamedList {
 public:
  explicit TSpectrumBands(TSpectrumBandsAnalyzer* AOwner) : FOwner(AOwner) {}

  TSpectrumBandsAnalyzer* Owner() const { return FOwner; }
  std::int32_t Count() const override { return 0; }
  // Raises "List index out of bounds (<Index>)": there are no bands.
  void Delete(std::int32_t Index) override;
  void ClearList() override {}

 private:
  TSpectrumBandsAnalyzer* FOwner;
};

class TSpectrumBandsAnalyzer : public TStreamTemplates {
  ORVEL_CLASS_INFO
 public:
  // The owner is kept, not owned.
  explicit TSpectrumBandsAnalyzer(TSpectrumAnalyzer& Owner);
  ~TSpectrumBandsAnalyzer() override;

  TSpectrumAnalyzer& Owner() const { return FOwner; }
  // The current band list.
  TSpectrumBands& Bands() const { return *FBands; }

 private:
  TSpectrumAnalyzer& FOwner;
  std::unique_ptr<TSpectrumBands> FBands;
};

}  // namespace sig
