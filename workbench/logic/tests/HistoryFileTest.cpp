// The MetaTrader history file reader: both header versions, refusals with
// their messages, the large-file question, a partial last bar, a long history,
// and the bar and file labels.
// Covers: HistoryFile.cpp.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "workbench/logic/FileErrors.h"
#include "workbench/logic/HistoryFile.h"
#include "workbench/logic/testing/HistoryFileBuilder.h"
#include "testing/TestSupport.h"
#include "workbench/logic/tests/ScriptedMessages.h"

namespace workbench {
namespace {

using testing::HistoryFileBytes;
using testing::THistoryFileSpec;

THistoryBar Bar(std::int32_t time, double base, std::int32_t volume = 100) {
  return THistoryBar{time, base, base - 0.002, base + 0.003, base + 0.001, volume};
}

// A history that a refused load must leave as it is.
THistory Sentinel() {
  THistory h;
  h.Symbol = "KEEP";
  h.Period = 5;
  h.Bars = {Bar(1, 2.0)};
  h.LastIndex = 0;
  return h;
}

void ExpectUnchanged(const THistory& h) {
  EXPECT_EQ(h.Symbol.Str(), "KEEP");
  EXPECT_EQ(h.Period, 5);
  ASSERT_EQ(h.Bars.size(), 1u);
  EXPECT_EQ(h.Bars[0], Bar(1, 2.0));
  EXPECT_EQ(h.LastIndex, 0);
}

TEST(HistoryFile, ReadsVersion400) {
  orvel::testing::TTempDir folder;
  THistoryFileSpec spec;
  spec.Symbol = "EURUSD";  // six letters, six NUL bytes of padding
  spec.Period = 240;
  spec.Bars = {Bar(1700000000, 1.1), Bar(1700014400, 1.2)};
  spec.Volumes = {12.5, 13.5};
  const std::string bytes = HistoryFileBytes(spec);
  ASSERT_EQ(bytes.size(), 236u);  // two bars, read from offsets 148 and 192
  const std::string path = folder.Write("EURUSD240.hst", bytes);

  TScriptedMessages messages;
  THistory h = Sentinel();
  ASSERT_TRUE(LoadHistoryFile(path, messages, h));
  EXPECT_TRUE(messages.Shown.empty());
  EXPECT_EQ(h.Symbol.Length, 8);
  EXPECT_EQ(h.Symbol.Str(), std::string("EURUSD\0\0", 8));
  EXPECT_EQ(h.Period, 240);
  EXPECT_EQ(h.LastIndex, 1);
  ASSERT_EQ(h.Bars.size(), 2u);
  // Volumes are rounded halves to even.
  THistoryBar first = spec.Bars[0], second = spec.Bars[1];
  first.Volume = 12;
  second.Volume = 14;
  EXPECT_EQ(h.Bars[0], first);
  EXPECT_EQ(h.Bars[1], second);
}

TEST(HistoryFile, HoldsVersion400VolumesInTheirField) {
  orvel::testing::TTempDir folder;
  THistoryFileSpec spec;
  spec.Bars = {Bar(1, 1.0), Bar(2, 1.0), Bar(3, 1.0), Bar(4, 1.0)};
  spec.Volumes = {3e9, -3e9, std::numeric_limits<double>::quiet_NaN(), 2147483646.5};
  TScriptedMessages messages;
  THistory h;
  ASSERT_TRUE(LoadHistoryFile(folder.Write("v.hst", HistoryFileBytes(spec)), messages, h));
  EXPECT_EQ(h.Bars[0].Volume, 2147483647);
  EXPECT_EQ(h.Bars[1].Volume, -2147483647 - 1);
  EXPECT_EQ(h.Bars[2].Volume, 0);
  EXPECT_EQ(h.Bars[3].Volume, 2147483646);
}

TEST(HistoryFile, ReadsVersion1) {
  orvel::testing::TTempDir folder;
  THistoryFileSpec spec;
  spec.Version = 1;
  // The header text may sit anywhere among the printable bytes of the header.
  static constexpr char headerText[] = "(C)opyright 2001, MetaQuotes\x01 Software\0 Corp.";
  spec.HeaderText = std::string(headerText, sizeof headerText - 1);
  spec.Symbol = "EUR USD";  // the blank is dropped
  spec.Period = 1440;
  spec.Bars = {Bar(86400, 1.3, 7), Bar(2 * 86400, 1.31, -5), Bar(3 * 86400, 1.32, 2147483647)};
  const std::string path = folder.Write("EURUSD1440.hst", HistoryFileBytes(spec));
  TScriptedMessages messages;
  THistory h = Sentinel();
  ASSERT_TRUE(LoadHistoryFile(path, messages, h));
  EXPECT_TRUE(messages.Shown.empty());
  EXPECT_EQ(h.Symbol.Str(), "EURUSD");
  EXPECT_EQ(h.Period, 1440);
  EXPECT_EQ(h.LastIndex, 2);
  EXPECT_EQ(h.Bars, spec.Bars);

  // At most six characters of the eight-byte field.
  spec.Symbol = "XAU GOLD";
  ASSERT_TRUE(LoadHistoryFile(folder.Write("XAU.hst", HistoryFileBytes(spec)), messages, h));
  EXPECT_EQ(h.Symbol.Str(), "XAUGOL");
}

TEST(HistoryFile, RefusesMalformedFilesWithAMessageAndKeepsTheHistory) {
  THistoryFileSpec one400;
  one400.Bars = {Bar(1, 1.0)};  // 148 + 44 = 192 bytes: too short
  THistoryFileSpec one1 = one400;
  one1.Version = 1;  // 144 + 40 = 184 bytes
  THistoryFileSpec two400 = one400;
  two400.Bars.push_back(Bar(2, 1.0));
  THistoryFileSpec version2 = two400;
  version2.Version = 2;
  THistoryFileSpec versionMinus1 = two400;
  versionMinus1.Version = -1;
  THistoryFileSpec noText = two400;
  noText.HeaderText = "Some Other Corp.";
  // Version 400 reads its header text only up to the first NUL byte.
  THistoryFileSpec textAfterNul = two400;
  textAfterNul.HeaderText = std::string("x\0MetaQuotes Software Corp.", 27);
  THistoryFileSpec textWithControl = two400;
  textWithControl.HeaderText = "MetaQuotes\x01 Software Corp.";

  const struct {
    const char* name;
    std::string bytes;
    std::string caption;
    std::string text;  // a part of the message
  } cases[] = {
      {"one400.hst", HistoryFileBytes(one400), capFileRefused, msgHistoryTooShort},
      {"one1.hst", HistoryFileBytes(one1), capFileRefused, msgHistoryTooShort},
      {"empty.hst", "", capFileRefused, msgHistoryTooShort},
      {"v2.hst", HistoryFileBytes(version2), capUnknownFormat,
       "Неизвестный формат файла (v. 0x02). Отсутствует обработчик указанного формата.\r\n"},
      {"vm1.hst", HistoryFileBytes(versionMinus1), capUnknownFormat, "(v. 0xFFFFFFFF)"},
      {"notext.hst", HistoryFileBytes(noText), capFileRefused, msgHistoryNoHeaderText},
      {"nul.hst", HistoryFileBytes(textAfterNul), capFileRefused, msgHistoryNoHeaderText},
      {"control.hst", HistoryFileBytes(textWithControl), capFileRefused, msgHistoryNoHeaderText},
  };
  orvel::testing::TTempDir folder;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = folder.Write(c.name, c.bytes);
    TScriptedMessages messages;
    THistory h = Sentinel();
    EXPECT_FALSE(LoadHistoryFile(path, messages, h));
    ExpectUnchanged(h);
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Caption, c.caption);
    EXPECT_EQ(messages.Shown[0].Buttons, mbOK);
    EXPECT_NE(messages.Shown[0].Text.find(c.text), std::string::npos) << messages.Shown[0].Text;
    EXPECT_NE(messages.Shown[0].Text.find(path), std::string::npos) << messages.Shown[0].Text;
  }
}

