// The methods window and the filter-parameter dialog driven as a user drives
// them: filters added, edited and deleted, the method designed with its
// progress, saved as a method file and as MQL text and opened again, the
// dialog's input rules and refusals, and a picture of the window.
// Covers: formGroup.cpp, FormMethodEdit.cpp, the methods command of formMain.cpp.
#include <QAction>
#include <QCheckBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QToolBar>

#include "WorkbenchFixture.h"
#include "workbench/forms/Controls.h"
#include "workbench/forms/FormMethodEdit.h"
#include "workbench/forms/formGroup.h"
#include "workbench/logic/MethodRows.h"
#include "workbench/logic/TextFiles.h"

namespace workbench {
namespace {

class MethodsWindow : public TWorkbenchTest {
 protected:
  TfrmMethods& Start() {
    StartWorkbench(OwnMethodSettings);
    QTest::mouseClick(FMain->ToolBar1->widgetForAction(FMain->actFormMethods), Qt::LeftButton);
    auto* methods = dynamic_cast<TfrmMethods*>(FMain->FindChildWindow("frmmethods"));
    if (methods == nullptr) throw std::runtime_error("no methods window");
    return *methods;
  }

  // Answers the next filter-parameter dialog with `fill`, then presses OK.
  void AnswerDialog(const std::function<void(TfrmMethodEdit&)>& fill, const char* title = nullptr) {
    FDialogs.Modals.push_back([this, fill, title](QDialog& dialog) {
      auto& edit = dynamic_cast<TfrmMethodEdit&>(dialog);
      if (title != nullptr) {
        EXPECT_EQ(edit.windowTitle(), QString::fromUtf8(title));
      }
      edit.show();
      fill(edit);
      QTest::mouseClick(&Control<QPushButton>(edit, "btnOK"), Qt::LeftButton);
      const int result = edit.result();
      edit.hide();
      return result;
    });
  }

  static void Type(QLineEdit& input, const QString& text) {
    input.selectAll();
    QTest::keyClick(&input, Qt::Key_Backspace);
    QTest::keyClicks(&input, text);
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(&input, &out);
  }

  static QString Cell(TfrmMethods& m, int row, int column) {
    QTableWidgetItem* item = m.sgrGroup->item(row, column);
    return item == nullptr ? QString() : item->text();
  }

