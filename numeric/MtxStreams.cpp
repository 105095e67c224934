// The matrix's stream, its files, the "DataValues" property and the Matrix
// Market export.
// Tested by: numeric/tests/VecMtxStreamsTest.cpp.
#include <cstdint>
#include <string>
#include <vector>

#include "numeric/Mtx.h"
#include "numeric/StreamInternal.h"
#include "platform/classlib/Filer.h"
#include "platform/classlib/StringLists.h"
#include "platform/classlib/Streams.h"
#include "platform/classlib/SysUtils.h"

namespace numeric {

namespace {

constexpr std::size_t kMtxHeaderFields = 26;
const std::string kPrefix = "TMtx: ";

std::int32_t Field(float F) { return detail::FieldValue(F, kPrefix); }
bool Flag(float F) { return (Field(F) & 0xFF) != 0; }
float FlagField(bool Value) { return Value ? 1.0f : 0.0f; }

// An enumeration's ordinal, refused beyond its last value.
std::int32_t Ordinal(float F, std::int32_t Last) {
  const std::int32_t v = Field(F);
  if (v < 0 || v > Last) RaiseError(kPrefix + "Wrong file format!");
  return v;
}

}  // namespace

void TMtx::WriteHeader(classlib::TStream& Stream, TPrecision Precision, TRounding Rounding) const {
  detail::CheckSampleFormat(Precision, Rounding, "TMtx.WriteHeader");
  std::vector<float> fields = {
      FlagField(FComplex),
      detail::HeaderField(FRows, kPrefix, "Rows"),
      detail::HeaderField(FCols, kPrefix, "Cols"),
      FlagField(FQuadratic),
      FlagField(FAutoMtxType),
      static_cast<float>(FEigGenType),
      static_cast<float>(FBalance),
      FlagField(FConditionCheck),
      static_cast<float>(FConditionNumber),
      static_cast<float>(Precision),
      FlagField(FRefineSolution),
      static_cast<float>(FTriangleForm),
      FlagField(FTriangleUnit),
      detail::HeaderField(FSuperDiag, kPrefix, "SuperDiag"),
      detail::HeaderField(FSubDiag, kPrefix, "SubDiag"),
      8.0f,
      static_cast<float>(StreamVersion),
      detail::HeaderField(FTag, kPrefix, "Tag"),
      static_cast<float>(StreamMagic)};
  fields.resize(kMtxHeaderFields, 0.0f);
  detail::WriteHeaderFields(Stream, fields);
  StreamWriteString(Stream, FCaption);
}

TPrecision TMtx::ReadHeader(classlib::TStream& Stream) {
  const std::vector<float> f = detail::ReadHeaderFields(Stream, kMtxHeaderFields, kPrefix + "Error reading stream!");
  const std::int32_t version = Field(f[16]);
  std::int32_t tag = FTag;
  std::string caption = FCaption;
  if (version > 104) {
    if (Field(f[18]) != StreamMagic) RaiseError(kPrefix + "Wrong file format!");
    tag = Field(f[17]);
    StreamReadString(Stream, caption);
  }
  const bool complex = Flag(f[0]);
  const std::int32_t rows = Field(f[1]);
  const std::int32_t cols = Field(f[2]);
  const bool quadratic = Flag(f[3]);
  const bool autoType = Flag(f[4]);
  const auto eigGenType = static_cast<TEigGenType>(Ordinal(f[5], etBAz));
  const auto balance = static_cast<TBalanceType>(Ordinal(f[6], btFull));
  const bool conditionCheck = Flag(f[7]);
  const auto conditionNumber = static_cast<TConditionNumber>(Ordinal(f[8], cnNormInf));
  const TPrecision precision = detail::HeaderPrecision(Field(f[9]), kPrefix);
  const bool refine = Flag(f[10]);
  const auto triangleForm = static_cast<TTriangleForm>(Ordinal(f[11], tfUpper));
  const bool triangleUnit = Flag(f[12]);
  const std::int32_t superDiag = Field(f[13]);
  const std::int32_t subDiag = Field(f[14]);
  if (rows < 0) RaiseError("Rows < 0");
  if (cols < 0) RaiseError("Cols < 0");
  detail::CheckValuesLeft(Stream, static_cast<std::int64_t>(rows) * cols * (complex ? 2 : 1), precision, kPrefix);

  SetTag(tag);
  SetCaption(caption);
  Size(rows, cols, complex);
  FQuadratic = quadratic;
  SetAutoMtxType(autoType);
  SetEigGenType(eigGenType);
  SetBalance(balance);
  SetConditionCheck(conditionCheck);
  SetConditionNumber(conditionNumber);
  SetRefineSolution(refine);
  SetTriangleForm(triangleForm);
  SetTriangleUnit(triangleUnit);
  SetSuperDiag(superDiag);
  SetSubDiag(subDiag);
  return precision;
}

void TMtx::WriteValues(classlib::TStream& Stream, TPrecision Precision, TRounding Rounding) const {
  const std::int32_t elements = ElementCount();
  if (elements == 0) return;
  WriteSamples(Stream, {Values(), static_cast<std::size_t>(DoubleCount())}, Precision, Rounding, elements, FComplex);
}

std::int32_t TMtx::ReadValues(classlib::TStream& Stream, TPrecision Precision) {
  const std::int32_t elements = ElementCount();
  if (elements == 0) return 0;
  return ReadSamples(Stream, {Values(), static_cast<std::size_t>(DoubleCount())}, Precision, FComplex, elements);
}

void TMtx::SaveToStream(classlib::TStream& Stream, TPrecision Precision, TRounding Rounding) const {
  detail::SaveObject(*this, Stream, Precision, Rounding, "TMtx.SaveToStream");
}

void TMtx::LoadFromStream(classlib::TStream& Stream) { detail::LoadObject(*this, Stream); }

void TMtx::SaveToFile(const std::string& FileName, bool Append) const {
  detail::SaveObjectToFile(*this, FileName, Append);
}

void TMtx::LoadFromFile(const std::string& FileName) {
  detail::LoadFromFileNamed(FileName, [this](classlib::TStream& s) { LoadFromStream(s); });
}

void TMtx::DefineProperties(classlib::TFiler& Filer) {
  TMtx1::DefineProperties(Filer);
  detail::DefineDataValues(*this, Filer);
}

void TMtx::SaveToMatrixMarketFile(const std::string& FileName) const {
  // Matrix Market numbers always take the point, whatever the process's
  // decimal separator; the date follows the user's short date format.
  const classlib::TFormatSettings numbers;
  classlib::TStringList lines;
  lines.Add(std::string("%%MatrixMarket matrix array ") + (FComplex ? "complex " : "real ") + "general ");
  lines.Add("%Created with Numora version " + std::to_string(StreamVersion));
  lines.Add("%Date: " + classlib::DateToStr(classlib::Date()));
  lines.Add(std::to_string(FRows) + " " + std::to_string(FCols) + " ");
  for (std::int32_t j = 0; j < FCols; ++j)
    for (std::int32_t i = 0; i < FRows; ++i) {
      if (FComplex) {
        const TCplx z = CRowValues(i)[j];
        lines.Add(SampleToStr(z.Re, "", numbers) + " " + SampleToStr(z.Im, "", numbers));
      } else {
        lines.Add(SampleToStr(RowValues(i)[j], "", numbers));
      }
    }
  lines.SaveToFile(FileName);
}

}  // namespace numeric
