// Oracle tables of one case a line: fields separated by ';', the numbers of
// a field by blanks, a complex field as its real parts, '|', its imaginary
// parts. Used by the tables of data/gen_polynoms_oracle.py and
// data/gen_toeplitz_oracle.py.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "numeric/MathCore.h"

namespace numeric::testutil {

using TOracleFields = std::vector<std::string>;

// The lines of data/<name> below the test's source folder, split into fields. A missing or
// empty table throws: a test looping over no cases would pass without checking anything.
inline std::vector<TOracleFields> ReadOracleLines(const std::string& name) {
  const std::string path = std::string(ORVEL_TEST_SOURCE_DIR) + "/data/" + name;
  std::ifstream file(path);
  if (!file) throw std::runtime_error("oracle table cannot be read: " + path);
  std::vector<TOracleFields> cases;
  std::string line;
  while (std::getline(file, line)) {
    if (line.empty()) continue;
    TOracleFields fields;
    std::stringstream s(line);
    std::string field;
    while (std::getline(s, field, ';')) fields.push_back(field);
    if (!line.empty() && line.back() == ';') fields.emplace_back();
    cases.push_back(fields);
  }
  if (cases.empty()) throw std::runtime_error("oracle table is empty: " + path);
  return cases;
}

// The lines of a table whose first field is `tag`; a tag without lines throws for the same
// reason.
inline std::vector<TOracleFields> ReadOracleCases(const std::string& name, const std::string& tag) {
  std::vector<TOracleFields> out;
  for (auto& f : ReadOracleLines(name))
    if (!f.empty() && f[0] == tag) out.push_back(std::move(f));
  if (out.empty()) throw std::runtime_error("oracle table " + name + " has no case " + tag);
  return out;
}

inline std::vector<double> OracleNumbers(const std::string& field) {
  std::vector<double> numbers;
  std::stringstream s(field);
  std::string word;
  while (s >> word) numbers.push_back(std::strtod(word.c_str(), nullptr));
  return numbers;
}

// A complex field "re...|im..."; a field without '|' has zero imaginary parts.
inline std::vector<TCplx> OracleComplex(const std::string& field) {
  const std::size_t bar = field.find('|');
  const std::vector<double> re = OracleNumbers(field.substr(0, bar));
  const std::vector<double> im = bar == std::string::npos ? std::vector<double>(re.size(), 0.0)
                                                          : OracleNumbers(field.substr(bar + 1));
  std::vector<TCplx> values(re.size());
  for (std::size_t i = 0; i < re.size(); ++i) values[i] = TCplx{re[i], i < im.size() ? im[i] : 0.0};
  return values;
}

// Two fields of real and imaginary parts; an empty imaginary field is zeros.
inline std::vector<TCplx> OracleComplex(const std::string& reField, const std::string& imField) {
  const std::vector<double> re = OracleNumbers(reField);
  const std::vector<double> im = OracleNumbers(imField);
  std::vector<TCplx> values(re.size());
  for (std::size_t i = 0; i < re.size(); ++i) values[i] = TCplx{re[i], i < im.size() ? im[i] : 0.0};
  return values;
}

// The count numbers of a column from index from on.
inline std::vector<double> Slice(const std::vector<double>& v, std::size_t from, std::size_t count) {
  return std::vector<double>(v.begin() + static_cast<std::ptrdiff_t>(from),
                             v.begin() + static_cast<std::ptrdiff_t>(from + count));
}

// The largest magnitude of a column, the scale its tolerance is taken from.
inline double Largest(const std::vector<double>& v) {
  double m = 0;
  for (double x : v) m = std::max(m, std::fabs(x));
  return m;
}

}  // namespace numeric::testutil
