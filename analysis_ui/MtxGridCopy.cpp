// Vectors and matrices to and from string grids.
//
// Tested by: analysis_ui/tests/MtxGridCopyTest.cpp
#include <algorithm>

#include "analysis_ui/MtxDialogs.h"
#include "analysis_ui/StringGrid.h"
#include "platform/classlib/Exception.h"

namespace analysis_ui {

using numeric::TCplx;
using numeric::TMtx;
using numeric::TVec;

namespace {

// The checks keep the texts callers know, whatever makes them fail.
void Check(bool fails, const char* text) {
  if (fails) throw classlib::Exception(text);
}

// "k", or "k-Re" and "k-Im" for the two columns of a complex column k.
std::string ColumnLabel(std::int32_t col, bool isComplex, bool imaginary) {
  std::string label = std::to_string(col);
  if (isComplex) label += imaginary ? "-Im" : "-Re";
  return label;
}

// The number in a cell; a cell that does not read is named by the row and
// column its value belongs to, as the headers label them.
double ReadCell(const TStringGrid& grid, std::int32_t gridCol, std::int32_t gridRow, std::int32_t row,
                std::int32_t col, bool isComplex, bool imaginary) {
  try {
    return numeric::StrToVal(grid.Cells(gridCol, gridRow));
  } catch (const classlib::Exception& e) {
    throw classlib::EConvertError("Row " + std::to_string(row) + ", column " +
                                  ColumnLabel(col, isComplex, imaginary) + ": " + e.Message());
  }
}

// Len values from the cell (SrcCol, SrcRow) on into tmp, down the column or
// along the row; the position of value k is (firstRow + k, 0) or (0, firstCol + k).
void ReadVector(const TStringGrid& Src, std::int32_t SrcRow, std::int32_t SrcCol, bool Vertical, bool IsComplex,
                std::int32_t Len, std::int32_t first, TVec& tmp) {
  tmp.Size(Len, IsComplex);
  double* values = tmp.Values();
  const std::int32_t parts = IsComplex ? 2 : 1;
  for (std::int32_t k = 0; k < Len; ++k)
    for (std::int32_t p = 0; p < parts; ++p) {
      const std::int32_t gridRow = Vertical ? SrcRow + k : SrcRow;
      const std::int32_t gridCol = Vertical ? SrcCol + p : SrcCol + k * parts + p;
      values[k * parts + p] = ReadCell(Src, gridCol, gridRow, Vertical ? first + k : 0, Vertical ? 0 : first + k,
                                       IsComplex, p == 1);
    }
}

// The elements of Dst in the kind IsComplex asks for, before it changes kind.
std::int32_t LengthAs(const TVec& Dst, bool IsComplex) {
  if (Dst.Complex() == IsComplex) return Dst.Length();
  return IsComplex ? Dst.Length() / 2 : Dst.Length() * 2;
}

std::int32_t ColsAs(const TMtx& Dst, bool IsComplex) {
  if (Dst.Complex() == IsComplex) return Dst.Cols();
  return IsComplex ? Dst.Cols() / 2 : Dst.Cols() * 2;
}

void ReadMatrix(const TStringGrid& Src, std::int32_t SrcRow, std::int32_t SrcCol, bool IsComplex, std::int32_t Row,
                std::int32_t Col, std::int32_t RowCount, std::int32_t ColCount, TMtx& tmp) {
  tmp.Size(RowCount, ColCount, IsComplex);
  const std::int32_t parts = IsComplex ? 2 : 1;
  for (std::int32_t r = 0; r < RowCount; ++r) {
    double* row = tmp.RowValues(r);
    for (std::int32_t c = 0; c < ColCount; ++c)
      for (std::int32_t p = 0; p < parts; ++p)
        row[c * parts + p] = ReadCell(Src, SrcCol + c * parts + p, SrcRow + r, Row + r, Col + c, IsComplex, p == 1);
  }
}

}  // namespace

void MtxToStringGrid(const TMtx& Src, TStringGrid& Dst, bool Headers, const std::string& Format, std::int32_t DstRow,
                     std::int32_t DstCol, std::int32_t SrcRow, std::int32_t SrcCol, std::int32_t RowCount,
                     std::int32_t ColCount) {
  const std::int32_t parts = Src.Complex() ? 2 : 1;
  const std::int32_t header = Headers ? 1 : 0;
  // In 64 bits: counts near the int range must not wrap into a fit.
  Check(DstCol < 0 || ColCount < 0 ||
            std::int64_t{DstCol} + header + std::int64_t{ColCount} * parts > Dst.ColCount(),
        "(Dst.ColCount+1) < (ColCount*(1+Integer(Src.Complex))+DstCol)");
  Check(DstRow < 0 || RowCount < 0 || std::int64_t{DstRow} + header + RowCount > Dst.RowCount(),
        "(Dst.RowCount+1) < (RowCount+DstRow)");
  Check(SrcRow < 0 || std::int64_t{SrcRow} + RowCount > Src.Rows(), "(SrcRow + RowCount) > Src.Rows");
  Check(SrcCol < 0 || std::int64_t{SrcCol} + ColCount > Src.Cols(), "(SrcCol + ColCount) > Src.Cols");

  if (Headers) {
    for (std::int32_t r = 0; r < RowCount; ++r) Dst.SetCells(DstCol, DstRow + 1 + r, std::to_string(SrcRow + r));
    for (std::int32_t c = 0; c < ColCount; ++c)
      for (std::int32_t p = 0; p < parts; ++p)
        Dst.SetCells(DstCol + 1 + c * parts + p, DstRow, ColumnLabel(SrcCol + c, Src.Complex(), p == 1));
  }
  for (std::int32_t r = 0; r < RowCount; ++r) {
    const double* row = Src.RowValues(SrcRow + r) + static_cast<std::ptrdiff_t>(SrcCol) * parts;
    for (std::int32_t c = 0; c < ColCount * parts; ++c)
      Dst.SetCells(DstCol + header + c, DstRow + header + r, numeric::SampleToStr(row[c], Format));
  }
}

void MtxToStringGrid(const TMtx& Src, TStringGrid& Dst, bool Headers, const std::string& Format) {
  MtxToStringGrid(Src, Dst, Headers, Format, 0, 0, 0, 0, Src.Rows(), Src.Cols());
}

void StringGridToVec(TVec& Dst, const TStringGrid& Src, std::int32_t SrcRow, std::int32_t SrcCol, bool Vertical,
                     bool IsComplex, std::int32_t Len, std::int32_t Index) {
  const std::int32_t parts = IsComplex ? 2 : 1;
  Check(Index < 0 || Len < 0 || std::int64_t{Index} + Len > LengthAs(Dst, IsComplex), "(Index + Len) > Dst.Length");
  if (Vertical) {
    Check(SrcRow < 0 || std::int64_t{SrcRow} + Len > Src.RowCount(), "((SrcRow + Len) > Src.RowCount) and Vertical");
    Check(SrcCol < 0 || SrcCol + parts > Src.ColCount(), "(SrcCol+(Byte(IsComplex)+1)) > Src.ColCount");
  } else {
    Check(SrcRow < 0 || SrcRow + 1 > Src.RowCount(), "(SrcRow+1) > Src.RowCount");
    Check(SrcCol < 0 || std::int64_t{SrcCol} + std::int64_t{Len} * parts > Src.ColCount(),
          "((SrcCol + Len) > Src.ColCount) and not Vertical");
  }
  numeric::TCachedVec tmp;
  ReadVector(Src, SrcRow, SrcCol, Vertical, IsComplex, Len, Index, *tmp);
  Dst.SetComplex(IsComplex);
  std::copy_n(tmp->Values(), std::ptrdiff_t{Len} * parts, Dst.Values() + std::ptrdiff_t{Index} * parts);
}

void StringGridToVec(TVec& Dst, const TStringGrid& Src, bool IsComplex, bool Headers, bool Vertical) {
  const std::int32_t header = Headers ? 1 : 0;
  const std::int32_t parts = IsComplex ? 2 : 1;
  // A complex row takes two cells per value, as the matrix routine counts them.
  const std::int32_t len =
      std::max(0, Vertical ? Src.RowCount() - header : (Src.ColCount() - header) / parts);
  numeric::TCachedVec tmp;
  tmp->Size(len, IsComplex);
  StringGridToVec(*tmp, Src, header, header, Vertical, IsComplex, len, 0);
  Dst.Copy(*tmp);
}

void StringGridToMtx(TMtx& Dst, const TStringGrid& Src, std::int32_t SrcRow, std::int32_t SrcCol, bool IsComplex,
                     std::int32_t Row, std::int32_t Col, std::int32_t RowCount, std::int32_t ColCount) {
  const std::int32_t parts = IsComplex ? 2 : 1;
  Check(Row < 0 || RowCount < 0 || std::int64_t{Row} + RowCount > Dst.Rows(), "(Row + RowCount) > Dst.Rows");
  Check(Col < 0 || ColCount < 0 || std::int64_t{Col} + ColCount > ColsAs(Dst, IsComplex), "(Col + ColCount) > fCols");
  Check(SrcRow < 0 || std::int64_t{SrcRow} + RowCount > Src.RowCount(), "(SrcRow + RowCount) > Src.RowCount");
  Check(SrcCol < 0 || std::int64_t{SrcCol} + std::int64_t{ColCount} * parts > Src.ColCount(),
        "(SrcCol + ColCount*(Byte(IsComplex)+1)) > Src.ColCount)");
  numeric::TCachedMtx tmp;
  ReadMatrix(Src, SrcRow, SrcCol, IsComplex, Row, Col, RowCount, ColCount, *tmp);
  Dst.SetComplex(IsComplex);
  Dst.Copy(*tmp, 0, 0, Row, Col, RowCount, ColCount, false);
}

void StringGridToMtx(TMtx& Dst, const TStringGrid& Src, bool IsComplex, bool Headers) {
  const std::int32_t header = Headers ? 1 : 0;
  const std::int32_t rows = std::max(0, Src.RowCount() - header);
  const std::int32_t cols = std::max(0, (Src.ColCount() - header) / (IsComplex ? 2 : 1));
  numeric::TCachedMtx tmp;
  tmp->Size(rows, cols, IsComplex);
  StringGridToMtx(*tmp, Src, header, header, IsComplex, 0, 0, rows, cols);
  Dst.Copy(*tmp);
}

}  // namespace analysis_ui
