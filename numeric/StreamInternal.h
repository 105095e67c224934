// Internal to the vector and matrix streams' sources: the header's float
// fields, read and written as whole numbers, and the checks that a header is
// trusted only after.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "numeric/SampleStreams.h"
#include "platform/classlib/Filer.h"
#include "platform/classlib/Streams.h"

namespace numeric::detail {

// The header's fields as floats, little-endian.
void WriteHeaderFields(classlib::TStream& Stream, const std::vector<float>& Fields);
// Count fields; fewer bytes than that raise ShortMessage.
std::vector<float> ReadHeaderFields(classlib::TStream& Stream, std::size_t Count, const std::string& ShortMessage);

// A field rounded to the nearest whole number (halves to even); a field
// that is not a finite 32-bit whole number raises Prefix + "Wrong file
// format!".
std::int32_t FieldValue(float Field, const std::string& Prefix);
// A value to be written in a float field: beyond MaxHeaderCount in
// magnitude it raises Prefix + "Cannot write stream: " + Name + " = <value>
// exceeds 16777216, the largest value a stream header holds exactly".
float HeaderField(std::int64_t Value, const std::string& Prefix, const char* Name);
// The precision a header names, refused as Prefix + "Wrong file format!
// Unknown sample precision <n>" when unknown.
TPrecision HeaderPrecision(std::int32_t Value, const std::string& Prefix);
// Raises Prefix + "Error reading stream! The header announces <n> values of
// <b> bytes, <m> bytes follow" when fewer than Values values in Precision
// are left in Stream from its position.
void CheckValuesLeft(classlib::TStream& Stream, std::int64_t Values, TPrecision Precision, const std::string& Prefix);
// Raises "Not supported!" for prInt24 with rnTruncNeg and names an unknown
// precision or rounding, as WriteSamples would, before anything is written.
void CheckSampleFormat(TPrecision Precision, TRounding Rounding, const char* Routine);

// Appends Bytes to the end of FileName, creating it (as a whole) when
// absent; a write that fails cuts the file back to its old size.
void AppendToFile(const std::string& FileName, const std::string& Bytes);
// Runs Load on the file opened for reading; a failure's message gets the
// file's name appended (a read error stays a read error).
void LoadFromFileNamed(const std::string& FileName, const std::function<void(classlib::TStream&)>& Load);


// What the vector's and the matrix's streams share: T is TVec or TMtx, with
// WriteHeader, ReadHeader, WriteValues and ReadValues of its own.

template <class T>
void SaveObject(const T& Object, classlib::TStream& Stream, TPrecision Precision, TRounding Rounding,
                const char* Routine) {
  CheckSampleFormat(Precision, Rounding, Routine);
  Object.WriteHeader(Stream, Precision, Rounding);
  Object.WriteValues(Stream, Precision, Rounding);
}

template <class T>
void LoadObject(T& Object, classlib::TStream& Stream) {
  const std::int64_t start = Stream.Position();
  try {
    const TPrecision precision = Object.ReadHeader(Stream);
    Object.ReadValues(Stream, precision);
  } catch (...) {
    Stream.SetPosition(start);
    throw;
  }
}

template <class T>
void SaveObjectToFile(const T& Object, const std::string& FileName, bool Append) {
  classlib::TStringStream bytes;
  Object.SaveToStream(bytes, prDouble, rnTrunc);
  if (Append)
    AppendToFile(FileName, bytes.DataString());
  else
    classlib::AtomicWriteFile(FileName, bytes.DataString());
}

// The binary property "DataValues": the object's stream in double precision.
template <class T>
void DefineDataValues(T& Object, classlib::TFiler& Filer) {
  Filer.DefineBinaryProperty(
      "DataValues", [&Object](classlib::TStream& s) { Object.LoadFromStream(s); },
      [&Object](classlib::TStream& s) { Object.SaveToStream(s, prDouble, rnTrunc); }, true);
}

}  // namespace numeric::detail
