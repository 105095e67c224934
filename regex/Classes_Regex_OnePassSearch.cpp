// The search of a program that runs in one pass (its run steps are made by
// Classes_Regex_OnePass.cpp). The answers are those of the backtracker in
// every case; what differs is which starts are tried.
//
// Start by start. With one path per start, a failed start also rules out
// later ones. If the match begins with runs R1 .. Rk, nothing before them
// testing the start, each but the last of minimum 0, their classes pairwise
// apart and none of them bounded above, then a start q inside a run Ri that
// the failed start p read (Ri from x(i-1) to x(i)) passes R1 .. R(i-1) with
// nothing taken, takes Ri on to x(i) as p did, and from there on repeats
// p's failure. So the search goes on at the end of the last such run p read.
//
// From the pivot back. Where the program has a pivot step (FindRunPivot),
// every start between two places of the pivot character reaches the pivot,
// if at all, at the second of them, and from there on they all fare alike.
// Running the steps before the pivot backwards from that place gives the
// leftmost start that reaches it: each run's start follows from its end,
// since nothing before it ends with a character of its class, and the
// first runs, before which the match may start, are taken as far left as
// they go. That start is then run forwards: a match is the search's answer,
// a failure past the pivot rules out every start up to the pivot's place.
// So the search goes from one place of the pivot character to the next (a
// memchr), and reads each character a bounded number of times; with the
// line end for pivot it runs backwards once, from the end of the input.
//
// A program whose starts reread the same text (`x[a-z]*y` on "xxxx...")
// would be quadratic here: after a number of steps proportional to the
// input the search goes on by backtracking, where the memo of failed states
// bounds it.
// Tested by: regex/tests/RegexOnePassTest.cpp, RegexPerlTest.cpp, RegexSearchCostTest.cpp.
#include <algorithm>
#include <cstring>

#include "regex/Classes_Regex.h"
#include "regex/RegexProgram.h"

