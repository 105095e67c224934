// TSpectrumBandsAnalyzer: the band levels of a spectrum analyser (its
// published Bands), named templates (TStreamTemplates) of band lists whose
// current list is Template, a TSpectrumBands.
//
// A band is a trapezoid over the frequency axis: a rising edge F1 .. F2, a
// flat top F2 .. F3 and a falling edge F3 .. F4. After every spectrum the
// analyser computes the RMS of each active band: the lines of each part
// (edges weighted by a ramp), their band RMS (dsp::BandRms, by the spectrum
// type when AdjustForType, else as peak amplitudes) joined as
//   Rms = sqrt((r1^2 + r2^2 + r3^2) / R),   R the padding ratio.
// The edges are read in their reference's units (Hz, multiples of the
// sampling frequency, of the order frequency or of a marked peak's
// frequency) and used in ascending order whatever order they were given in,
// so that no band can fail the analyser's update.
//
// Stream form of a band list (little-endian, packed records of 47 bytes):
//   a header record whose Rms holds the band count (its other bytes 0),
//   then each band:
//     0  Active (1 byte)        25  F4           42  AdjustForType (1 byte)
//     1  F1                     33  Rms          43  PeakIndex (int32)
//     9  F2                     41  Reference (1 byte: 0 Hz, 1 sampling
//    17  F3                         frequency, 2 order frequency, 3 mark)
//
// Tested by: signal/tests/SpectrumBandsTest.cpp.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "signal/StreamTemplates.h"

namespace classlib {
class TStrings;
}

namespace sig {

class TSpectrumAnalyzer;
class TSpectrumBandsAnalyzer;

struct TSpectrumBandRecord {
  // Bytes of one band in a stream.
  static constexpr std::int32_t RecordSize = 47;

  bool Active = false;
  double F1 = 0.0;
  double F2 = 0.0;
  double F3 = 0.0;
  double F4 = 0.0;
  double Rms = 0.0;
  // 0: F1 .. F4 in Hz; 1: multiples of the analyser's SamplingFrequency;
  // 2: of Peaks.OrderFrequency; 3: of the frequency of mark PeakIndex.
  std::uint8_t Reference = 0;
  bool AdjustForType = false;
  std::int32_t PeakIndex = 0;

  void WriteRecord(classlib::TStream& Stream) const;
  static TSpectrumBandRecord ReadRecord(classlib::TStream& Stream);
};

// Sets edge Edge (1 .. 4 for F1 .. F4) of Band to Value and moves each other
// edge that would cross it up or down to its neighbour, never the edge set:
// edges in order stay in order. Another Edge changes nothing.
void SetBandEdge(TSpectrumBandRecord& Band, std::int32_t Edge, double Value);

class TSpectrumBands : public TStreamedRecordList<TSpectrumBandRecord> {
 public:
  explicit TSpectrumBands(TSpectrumBandsAnalyzer* AOwner) : FOwner(AOwner) {}

  TSpectrumBandsAnalyzer* Owner() const { return FOwner; }

  // operations
  // Appends a copy of Band; returns its index.
  std::int32_t AddBand(const TSpectrumBandRecord& Band) { return Add(Band); }
  // Raises "List index out of bounds (<Index>)" outside the list.
  TSpectrumBandRecord& GetBand(std::int32_t Index) { return Items(Index); }
  const TSpectrumBandRecord& GetBand(std::int32_t Index) const { return Items(Index); }

  // overrides
  // The header record holding the count, then the bands, in one write.
  void SaveToStream(classlib::TStream& Stream) override;
  // Replaces the bands by those of the stream. A count that is not a whole
  // number from 0 up, one beyond the bytes left or a reference above 3
  // raises and leaves the list and the stream's position as they were.
  void LoadFromStream(classlib::TStream& Stream) override;
  // The Rms of every active band from the owner's analyser (see the top of
  // this file); a band that cannot be measured (no lines, or a complex
  // spectrum adjusted for its type) gets NaN.
  void Update() override;

 private:
  TSpectrumBandsAnalyzer* FOwner;
};

class TSpectrumBandsAnalyzer : public TStreamTemplates {
  ORVEL_CLASS_INFO
 public:
  // The owner is kept, not owned.
  explicit TSpectrumBandsAnalyzer(TSpectrumAnalyzer& Owner);
  ~TSpectrumBandsAnalyzer() override;

  // properties
  TSpectrumAnalyzer& Owner() const { return FOwner; }
  // The current band list.
  TSpectrumBands& Template() const { return *FBands; }
  // The list is the analyser's own: raises "Operation not supported!".
  void SetTemplate(TSpectrumBands* Value);

  // operations
  // Band Index of the current list.
  TSpectrumBandRecord& GetBand(std::int32_t Index) const { return FBands->GetBand(Index); }

  // introduced virtual
  // The table of the active bands: a header (RangeHeader padded to four
  // report columns, then RmsHeader; to two columns when no band has edges),
  // then per band its frequencies (F1 and F4 only where they differ from F2
  // and F3), each padded to a column, and its Rms. Numbers by SampleToStr
  // (an empty format gives 15 significant digits).
  virtual void BandsToText(classlib::TStrings& Strings, const std::string& FrequencyFormat,
                           const std::string& RangeHeader, const std::string& RmsHeader,
                           const std::string& RmsFormat) const;

 private:
  TSpectrumAnalyzer& FOwner;
  std::unique_ptr<TSpectrumBands> FBands;
};

}  // namespace sig
