// TMtx and text: a block of values written as delimited lines of a string
// list, and lines of values read back into a matrix (complex only when some
// value has an imaginary part).
// Tested by: numeric/tests/MtxTextTest.cpp
#include <cstdint>
#include <string>

#include "numeric/Numora.h"
#include "platform/classlib/StringLists.h"
#include "platform/classlib/SysUtils.h"

namespace numeric {

namespace {

classlib::TFormatSettings WithSeparator(char decimalSeparator) {
  classlib::TFormatSettings settings = classlib::FormatSettings();
  settings.DecimalSeparator = decimalSeparator;
  return settings;
}

void WriteLines(const TMtx& m, classlib::TStrings& Dst, std::int32_t DstIndex, std::int32_t Row, std::int32_t Col,
                std::int32_t RowCount, std::int32_t ColCount, const std::string& Delimiter, const std::string& ReFormat,
                const std::string& ImFormat, const classlib::TFormatSettings& settings) {
  if (static_cast<std::int64_t>(Row) + RowCount > m.Rows())
    RaiseError("TMtx.ValuesToStrings: (Row + RowCount) > FRows");
  if (static_cast<std::int64_t>(Col) + ColCount > m.Cols())
    RaiseError("TMtx.ValuesToStrings: (Col + ColCount) > FCols");
  if (Row < 0 || Col < 0 || RowCount < 0 || ColCount < 0)
    RaiseError("TMtx.ValuesToStrings: Row, Col, RowCount and ColCount must not be negative");
  for (std::int32_t k = 0; k < RowCount; ++k) {
    std::string line;
    for (std::int32_t j = 0; j < ColCount; ++j) {
      if (j > 0) line += Delimiter;
      if (m.Complex())
        line += CplxToStr(m.CRowValues(Row + k)[Col + j], ReFormat, ImFormat, settings);
      else
        line += SampleToStr(m.RowValues(Row + k)[Col + j], ReFormat, settings);
    }
    const std::int32_t t = DstIndex + k;
    if (t > Dst.Count() - 1)
      Dst.Add(line);
    else
      Dst.SetStrings(t, line);
  }
}

// Parses ListLen lines from ListIndex into Block (ListLen x Cols complex,
// cleared first, so that a short line leaves zeros); true when some value has
// an imaginary part.
bool ParseLines(TMtx& Block, const classlib::TStrings& AList, std::int32_t ListIndex, std::int32_t ListLen,
                std::int32_t Cols, const std::string& Delimiter, char DecimalSeparator) {
  Block.Size(ListLen, Cols, true);
  Block.SetZero();
  bool complex = false;
  for (std::int32_t i = 0; i < ListLen; ++i) {
    const std::string line = AList.Strings(ListIndex + i);
    const std::int32_t length = static_cast<std::int32_t>(line.size());
    std::int32_t p = 1;
    std::int32_t k = 0;
    while (p > 0 && p <= length) {
      if (k > Cols - 1) RaiseError("k > AMtx.Cols-1");
      const TCplx z = StrToCplxNext(line, p, Delimiter, DecimalSeparator);
      Block.CRowValues(i)[k] = z;
      if (z.Im != 0.0) complex = true;
      ++k;
    }
  }
  return complex;
}

}  // namespace

// ---------------------------------------------------------------------------
// Values to lines

void TMtx::ValuesToStrings(classlib::TStrings& Dst, std::int32_t DstIndex, std::int32_t Row, std::int32_t Col,
                           std::int32_t RowCount, std::int32_t ColCount, const std::string& Delimiter,
                           const std::string& ReFormat, const std::string& ImFormat) const {
  WriteLines(*this, Dst, DstIndex, Row, Col, RowCount, ColCount, Delimiter, ReFormat, ImFormat,
             *classlib::CurrentFormatSettings());
}

void TMtx::ValuesToStrings(classlib::TStrings& Dst, std::int32_t DstIndex, std::int32_t Row, std::int32_t Col,
                           std::int32_t RowCount, std::int32_t ColCount, const std::string& Delimiter,
                           const std::string& ReFormat, const std::string& ImFormat, char DecimalSeparator) const {
  WriteLines(*this, Dst, DstIndex, Row, Col, RowCount, ColCount, Delimiter, ReFormat, ImFormat,
             WithSeparator(DecimalSeparator));
}

void TMtx::ValuesToStrings(classlib::TStrings& Dst, const std::string& Delimiter, const std::string& ReFormat,
                           const std::string& ImFormat) const {
  ValuesToStrings(Dst, Dst.Count(), 0, 0, FRows, FCols, Delimiter, ReFormat, ImFormat);
}

void TMtx::ValuesToStrings(classlib::TStrings& Dst, const std::string& Delimiter, const std::string& ReFormat,
                           const std::string& ImFormat, char DecimalSeparator) const {
  ValuesToStrings(Dst, Dst.Count(), 0, 0, FRows, FCols, Delimiter, ReFormat, ImFormat, DecimalSeparator);
}

// ---------------------------------------------------------------------------
// Lines to values

std::int32_t TMtx::ColumnCount(const classlib::TStrings& AList, std::int32_t Row, const std::string& Delimiter) const {
  if (Row > AList.Count() - 1) RaiseError("Row > AList.Count-1");
  const std::string line = AList.Strings(Row);
  const std::int32_t length = static_cast<std::int32_t>(line.size());
  std::int32_t count = 0;
  std::int32_t p = 1;
  do {
    ++count;
    p = PosEx(Delimiter, line, p);
    if (p != 0) {
      if (p == length) --count;
      ++p;
    }
  } while (p >= 1);
  return count;
}

TMtx& TMtx::StringsToValues(const classlib::TStrings& AList, const std::string& Delimiter) {
  return StringsToValues(AList, Delimiter, classlib::DecimalSeparator());
}

TMtx& TMtx::StringsToValues(const classlib::TStrings& AList, const std::string& Delimiter, char DecimalSeparator) {
  const std::int32_t cols = ColumnCount(AList, 0, Delimiter);
  // Parsed aside first, so that a failure leaves Self as it was.
  TCachedMtx block;
  if (ParseLines(*block, AList, 0, AList.Count(), cols, Delimiter, DecimalSeparator)) return Copy(*block);
  return RealPart(*block);
}

TMtx& TMtx::StringsToValues(const classlib::TStrings& AList, std::int32_t ListIndex, std::int32_t ListLen,
                            std::int32_t Row, std::int32_t Col, const std::string& Delimiter) {
  return StringsToValues(AList, ListIndex, ListLen, Row, Col, Delimiter, classlib::DecimalSeparator());
}

TMtx& TMtx::StringsToValues(const classlib::TStrings& AList, std::int32_t ListIndex, std::int32_t ListLen,
                            std::int32_t Row, std::int32_t Col, const std::string& Delimiter, char DecimalSeparator) {
  TCachedMtx block, real;
  const std::int32_t cols = ColumnCount(AList, ListIndex, Delimiter);
  if (FConditionCheck) {
    if (static_cast<std::int64_t>(Row) + ListLen - 1 > FRows) RaiseError("(Row + ListLen-1) > fRows");
    if (static_cast<std::int64_t>(Col) + cols > FCols) RaiseError("(Col + ColumnCount) > fCols");
    if (static_cast<std::int64_t>(ListIndex) + ListLen - 1 > AList.Count())
      RaiseError("(ListIndex+ListLen-1) > Alist.Count");
  }
  if (ListLen < 0) RaiseError("ListLen < 0");
  const bool complex = ParseLines(*block, AList, ListIndex, ListLen, cols, Delimiter, DecimalSeparator);
  // The block copy's own checks, made before Self turns complex, so that a
  // block that does not fit changes nothing.
  if (Row < 0 || Col < 0) RaiseError("Row < 0 or Col < 0");
  if (static_cast<std::int64_t>(Row) + ListLen > FRows) RaiseError("Row + NrRows > Rows");
  if (static_cast<std::int64_t>(Col) + cols > FCols) RaiseError("Col + NrCols > Cols");
  if (complex || FComplex) {
    if (!FComplex) ExtendToComplex(true);
    return Copy(*block, 0, 0, Row, Col, ListLen, cols, false);
  }
  real->RealPart(*block);
  return Copy(*real, 0, 0, Row, Col, ListLen, cols, false);
}

}  // namespace numeric
