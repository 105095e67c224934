// The main window: start-up, commands, child windows, settings, the close
// sequence and the failure handler; the about box.
// Covers: formMain.cpp, formAbout.cpp, OrvelApplication.cpp, UserDialogs.cpp, Icons.cpp.
#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>

#include "platform/classlib/Exception.h"
#include "workbench/forms/Controls.h"
#include "workbench/forms/OrvelApplication.h"
#include "workbench/forms/formAbout.h"
#include "workbench/logic/SettingsFile.h"
#include "workbench/logic/TextFiles.h"
#include "WorkbenchFixture.h"

namespace workbench {
namespace {

using MainWindow = TWorkbenchTest;

TEST_F(MainWindow, StartShowsTheVersionAndOpensTheGenerator) {
  TfrmMain& main = StartWorkbench();
  // The maximised generator adds its own caption to the frame's, as children of a frame do.
  const std::string caption = "Orvel [v. " + GetFileVersionString() + "]";
  EXPECT_EQ(main.windowTitle().toStdString(), caption + " - [Расчет фильтров]");
  Generator().showNormal();
  EXPECT_EQ(main.windowTitle().toStdString(), caption);
  Generator().showMaximized();
  EXPECT_EQ(main.MDIClient->subWindowList().size(), 1);
  TfrmRemez& generator = Generator();
  EXPECT_EQ(generator.windowTitle(), "Расчет фильтров");
  EXPECT_TRUE(generator.isMaximized());
  EXPECT_EQ(main.ActiveChild(), &generator);

  // The commands for the generator.
  EXPECT_TRUE(main.actFileOpen->isEnabled());
  EXPECT_EQ(main.actFileOpen->toolTip(), "Открыть файл (настройки фильтра или история из МетаТрейдера)");
  EXPECT_FALSE(main.actFileSave->isEnabled());
  EXPECT_EQ(main.actFileSave->toolTip(), "Сохранить текст индикатора или настройки фильтра в файл");
  EXPECT_FALSE(main.actFormCopy->isEnabled());
  EXPECT_EQ(main.actFormCopy->toolTip(), "Копировать текст индикатора в буфер Windows");
  for (QAction* action : {main.actZoomIn, main.actZoomOut, main.actRefresh}) EXPECT_TRUE(action->isEnabled());
  EXPECT_TRUE(main.actFormMethods->isEnabled());
  EXPECT_TRUE(main.actFormCompare->isEnabled());
  // The spectrum window's parameters wait for it to have a history.
  EXPECT_TRUE(main.actFormSpectrum->isEnabled());
  EXPECT_FALSE(main.actSpectrumParameters->isEnabled());
  EXPECT_TRUE(FDialogs.Shown.empty()) << FDialogs.ShownTexts();
}

TEST_F(MainWindow, MenusAndToolbarHoldTheCommands) {
  TfrmMain& main = StartWorkbench();
  QStringList menus;
  for (QAction* menu : main.menuBar()->actions()) menus << menu->text();
  EXPECT_EQ(menus, (QStringList{"File", "Edit", "View", "Help"}));
  const QList<QAction*> file = main.menuBar()->actions()[0]->menu()->actions();
  ASSERT_EQ(file.size(), 4);
  EXPECT_EQ(file[0], main.actFileOpen);
  EXPECT_EQ(file[1], main.actFileSave);
  EXPECT_TRUE(file[2]->isSeparator());
  EXPECT_EQ(file[3], main.mnuMainClose);
  const QList<QAction*> tools = main.ToolBar1->actions();
  ASSERT_EQ(tools.size(), 9);
  const QAction* expected[] = {main.actFileOpen,  nullptr,           main.actFormCopy,
                               nullptr,           main.actFormRemez, main.actFormMethods,
                               main.actFormCompare, main.actFormSpectrum};
  EXPECT_EQ(tools[0], main.actFileOpen);
  EXPECT_EQ(tools[1], main.actFileSave);
  EXPECT_TRUE(tools[2]->isSeparator());
  EXPECT_EQ(tools[3], expected[2]);
  EXPECT_TRUE(tools[4]->isSeparator());
  for (int i = 5; i < 9; ++i) EXPECT_EQ(tools[i], expected[i - 1]);
  for (QAction* action : tools) {
    if (!action->isSeparator()) {
      EXPECT_FALSE(action->icon().isNull()) << action->objectName().toStdString();
    }
  }

  // The icons painted for the program show on the toolbar: the generator's
  // green response curve among them.
  const QImage shot = Screenshot(main, "main_window");
  QWidget* generatorButton = main.ToolBar1->widgetForAction(main.actFormRemez);
  ASSERT_NE(generatorButton, nullptr);
  const QRect area(generatorButton->mapTo(&main, QPoint(0, 0)), generatorButton->size());
  int green = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) {
      const QColor c = shot.pixelColor(x, y);
      if (c.green() > 100 && c.red() < 80 && c.blue() < 80) ++green;
    }
  EXPECT_GT(green, 5);
}

TEST_F(MainWindow, TheGeneratorCommandBringsTheOpenGeneratorForward) {
  TfrmMain& main = StartWorkbench();
  TfrmRemez* first = &Generator();
  main.actFormRemez->trigger();
  main.actFormRemez->trigger();
  EXPECT_EQ(main.MDIClient->subWindowList().size(), 1);
  EXPECT_EQ(&Generator(), first);
  EXPECT_EQ(main.ActiveChild(), first);
}

TEST_F(MainWindow, WithoutAChildTheCommandsDoNothing) {
  TfrmMain& main = StartWorkbench();
  Generator().close();
  ASSERT_TRUE(WaitUntil([&] { return main.FindChildWindow("frmremez") == nullptr; }, 5000));
  // Closing the generator turned its commands off.
  for (QAction* action : {main.actFormCopy, main.actFileSave, main.actZoomIn, main.actZoomOut, main.actRefresh})
    EXPECT_FALSE(action->isEnabled()) << action->objectName().toStdString();
  // And with no child, a command that still runs reaches nobody.
  for (QAction* action : {main.actFileOpen, main.actFileSave, main.actFormCopy, main.actZoomIn, main.actZoomOut,
                          main.actRefresh})
    action->trigger();
  main.actFileOpenExecute();
  main.actFileSaveExecute();
  main.actFormCopyExecute();
  EXPECT_TRUE(FDialogs.FileDialogs.empty());
  EXPECT_TRUE(FDialogs.Shown.empty()) << FDialogs.ShownTexts();
  // The generator opens again.
  main.actFormRemez->trigger();
  EXPECT_NE(main.FindChildWindow("frmremez"), nullptr);
}

TEST_F(MainWindow, ExitClosesTheChildrenAndWritesTheSettings) {
  TfrmMain& main = StartWorkbench(OwnMethodSettings);
  TfrmRemez& generator = Generator();
  generator.InputT1->SetValue(30);
  generator.InputAtten1->SetValue(50);
  generator.InputRipple->setText("0.25");
  generator.FIRTextMode->SetItemIndex(1);
  main.mnuMainClose->trigger();
  EXPECT_FALSE(main.isVisible());
  EXPECT_TRUE(main.MDIClient->subWindowList().isEmpty() ||
              WaitUntil([&] { return main.MDIClient->subWindowList().isEmpty(); }, 5000));

  const TWorkbenchSettings written = ReadWorkbenchSettings(SettingsFile());
  EXPECT_EQ(written.P1, 30);
  EXPECT_EQ(written.A1, 50);
  EXPECT_EQ(written.Ripple, 0.25);
  EXPECT_EQ(written.Method, dmOwnExchange);
  EXPECT_EQ(written.TextMode, 1);
  EXPECT_EQ(written.D1, 12);
  EXPECT_EQ(written.P1from, DefaultWorkbenchSettings().P1from);
  EXPECT_TRUE(FDialogs.Shown.empty()) << FDialogs.ShownTexts();
}

TEST_F(MainWindow, AnUnwritableSettingsFileIsReportedAndTheProgramStillCloses) {
  // A folder where the file should be: neither read nor written as a file.
  std::filesystem::create_directory(SettingsFile());
  TfrmMain& main = StartWorkbench();
  ASSERT_EQ(FDialogs.Shown.size(), 1u) << FDialogs.ShownTexts();
  EXPECT_NE(FDialogs.Shown[0].Text.find("orvel.ini"), std::string::npos) << FDialogs.Shown[0].Text;
  EXPECT_EQ(WorkbenchSettings.P1, DefaultWorkbenchSettings().P1);
  EXPECT_NE(main.FindChildWindow("frmremez"), nullptr);
  main.close();
  EXPECT_FALSE(main.isVisible());
  EXPECT_EQ(FDialogs.Shown.size(), 2u) << FDialogs.ShownTexts();
}

TEST_F(MainWindow, FailuresReachOneHandler) {
  StartWorkbench();
  // A failure in a handler of a control.
  FMain->actFormRemez->disconnect();
  QObject::connect(FMain->actFormRemez, &QAction::triggered, FMain.get(),
                   Guarded(FDialogs, [] { throw classlib::Exception("Handler failed"); }));
  FMain->actFormRemez->trigger();
  ASSERT_EQ(FDialogs.Shown.size(), 1u);
  EXPECT_EQ(FDialogs.Shown[0].Text, "Handler failed");
  EXPECT_EQ(FDialogs.Shown[0].Caption, "Orvel");
  EXPECT_EQ(FDialogs.Shown[0].Icon, miError);

  // A failure that an event override let through stops at the application.
  class TThrowing : public QObject {
   public:
    bool event(QEvent*) override { throw std::runtime_error("Event failed"); }
  } throwing;
  auto* app = dynamic_cast<TOrvelApplication*>(QCoreApplication::instance());
  ASSERT_NE(app, nullptr);
  app->SetDialogs(&FDialogs);
  QEvent event(QEvent::User);
  EXPECT_FALSE(QCoreApplication::sendEvent(&throwing, &event));
  app->SetDialogs(nullptr);
  ASSERT_EQ(FDialogs.Shown.size(), 2u);
  EXPECT_EQ(FDialogs.Shown[1].Text, "Event failed");
}

TEST(FileDialogFilters, BecomeQtNameFilters) {
  EXPECT_EQ(FileDialogFilters("Параметры фильтров (*.prm)|*.prm"), QStringList{"Параметры фильтров (*.prm)"});
  EXPECT_EQ(FileDialogFilters("MetaTrader CSV (*.csv)|*.csv|Any file|*.*"),
            (QStringList{"MetaTrader CSV (*.csv)", "Any file (*.*)"}));
  EXPECT_EQ(FileDialogFilters("Texts|*.txt;*.mql"), QStringList{"Texts (*.txt *.mql)"});
  EXPECT_TRUE(FileDialogFilters("").isEmpty());
}

using AboutBox = TWorkbenchTest;

TEST_F(AboutBox, ShowsTheVersionAndClosesWithOK) {
  TfrmMain& main = StartWorkbench();
  bool shown = false;
  FDialogs.Modals.push_back([&](QDialog& dialog) {
    shown = true;
    EXPECT_EQ(dialog.objectName(), "frmAbout");
    EXPECT_EQ(dialog.windowTitle(), "Информация о программе");
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(Control<QLabel>(dialog, "lblVersion").text().toStdString(), "ver. " + GetFileVersionString());
    EXPECT_TRUE(Control<QPlainTextEdit>(dialog, "Memo1").isReadOnly());
    EXPECT_FALSE(Control<QPlainTextEdit>(dialog, "Memo1").toPlainText().isEmpty());

    // The contact label opens a new mail message.
    QLabel& contact = Control<QLabel>(dialog, "Label4");
    EXPECT_EQ(contact.cursor().shape(), Qt::PointingHandCursor);
    dialog.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QTest::mouseClick(&contact, Qt::LeftButton);
    EXPECT_EQ(FDialogs.Urls.size(), 1u);
    if (!FDialogs.Urls.empty()) {
      EXPECT_EQ(FDialogs.Urls[0], QUrl(AboutContactLink));
    }

    // The picture of the box: the program's name in dark letters on top.
    const QImage shot = Screenshot(dialog, "about_box");
    QLabel& title = Control<QLabel>(dialog, "Label1");
    const QRect area(title.mapTo(&dialog, QPoint(0, 0)), title.size());
    int dark = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
      for (int x = area.left(); x < area.left() + 80; ++x)
        if (shot.pixelColor(x, y).lightness() < 90) ++dark;
    EXPECT_GT(dark, 20);

    QTest::mouseClick(&Control<QPushButton>(dialog, "Button1"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
    return dialog.result();
  });
  main.mnuMainAbout->trigger();
  EXPECT_TRUE(shown);
}

}  // namespace
}  // namespace workbench