TEST(HistoryFile, RefusesAFileThatCannotBeOpened) {
  orvel::testing::TTempDir folder;
  for (const std::string& path : {folder.File("missing.hst"), folder.File("")}) {
    TScriptedMessages messages;
    THistory h = Sentinel();
    EXPECT_FALSE(LoadHistoryFile(path, messages, h));
    ExpectUnchanged(h);
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_NE(messages.Shown[0].Text.find(path), std::string::npos) << messages.Shown[0].Text;
  }
}

TEST(HistoryFile, DropsAPartialLastBarAndSaysSo) {
  orvel::testing::TTempDir folder;
  THistoryFileSpec spec;
  spec.Bars = {Bar(10, 1.0), Bar(20, 1.1), Bar(30, 1.2)};
  const std::string whole = HistoryFileBytes(spec);
  const std::string path = folder.Write("cut.hst", whole.substr(0, whole.size() - 30));
  TScriptedMessages messages;
  THistory h;
  ASSERT_TRUE(LoadHistoryFile(path, messages, h));
  EXPECT_EQ(h.LastIndex, 1);
  EXPECT_EQ(h.Bars, std::vector<THistoryBar>(spec.Bars.begin(), spec.Bars.begin() + 2));
  ASSERT_EQ(messages.Shown.size(), 1u);
  EXPECT_EQ(messages.Shown[0].Icon, miWarning);
  EXPECT_NE(messages.Shown[0].Text.find(msgHistoryPartialBar), std::string::npos);
  EXPECT_NE(messages.Shown[0].Text.find("(14 байт)"), std::string::npos) << messages.Shown[0].Text;
  EXPECT_NE(messages.Shown[0].Text.find(path), std::string::npos);
}