  // Adds a low-pass filter with P1 = p1 through the dialog.
  void AddLowPass(TfrmMethods& m, int p1, bool library = false) {
    AnswerDialog([&](TfrmMethodEdit& d) {
      Type(Control<QLineEdit>(d, "InputT1"), QString::number(p1));
      if (library) ClickButton(&Control<QRadioButton>(d, "Method2"));
    });
    m.actAdd->trigger();
  }
};

TEST_F(MethodsWindow, TheMainWindowOpensOneAndSetsItsCommands) {
  TfrmMethods& m = Start();
  EXPECT_EQ(FMain->ActiveChild(), &m);
  EXPECT_EQ(FMain->actFileOpen->toolTip(), "Открыть файл с настройками метода");
  EXPECT_EQ(FMain->actFileSave->toolTip(), "Сохранить текст метода в MQL-файл");
  for (QAction* action : {FMain->actFileSave, FMain->actFormCopy, FMain->actZoomIn, FMain->actZoomOut, FMain->actRefresh})
    EXPECT_FALSE(action->isEnabled()) << action->objectName().toStdString();
  // A second press brings the same window to the front.
  FMain->actFormRemez->trigger();
  EXPECT_NE(FMain->ActiveChild(), &m);
  FMain->actFormMethods->trigger();
  EXPECT_EQ(FMain->ActiveChild(), &m);
  int windows = 0;
  for (QMdiSubWindow* child : FMain->MDIClient->subWindowList()) windows += child->objectName() == "frmMethods";
  EXPECT_EQ(windows, 1);
}

TEST_F(MethodsWindow, AddsEditsAndDeletesFilters) {
  TfrmMethods& m = Start();
  EXPECT_EQ(m.windowTitle(), "Наборы фильтров и индикаторов");
  EXPECT_EQ(m.sgrGroup->rowCount(), 1);
  EXPECT_FALSE(m.actEdit->isEnabled());
  EXPECT_FALSE(m.actCalculate->isEnabled());

  int estimate = 0;
  AnswerDialog(
      [&](TfrmMethodEdit& d) {
        EXPECT_EQ(Control<QLineEdit>(d, "FilterName").text(), "filter1");
        Type(Control<QLineEdit>(d, "InputT1"), "30");
        estimate = Control<QLabel>(d, "LabelOrder").text().toInt();
      },
      "Внесение нового фильтра в метод");
  m.actAdd->trigger();
  ASSERT_EQ(m.MethodFilters().size(), 1u);
  EXPECT_GT(estimate, 3);
  const QStringList first = {"1", "filter1", "LP", "30", "12", "40", "36", "52", "40", "0.08", "0",
                             "Auto (" + QString::number(estimate) + ")", "1"};
  for (int c = 0; c < MethodGridColumns; ++c) EXPECT_EQ(Cell(m, 0, c), first[c]) << c;
  EXPECT_TRUE(m.actCalculate->isEnabled());
  EXPECT_TRUE(FMain->actFileSave->isEnabled());

  // A band-pass filter by the library design, fed by (high + low) / 2.
  AnswerDialog([&](TfrmMethodEdit& d) {
    ClickButton(Control<TRadioGroup>(d, "FilterType").Button(ftBandPass));
    ClickButton(&Control<QRadioButton>(d, "Method2"));
    ClickButton(&Control<QRadioButton>(d, "rbPrice2"));
    EXPECT_EQ(Control<QGroupBox>(d, "FIRGroupBox").title(), "Полоса пропускания, бар");
  });
  m.actAdd->trigger();
  ASSERT_EQ(m.MethodFilters().size(), 2u);
  EXPECT_EQ(Cell(m, 1, 2), "BP");
  EXPECT_EQ(Cell(m, 1, 12), "2");
  EXPECT_EQ(m.MethodFilters()[1].Price, 1);
  EXPECT_EQ(m.SelectedRow(), 2);

  // Editing the first row shows its record and replaces it.
  m.sgrGroup->setCurrentCell(0, 3);
  AnswerDialog(
      [&](TfrmMethodEdit& d) {
        EXPECT_EQ(Control<QLineEdit>(d, "InputT1").text(), "30");
        EXPECT_EQ(Control<QLineEdit>(d, "FilterName").text(), "filter1");
        Type(Control<QLineEdit>(d, "InputAtten1"), "50");
      },
      "Редактирование фильтре в методе");
  m.actEdit->trigger();
  EXPECT_EQ(Cell(m, 0, 5), "50");
  EXPECT_EQ(m.MethodFilters()[0].A1, 50);

  // A cancelled edit changes nothing.
  const auto before = m.MethodFilters();
  FDialogs.Modals.push_back([](QDialog& dialog) {
    auto& d = dynamic_cast<TfrmMethodEdit&>(dialog);
    d.InputT1->SetValue(99);
    QTest::mouseClick(d.btnCancel, Qt::LeftButton);
    return d.result();
  });
  // A double-click as a user makes it: the view opens nothing for a double-click without its press.
  const QPoint firstRow = m.sgrGroup->visualItemRect(m.sgrGroup->item(0, 1)).center();
  QTest::mouseClick(m.sgrGroup->viewport(), Qt::LeftButton, {}, firstRow);
  QTest::mouseDClick(m.sgrGroup->viewport(), Qt::LeftButton, {}, firstRow);
  EXPECT_EQ(m.MethodFilters(), before);

  // Deleting asks first; Cancel keeps the filter.
  m.sgrGroup->setCurrentCell(1, 0);
  FDialogs.Answers.push_back(mrCancel);
  m.actDelete->trigger();
  EXPECT_EQ(m.MethodFilters().size(), 2u);
  FDialogs.Answers.push_back(mrOK);
  m.actDelete->trigger();
  ASSERT_EQ(m.MethodFilters().size(), 1u);
  ASSERT_GE(FDialogs.Shown.size(), 2u);
  EXPECT_EQ(FDialogs.Shown.back().Text, "Delete 'filter2' filter record?");
  EXPECT_EQ(FDialogs.Shown.back().Caption, "Confirmation");
  EXPECT_EQ(FDialogs.Shown.back().Icon, miInformation);
  EXPECT_TRUE(m.actCalculate->isEnabled());

  // Deleting the last filter leaves nothing to design or save.
  FDialogs.Answers.push_back(mrOK);
  m.actDelete->trigger();
  EXPECT_TRUE(m.MethodFilters().empty());
  EXPECT_EQ(m.sgrGroup->rowCount(), 1);
  EXPECT_FALSE(m.actCalculate->isEnabled());
  EXPECT_FALSE(FMain->actFileSave->isEnabled());
  EXPECT_FALSE(m.actEdit->isEnabled());
}

TEST_F(MethodsWindow, CalculatesSavesAndOpensTheMethod) {
  TfrmMethods& m = Start();
  AddLowPass(m, 24);
  AddLowPass(m, 40, true);
  m.memoBefore->setPlainText("  // lead code\n#property indicator_chart_window\n\n");
  m.memoAfter->setPlainText("return(0);\n");

  QSignalSpy progress(m.pbMethods, &QProgressBar::valueChanged);
  bool shownWhileWorking = false;
  QObject::connect(m.pbMethods, &QProgressBar::valueChanged, [&] { shownWhileWorking = m.pbMethods->isVisible(); });
  const std::string mql = FDir.File("method");
  FDialogs.FileChoices.push_back(TFileChoice{mql, 2});
  m.actCalculate->trigger();
  ASSERT_EQ(progress.size(), 3);
  EXPECT_EQ(progress[0][0].toInt(), 0);
  EXPECT_EQ(progress[1][0].toInt(), 50);
  EXPECT_EQ(progress[2][0].toInt(), 100);
  EXPECT_TRUE(shownWhileWorking);
  EXPECT_FALSE(m.pbMethods->isVisible());
  EXPECT_TRUE(m.Calculated());
  ASSERT_FALSE(FDialogs.FileDialogs.empty());
  EXPECT_EQ(FDialogs.FileDialogs.back().Filter, "Параметры метода (*.dmp)|*.dmp|Текст индикатора MQL (*.mql)|*.mql");
  EXPECT_EQ(FDialogs.FileDialogs.back().FilterIndex, 2);

  // The text is the logic's text of the same method.
  const TMethod method = m.Method();
  TDesignWorkspace ws;
  const TMethodDesign design = CalculateMethod(ws, method);
  EXPECT_EQ(FileText(mql + ".mql"), MethodText(method, design.Coefficients));
  EXPECT_EQ(FileText(mql + ".mql").substr(0, 51), "// lead code\r\n#property indicator_chart_window\r\n// ");

  // Save through the main window: "m.dmp" stays "m.dmp".
  const std::string dmp = FDir.File("m.dmp");
  FDialogs.FileChoices.push_back(TFileChoice{dmp, 1});
  FMain->actFileSave->trigger();
  EXPECT_EQ(FileText(dmp), MethodFileBytes(method));
  EXPECT_EQ(FDir.Listing(), "m.dmp;method.mql;orvel.ini;");

  // A change of the method takes the MQL text off the save dialog.
  m.sgrGroup->setCurrentCell(0, 0);
  AnswerDialog([](TfrmMethodEdit& d) { d.InputDelay->SetValue(2); });
  m.actEdit->trigger();
  EXPECT_FALSE(m.Calculated());
  FDialogs.FileChoices.push_back(std::nullopt);
  m.actSave->trigger();
  EXPECT_EQ(FDialogs.FileDialogs.back().Filter, "Параметры метода (*.dmp)|*.dmp");

  // Opened in a new window, the method is as it was saved.
  m.close();
  QTest::mouseClick(FMain->ToolBar1->widgetForAction(FMain->actFormMethods), Qt::LeftButton);
  auto* again = dynamic_cast<TfrmMethods*>(FMain->FindChildWindow("frmmethods"));
  ASSERT_NE(again, nullptr);
  ASSERT_NE(again, &m);
  EXPECT_TRUE(again->MethodFilters().empty());
  FDialogs.FileChoices.push_back(TFileChoice{dmp, 1});
  FMain->actFileOpen->trigger();
  EXPECT_EQ(FDialogs.FileDialogs.back().Filter, "Параметры метода (*.dmp)|*.dmp");
  EXPECT_EQ(again->MethodFilters(), method.Filters);
  EXPECT_EQ(again->memoBefore->toPlainText(), "// lead code\n#property indicator_chart_window");
  EXPECT_EQ(again->memoAfter->toPlainText(), "return(0);");
  EXPECT_EQ(Cell(*again, 1, 1), "filter2");
  EXPECT_TRUE(again->actCalculate->isEnabled());
  EXPECT_EQ(again->SelectedRow(), 1);

  // A damaged file is refused with its reason and changes nothing.
  const std::string bad = FDir.Write("bad.dmp", std::string("\x05\0\0\0", 4));
  FDialogs.FileChoices.push_back(TFileChoice{bad, 1});
  again->actOpen->trigger();
  ASSERT_FALSE(FDialogs.Shown.empty());
  EXPECT_NE(FDialogs.Shown.back().Text.find("bad.dmp"), std::string::npos) << FDialogs.ShownTexts();
  EXPECT_EQ(again->MethodFilters(), method.Filters);
}

TEST_F(MethodsWindow, TheDialogsInputRulesAndRefusals) {
  TfrmMethods& m = Start();
  FDialogs.Modals.push_back([this](QDialog& dialog) {
    auto& d = dynamic_cast<TfrmMethodEdit&>(dialog);
    d.show();
    // The name takes Latin letters and digits only.
    QLineEdit& name = Control<QLineEdit>(d, "FilterName");
    name.clear();
    for (const char* key : {"a", " ", "b", "_", "Ж", "1"}) {
      QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8(key));
      QApplication::sendEvent(&name, &press);
    }
    EXPECT_EQ(name.text(), "ab1");
    // A band-pass filter with D1 typed as 1 gets D1 = 3 and P1 above it.
    ClickButton(d.FilterType->Button(ftBandPass));
    d.InputT1->SetValue(3);
    Type(*d.InputTransient1, "1");
    EXPECT_EQ(d.InputTransient1->text(), "3");
    EXPECT_GE(d.InputT1->Value(), 4);
    EXPECT_EQ(d.InputAtten2->Value(), d.InputAtten1->Value());
    // The band-stop filter names its band and takes A2 away.
    ClickButton(d.FilterType->Button(ftBandStop));
    EXPECT_EQ(d.FIRGroupBox->title(), "Полоса задерживания, бар");
    EXPECT_FALSE(d.InputAtten2->isEnabled());
    ClickButton(d.FilterType->Button(ftLowPass));
    EXPECT_FALSE(d.InputT2->isEnabled());
    // A delay renames the low-pass item.
    Type(*d.InputDelay, "1");
    EXPECT_EQ(d.FilterType->Button(0)->text(), "ФНЧ (RFTL, RSTL) QZLP");
    Type(*d.InputDelay, "0");
    EXPECT_EQ(d.FilterType->Button(0)->text(), "ФНЧ (FATL, SATL) QZLP");

    // No name: refused, the dialog stays.
    name.clear();
    QTest::mouseClick(d.btnOK, Qt::LeftButton);
    EXPECT_TRUE(d.Cancelled());
    EXPECT_EQ(FDialogs.Shown.back().Text, "Введите название фильтра");
    EXPECT_EQ(FDialogs.Shown.back().Caption, "Orvel");

    // A manual order of 1500: refused, whatever the estimate.
    QTest::keyClicks(&name, "big");
    ClickButton(d.CheckBoxOrder);
    EXPECT_TRUE(d.InputOrder->isVisible());
    EXPECT_EQ(d.InputOrder->Value(), d.OrderEstimate());
    Type(*d.InputOrder, "1500");
    d.InputT1->SetValue(25);  // a new estimate does not let the manual order through
    QTest::mouseClick(d.btnOK, Qt::LeftButton);
    EXPECT_TRUE(d.Cancelled());
    EXPECT_EQ(FDialogs.Shown.back().Text, "Длина фильтра превышает максимальное значение");

    // An estimate of 1500 or more: shown in red, refused.
    ClickButton(d.CheckBoxOrder);
    d.InputAtten1->SetValue(1000);
    d.InputT1->SetValue(300);
    d.InputTransient1->SetValue(299);
    EXPECT_GE(d.OrderEstimate(), MaxFilterOrder);
    EXPECT_EQ(d.LabelOrder->palette().color(QPalette::WindowText), QColor(Qt::red));
    const std::size_t shown = FDialogs.Shown.size();
    QTest::mouseClick(d.btnOK, Qt::LeftButton);
    EXPECT_EQ(FDialogs.Shown.size(), shown + 1);
    EXPECT_EQ(FDialogs.Shown.back().Text, "Длина фильтра превышает максимальное значение");

    // Within the limit it closes with the record.
    d.InputAtten1->SetValue(40);
    d.InputTransient1->SetValue(150);
    QTest::mouseClick(d.btnOK, Qt::LeftButton);
    EXPECT_FALSE(d.Cancelled());
    return d.result();
  });
  m.actAdd->trigger();
  ASSERT_EQ(m.MethodFilters().size(), 1u);
  EXPECT_EQ(m.MethodFilters()[0].Name.Str(), "big");
  EXPECT_EQ(m.MethodFilters()[0].D1, 150);
  EXPECT_EQ(m.MethodFilters()[0].CoefCount, 0);
}

TEST_F(MethodsWindow, ADesignOutOfRoundsIsMarkedAndPictured) {
  const int order = IterationLimitOrder();
  if (order == 0) GTEST_SKIP() << "the own exchange settles every candidate";
  TfrmMethods& m = Start();
  AddLowPass(m, 24);
  AnswerDialog([&](TfrmMethodEdit& d) {
    d.InputT1->SetValue(10);
    d.InputTransient1->SetValue(5);
    ClickButton(d.CheckBoxOrder);
    Type(*d.InputOrder, QString::number(order));
  });
  m.actAdd->trigger();
  m.memoBefore->setPlainText("// Orvel method");
  FDialogs.FileChoices.push_back(std::nullopt);
  m.actCalculate->trigger();
  ASSERT_TRUE(m.Calculated());
  const QString warning = QString::fromUtf8(msgIterationLimit).replace("\n\r", "\n");
  EXPECT_TRUE(m.sgrGroup->item(0, 0)->icon().isNull());
  EXPECT_TRUE(m.sgrGroup->item(0, 1)->toolTip().isEmpty());
  EXPECT_FALSE(m.sgrGroup->item(1, 0)->icon().isNull());
  for (int c = 0; c < MethodGridColumns; ++c) EXPECT_EQ(m.sgrGroup->item(1, c)->toolTip(), warning) << c;

  m.showMaximized();
  m.sgrGroup->clearSelection();
  m.sgrGroup->setCurrentCell(-1, -1);
  QTest::qWait(20);
  const QImage shot = Screenshot(*FMain, "methods_window");
  const auto at = [&](QWidget& w, QPoint p) { return shot.pixelColor(w.mapTo(FMain.get(), p) * shot.devicePixelRatio()); };
  // The marked row is tinted; the row above it is not.
  const QRect marked = m.sgrGroup->visualItemRect(m.sgrGroup->item(1, 6));
  const QRect plain = m.sgrGroup->visualItemRect(m.sgrGroup->item(0, 6));
  EXPECT_EQ(at(*m.sgrGroup->viewport(), marked.topLeft() + QPoint(marked.width() - 3, 3)), QColor(255, 232, 160));
  EXPECT_NE(at(*m.sgrGroup->viewport(), plain.topLeft() + QPoint(plain.width() - 3, 3)), QColor(255, 232, 160));
  // Dark text in the grid's cells and in the leading code's memo.
  int dark = 0;
  for (int x = marked.left(); x < marked.right(); ++x)
    for (int y = marked.top(); y < marked.bottom(); ++y)
      if (at(*m.sgrGroup->viewport(), {x, y}).lightness() < 90) ++dark;
  EXPECT_GT(dark, 5);
  int memoDark = 0;
  for (int x = 2; x < 120; ++x)
    for (int y = 2; y < 20; ++y)
      if (at(*m.memoBefore->viewport(), {x, y}).lightness() < 90) ++memoDark;
  EXPECT_GT(memoDark, 20);
}

}  // namespace
}  // namespace workbench
