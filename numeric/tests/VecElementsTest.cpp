// Covers numeric/VecElements.cpp: every check that raises, with its text,
// with ConditionCheck set and cleared (a window outside the vectors' memory
// is refused either way); element access; diagonals, rows, joining, ramps and
// open arrays; the range operations with an operand or a constant, including
// Self as the operand; TMtx.SetIt and TMtx.Abs.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "numeric/Numora.h"
#include "numeric/tests/NumericTestUtil.h"
#include "numeric/tests/VecTestUtil.h"

namespace numeric {
namespace {

using testutil::Cplx;
using testutil::DoublesOf;
using testutil::NearRel;
using testutil::Raises;
using testutil::Real;
using testutil::Set;
using testutil::SetC;

// A call on Self (real {1, 2, 3, 4} or complex {(1,2), (3,4)} by the case)
// with ConditionCheck set or cleared, and the message expected in either case
// ("" = none).
struct TElementCheckCase {
  std::string Name;
  bool ComplexSelf;
  std::function<void(TVec& self)> Call;
  std::string Checked;
  std::string Unchecked;
};

// The five checks shared by the element-wise range operations, for one of
// them given by Call(self, vec, vecIndex, index, len).
using TRangeCall = std::function<void(TVec&, const TVec&, std::int32_t, std::int32_t, std::int32_t)>;

void AddRangeCases(std::vector<TElementCheckCase>& cases, const std::string& name, const TRangeCall& call,
                   const std::string& negative, const std::string& vecRange = "VecIndex + Len) > Vec.Length") {
  cases.push_back({name + " negative", false, [call](TVec& s) { call(s, *Real({1, 2}), 0, -1, 1); }, negative,
                   negative});
  cases.push_back({name + " Vec range", false, [call](TVec& s) { call(s, *Real({1, 2}), 1, 0, 2); }, vecRange,
                   vecRange});
  cases.push_back({name + " Self range", false, [call](TVec& s) { call(s, *Real({1, 2, 3, 4, 5}), 0, 3, 2); },
                   "(Index + Len) > Length", "(Index + Len) > Length"});
  // Unchecked, a real operand is read in Self's complex width: 4 doubles fit.
  cases.push_back({name + " kinds", true, [call](TVec& s) { call(s, *Real({1, 2, 3, 4}), 0, 0, 2); },
                   "Complex <> Vec.Complex", ""});
  cases.push_back({name + " kinds beyond the doubles", true, [call](TVec& s) { call(s, *Real({1, 2, 3}), 0, 0, 2); },
                   "Complex <> Vec.Complex", "VecIndex + Len) > Vec.Length"});
  cases.push_back({name + " of Self", false, [call](TVec& s) { call(s, s, 0, 1, 2); }, "Self = Vec", ""});
}

std::vector<TElementCheckCase> ElementCheckCases() {
  std::vector<TElementCheckCase> cases = {
      {"GetValue past the end", false, [](TVec& s) { s.GetValue(4); }, "Indx > Length-1", "Indx > Length-1"},
      {"GetValue negative", false, [](TVec& s) { s.GetValue(-1); }, "Indx < 0 ", "Indx < 0 "},
      // Unchecked, the doubles of a complex vector are all addressable.
      {"GetValue complex double", true, [](TVec& s) { s.GetValue(3); }, "Indx > Length-1", ""},
      {"SetValue past the end", false, [](TVec& s) { s.SetValue(4, 0); }, "Indx > Length-1", "Indx > Length-1"},
      {"SetValue negative", false, [](TVec& s) { s.SetValue(-1, 0); }, "Indx < 0 ", "Indx < 0 "},
      {"Diag beyond", false,
       [](TVec& s) {
         TMtx m;
         m.SetIt(3, 3, false, std::vector<double>(9, 1.0));
         s.Diag(m, 3);
       },
       "k out of range", "k out of range"},
      {"GetRow window of empty matrix", false, [](TVec& s) { s.GetRow(TMtx{}, 0, 0, 0, 1); },
       "Mtx.Rows*Mtx.Cols = 0", "Row > (Mtx.Rows-1)"},
      {"GetRow window row", false,
       [](TVec& s) {
         TMtx m;
         m.Size(2, 2, false);
         s.GetRow(m, 2, 0, 0, 1);
       },
       "Row > (Mtx.Rows-1)", "Row > (Mtx.Rows-1)"},
      {"GetRow window columns", false,
       [](TVec& s) {
         TMtx m;
         m.Size(2, 2, false);
         s.GetRow(m, 0, 1, 0, 2);
       },
       "(Col + Len) > Mtx.Cols", "(Col + Len) > Mtx.Cols"},
      {"GetRow window Self", false,
       [](TVec& s) {
         TMtx m;
         m.Size(2, 3, false);
         s.GetRow(m, 0, 0, 2, 3);
       },
       "(Index + len) > Length", "(Index + len) > Length"},
      {"GetRow window kinds", true,
       [](TVec& s) {
         TMtx m;
         m.Size(2, 2, false);
         s.GetRow(m, 0, 0, 0, 2);
       },
       "Complex <> Mtx.Complex", ""},
      {"GetRow window kinds beyond the storage", true,
       [](TVec& s) {
         TMtx m;
         m.Size(2, 2, false);
         s.GetRow(m, 1, 0, 0, 2);
       },
       "Complex <> Mtx.Complex", "(Col + Len) > Mtx.Cols"},
      {"GetRow of empty matrix", false, [](TVec& s) { s.GetRow(TMtx{}, 0); }, "Mtx.Rows*Mtx.Cols = 0",
       "Row > Mtx.Rows-1"},
      {"GetRow row", false,
       [](TVec& s) {
         TMtx m;
         m.Size(2, 2, false);
         s.GetRow(m, -1);
       },
       "Row > Mtx.Rows-1", "Row > Mtx.Rows-1"},
      {"Concat kinds", false, [](TVec& s) { s.Concat(*Real({1}), *Cplx({1, 1})); }, "Vec1.Complex <> Vec2.Complex",
       "Vec1.Complex <> Vec2.Complex"},
      {"Concat into Vec1", false, [](TVec& s) { s.Concat(s, *Real({1})); }, "Self = Vec1", "Self = Vec1"},
      {"Concat into Vec2", false, [](TVec& s) { s.Concat(*Real({1}), s); }, "Self = Vec2", "Self = Vec2"},
      {"Mag empty Vec", false, [](TVec& s) { s.Mag(TVec{}, 0, 0, 1); }, "Vec.Length = 0",
       "VecIndex + Len) > Vec.Length"},
      {"Mag Vec range", false, [](TVec& s) { s.Mag(*Cplx({1, 1}), 1, 0, 1); }, "VecIndex + Len) > Vec.Length",
       "VecIndex + Len) > Vec.Length"},
      {"Mag Self range", false, [](TVec& s) { s.Mag(*Cplx({1, 1, 2, 2}), 0, 3, 2); }, "(Index + Len) > Length",
       "(Index + Len) > Length"},
      {"Mag negative", false, [](TVec& s) { s.Mag(*Cplx({1, 1}), -1, 0, 1); },
       "(Len <= 0) or (Index < 0) or (VecIndex < 0)", "(Len <= 0) or (Index < 0) or (VecIndex < 0)"},
      {"Mag of real", false, [](TVec& s) { s.Mag(*Real({3, 4}), 0, 0, 1); }, "Vec.Complex = False", ""},
      {"Mag of Self", true, [](TVec& s) { s.Mag(s, 0, 0, 1); }, "Self = Vec", ""},
      {"Abs empty Vec", false, [](TVec& s) { s.Abs(TVec{}, 0, 0, 0); }, "Vec.Length = 0", ""},
      {"Abs Vec range", false, [](TVec& s) { s.Abs(*Real({1}), 0, 0, 2); }, "VecIndex + Len) > Vec.Length",
       "VecIndex + Len) > Vec.Length"},
      {"Abs negative", false, [](TVec& s) { s.Abs(*Real({1}), 0, 0, -1); },
       "(Len <= 0) or (Index < 0) or (VecIndex < 0)", "(Len <= 0) or (Index < 0) or (VecIndex < 0)"},
      {"Abs of Self", false, [](TVec& s) { s.Abs(s, 0, 1, 2); }, "Self = Vec", ""},
      {"ConjMul Vec range first", false, [](TVec& s) { s.ConjMul(*Real({1}), 0, -1, 2); },
       "VecIndex+Len > Vec.Length", "VecIndex+Len > Vec.Length"},
      {"Reverse Vec range", false, [](TVec& s) { s.Reverse(*Real({1, 2}), 1, 0, 2); }, "(Len + VecIndex) > Vec.Length",
       "(Len + VecIndex) > Vec.Length"},
      {"Reverse Self range", false, [](TVec& s) { s.Reverse(*Real({1, 2, 3}), 0, 2, 3); }, "(Len + Index) > fLength",
       "(Len + Index) > fLength"},
      {"Reverse negative", false, [](TVec& s) { s.Reverse(*Real({1, 2}), 0, -1, 1); },
       "TVec.Reverse: Index -1, Len 1 outside Length 4", "TVec.Reverse: Index -1, Len 1 outside Length 4"},
      {"Reverse kinds beyond the doubles", true, [](TVec& s) { s.Reverse(*Real({1, 2, 3}), 0, 0, 2); },
       "TVec.Reverse: Index 0, Len 2 outside Length 3", "TVec.Reverse: Index 0, Len 2 outside Length 3"},
      {"Mul3 negative", false, [](TVec& s) { s.Mul(*Real({1}), *Real({1}), 0, -1, 0, 1); },
       "(Len <= 0) or (Index < 0) or (Vec1Index < 0) or (Vec2Index < 0)",
       "(Len <= 0) or (Index < 0) or (Vec1Index < 0) or (Vec2Index < 0)"},
      {"Mul3 Vec1 range", false, [](TVec& s) { s.Mul(*Real({1}), *Real({1, 2}), 0, 0, 0, 2); },
       "(Vec1Index + Len) > Vec1.Length", "(Vec1Index + Len) > Vec1.Length"},
      {"Mul3 Vec2 range", false, [](TVec& s) { s.Mul(*Real({1, 2}), *Real({1, 2}), 0, 1, 0, 2); },
       "(Vec2Index + Len) > Vec2.Length", "(Vec2Index + Len) > Vec2.Length"},
      {"Mul3 Self range", false, [](TVec& s) { s.Mul(*Real({1, 2}), *Real({1, 2}), 0, 0, 3, 2); },
       "(Index + Len) > Length", "(Index + Len) > Length"},
      {"Mul3 operand kinds", false, [](TVec& s) { s.Mul(*Real({1, 2}), *Cplx({1, 2}), 0, 0, 0, 1); },
       "Vec1.Complex  <> Vec2.Complex", ""},
      {"Mul3 Self kind", true, [](TVec& s) { s.Mul(*Real({1, 2, 3, 4}), *Real({1, 2, 3, 4}), 0, 0, 0, 2); },
       "Complex <> Vec1.Complex", ""},
      {"Mul3 into an operand", false, [](TVec& s) { s.Mul(*Real({1, 2}), s, 0, 0, 0, 2); },
       "(Self = Vec1) or (Self = Vec2)", ""},
      {"Scale range negative", false, [](TVec& s) { s.Scale(2.0, -1, 1); }, "(Len <= 0) or (Index < 0)",
       "(Len <= 0) or (Index < 0)"},
      {"Scale range beyond", false, [](TVec& s) { s.Scale(2.0, 3, 2); }, "Index+Len > Length", "Index+Len > Length"},
      {"Scale complex factor beyond", false, [](TVec& s) { s.Scale(TCplx{2, 0}, 3, 2); }, "Index+Len > Length",
       "Index+Len > Length"},
      {"Scale complex factor negative", false, [](TVec& s) { s.Scale(TCplx{2, 0}, -1, 1); },
       "TVec.Scale: Index -1, Len 1 outside Length 4", "TVec.Scale: Index -1, Len 1 outside Length 4"},
      {"Offset negative", false, [](TVec& s) { s.Offset(1.0, 0, -1); }, "(Len <= 0) or (Index < 0)",
       "(Len <= 0) or (Index < 0)"},
      {"Offset beyond", true, [](TVec& s) { s.Offset(TCplx{1, 1}, 1, 2); }, "(Index + Len) > Length",
       "(Index + Len) > Length"},
      {"TMtx.SetIt complex count", false,
       [](TVec& s) {
         TMtx m;
         m.SetConditionCheck(s.ConditionCheck());
         m.SetIt(1, 2, true, std::vector<double>{1, 2, 3});
       },
       "Rows*Cols*2 <> (High(A)+1)", ""},
      {"TMtx.SetIt real count", false,
       [](TVec& s) {
         TMtx m;
         m.SetConditionCheck(s.ConditionCheck());
         m.SetIt(2, 1, false, std::vector<double>{1, 2, 3});
       },
       "Rows*Cols <> (High(A)+1)", "Rows*Cols <> (High(A)+1)"},
      {"TMtx.Abs of Self", false,
       [](TVec&) {
         TMtx m;
         m.Abs(m);
       },
       "Self = Mtx", "Self = Mtx"},
  };
  const std::string mulNegative = "(Len <= 0) or (Index < 0) or (VecIndex < 0)";
  AddRangeCases(cases, "Sqr", [](TVec& s, const TVec& v, int vi, int i, int n) { s.Sqr(v, vi, i, n); },
                "(Len < 0) or (Index < 0) or (VecIndex < 0)");
  AddRangeCases(cases, "Mul", [](TVec& s, const TVec& v, int vi, int i, int n) { s.Mul(v, vi, i, n); }, mulNegative);
  AddRangeCases(cases, "Sub", [](TVec& s, const TVec& v, int vi, int i, int n) { s.Sub(v, vi, i, n); }, mulNegative);
  AddRangeCases(cases, "Add", [](TVec& s, const TVec& v, int vi, int i, int n) { s.Add(v, vi, i, n); }, mulNegative);
  AddRangeCases(cases, "Add with a factor",
                [](TVec& s, const TVec& v, int vi, int i, int n) { s.Add(v, vi, i, n, 2.0, 1.0); }, mulNegative);
  // ConjMul checks the operand's range first, always, with its own text.
  AddRangeCases(cases, "ConjMul", [](TVec& s, const TVec& v, int vi, int i, int n) { s.ConjMul(v, vi, i, n); },
                mulNegative, "VecIndex+Len > Vec.Length");
  return cases;
}

TEST(VecElements, ChecksRaiseTheirTextsWithAndWithoutConditionCheck) {
  for (const TElementCheckCase& c : ElementCheckCases()) {
    for (bool checks : {true, false}) {
      TVec self;
      if (c.ComplexSelf)
        SetC(self, {1, 2, 3, 4});
      else
        Set(self, {1, 2, 3, 4});
      self.SetConditionCheck(checks);
      const std::string& expected = checks ? c.Checked : c.Unchecked;
      if (expected.empty())
        EXPECT_NO_THROW(c.Call(self)) << c.Name << ", unchecked";
      else
        EXPECT_TRUE(Raises([&] { c.Call(self); }, expected)) << c.Name << (checks ? ", checked" : ", unchecked");
    }
  }
}

TEST(VecElements, ARefusedRangeChangesNothing) {
  for (bool checks : {true, false}) {
    TVec s, v;
    Set(s, {1, 2, 3});
    Set(v, {5, 6});
    s.SetConditionCheck(checks);
    EXPECT_TRUE(Raises([&] { s.Add(v, 0, 2, 2); }, "(Index + Len) > Length"));
    EXPECT_TRUE(Raises([&] { s.Reverse(v, 0, 2, 2); }, "(Len + Index) > fLength"));
    EXPECT_EQ(DoublesOf(s), (std::vector<double>{1, 2, 3}));
  }
}

TEST(VecElements, ValuesByPosition) {
  TVec c;
  SetC(c, {1, 2, 3, 4});
  EXPECT_EQ(c.GetValue(1), 2.0);  // the real view
  c.SetValue(0, 9);
  EXPECT_EQ(DoublesOf(c), (std::vector<double>{9, 2, 3, 4}));
  c.SetConditionCheck(false);
  c.SetValue(3, 7);
  EXPECT_EQ(c.GetValue(3), 7.0);
}

TEST(VecElements, Diagonals) {
  TMtx m;
  m.SetIt(3, 3, false, std::vector<double>{1, 2, 3, 4, 5, 6, 7, 8, 9});
  TVec d;
  d.Diag(m, 0);
  EXPECT_EQ(DoublesOf(d), (std::vector<double>{1, 5, 9}));
  d.Diag(m, 1);
  EXPECT_EQ(DoublesOf(d), (std::vector<double>{2, 6}));
  d.Diag(m, -2);
  EXPECT_EQ(DoublesOf(d), (std::vector<double>{7}));
  // A non-square matrix gives the diagonal's true length, never more.
  TMtx wide;
  wide.SetIt(2, 4, false, std::vector<double>{1, 2, 3, 4, 5, 6, 7, 8});
  d.Diag(wide, 1);
  EXPECT_EQ(DoublesOf(d), (std::vector<double>{2, 7}));
  d.Diag(wide, 3);
  EXPECT_EQ(DoublesOf(d), (std::vector<double>{4}));
  d.Diag(wide, -1);
  EXPECT_EQ(DoublesOf(d), (std::vector<double>{5}));
  TMtx tall;
  tall.SetIt(3, 1, true, std::vector<double>{1, 2, 3, 4, 5, 6});
  d.Diag(tall, -1);
  EXPECT_TRUE(d.Complex());
  EXPECT_EQ(DoublesOf(d), (std::vector<double>{3, 4}));
  EXPECT_TRUE(Raises([&] { d.Diag(tall, 1); }, "k out of range"));
  // An empty matrix leaves Self untouched.
  Set(d, {1, 2});
  d.Diag(TMtx{}, 0);
  EXPECT_EQ(DoublesOf(d), (std::vector<double>{1, 2}));
}

TEST(VecElements, RowsJoiningRampsAndArrays) {
  TMtx m;
  m.SetIt(2, 3, true, std::vector<double>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
  TVec row;
  row.GetRow(m, 1);
  EXPECT_TRUE(row.Complex());
  EXPECT_EQ(DoublesOf(row), (std::vector<double>{7, 8, 9, 10, 11, 12}));
  row.GetRow(m, 0, 1, 1, 2);
  EXPECT_EQ(DoublesOf(row), (std::vector<double>{7, 8, 3, 4, 5, 6}));
  row.GetRow(m, 9, 9, 9, 0);  // Len 0: nothing at all

  TVec v, joined;
  Set(v, {1, 2});
  joined.Concat(v, v);
  EXPECT_EQ(DoublesOf(joined), (std::vector<double>{1, 2, 1, 2}));
  joined.Concat(TVec{}, v);
  EXPECT_EQ(DoublesOf(joined), (std::vector<double>{1, 2}));

  TVec ramp;
  ramp.Size(3, true);
  ramp.Ramp();
  EXPECT_EQ(DoublesOf(ramp), (std::vector<double>{0, 0, 1, 0, 2, 0}));

  TVec a;
  a.SetIt(true, std::vector<double>{1, 2, 3});
  EXPECT_TRUE(a.Complex());
  EXPECT_EQ(DoublesOf(a), (std::vector<double>{1, 2}));
  a.SetIt(false, std::vector<double>{});
  EXPECT_EQ(a.Length(), 0);
}

TEST(VecElements, MatrixSetItAndAbs) {
  TMtx m, a;
  m.SetIt(1, 2, true, std::vector<double>{3, -4, 0, -2});
  a.Abs(m);
  EXPECT_FALSE(a.Complex());
  EXPECT_EQ(a.Rows(), 1);
  EXPECT_EQ(a.Cols(), 2);
  EXPECT_EQ(a.Values()[0], 5.0);
  EXPECT_EQ(a.Values()[1], 2.0);
  m.SetIt(2, 1, false, std::vector<double>{-1, 2});
  a.Abs(m);
  EXPECT_EQ(a.Values()[0], 1.0);
  a.Abs(TMtx{});  // nothing
  EXPECT_EQ(a.Rows(), 2);
  // Unchecked, a shorter array fills the first elements.
  TMtx u;
  u.SetConditionCheck(false);
  u.SetIt(1, 3, false, std::vector<double>{7, 8});
  EXPECT_EQ(u.Values()[1], 8.0);
}

TEST(VecElements, RangeOperationsWithAnOperand) {
  TVec s, v;
  Set(s, {1, 2, 3, 4});
  Set(v, {10, 20, 30});
  s.Add(v, 1, 2, 2);
  EXPECT_EQ(DoublesOf(s), (std::vector<double>{1, 2, 23, 34}));
  s.Sub(v, 0, 0, 2);
  EXPECT_EQ(DoublesOf(s), (std::vector<double>{-9, -18, 23, 34}));
  s.Mul(v, 2, 3, 1);
  EXPECT_EQ(DoublesOf(s), (std::vector<double>{-9, -18, 23, 1020}));
  s.Sqr(v, 0, 0, 1);
  s.Abs(*Real({-5}), 0, 1, 1);
  EXPECT_EQ(DoublesOf(s), (std::vector<double>{100, 5, 23, 1020}));
  // The factor (1, 0) and any other reach the same sum by other routines.
  TVec a, b;
  Set(a, {1, 2});
  Set(b, {1, 2});
  a.Add(v, 0, 0, 2, 1.0, 0.0);
  b.Add(v, 0, 0, 2, 1.0, 1e-300);
  EXPECT_EQ(DoublesOf(a), DoublesOf(b));
  // Len 0 with valid arguments changes nothing.
  s.Mul(v, 0, 0, 0).Sub(v, 3, 4, 0).Reverse(v, 0, 0, 0).Scale(2.0, 4, 0).Offset(1.0, 4, 0);
  EXPECT_EQ(DoublesOf(s), (std::vector<double>{100, 5, 23, 1020}));

  TVec c, w;
  SetC(c, {1, 1, 2, 0});
  SetC(w, {0, 1, 3, 4});
  c.Mul(w, 0, 0, 2);
  EXPECT_EQ(DoublesOf(c), (std::vector<double>{-1, 1, 6, 8}));
  c.Add(w, 1, 0, 1, 0.0, 1.0);  // + i (3 + 4i)
  EXPECT_EQ(DoublesOf(c), (std::vector<double>{-5, 4, 6, 8}));
  c.Sqr(w, 0, 1, 1);
  EXPECT_EQ(DoublesOf(c), (std::vector<double>{-5, 4, -1, 0}));
  TVec magnitudes;
  Set(magnitudes, {0, 0, 0});
  magnitudes.Mag(w, 0, 1, 2);
  EXPECT_EQ(DoublesOf(magnitudes), (std::vector<double>{0, 1, 5}));
}

TEST(VecElements, ConjugateProductLeavesTheOperandAlone) {
  TVec s, v;
  SetC(s, {1, 1, 2, 0});
  SetC(v, {0, 1, 3, 4});
  s.ConjMul(v, 0, 0, 2);
  EXPECT_EQ(DoublesOf(s), (std::vector<double>{1, -1, 6, -8}));
  EXPECT_EQ(DoublesOf(v), (std::vector<double>{0, 1, 3, 4}));
  // Refused by the product's check: the operand is still as it was.
  EXPECT_TRUE(Raises([&] { v.ConjMul(v, 0, 1, 1); }, "Self = Vec"));
  EXPECT_EQ(DoublesOf(v), (std::vector<double>{0, 1, 3, 4}));
  // Unchecked, Self as the operand: each element times the conjugate of the other.
  v.SetConditionCheck(false);
  v.ConjMul(v, 1, 0, 1);
  EXPECT_EQ(DoublesOf(v), (std::vector<double>{4, 3, 3, 4}));
  TVec r;
  Set(r, {2, 3});
  r.ConjMul(*Real({4, 5}), 0, 0, 2);
  EXPECT_EQ(DoublesOf(r), (std::vector<double>{8, 15}));
}

TEST(VecElements, ReverseAndThreeOperandProduct) {
  TVec s;
  Set(s, {0, 0, 0, 0});
  s.Reverse(*Real({1, 2, 3}), 0, 1, 3);
  EXPECT_EQ(DoublesOf(s), (std::vector<double>{0, 3, 2, 1}));
  // Overlapping windows of Self reverse the values as they were.
  TVec o;
  Set(o, {1, 2, 3, 4, 5});
  o.Reverse(o, 0, 1, 4);
  EXPECT_EQ(DoublesOf(o), (std::vector<double>{1, 4, 3, 2, 1}));
  TVec c;
  SetC(c, {0, 0, 0, 0});
  c.Reverse(*Cplx({1, 2, 3, 4}), 0, 0, 2);
  EXPECT_EQ(DoublesOf(c), (std::vector<double>{3, 4, 1, 2}));

  TVec p;
  Set(p, {0, 0, 0});
  p.Mul(*Real({1, 2, 3}), *Real({4, 5, 6}), 1, 0, 1, 2);
  EXPECT_EQ(DoublesOf(p), (std::vector<double>{0, 8, 15}));
  SetC(c, {0, 0, 0, 0});
  c.Mul(*Cplx({1, 1}), *Cplx({2, 0, 1, -1}), 0, 1, 1, 1);
  EXPECT_EQ(DoublesOf(c), (std::vector<double>{0, 0, 2, 0}));
}

TEST(VecElements, RangeOperationsWithAConstant) {
  TVec c;
  SetC(c, {1, 1, 2, 2});
  c.Offset(2.0, 0, 1);
  EXPECT_EQ(DoublesOf(c), (std::vector<double>{3, 1, 2, 2}));
  c.Offset(TCplx{0, 1}, 1, 1);
  EXPECT_EQ(DoublesOf(c), (std::vector<double>{3, 1, 2, 3}));
  c.Scale(2.0, 0, 1);
  EXPECT_EQ(DoublesOf(c), (std::vector<double>{6, 2, 2, 3}));
  c.Scale(TCplx{0, 1}, 1, 1);
  EXPECT_EQ(DoublesOf(c), (std::vector<double>{6, 2, -3, 2}));
  TVec r;
  Set(r, {1, 2});
  r.Scale(TCplx{3, 9}, 1, 1);
  r.Offset(TCplx{1, 9}, 0, 1);
  EXPECT_EQ(DoublesOf(r), (std::vector<double>{2, 6}));
}

}  // namespace
}  // namespace numeric
