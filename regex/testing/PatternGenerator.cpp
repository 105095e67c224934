// Random expressions in both syntaxes, and subjects over the same alphabet.
// Tested by: regex/tests/RegexPerlTest.cpp.
//
// The generator tracks the modifiers in force at each point (the object's,
// changed by "(?...)" groups up to the end of the enclosing group) and renders
// each atom for Perl with the meaning it has here, so the Perl pattern needs no
// modifiers of its own. It only builds expressions this engine accepts: a
// "*", "+" or brace only after a piece that always consumes a character.
#include "regex/testing/PatternGenerator.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <vector>

#include "regex/RegexCase1251.h"

namespace regex::testlib {
namespace {

constexpr std::uint32_t Cp1251High[128] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 0x88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0xFFFD, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 0x98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // 0xA0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // 0xA8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // 0xB0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // 0xB8
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,  // 0xC0
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,  // 0xC8
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,  // 0xD0
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,  // 0xD8
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,  // 0xE0
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,  // 0xE8
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,  // 0xF0
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,  // 0xF8
};

const char* const Meta = "^$.[()|?+*\\{";
const char* const WordChars = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_";
const char* const SpaceChars = " \t\n\r\f";
const unsigned char Cyrillic[] = {0xE0, 0xE1, 0xFF, 0xC0, 0xDF, 0xB8, 0xA8, 0xA2, 0xA1};
// Letters whose escape means the letter itself here (and something else or
// nothing in Perl, which gets the plain letter).
const char* const PlainEscapeLetters = "cghijklmopquvyzCEFGHIJKLMNOPQRTUVXY";

bool IsMeta(unsigned char c) { return c != 0 && std::strchr(Meta, c) != nullptr; }

std::string Hex(std::uint32_t v) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%X", v);
  return buffer;
}

// One character in Perl syntax.
std::string PerlChar(unsigned char c) {
  if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
    return std::string(1, static_cast<char>(c));
  }
  return "\\x{" + Hex(Cp1251ToUnicode(c)) + "}";
}

// A Perl class of exactly these bytes (as Unicode characters).
std::string PerlClass(const std::vector<bool>& members, bool negated) {
  std::vector<std::uint32_t> codes;
  for (int c = 0; c < 256; ++c) {
    if (members[static_cast<std::size_t>(c)]) codes.push_back(Cp1251ToUnicode(static_cast<unsigned char>(c)));
  }
  std::sort(codes.begin(), codes.end());
  std::string out = negated ? "[^" : "[";
  for (std::size_t i = 0; i < codes.size();) {
    std::size_t j = i;
    while (j + 1 < codes.size() && codes[j + 1] == codes[j] + 1) ++j;
    out += "\\x{" + Hex(codes[i]) + "}";
    if (j > i) out += "-\\x{" + Hex(codes[j]) + "}";
    i = j + 1;
  }
  return out + "]";
}

std::vector<bool> MembersOf(const char* chars) {
  std::vector<bool> m(256, false);
  for (const char* p = chars; *p; ++p) m[static_cast<unsigned char>(*p)] = true;
  return m;
}

std::string ControlEscape(unsigned char c) {
  switch (c) {
    case '\t': return "\\t";
    case '\n': return "\\n";
    case '\r': return "\\r";
    case '\f': return "\\f";
    default: return std::string();
  }
}

const std::string PerlWord = "[0-9A-Za-z_]";

}  // namespace

std::uint32_t Cp1251ToUnicode(unsigned char c) { return c < 0x80 ? c : Cp1251High[c - 0x80]; }

struct TPatternGenerator::TState {
  TRegex::TModifiers M;
  int Depth = 0;
};

struct TPatternGenerator::TPiece {
  std::string Ours;
  std::string Perl;
  bool Width = false;       // always consumes a character
  bool Quantifiable = true; // may take "?" (and "*", "+", braces when it has width)
  bool BraceText = false;   // raw "{...}" literal text
};

int TPatternGenerator::Uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(FRandom); }

bool TPatternGenerator::Chance(double p) { return std::uniform_real_distribution<double>(0, 1)(FRandom) < p; }

