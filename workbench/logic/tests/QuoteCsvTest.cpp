// CSV quote files of the generator and expert sampling files: fields, labels,
// empty lines, round trip of values and refusals.
// Covers: QuoteCsv.cpp.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/classlib/Streams.h"
#include "workbench/logic/FileErrors.h"
#include "workbench/logic/QuoteCsv.h"
#include "testing/TestSupport.h"

namespace workbench {
namespace {

TEST(QuoteCsv, ReadsOneBarPerLineSkippingEmptyLines) {
  const std::vector<TQuoteBar> bars = ParseQuoteCsv(
      "2024.01.15,10:00,1.0950,1.0970,1.0940,1.0960,1234\r\n"
      "\r\n"
      "  2024.01.15,11:00, 1.0960 ,1.0990,1.0955,1.0985  \r\n"
      "\r\n",
      "q.csv");
  ASSERT_EQ(bars.size(), 2u);
  EXPECT_EQ(bars[0], (TQuoteBar{"2024.01.15 10:00", 1.0950, 1.0970, 1.0940, 1.0960}));
  EXPECT_EQ(bars[1], (TQuoteBar{"2024.01.15 11:00", 1.0960, 1.0990, 1.0955, 1.0985}));
  EXPECT_TRUE(ParseQuoteCsv("\n\n", "q.csv").empty());
}

TEST(QuoteCsv, RoundTripsPricesWrittenWithFiveDecimals) {
  std::string text;
  std::vector<TQuoteBar> written;
  for (int i = 0; i < 500; ++i) {
    const double base = 1.1 + 0.00037 * i - 0.0000013 * i * i;
    TQuoteBar bar{"2024.02.01 " + std::to_string(i % 24) + ":00", base, base + 0.0012, base - 0.0009, base + 0.0003};
    char line[160];
    std::snprintf(line, sizeof line, "2024.02.01,%d:00,%.5f,%.5f,%.5f,%.5f\n", i % 24, bar.Open, bar.High, bar.Low,
                  bar.Close);
    text += line;
    std::sscanf(line, "%*[^,],%*[^,],%lf,%lf,%lf,%lf", &bar.Open, &bar.High, &bar.Low, &bar.Close);
    written.push_back(bar);
  }
  EXPECT_EQ(ParseQuoteCsv(text, "q.csv"), written);
}

TEST(ExpertSampling, ReadsBarsResponsesAndLabels) {
  const TExpertSampling s = ParseExpertSampling(
      "20240115,1430,1.09500,1.09700,1.09400,1.09600,0.25\n"
      "20240115,1530,,,,,\n"   // an empty third field: no bar
      "comment\n"              // no third field at all: no bar
      "\n"
      "20240115,1630,1.09600,1.09900,1.09550,1.09850,-0.5,extra\n",
      "e.csv");
  ASSERT_EQ(s.Bars.size(), 2u);
  EXPECT_EQ(s.Response, (std::vector<double>{0.25, -0.5}));
  EXPECT_EQ(s.Bars[0].Open, 1.095);
  EXPECT_EQ(s.Bars[0].High, 1.097);
  EXPECT_EQ(s.Bars[0].Low, 1.094);
  EXPECT_EQ(s.Bars[0].Close, 1.096);
  // Characters 5-6, 7-8 and 3-4 of the date, 1-2 and 3-4 of the time; the
  // prices as they stand in the file.
  EXPECT_EQ(s.Bars[0].Label, "01.15.24 14:30\r\nOpen: 1.09500\r\nHigh: 1.09700\r\nLow: 1.09400\r\nClose: 1.09600");
  // Short date and time fields give what they hold.
  const TExpertSampling shortFields = ParseExpertSampling("2024,9,1,2,0.5,1.5,0\n", "e.csv");
  EXPECT_EQ(shortFields.Bars[0].Label, "..24 9:\r\nOpen: 1\r\nHigh: 2\r\nLow: 0.5\r\nClose: 1.5");
}

TEST(QuoteCsvFiles, RefuseMalformedLinesNamingFileAndLine) {
  const struct {
    bool expert;
    const char* text;
    int line;
    const char* message;
  } cases[] = {
      {false, "2024.01.15,10:00,1,2,0.5\n", 1, msgCsvTooFewFields},
      {false, "Date,Time,Open,High,Low,Close\n", 1, "'Open' is not a valid floating point value"},
      {false, "d,t,1,2,0.5,1.5\n\n2024.01.15\n", 3, msgCsvTooFewFields},
      {false, "d,t,1,2,0.5,1.5\r\nd,t,1,2,0.5,x\r\n", 2, "'x' is not a valid floating point value"},
      {true, "20240115,1430,1,2,0.5,1.5\n", 1, msgCsvTooFewFields},
      {true, "20240115,1430,1,2,0.5,1.5,r\n", 1, "'r' is not a valid floating point value"},
      {true, "Date,Time,Open,High,Low,Close,Response\n", 1, "'Open' is not a valid floating point value"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.text));
    try {
      if (c.expert) {
        ParseExpertSampling(c.text, "/data/x.csv");
      } else {
        ParseQuoteCsv(c.text, "/data/x.csv");
      }
      ADD_FAILURE() << "accepted";
    } catch (const EWorkbenchFile& e) {
      EXPECT_EQ(e.FileName(), "/data/x.csv");
      const std::string where = "Файл \"/data/x.csv\", строка " + std::to_string(c.line) + ": ";
      EXPECT_EQ(e.Message().rfind(where, 0), 0u) << e.Message();
      EXPECT_NE(e.Message().find(c.message), std::string::npos) << e.Message();
    }
  }
}

TEST(QuoteCsvFiles, ReadFromDisk) {
  orvel::testing::TTempDir folder;
  const std::string q = folder.Write("q.csv", "d,t,1,2,0.5,1.5\r\n");
  EXPECT_EQ(ReadQuoteCsv(q).size(), 1u);
  const std::string e = folder.Write("e.csv", "20240115,1430,1,2,0.5,1.5,3\r\n");
  EXPECT_EQ(ReadExpertSampling(e).Response, std::vector<double>{3.0});
  EXPECT_THROW(ReadQuoteCsv(folder.File("missing.csv")), classlib::EFOpenError);
}

}  // namespace
}  // namespace workbench
