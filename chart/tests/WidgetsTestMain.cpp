// One widget application for the window and control tests, on the offscreen
// platform, with the Liberation fonts standing in for Arial and Courier New.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>
#include <cstdlib>

#include "chart/series/StandardSeries.h"
#include "chart/tools/ChartEngine.h"
#include "chart/tools/KivTools.h"

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  QFont::insertSubstitution("Arial", "Liberation Sans");
  QFont::insertSubstitution("Courier New", "Liberation Mono");
  chart::InitChartEngine();
  // What the chart editors' start-up adds in the program: the engine cannot
  // use its editors, so its tests register these two themselves.
  chart::RegisterStandardSeries();
  chart::RegisterDragPointTool();
  testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  chart::DoneChartEngine();
  return result;
}
