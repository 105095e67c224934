// Text dumps of the p-code and the start analysis.
// Tested by: regex/tests/RegexCompileTest.cpp.
#include "regex/testing/ProgramDump.h"

#include <cstdio>

#include "regex/RegexProgram.h"

namespace regex::testlib {
namespace {

std::string CharText(unsigned char c) {
  if (c > 0x20 && c < 0x7F && c != '\'' && c != '\\') return std::string(1, static_cast<char>(c));
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "\\x%02X", c);
  return buffer;
}

const char* OpName(std::uint8_t op) {
  switch (op) {
    case OpEnd: return "End";
    case OpLineStart: return "LineStart";
    case OpLineEnd: return "LineEnd";
    case OpAnyChar: return "AnyChar";
    case OpBranch: return "Branch";
    case OpBack: return "Back";
    case OpLiteral: return "Literal";
    case OpNothing: return "Nothing";
    case OpStar: return "Star";
    case OpPlus: return "Plus";
    case OpDigit: return "Digit";
    case OpNotDigit: return "NotDigit";
    case OpRange: return "Range";
    case OpComment: return "Comment";
    case OpLiteralNoCase: return "LiteralNoCase";
    case OpLoopEntry: return "LoopEntry";
    case OpLoop: return "Loop";
    case OpAnyOfSmall: return "AnyOfSmall";
    case OpAnyButSmall: return "AnyButSmall";
    case OpAnyOfSet: return "AnyOfSet";
    case OpBackRef: return "BackRef";
    case OpBackRefNoCase: return "BackRefNoCase";
    case OpStarLazy: return "StarLazy";
    case OpPlusLazy: return "PlusLazy";
    case OpRangeLazy: return "RangeLazy";
    case OpLoopLazy: return "LoopLazy";
    case OpLineStartMulti: return "LineStartMulti";
    case OpLineEndMulti: return "LineEndMulti";
    case OpAnyCharNoLineSep: return "AnyCharNoLineSep";
    case OpWordBoundary: return "WordBoundary";
    case OpNotWordBoundary: return "NotWordBoundary";
    default: return nullptr;
  }
}

}  // namespace

std::string DumpCharSet(const bool (&members)[256]) {
  std::string out;
  for (int c = 0; c < 256;) {
    if (!members[c]) {
      ++c;
      continue;
    }
    int last = c;
    while (last + 1 < 256 && members[last + 1]) ++last;
    out += CharText(static_cast<unsigned char>(c));
    if (last > c + 1) out += '-';
    if (last > c) out += CharText(static_cast<unsigned char>(last));
    c = last + 1;
  }
  return out;
}

std::string DumpProgram(const TRegex& r) {
  const std::vector<std::uint8_t>& p = TRegexInternals::Program(r);
  if (p.empty()) return "(no program)";
  std::string out;
  std::size_t node = 1;
  while (node < p.size()) {
    const std::uint8_t* n = &p[node];
    const std::uint8_t op = n[0];
    const std::uint8_t* operand = n + NodeHeaderSize;
    if (!out.empty()) out += ' ';
    out += std::to_string(node) + ':';
    if (IsOpenCode(op)) {
      out += "Open" + std::to_string(op - OpOpen);
    } else if (IsCloseCode(op)) {
      out += "Close" + std::to_string(op - OpClose);
    } else if (const char* name = OpName(op)) {
      out += name;
    } else {
      out += "?" + std::to_string(op);
      break;
    }
    switch (op) {
      case OpLiteral:
      case OpLiteralNoCase:
      case OpAnyOfSmall:
      case OpAnyButSmall: {
        const bool literal = op == OpLiteral || op == OpLiteralNoCase;
        const int length = literal ? LiteralLength(n) : SmallSetSize;
        const std::uint8_t* text = literal ? LiteralText(n) : operand;
        out += '\'';
        for (int i = 0; i < length; ++i) out += CharText(text[i]);
        out += '\'';
        break;
      }
      case OpRange:
      case OpRangeLazy:
        out += '{' + std::to_string(ReadInt32(operand)) + ',' + std::to_string(ReadInt32(operand + 4)) + '}';
        break;
      case OpLoop:
      case OpLoopLazy:
        out += '{' + std::to_string(ReadInt32(operand)) + ',' + std::to_string(ReadInt32(operand + 4)) + "}<-" +
               std::to_string(static_cast<std::int64_t>(node) + ReadInt32(operand + 8));
        break;
      case OpAnyOfSet: {
        bool members[256];
        for (int c = 0; c < 256; ++c) members[c] = SetHas(operand, static_cast<unsigned char>(c));
        out += '[' + DumpCharSet(members) + ']';
        break;
      }
      case OpBackRef:
      case OpBackRefNoCase:
        out += '\\' + std::to_string(operand[0]);
        break;
      default:
        break;
    }
    const std::int32_t next = ReadInt32(n + 1);
    if (next != 0) out += "->" + std::to_string(static_cast<std::int64_t>(node) + next);
    node += static_cast<std::size_t>(NodeHeaderSize + OperandSize(n));
  }
  return out;
}

std::string DumpStart(const TRegex& r) {
  std::string out;
  const int first = TRegexInternals::FirstChar(r);
  if (first >= 0) out += "first='" + CharText(static_cast<unsigned char>(first)) + "' ";
  if (TRegexInternals::Anchored(r)) out += "anchored ";
  const std::string& required = TRegexInternals::Required(r);
  if (!required.empty()) {
    out += "must='";
    for (char c : required) out += CharText(static_cast<unsigned char>(c));
    out += "' ";
  }
  bool members[256];
  const std::array<bool, 256>& set = TRegexInternals::FirstCharSet(r);
  for (int c = 0; c < 256; ++c) members[c] = set[static_cast<std::size_t>(c)];
  out += "set=[" + DumpCharSet(members) + ']';
  return out;
}

}  // namespace regex::testlib
