// The window tests' main.
#include "platform/ui/testing/WindowTestMain.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QPointer>
#include <QWidget>

#include <clocale>
#include <cstdlib>
#include <vector>

#include "platform/ui/Application.h"
#include "platform/ui/Beep.h"
#include "platform/ui/RegistryStore.h"
#include "platform/ui/UserDialogs.h"
#include "platform/ui/testing/ScriptedDialogs.h"
#include "testing/TestSupport.h"

namespace ui {

namespace {

// Parents first, so that deleting one never leaves a pointer to a child it took along.
void DeleteTopLevelWidgets() {
  std::vector<QPointer<QWidget>> windows;
  for (QWidget* w : QApplication::topLevelWidgets()) windows.emplace_back(w);
  for (const bool withParent : {false, true})
    for (QPointer<QWidget>& w : windows)
      if (!w.isNull() && (w->parentWidget() != nullptr) == withParent) delete w.data();
}

}  // namespace

int RunWindowTests(int& argc, char** argv, const TWindowTestHooks& hooks) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  std::unique_ptr<QApplication> app =
      hooks.MakeApplication ? hooks.MakeApplication(argc, argv) : std::make_unique<TApplication>(argc, argv);
  std::setlocale(LC_NUMERIC, "C");
  QFont::insertSubstitution("Arial", "Liberation Sans");
  QFont::insertSubstitution("Courier New", "Liberation Mono");

  int result = 0;
  {
    orvel::testing::TTempDir store;
    const std::string previousStore = SetRegistryFile(store.File("registry.ini"));
    // Fixtures install scripts of their own; this one catches what a test
    // without a fixture shows.
    TScriptedDialogs unexpected;
    TUserDialogs* previousDialogs = SetDialogs(&unexpected);
    TBeepHook previousBeep = SetBeepHook([] {});

    if (hooks.Init) hooks.Init();
    ::testing::InitGoogleTest(&argc, argv);
    result = RUN_ALL_TESTS();
    if (hooks.AfterTests) hooks.AfterTests();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    DeleteTopLevelWidgets();
    if (hooks.Done) hooks.Done();

    SetBeepHook(std::move(previousBeep));
    SetDialogs(previousDialogs);
    SetRegistryFile(previousStore);
  }
  app.reset();
  return result;
}

}  // namespace ui
