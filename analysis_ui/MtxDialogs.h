// The analysis windows' dialog routines: the component dialog that opens a
// component's editor form (ComponentDialog.h), the parameter template files
// (MtxTemplateFiles.h), the progress dialogs' window (MtxProgressForm.h),
// and here copying vectors and matrices to and from string grids as text, a
// complex number in two adjacent columns (real part, then imaginary part).
//
// Every routine checks that the whole block fits, headers included, before
// it changes anything: a block that does not fit raises the condition's text
// and leaves every cell (or the destination) as it was. A cell that does not
// read raises a message that names its row and column as the headers label
// them, and the destination stays as it was.
//
// Tested by: analysis_ui/tests/MtxGridCopyTest.cpp
#pragma once

#include <cstdint>
#include <string>

#include "analysis_ui/ComponentDialog.h"
#include "analysis_ui/MtxProgressForm.h"
#include "analysis_ui/MtxTemplateFiles.h"
#include "numeric/Numora.h"

namespace analysis_ui {

class TStringGrid;

// Writes RowCount x ColCount values of Src from (SrcRow, SrcCol) into Dst,
// starting at column DstCol of row DstRow. With Headers, that first row gets
// the source column numbers (k-Re and k-Im for the two columns of a complex
// column k), the first column the source row numbers, and the values start
// one row and one column further in. Values are written with SampleToStr
// and Format (15 significant digits when Format is empty).
void MtxToStringGrid(const numeric::TMtx& Src, TStringGrid& Dst, bool Headers, const std::string& Format,
                     std::int32_t DstRow, std::int32_t DstCol, std::int32_t SrcRow, std::int32_t SrcCol,
                     std::int32_t RowCount, std::int32_t ColCount);
// The whole matrix from the grid's first cell.
void MtxToStringGrid(const numeric::TMtx& Src, TStringGrid& Dst, bool Headers = true, const std::string& Format = "");

// Reads Len values from the cell (SrcCol, SrcRow) on, down a column when
// Vertical, else along a row, into Dst from Index; Dst becomes real or
// complex as IsComplex asks (reinterpreting its doubles).
void StringGridToVec(numeric::TVec& Dst, const TStringGrid& Src, std::int32_t SrcRow, std::int32_t SrcCol,
                     bool Vertical, bool IsComplex, std::int32_t Len, std::int32_t Index);
// The whole first column (Vertical) or row of values, after the headers when
// there are any; Dst is sized to them.
void StringGridToVec(numeric::TVec& Dst, const TStringGrid& Src, bool IsComplex, bool Headers, bool Vertical);

// Reads RowCount x ColCount values from the cell (SrcCol, SrcRow) on into the
// block of Dst at (Row, Col); Dst becomes real or complex as IsComplex asks.
void StringGridToMtx(numeric::TMtx& Dst, const TStringGrid& Src, std::int32_t SrcRow, std::int32_t SrcCol,
                     bool IsComplex, std::int32_t Row, std::int32_t Col, std::int32_t RowCount,
                     std::int32_t ColCount);
// Every value of the grid, after the headers when there are any; Dst is sized to them.
void StringGridToMtx(numeric::TMtx& Dst, const TStringGrid& Src, bool IsComplex, bool Headers);

}  // namespace analysis_ui
