// The vector and matrix editor: the grid's shape and texts, the commands of
// its menus (files in all four formats, the clipboard, size, operations,
// options and their refusals), the cells the user types read back without
// touching the others, the modal write-back of ViewValues, the settings in
// the store, the Chart menu, and its picture with a complex matrix.
// Covers: analysis_ui/NumoraEdit.cpp, NumoraEditActions.cpp, NumoraKivItems.cpp.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "analysis_ui/MtxGridSeries.h"
#include "analysis_ui/NumoraEdit.h"
#include "analysis_ui/NumoraKiv.h"
#include "analysis_ui/StringGrid.h"
#include "chart/canvas/KivGraphics.h"
#include "chart/series/FastLineSeries.h"
#include "chart/widgets/KivPanelWidget.h"
#include "platform/classlib/StringLists.h"
#include "platform/classlib/WarningSink.h"
#include "platform/ui/testing/WindowTest.h"
#include "testing/TestSupport.h"

namespace analysis_ui {
namespace {

using numeric::TCplx;
using numeric::TMtx;
using numeric::TVec;
using ui::Control;

// A complex 2 x 2 matrix whose values read back exactly from 15 digits.
std::unique_ptr<TMtx> Complex2x2() {
  auto m = std::make_unique<TMtx>();
  m->Size(2, 2, true);
  m->CRowValues(0)[0] = {1, 2};
  m->CRowValues(0)[1] = {-0.5, 0};
  m->CRowValues(1)[0] = {0.25, -1.5};
  m->CRowValues(1)[1] = {3, 4};
  return m;
}

// Value (r, c) is 10 r + c + 0.5.
std::unique_ptr<TMtx> Real(int rows, int cols) {
  auto m = std::make_unique<TMtx>();
  m->Size(rows, cols, false);
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < cols; ++c) m->RowValues(r)[c] = 10 * r + c + 0.5;
  return m;
}

::testing::AssertionResult SameMatrix(const TMtx& a, const TMtx& b) {
  if (a.Rows() != b.Rows() || a.Cols() != b.Cols() || a.Complex() != b.Complex())
    return ::testing::AssertionFailure() << a.Rows() << "x" << a.Cols() << (a.Complex() ? " complex" : " real")
                                         << " against " << b.Rows() << "x" << b.Cols()
                                         << (b.Complex() ? " complex" : " real");
  const int doubles = a.Cols() * (a.Complex() ? 2 : 1);
  for (int r = 0; r < a.Rows(); ++r)
    for (int c = 0; c < doubles; ++c)
      if (a.RowValues(r)[c] != b.RowValues(r)[c])
        return ::testing::AssertionFailure()
               << "row " << r << ", double " << c << ": " << a.RowValues(r)[c] << " against " << b.RowValues(r)[c];
  return ::testing::AssertionSuccess();
}

class NumoraEdit : public ui::TWindowTest {
 protected:
  void TearDown() override {
    FForm.reset();
    TWindowTest::TearDown();
  }

  // A window showing values modelessly, as a form opens it on a matrix.
  TNumoraEditForm& Open(const TMtx& values, bool editable = false, const std::string& caption = "Values") {
    FForm = std::make_unique<TNumoraEditForm>();
    ReadSettings(*FForm, values, caption, false, false, editable);
    EXPECT_TRUE(QTest::qWaitForWindowExposed(FForm.get()));
    QApplication::setActiveWindow(FForm.get());
    return *FForm;
  }
  static void Run(TNumoraEditForm& form, const char* action) { Control<QAction>(form, action).trigger(); }
  static std::string Cell(TNumoraEditForm& form, int col, int row) { return form.Grid().Cells(col, row); }
  // Types text into a cell as a user does: the cell's editor, the keys, Enter.
  static void TypeInto(TNumoraEditForm& form, int col, int row, const QString& text) {
    TStringGrid& grid = form.Grid();
    grid.setCurrentCell(row, col);
    grid.editItem(grid.item(row, col));
    auto* editor = grid.viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    // The editor hands its text over once the key has been handled, and goes.
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  void ChooseFile(const std::string& name, int filterIndex) {
    FDialogs.FileChoices.push_back(ui::TFileChoice{FDir.File(name), filterIndex});
  }
  // The modeless editor windows that are open.
  static std::vector<TNumoraEditForm*> OpenEditors() {
    std::vector<TNumoraEditForm*> forms;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* form = dynamic_cast<TNumoraEditForm*>(w); form != nullptr && form->isVisible()) forms.push_back(form);
    return forms;
  }
  std::string LastMessage() const { return FDialogs.Shown.empty() ? "" : FDialogs.Shown.back().Text; }
  // A modal window as the user gets it: shown and active.
  static TNumoraEditForm& ShownToUser(QDialog& dialog) {
    auto& form = dynamic_cast<TNumoraEditForm&>(dialog);
    form.show();
    QApplication::setActiveWindow(&form);
    return form;
  }