unsigned char TPatternGenerator::AlphabetChar() {
  int roll = Uniform(0, 99);
  if (roll < 50) return static_cast<unsigned char>("abAB"[Uniform(0, 3)]);
  if (roll < 65) return static_cast<unsigned char>("01-_ "[Uniform(0, 4)]);
  if (roll < 72) return static_cast<unsigned char>("\n\r"[Uniform(0, 1)]);
  if (roll < 90) return Cyrillic[Uniform(0, static_cast<int>(sizeof Cyrillic) - 1)];
  const char* specials = "^$.[()|?+*\\{}]#\t";
  return static_cast<unsigned char>(specials[Uniform(0, static_cast<int>(std::strlen(specials)) - 1)]);
}

TGeneratedPattern TPatternGenerator::NextPattern() {
  TGeneratedPattern out;
  TState state;
  state.M.I = Chance(0.2);
  state.M.R = Chance(0.8);
  state.M.S = Chance(0.75);
  state.M.G = Chance(0.85);
  state.M.M = Chance(0.25);
  state.M.X = Chance(0.15);
  out.Modifiers = state.M;
  bool width = false;
  std::string perl;
  for (int attempt = 0; attempt < 8; ++attempt) {
    TState s = state;
    out.Groups = 0;
    out.Alphabet.clear();
    perl.clear();
    out.Expression = Alternatives(s, out, perl, width);
    if (!out.Expression.empty()) break;  // an empty expression is no expression
  }
  if (out.Expression.empty()) {
    out.Expression = "a";
    perl = "a";
    out.Alphabet = "a";
  }
  out.Perl = perl;
  return out;
}

std::string TPatternGenerator::Alternatives(TState& state, TGeneratedPattern& out, std::string& perl,
                                            bool& width) {
  const int count = Chance(0.7) ? 1 : Uniform(2, 3);
  std::string ours;
  width = true;
  for (int i = 0; i < count; ++i) {
    if (i > 0) {
      ours += '|';
      perl += '|';
    }
    bool branchWidth = false;
    ours += Sequence(state, out, perl, branchWidth);
    width = width && branchWidth;
  }
  return ours;
}

std::string TPatternGenerator::Sequence(TState& state, TGeneratedPattern& out, std::string& perl, bool& width) {
  const int count = Chance(0.08) ? 0 : Uniform(1, 4);
  std::string ours;
  width = false;
  bool braceTextAllowed = true;
  for (int i = 0; i < count; ++i) {
    const bool extended = state.M.X;
    TPiece piece = Atom(state, out, braceTextAllowed);
    if (extended && !piece.BraceText && Chance(0.3)) {
      static const char* const separators[] = {" ", "  ", "\t", "\n", "#c\n", "# x{1}\r\n"};
      ours += separators[Uniform(0, 5)];
    }
    ours += piece.Ours;
    perl += piece.Perl;
    bool pieceWidth = piece.Width;
    bool quantified = false;
    if (piece.Quantifiable && Chance(piece.Width ? 0.3 : 0.1)) {
      quantified = true;
      int kind = piece.Width ? Uniform(0, 5) : 2;
      std::string q;
      switch (kind) {
        case 0: q = "*"; pieceWidth = false; break;
        case 1: q = "+"; break;
        case 2: q = "?"; pieceWidth = false; break;
        case 3: {
          int n = Uniform(0, 3);
          q = "{" + std::to_string(n) + "}";
          pieceWidth = n > 0;
          break;
        }
        case 4: {
          int n = Uniform(0, 2);
          q = "{" + std::to_string(n) + ",}";
          pieceWidth = n > 0;
          break;
        }
        default: {
          int n = Uniform(0, 2);
          q = "{" + std::to_string(n) + "," + std::to_string(n + Uniform(0, 2)) + "}";
          pieceWidth = n > 0;
          break;
        }
      }
      const bool lazySuffix = Chance(0.3);
      ours += q + (lazySuffix ? "?" : "");
      if (q == "{0}" || q == "{0,0}") {
        // Perl 5.36 matches X{0} once in a UTF-8 string; never matching X is
        // written without the count.
        perl.resize(perl.size() - piece.Perl.size());
        perl += "(?:(?!)" + piece.Perl + ")?";
      } else {
        perl += q + (lazySuffix || !state.M.G ? "?" : "");
      }
    }
    width = width || pieceWidth;
    braceTextAllowed = !quantified && piece.Width;
  }
  return ours;
}

