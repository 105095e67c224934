// The template list view: the protocol of its two events (the old line takes
// the edits before the new line shows its record), lines added, deleted and
// moved with their records, templates made, copied and deleted in step with
// the combo box, and its refusals, each leaving the state as it was.
// Covers: analysis_ui/MtxGridView.cpp.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QVBoxLayout>
#include <memory>
#include <string>
#include <vector>

#include "analysis_ui/MtxGridView.h"
#include "platform/ui/testing/WindowTest.h"
#include "signal/StreamTemplates.h"
#include "testing/TestSupport.h"

namespace analysis_ui {
namespace {

using orvel::testing::Raises;
using ui::Control;

// Records of one number each, written as a count and the doubles.
class TNumbers : public sig::TStreamedRecordList<double> {
 public:
  void SaveToStream(classlib::TStream& Stream) override {
    Stream.WriteInt32(Count());
    for (double v : Records()) Stream.WriteDouble(v);
  }
  void LoadFromStream(classlib::TStream& Stream) override {
    const std::int32_t n = Stream.ReadInt32();
    std::vector<double> read(static_cast<std::size_t>(n));
    for (double& v : read) v = Stream.ReadDouble();
    Records() = read;
  }
  std::vector<double> All() const {
    std::vector<double> v;
    for (std::int32_t i = 0; i < Count(); ++i) v.push_back(Items(i));
    return v;
  }
};

// A form as the analysis windows host the view: a combo box of template
// names, the list, and one edit that shows the selected record. Its two
// handlers log what they are called for.
class MtxGridView : public ui::TWindowTest {
 protected:
  void SetUp() override {
    TWindowTest::SetUp();
    FForm = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(FForm.get());
    Combo = new QComboBox(FForm.get());
    Combo->setObjectName("TemplateBox");
    View = new TMtxGridView(FForm.get());
    View->setObjectName("GridView");
    View->setHeaderLabels({"#", "Value"});
    Edit = new QLineEdit(FForm.get());
    Edit->setObjectName("ValueEdit");
    layout->addWidget(Combo);
    layout->addWidget(View);
    layout->addWidget(Edit);
    T.SetTemplate(&Live);
    View->SetComboBox(Combo);
    View->SetTemplates(&T);
    View->SetOnMtxUpdateEdits([this](QObject* sender, std::int32_t i, QTreeWidgetItem* item) {
      EXPECT_EQ(sender, View);
      EXPECT_FALSE(View->Ready());
      Log.push_back("show " + std::to_string(i));
      Edit->setText(QString::number(Live.Items(i)));
      View->SetLine(item, true, {Edit->text().toStdString()});
    });
    View->SetOnMtxLineDefinition([this](QObject*, std::int32_t i, QTreeWidgetItem* item) {
      EXPECT_FALSE(View->Ready());
      Log.push_back("define " + std::to_string(i));
      Live.Items(i) = Edit->text().toDouble();
      View->SetLine(item, true, {Edit->text().toStdString()});
    });
    View->SetOnMtxDataIsDirty([this](QObject*) { Log.push_back("dirty"); });
    FForm->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(FForm.get()));
    QApplication::setActiveWindow(FForm.get());
  }
  void TearDown() override {
    FForm.reset();
    TWindowTest::TearDown();
  }

  // Templates "A" (1), "B" (2, 3) and "C" (4, 5, 6) in the collection and the
  // combo box, "C" current and shown; the log starts empty.
  void ThreeTemplates() {
    const std::vector<std::vector<double>> sets{{1}, {2, 3}, {4, 5, 6}};
    for (std::size_t k = 0; k < sets.size(); ++k) {
      const std::string name(1, static_cast<char>('A' + k));
      T.AddEmptyTemplate(name);
      for (double v : sets[k]) Live.Add(v);
      Combo->addItem(QString::fromStdString(name));
    }
    Combo->setCurrentIndex(2);
    View->Refresh();
    Log.clear();
  }

  // The lines as their captions and texts ("1:4 2:5").
  std::string Lines() const {
    std::string s;
    for (int i = 0; i < View->LineCount(); ++i) {
      const QTreeWidgetItem* line = View->Line(i);
      if (!s.empty()) s += ' ';
      s += line->text(0).toStdString() + ":" + line->text(1).toStdString();
    }
    return s;
  }
  std::vector<std::string> ComboItems() const {
    std::vector<std::string> items;
    for (int i = 0; i < Combo->count(); ++i) items.push_back(Combo->itemText(i).toStdString());
    return items;
  }
  std::vector<std::string> TemplateNames() const {
    std::vector<std::string> names;
    for (int i = 0; i < T.Templates().Count(); ++i) names.push_back(T.Templates().Strings(i));
    return names;
  }
  // A click on a line, where a user clicks it.
  void ClickLine(int index) {
    const QRect r = View->visualItemRect(View->Line(index));
    QTest::mouseClick(View->viewport(), Qt::LeftButton, {}, r.center());
  }

