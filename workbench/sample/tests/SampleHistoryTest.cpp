// The sample history shipped with the program: it loads, it looks like an
// hourly price series, and it is exactly what its generator writes.
// Covers: SAMPLE60.hst, make_sample_history.cpp.
#include <gtest/gtest.h>

#include <QProcess>
#include <QStringList>
#include <cmath>
#include <fstream>
#include <iterator>
#include <string>

#include "workbench/logic/HistoryFile.h"
#include "workbench/logic/tests/ScriptedMessages.h"
#include "testing/TestSupport.h"

namespace workbench {
namespace {

using orvel::testing::FileBytes;

TEST(SampleHistory, LoadsAsAnHourlySeries) {
  TScriptedMessages messages;
  THistory h;
  ASSERT_TRUE(LoadHistoryFile(ORVEL_SAMPLE_HISTORY, messages, h));
  EXPECT_TRUE(messages.Shown.empty());
  EXPECT_EQ(h.Symbol.Str(), std::string("SAMPLE\0\0", 8));
  EXPECT_EQ(h.Period, 60);
  ASSERT_GE(h.LastIndex, 2000);
  EXPECT_EQ(HistoryFileLabel(h).rfind("SAMPLE,1H ", 0), 0u);
  for (std::size_t i = 0; i < h.Bars.size(); ++i) {
    const THistoryBar& b = h.Bars[i];
    SCOPED_TRACE(i);
    ASSERT_EQ(b.Time % 3600, 0);
    const int weekday = static_cast<int>((b.Time / 86400 + 3) % 7);  // 0 Monday
    ASSERT_LT(weekday, 5);
    ASSERT_GT(b.Low, 0.5);
    ASSERT_LT(b.High, 2.0);
    ASSERT_LE(b.Low, std::min(b.Open, b.Close));
    ASSERT_GE(b.High, std::max(b.Open, b.Close));
    ASSERT_GT(b.Volume, 0);
    if (i > 0) {
      ASSERT_GT(b.Time, h.Bars[i - 1].Time);
      ASSERT_LT(std::fabs(std::log(b.Close / h.Bars[i - 1].Close)), 0.02);
    }
  }
}

TEST(SampleHistory, IsWhatTheGeneratorWrites) {
  orvel::testing::TTempDir dir;
  const std::string path = dir.File("SAMPLE60.hst");
  ASSERT_EQ(QProcess::execute(ORVEL_MAKE_SAMPLE_HISTORY, QStringList{QString::fromStdString(path)}), 0);
  EXPECT_TRUE(FileBytes(path) == FileBytes(ORVEL_SAMPLE_HISTORY))
      << "the committed sample differs from what make_sample_history writes";
}

}  // namespace
}  // namespace workbench