TPatternGenerator::TPiece TPatternGenerator::Atom(TState& state, TGeneratedPattern& out, bool braceTextAllowed) {
  TPiece piece;
  const int roll = Uniform(0, 99);
  auto literal = [&](unsigned char c) {
    out.Alphabet += static_cast<char>(c);
    std::string control = ControlEscape(c);
    if (IsMeta(c)) {
      piece.Ours = std::string("\\") + static_cast<char>(c);
    } else if (state.M.X && (c == ' ' || c == '#' || c == '\t' || c == '\n' || c == '\r')) {
      piece.Ours = control.empty() ? std::string("\\") + static_cast<char>(c) : control;
    } else if (!control.empty() && Chance(0.5)) {
      piece.Ours = control;
    } else {
      piece.Ours = std::string(1, static_cast<char>(c));
    }
    piece.Perl = state.M.I ? "(?i:" + PerlChar(c) + ")" : PerlChar(c);
    piece.Width = true;
  };

  if (roll < 36) {
    literal(AlphabetChar());
  } else if (roll < 41) {
    // A character escape.
    unsigned char c;
    switch (Uniform(0, 5)) {
      case 0: {
        static const std::pair<const char*, unsigned char> named[] = {
            {"\\t", 9}, {"\\n", 10}, {"\\r", 13}, {"\\f", 12}, {"\\a", 7}, {"\\e", 27}};
        const auto& e = named[Uniform(0, 5)];
        piece.Ours = e.first;
        c = e.second;
        break;
      }
      case 1:
        c = AlphabetChar();
        piece.Ours = "\\x" + std::string(c < 16 ? "0" : "") + Hex(c);
        break;
      case 2:
        c = AlphabetChar();
        piece.Ours = "\\x{" + std::string(static_cast<std::size_t>(Uniform(0, 2)), '0') + Hex(c) + "}";
        break;
      case 3:
        c = static_cast<unsigned char>(PlainEscapeLetters[Uniform(0, static_cast<int>(std::strlen(PlainEscapeLetters)) - 1)]);
        piece.Ours = std::string("\\") + static_cast<char>(c);
        break;
      case 4:
        c = '0';
        piece.Ours = "\\0";
        break;
      default:
        c = static_cast<unsigned char>(Meta[Uniform(0, static_cast<int>(std::strlen(Meta)) - 1)]);
        piece.Ours = std::string("\\") + static_cast<char>(c);
        break;
    }
    out.Alphabet += static_cast<char>(c);
    piece.Perl = state.M.I ? "(?i:" + PerlChar(c) + ")" : PerlChar(c);
    piece.Width = true;
  } else if (roll < 49) {
    piece.Ours = ".";
    piece.Perl = state.M.S ? "(?s:.)" : "[^\\x{A}\\x{D}]";
    piece.Width = true;
  } else if (roll < 61) {
    piece = CharClass(state, out);
  } else if (roll < 67) {
    static const char* const names = "dDwWsS";
    const char name = names[Uniform(0, 5)];
    piece.Ours = std::string("\\") + name;
    const bool negated = name >= 'A' && name <= 'Z';
    const char lower = static_cast<char>(negated ? name - 'A' + 'a' : name);
    const char* chars = lower == 'd' ? "0123456789" : lower == 'w' ? WordChars : SpaceChars;
    piece.Perl = PerlClass(MembersOf(chars), negated);
    piece.Width = true;
  } else if (roll < 73) {
    const bool multi = state.M.M;
    switch (Uniform(0, 5)) {
      case 0:
        piece.Ours = "^";
        piece.Perl = multi ? "(?:\\A|(?<=\\x{A})|(?<=\\x{D})(?!\\x{A}))" : "(?:\\A)";
        break;
      case 1:
        piece.Ours = "$";
        piece.Perl = multi ? "(?:\\z|(?=\\x{D})|(?<!\\x{D})(?=\\x{A}))" : "(?:\\z)";
        break;
      case 2:
        piece.Ours = "\\A";
        piece.Perl = "(?:\\A)";
        break;
      case 3:
        piece.Ours = "\\Z";
        piece.Perl = "(?:\\z)";
        break;
      case 4:
        piece.Ours = "\\b";
        piece.Perl = "(?:(?<=" + PerlWord + ")(?!" + PerlWord + ")|(?<!" + PerlWord + ")(?=" + PerlWord + "))";
        break;
      default:
        piece.Ours = "\\B";
        piece.Perl = "(?:(?<=" + PerlWord + ")(?=" + PerlWord + ")|(?<!" + PerlWord + ")(?!" + PerlWord + "))";
        break;
    }
  } else if (roll < 85 && state.Depth < 3 && out.Groups < 9) {
    ++out.Groups;
    TState inner = state;
    ++inner.Depth;
    std::string perl;
    bool width = false;
    piece.Ours = "(" + Alternatives(inner, out, perl, width) + ")";
    piece.Perl = "(" + perl + ")";
    piece.Width = width;
  } else if (roll < 90 && out.Groups > 0) {
    const int n = Uniform(1, out.Groups);
    piece.Ours = "\\" + std::to_string(n);
    piece.Perl = state.M.I ? "(?i:\\g{" + std::to_string(n) + "})" : "\\g{" + std::to_string(n) + "}";
    piece.Width = true;
  } else if (roll < 94) {
    // Modifier letters; they hold to the end of the enclosing group.
    static const char* const letters = "irsgmx";
    std::string on, off;
    TRegex::TModifiers& m = state.M;
    bool* flags[] = {&m.I, &m.R, &m.S, &m.G, &m.M, &m.X};
    for (int k = 0; k < 6; ++k) {
      if (!Chance(0.3)) continue;
      char letter = letters[k];
      if (Chance(0.3)) letter = static_cast<char>(letter - 'a' + 'A');
      if (Chance(0.6)) {
        on += letter;
        *flags[k] = true;
      } else {
        off += letter;
      }
    }
    for (int k = 0; k < 6; ++k) {
      if (off.find(letters[k]) != std::string::npos || off.find(static_cast<char>(letters[k] - 'a' + 'A')) != std::string::npos) {
        *flags[k] = false;
      }
    }
    piece.Ours = "(?" + on + (off.empty() ? "" : "-" + off) + ")";
    piece.Quantifiable = false;
  } else if (roll < 96) {
    piece.Ours = Chance(0.5) ? "(?#note)" : "(?# a{2}[|)";
    piece.Quantifiable = false;
  } else if (braceTextAllowed) {
    // A "{" that does not form a brace is literal text ("{,n}" included).
    static const char* const texts[] = {"{,2}", "{,}", "{a}", "{1,a}", "{,12}"};
    piece.Ours = texts[Uniform(0, 4)];
    for (char c : piece.Ours) {
      piece.Perl += state.M.I ? "(?i:" + PerlChar(static_cast<unsigned char>(c)) + ")"
                              : PerlChar(static_cast<unsigned char>(c));
      out.Alphabet += c;
    }
    piece.Width = true;
    piece.BraceText = true;
    piece.Quantifiable = false;
  } else {
    literal(AlphabetChar());
  }
  return piece;
}