  TNumbers Live;
  sig::TStreamTemplates T;
  QComboBox* Combo = nullptr;
  TMtxGridView* View = nullptr;
  QLineEdit* Edit = nullptr;
  std::vector<std::string> Log;

 private:
  std::unique_ptr<QWidget> FForm;
};

using Log_t = std::vector<std::string>;

TEST_F(MtxGridView, RefreshShowsALinePerRecordWithTheFirstSelected) {
  ThreeTemplates();
  Combo->setCurrentIndex(1);
  View->Refresh();
  // Each line is selected as it comes, so the form writes its texts.
  EXPECT_EQ(Log, (Log_t{"show 0", "define 0", "show 1", "define 1", "show 0", "dirty"}));
  EXPECT_EQ(Lines(), "1:2 2:3");
  EXPECT_EQ(View->SelectedLine(), 0);
  EXPECT_EQ(Edit->text(), "2");
  EXPECT_EQ(T.TemplateIndex(), 1);
  EXPECT_TRUE(View->Ready());
  EXPECT_EQ(View->Line(1)->checkState(0), Qt::Checked);
}

TEST_F(MtxGridView, SelectingALineDefinesTheOldOneFirst) {
  ThreeTemplates();
  Edit->setText("40");  // the user edits line 0's value
  ClickLine(2);
  EXPECT_EQ(Log, (Log_t{"define 0", "show 2"}));
  EXPECT_EQ(Live.All(), (std::vector<double>{40, 5, 6}));
  EXPECT_EQ(Lines(), "1:40 2:5 3:6");
  EXPECT_EQ(Edit->text(), "6");
}

TEST_F(MtxGridView, TheUserChoosingATemplateInTheComboBoxShowsIt) {
  ThreeTemplates();
  Combo->setFocus();
  QTest::keyClick(Combo, Qt::Key_Up);  // "B"
  EXPECT_EQ(T.TemplateIndex(), 1);
  EXPECT_EQ(Lines(), "1:2 2:3");
  // Setting the index in code is no choice of the user's.
  Combo->setCurrentIndex(0);
  EXPECT_EQ(Lines(), "1:2 2:3");
}

TEST_F(MtxGridView, RefreshWithAnEmptyComboBoxKeepsTheLines) {
  ThreeTemplates();
  Combo->clear();
  View->Refresh();
  EXPECT_EQ(Lines(), "1:4 2:5 3:6");
  EXPECT_TRUE(Log.empty());
}

TEST_F(MtxGridView, AddingALineNeedsATemplate) {
  EXPECT_FALSE(View->TemplateDefined());
  EXPECT_TRUE(Raises([&] { View->CheckTemplateDefined(); }, "Define template name first."));
  EXPECT_TRUE(Raises([&] { View->AddLine(true); }, "Define template name first."));
  EXPECT_EQ(View->LineCount(), 0);
  EXPECT_TRUE(Log.empty());
}

TEST_F(MtxGridView, AnAddedLineIsDefinedFromTheEditsAndSelected) {
  ThreeTemplates();
  Edit->setText("7");
  View->CheckTemplateDefined();
  Live.Add(0);
  View->AddLine(true);
  EXPECT_EQ(Log, (Log_t{"define 3", "define 0", "show 3"}));
  EXPECT_EQ(Live.All(), (std::vector<double>{7, 5, 6, 7}));
  EXPECT_EQ(Lines(), "1:7 2:5 3:6 4:7");
  EXPECT_EQ(View->SelectedLine(), 3);
  EXPECT_TRUE(View->hasFocus());
}

TEST_F(MtxGridView, DeletingTheFirstOfThreeLinesKeepsLineZeroSelected) {
  ThreeTemplates();
  View->DeleteLine();
  EXPECT_EQ(Live.All(), (std::vector<double>{5, 6}));
  EXPECT_EQ(Lines(), "1:5 2:6");
  EXPECT_EQ(View->SelectedLine(), 0);
  EXPECT_EQ(Log, (Log_t{"show 0"}));
  EXPECT_EQ(Edit->text(), "5");
}

TEST_F(MtxGridView, DeletingTheLastLineSelectsTheNewLast) {
  ThreeTemplates();
  ClickLine(2);
  Log.clear();
  View->DeleteLine();
  EXPECT_EQ(Live.All(), (std::vector<double>{4, 5}));
  EXPECT_EQ(Lines(), "1:4 2:5");
  EXPECT_EQ(View->SelectedLine(), 1);
  EXPECT_EQ(Log, (Log_t{"show 1"}));
}

TEST_F(MtxGridView, DeletingWithoutASelectionTakesTheLastLine) {
  ThreeTemplates();
  View->clearSelection();
  Log.clear();
  View->DeleteLine();
  EXPECT_EQ(Live.All(), (std::vector<double>{4, 5}));
  EXPECT_EQ(View->SelectedLine(), 1);
}

TEST_F(MtxGridView, DeletingFromAnEmptyListIsRefused) {
  EXPECT_TRUE(Raises([&] { View->DeleteLine(); }, "Nothing to Delete"));
  ThreeTemplates();
  for (int i = 0; i < 3; ++i) View->DeleteLine();
  EXPECT_EQ(Live.Count(), 0);
  EXPECT_TRUE(Raises([&] { View->DeleteLine(); }, "Nothing to Delete"));
}

TEST_F(MtxGridView, ANewTemplateStartsEmptyUnderANewName) {
  ThreeTemplates();
  FDialogs.InputAnswers = {std::string("D")};
  View->NewTemplate();
  ASSERT_EQ(FDialogs.InputQueries.size(), 1U);
  EXPECT_EQ(FDialogs.InputQueries[0].Caption, "New template:");
  EXPECT_EQ(FDialogs.InputQueries[0].Prompt, "Save this template as:");
  EXPECT_EQ(FDialogs.InputQueries[0].Value, "Template 1");
  EXPECT_EQ(ComboItems(), (std::vector<std::string>{"A", "B", "C", "D"}));
  EXPECT_EQ(Combo->currentIndex(), 3);
  EXPECT_EQ(TemplateNames(), (std::vector<std::string>{"A", "B", "C", "D"}));
  EXPECT_EQ(T.TemplateIndex(), 3);
  EXPECT_EQ(Live.Count(), 0);
  EXPECT_EQ(View->LineCount(), 0);
  // "C" kept its records.
  T.SetTemplateIndex(2);
  EXPECT_EQ(Live.All(), (std::vector<double>{4, 5, 6}));
}

TEST_F(MtxGridView, ANameInUseOrEmptyIsRefusedAndNothingChanges) {
  ThreeTemplates();
  struct Case {
    std::string Answer, Message;
  };
  for (const Case& c : {Case{"B", "Name already exists!"}, Case{"b", "Name already exists!"},
                        Case{"", "Define template name first."}}) {
    SCOPED_TRACE(c.Answer);
    FDialogs.InputAnswers = {c.Answer};
    EXPECT_TRUE(Raises([&] { View->NewTemplate(); }, c.Message));
    FDialogs.InputAnswers = {c.Answer};
    EXPECT_TRUE(Raises([&] { View->SaveTemplateAs(); }, c.Message));
    EXPECT_EQ(ComboItems(), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(TemplateNames(), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(T.TemplateIndex(), 2);
    EXPECT_EQ(Lines(), "1:4 2:5 3:6");
  }
  // Cancel makes no template.
  FDialogs.InputAnswers = {std::nullopt};
  View->NewTemplate();
  EXPECT_EQ(ComboItems().size(), 3U);
}

TEST_F(MtxGridView, SaveAsCopiesTheCurrentTemplateUnderANewName) {
  ThreeTemplates();
  // The unchanged name (and Cancel, which answers it) does nothing.
  FDialogs.InputAnswers = {std::string("C"), std::nullopt};
  View->SaveTemplateAs();
  View->SaveTemplateAs();
  EXPECT_EQ(ComboItems().size(), 3U);
  EXPECT_EQ(FDialogs.InputQueries[0].Caption, "New template:");
  EXPECT_EQ(FDialogs.InputQueries[0].Prompt, "Name:");
  EXPECT_EQ(FDialogs.InputQueries[0].Value, "C");
  FDialogs.InputAnswers = {std::string("C2")};
  View->SaveTemplateAs();
  EXPECT_EQ(ComboItems(), (std::vector<std::string>{"A", "B", "C", "C2"}));
  EXPECT_EQ(TemplateNames(), (std::vector<std::string>{"A", "B", "C", "C2"}));
  EXPECT_EQ(T.TemplateIndex(), 3);
  EXPECT_EQ(Lines(), "1:4 2:5 3:6");
}

TEST_F(MtxGridView, DeletingTheOnlyTemplateEmptiesComboBoxAndList) {
  T.AddEmptyTemplate("Only");
  Live.Add(9);
  Combo->addItem("Only");
  View->Refresh();
  View->DeleteTemplate();
  EXPECT_EQ(Combo->count(), 0);
  EXPECT_EQ(T.Templates().Count(), 0);
  EXPECT_EQ(View->LineCount(), 0);
  EXPECT_TRUE(View->Ready());
}

TEST_F(MtxGridView, DeletingATemplateShowsTheFirstThatRemains) {
  ThreeTemplates();
  View->DeleteTemplate();  // "C"
  EXPECT_EQ(ComboItems(), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(TemplateNames(), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(Combo->currentIndex(), 0);
  EXPECT_EQ(T.TemplateIndex(), 0);
  EXPECT_EQ(Lines(), "1:1");
  View->DeleteTemplate();  // "A": the next one moves up
  EXPECT_EQ(ComboItems(), (std::vector<std::string>{"B"}));
  EXPECT_EQ(T.TemplateIndex(), 0);
  EXPECT_EQ(Lines(), "1:2 2:3");
  EXPECT_TRUE(View->Ready());
}

TEST_F(MtxGridView, UpdateAllLinesEndsOnTheSelectedLine) {
  ThreeTemplates();
  ClickLine(1);
  Log.clear();
  Live.Items(0) = 14;  // a record changed behind the list
  View->UpdateAllLines();
  EXPECT_EQ(Log, (Log_t{"show 0", "show 2", "show 1"}));
  EXPECT_EQ(Lines(), "1:14 2:5 3:6");
  EXPECT_EQ(Edit->text(), "5");
  View->clearSelection();
  Log.clear();
  View->UpdateAllLines();
  EXPECT_EQ(Log, (Log_t{"show 0", "show 1", "show 2"}));
}

TEST_F(MtxGridView, SetLineWritesCheckCaptionAndTexts) {
  ThreeTemplates();
  View->SetLine(View->Line(2), false, {"a", "b", "c"});
  EXPECT_EQ(View->Line(2)->checkState(0), Qt::Unchecked);
  EXPECT_EQ(View->Line(2)->text(0), "3");
  EXPECT_EQ(View->Line(2)->text(3), "c");
  EXPECT_GE(View->columnCount(), 4);
  EXPECT_TRUE(Log.empty());
}

TEST_F(MtxGridView, DroppingTheSelectedLineMovesItsRecord) {
  ThreeTemplates();  // line 0 (4) selected
  View->DropLine(2);
  EXPECT_EQ(Live.All(), (std::vector<double>{5, 6, 4}));
  EXPECT_EQ(Lines(), "1:5 2:6 3:4");
  EXPECT_EQ(View->SelectedLine(), 2);
  EXPECT_EQ(Edit->text(), "4");
  // The moved set is what the template keeps.
  T.SetTemplateIndex(0);
  T.SetTemplateIndex(2);
  EXPECT_EQ(Live.All(), (std::vector<double>{5, 6, 4}));
}

TEST_F(MtxGridView, ADropOnALineReordersAndMovesNoItemItself) {
  ThreeTemplates();
  ClickLine(2);
  auto* mime = new QMimeData();
  mime->setData("application/x-qabstractitemmodeldatalist", {});
  const QPoint target = View->visualItemRect(View->Line(0)).center();
  QDragEnterEvent enter(target, Qt::MoveAction | Qt::CopyAction, mime, Qt::LeftButton, {});
  QApplication::sendEvent(View->viewport(), &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(target), Qt::MoveAction | Qt::CopyAction, mime, Qt::LeftButton, {});
  QApplication::sendEvent(View->viewport(), &drop);
  EXPECT_NE(drop.dropAction(), Qt::MoveAction);
  EXPECT_EQ(Live.All(), (std::vector<double>{6, 4, 5}));
  EXPECT_EQ(Lines(), "1:6 2:4 3:5");
  EXPECT_EQ(View->SelectedLine(), 0);
  delete mime;
}

}  // namespace
}  // namespace analysis_ui