TEST(HistoryFile, AsksBeforeReadingAVeryLargeFile) {
  orvel::testing::TTempDir folder;
  THistoryFileSpec spec;
  spec.Bars = {Bar(10, 1.0), Bar(20, 1.1)};
  // Whole bars just above 128 MiB; the rest of the file reads as zero bars.
  const std::int64_t bars = (HistoryLargeFileSize - HistoryHeaderSize400) / HistoryBarSize400 + 1;
  const std::int64_t size = HistoryHeaderSize400 + bars * HistoryBarSize400;
  const std::string path = folder.Write("large.hst", HistoryFileBytes(spec));
  std::filesystem::resize_file(path, static_cast<std::uintmax_t>(size));

  TScriptedMessages declined;
  declined.Answers = {mrCancel};
  THistory h = Sentinel();
  EXPECT_FALSE(LoadHistoryFile(path, declined, h));
  ExpectUnchanged(h);
  ASSERT_EQ(declined.Shown.size(), 1u);
  EXPECT_EQ(declined.Shown[0].Text, "Размер файла очень большой (128 Мбайт). Продолжить?");
  EXPECT_EQ(declined.Shown[0].Caption, "Ограничение размера байла");
  EXPECT_EQ(declined.Shown[0].Buttons, mbOKCancel);

  TScriptedMessages accepted;
  accepted.Answers = {mrOK};
  ASSERT_TRUE(LoadHistoryFile(path, accepted, h));
  EXPECT_EQ(accepted.Shown.size(), 1u);
  EXPECT_EQ(h.LastIndex, bars - 1);
  EXPECT_EQ(h.Bars[1], spec.Bars[1]);
  EXPECT_EQ(h.Bars.back(), THistoryBar{});

  // Exactly 128 MiB is not asked about (its bar area ends in a partial bar).
  std::filesystem::resize_file(path, static_cast<std::uintmax_t>(HistoryLargeFileSize));
  TScriptedMessages notAsked;
  ASSERT_TRUE(LoadHistoryFile(path, notAsked, h));
  ASSERT_EQ(notAsked.Shown.size(), 1u);
  EXPECT_EQ(notAsked.Shown[0].Buttons, mbOK);
  EXPECT_EQ(h.LastIndex, (HistoryLargeFileSize - HistoryHeaderSize400) / HistoryBarSize400 - 1);
}

