// The band templates of a signal filter: band records, their stream, the
// band check and its texts.
// Tested by: signal/tests/FilterBandsTest.cpp.
#include "signal/FilterBands.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "numeric/MathCore.h"
#include "signal/SignalFilter.h"

namespace sig {

namespace {

constexpr std::int64_t RecordBytes = TFilterBand::RecordSize;

void WriteZeroBands(classlib::TStream& Stream, std::int32_t Count) {
  const std::array<std::uint8_t, TFilterBand::RecordSize> zeros{};
  Stream.WriteBuffer(zeros.data(), Count);
}

}  // namespace

// --- TFilterBand -----------------------------------------------------------

double TFilterBand::PassDeviation() const { return (1.0 - std::pow(10.0, -Ripple / 20.0)) / 2.0; }

double TFilterBand::Deviation() const { return Gain == 0.0 ? std::pow(10.0, -Ripple / 20.0) : PassDeviation(); }

void TFilterBand::WriteRecord(classlib::TStream& Stream) const {
  for (double v : {Start, Stop, Gain, Ripple, Reserved}) Stream.WriteDouble(v);
  Stream.WriteUInt8(Checked ? 1 : 0);
}

TFilterBand TFilterBand::ReadRecord(classlib::TStream& Stream) {
  TFilterBand band;
  for (double* v : {&band.Start, &band.Stop, &band.Gain, &band.Ripple, &band.Reserved}) *v = Stream.ReadDouble();
  band.Checked = Stream.ReadUInt8() != 0;
  return band;
}

// --- TBandFilterList -------------------------------------------------------

void TBandFilterList::Sort() {
  std::stable_sort(Records().begin(), Records().end(),
                   [](const TFilterBand& a, const TFilterBand& b) { return a.Start < b.Start; });
}

void TBandFilterList::SaveToStream(classlib::TStream& Stream) {
  classlib::TMemoryStream bytes;
  bytes.WriteDouble(static_cast<double>(Count()));
  WriteZeroBands(bytes, TFilterBand::RecordSize - 8);
  for (const TFilterBand& band : Records()) band.WriteRecord(bytes);
  Stream.WriteBuffer(bytes.Memory(), bytes.Size());
}

void TBandFilterList::LoadFromStream(classlib::TStream& Stream) {
  const std::int64_t start = Stream.Position();
  try {
    if (Stream.Size() - start < RecordBytes)
      numeric::RaiseError("Filter bands: " + std::to_string(Stream.Size() - start) +
                          " bytes are too few for the 41-byte header");
    const double stored = Stream.ReadDouble();
    std::array<std::uint8_t, TFilterBand::RecordSize> rest{};
    Stream.ReadBuffer(rest.data(), TFilterBand::RecordSize - 8);
    const double count = std::nearbyint(stored);
    const std::int64_t left = Stream.Size() - Stream.Position();
    if (!(count >= 0.0)) numeric::RaiseError("Filter bands: the band count " + numeric::SampleToStr(stored) + " is not valid");
    if (count > static_cast<double>(left / RecordBytes))
      numeric::RaiseError("Filter bands: " + numeric::SampleToStr(count) + " bands need more than the " +
                          std::to_string(left) + " bytes left");
    std::vector<TFilterBand> bands;
    bands.reserve(static_cast<std::size_t>(count));
    for (std::int64_t i = 0; i < static_cast<std::int64_t>(count); ++i) bands.push_back(TFilterBand::ReadRecord(Stream));
    Records() = std::move(bands);
  } catch (...) {
    Stream.SetPosition(start);
    throw;
  }
}

std::int32_t TBandFilterList::CheckBands(std::int32_t& Index) const {
  if (FOwner == nullptr) return 0;
  TFilterList& filters = FOwner->Filters();
  if (filters.TemplateIndex() < 0) return 0;
  filters.RefreshTemplate();
  return CheckBandList(filters.Template(), FOwner->DesignFrequency(), Index);
}

std::int32_t CheckBandList(const TBandFilterList& Bands, double FS, std::int32_t& Index) {
  TBandFilterList work;
  for (std::int32_t i = 0; i < Bands.Count(); ++i) work.AddBand(Bands.GetBand(i));
  work.Sort();
  const std::int32_t n = work.Count();
  const auto band = [&](std::int32_t i) -> const TFilterBand& { return work.GetBand(i); };
  for (std::int32_t i = n - 2; i >= 0; --i)
    if (band(i).Gain == 0.0 && band(i + 1).Gain == 0.0) {
      Index = i;
      return 2;
    }
  for (std::int32_t i = n - 1; i >= 0; --i)
    if (band(i).Stop <= band(i).Start) {
      Index = i;
      return 3;
    }
  std::int32_t code = 0;
  for (std::int32_t i = n - 2; i >= 0; --i)
    if (band(i + 1).Start <= band(i).Stop) {
      Index = i + 1;
      code = 4;
      break;
    }
  for (std::int32_t i = 0; i < n; ++i) {
    const TFilterBand& b = band(i);
    if ((b.Gain == 0.0 && b.Ripple <= 1.0) || (b.Gain >= 1.0 && b.Ripple > 1.0)) {
      Index = i;
      return 6;
    }
  }
  // Every edge, not only the starts: a band that runs past half the rate
  // cannot be designed either.
  const double half = FS / 2.0;
  const auto outside = [half](double f) { return !(f >= 0.0 && f <= half); };
  for (std::int32_t i = 0; i < n; ++i)
    if (outside(band(i).Start) || outside(band(i).Stop)) {
      Index = i;
      return 5;
    }
  return code;
}

std::string BandCheckText(std::int32_t Code, std::int32_t Index) {
  // The user counts bands from 1; code 4 names the upper band of the pair.
  const std::string band = std::to_string(Index + 1);
  switch (Code) {
    case 0: return "Filter is OK!";
    case 1: return "Filter needs at least two bands (stop and/or pass)!";
    case 2: return "A stop band follows stop band " + band + "!";
    case 3: return "End of filter band " + band + " overlaps start of the same filter band!";
    case 4: return "End of filter band " + std::to_string(Index) + " overlaps start of filter band " + band + "!";
    case 5: return "Edge of band " + band + " exceeds signal bandwidth!";
    case 6: return "Ripple/attenuation of band " + band + " out of range!";
    default: return "";
  }
}

// --- TFilterList -----------------------------------------------------------

const classlib::TClassInfo& TFilterList::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TFilterList>("TFilterList", TStreamTemplates::StaticClassInfo()).Build();
  return info;
}

TFilterList::TFilterList(TSignalFilter* AOwner) : FOwner(AOwner), FList(std::make_unique<TBandFilterList>(AOwner)) {
  TStreamTemplates::SetTemplate(FList.get());
}

TFilterList::~TFilterList() { TStreamTemplates::SetTemplate(nullptr); }

void TFilterList::SetTemplate(TBandFilterList*) { numeric::RaiseError("Operation not supported!"); }

}  // namespace sig
