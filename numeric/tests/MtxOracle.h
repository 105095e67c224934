// The oracle table of the matrix tests, data/matrix_oracle.txt (made by
// data/gen_matrix_oracle.py from numpy and scipy): cases of named matrices
// and parameters, read once, and the comparisons the tests make with them.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "numeric/Numora.h"

namespace numeric::testutil {

struct TOracleMatrix {
  bool Complex = false;
  std::int32_t Rows = 0;
  std::int32_t Cols = 0;
  std::vector<double> Values;  // row order, complex as re, im pairs

  TCplx At(std::int32_t i, std::int32_t j) const {
    const std::size_t k = static_cast<std::size_t>(i) * Cols + j;
    return Complex ? TCplx{Values[2 * k], Values[2 * k + 1]} : TCplx{Values[k], 0.0};
  }
  double MaxModulus() const {
    double m = 0.0;
    for (std::int32_t i = 0; i < Rows; ++i)
      for (std::int32_t j = 0; j < Cols; ++j) m = std::max(m, std::hypot(At(i, j).Re, At(i, j).Im));
    return m;
  }
};

struct TOracleCase {
  std::string Family;
  std::string Name;
  std::map<std::string, std::string> Params;
  std::map<std::string, TOracleMatrix> Matrices;

  bool Has(const std::string& key) const { return Params.count(key) != 0 || Matrices.count(key) != 0; }
  std::string Param(const std::string& key, const std::string& fallback = "") const {
    const auto it = Params.find(key);
    return it == Params.end() ? fallback : it->second;
  }
  int IntParam(const std::string& key, int fallback = 0) const {
    const auto it = Params.find(key);
    return it == Params.end() ? fallback : std::stoi(it->second);
  }
  const TOracleMatrix& Matrix(const std::string& name) const {
    const auto it = Matrices.find(name);
    if (it == Matrices.end()) throw std::runtime_error("case " + Name + " has no matrix " + name);
    return it->second;
  }
};

inline std::vector<TOracleCase> ReadMatrixOracle() {
  std::ifstream file(std::string(ORVEL_TEST_SOURCE_DIR) + "/data/matrix_oracle.txt");
  std::vector<TOracleCase> cases;
  std::string line;
  while (std::getline(file, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream words(line);
    std::string first;
    words >> first;
    if (first == "case") {
      TOracleCase c;
      words >> c.Family >> c.Name;
      std::string kv;
      while (words >> kv) {
        const std::size_t eq = kv.find('=');
        c.Params[kv.substr(0, eq)] = kv.substr(eq + 1);
      }
      cases.push_back(std::move(c));
    } else if (first != "end") {
      TOracleMatrix m;
      std::string kind;
      words >> kind >> m.Rows >> m.Cols;
      m.Complex = kind == "c";
      double v;
      while (words >> v) m.Values.push_back(v);
      cases.back().Matrices[first] = std::move(m);
    }
  }
  return cases;
}

// The cases of one family, read once per process.
inline std::vector<const TOracleCase*> OracleCases(const std::string& family) {
  static const std::vector<TOracleCase> all = ReadMatrixOracle();
  std::vector<const TOracleCase*> result;
  for (const TOracleCase& c : all)
    if (c.Family == family) result.push_back(&c);
  return result;
}

inline TMtx& Load(TMtx& m, const TOracleMatrix& o) { return m.SetIt(o.Rows, o.Cols, o.Complex, o.Values); }

// A one-row or one-column table as a vector.
inline TVec& Load(TVec& v, const TOracleMatrix& o) { return v.SetIt(o.Complex, o.Values); }

inline TMtxType TypeNamed(const std::string& name) {
  static const std::map<std::string, TMtxType> types{{"mtSymmPosDef", mtSymmPosDef},
                                                     {"mtSymmetric", mtSymmetric},
                                                     {"mtHermPosDef", mtHermPosDef},
                                                     {"mtHermitian", mtHermitian},
                                                     {"mtTriangle", mtTriangle},
                                                     {"mtGeneral", mtGeneral},
                                                     {"mtBandSymmPosDef", mtBandSymmPosDef},
                                                     {"mtBandHermPosDef", mtBandHermPosDef},
                                                     {"mtBandGeneral", mtBandGeneral}};
  return types.at(name);
}

inline TMtxOperation OperationNamed(const std::string& name) {
  if (name.empty() || name == "opNone") return opNone;
  return name == "opTrans" ? opTrans : opHerm;
}

inline TTriangleForm FormNamed(const std::string& name, TTriangleForm fallback = tfUpper) {
  if (name.empty()) return fallback;
  return name == "tfLower" ? tfLower : tfUpper;
}

// Element (i, j) of a matrix of either kind as a complex number.
inline TCplx Element(const TMtx& m, std::int32_t i, std::int32_t j) {
  return m.Complex() ? m.CRowValues(i)[j] : TCplx{m.RowValues(i)[j], 0.0};
}

// Same shape and kind, and every element within Tol times the largest
// modulus of the expected matrix (the scale of the problem's rounding).
inline ::testing::AssertionResult MtxNear(const TMtx& actual, const TOracleMatrix& expected, double tol) {
  if (actual.Rows() != expected.Rows || actual.Cols() != expected.Cols || actual.Complex() != expected.Complex)
    return ::testing::AssertionFailure() << "shape " << actual.Rows() << "x" << actual.Cols()
                                         << (actual.Complex() ? " complex" : " real") << ", expected " << expected.Rows
                                         << "x" << expected.Cols << (expected.Complex ? " complex" : " real");
  const double scale = std::max(expected.MaxModulus(), 1e-300);
  double worst = 0.0;
  std::int32_t wi = 0, wj = 0;
  for (std::int32_t i = 0; i < expected.Rows; ++i)
    for (std::int32_t j = 0; j < expected.Cols; ++j) {
      const TCplx a = Element(actual, i, j), e = expected.At(i, j);
      const double err = std::hypot(a.Re - e.Re, a.Im - e.Im);
      if (!(err <= worst)) {
        worst = err;
        wi = i;
        wj = j;
      }
    }
  if (worst <= tol * scale) return ::testing::AssertionSuccess();
  std::ostringstream s;
  s.precision(17);
  s << "element (" << wi << ", " << wj << "): " << Element(actual, wi, wj).Re << " " << Element(actual, wi, wj).Im
    << ", expected " << expected.At(wi, wj).Re << " " << expected.At(wi, wj).Im << "; error " << worst / scale
    << " of the scale, tolerance " << tol;
  return ::testing::AssertionFailure() << s.str();
}

// The vector against a one-row or one-column table.
inline ::testing::AssertionResult VecNear(const TVec& actual, const TOracleMatrix& expected, double tol) {
  if (actual.Length() != expected.Rows * expected.Cols)
    return ::testing::AssertionFailure() << "length " << actual.Length() << ", expected "
                                         << expected.Rows * expected.Cols;
  TMtx m;
  m.SetIt(expected.Rows, expected.Cols, actual.Complex(),
          std::vector<double>(actual.Values(), actual.Values() + actual.DoubleLength()));
  return MtxNear(m, expected, tol);
}

}  // namespace numeric::testutil
