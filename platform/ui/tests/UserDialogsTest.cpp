// The prompts and the failure handler: guarded handlers with and without the
// signal's arguments, the guard of the event loop, the process-wide dialogs,
// modal windows run through the script, the input box, file filters, and the
// test main's own set-up.
// Covers: UserDialogs.cpp, Guarded.h, Application.cpp, testing/WindowTestMain.cpp.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include <clocale>
#include <stdexcept>

#include "platform/classlib/Exception.h"
#include "platform/ui/Application.h"
#include "platform/ui/Guarded.h"
#include "platform/ui/RegistryStore.h"
#include "platform/ui/testing/WindowTest.h"

namespace ui {
namespace {

using Prompts = TWindowTest;

TEST_F(Prompts, AFailureInAHandlerIsShownAndTheHandlerReturns) {
  QPushButton button;
  int after = 0;
  QObject::connect(&button, &QPushButton::clicked, &button,
                   Guarded(FDialogs, [] { throw classlib::Exception("Handler failed"); }));
  QObject::connect(&button, &QPushButton::clicked, &button, [&] { ++after; });
  button.click();
  ASSERT_EQ(FDialogs.Shown.size(), 1u);
  EXPECT_EQ(FDialogs.Shown[0].Text, "Handler failed");
  EXPECT_EQ(FDialogs.Shown[0].Caption, "Orvel");
  EXPECT_EQ(FDialogs.Shown[0].Icon, miError);
  EXPECT_EQ(FDialogs.Shown[0].Buttons, mbOK);
  // The next slot of the signal still ran.
  EXPECT_EQ(after, 1);
}

TEST_F(Prompts, GuardedBodiesTakeTheSignalsArgumentsWhenTheyAskForThem) {
  QLineEdit edit;
  QString seen;
  int plain = 0;
  QObject::connect(&edit, &QLineEdit::textChanged, &edit, Guarded([&](const QString& text) { seen = text; }));
  QObject::connect(&edit, &QLineEdit::textChanged, &edit, Guarded([&] { ++plain; }));
  QObject::connect(&edit, &QLineEdit::textChanged, &edit, Guarded([](const QString& text) {
                     if (text == "bad") throw std::runtime_error("bad text");
                   }));
  edit.setText("abc");
  EXPECT_EQ(seen, "abc");
  EXPECT_EQ(plain, 1);
  EXPECT_TRUE(FDialogs.Shown.empty());
  edit.setText("bad");
  ASSERT_EQ(FDialogs.Shown.size(), 1u);
  EXPECT_EQ(FDialogs.Shown[0].Text, "bad text");
}

TEST_F(Prompts, GuardsUseTheDialogsInstalledWhenTheFailureHappens) {
  auto body = Guarded([] { throw 42; });
  RunGuarded([] { throw classlib::EConvertError("'x' is not a valid floating point value"); });
  TScriptedDialogs other;
  TUserDialogs* mine = SetDialogs(&other);
  EXPECT_EQ(mine, &FDialogs);
  EXPECT_EQ(&Dialogs(), &other);
  body();
  SetDialogs(mine);
  ASSERT_EQ(FDialogs.Shown.size(), 1u);
  EXPECT_EQ(FDialogs.Shown[0].Text, "'x' is not a valid floating point value");
  ASSERT_EQ(other.Shown.size(), 1u);
  EXPECT_EQ(other.Shown[0].Text, "Unknown error");
}

TEST_F(Prompts, TheEventLoopStopsWhatAnEventOverrideLetThrough) {
  class TThrowing : public QObject {
   public:
    bool event(QEvent*) override { throw std::runtime_error("Event failed"); }
  } throwing;
  ASSERT_NE(dynamic_cast<TApplication*>(QCoreApplication::instance()), nullptr);
  QEvent event(QEvent::User);
  EXPECT_FALSE(QCoreApplication::sendEvent(&throwing, &event));
  ASSERT_EQ(FDialogs.Shown.size(), 1u);
  EXPECT_EQ(FDialogs.Shown[0].Text, "Event failed");
}

TEST_F(Prompts, ModalWindowsRunThroughTheScript) {
  QDialog dialog;
  dialog.setObjectName("Probe");
  FDialogs.Modals.push_back([](QDialog& d) {
    EXPECT_EQ(d.objectName(), "Probe");
    d.accept();
    return d.result();
  });
  EXPECT_EQ(ShowModal(dialog), QDialog::Accepted);
  EXPECT_TRUE(FDialogs.Modals.empty());
}

TEST_F(Prompts, QuestionsAndInputsTakeTheirAnswersInOrder) {
  FDialogs.Answers = {mrYes, mrCancel};
  EXPECT_EQ(Dialogs().MessageBox("Append?", "Confirm", mbYesNo, miQuestion), mrYes);
  EXPECT_EQ(Dialogs().MessageBox("Save?", "Confirm", mbYesNoCancel, miQuestion), mrCancel);
  EXPECT_EQ(Dialogs().MessageBox("Done", "Info", mbOK, miInformation), mrOK);

  FDialogs.InputAnswers = {std::string("Template 2"), std::nullopt};
  EXPECT_EQ(Dialogs().InputQuery("New template:", "Save this template as:", "Template 1"), "Template 2");
  // Cancel in an input box gives its default.
  EXPECT_EQ(Dialogs().InputBox("Column width selection", "New column width:", "64"), "64");
  ASSERT_EQ(FDialogs.InputQueries.size(), 2u);
  EXPECT_EQ(FDialogs.InputQueries[1].Prompt, "New column width:");
  EXPECT_EQ(FDialogs.InputQueries[1].Value, "64");

  FDialogs.FileChoices = {TFileChoice{"/tmp/a.cfg", 2}};
  const auto choice = Dialogs().SaveFileDialog(nullptr, "Config files (*.cfg)|*.cfg|All files (*.*)|*.*", 1);
  ASSERT_TRUE(choice);
  EXPECT_EQ(choice->FilterIndex, 2);
  ASSERT_EQ(FDialogs.FileDialogs.size(), 1u);
  EXPECT_TRUE(FDialogs.FileDialogs[0].Save);
  EXPECT_EQ(FDialogs.FileDialogs[0].FilterIndex, 1);

  FDialogs.ColorAnswers = {TColor{0x0000FF}};
  EXPECT_EQ(Dialogs().ColorDialog(nullptr, 0), TColor{0x0000FF});
  FDialogs.PictureAnswers = {std::nullopt};
  EXPECT_FALSE(Dialogs().OpenPictureDialog(nullptr));
}

TEST(FileDialogFilters, BecomeQtNameFilters) {
  EXPECT_EQ(FileDialogFilters("Параметры фильтров (*.prm)|*.prm"), QStringList{"Параметры фильтров (*.prm)"});
  EXPECT_EQ(FileDialogFilters("Config files (*.cfg)|*.cfg|All files (*.*)|*.*"),
            (QStringList{"Config files (*.cfg)", "All files (*.*)"}));
  EXPECT_EQ(FileDialogFilters("Mtx files (*.mtx)|*.MTX|Matrix market files (*.mtx)|*.tmx"),
            (QStringList{"Mtx files (*.mtx)", "Matrix market files (*.mtx) (*.tmx)"}));
  EXPECT_EQ(FileDialogFilters("Texts|*.txt;*.mql"), QStringList{"Texts (*.txt *.mql)"});
  EXPECT_EQ(FileDialogFilters("Odd|*.a|Lonely"), QStringList{"Odd (*.a)"});
  EXPECT_TRUE(FileDialogFilters("").isEmpty());
}

TEST(WindowTestMain, RunsInTheCNumericLocaleWithATemporaryStore) {
  EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
  EXPECT_NE(RegistryFile(), DefaultRegistryFile());
  EXPECT_EQ(QCoreApplication::applicationName(), "Orvel");
}

}  // namespace
}  // namespace ui
