// Match throughput of TRegex against PCRE2 (interpreter, no JIT) and
// std::regex (ECMAScript) over 1 MB of indicator text of the kind the
// workbench writes and reads back:
//   literal-prefix   "close\[shift\+([0-9]+)\]"  every match in the whole text
//   class-loop       "[0-9.]+"                    every match in the whole text
//   set-header       the workbench's header expression, line by line
//   coefficient-term the workbench's term expression, line by line
// Each engine compiles once; the times are per pass over the text. After the
// run a table gives each peer's time divided by TRegex's. On a busy machine
// run it with --benchmark_repetitions=5: the table then uses the medians.
//
// Long lines: the workbench's two expressions on single lines of 1 MB, the
// shapes that once made a search quadratic (a long number or name that
// nearly matches) and lines of many near misses; TRegex alone, as the peers
// take minutes on some of them. Each should take at most 10 ms.
#define PCRE2_CODE_UNIT_WIDTH 8
#include <benchmark/benchmark.h>
#include <pcre2.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <random>
#include <regex>
#include <string>
#include <vector>

#include "RunReporter.h"
#include "regex/Classes_Regex.h"
#include "regex/RegexProgram.h"

namespace {

struct TPattern {
  const char* Name;
  const char* Ours;
  const char* Pcre2;
  const char* Std;
  bool PerLine;
};

const TPattern Patterns[] = {
    {"literal-prefix", "close\\[shift\\+([0-9]+)\\]", "close\\[shift\\+([0-9]+)\\]", "close\\[shift\\+([0-9]+)\\]",
     false},
    {"class-loop", "[0-9.]+", "[0-9.]+", "[0-9.]+", false},
    {"set-header", "([a-z0-9]+)\\s*?=\\s*?$", "([a-z0-9]+)\\s*?=\\s*?$", "([a-z0-9]+)\\s*?=\\s*?$", true},
    {"coefficient-term", "(\\+|\\-)*?([0-9.]+)\\*([a-zA-Z0-9]+)\\[([a-zA-Z0-9]+)\\+([0-9]+)\\]",
     "(\\+|\\-)*?([0-9.]+)\\*([a-zA-Z0-9]+)\\[([a-zA-Z0-9]+)\\+([0-9]+)\\]",
     "(\\+|-)*?([0-9.]+)\\*([a-zA-Z0-9]+)\\[([a-zA-Z0-9]+)\\+([0-9]+)\\]", true},
};

// Method text as the workbench writes it: blocks of parameter comments, a
// set header "name=" and one coefficient term per line, CR LF line ends.
std::string IndicatorText(std::size_t bytes) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> value(-0.08, 0.12);
  std::string text;
  char line[256];
  for (int block = 0; text.size() < bytes; ++block) {
    const int count = 40 + block % 60;
    std::snprintf(line, sizeof line,
                  "// --- Low Pass filter. Parameters: P1=%d, D1=%d, A1=%d\r\n// --- P2=0, D2=0, A2=0, "
                  "Ripple=0.5, Delay=%d\r\n// --- Order [Auto]=%d, Calculate method=1\r\nfatl%d=",
                  10 + block % 50, 5 + block % 7, 40 + block % 20, block % 4, count, block);
    text += line;
    for (int k = 0; k < count; ++k) {
      const double v = value(random);
      std::snprintf(line, sizeof line, "\r\n%s%.12f*close[shift+%d]", k > 0 && v > 0 ? "+" : "", v, k);
      text += line;
    }
    text += ";\r\n\r\n";
  }
  return text;
}

const std::string& Text() {
  static const std::string text = IndicatorText(1u << 20);
  return text;
}

const std::vector<std::string>& Lines() {
  static const std::vector<std::string> lines = [] {
    std::vector<std::string> out;
    const std::string& t = Text();
    std::size_t start = 0;
    while (start < t.size()) {
      std::size_t end = t.find("\r\n", start);
      if (end == std::string::npos) end = t.size();
      out.push_back(t.substr(start, end - start));
      start = end + 2;
    }
    return out;
  }();
  return lines;
}