  std::unique_ptr<TNumoraEditForm> FForm;
};

TEST_F(NumoraEdit, AComplexMatrixShowsFiveColumnsUnderItsHeaders) {
  TNumoraEditForm& form = Open(*Complex2x2(), false, "Complex");
  const TStringGrid& grid = form.Grid();
  EXPECT_EQ(form.windowTitle(), "Complex");
  EXPECT_EQ(grid.RowCount(), 3);
  EXPECT_EQ(grid.ColCount(), 5);
  EXPECT_EQ(grid.FixedRows(), 1);
  EXPECT_EQ(grid.FixedCols(), 1);
  EXPECT_EQ(Cell(form, 0, 0), "2x2");
  EXPECT_EQ(Cell(form, 1, 0), "0-Re");
  EXPECT_EQ(Cell(form, 4, 0), "1-Im");
  EXPECT_EQ(Cell(form, 0, 2), "1");
  EXPECT_EQ(Cell(form, 1, 1), "1.0000");
  EXPECT_EQ(Cell(form, 2, 2), "-1.5000");
  EXPECT_EQ(grid.columnWidth(3), 64);
  // Reading the grid needs the user's permission to edit it.
  EXPECT_EQ(grid.editTriggers(), QAbstractItemView::NoEditTriggers);
  EXPECT_TRUE(Control<QAction>(form, "ARealPart").isEnabled());
  EXPECT_TRUE(Control<QAction>(form, "ATransp").isEnabled());
}

TEST_F(NumoraEdit, ThePictureShowsHeadersValuesAndTheMenu) {
  TNumoraEditForm& form = Open(*Complex2x2(), false, "Complex");
  const QImage picture = ui::Screenshot(form, "numora_edit_complex");
  TStringGrid& grid = form.Grid();
  const QPoint origin = grid.mapTo(&form, QPoint(0, 0)) + grid.viewport()->pos();
  const auto cellRect = [&](int col, int row) {
    return grid.visualRect(grid.model()->index(row, col)).translated(origin);
  };
  const auto hasInk = [&](const QRect& r) {
    for (int y = r.top() + 2; y < r.bottom() - 1; ++y)
      for (int x = r.left() + 2; x < r.right() - 1; ++x)
        if (qGray(picture.pixel(x, y)) < 100) return true;
    return false;
  };
  const QRgb button = grid.palette().button().color().rgb();
  const QRgb base = grid.palette().base().color().rgb();
  // Headers in the button colour, values on the base, each cell with its text.
  const QRect header = cellRect(3, 0), value = cellRect(3, 2), corner = cellRect(0, 0);
  EXPECT_EQ(picture.pixel(header.right() - 3, header.bottom() - 3), button);
  EXPECT_EQ(picture.pixel(value.right() - 3, value.bottom() - 3), base);
  EXPECT_TRUE(hasInk(header));
  EXPECT_TRUE(hasInk(value));
  EXPECT_TRUE(hasInk(corner));
  EXPECT_FALSE(hasInk(cellRect(4, 2).adjusted(50, 0, 0, 0)));  // "4.0000" ends before the cell does
  // The menu bar above the grid carries its captions.
  const QRect menu = Control<QMenuBar>(form, "MainMenu").geometry();
  EXPECT_LT(menu.bottom(), grid.geometry().top() + 1);
  EXPECT_TRUE(hasInk(menu));
}

TEST_F(NumoraEdit, AVectorShowsOneColumnAndAsksForOneLength) {
  TVec v;
  v.Size(3, false);
  v.Ramp(1, 1);
  v.SetCaption("Ramp");
  ViewValues(v, "", false, false, false);
  const std::vector<TNumoraEditForm*> forms = OpenEditors();
  ASSERT_EQ(forms.size(), 1U);
  QPointer<TNumoraEditForm> form = forms[0];
  EXPECT_EQ(form->windowTitle(), "Ramp");
  EXPECT_TRUE(form->IsVector());
  EXPECT_EQ(form->Grid().ColCount(), 2);
  EXPECT_EQ(Cell(*form, 0, 0), "3x1");
  EXPECT_EQ(Cell(*form, 1, 3), "3.0000");
  EXPECT_FALSE(Control<QAction>(*form, "ATransp").isEnabled());
  EXPECT_FALSE(Control<QAction>(*form, "AAdjung").isEnabled());
  // One narrow column, and still every menu in view; the cursor on the first value.
  EXPECT_GE(form->width(), Control<QMenuBar>(*form, "MainMenu").sizeHint().width());
  EXPECT_EQ(form->Grid().currentRow(), 1);
  EXPECT_EQ(form->Grid().currentColumn(), 1);
  FDialogs.InputAnswers = {std::string("5")};
  Run(*form, "ASize");
  ASSERT_EQ(FDialogs.InputQueries.size(), 1U);
  EXPECT_EQ(FDialogs.InputQueries[0].Caption, "New vector length");
  EXPECT_EQ(FDialogs.InputQueries[0].Prompt, "Length:");
  EXPECT_EQ(FDialogs.InputQueries[0].Value, "3");
  EXPECT_EQ(Cell(*form, 0, 0), "5x1");
  EXPECT_EQ(Cell(*form, 1, 3), "3.0000");
  EXPECT_EQ(Cell(*form, 1, 5), "0.0000");
  // Vector files are what it opens and saves first.
  ChooseFile("v.vec", 2);
  Run(*form, "ASave");
  EXPECT_EQ(FDialogs.FileDialogs[0].FilterIndex, 2);
  EXPECT_EQ(FDialogs.FileDialogs[0].DefaultExt, "vec");
  // A modeless window frees itself when closed and leaves the vector alone.
  form->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(form.isNull());
  EXPECT_EQ(v.Length(), 3);
}

TEST_F(NumoraEdit, AModalEditableViewWritesTheEditsBack) {
  TVec v;
  v.Size(3, false);
  v.Values()[0] = 1.23456789e-7;  // shown as "0.0000"
  v.Values()[1] = 2;
  v.Values()[2] = 1.0 / 3;
  FDialogs.Modals.push_back([&](QDialog& dialog) {
    TNumoraEditForm& form = ShownToUser(dialog);
    EXPECT_TRUE(form.Modal());
    EXPECT_EQ(form.Grid().editTriggers() & QAbstractItemView::AnyKeyPressed, QAbstractItemView::AnyKeyPressed);
    TypeInto(form, 1, 2, "-7.25");
    Run(form, "AClose");
    EXPECT_FALSE(form.isVisible());
    return static_cast<int>(QDialog::Rejected);
  });
  ViewValues(v, "Edit", true, false, true);
  ASSERT_EQ(v.Length(), 3);
  // The typed value, and the others exactly as they were.
  EXPECT_EQ(v.Values()[0], 1.23456789e-7);
  EXPECT_EQ(v.Values()[1], -7.25);
  EXPECT_EQ(v.Values()[2], 1.0 / 3);
  EXPECT_TRUE(OpenEditors().empty());
}

TEST_F(NumoraEdit, AModalViewKeepsACellThatDoesNotReadOpen) {
  TVec v;
  v.Size(2, false);
  v.SetVal(4);
  FDialogs.Modals.push_back([&](QDialog& dialog) {
    TNumoraEditForm& form = ShownToUser(dialog);
    TypeInto(form, 1, 1, "1.5");
    TypeInto(form, 1, 2, "abc");
    form.close();
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(LastMessage().rfind("Row 1, column 0: ", 0), 0U) << FDialogs.ShownTexts();
    // Nothing was written while a cell did not read.
    EXPECT_EQ(v.Values()[0], 4);
    TypeInto(form, 1, 2, "2.5");
    form.close();
    EXPECT_FALSE(form.isVisible());
    return static_cast<int>(QDialog::Rejected);
  });
  ViewValues(v, "", true, false, true);
  EXPECT_EQ(v.Values()[0], 1.5);
  EXPECT_EQ(v.Values()[1], 2.5);
}

TEST_F(NumoraEdit, ModelessAndReadOnlyViewsWriteNothingBack) {
  TVec v;
  v.Size(2, false);
  v.SetVal(4);
  FDialogs.Modals.push_back([&](QDialog& dialog) {
    TNumoraEditForm& form = ShownToUser(dialog);
    form.Grid().SetCells(1, 1, "9");  // not even a read-only grid's text goes back
    form.close();
    return static_cast<int>(QDialog::Rejected);
  });
  ViewValues(v, "", true, false, false);
  EXPECT_EQ(v.Values()[0], 4);

  ViewValues(v, "", false, false, true);
  ASSERT_EQ(OpenEditors().size(), 1U);
  TNumoraEditForm& form = *OpenEditors()[0];
  QApplication::setActiveWindow(&form);
  TypeInto(form, 1, 1, "9");
  form.close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(OpenEditors().empty());
  EXPECT_EQ(v.Values()[0], 4);
}

TEST_F(NumoraEdit, CopyAndPasteGoRoundThroughTheClipboard) {
  TNumoraEditForm& form = Open(*Complex2x2());
  Run(form, "ACopy");
  const QString text = QGuiApplication::clipboard()->text();
  EXPECT_EQ(text, "1+2i\t-0.5\n0.25-1.5i\t3+4i\n");
  {
    TNumoraEditForm other;
    EXPECT_TRUE(Control<QAction>(other, "APaste").isEnabled());
    Run(other, "APaste");
    EXPECT_TRUE(SameMatrix(other.Data(), *Complex2x2()));
    EXPECT_EQ(other.Grid().ColCount(), 5);
  }
  // As real: the parts side by side; pasted as complex they pair up again.
  Run(form, "ACopyReal");
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "1\t2\t-0.5\t0\n0.25\t-1.5\t3\t4\n");
  TNumoraEditForm other;
  Run(other, "APaste");
  EXPECT_EQ(other.Data().Cols(), 4);
  EXPECT_FALSE(other.Data().Complex());
  Run(other, "APasteComplex");
  EXPECT_TRUE(SameMatrix(other.Data(), *Complex2x2()));
  // Windows line ends read too.
  QGuiApplication::clipboard()->setText("1,2\r\n3,4\r\n");
  FDialogs.InputAnswers = {std::string(",")};
  Run(other, "ASetDelimiter");
  Run(other, "APaste");
  TMtx expected;
  expected.Size(2, 2, false);
  for (int k = 0; k < 4; ++k) expected.RowValues(k / 2)[k % 2] = k + 1;
  EXPECT_TRUE(SameMatrix(other.Data(), expected));
}

