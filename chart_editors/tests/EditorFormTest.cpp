// Covers chart_editors/EditorForm.cpp (the form base and the registry of
// editor forms), the creation and embedding routines of
// chart_editors/KivPenDlg.cpp and chart_editors/ChartEditors.cpp.
#include <gtest/gtest.h>

#include <QMainWindow>
#include <QTabWidget>
#include <QVBoxLayout>

#include "chart_editors/ChartEditors.h"
#include "chart_editors/KivPenDlg.h"
#include "chart_editors/tests/EditorTestSupport.h"
#include "platform/classlib/ClassRegistry.h"

namespace chart_editors {
namespace {

using EditorForms = ui::TWindowTest;

// Counts its fills and reports what it saw then.
class TCountingForm : public TEditorForm {
 public:
  explicit TCountingForm(QWidget* owner = nullptr) : TEditorForm(owner) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QPushButton("a button", this));
  }
  void FormShow() override {
    ++Fills;
    TagAtFill = Tag();
    ShownAtFill = Shown();
  }
  int Fills = 0;
  classlib::TPersistent* TagAtFill = nullptr;
  bool ShownAtFill = true;
};

TEST_F(EditorForms, RegistryCreatesByNameInAnyCase) {
  RegisterEditorForm("TCountingForm", EditorFormFactory<TCountingForm>());
  // The first registration of a name stays.
  RegisterEditorForm("TCOUNTINGFORM", [](QWidget*) -> TEditorForm* { return nullptr; });
  EXPECT_TRUE(EditorFormRegistered("tcountingform"));
  QWidget owner;
  TEditorForm* form = CreateEditorForm("tCountingForm", &owner);
  ASSERT_NE(dynamic_cast<TCountingForm*>(form), nullptr);
  EXPECT_EQ(form->parent(), &owner);
  UnRegisterEditorForm("TCountingForm");
  EXPECT_FALSE(EditorFormRegistered("TCountingForm"));
  EXPECT_EQ(orvel::testing::RaisedMessage<classlib::EClassNotFound>([&] { CreateEditorForm("TCountingForm", &owner); }),
            "Class TCountingForm not found");
}

TEST_F(EditorForms, StartUpRegistersTheFormsAndRoutesColoursThroughThePrompts) {
  // The test main started the editors as the program does.
  EXPECT_TRUE(EditorFormRegistered("TPenDialog"));
  chart::TColor color = chart::clRed;
  FDialogs.ColorAnswers.push_back(chart::clLime);
  EXPECT_TRUE(chart::EditColorDialog(nullptr, color));
  EXPECT_EQ(color, chart::clLime);
  FDialogs.ColorAnswers.push_back(std::nullopt);
  EXPECT_FALSE(chart::EditColorDialog(nullptr, color));
  EXPECT_EQ(color, chart::clLime);
  // A second start-up only counts: one shut-down leaves everything in place.
  InitChartEditors();
  DoneChartEditors();
  EXPECT_TRUE(EditorFormRegistered("TPenDialog"));
}

TEST_F(EditorForms, ModalEditorsBelongToTheirOwnersWindow) {
  QMainWindow window;
  auto* inner = new QWidget(&window);
  window.setCentralWidget(inner);
  auto* button = new QPushButton(inner);
  std::unique_ptr<TCountingForm> form = CreateModalEditorForm<TCountingForm>(button);
  EXPECT_EQ(form->parentWidget(), &window);
  EXPECT_TRUE(form->isWindow());
  EXPECT_FALSE(form->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_EQ(form->layout()->sizeConstraint(), QLayout::SetFixedSize);
  EXPECT_EQ(CreateModalEditorForm<TCountingForm>(nullptr)->parentWidget(), nullptr);

  // It fills itself once, when it first shows, before it counts as shown.
  EXPECT_EQ(form->Fills, 0);
  window.show();
  form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  form->hide();
  form->show();
  EXPECT_EQ(form->Fills, 1);
  EXPECT_FALSE(form->ShownAtFill);
  EXPECT_TRUE(form->Shown());
}

TEST_F(EditorForms, EmbeddedFormsFillThemselvesAtOnceAndSitInThePage) {
  QTabWidget pages;
  auto* first = new QWidget;
  auto* hidden = new QWidget;
  pages.addTab(first, "First");
  pages.addTab(hidden, "Second");
  pages.resize(300, 200);
  chart::TChartPen tag;

  auto* placed = new TCountingForm;
  EmbedEditorForm(*placed, hidden, &tag);
  // Filled although neither the page nor its window is on the screen.
  EXPECT_EQ(placed->Fills, 1);
  EXPECT_EQ(placed->TagAtFill, &tag);
  EXPECT_EQ(placed->parentWidget(), hidden);
  EXPECT_FALSE(placed->isWindow());
  EXPECT_EQ(placed->x(), 4);
  EXPECT_LE(placed->y(), 4);

  // Made for the tab widget, it sits in the page and keeps its owner.
  auto* filling = new TCountingForm(&pages);
  filling->SetAlignClient(true);
  EmbedEditorForm(*filling, first, nullptr);
  EXPECT_EQ(filling->parentWidget(), first);
  EXPECT_EQ(filling->Owner(), &pages);
  EXPECT_EQ(placed->Owner(), nullptr);
  pages.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&pages));
  EXPECT_EQ(filling->size(), first->size());
  // Switching pages shows the forms again without filling them again.
  pages.setCurrentIndex(1);
  pages.setCurrentIndex(0);
  EXPECT_EQ(placed->Fills, 1);
  EXPECT_EQ(filling->Fills, 1);
  // Escape inside an embedded form does not close it.
  QTest::keyClick(filling, Qt::Key_Escape);
  EXPECT_TRUE(filling->isVisible());
}

TEST(SetControlsVisible, ShowsAndHidesTheList) {
  QWidget window;
  auto* a = new QWidget(&window);
  auto* b = new QWidget(&window);
  SetControlsVisible(false, {a, nullptr, b});
  EXPECT_TRUE(a->isHidden());
  EXPECT_TRUE(b->isHidden());
  SetControlsVisible(true, {a, b});
  EXPECT_FALSE(a->isHidden());
}

}  // namespace
}  // namespace chart_editors
