// Vectors and matrices to and from string grids: headers, complex columns,
// exact fit checks that change nothing when they refuse, round trips, and
// cells that do not read.
// Covers: analysis_ui/MtxGridCopy.cpp, StringGrid.cpp.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "analysis_ui/MtxDialogs.h"
#include "analysis_ui/StringGrid.h"
#include "platform/ui/testing/WindowTest.h"
#include "testing/TestSupport.h"

namespace analysis_ui {
namespace {

using numeric::TCplx;
using numeric::TMtx;
using numeric::TVec;
using orvel::testing::Raises;

// The grid's cells, row by row, each row's cells joined by '|'.
std::vector<std::string> Rows(const TStringGrid& grid) {
  std::vector<std::string> rows;
  for (int r = 0; r < grid.RowCount(); ++r) {
    std::string line;
    for (int c = 0; c < grid.ColCount(); ++c) line += (c > 0 ? "|" : "") + grid.Cells(c, r);
    rows.push_back(line);
  }
  return rows;
}

TStringGrid& Sized(TStringGrid& grid, int cols, int rows) {
  grid.SetColCount(cols);
  grid.SetRowCount(rows);
  return grid;
}

// [1-1i, 2.5; 3i, -4+0.125i]
struct TComplex2x2 : TMtx {
  TComplex2x2() {
    Size(2, 2, true);
    CValues()[0] = TCplx{1, -1};
    CValues()[1] = TCplx{2.5, 0};
    CValues()[2] = TCplx{0, 3};
    CValues()[3] = TCplx{-4, 0.125};
  }
};

TEST(MtxToStringGrid, AComplexMatrixWithHeadersFillsRealAndImaginaryColumns) {
  TStringGrid grid;
  Sized(grid, 5, 3);
  grid.SetCells(0, 0, "2x2");
  MtxToStringGrid(TComplex2x2(), grid);
  EXPECT_EQ(Rows(grid), (std::vector<std::string>{"2x2|0-Re|0-Im|1-Re|1-Im",  //
                                                  "0|1|-1|2.5|0",               //
                                                  "1|0|3|-4|0.125"}));
}

TEST(MtxToStringGrid, ABlockGoesWhereItIsToldWithItsSourceNumbers) {
  TMtx m;
  m.Size(3, 4, false);
  for (int i = 0; i < 12; ++i) m.Values()[i] = i * 1.5;
  TStringGrid grid;
  Sized(grid, 5, 4);
  MtxToStringGrid(m, grid, true, "0.00", 1, 2, 1, 2, 2, 2);
  EXPECT_EQ(Rows(grid), (std::vector<std::string>{"||||",  //
                                                  "|||2|3",
                                                  "||1|9.00|10.50",
                                                  "||2|15.00|16.50"}));
  // Without headers the values start at the given cell.
  TStringGrid plain;
  Sized(plain, 2, 1);
  MtxToStringGrid(m, plain, false, "", 0, 0, 2, 1, 1, 2);
  EXPECT_EQ(Rows(plain), (std::vector<std::string>{"13.5|15"}));
}

TEST(MtxToStringGrid, ABlockThatDoesNotFitChangesNoCell) {
  const TComplex2x2 m;
  struct TCase {
    int Cols, Rows;
    const char* Message;
  };
  const TCase cases[] = {
      {4, 3, "(Dst.ColCount+1) < (ColCount*(1+Integer(Src.Complex))+DstCol)"},
      {5, 2, "(Dst.RowCount+1) < (RowCount+DstRow)"},
  };
  for (const TCase& c : cases) {
    TStringGrid grid;
    Sized(grid, c.Cols, c.Rows);
    grid.SetCells(0, 0, "kept");
    grid.SetCells(c.Cols - 1, c.Rows - 1, "kept too");
    const std::vector<std::string> before = Rows(grid);
    EXPECT_TRUE(Raises([&] { MtxToStringGrid(m, grid); }, c.Message)) << c.Cols << "x" << c.Rows;
    EXPECT_EQ(Rows(grid), before);
  }
  TStringGrid grid;
  Sized(grid, 10, 10);
  EXPECT_TRUE(Raises([&] { MtxToStringGrid(m, grid, true, "", 0, 0, 1, 0, 2, 2); }, "(SrcRow + RowCount) > Src.Rows"));
  EXPECT_TRUE(Raises([&] { MtxToStringGrid(m, grid, true, "", 0, 0, 0, 1, 2, 2); }, "(SrcCol + ColCount) > Src.Cols"));
  EXPECT_TRUE(Raises([&] { MtxToStringGrid(m, grid, true, "", -1, 0, 0, 0, 1, 1); },
                     "(Dst.RowCount+1) < (RowCount+DstRow)"));
  EXPECT_TRUE(Raises([&] { MtxToStringGrid(m, grid, true, "", 0, 0, 0, -1, 1, 1); }, "(SrcCol + ColCount) > Src.Cols"));
  EXPECT_TRUE(Raises([&] { MtxToStringGrid(m, grid, false, "", 0, 0, 0, 0, 2, 2147483647); },
                     "(Dst.ColCount+1) < (ColCount*(1+Integer(Src.Complex))+DstCol)"));
  EXPECT_EQ(grid.Cells(0, 0), "");
}

TEST(StringGridToVec, AColumnUnderAHeaderGivesOneValueLessThanItsRows) {
  TStringGrid grid;
  Sized(grid, 2, 5);
  const char* cells[] = {"0", "1.5", "-2", "1e-3", "NaN"};
  for (int r = 0; r < 5; ++r) grid.SetCells(1, r, cells[r]);
  TVec v;
  StringGridToVec(v, grid, false, true, true);
  ASSERT_EQ(v.Length(), 4);
  EXPECT_FALSE(v.Complex());
  EXPECT_EQ(v.Values()[0], 1.5);
  EXPECT_EQ(v.Values()[1], -2);
  EXPECT_EQ(v.Values()[2], 1e-3);
  EXPECT_TRUE(std::isnan(v.Values()[3]));
}

TEST(StringGridToVec, ARowOfComplexValuesTakesTwoCellsEach) {
  TStringGrid grid;
  Sized(grid, 5, 2);
  const char* cells[] = {"1", "2", "3", "-4"};
  for (int c = 0; c < 4; ++c) grid.SetCells(c + 1, 1, cells[c]);
  TVec v;
  StringGridToVec(v, grid, true, true, false);
  ASSERT_EQ(v.Length(), 2);
  ASSERT_TRUE(v.Complex());
  EXPECT_EQ(v.CValues()[0].Re, 1);
  EXPECT_EQ(v.CValues()[0].Im, 2);
  EXPECT_EQ(v.CValues()[1].Re, 3);
  EXPECT_EQ(v.CValues()[1].Im, -4);
}

TEST(StringGridToVec, ReadsIntoPlaceAndChecksTheWholeRead) {
  TStringGrid grid;
  Sized(grid, 3, 4);
  for (int r = 0; r < 4; ++r) {
    grid.SetCells(0, r, std::to_string(r));
    grid.SetCells(1, r, std::to_string(10 * r));
  }
  TVec v;
  v.Size(5, false);
  v.SetVal(-1);
  StringGridToVec(v, grid, 1, 0, true, false, 3, 2);
  EXPECT_EQ(std::vector<double>(v.Values(), v.Values() + 5), (std::vector<double>{-1, -1, 1, 2, 3}));
  // Complex down two columns; the vector's doubles are read as complex values.
  StringGridToVec(v, grid, 0, 0, true, true, 2, 0);
  ASSERT_TRUE(v.Complex());
  EXPECT_EQ(v.Length(), 2);
  EXPECT_EQ(v.CValues()[1].Re, 1);
  EXPECT_EQ(v.CValues()[1].Im, 10);

  TVec w;
  w.Size(3, false);
  EXPECT_TRUE(Raises([&] { StringGridToVec(w, grid, 0, 0, true, false, 3, 1); }, "(Index + Len) > Dst.Length"));
  EXPECT_TRUE(Raises([&] { StringGridToVec(w, grid, 2, 0, true, false, 3, 0); },
                     "((SrcRow + Len) > Src.RowCount) and Vertical"));
  EXPECT_TRUE(Raises([&] { StringGridToVec(w, grid, 0, 2, true, true, 1, 0); },
                     "(SrcCol+(Byte(IsComplex)+1)) > Src.ColCount"));
  EXPECT_TRUE(Raises([&] { StringGridToVec(w, grid, 4, 0, false, false, 1, 0); }, "(SrcRow+1) > Src.RowCount"));
  EXPECT_TRUE(Raises([&] { StringGridToVec(w, grid, 0, 1, false, false, 3, 0); },
                     "((SrcCol + Len) > Src.ColCount) and not Vertical"));
  // Two complex values along a row need four cells; the row has three.
  TVec c;
  c.Size(2, true);
  EXPECT_TRUE(Raises([&] { StringGridToVec(c, grid, 0, 0, false, true, 2, 0); },
                     "((SrcCol + Len) > Src.ColCount) and not Vertical"));
  EXPECT_EQ(w.Length(), 3);
  EXPECT_FALSE(w.Complex());
}

TEST(StringGridToMtx, ReadsBackWhatWasWritten) {
  for (const bool isComplex : {false, true}) {
    TMtx m;
    m.Size(3, 2, isComplex);
    for (int i = 0; i < m.Rows() * m.Cols() * (isComplex ? 2 : 1); ++i) m.Values()[i] = 0.1 * i - 1.0 / 3;
    TStringGrid grid;
    Sized(grid, 1 + m.Cols() * (isComplex ? 2 : 1), 1 + m.Rows());
    MtxToStringGrid(m, grid);
    TMtx back;
    StringGridToMtx(back, grid, isComplex, true);
    ASSERT_EQ(back.Rows(), 3);
    ASSERT_EQ(back.Cols(), 2);
    ASSERT_EQ(back.Complex(), isComplex);
    // 15 significant digits come back within a unit of the 15th.
    for (int i = 0; i < m.Rows() * m.Cols() * (isComplex ? 2 : 1); ++i)
      EXPECT_NEAR(back.Values()[i], m.Values()[i], 1e-14) << i;
  }
}

TEST(StringGridToMtx, ABlockGoesIntoPlaceAndIsCheckedFirst) {
  TStringGrid grid;
  Sized(grid, 4, 3);
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 4; ++c) grid.SetCells(c, r, std::to_string(r * 4 + c));
  TMtx m;
  m.Size(3, 3, false);
  std::fill_n(m.Values(), 9, -1.0);
  StringGridToMtx(m, grid, 1, 2, false, 0, 1, 2, 2);
  EXPECT_EQ(std::vector<double>(m.Values(), m.Values() + 9), (std::vector<double>{-1, 6, 7, -1, 10, 11, -1, -1, -1}));
  const std::vector<double> before(m.Values(), m.Values() + 9);
  EXPECT_TRUE(Raises([&] { StringGridToMtx(m, grid, 0, 0, false, 2, 0, 2, 1); }, "(Row + RowCount) > Dst.Rows"));
  EXPECT_TRUE(Raises([&] { StringGridToMtx(m, grid, 0, 0, false, 0, 2, 1, 2); }, "(Col + ColCount) > fCols"));
  EXPECT_TRUE(Raises([&] { StringGridToMtx(m, grid, 2, 0, false, 0, 0, 2, 1); }, "(SrcRow + RowCount) > Src.RowCount"));
  EXPECT_TRUE(Raises([&] { StringGridToMtx(m, grid, 0, 3, true, 0, 0, 1, 1); },
                     "(SrcCol + ColCount*(Byte(IsComplex)+1)) > Src.ColCount)"));
  EXPECT_EQ(std::vector<double>(m.Values(), m.Values() + 9), before);
  EXPECT_FALSE(m.Complex());
}

TEST(StringGridToMtx, ACellThatDoesNotReadIsNamedAndNothingChanges) {
  TStringGrid grid;
  Sized(grid, 5, 3);
  MtxToStringGrid(TComplex2x2(), grid);
  grid.SetCells(4, 2, "1,5x");
  TMtx m;
  m.Size(1, 1, false);
  m.Values()[0] = 7;
  EXPECT_TRUE(Raises<classlib::EConvertError>([&] { StringGridToMtx(m, grid, true, true); },
                                              "Row 1, column 1-Im: '1,5x' is not a valid floating point value"));
  EXPECT_EQ(m.Rows(), 1);
  EXPECT_EQ(m.Values()[0], 7);
  grid.SetCells(1, 1, "");
  EXPECT_TRUE(Raises<classlib::EConvertError>([&] { StringGridToMtx(m, grid, true, true); },
                                              "Row 0, column 0-Re: '' is not a valid floating point value"));
  TVec v;
  EXPECT_TRUE(Raises<classlib::EConvertError>([&] { StringGridToVec(v, grid, false, true, true); },
                                              "Row 0, column 0: '' is not a valid floating point value"));
  EXPECT_TRUE(Raises<classlib::EConvertError>([&] { StringGridToVec(v, grid, false, true, false); },
                                              "Row 0, column 0: '' is not a valid floating point value"));
  EXPECT_EQ(v.Length(), 0);
}

TEST(StringGrid, CellsOutsideTheGridAreRefused) {
  TStringGrid grid;
  EXPECT_EQ(grid.ColCount(), 5);
  EXPECT_EQ(grid.RowCount(), 5);
  EXPECT_EQ(grid.FixedCols(), 1);
  EXPECT_EQ(grid.FixedRows(), 1);
  grid.SetCells(4, 4, "x");
  EXPECT_EQ(grid.Cells(4, 4), "x");
  EXPECT_EQ(grid.Cells(3, 3), "");
  EXPECT_TRUE(Raises([&] { grid.SetCells(5, 0, "y"); }, "Grid index out of range"));
  EXPECT_TRUE(Raises([&] { (void)grid.Cells(0, -1); }, "Grid index out of range"));
}

TEST(StringGrid, HeadersAreDrawnAsHeadersAndNeverEdited) {
  TStringGrid grid;
  grid.setObjectName("Grid");
  grid.resize(340, 150);
  MtxToStringGrid(TComplex2x2(), Sized(grid, 5, 3));
  grid.setEditTriggers(QAbstractItemView::DoubleClicked);
  grid.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
  const QImage shot = ui::Screenshot(grid, "string_grid");
  const QPoint header = grid.visualRect(grid.model()->index(0, 2)).center() + QPoint(1, 1);
  const QPoint value = grid.visualRect(grid.model()->index(1, 2)).topLeft() + QPoint(50, 3);
  EXPECT_EQ(shot.pixelColor(header.x() + 20, header.y() - 6), grid.palette().button().color());
  EXPECT_EQ(shot.pixelColor(value), grid.palette().base().color());
  // A double-click opens an editor on a value, none on a header.
  const auto editor = [&] { return grid.viewport()->findChild<QLineEdit*>(); };
  const auto doubleClick = [&](int row, int col) {
    const QPoint at = grid.visualRect(grid.model()->index(row, col)).center();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, at);
  };
  doubleClick(0, 2);
  EXPECT_EQ(editor(), nullptr);
  doubleClick(1, 2);
  ASSERT_NE(editor(), nullptr);
  EXPECT_EQ(editor()->text(), "-1");
}

}  // namespace
}  // namespace analysis_ui