TEST_F(NumoraEdit, PastesThatDoNotFitChangeNothing) {
  TNumoraEditForm& form = Open(*Complex2x2());
  struct Case {
    std::string Clipboard;
    const char* Action;
    std::string Message;
  };
  for (const Case& c :
       {Case{"1\t2\t3\n", "APasteComplex", "Complex values need an even number of columns; the clipboard holds 3."},
        Case{"\n", "APaste", "The clipboard holds no values."}, Case{"1\tx\n", "APaste", ""}}) {
    SCOPED_TRACE(c.Clipboard);
    QGuiApplication::clipboard()->setText(QString::fromStdString(c.Clipboard));
    const std::size_t shown = FDialogs.Shown.size();
    Run(form, c.Action);
    ASSERT_EQ(FDialogs.Shown.size(), shown + 1);
    if (!c.Message.empty()) {
      EXPECT_EQ(LastMessage(), c.Message);
    }
    EXPECT_TRUE(SameMatrix(form.Data(), *Complex2x2()));
    EXPECT_EQ(Cell(form, 0, 0), "2x2");
  }
}

TEST_F(NumoraEdit, SavesAndLoadsInEveryFormat) {
  TNumoraEditForm& form = Open(*Complex2x2());
  ChooseFile("m.mtx", 1);
  ChooseFile("m.vec", 2);
  ChooseFile("m.txt", 3);
  ChooseFile("m.tmx", 4);
  for (int i = 0; i < 4; ++i) Run(form, "ASave");
  ASSERT_EQ(FDialogs.FileDialogs.size(), 4U);
  EXPECT_TRUE(FDialogs.FileDialogs[0].Save);
  EXPECT_EQ(FDialogs.FileDialogs[0].Filter,
            "Mtx files (*.mtx)|*.MTX|Vec files (*.vec)|*.VEC|text file (*.txt)|*.TXT|Matrix market files "
            "(*.mtx)|*.tmx");
  EXPECT_EQ(FDialogs.FileDialogs[0].FilterIndex, 1);
  // The dialog comes back with the filter and the folder last chosen.
  EXPECT_EQ(FDialogs.FileDialogs[3].FilterIndex, 3);
  EXPECT_EQ(FDialogs.FileDialogs[3].InitialDir, FDir.Path().string());
  EXPECT_EQ(form.LastSaveDir(), FDir.Path().string());

  TMtx fromMtx;
  fromMtx.LoadFromFile(FDir.File("m.mtx"));
  EXPECT_TRUE(SameMatrix(fromMtx, *Complex2x2()));
  TVec fromVec;
  fromVec.LoadFromFile(FDir.File("m.vec"));
  EXPECT_EQ(fromVec.Length(), 4);
  EXPECT_TRUE(fromVec.Complex());
  EXPECT_EQ(fromVec.CValues()[2].Re, 0.25);
  EXPECT_EQ(orvel::testing::FileBytes(FDir.File("m.txt")), "1+2i\t-0.5\r\n0.25-1.5i\t3+4i\r\n");
  const std::string market = orvel::testing::FileBytes(FDir.File("m.tmx"));
  EXPECT_EQ(market.rfind("%%MatrixMarket matrix array complex general", 0), 0U) << market;
  EXPECT_EQ(FDir.Listing(), "m.mtx;m.tmx;m.txt;m.vec;");

  for (int filter = 1; filter <= 3; ++filter) {
    SCOPED_TRACE(filter);
    TNumoraEditForm other;
    ChooseFile(filter == 1 ? "m.mtx" : filter == 2 ? "m.vec" : "m.txt", filter);
    Run(other, "ALoad");
    EXPECT_FALSE(FDialogs.FileDialogs.back().Save);
    EXPECT_EQ(FDialogs.FileDialogs.back().Filter,
              "Mtx files (*.mtx)|*.MTX|Vec files (*.vec)|*.VEC|text file (*.txt)|*.TXT");
    EXPECT_EQ(other.LastOpenDir(), FDir.Path().string());
    if (filter == 2) {
      // A vector file comes in as one column.
      EXPECT_EQ(other.Data().Rows(), 4);
      EXPECT_EQ(other.Data().Cols(), 1);
      EXPECT_EQ(Cell(other, 0, 0), "4x1");
    } else {
      EXPECT_TRUE(SameMatrix(other.Data(), *Complex2x2()));
      EXPECT_EQ(Cell(other, 0, 0), "2x2");
    }
  }
}

