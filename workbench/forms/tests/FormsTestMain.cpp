// One application for the window tests: the program's own application object
// (so its guard of the event loop is under test too), Qt's synchronised calls
// for the design thread, the offscreen platform, and the Liberation fonts in
// place of Arial and Courier New.
#include <gtest/gtest.h>

#include <QFont>
#include <cstdlib>

#include "chart/tools/ChartEngine.h"
#include "platform/classlib/Threads.h"
#include "workbench/forms/FormCompareBruteForce.h"
#include "workbench/forms/OrvelApplication.h"
#include "workbench/forms/RemezThread.h"

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  workbench::TOrvelApplication app(argc, argv);
  QFont::insertSubstitution("Arial", "Liberation Sans");
  QFont::insertSubstitution("Courier New", "Liberation Mono");
  classlib::InstallQtSyncDispatcher();
  chart::InitChartEngine();
  testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  workbench::WaitForDesignThreads();
  workbench::WaitForSearchThreads();
  chart::DoneChartEngine();
  return result;
}
