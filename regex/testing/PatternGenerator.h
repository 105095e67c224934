// Random expressions and subjects for the differential test against Perl.
// Each pattern is produced twice: in TRegex syntax (Windows-1251 bytes, under
// the object's modifiers) and as a Perl pattern with the same meaning, in
// which every difference listed in regex/tests/PerlDifferences.md is
// translated away (anchors, dot, \w \s \d \b, Russian ranges, greediness,
// extended syntax, case scopes).
// Tested by: regex/tests/RegexPerlTest.cpp.
#pragma once

#include <cstdint>
#include <random>
#include <string>

#include "regex/Classes_Regex.h"

namespace regex::testlib {

struct TGeneratedPattern {
  std::string Expression;        // for TRegex
  std::string Perl;              // for Perl's qr//u, ASCII only
  TRegex::TModifiers Modifiers;  // the object's modifiers
  int Groups = 0;
  std::string Alphabet;          // literal characters of the pattern, for subjects
};

class TPatternGenerator {
 public:
  explicit TPatternGenerator(std::uint64_t seed) : FRandom(seed) {}

  TGeneratedPattern NextPattern();
  std::string NextSubject(const TGeneratedPattern& pattern);
  // A 1-based start offset for a subject: mostly 1.
  std::int32_t NextOffset(const std::string& subject);

 private:
  struct TState;
  struct TPiece;
  std::string Alternatives(TState& state, TGeneratedPattern& out, std::string& perl, bool& width);
  std::string Sequence(TState& state, TGeneratedPattern& out, std::string& perl, bool& width);
  TPiece Atom(TState& state, TGeneratedPattern& out, bool braceTextAllowed);
  TPiece CharClass(TState& state, TGeneratedPattern& out);
  unsigned char AlphabetChar();
  int Uniform(int lo, int hi);
  bool Chance(double p);

  std::mt19937_64 FRandom;
};

// Unicode code point of a Windows-1251 byte (0x98, unassigned, gives U+FFFD as Perl's decoder does).
std::uint32_t Cp1251ToUnicode(unsigned char c);

}  // namespace regex::testlib