TEST_F(NumoraEdit, AFileThatDoesNotLoadChangesNothing) {
  TNumoraEditForm& form = Open(*Real(2, 3));
  FDialogs.FileChoices.push_back(ui::TFileChoice{FDir.Write("bad.mtx", "no matrix"), 1});
  FDialogs.FileChoices.push_back(ui::TFileChoice{FDir.Write("empty.txt", ""), 3});
  FDialogs.FileChoices.push_back(std::nullopt);
  for (int i = 0; i < 3; ++i) Run(form, "ALoad");
  EXPECT_EQ(FDialogs.Shown.size(), 2U) << FDialogs.ShownTexts();
  EXPECT_TRUE(SameMatrix(form.Data(), *Real(2, 3)));
  EXPECT_EQ(Cell(form, 0, 0), "2x3");
}

TEST_F(NumoraEdit, ResizingKeepsTheOverlap) {
  TNumoraEditForm& form = Open(*Real(2, 3));
  FDialogs.InputAnswers = {std::string("3"), std::string("2")};
  Run(form, "ASize");
  ASSERT_EQ(FDialogs.InputQueries.size(), 2U);
  EXPECT_EQ(FDialogs.InputQueries[0].Caption, "New number of rows");
  EXPECT_EQ(FDialogs.InputQueries[0].Prompt, "Rows:");
  EXPECT_EQ(FDialogs.InputQueries[0].Value, "2");
  EXPECT_EQ(FDialogs.InputQueries[1].Caption, "New number of cols");
  EXPECT_EQ(FDialogs.InputQueries[1].Prompt, "Cols:");
  EXPECT_EQ(FDialogs.InputQueries[1].Value, "3");
  const TMtx& d = form.Data();
  ASSERT_EQ(d.Rows(), 3);
  ASSERT_EQ(d.Cols(), 2);
  EXPECT_EQ(d.RowValues(0)[1], 1.5);
  EXPECT_EQ(d.RowValues(1)[0], 10.5);
  EXPECT_EQ(d.RowValues(2)[1], 0);
  EXPECT_EQ(Cell(form, 0, 0), "3x2");
  EXPECT_EQ(form.Grid().RowCount(), 4);
  // Answers that are no size change nothing.
  TMtx before;
  before.Copy(d);
  for (const char* answer : {"abc", "-1"}) {
    FDialogs.InputAnswers = {std::string("2"), std::string(answer)};
    Run(form, "ASize");
    EXPECT_TRUE(SameMatrix(form.Data(), before));
  }
  EXPECT_EQ(FDialogs.Shown.size(), 2U) << FDialogs.ShownTexts();
  EXPECT_EQ(Cell(form, 0, 0), "3x2");
}

