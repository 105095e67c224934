// The one main of a layer's window tests:
//
//   int main(int argc, char** argv) { return ui::RunWindowTests(argc, argv, {.Init = chart::InitChartEngine}); }
//
// It runs the tests on the offscreen platform (unless the environment chose
// another), with the application object of the program, the C numeric locale
// set after the application started, the Liberation fonts standing in for
// Arial and Courier New, the settings store in a temporary folder, scripted
// dialogs that fail the test on any dialog it did not expect, and a beep hook
// in place of the bell. Every top-level widget still alive after the tests
// is deleted before the application goes.
#pragma once

#include <functional>
#include <memory>

class QApplication;

namespace ui {

struct TWindowTestHooks {
  // The application object; empty: a TApplication.
  std::function<std::unique_ptr<QApplication>(int& argc, char** argv)> MakeApplication;
  // After the application, the locale, the store and the dialogs are set up.
  std::function<void()> Init;
  // After the tests, while their windows may still be alive.
  std::function<void()> AfterTests;
  // After every top-level widget went, before the application goes.
  std::function<void()> Done;
};

int RunWindowTests(int& argc, char** argv, const TWindowTestHooks& hooks = {});

}  // namespace ui
