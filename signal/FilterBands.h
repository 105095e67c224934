// The band templates of a signal filter: TFilterBand (one band: where it
// starts and stops, the gain it needs there and how far it may deviate),
// TBandFilterList (the bands of one template) and TFilterList (the live band
// list plus its named saved variants, a TStreamTemplates).
//
// Band record, 41 bytes, little-endian (also the unit of the stream):
//   0 Start   8 Stop   16 Gain (0 marks a stop band)   24 Ripple (dB, > 0)
//   32 reserved (kept as the editor left it)   40 check flag (the editor's)
// Band list stream: (Count + 1) records; record 0 is a header whose first 8
// bytes hold Count as a float64, the rest zeros. A reader refuses a count
// that is not a whole number from 0 up to what the bytes left hold, and
// changes nothing then.
//
// The band check (CheckBands) works on a sorted copy of the owner filter's
// current template, against the filter's design frequency FS:
//   0  the bands are fine
//   2  band Index and the next one are both stop bands
//   3  band Index ends where it starts, or before
//   4  band Index starts where band Index - 1 ends, or before (touching
//      bands count); the checks below still run and win
//   6  band Index: a stop band of at most 1 dB, or a band of gain 1 or more
//      with a ripple above 1 dB
//   5  an edge of band Index lies outside 0 .. FS / 2
// BandCheckText gives the editor's text of a code.
//
// Tested by: signal/tests/FilterBandsTest.cpp.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "signal/StreamTemplates.h"

namespace sig {

class TSignalFilter;

struct TFilterBand {
  // Bytes of a band (and of the header) in the stream.
  static constexpr std::int32_t RecordSize = 41;

  double Start = 0.0;
  double Stop = 0.0;
  double Gain = 0.0;
  double Ripple = 0.0;
  double Reserved = 0.0;
  bool Checked = false;

  // The linear deviation the designs take from Ripple: 10^(-Ripple/20) for
  // a stop band, (1 - 10^(-Ripple/20)) / 2 for a pass band.
  double Deviation() const;
  // The same for a pass band whatever the gain.
  double PassDeviation() const;

  void WriteRecord(classlib::TStream& Stream) const;
  static TFilterBand ReadRecord(classlib::TStream& Stream);
};

class TBandFilterList : public TStreamedRecordList<TFilterBand> {
 public:
  // The owner filter supplies the template and the design frequency of the
  // check; it is kept, not owned, and may be nullptr.
  explicit TBandFilterList(TSignalFilter* AOwner = nullptr) : FOwner(AOwner) {}

  TSignalFilter* Owner() const { return FOwner; }
  // Appends a copy of Band; returns its index.
  std::int32_t AddBand(const TFilterBand& Band) { return Add(Band); }
  // Raises "List index out of bounds (<Index>)" outside the list.
  const TFilterBand& GetBand(std::int32_t Index) const { return Items(Index); }
  TFilterBand& GetBand(std::int32_t Index) { return Items(Index); }
  // By Start, ascending; bands of equal Start keep their order.
  void Sort();

  void SaveToStream(classlib::TStream& Stream) override;
  // A malformed stream raises and leaves the list and the stream's position
  // as they were.
  void LoadFromStream(classlib::TStream& Stream) override;

  // The code of the owner filter's current template (see the top of this
  // header); Index receives the band concerned. 0 without an owner or while
  // no template is selected. The live template is stored into its entry
  // first and is not changed.
  std::int32_t CheckBands(std::int32_t& Index) const;

 private:
  TSignalFilter* FOwner;
};

// The code of the bands, sorted by Start, for a design frequency FS (the
// rules of CheckBands).
std::int32_t CheckBandList(const TBandFilterList& Bands, double FS, std::int32_t& Index);

// The editor's text of a band-check code and the Index CheckBands gave
// (counted from 0), naming the bands from 1: "Filter is OK!", "A stop band
// follows stop band <Index + 1>!", ..., "Ripple/attenuation of band
// <Index + 1> out of range!" for code 6; "" for unknown codes.
std::string BandCheckText(std::int32_t Code, std::int32_t Index);

class TFilterList : public TStreamTemplates {
  ORVEL_CLASS_INFO
 public:
  // The owner is kept, not owned; it may be nullptr.
  explicit TFilterList(TSignalFilter* AOwner = nullptr);
  ~TFilterList() override;

  TSignalFilter* Owner() const { return FOwner; }
  // The live band list, the store's own.
  TBandFilterList& Template() const { return *FList; }
  // Raises "Operation not supported!".
  void SetTemplate(TBandFilterList* Value);

 private:
  TSignalFilter* FOwner;
  std::unique_ptr<TBandFilterList> FList;
};

}  // namespace sig