TEST_F(NumoraEdit, OperationsFollowTheData) {
  TNumoraEditForm& form = Open(*Complex2x2());
  Run(form, "ATransp");
  EXPECT_EQ(form.Data().CRowValues(0)[1].Re, 0.25);
  Run(form, "AAdjung");  // back, conjugated
  EXPECT_EQ(form.Data().CRowValues(0)[0].Im, -2);
  Run(form, "AAdjung");
  Run(form, "ATransp");
  EXPECT_TRUE(SameMatrix(form.Data(), *Complex2x2()));
  Run(form, "AMag");
  EXPECT_FALSE(form.Data().Complex());
  EXPECT_EQ(form.Data().RowValues(1)[1], 5);
  EXPECT_EQ(form.Grid().ColCount(), 3);
  // A real matrix has no parts to take.
  for (const char* name : {"ACopyReal", "ARealPart", "AImagPart", "AMag"})
    EXPECT_FALSE(Control<QAction>(form, name).isEnabled()) << name;

  TNumoraEditForm parts;
  ReadSettings(parts, *Complex2x2(), "", false, false, false);
  Run(parts, "AImagPart");
  EXPECT_EQ(parts.Data().RowValues(1)[0], -1.5);
  ReadSettings(parts, *Complex2x2(), "", false, false, false);
  Run(parts, "ARealPart");
  EXPECT_EQ(parts.Data().RowValues(1)[0], 0.25);
  Run(parts, "ASetZero");
  EXPECT_EQ(parts.Data().RowValues(1)[0], 0);
  EXPECT_EQ(Cell(parts, 1, 2), "0.0000");
}