TEST(HistoryFile, LoadsAHundredThousandBars) {
  orvel::testing::TTempDir folder;
  THistoryFileSpec spec;
  spec.Symbol = "GBPJPY";
  spec.Period = 1;
  for (int i = 0; i < 100000; ++i) spec.Bars.push_back(Bar(1600000000 + 60 * i, 150.0 + i * 1e-4, i));
  const std::string path = folder.Write("GBPJPY1.hst", HistoryFileBytes(spec));
  TScriptedMessages messages;
  THistory h;
  ASSERT_TRUE(LoadHistoryFile(path, messages, h));
  EXPECT_TRUE(messages.Shown.empty());
  EXPECT_EQ(h.LastIndex, 99999);
  EXPECT_EQ(h.Bars, spec.Bars);
}

TEST(HistoryFile, LoadsIntoTheProcessWideHistory) {
  orvel::testing::TTempDir folder;
  THistoryFileSpec spec;
  spec.Bars = {Bar(10, 1.0), Bar(20, 1.1)};
  TScriptedMessages messages;
  ASSERT_TRUE(LoadHistoryFile(folder.Write("g.hst", HistoryFileBytes(spec)), messages));
  EXPECT_EQ(History.Bars, spec.Bars);
  EXPECT_EQ(History.LastIndex, 1);
  History = THistory{};
}

TEST(HistoryBarLabel, ShowsTimeBelowDailyBarsAndPricesByMagnitude) {
  // 2023-11-14 22:13:20 UTC
  const THistoryBar fx{1700000000, 1.23456, 1.2, 1.3, 1.25, 0};
  EXPECT_EQ(HistoryBarLabel(fx, 60),
            "14.11.23 22:13\r\nOpen: 1.2346\r\nHigh: 1.3000\r\nLow: 1.2000\r\nClose: 1.2500");
  EXPECT_EQ(HistoryBarLabel(fx, 1439).substr(0, 14), "14.11.23 22:13");
  EXPECT_EQ(HistoryBarLabel(fx, 1440).substr(0, 10), "14.11.23\r\n");
  const THistoryBar index{1700000000, 10.5, 10.0, 11.0, 10.25, 0};
  EXPECT_EQ(HistoryBarLabel(index, 10080),
            "14.11.23\r\nOpen: 10.50\r\nHigh: 11.00\r\nLow: 10.00\r\nClose: 10.25");
  // An open of exactly 10 keeps four decimals.
  EXPECT_NE(HistoryBarLabel(THistoryBar{0, 10.0, 9.0, 11.0, 10.0, 0}, 60).find("Open: 10.0000"), std::string::npos);
}

TEST(HistoryFileLabel, DropsTheSymbolsPadding) {
  THistory h;
  h.Symbol.Length = 8;
  const char symbol[8] = {'E', 'U', 'R', 'U', 'S', 'D', 0, 0};
  for (int i = 0; i < 8; ++i) h.Symbol.Chars[i] = symbol[i];
  h.Period = 60;
  h.LastIndex = 1;
  EXPECT_EQ(HistoryFileLabel(h), "EURUSD,1H 2 записей");
  h.Period = 30;
  h.LastIndex = -1;
  EXPECT_EQ(HistoryFileLabel(h), "EURUSD,30\u041C 0 записей");
}

}  // namespace
}  // namespace workbench
