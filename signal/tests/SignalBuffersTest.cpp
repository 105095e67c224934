// The block buffers: the sliding window of blocks and the block handed out
// in parts.
// Covers: signal/SignalBuffers.cpp.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "signal/SignalBuffers.h"
#include "signal/tests/ProcessingTestSupport.h"

namespace sig {
namespace {

using testutil::Values;

// A source that gives the blocks it holds one by one, then reports the end
// of data, and counts how often it was updated.
class TBlockSource : public TSignal {
 public:
  explicit TBlockSource(std::vector<std::vector<double>> Blocks) : FBlocks(std::move(Blocks)) {}
  std::uint8_t InternalUpdate() override {
    ++Updates;
    if (FNext >= FBlocks.size()) return 2;
    Data().SetIt(false, FBlocks[FNext++]);
    return 0;
  }
  int Updates = 0;

 private:
  std::vector<std::vector<double>> FBlocks;
  std::size_t FNext = 0;
};

TEST(SignalIncBuffer, KeepsTheLastBlocksOldestFirst) {
  TBlockSource source({{1, 1, 1, 1}, {2, 2, 2, 2}, {3, 3, 3, 3}, {4, 4, 4, 4}});
  TSignalIncBuffer buffer;
  buffer.SetFactor(3);
  buffer.SetInput(&source);
  EXPECT_EQ(buffer.Length(), 0);
  const std::vector<std::vector<double>> expected = {
      {1, 1, 1, 1},
      {1, 1, 1, 1, 2, 2, 2, 2},
      {1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3},
      {2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4},
  };
  for (const auto& e : expected) {
    ASSERT_EQ(buffer.Pull(), 0);
    EXPECT_EQ(Values(buffer.Data()), e);
  }
}

TEST(SignalIncBuffer, AShorterBlockStartsItOver) {
  TBlockSource source({{1, 1}, {2, 2}, {3}});
  TSignalIncBuffer buffer;
  buffer.SetFactor(2);
  buffer.SetInput(&source);
  buffer.Pull();
  buffer.Pull();
  buffer.Pull();
  EXPECT_EQ(Values(buffer.Data()), (std::vector<double>{3}));
}

TEST(SignalIncBuffer, FactorIsAtLeastOne) {
  TSignalIncBuffer buffer;
  buffer.SetFactor(0);
  EXPECT_EQ(buffer.Factor(), 1);
  buffer.SetFactor(-3);
  EXPECT_EQ(buffer.Factor(), 1);
}

TEST(SignalDecBuffer, HandsOutEachBlockInTimeOrder) {
  TBlockSource source({{1, 2, 3, 4}, {5, 6, 7, 8}});
  TSignalDecBuffer buffer;
  buffer.SetFactor(2);
  buffer.SetInput(&source);
  const std::vector<std::vector<double>> expected = {{1, 2}, {3, 4}, {5, 6}, {7, 8}};
  const int updates[] = {1, 1, 2, 2};
  for (std::size_t i = 0; i < expected.size(); ++i) {
    ASSERT_EQ(buffer.Pull(), 0);
    EXPECT_EQ(Values(buffer.Data()), expected[i]) << i;
    EXPECT_EQ(source.Updates, updates[i]) << "the input is pulled for the first part only";
  }
}

TEST(SignalDecBuffer, EndsWithItsInput) {
  TBlockSource source({{1, 2, 3, 4, 5, 6}});
  TSignalDecBuffer buffer;
  buffer.SetFactor(3);
  buffer.SetInput(&source);
  for (int i = 0; i < 3; ++i) ASSERT_EQ(buffer.Pull(), 0);
  EXPECT_EQ(Values(buffer.Data()), (std::vector<double>{5, 6}));
  EXPECT_EQ(buffer.Pull(), 2);
  EXPECT_EQ(buffer.Pull(), 2);
  EXPECT_EQ(buffer.PartCounter(), 0);
  EXPECT_EQ(Values(buffer.Data()), (std::vector<double>{5, 6}));
  EXPECT_EQ(buffer.ProcessAll(), 2);
}

TEST(SignalDecBuffer, FactorIsAtLeastOne) {
  TSignalDecBuffer buffer;
  buffer.SetFactor(0);
  EXPECT_EQ(buffer.Factor(), 1);
}

}  // namespace
}  // namespace sig