TEST_F(NumoraEdit, TypedCellsAreReadBeforeAnOperation) {
  TMtx m;
  m.Copy(*Real(2, 2));
  m.RowValues(0)[1] = 1e-9;
  TNumoraEditForm& form = Open(m, true);
  TypeInto(form, 1, 1, "8");
  Run(form, "ATransp");
  EXPECT_EQ(form.Data().RowValues(0)[0], 8);
  EXPECT_EQ(form.Data().RowValues(1)[0], 1e-9);  // never rounded by its "0.0000"
  EXPECT_EQ(Cell(form, 1, 1), "8.0000");
  // A cell that does not read stops the operation and names itself.
  TypeInto(form, 2, 2, "x");
  Run(form, "ATransp");
  EXPECT_EQ(LastMessage().rfind("Row 1, column 1: ", 0), 0U) << FDialogs.ShownTexts();
  EXPECT_EQ(form.Data().RowValues(1)[0], 1e-9);
  // So does leaving the editable mode; fixed, it reads and ends.
  Run(form, "AEditable");
  EXPECT_TRUE(form.Editable());
  EXPECT_TRUE(Control<QAction>(form, "AEditable").isChecked());
  TypeInto(form, 2, 2, "6");
  Run(form, "AEditable");
  EXPECT_FALSE(form.Editable());
  EXPECT_FALSE(Control<QAction>(form, "AEditable").isChecked());
  EXPECT_EQ(form.Data().RowValues(1)[1], 6);
  EXPECT_EQ(form.Grid().editTriggers(), QAbstractItemView::NoEditTriggers);
}

TEST_F(NumoraEdit, TypingOnePartOfAComplexValueKeepsTheOther) {
  TMtx m;
  m.Copy(*Complex2x2());
  m.CRowValues(0)[0] = {1, 1e-9};
  TNumoraEditForm& form = Open(m, true);
  TypeInto(form, 1, 1, "5");
  form.ReadGrid();
  EXPECT_EQ(form.Data().CRowValues(0)[0].Re, 5);
  EXPECT_EQ(form.Data().CRowValues(0)[0].Im, 1e-9);
}

TEST_F(NumoraEdit, TheDelimiterTakesACharacterCode) {
  TNumoraEditForm& form = Open(*Real(1, 2));
  QAction& action = Control<QAction>(form, "ASetDelimiter");
  EXPECT_EQ(action.text(), "Delimiter = #9");
  FDialogs.InputAnswers = {std::string("#44")};
  Run(form, "ASetDelimiter");
  EXPECT_EQ(FDialogs.InputQueries[0].Caption, "Set new delimiter");
  EXPECT_EQ(FDialogs.InputQueries[0].Prompt, "Delimiter:");
  EXPECT_EQ(FDialogs.InputQueries[0].Value, "#9");
  EXPECT_EQ(form.Delimiter(), ",");
  EXPECT_EQ(action.text(), "Delimiter = #44");
  Run(form, "ACopy");
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "0.5,1.5\n");
  // Answers that are no delimiter keep the old one.
  for (const char* answer : {"#abc", "#", "#0", "#200", ""}) {
    FDialogs.InputAnswers = {std::string(answer)};
    Run(form, "ASetDelimiter");
    EXPECT_EQ(form.Delimiter(), ",") << answer;
    EXPECT_EQ(action.text(), "Delimiter = #44");
  }
  EXPECT_EQ(FDialogs.Shown.size(), 5U) << FDialogs.ShownTexts();
  FDialogs.InputAnswers = {std::string("; ")};
  Run(form, "ASetDelimiter");
  EXPECT_EQ(form.Delimiter(), "; ");
}