namespace regex {

// Runs the steps forwards from a start; on a match fills in the groups.
// Otherwise `resume` is the next start that may succeed and `failed` the
// step that failed. A failed start leaves the groups all unset, as they were.
// The classes hold no byte 0, so a run stops at the input's terminating zero.
bool TRegex::RunForward(std::int32_t start, std::int32_t& resume, std::int32_t& failed) {
  const unsigned char* in = reinterpret_cast<const unsigned char*>(FInput.data());
  const std::int32_t end = FInputEnd;
  const std::uint8_t* prog = FProgram.data();
  const std::array<bool, 256>* tables = FRunTables.data();
  const TRunStep* const steps = FRunSteps.data();
  std::int32_t* const first = FRunAt.data();
  std::int32_t pos = start;
  std::int32_t reach = start;  // the furthest character a run read
  resume = start + 1;
  std::int32_t* at = first;
  const TRunStep* s = steps;
  for (;; ++s, ++at) {
    *at = pos;
    switch (s->Kind) {
      case rkByte:
        if (in[pos] != s->Arg || pos == end) goto failed;
        ++pos;
        continue;
      case rkLiteral: {
        const std::uint8_t* node = prog + s->Arg;
        const std::int32_t length = LiteralLength(node);
        const std::uint8_t* text = LiteralText(node);
        if (end - pos < length) goto failed;
        for (std::int32_t k = 0; k < length; ++k) {
          if (in[pos + k] != text[k]) goto failed;
        }
        pos += length;
        continue;
      }
      case rkChar:
        if (!tables[s->Arg][in[pos]]) goto failed;
        ++pos;
        continue;
      case rkRun:
      case rkRunByte: {
        const bool* t = tables[s->Arg].data();
        std::int32_t to = pos;
        // Four at a time, the search's inner loop over a long number or name;
        // none is read past the first that leaves the class, at the latest
        // the input's terminating zero.
        for (;; to += 4) {
          if (!t[in[to]]) break;
          if (!t[in[to + 1]]) {
            to += 1;
            break;
          }
          if (!t[in[to + 2]]) {
            to += 2;
            break;
          }
          if (!t[in[to + 3]]) {
            to += 3;
            break;
          }
        }
        reach = to;
        if (s->Lead) resume = std::max(resume, to);
        const std::int32_t count = to - pos;
        if (count < s->Min || count > s->Max) goto failed;
        pos = to;
        if (s->Kind == rkRunByte) {
          if (in[pos] != s->Byte || pos == end) goto failed;
          ++pos;
        }
        continue;
      }
      case rkRunFirst:
      case rkRunLast: {
        const bool* t = tables[s->Arg].data();
        const std::int32_t most = s->Kind == rkRunFirst ? s->Min : s->Max;
        std::int32_t count = 0;
        while (count < most && t[in[pos + count]]) ++count;
        if (count < s->Min) goto failed;
        pos += count;
        continue;
      }
      case rkLineStart:
        if (pos != 0) goto failed;
        continue;
      case rkLineEnd:
        if (pos != end) goto failed;
        continue;
      case rkWordBoundary:
      case rkNotWordBoundary: {
        const bool before = pos > 0 && FWordSet[in[pos - 1]];
        const bool here = pos < end && FWordSet[in[pos]];
        if ((before != here) != (s->Kind == rkWordBoundary)) goto failed;
        continue;
      }
      case rkEnd:
        break;
    }
    FSteps += std::max(pos, reach) - start + 1;
    for (const TRunGroup& g : FRunGroups) {
      const auto group = static_cast<std::size_t>(g.Group);
      if (!g.Last) {
        FStartP[group] = first[g.From >> 1] - (g.From & 1);
        FEndP[group] = first[g.To >> 1] - (g.To & 1);
      } else if (first[g.From + 1] > first[g.From]) {
        FStartP[group] = first[g.From + 1] - 1;
        FEndP[group] = first[g.From + 1];
      }
    }
    FPos = pos;
    FStartP[0] = start;
    FEndP[0] = pos;
    return true;
  }
failed:
  FSteps += std::max(pos, reach) - start + 1;
  failed = static_cast<std::int32_t>(s - steps);
  return false;
}

// Runs steps `step` .. 0 backwards from a position, reading nothing left of
// `lo`: the leftmost start from which they end there, or -1 when none does.
std::int32_t TRegex::RunBackward(int step, std::int32_t pos, std::int32_t lo) {
  const unsigned char* in = reinterpret_cast<const unsigned char*>(FInput.data());
  const std::int32_t from = pos;
  for (int k = step; k >= 0 && pos >= 0; --k) {
    const TRunStep& s = FRunSteps[static_cast<std::size_t>(k)];
    switch (s.Kind) {
      case rkByte:
        pos = pos > lo && in[pos - 1] == s.Arg ? pos - 1 : -1;
        break;
      case rkLiteral: {
        const std::uint8_t* node = FProgram.data() + s.Arg;
        const std::int32_t length = LiteralLength(node);
        pos = pos - length >= lo && std::memcmp(in + pos - length, LiteralText(node), static_cast<std::size_t>(length)) == 0
                  ? pos - length
                  : -1;
        break;
      }
      case rkChar:
        pos = pos > lo && FRunTables[static_cast<std::size_t>(s.Arg)][in[pos - 1]] ? pos - 1 : -1;
        break;
      case rkRunByte:
      case rkRun: {
        if (s.Kind == rkRunByte) {
          if (pos <= lo || in[pos - 1] != s.Byte) {
            pos = -1;
            break;
          }
          --pos;
        }
        const bool* t = FRunTables[static_cast<std::size_t>(s.Arg)].data();
        std::int32_t begin = pos;
        while (begin > lo && t[in[begin - 1]]) --begin;
        pos = pos - begin < s.Min ? -1 : begin;
        break;
      }
      case rkLineStart:
        if (pos != 0) pos = -1;
        break;
      default:
        pos = -1;  // not before a pivot
        break;
    }
  }
  FSteps += from - std::max(pos, lo) + 1;
  return pos;
}

// Tries the starts from `from` to `last` in turn, as Search does. Returns
// whether one matched; otherwise `from` is where the search goes on by
// backtracking, or past `last` when nothing can match.
bool TRegex::OnePassSearch(std::int32_t& from, std::int32_t last) {
  const unsigned char* in = reinterpret_cast<const unsigned char*>(FInput.data());
  const std::int32_t end = FInputEnd;
  std::int32_t start = from;
  // The first start mostly matches (every match of a text in turn, a line
  // that holds one): the pivot is sought only once one has failed.
  bool pivot = FRunPivot >= 0;
  while (start <= last) {
    if (FFirstChar >= 0) {
      const void* hit = std::memchr(in + start, FFirstChar, static_cast<std::size_t>(std::min(last + 1, end) - start));
      if (hit == nullptr) break;
      start = static_cast<std::int32_t>(static_cast<const unsigned char*>(hit) - in);
    } else if (!FFirstCharSet[in[start]]) {  // in[end] is 0, the end's own code
      ++start;
      continue;
    }
    std::int32_t resume;
    std::int32_t failed;
    if (RunForward(start, resume, failed)) return true;
    start = resume;
    if (!LiteralsStillAhead(start)) {
      start = last + 1;
      break;
    }
    if (pivot && start <= last) {
      pivot = false;
      if (PivotSearch(start, last)) return true;
      continue;
    }
    // Starts that reread the same text again and again go on by
    // backtracking, which the memo of failed states keeps linear.
    if (FSteps >= FOnePassLimit) break;
  }
  from = start;
  return false;
}

// The search from one place of the pivot character to the next. Returns
// whether a start matched; otherwise `from` is past `last` when nothing can
// match, or where the search goes on start by start.
bool TRegex::PivotSearch(std::int32_t& from, std::int32_t last) {
  const unsigned char* in = reinterpret_cast<const unsigned char*>(FInput.data());
  const std::int32_t end = FInputEnd;
  const int pivot = FRunPivot;
  const bool pivotAfterRun = FRunSteps[static_cast<std::size_t>(pivot)].Kind == rkRunByte;
  // No start below lo can succeed.
  for (std::int32_t lo = from; lo <= last;) {
    std::int32_t place = end;  // where the pivot character stands
    if (FRunPivotChar >= 0) {
      const void* hit = std::memchr(in + lo, FRunPivotChar, static_cast<std::size_t>(end - lo));
      if (hit == nullptr) break;
      place = static_cast<std::int32_t>(static_cast<const unsigned char*>(hit) - in);
    }
    // The steps before the pivot end where it begins; a run followed by the
    // pivot character is a step of both.
    const std::int32_t start = pivotAfterRun ? RunBackward(pivot, place + 1, lo) : RunBackward(pivot - 1, place, lo);
    if (start >= 0 && start <= last) {
      std::int32_t resume;
      std::int32_t failed;
      if (RunForward(start, resume, failed)) return true;
      // It failed where every start up to the pivot's place fails; were it
      // ever otherwise, the search would go on start by start from here.
      const bool pastPivot = failed > pivot || (!pivotAfterRun && failed == pivot &&
                                                FRunAt[static_cast<std::size_t>(pivot)] == place);
      if (!pastPivot) {
        from = lo;
        return false;
      }
    }
    if (FRunPivotChar < 0) break;
    lo = place + 1;
    if (FSteps >= FOnePassLimit) {
      from = lo;
      return false;
    }
  }
  from = last + 1;
  return false;
}

}  // namespace regex
