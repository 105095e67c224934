// Covers the matrix operations against numpy and scipy, real and complex:
// numeric/MtxProducts.cpp, MtxElements.cpp, MtxStructure.cpp, MtxInverse.cpp,
// MtxLeastSquares.cpp and MtxSolve.cpp. The table data/matrix_oracle.txt is
// made by data/gen_matrix_oracle.py and committed.
//
// Error models (u = 2^-53 the unit roundoff, n the order, a margin of 2 on
// every bound): products and element operations round each element a few
// times per term of the inner dimension (at most 40 here), so 64 k EPS of the
// largest expected element bounds them. The factorisations are backward
// stable within 4 n u of the matrix: a solve is off by 4 n u times the
// condition number against the exact solution (the table's, in rational
// arithmetic), an inverse by as much of its size (n times that element by
// element), a least-squares solution by 4 n u (K + K^2 |r| / (|A| |x|)) with K
// the 2-norm condition (Golub and Van Loan), and an eigenvalue by 4 n u |A|_F
// times its condition |x| |y| / |y^H x| (1 for the symmetric types) - on each
// of the two sides where the reference is numpy's rather than exact.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <vector>

#include "numeric/Numora.h"
#include "numeric/tests/MtxOracle.h"
#include "testing/TestSupport.h"