TEST(DelimiterCodes, DecodeAndEncode) {
  struct Case {
    std::string Text;
    std::optional<std::string> Decoded;
  };
  for (const Case& c :
       {Case{"#9", "\t"}, Case{"#44", ","}, Case{"#32", " "}, Case{"#35", "#"}, Case{";", ";"}, Case{", ", ", "},
        Case{"#127", "\x7f"}, Case{"#128", std::nullopt}, Case{"#0", std::nullopt}, Case{"#", std::nullopt},
        Case{"#9a", std::nullopt}, Case{"a#9", std::nullopt}, Case{"", std::nullopt}, Case{"#0044", std::nullopt}}) {
    EXPECT_EQ(DecodeDelimiter(c.Text), c.Decoded) << c.Text;
    if (c.Decoded) {
      EXPECT_EQ(DecodeDelimiter(EncodeDelimiter(*c.Decoded)), c.Decoded) << c.Text;
    }
  }
  EXPECT_EQ(EncodeDelimiter("\t"), "#9");
  EXPECT_EQ(EncodeDelimiter(","), ",");
  EXPECT_EQ(EncodeDelimiter("#"), "#35");
}

TEST_F(NumoraEdit, ColumnWidthAndFormatsRedrawTheGrid) {
  TNumoraEditForm& form = Open(*Real(1, 2));
  FDialogs.InputAnswers = {std::string("100")};
  Run(form, "AColWidth");
  EXPECT_EQ(FDialogs.InputQueries[0].Caption, "Column width selection");
  EXPECT_EQ(FDialogs.InputQueries[0].Prompt, "New column width:");
  EXPECT_EQ(FDialogs.InputQueries[0].Value, "64");
  EXPECT_EQ(form.ColumnWidth(), 100);
  EXPECT_EQ(form.Grid().columnWidth(2), 100);
  for (const char* answer : {"wide", "3"}) {
    FDialogs.InputAnswers = {std::string(answer)};
    Run(form, "AColWidth");
    EXPECT_EQ(form.ColumnWidth(), 100) << answer;
  }
  EXPECT_EQ(FDialogs.Shown.size(), 2U) << FDialogs.ShownTexts();
  FDialogs.InputAnswers = {std::string("0.0")};
  Run(form, "AStrFmt");
  EXPECT_EQ(FDialogs.InputQueries.back().Caption, "String format selection");
  EXPECT_EQ(FDialogs.InputQueries.back().Prompt, "New string format:");
  EXPECT_EQ(FDialogs.InputQueries.back().Value, "0.0000");
  EXPECT_EQ(Cell(form, 2, 1), "1.5");
  Run(form, "ScientificFormatItem");
  EXPECT_TRUE(form.Scientific());
  EXPECT_EQ(Cell(form, 2, 1), "1.5");
  EXPECT_EQ(Cell(form, 1, 1), "0.5");
}