// Each engine: the number of matches in one pass.
struct TOurs {
  regex::TRegex R;
  explicit TOurs(const TPattern& p) { R.SetExpression(p.Ours); }
  std::size_t AllMatches(const std::string& text) {
    std::size_t n = 0;
    if (!R.Exec(text)) return 0;
    do {
      ++n;
      const std::int32_t start = regex::TRegexInternals::StartP(R, 0);
      const std::int32_t end = regex::TRegexInternals::EndP(R, 0);
      if (!R.ExecFrom((end > start ? end : end + 1) + 1)) break;
    } while (true);
    return n;
  }
  bool Line(const std::string& line) { return R.Exec(line); }
};

struct TPcre2 {
  pcre2_code* Code;
  pcre2_match_data* Data;
  explicit TPcre2(const TPattern& p) {
    int error;
    PCRE2_SIZE offset;
    Code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(p.Pcre2), PCRE2_ZERO_TERMINATED, 0, &error, &offset, nullptr);
    Data = pcre2_match_data_create_from_pattern(Code, nullptr);
  }
  ~TPcre2() {
    pcre2_match_data_free(Data);
    pcre2_code_free(Code);
  }
  std::size_t AllMatches(const std::string& text) {
    std::size_t n = 0;
    PCRE2_SIZE offset = 0;
    const auto* subject = reinterpret_cast<PCRE2_SPTR>(text.data());
    while (offset <= text.size() && pcre2_match(Code, subject, text.size(), offset, 0, Data, nullptr) >= 0) {
      ++n;
      const PCRE2_SIZE* ov = pcre2_get_ovector_pointer(Data);
      offset = ov[1] > ov[0] ? ov[1] : ov[1] + 1;
    }
    return n;
  }
  bool Line(const std::string& line) {
    return pcre2_match(Code, reinterpret_cast<PCRE2_SPTR>(line.data()), line.size(), 0, 0, Data, nullptr) >= 0;
  }
};

struct TStd {
  std::regex R;
  explicit TStd(const TPattern& p) : R(p.Std) {}
  std::size_t AllMatches(const std::string& text) {
    return static_cast<std::size_t>(
        std::distance(std::sregex_iterator(text.begin(), text.end(), R), std::sregex_iterator()));
  }
  bool Line(const std::string& line) { return std::regex_search(line, R); }
};

template <typename TEngine>
std::size_t Pass(TEngine& engine, const TPattern& p) {
  if (!p.PerLine) return engine.AllMatches(Text());
  std::size_t n = 0;
  for (const std::string& line : Lines()) n += engine.Line(line) ? 1 : 0;
  return n;
}

struct TLongLine {
  const char* Name;
  const char* Expression;
  std::string (*Make)();
  bool Matches;
};

std::string Times(const std::string& unit, std::size_t bytes) {
  std::string s;
  s.reserve(bytes + unit.size());
  while (s.size() < bytes) s += unit;
  return s;
}

constexpr std::size_t LineBytes = std::size_t{1} << 20;
const char* const Header = "([a-z0-9]+)\\s*?=\\s*?$";
const char* const Term = "(\\+|\\-)*?([0-9.]+)\\*([a-zA-Z0-9]+)\\[([a-zA-Z0-9]+)\\+([0-9]+)\\]";

const TLongLine LongLines[] = {
    {"term/digits]", Term, [] { return std::string(LineBytes, '1') + "]"; }, false},
    {"term/digits*a[b+1x]", Term, [] { return std::string(LineBytes, '9') + "*a[b+1x]"; }, false},
    {"term/signs1*a[b+1x]", Term, [] { return Times("+-", LineBytes) + "1*a[b+1x]"; }, false},
    {"term/terms-without-]", Term, [] { return Times("+0.5*close[shift+1", LineBytes) + "-2*c[i+3]"; }, true},
    {"term/1*a[b+-repeated", Term, [] { return Times("1*a[b+", LineBytes) + "2]"; }, true},
    {"term/terms", Term, [] { return Times("+0.012345678901*close[shift+12]", LineBytes); }, true},
    {"header/letters=x", Header, [] { return std::string(LineBytes, 'a') + "= x"; }, false},
    {"header/blanks=x", Header, [] { return "a" + std::string(LineBytes, ' ') + "= x"; }, false},
    {"header/a=-repeated", Header, [] { return Times("a = ", LineBytes) + "x"; }, false},
    {"header/names=", Header, [] { return Times("fatl0=", LineBytes); }, true},
    // A start at every other character.
    {"term/1+-repeated", Term, [] { return Times("1+", LineBytes) + "1*a[b+1]"; }, true},
    {"term/1*1*-repeated", Term, [] { return Times("1*", LineBytes) + "a[b+1]"; }, true},
    {"term/.-repeated", Term, [] { return Times("-.", LineBytes) + "*a[b+1x]"; }, false},
    {"term/1*a[b+1-repeated", Term, [] { return Times("1*a[b+1", LineBytes) + "]"; }, true},
    {"header/a=-short", Header, [] { return Times("a=", LineBytes) + "x"; }, false},
    {"header/a_-repeated=", Header, [] { return Times("a ", LineBytes) + "="; }, true},
    {"header/a_=_-repeated", Header, [] { return Times("a = ", LineBytes) + "b ="; }, true},
    {"header/letters_blanks", Header, [] { return Times("abc\t\r\n", LineBytes) + "x"; }, false},
};