namespace numeric {
namespace {

using testutil::FormNamed;
using testutil::Load;
using testutil::MtxNear;
using testutil::OperationNamed;
using testutil::OracleCases;
using testutil::TOracleCase;
using testutil::TypeNamed;
using testutil::VecNear;

constexpr double kProductTol = 64 * 40 * EPS;
constexpr double kU = EPS / 2;
constexpr double kMargin = 2.0;

// Every family of the table has cases: a renamed family must not leave a
// test with nothing to check.
TEST(MtxOracle, TableHoldsEveryFamily) {
  for (const char* family : {"mul", "matvec", "elem", "detect", "eig", "inv", "lsq", "solve"})
    EXPECT_GT(OracleCases(family).size(), 5u) << family;
}

void ApplyOperandSettings(TMtx& m, const TOracleCase& c, const std::string& suffix) {
  m.SetTriangleForm(FormNamed(c.Param("f" + suffix)));
  m.SetTriangleUnit(c.IntParam("u" + suffix) != 0);
  m.SetAutoMtxType(c.IntParam("auto" + suffix) != 0);
}

TEST(MtxOracle, Products) {
  for (const TOracleCase* c : OracleCases("mul")) {
    SCOPED_TRACE(c->Name);
    TMtx a, b, r;
    Load(a, c->Matrix("A"));
    Load(b, c->Matrix("B"));
    ApplyOperandSettings(a, *c, "1");
    ApplyOperandSettings(b, *c, "2");
    r.Mul(a, b, TypeNamed(c->Param("t1")), TypeNamed(c->Param("t2")), OperationNamed(c->Param("op1")),
          OperationNamed(c->Param("op2")));
    EXPECT_TRUE(MtxNear(r, c->Matrix("C"), kProductTol));
    EXPECT_EQ(r.COne().Re, 1.0);
    EXPECT_EQ(r.CZero().Re, 0.0);
  }
}

TEST(MtxOracle, MatrixVectorProducts) {
  for (const TOracleCase* c : OracleCases("matvec")) {
    SCOPED_TRACE(c->Name);
    TMtx a;
    TVec x, y;
    Load(a, c->Matrix("A"));
    Load(x, c->Matrix("x"));
    ApplyOperandSettings(a, *c, "");
    y.MatVecProduct(x, a, TypeNamed(c->Param("t")), OperationNamed(c->Param("op")));
    EXPECT_TRUE(VecNear(y, c->Matrix("y"), kProductTol));
  }
}

TEST(MtxOracle, ElementOperations) {
  for (const TOracleCase* c : OracleCases("elem")) {
    SCOPED_TRACE(c->Name);
    TMtx a, b, r;
    Load(a, c->Matrix("A"));
    if (c->Has("B")) Load(b, c->Matrix("B"));
    const std::string op = c->Param("op");
    if (op == "add") {
      r.Copy(a);
      r.Add(b, std::stod(c->Param("re")), std::stod(c->Param("im")));
    } else if (op == "sub") {
      r.Copy(a);
      r.Sub(b);
    } else if (op == "transp") {
      r.Transp(a);
    } else if (op == "adjung") {
      r.Adjung(a);
    } else if (op == "transp_inplace") {
      r.Copy(a);
      r.Transp();
    } else if (op == "adjung_inplace") {
      r.Copy(a);
      r.Adjung();
    } else if (op == "mag") {
      r.Mag(a);
    } else if (op == "imag") {
      r.ImagPart(a);
    } else if (op == "real") {
      r.RealPart(a);
    } else {
      ADD_FAILURE() << "unknown operation " << op;
    }
    EXPECT_TRUE(MtxNear(r, c->Matrix("R"), 4 * EPS));
  }
}

TEST(MtxOracle, TypeDetection) {
  for (const TOracleCase* c : OracleCases("detect")) {
    SCOPED_TRACE(c->Name);
    TMtx a;
    Load(a, c->Matrix("A"));
    a.SetTriangleForm(tfLower);
    EXPECT_EQ(a.DetectMtxType(c->IntParam("positive") != 0), TypeNamed(c->Param("type")));
    // A matrix that is not square keeps its form.
    EXPECT_EQ(a.TriangleForm(), FormNamed(c->Param("form"), tfLower));
    EXPECT_EQ(a.LapackStatus(), 0);
  }
}

// Each expected eigenvalue matched with the nearest computed one not yet
// taken, within its own bound.
::testing::AssertionResult SameSpectrum(const TVec& d, const testutil::TOracleMatrix& e,
                                        const std::vector<double>& bounds) {
  const std::int32_t n = e.Rows * e.Cols;
  if (d.Length() != n) return ::testing::AssertionFailure() << "length " << d.Length() << ", expected " << n;
  std::vector<bool> taken(static_cast<std::size_t>(n), false);
  for (std::int32_t k = 0; k < n; ++k) {
    const TCplx want = e.At(0, k);
    std::int32_t best = -1;
    double bestErr = INF;
    for (std::int32_t i = 0; i < n; ++i) {
      if (taken[i]) continue;
      const TCplx got = d.Complex() ? d.CValues()[i] : TCplx{d.Values()[i], 0.0};
      const double err = std::hypot(got.Re - want.Re, got.Im - want.Im);
      if (err < bestErr) {
        bestErr = err;
        best = i;
      }
    }
    if (!(bestErr <= bounds[static_cast<std::size_t>(k)]))
      return ::testing::AssertionFailure() << "eigenvalue " << want.Re << " " << want.Im << " missing; nearest error "
                                           << bestErr << ", bound " << bounds[static_cast<std::size_t>(k)];
    taken[best] = true;
  }
  return ::testing::AssertionSuccess();
}

TEST(MtxOracle, Eigenvalues) {
  for (const TOracleCase* c : OracleCases("eig")) {
    SCOPED_TRACE(c->Name);
    TMtx a;
    TVec d;
    Load(a, c->Matrix("A"));
    const std::string balance = c->Param("balance", "btFull");
    a.SetBalance(balance == "btNone" ? btNone : balance == "btScale" ? btScale : balance == "btPerm" ? btPerm : btFull);
    const TMtxType type = TypeNamed(c->Param("t"));
    a.Eig(d, type);
    EXPECT_EQ(a.ErrorText(), "");
    // Real for the symmetric types, complex for the general and triangular ones.
    EXPECT_EQ(d.Complex(), type == mtGeneral || type == mtTriangle);
    const double n = a.Rows(), size = c->Matrix("AN").At(0, 0).Re;
    std::vector<double> bounds;
    for (std::int32_t k = 0; k < c->Matrix("EC").Cols; ++k)
      bounds.push_back(kMargin * 2.0 * 4.0 * n * kU * size * c->Matrix("EC").At(0, k).Re);
    EXPECT_TRUE(SameSpectrum(d, c->Matrix("E"), bounds));
  }
}

TEST(MtxOracle, Inverses) {
  for (const TOracleCase* c : OracleCases("inv")) {
    SCOPED_TRACE(c->Name);
    TMtx a;
    Load(a, c->Matrix("A"));
    ApplyOperandSettings(a, *c, "");
    a.Inv(TypeNamed(c->Param("t")));
    EXPECT_EQ(a.ErrorText(), "");
    EXPECT_EQ(a.LapackStatus(), 0);
    const double n = a.Rows();
    EXPECT_TRUE(MtxNear(a, c->Matrix("R"), kMargin * 2.0 * 4.0 * n * kU * n * c->Matrix("K").At(0, 0).Re));
  }
}

TEST(MtxOracle, LeastSquares) {
  for (const TOracleCase* c : OracleCases("lsq")) {
    SCOPED_TRACE(c->Name);
    TMtx a;
    Load(a, c->Matrix("A"));
    const TMtxOperation op = OperationNamed(c->Param("op"));
    const double n = std::max(a.Rows(), a.Cols()), K = c->Matrix("K2").At(0, 0).Re;
    // The 2-norm error, sqrt(n) times the largest element's.
    const double tol = kMargin * 2.0 * 4.0 * n * kU * (K + K * K * c->Matrix("RN").At(0, 0).Re) * std::sqrt(n);
    if (c->Param("form") == "vec") {
      TVec b, x;
      Load(b, c->Matrix("B"));
      a.LQRSolve(b, x, nullptr, op);
      EXPECT_TRUE(VecNear(x, c->Matrix("X"), tol));
    } else {
      TMtx b, x;
      Load(b, c->Matrix("B"));
      a.LQRSolve(b, x, nullptr, op);
      EXPECT_TRUE(MtxNear(x, c->Matrix("X"), tol));
    }
    EXPECT_EQ(a.ErrorText(), "");
  }
}

// The forward error of each column of X against the exact solution, as
// LAPACK bounds it: max |x - exact| / max |x|.
double LargestForwardError(const TMtx& x, const testutil::TOracleMatrix& exact) {
  double worst = 0.0;
  for (std::int32_t j = 0; j < x.Cols(); ++j) {
    double err = 0.0, size = 0.0;
    for (std::int32_t i = 0; i < x.Rows(); ++i) {
      const TCplx a = testutil::Element(x, i, j), e = exact.At(i, j);
      // LAPACK measures with |re| + |im| for complex vectors.
      err = std::max(err, std::fabs(a.Re - e.Re) + std::fabs(a.Im - e.Im));
      size = std::max(size, std::fabs(a.Re) + std::fabs(a.Im));
    }
    worst = std::max(worst, err / size);
  }
  return worst;
}

TEST(MtxOracle, LinearSystems) {
  for (const TOracleCase* c : OracleCases("solve")) {
    SCOPED_TRACE(c->Name);
    TMtx a, b, x;
    Load(a, c->Matrix("A"));
    Load(b, c->Matrix("B"));
    a.SetTriangleForm(FormNamed(c->Param("f")));
    a.SetTriangleUnit(c->IntParam("u") != 0);
    a.SetSubDiag(c->IntParam("kl"));
    a.SetSuperDiag(c->IntParam("ku"));
    a.SetRefineSolution(c->IntParam("refine") != 0);
    const std::string cn = c->Param("cn", "cnNone");
    a.SetConditionNumber(cn == "cnNorm1" ? cnNorm1 : cn == "cnNormInf" ? cnNormInf : cnNone);
    const TMtxType type = TypeNamed(c->Param("t"));
    const TMtxOperation op = OperationNamed(c->Param("op"));
    if (b.Cols() == 1) {
      TVec bv, xv;
      bv.CopyFromMtx(b);
      a.LinSolve(bv, xv, type, op);
      x.CopyFromVec(xv, xv.Length());
    } else {
      a.LinSolve(b, x, type, op);
    }
    EXPECT_EQ(a.ErrorText(), "");
    // The order: Cols, which a band's storage keeps; complex errors are measured
    // in |re| + |im|, within sqrt(2) of the modulus.
    const double n = a.Cols(), kappa = c->Matrix("KI").At(0, 0).Re;
    const double solveBound = kMargin * 4.0 * n * kU * kappa;
    if (c->Has("XE")) {
      EXPECT_LE(LargestForwardError(x, c->Matrix("XE")), std::sqrt(2.0) * solveBound);
    } else {
      EXPECT_TRUE(MtxNear(x, c->Matrix("X"), 2.0 * solveBound));
    }
    if (a.RefineSolution()) {
      const double n = a.Rows();
      // Refinement ends when the backward error reaches the rounding level.
      EXPECT_LE(a.BackwardError(), 2 * n * EPS);
      EXPECT_GE(a.ForwardError(), LargestForwardError(x, c->Matrix("XE")));
      if (c->Has("FE")) {
        // The same bound as LAPACK's own driver gives, within the estimate's play.
        const double fe = c->Matrix("FE").At(0, 0).Re;
        EXPECT_LE(a.ForwardError(), 4 * fe);
        EXPECT_GE(a.ForwardError(), fe / 4);
      }
    }
    if (c->Has("RT")) {
      // The estimate is computed from factors that are exact for a matrix
      // within 4 n u of A, which moves the norm of the inverse by 4 n u times
      // the condition (1 / RT), on either side.
      const double rt = c->Matrix("RT").At(0, 0).Re;
      const double moved = kMargin * 2.0 * 4.0 * n * kU / rt;
      if (c->Has("RC")) {
        EXPECT_TRUE(orvel::testing::NearRel(a.RCond(), c->Matrix("RC").At(0, 0).Re, moved));
      }
      // The estimate never exceeds the norm of the inverse: the reciprocal is
      // at least the true one, and in practice within a small factor of it.
      EXPECT_GE(a.RCond(), rt * (1 - moved));
      EXPECT_LE(a.RCond(), 10 * rt);
    }
  }
}

}  // namespace
}  // namespace numeric
