// Vectors for the tests of the vector operations: filled in place (TVec is
// not copyable), or made on the heap to stand as an argument: *Real({...}).
#pragma once

#include <algorithm>
#include <memory>
#include <vector>

#include "numeric/Numora.h"

namespace numeric::testutil {

inline TVec& Set(TVec& v, std::vector<double> values) { return v.SetIt(false, values); }
// Complex elements as re, im pairs.
inline TVec& SetC(TVec& v, std::vector<double> pairs) { return v.SetIt(true, pairs); }
// Complex elements as complex numbers.
inline TVec& SetCplx(TVec& v, const std::vector<TCplx>& values) {
  v.Size(static_cast<std::int32_t>(values.size()), true);
  std::copy(values.begin(), values.end(), v.CValues());
  return v;
}

inline std::unique_ptr<TVec> Real(std::vector<double> values) {
  auto v = std::make_unique<TVec>();
  Set(*v, values);
  return v;
}

inline std::unique_ptr<TVec> Cplx(std::vector<double> pairs) {
  auto v = std::make_unique<TVec>();
  SetC(*v, pairs);
  return v;
}

// The doubles of the vector (complex: re, im pairs).
inline std::vector<double> DoublesOf(const TVec& v) {
  return std::vector<double>(v.Values(), v.Values() + v.DoubleLength());
}

}  // namespace numeric::testutil
