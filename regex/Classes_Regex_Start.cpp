// Start analysis of a compiled program: the characters a match can begin
// with, a required first character, the anchor and a required literal; and
// the index of the loops built from OpBranch/OpBack, which the matcher needs
// to stop a loop whose iteration matched empty text.
// Tested by: regex/tests/RegexCompileTest.cpp (start dumps), RegexMatchTest.cpp.
#include "regex/Classes_Regex.h"
#include "regex/RegexProgram.h"

namespace regex {
namespace {

int NextNode(const std::vector<std::uint8_t>& program, int node) {
  std::int32_t offset = ReadInt32(&program[static_cast<std::size_t>(node) + 1]);
  return offset == 0 ? -1 : node + offset;
}

}  // namespace

void TRegex::AnalyseStart(bool startsWithRepeat) {
  FFirstCharSet.fill(false);
  FillFirstCharSet(1);
  FFirstChar = -1;
  FAnchored = false;
  FRequired.clear();
  const int first = 1;
  const int next = NextNode(FProgram, first);
  if (next < 0 || FProgram[static_cast<std::size_t>(next)] != OpEnd) return;  // several alternatives
  int scan = first + NodeHeaderSize;
  const std::uint8_t op = FProgram[static_cast<std::size_t>(scan)];
  if (op == OpLiteral) {
    FFirstChar = LiteralText(&FProgram[static_cast<std::size_t>(scan)])[0];
  } else if (op == OpLineStart) {
    FAnchored = true;
  }
  if (!startsWithRepeat) return;
  std::int32_t longest = 0;
  const std::uint8_t* best = nullptr;
  for (; scan >= 0; scan = NextNode(FProgram, scan)) {
    const std::uint8_t* n = &FProgram[static_cast<std::size_t>(scan)];
    if (n[0] != OpLiteral) continue;
    const std::int32_t length = LiteralLength(n);
    if (length >= longest) {
      longest = length;
      best = LiteralText(n);
    }
  }
  if (best != nullptr) FRequired.assign(reinterpret_cast<const char*>(best), static_cast<std::size_t>(longest));
}

// Walks from a node to every node that can consume the first character of a
// match. Each node is visited once, so sequences of optional pieces stay
// linear and the walk needs no recursion.
void TRegex::FillFirstCharSet(int start) {
  const std::vector<std::uint8_t>& p = FProgram;
  std::vector<bool> visited(p.size(), false);
  std::vector<int> pending{start};
  auto addAll = [this] { FFirstCharSet.fill(true); };
  while (!pending.empty()) {
    int node = pending.back();
    pending.pop_back();
    while (node >= 0 && !visited[static_cast<std::size_t>(node)]) {
      visited[static_cast<std::size_t>(node)] = true;
      const std::uint8_t* n = &p[static_cast<std::size_t>(node)];
      const std::uint8_t* operand = n + NodeHeaderSize;
      const std::uint8_t op = n[0];
      int next = NextNode(p, node);
      switch (op) {
        case OpLiteral:
          FFirstCharSet[LiteralText(n)[0]] = true;
          next = -1;
          break;
        case OpLiteralNoCase:
          FFirstCharSet[LiteralText(n)[0]] = true;
          FFirstCharSet[InvertCase(LiteralText(n)[0])] = true;
          next = -1;
          break;
        case OpAnyOfSmall:
          for (int i = 0; i < SmallSetSize; ++i) FFirstCharSet[operand[i]] = true;
          next = -1;
          break;
        case OpAnyButSmall:
          for (int c = 0; c < 256; ++c) {
            if (c != operand[0] && c != operand[1] && c != operand[2]) FFirstCharSet[c] = true;
          }
          next = -1;
          break;
        case OpAnyOfSet:
          for (int c = 0; c < 256; ++c) {
            if (SetHas(operand, static_cast<unsigned char>(c))) FFirstCharSet[c] = true;
          }
          next = -1;
          break;
        case OpDigit:
        case OpNotDigit:
          for (int c = 0; c < 256; ++c) {
            if ((c >= '0' && c <= '9') == (op == OpDigit)) FFirstCharSet[c] = true;
          }
          next = -1;
          break;
        case OpBranch:
          if (next >= 0 && p[static_cast<std::size_t>(next)] == OpBranch) {
            for (int b = node; b >= 0 && p[static_cast<std::size_t>(b)] == OpBranch; b = NextNode(p, b)) {
              pending.push_back(b + NodeHeaderSize);
            }
            next = -1;
          } else {
            next = node + NodeHeaderSize;
          }
          break;
        case OpStar:
        case OpStarLazy:
          pending.push_back(node + NodeHeaderSize);
          break;
        case OpPlus:
        case OpPlusLazy:
          pending.push_back(node + NodeHeaderSize);
          next = -1;
          break;
        case OpRange:
        case OpRangeLazy:
          pending.push_back(node + NodeHeaderSize + RangeOperandSize);
          if (ReadInt32(operand) != 0) next = -1;
          break;
        case OpLoopEntry:
          break;
        case OpLoop:
        case OpLoopLazy:
          pending.push_back(node + ReadInt32(operand + 8));
          if (ReadInt32(operand) != 0) next = -1;
          break;
        case OpLineStart:
        case OpLineStartMulti:
        case OpWordBoundary:
        case OpNotWordBoundary:
        case OpBack:
        case OpNothing:
        case OpComment:
          break;
        case OpLineEnd:
          FFirstCharSet[0] = true;
          next = -1;
          break;
        case OpLineEndMulti:
          // A multi-line end can hold before any separator, also when only an
          // inline (?m) made it multi-line.
          FFirstCharSet[0] = true;
          for (char c : FLineSeparatorChars) FFirstCharSet[static_cast<unsigned char>(c)] = true;
          if (FPairSet) FFirstCharSet[FPair1] = true;
          next = -1;
          break;
        case OpEnd:
        case OpAnyChar:
        case OpAnyCharNoLineSep:
        case OpBackRef:
        case OpBackRefNoCase:
          addAll();
          return;
        default:
          if (IsOpenCode(op) || IsCloseCode(op)) break;
          Fail(reMemoryCorruption);
      }
      node = next;
    }
  }
}

// Finds the loops of starred and plussed complex atoms. A star loop's OpBack
// leads back to its OpBranch; a plus loop's OpBack is the alternative of the
// OpBranch that follows the atom. Both branches get a loop number.
void TRegex::IndexLoops() {
  const std::vector<std::uint8_t>& p = FProgram;
  FLoopIndex.assign(p.size(), -1);
  FLoopIsPlus.clear();
  for (std::size_t node = 1; node < p.size();) {
    const std::uint8_t* n = &p[node];
    if (n[0] == OpBack) {
      const std::size_t target = node + static_cast<std::size_t>(static_cast<std::ptrdiff_t>(ReadInt32(n + 1)));
      if (p[target] == OpBranch) {
        FLoopIndex[target] = static_cast<std::int32_t>(FLoopIsPlus.size());
        FLoopIsPlus.push_back(false);
      } else {
        FLoopIndex[node - NodeHeaderSize] = static_cast<std::int32_t>(FLoopIsPlus.size());
        FLoopIsPlus.push_back(true);
      }
    }
    node += static_cast<std::size_t>(NodeHeaderSize + OperandSize(n));
  }
  FLoopMarks.assign(FLoopIsPlus.size(), -1);
}

}  // namespace regex