void BM_LongLine(benchmark::State& state, const TLongLine* l) {
  const std::string line = l->Make();
  regex::TRegex r;
  r.SetExpression(l->Expression);
  bool matched = false;
  for (auto _ : state) {
    matched = r.Exec(line);
    benchmark::DoNotOptimize(matched);
  }
  if (matched != l->Matches) state.SkipWithError("wrong answer");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * line.size()));
}

template <typename TEngine>
void BM_Regex(benchmark::State& state, const TPattern* p) {
  TEngine engine(*p);
  std::size_t matches = 0;
  for (auto _ : state) {
    matches = Pass(engine, *p);
    benchmark::DoNotOptimize(matches);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Text().size()));
  state.counters["matches"] = static_cast<double>(matches);
}


}  // namespace

int main(int argc, char** argv) {
  // The three engines must agree on what they find.
  for (const TPattern& p : Patterns) {
    TOurs ours(p);
    TPcre2 pcre2(p);
    TStd std(p);
    const std::size_t a = Pass(ours, p), b = Pass(pcre2, p), c = Pass(std, p);
    if (a != b || a != c) {
      std::fprintf(stderr, "%s: the engines disagree (%zu, %zu, %zu matches)\n", p.Name, a, b, c);
      return 1;
    }
  }
  for (const TPattern& p : Patterns) {
    benchmark::RegisterBenchmark((std::string("TRegex/") + p.Name).c_str(), BM_Regex<TOurs>, &p);
    benchmark::RegisterBenchmark((std::string("PCRE2/") + p.Name).c_str(), BM_Regex<TPcre2>, &p);
    benchmark::RegisterBenchmark((std::string("std::regex/") + p.Name).c_str(), BM_Regex<TStd>, &p);
  }
  for (const TLongLine& l : LongLines) {
    benchmark::RegisterBenchmark((std::string("TRegex/line/") + l.Name).c_str(), BM_LongLine, &l)
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::Initialize(&argc, argv);
  orvel_bench::TRunReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\n%-18s %12s %12s %12s %14s %14s\n", "pattern", "TRegex ms", "PCRE2 ms", "std ms", "PCRE2/TRegex",
              "std/TRegex");
  for (const TPattern& p : Patterns) {
    const double ours = reporter.Time(std::string("TRegex/") + p.Name);
    const double pcre2 = reporter.Time(std::string("PCRE2/") + p.Name);
    const double std = reporter.Time(std::string("std::regex/") + p.Name);
    if (!(ours > 0)) continue;
    std::printf("%-18s %12.3f %12.3f %12.3f %14.2f %14.2f\n", p.Name, ours / 1e6, pcre2 / 1e6, std / 1e6,
                pcre2 / ours, std / ours);
  }
  std::printf("\n%-24s %12s %8s\n", "1 MB line", "TRegex ms", "<= 10 ms");
  for (const TLongLine& l : LongLines) {
    const double ms = reporter.Time(std::string("TRegex/line/") + l.Name);
    if (!(ms > 0)) continue;
    std::printf("%-24s %12.3f %8s\n", l.Name, ms, ms <= 10 ? "yes" : "no");
  }
  benchmark::Shutdown();
  return 0;
}
