// The signal layer's test main: the layer's classes are registered, as the
// program registers them at start-up, before any test runs.
#include <gtest/gtest.h>

#include "signal/SignalInit.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  sig::InitSignal();
  const int result = RUN_ALL_TESTS();
  sig::DoneSignal();
  return result;
}
