// The signal file formats' table, the open/save filter, the choice of a
// format by extension, and the number text of the text formats.
// Covers signal/SignalFileFormats.cpp, signal/SignalFileText.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "signal/SignalFileFormats.h"
#include "signal/SignalFileInternal.h"
#include "testing/TestSupport.h"

namespace {

using orvel::testing::Raises;

TEST(SignalFileFormats, FilterListsDbnBeforeSfs) {
  EXPECT_EQ(sig::SignalFileFilter,
            "Binary multi precision records (*.dat)|*.dat|Multi record ASCII (*.sgl)|*.sgl|Binary single precision "
            "records (*.bin)|*.bin|Binary double precision records (*.dbn)|*.dbn|Single column ASCII (*.sfs)|*.sfs|Two "
            "column ASCII (*.asc)|*.asc|Windows PCM (*.wav)|*.wav|All files (*.*)|*.*");
}

TEST(SignalFileFormats, ExtensionsAndNames) {
  const struct {
    const char* File;
    sig::TFileFormat Format;
    const char* Name;
  } cases[] = {{"a.dat", sig::ffDat, "Binary DAT"},     {"dir.x/b.SGL", sig::ffSgl, "Text SGL"},
               {"c.Bin", sig::ffBin, "Binary BIN"},     {"x.WAV", sig::ffWav, ""},
               {"/t/e.sfs", sig::ffSfs, "Text SFS"},    {"f.asc", sig::ffAsc, "Text ASC"},
               {"g.tar.dbn", sig::ffDbn, "Binary DBN"}};
  for (const auto& c : cases) {
    EXPECT_EQ(sig::FileFormatOfName(c.File), c.Format) << c.File;
    EXPECT_EQ(sig::FileFormatName(c.Format), c.Name);
  }
  EXPECT_EQ(sig::FileFormatExtension(sig::ffDbn), ".dbn");
  EXPECT_TRUE(Raises([] { sig::FileFormatOfName("x.txt"); }, "Unknown file file format extension: .txt"));
  EXPECT_TRUE(Raises([] { sig::FileFormatOfName("dir.dat/x"); }, "Unknown file file format extension: "));
}

TEST(SignalFileText, NumbersAreReadWithAPoint) {
  const struct {
    const char* Text;
    bool Ok;
    double Value;
  } reals[] = {{"1.5", true, 1.5},   {" -2E3\t", true, -2000}, {"+4", true, 4},   {"1,5", false, 0},
               {"", false, 0},       {"1.5x", false, 0},       {"++4", false, 0}, {"INF", true, INFINITY},
               {"-INF", true, -INFINITY}};
  for (const auto& r : reals) {
    double v = 0;
    EXPECT_EQ(sig::detail::ParseReal(r.Text, v), r.Ok) << r.Text;
    if (r.Ok) {
      EXPECT_EQ(v, r.Value) << r.Text;
    }
  }
  double v = 0;
  EXPECT_TRUE(sig::detail::ParseReal("NAN", v));
  EXPECT_TRUE(std::isnan(v));
  const struct {
    const char* Text;
    bool Ok;
    double Re, Im;
    bool Complex;
  } complexes[] = {{"1+2i", true, 1, 2, true},    {"1.5-0.25i", true, 1.5, -0.25, true}, {"-3i", true, 0, -3, true},
                   {"7", true, 7, 0, false},      {"1+i", false, 0, 0, false},           {"1*2i", false, 0, 0, false},
                   {"1e-3+1e3i", true, 1e-3, 1e3, true}};
  for (const auto& c : complexes) {
    double re = 0, im = 0;
    bool complex = false;
    EXPECT_EQ(sig::detail::ParseComplex(c.Text, re, im, complex), c.Ok) << c.Text;
    if (!c.Ok) continue;
    EXPECT_EQ(re, c.Re) << c.Text;
    EXPECT_EQ(im, c.Im) << c.Text;
    EXPECT_EQ(complex, c.Complex) << c.Text;
  }
  std::int32_t n = 0;
  EXPECT_TRUE(sig::detail::ParseInt32(" 42 ", n));
  EXPECT_EQ(n, 42);
  EXPECT_FALSE(sig::detail::ParseInt32("4.2", n));
  EXPECT_FALSE(sig::detail::ParseInt32("2147483648", n));
  EXPECT_EQ(sig::detail::ValueText(0.1), "0.1");
  EXPECT_EQ(sig::detail::ValueText(1.0 / 3), "0.333333333333333");
}

TEST(SignalFileText, MessagesQuoteAShortPieceOfTheFile) {
  EXPECT_EQ(sig::detail::Quoted("abc"), "\"abc\"");
  EXPECT_EQ(sig::detail::Quoted(std::string(1000, 'x')), "\"" + std::string(40, 'x') + "...\"");
}

TEST(SignalFileText, LinesEndInLfOrCrLf) {
  std::vector<std::string> lines;
  sig::detail::ForEachLine("a\r\nb\n\nc", [&](std::string_view l) { lines.emplace_back(l); });
  EXPECT_EQ(lines, (std::vector<std::string>{"a", "b", "", "c"}));
  lines.clear();
  sig::detail::ForEachLine("x\r\n", [&](std::string_view l) { lines.emplace_back(l); });
  EXPECT_EQ(lines, (std::vector<std::string>{"x"}));
}

}  // namespace
