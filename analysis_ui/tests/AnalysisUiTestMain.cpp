// One widget application for the control tests, on the offscreen platform,
// with the Liberation fonts standing in for Arial and Courier New.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>
#include <cstdlib>

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  QFont::insertSubstitution("Arial", "Liberation Sans");
  QFont::insertSubstitution("Courier New", "Liberation Mono");
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