TPatternGenerator::TPiece TPatternGenerator::CharClass(TState& state, TGeneratedPattern& out) {
  TPiece piece;
  std::vector<bool> members(256, false);
  auto add = [&](unsigned char c) { members[c] = true; };
  auto member = [&](unsigned char c) {
    if (c == ']' || c == '\\' || c == '^' || c == '-') return std::string("\\") + static_cast<char>(c);
    std::string control = ControlEscape(c);
    if (!control.empty()) return control;
    return std::string(1, static_cast<char>(c));
  };
  const bool negated = Chance(0.25);
  std::string ours = negated ? "[^" : "[";
  const int count = Uniform(1, 4);
  for (int i = 0; i < count; ++i) {
    const int roll = Uniform(0, 99);
    if (roll < 45) {
      unsigned char c = Chance(0.15) ? static_cast<unsigned char>("]-^\\"[Uniform(0, 3)]) : AlphabetChar();
      ours += member(c);
      add(c);
      out.Alphabet += static_cast<char>(c);
    } else if (roll < 70) {
      unsigned char lo = AlphabetChar();
      unsigned char hi = AlphabetChar();
      if (hi < lo) std::swap(lo, hi);
      const bool russian = (lo == 0xE0 && (hi == 0xFF || hi == 0xDF)) || (lo == 0xC0 && hi == 0xDF);
      if (russian && state.M.R) hi = lo;  // the Russian ranges are generated on purpose below
      ours += member(lo) + "-" + member(hi);
      for (int c = lo; c <= hi; ++c) add(static_cast<unsigned char>(c));
      out.Alphabet += static_cast<char>(lo);
      out.Alphabet += static_cast<char>(hi);
    } else if (roll < 82) {
      const char name = "dsw"[Uniform(0, 2)];
      ours += std::string("\\") + name;
      const char* chars = name == 'd' ? "0123456789" : name == 'w' ? WordChars : SpaceChars;
      for (const char* p = chars; *p; ++p) add(static_cast<unsigned char>(*p));
    } else if (roll < 88) {
      // Inside a set these escapes are plain letters.
      const char letter = "DSWb"[Uniform(0, 3)];
      ours += std::string("\\") + letter;
      add(static_cast<unsigned char>(letter));
      out.Alphabet += letter;
    } else {
      // а-я, А-Я and а-Я: with r on the alphabets with Ё/ё, with r off code ranges.
      int kind = Uniform(0, state.M.R ? 2 : 1);
      const unsigned char lo = kind == 1 ? 0xC0 : 0xE0;
      const unsigned char hi = kind == 0 ? 0xFF : 0xDF;
      ours += std::string(1, static_cast<char>(lo)) + "-" + std::string(1, static_cast<char>(hi));
      if (state.M.R) {
        if (kind != 1) {
          for (int c = 0xE0; c <= 0xFF; ++c) add(static_cast<unsigned char>(c));
          add(0xB8);
        }
        if (kind != 0) {
          for (int c = 0xC0; c <= 0xDF; ++c) add(static_cast<unsigned char>(c));
          add(0xA8);
        }
      } else {
        for (int c = lo; c <= hi; ++c) add(static_cast<unsigned char>(c));
      }
    }
  }
  ours += "]";
  piece.Ours = ours;
  const std::string perl = PerlClass(members, negated);
  piece.Perl = state.M.I ? "(?i:" + perl + ")" : perl;
  piece.Width = true;
  return piece;
}

std::string TPatternGenerator::NextSubject(const TGeneratedPattern& pattern) {
  const int length = Chance(0.1) ? Uniform(0, 30) : Uniform(0, 12);
  std::string s;
  for (int i = 0; i < length; ++i) {
    unsigned char c;
    if (!pattern.Alphabet.empty() && Chance(0.7)) {
      c = static_cast<unsigned char>(pattern.Alphabet[static_cast<std::size_t>(
          Uniform(0, static_cast<int>(pattern.Alphabet.size()) - 1))]);
    } else {
      c = AlphabetChar();
    }
    if (c == 0) c = 'a';
    if (Chance(0.1)) c = UpperCase1251(c) != c ? UpperCase1251(c) : LowerCase1251(c);
    s += static_cast<char>(c);
  }
  return s;
}

std::int32_t TPatternGenerator::NextOffset(const std::string& subject) {
  if (Chance(0.85)) return 1;
  return Uniform(1, static_cast<int>(subject.size()) + 1);
}

}  // namespace regex::testlib
