// The band records, their list with its stream form and band RMS, and the
// band templates of a spectrum analyser with their text table.
// Tested by: signal/tests/SpectrumBandsTest.cpp.
#include "signal/SpectrumBands.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "dsp/SignalUtils.h"
#include "numeric/MathCore.h"
#include "numeric/ObjectCache.h"
#include "platform/classlib/Exception.h"
#include "platform/classlib/StringLists.h"
#include "signal/Signal.h"
#include "signal/SignalInternal.h"
#include "signal/SpectrumAnalyzer.h"
#include "signal/SpectrumPeaks.h"

namespace sig {

// --- The record --------------------------------------------------------------

void TSpectrumBandRecord::WriteRecord(classlib::TStream& Stream) const {
  Stream.WriteUInt8(Active ? 1 : 0);
  for (double f : {F1, F2, F3, F4, Rms}) Stream.WriteDouble(f);
  Stream.WriteUInt8(Reference);
  Stream.WriteUInt8(AdjustForType ? 1 : 0);
  Stream.WriteInt32(PeakIndex);
}

void SetBandEdge(TSpectrumBandRecord& Band, std::int32_t Edge, double Value) {
  if (Edge < 1 || Edge > 4) return;
  double* f[4] = {&Band.F1, &Band.F2, &Band.F3, &Band.F4};
  const std::int32_t set = Edge - 1;
  *f[set] = Value;
  // Outwards from the edge set: those above rise to it, those below sink to it.
  for (std::int32_t k = set + 1; k < 4; ++k)
    if (*f[k] < *f[k - 1]) *f[k] = *f[k - 1];
  for (std::int32_t k = set - 1; k >= 0; --k)
    if (*f[k] > *f[k + 1]) *f[k] = *f[k + 1];
}

TSpectrumBandRecord TSpectrumBandRecord::ReadRecord(classlib::TStream& Stream) {
  TSpectrumBandRecord band;
  band.Active = Stream.ReadUInt8() != 0;
  for (double* f : {&band.F1, &band.F2, &band.F3, &band.F4, &band.Rms}) *f = Stream.ReadDouble();
  band.Reference = Stream.ReadUInt8();
  band.AdjustForType = Stream.ReadUInt8() != 0;
  band.PeakIndex = Stream.ReadInt32();
  return band;
}

// --- The list ----------------------------------------------------------------

void TSpectrumBands::SaveToStream(classlib::TStream& Stream) {
  classlib::TMemoryStream bytes;
  TSpectrumBandRecord header;
  header.Rms = Count();
  header.WriteRecord(bytes);
  for (const TSpectrumBandRecord& band : Records()) band.WriteRecord(bytes);
  Stream.WriteBuffer(bytes.Memory(), bytes.Size());
}

void TSpectrumBands::LoadFromStream(classlib::TStream& Stream) {
  const std::int64_t start = Stream.Position();
  try {
    constexpr std::int64_t size = TSpectrumBandRecord::RecordSize;
    if (Stream.Size() - start < size)
      numeric::RaiseError("Band template: " + std::to_string(Stream.Size() - start) +
                          " bytes are too few for its 47-byte header");
    const double stored = TSpectrumBandRecord::ReadRecord(Stream).Rms;
    const std::int64_t left = Stream.Size() - Stream.Position();
    if (!(stored >= 0.0) || stored != std::nearbyint(stored))
      numeric::RaiseError("Band template: the band count " + numeric::SampleToStr(stored) + " is not a whole number");
    if (stored > static_cast<double>(left / size))
      numeric::RaiseError("Band template: " + numeric::SampleToStr(stored) + " bands need " +
                          numeric::SampleToStr(stored * size) + " bytes, " + std::to_string(left) + " are left");
    const auto count = static_cast<std::int32_t>(stored);
    std::vector<TSpectrumBandRecord> bands;
    bands.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
      bands.push_back(TSpectrumBandRecord::ReadRecord(Stream));
      if (bands.back().Reference > 3)
        numeric::RaiseError("Band template: band " + std::to_string(i) + " has the reference " +
                            std::to_string(bands.back().Reference) + ", not 0 .. 3");
    }
    Records() = std::move(bands);
  } catch (...) {
    Stream.SetPosition(start);
    throw;
  }
}

namespace {

// Band RMS of Count lines of A from First, each weighted by Weight(j).
template <class TWeight>
double WeightedRms(const numeric::TVec& A, std::int32_t First, std::int32_t Count, dsp::TSpectrumType Type,
                   bool UseType, TWeight Weight) {
  if (Count <= 0) return 0.0;
  numeric::TCachedVec part;
  part->Size(Count, false);
  const double* a = A.Values() + First;
  double* p = part->Values();
  for (std::int32_t j = 0; j < Count; ++j) p[j] = Weight(j) * a[j];
  return dsp::BandRms(*part, Type, UseType, 0, Count);
}

}  // namespace

