// The vector's stream, its files, the "DataValues" property, and its values
// as text lines.
// Tested by: numeric/tests/VecMtxStreamsTest.cpp.
#include <cstdint>
#include <string>
#include <vector>

#include "numeric/ObjectCache.h"
#include "numeric/StreamInternal.h"
#include "numeric/Vec.h"
#include "platform/classlib/Filer.h"
#include "platform/classlib/StringLists.h"
#include "platform/classlib/Streams.h"

namespace numeric {

namespace {

constexpr std::size_t kVecHeaderFields = 11;

bool Flag(float Field, const std::string& Prefix) { return (detail::FieldValue(Field, Prefix) & 0xFF) != 0; }

// Len lines from ListIndex parsed into a complex vector; true when some line
// had an imaginary part.
bool ParseLines(const classlib::TStrings& Strings, std::int32_t ListIndex, std::int32_t Len, TVec& Parsed) {
  Parsed.Size(Len, true);
  bool imaginary = false;
  for (std::int32_t i = 0; i < Len; ++i) {
    const TCplx z = StrToCplx(Strings.Strings(ListIndex + i));
    Parsed.CValues()[i] = z;
    if (z.Im != 0.0) imaginary = true;
  }
  return imaginary;
}

// The parsed elements into Self from Index: complex when Self is or when
// some line was; real parts otherwise.
void PlaceParsed(TVec& Self, const TVec& Parsed, bool Imaginary, std::int32_t Index) {
  if (Imaginary && !Self.Complex()) Self.ExtendToComplex(true);
  const std::int32_t n = Parsed.Length();
  if (Self.Complex()) {
    TCplx* dst = Self.CValues() + Index;
    for (std::int32_t i = 0; i < n; ++i) dst[i] = Parsed.CValues()[i];
  } else {
    double* dst = Self.Values() + Index;
    for (std::int32_t i = 0; i < n; ++i) dst[i] = Parsed.CValues()[i].Re;
  }
}

}  // namespace

void TVec::WriteHeader(classlib::TStream& Stream, TPrecision Precision, TRounding Rounding) const {
  detail::CheckSampleFormat(Precision, Rounding, "WriteHeader");
  const std::vector<float> fields = {
      FComplex ? 1.0f : 0.0f,
      detail::HeaderField(FLength, "", "Length"),
      0.0f,
      FConditionCheck ? 1.0f : 0.0f,
      static_cast<float>(Precision),
      static_cast<float>(StreamVersion),
      8.0f,
      detail::HeaderField(FTag, "", "Tag"),
      static_cast<float>(StreamMagic),
      0.0f,
      0.0f};
  detail::WriteHeaderFields(Stream, fields);
  StreamWriteString(Stream, FCaption);
}

TPrecision TVec::ReadHeader(classlib::TStream& Stream) {
  const std::vector<float> f = detail::ReadHeaderFields(Stream, kVecHeaderFields, "Error reading stream!");
  const std::int32_t version = detail::FieldValue(f[5], "");
  std::int32_t tag = FTag;
  std::string caption = FCaption;
  if (version > 104) {
    if (detail::FieldValue(f[8], "") != StreamMagic) RaiseError("Wrong file format!");
    tag = detail::FieldValue(f[7], "");
    StreamReadString(Stream, caption);
  }
  const bool complex = Flag(f[0], "");
  const std::int32_t length = detail::FieldValue(f[1], "");
  const bool conditionCheck = Flag(f[3], "");
  const TPrecision precision = detail::HeaderPrecision(detail::FieldValue(f[4], ""), "");
  if (length < 0) RaiseError("Value < 0");
  detail::CheckValuesLeft(Stream, static_cast<std::int64_t>(length) * (complex ? 2 : 1), precision, "");
  if (IsSubRange() && (complex != FComplex || length != FLength)) RaiseError("IsSubRange = True!");

  SetTag(tag);
  SetCaption(caption);
  SetComplex(complex);
  SetLength(length);
  SetConditionCheck(conditionCheck);
  return precision;
}

void TVec::WriteValues(classlib::TStream& Stream, TPrecision Precision, TRounding Rounding) const {
  if (FLength == 0) return;
  const double* values = static_cast<const TVecs&>(*this).Values();
  WriteSamples(Stream, {values, static_cast<std::size_t>(DoubleLength())}, Precision, Rounding, FLength, FComplex);
}

std::int32_t TVec::ReadValues(classlib::TStream& Stream, TPrecision Precision) {
  if (FLength == 0) return 0;
  return ReadSamples(Stream, {Values(), static_cast<std::size_t>(DoubleLength())}, Precision, FComplex, FLength);
}

void TVec::SaveToStream(classlib::TStream& Stream, TPrecision Precision, TRounding Rounding) const {
  detail::SaveObject(*this, Stream, Precision, Rounding, "SaveToStream");
}

void TVec::LoadFromStream(classlib::TStream& Stream) { detail::LoadObject(*this, Stream); }

void TVec::SaveToFile(const std::string& FileName, bool Append) const {
  detail::SaveObjectToFile(*this, FileName, Append);
}

void TVec::LoadFromFile(const std::string& FileName) {
  detail::LoadFromFileNamed(FileName, [this](classlib::TStream& s) { LoadFromStream(s); });
}

void TVec::DefineProperties(classlib::TFiler& Filer) {
  TVec1::DefineProperties(Filer);
  detail::DefineDataValues(*this, Filer);
}

void TVec::ValuesToStrings(classlib::TStrings& Strings, const std::string& ReFormat,
                           const std::string& ImFormat) const {
  const TVecs& self = *this;
  for (std::int32_t i = 0; i < FLength; ++i)
    Strings.Add(FComplex ? CplxToStr(self.CValues()[i], ReFormat, ImFormat) : SampleToStr(self.Values()[i], ReFormat));
}

TVec& TVec::StringsToValues(const classlib::TStrings& Strings, std::int32_t ListIndex, std::int32_t Index,
                            std::int32_t Len) {
  if (Len < 0) Len = Strings.Count();
  if (static_cast<std::int64_t>(Index) + Len > FLength) RaiseError("(Index + Len) > fLength");
  if (static_cast<std::int64_t>(ListIndex) + Len > Strings.Count()) RaiseError("ListIndex + Len > AList.Count");
  if (Index < 0) RaiseError("Index < 0");
  if (ListIndex < 0) RaiseError("ListIndex < 0");
  TCachedVec parsed;
  const bool imaginary = ParseLines(Strings, ListIndex, Len, *parsed);
  PlaceParsed(*this, *parsed, imaginary, Index);
  return *this;
}

TVec& TVec::StringsToValues(const classlib::TStrings& Strings) {
  TCachedVec parsed;
  const bool imaginary = ParseLines(Strings, 0, Strings.Count(), *parsed);
  SetLength(Strings.Count());
  PlaceParsed(*this, *parsed, imaginary, 0);
  return *this;
}

}  // namespace numeric