TEST_F(NumoraEdit, SettingsLiveInTheStore) {
  {
    TNumoraEditForm& form = Open(*Real(1, 2));
    FDialogs.InputAnswers = {std::string("#59"), std::string("80"), std::string("0.00")};
    Run(form, "ASetDelimiter");
    Run(form, "AColWidth");
    Run(form, "AStrFmt");
    Run(form, "ScientificFormatItem");
    ChooseFile("a.txt", 3);
    Run(form, "ASave");
    FForm.reset();
  }
  const ui::TRegIniFile store("\\Software\\Halvane\\Numora");
  EXPECT_EQ(store.ReadString("NumoraEditor", "Delimiter", ""), ";");
  EXPECT_EQ(store.ReadInteger("NumoraEditor", "ColumnWidth", 0), 80);
  EXPECT_EQ(store.ReadString("NumoraEditor", "StringFormat", ""), "0.00");
  EXPECT_TRUE(store.ReadBool("NumoraEditor", "Scientific", false));
  EXPECT_EQ(store.ReadString("NumoraEditor", "LastSaveDir", ""), FDir.Path().string());
  EXPECT_EQ(store.ReadInteger("NumoraEditor", "FormStyle", -1), 0);
  EXPECT_EQ(store.ReadInteger("NumoraEditor", "FormPosition", -1), 4);
  EXPECT_GT(store.ReadInteger("NumoraEditor", "Width", 0), 0);

  TNumoraEditForm& form = Open(*Real(1, 2));
  EXPECT_EQ(form.Delimiter(), ";");
  EXPECT_EQ(form.ColumnWidth(), 80);
  EXPECT_EQ(form.StringFormat(), "0.00");
  EXPECT_TRUE(form.Scientific());
  EXPECT_TRUE(Control<QAction>(form, "ScientificFormatItem").isChecked());
  EXPECT_EQ(Control<QAction>(form, "ASetDelimiter").text(), "Delimiter = ;");
  EXPECT_EQ(form.Grid().columnWidth(1), 80);
  ChooseFile("b.txt", 3);
  Run(form, "ASave");
  EXPECT_EQ(FDialogs.FileDialogs.back().InitialDir, FDir.Path().string());
}

TEST_F(NumoraEdit, StoredSettingsThatDoNotReadGiveTheDefaults) {
  {
    ui::TRegIniFile store("\\Software\\Halvane\\Numora");
    store.WriteString("NumoraEditor", "Delimiter", "#abc");
    store.WriteInteger("NumoraEditor", "ColumnWidth", 2);
    store.WriteInteger("NumoraEditor", "FormStyle", 3);
    store.UpdateFile();
  }
  classlib::TWarningRecorder warnings;
  TNumoraEditForm& form = Open(*Real(1, 2));
  EXPECT_EQ(form.Delimiter(), "\t");
  EXPECT_EQ(form.ColumnWidth(), 64);
  ASSERT_EQ(warnings.Warnings().size(), 1U);
  EXPECT_NE(warnings.Warnings()[0].find("#abc"), std::string::npos);
  // A stored stay-on-top style is kept.
  EXPECT_TRUE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST_F(NumoraEdit, TheChartMenuDrawsRowsAndColumns) {
  TNumoraEditForm& form = Open(*Real(3, 4));
  QMenu& chart = Control<QMenu>(form, "ChartMenu");
  EXPECT_TRUE(chart.menuAction()->isVisible());
  ASSERT_EQ(chart.actions().size(), 2);
  EXPECT_EQ(chart.actions()[0]->text(), "Series in rows");
  EXPECT_EQ(chart.actions()[1]->text(), "Series in cols");
  // Rows of a matrix go to the colour grid, columns transposed.
  std::vector<std::pair<int, int>> shown;
  const auto inspect = [&](QDialog& window) {
    auto& view = Control<chart::TKivPanelWidget>(window, "ValuesChart");
    auto& c = dynamic_cast<chart::TChart&>(view.Panel());
    EXPECT_EQ(c.SeriesCount(), 1);
    if (auto* grid = dynamic_cast<TMtxGridSeries*>(c.Series(0)))
      shown.push_back({grid->Matrix().Rows(), grid->Matrix().Cols()});
    if (auto* line = dynamic_cast<chart::TFastLineSeries*>(c.Series(0))) shown.push_back({line->Count(), 0});
    return static_cast<int>(QDialog::Rejected);
  };
  FDialogs.Modals = {inspect, inspect};
  Run(form, "KivItemDrawRows");
  Run(form, "KivItemDrawCols");
  EXPECT_EQ(shown, (std::vector<std::pair<int, int>>{{3, 4}, {4, 3}}));
  // A single row is a line of its values; one column leaves "in rows" off.
  TNumoraEditForm row;
  ReadSettings(row, *Real(1, 5), "", false, false, false);
  FDialogs.Modals = {inspect};
  Run(row, "KivItemDrawRows");
  EXPECT_FALSE(Control<QAction>(row, "KivItemDrawCols").isEnabled());
  EXPECT_EQ(shown.back(), (std::pair<int, int>{5, 0}));
  TNumoraEditForm column;
  ReadSettings(column, *Real(5, 1), "", false, false, false);
  EXPECT_FALSE(Control<QAction>(column, "KivItemDrawRows").isEnabled());
  EXPECT_TRUE(Control<QAction>(column, "KivItemDrawCols").isEnabled());
  FreeValuesWindow();
}

}  // namespace
}  // namespace analysis_ui