void TSpectrumBands::Update() {
  const TSpectrumAnalyzer& owner = FOwner->Owner();
  const numeric::TVec& a = owner.Amplt();
  const std::int32_t L = a.Length();
  const double res = owner.HzRes();
  const double f0 = owner.StartFrequency();
  const double ratio = owner.PaddingRatio();
  const dsp::TSpectrumType type = owner.SpectrumType();
  const TMarkList& marks = owner.Marks();
  for (TSpectrumBandRecord& band : Records()) {
    if (!band.Active) continue;
    // A complex spectrum's Amplt holds real parts, which no RMS can be
    // taken of by its type.
    if (L == 0 || !(res > 0.0) || a.Complex() || (band.AdjustForType && type == dsp::spComplex)) {
      band.Rms = NAN;
      continue;
    }
    double scale = 1.0;
    bool located = true;
    switch (band.Reference) {
      case 1:
        scale = owner.SamplingFrequency();
        break;
      case 2:
        scale = owner.Peaks().OrderFrequency();
        break;
      case 3:
        located = band.PeakIndex >= 0 && band.PeakIndex < marks.Count();
        if (located) scale = marks.GetMark(band.PeakIndex).First;
        break;
      default:
        break;
    }
    std::array<std::int32_t, 4> k{0, 0, 0, 0};
    if (located) {
      const std::array<double, 4> edges{band.F1, band.F2, band.F3, band.F4};
      for (std::size_t j = 0; j < 4; ++j)
        k[j] = detail::ClampIndex(detail::RoundIndex((edges[j] * scale - f0) / res), L);
      std::sort(k.begin(), k.end());
    }
    const std::int32_t n1 = k[1] - k[0], n3 = k[3] - k[2];
    const double r1 =
        WeightedRms(a, k[0], n1, type, band.AdjustForType, [n1](std::int32_t j) { return static_cast<double>(j) / n1; });
    const double r2 = dsp::BandRms(a, type, band.AdjustForType, k[1], k[2] - k[1]);
    const double r3 = WeightedRms(a, k[2], n3, type, band.AdjustForType,
                                  [n3](std::int32_t j) { return 1.0 - static_cast<double>(j) / n3; });
    band.Rms = std::sqrt((r1 * r1 + r2 * r2 + r3 * r3) / ratio);
  }
}

// --- The templates -----------------------------------------------------------

const classlib::TClassInfo& TSpectrumBandsAnalyzer::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TSpectrumBandsAnalyzer>("TSpectrumBandsAnalyzer", TStreamTemplates::StaticClassInfo())
          .Build();
  return info;
}

TSpectrumBandsAnalyzer::TSpectrumBandsAnalyzer(TSpectrumAnalyzer& Owner)
    : FOwner(Owner), FBands(std::make_unique<TSpectrumBands>(this)) {
  TStreamTemplates::SetTemplate(FBands.get());
}

TSpectrumBandsAnalyzer::~TSpectrumBandsAnalyzer() { TStreamTemplates::SetTemplate(nullptr); }

void TSpectrumBandsAnalyzer::SetTemplate(TSpectrumBands*) { numeric::RaiseError("Operation not supported!"); }

void TSpectrumBandsAnalyzer::BandsToText(classlib::TStrings& Strings, const std::string& FrequencyFormat,
                                         const std::string& RangeHeader, const std::string& RmsHeader,
                                         const std::string& RmsFormat) const {
  const std::int32_t width = ReportColumnWidth();
  const auto header = [&](std::int32_t Columns) {
    std::string padded;
    dsp::PadText(RangeHeader, Columns * width, 0, padded);
    return padded + RmsHeader;
  };
  const bool titled = !RangeHeader.empty() || !RmsHeader.empty();
  int headerLine = -1;
  if (titled) headerLine = Strings.Add(header(4));
  bool edges = false;
  const auto column = [&](double F) { return detail::PadColumn(numeric::SampleToStr(F, FrequencyFormat)); };
  for (std::int32_t i = 0; i < FBands->Count(); ++i) {
    const TSpectrumBandRecord& band = FBands->GetBand(i);
    if (!band.Active) continue;
    std::string line;
    if (band.F2 != band.F1) {
      line += column(band.F1);
      edges = true;
    }
    line += column(band.F2) + column(band.F3);
    if (band.F4 != band.F3) {
      line += column(band.F4);
      edges = true;
    }
    Strings.Add(line + numeric::SampleToStr(band.Rms, RmsFormat));
  }
  if (titled && !edges) Strings.SetStrings(headerLine, header(2));
}

}  // namespace sig
