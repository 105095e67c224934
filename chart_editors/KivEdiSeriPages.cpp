// The series editor's "General" and "Marks" pages.
//
// Tested by: chart_editors/tests/SeriesEditorTest.cpp
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include <algorithm>

#include "chart/ChartAxis.h"
#include "chart/core/KivConst.h"
#include "chart/core/KivProcsRoutines.h"
#include "chart/series/SeriesMarks.h"
#include "chart_editors/EditorTexts.h"
#include "chart_editors/KivEdiSeri.h"
#include "chart_editors/KivLisB.h"
#include "chart_editors/KivPoEdi.h"
#include "platform/classlib/Exception.h"
#include "platform/ui/Guarded.h"

namespace chart_editors {

using chart::TChartSeries;

namespace {

QString LocaleText(const std::string& format) { return QString::fromStdString(chart::ToLocaleSeparators(format)); }
std::string FormatText(const QString& text) { return chart::FromLocaleSeparators(text.toStdString()); }

}  // namespace

// --- "General" -------------------------------------------------------------------

void TFormKivSeries::BuildGeneralPage() {
  QWidget* p = TabGeneral;
  LSort = CreateControl<QLabel>(p, "LSort", "S&ort:");
  CBSort = CreateControl<chart::TComboFlat>(p, "CBSort");
  CBSort->addItems({"Ascending", "Descending", "None"});
  LSort->setBuddy(CBSort);

  GB5 = CreateControl<QGroupBox>(p, "GB5", "General:");
  CBShowInLegend = CreateControl<QCheckBox>(GB5, "CBShowInLegend", "&Show In Legend");
  CBShowInLegend->setChecked(true);
  L27 = CreateControl<QLabel>(GB5, "L27", "&Cursor:");
  CBCursor = CreateControl<chart::TComboFlat>(GB5, "CBCursor");
  L27->setBuddy(CBCursor);
  LDepth = CreateControl<QLabel>(GB5, "LDepth", "&Depth:");
  UDDepth = CreateUpDownEdit(GB5, "EDepth", "UDDepth", 0, 1200);
  EDepth = UDDepth->findChild<QLineEdit*>("EDepth");
  LDepth->setBuddy(UDDepth);
  CBDepth = CreateControl<QCheckBox>(GB5, "CBDepth", "Auto");
  auto* general = new QGridLayout(GB5);
  general->addWidget(CBShowInLegend, 0, 0, 1, 3);
  general->addWidget(L27, 1, 0);
  general->addWidget(CBCursor, 1, 1, 1, 2);
  general->addWidget(LDepth, 2, 0);
  general->addWidget(UDDepth, 2, 1);
  general->addWidget(CBDepth, 2, 2);

  GB2 = CreateControl<QGroupBox>(p, "GB2", "Formats:");
  L15 = CreateControl<QLabel>(GB2, "L15", "&Values:");
  CBFormat = CreateControl<QComboBox>(GB2, "CBFormat");
  CBFormat->setEditable(true);
  CBFormat->setInsertPolicy(QComboBox::NoInsert);
  L15->setBuddy(CBFormat);
  L21 = CreateControl<QLabel>(GB2, "L21", "&Percents:");
  EPercentFormat = CreateControl<QLineEdit>(GB2, "EPercentFormat");
  L21->setBuddy(EPercentFormat);
  auto* formats = new QGridLayout(GB2);
  formats->addWidget(L15, 0, 0);
  formats->addWidget(CBFormat, 0, 1);
  formats->addWidget(L21, 1, 0);
  formats->addWidget(EPercentFormat, 1, 1);

  GBHorizAxis = CreateControl<QGroupBox>(p, "GBHorizAxis", "Horizontal Axis:");
  CBHorizAxis = CreateControl<chart::TComboFlat>(GBHorizAxis, "CBHorizAxis");
  CBHorizAxis->addItems({"Top", "Bottom", "Top and Bottom"});
  CBXDateTime = CreateControl<QCheckBox>(GBHorizAxis, "CBXDateTime", "Dat&eTime");
  auto* horiz = new QVBoxLayout(GBHorizAxis);
  horiz->addWidget(CBHorizAxis);
  horiz->addWidget(CBXDateTime);
  GBVertAxis = CreateControl<QGroupBox>(p, "GBVertAxis", "Vertical Axis:");
  CBVertAxis = CreateControl<chart::TComboFlat>(GBVertAxis, "CBVertAxis");
  CBVertAxis->addItems({"Left", "Right", "Left and Right"});
  CBYDateTime = CreateControl<QCheckBox>(GBVertAxis, "CBYDateTime", "D&ateTime");
  auto* vert = new QVBoxLayout(GBVertAxis);
  vert->addWidget(CBVertAxis);
  vert->addWidget(CBYDateTime);

  auto* sort = new QHBoxLayout;
  sort->addWidget(LSort);
  sort->addWidget(CBSort);
  sort->addStretch(1);
  auto* page = new QGridLayout(p);
  page->addWidget(GB5, 0, 0);
  page->addWidget(GB2, 1, 0);
  page->addWidget(GBHorizAxis, 0, 1);
  page->addWidget(GBVertAxis, 1, 1);
  page->addLayout(sort, 2, 0, 1, 2);
  page->setRowStretch(3, 1);
}

void TFormKivSeries::ConnectGeneralPage() {
  connect(EPercentFormat, &QLineEdit::textChanged, this, ui::Guarded([this](const QString& text) {
            if (!Filling() && TheSeries() != nullptr) TheSeries()->SetPercentFormat(FormatText(text));
          }));
  connect(CBFormat, &QComboBox::editTextChanged, this, ui::Guarded([this](const QString& text) {
            if (!Filling() && TheSeries() != nullptr) TheSeries()->SetValueFormat(FormatText(text));
          }));
  connect(CBXDateTime, &QCheckBox::toggled, this, ui::Guarded([this](bool on) {
            if (!Filling() && TheSeries() != nullptr) TheSeries()->XValues()->SetDateTime(on);
          }));
  connect(CBYDateTime, &QCheckBox::toggled, this, ui::Guarded([this](bool on) {
            if (!Filling() && TheSeries() != nullptr) TheSeries()->YValues()->SetDateTime(on);
          }));
  connect(CBShowInLegend, &QCheckBox::toggled, this, ui::Guarded([this](bool on) {
            if (!Filling() && TheSeries() != nullptr) TheSeries()->SetShowInLegend(on);
          }));
  connect(CBCursor, &QComboBox::activated, this, ui::Guarded([this] {
            if (Filling() || TheSeries() == nullptr) return;
            // A name that is no cursor's leaves the cursor as it was.
            try {
              TheSeries()->SetCursor(KivCursorFromName("cr" + CBCursor->currentText().toStdString()));
            } catch (const classlib::EConvertError&) {
            }
          }));
  connect(CBHorizAxis, &QComboBox::activated, this, ui::Guarded([this](int i) { CBAxisChange(true, i); }));
  connect(CBVertAxis, &QComboBox::activated, this, ui::Guarded([this](int i) { CBAxisChange(false, i); }));
  connect(CBSort, &QComboBox::activated, this, ui::Guarded([this](int i) { CBSortChange(i); }));
  connect(CBDepth, &QCheckBox::toggled, this, ui::Guarded([this](bool on) {
            Write([&] { TheSeries()->SetDepth(on ? -1 : UDDepth->value()); });
          }));
  connect(UDDepth, &QSpinBox::valueChanged, this, ui::Guarded([this](int v) {
            Write([&] {
              TheSeries()->SetDepth(v);
              CBDepth->setChecked(false);
            });
          }));
}

void TFormKivSeries::FillGeneralPage() {
  TChartSeries& series = *TheSeries();
  TFillingScope filling(*this);
  CBShowInLegend->setChecked(series.ShowInLegend());
  CBDepth->setChecked(series.Depth() == -1);
  UDDepth->setValue(series.Depth() == -1 ? 0 : series.Depth());
  QStringList formats;
  AddDefaultValueFormats(formats);
  const QString valueFormat = LocaleText(series.ValueFormat());
  if (!formats.contains(valueFormat)) formats << valueFormat;
  CBFormat->clear();
  CBFormat->addItems(formats);
  CBFormat->setEditText(valueFormat);
  EPercentFormat->setText(LocaleText(series.PercentFormat()));
  FillAxisCombo(*CBHorizAxis, true);
  FillAxisCombo(*CBVertAxis, false);
  CBXDateTime->setChecked(series.XValues()->DateTime());
  CBYDateTime->setChecked(series.YValues()->DateTime());
  switch (series.MandatoryValueList()->Order()) {
    case chart::loAscending: CBSort->setCurrentIndex(0); break;
    case chart::loDescending: CBSort->setCurrentIndex(1); break;
    default: CBSort->setCurrentIndex(2); break;
  }
  // Kinds with three or more lists keep their own order and depth.
  const bool fewLists = series.ValuesList().Count() < 3;
  SetControlsVisible(fewLists, {CBSort, LSort, LDepth, UDDepth, CBDepth});
  FillCursorCombo(*CBCursor, series.Cursor());
}

void TFormKivSeries::FillAxisCombo(chart::TComboFlat& combo, bool horizontal) {
  const TChartSeries& series = *TheSeries();
  while (combo.count() > 3) combo.removeItem(3);
  const chart::TChartAxis* custom = horizontal ? series.CustomHorizAxis() : series.CustomVertAxis();
  int chosen = horizontal ? static_cast<int>(series.HorizAxis()) : static_cast<int>(series.VertAxis());
  if (chosen > 2) chosen = -1;
  if (const chart::TCustomAxisPanel* chart = series.ParentChart()) {
    const chart::TChartCustomAxes& axes = *chart->CustomAxesList();
    for (int i = 0; i < axes.Count(); ++i) {
      chart::TChartAxis* axis = axes.Items(i);
      if (axis->Horizontal() != horizontal) continue;
      AddComboObject(combo, QString::fromStdString(chart::KivMsg(txtCustomAxis)) + " " + QString::number(i), axis);
      if (axis == custom) chosen = combo.count() - 1;
    }
  }
  combo.setCurrentIndex(chosen);
}

void TFormKivSeries::CBAxisChange(bool horizontal, int index) {
  if (Filling() || TheSeries() == nullptr || index < 0) return;
  TChartSeries& series = *TheSeries();
  chart::TComboFlat& combo = horizontal ? *CBHorizAxis : *CBVertAxis;
  if (index > 2) {
    auto* axis = ComboObject<chart::TChartAxis>(combo, index);
    if (horizontal)
      series.SetCustomHorizAxis(axis);
    else
      series.SetCustomVertAxis(axis);
  } else if (horizontal) {
    series.SetHorizAxis(static_cast<chart::THorizAxis>(index));
  } else {
    series.SetVertAxis(static_cast<chart::TVertAxis>(index));
  }
}

void TFormKivSeries::CBSortChange(int index) {
  if (Filling() || TheSeries() == nullptr || index < 0) return;
  TChartSeries& series = *TheSeries();
  series.NotMandatoryValueList()->SetOrder(chart::loNone);
  if (index == 2) {
    series.MandatoryValueList()->SetOrder(chart::loNone);
    return;
  }
  series.MandatoryValueList()->SetOrder(index == 0 ? chart::loAscending : chart::loDescending);
  series.CheckOrder();
}

// --- "Marks" ---------------------------------------------------------------------

void TFormKivSeries::BuildMarksPage() {
  PageControlMarks = CreateControl<QTabWidget>(TabMarks, "PageControlMarks");
  TabSheet1 = CreateControl<QWidget>(PageControlMarks, "TabSheet1");
  TabSheet2 = CreateControl<QWidget>(PageControlMarks, "TabSheet2");
  PageControlMarks->addTab(TabSheet1, "Style");
  PageControlMarks->addTab(TabSheet2, "Arrows");
  auto* marks = new QVBoxLayout(TabMarks);
  marks->addWidget(PageControlMarks);

  QWidget* s = TabSheet1;
  CBMarksVisible = CreateControl<QCheckBox>(s, "CBMarksVisible", "&Visible");
  CBMarkClip = CreateControl<QCheckBox>(s, "CBMarkClip", "Cl&ipped");
  L23 = CreateControl<QLabel>(s, "L23", "&Angle:");
  UDMarksAngle = CreateUpDownEdit(s, "SEMarksAngle", "UDMarksAngle", 0, 360);
  UDMarksAngle->setSingleStep(5);
  UDMarksAngle->setWrapping(true);
  SEMarksAngle = UDMarksAngle->findChild<QLineEdit*>("SEMarksAngle");
  L23->setBuddy(UDMarksAngle);
  Label3 = CreateControl<QLabel>(s, "Label3", "Draw &every:");
  UDEvery = CreateUpDownEdit(s, "EMarksEvery", "UDEvery", 1, 5000);
  EMarksEvery = UDEvery->findChild<QLineEdit*>("EMarksEvery");
  Label3->setBuddy(UDEvery);
  CBMultiLine = CreateControl<QCheckBox>(s, "CBMultiLine", "&Multi line");
  CBAllVisible = CreateControl<QCheckBox>(s, "CBAllVisible", "All Series Visi&ble");
  Label1 = CreateControl<QLabel>(s, "Label1", "&Style:");
  RGMarkStyle = new TRadioGroup("", {"Value", "Percent", "Label", "Label and Percent", "Label and Value", "Legend",
                                     "Percent Total", "Label and Percent Total", "X value", "X and Y values"},
                                s);
  RGMarkStyle->setObjectName("RGMarkStyle");
  Label1->setBuddy(RGMarkStyle);
  auto* style = new QGridLayout(s);
  style->addWidget(CBMarksVisible, 0, 0, 1, 2);
  style->addWidget(CBMarkClip, 1, 0, 1, 2);
  style->addWidget(L23, 2, 0);
  style->addWidget(UDMarksAngle, 2, 1);
  style->addWidget(Label3, 3, 0);
  style->addWidget(UDEvery, 3, 1);
  style->addWidget(CBMultiLine, 4, 0, 1, 2);
  style->addWidget(CBAllVisible, 5, 0, 1, 2);
  style->addWidget(Label1, 0, 2, Qt::AlignTop | Qt::AlignRight);
  style->addWidget(RGMarkStyle, 0, 3, 8, 1, Qt::AlignTop);
  style->setRowStretch(7, 1);
  style->setColumnStretch(4, 1);

  QWidget* a = TabSheet2;
  BMarkLinCol = CreateControl<TButtonPen>(a, "BMarkLinCol", "&Border...");
  L32 = CreateControl<QLabel>(a, "L32", "&Length:");
  UDArrowsLength = CreateUpDownEdit(a, "SEArrowLength", "UDArrowsLength", -1000, 1000);
  SEArrowLength = UDArrowsLength->findChild<QLineEdit*>("SEArrowLength");
  L32->setBuddy(UDArrowsLength);
  Label4 = CreateControl<QLabel>(a, "Label4", "&Distance:");
  UDArrowDist = CreateUpDownEdit(a, "EArrowDist", "UDArrowDist", -1000, 1000);
  EArrowDist = UDArrowDist->findChild<QLineEdit*>("EArrowDist");
  Label4->setBuddy(UDArrowDist);
  BCalloutPointer = CreateControl<QPushButton>(a, "BCalloutPointer", "&Pointer...");
  Label11 = CreateControl<QLabel>(a, "Label11", "&Arrow head:");
  CBHead = CreateControl<chart::TComboFlat>(a, "CBHead");
  CBHead->addItems({"None", "Line", "Solid"});
  Label11->setBuddy(CBHead);
  Label12 = CreateControl<QLabel>(a, "Label12", "&Size:");
  UDHeadSize = CreateUpDownEdit(a, "Edit1", "UDHeadSize", -1000, 1000);
  Edit1 = UDHeadSize->findChild<QLineEdit*>("Edit1");
  Label12->setBuddy(UDHeadSize);
  auto* arrows = new QGridLayout(a);
  arrows->addWidget(BMarkLinCol, 0, 0);
  arrows->addWidget(BCalloutPointer, 0, 1);
  arrows->addWidget(L32, 1, 0);
  arrows->addWidget(UDArrowsLength, 1, 1);
  arrows->addWidget(Label4, 2, 0);
  arrows->addWidget(UDArrowDist, 2, 1);
  arrows->addWidget(Label11, 3, 0);
  arrows->addWidget(CBHead, 3, 1);
  arrows->addWidget(Label12, 4, 0);
  arrows->addWidget(UDHeadSize, 4, 1);
  arrows->setRowStretch(5, 1);
  arrows->setColumnStretch(2, 1);
}

void TFormKivSeries::ConnectMarksPage() {
  const auto marks = [this] { return TheSeries()->Marks(); };
  RGMarkStyle->OnClick = [this, marks] {
    if (Filling() || TheSeries() == nullptr) return;
    marks()->SetStyle(static_cast<chart::TSeriesMarksStyle>(RGMarkStyle->ItemIndex()));
    EnableMultiLine();
  };
  connect(UDArrowsLength, &QSpinBox::valueChanged, this,
          ui::Guarded([this, marks](int v) { Write([&] { marks()->SetArrowLength(v); }); }));
  connect(CBMarkClip, &QCheckBox::toggled, this, ui::Guarded([this, marks](bool on) {
            if (!Filling() && TheSeries() != nullptr) marks()->SetClip(on);
          }));
  connect(CBMarksVisible, &QCheckBox::toggled, this, ui::Guarded([this](bool on) { CBMarksVisibleClick(on); }));
  connect(UDMarksAngle, &QSpinBox::valueChanged, this,
          ui::Guarded([this, marks](int v) { Write([&] { marks()->SetAngle(v); }); }));
  connect(UDEvery, &QSpinBox::valueChanged, this,
          ui::Guarded([this, marks](int v) { Write([&] { marks()->SetDrawEvery(v); }); }));
  connect(CBMultiLine, &QCheckBox::toggled, this, ui::Guarded([this, marks](bool on) {
            if (!Filling() && TheSeries() != nullptr) marks()->SetMultiLine(on);
          }));
  connect(CBAllVisible, &QCheckBox::toggled, this, ui::Guarded([this](bool on) { CBAllVisibleClick(on); }));
  connect(UDArrowDist, &QSpinBox::valueChanged, this,
          ui::Guarded([this, marks](int v) { Write([&] { marks()->Callout()->SetDistance(v); }); }));
  connect(BCalloutPointer, &QPushButton::clicked, this, ui::Guarded([this, marks] {
            if (TheSeries() != nullptr) EditCalloutPointerModal(this, *marks()->Callout());
          }));
  connect(CBHead, &QComboBox::activated, this, ui::Guarded([this, marks](int i) {
            if (i >= 0) Write([&] { marks()->Callout()->SetArrowHead(static_cast<chart::TArrowHeadStyle>(i)); });
          }));
  connect(UDHeadSize, &QSpinBox::valueChanged, this,
          ui::Guarded([this, marks](int v) { Write([&] { marks()->Callout()->SetArrowHeadSize(v); }); }));
}

void TFormKivSeries::FillMarksPage() {
  TChartSeries& series = *TheSeries();
  chart::TSeriesMarks& marks = *series.Marks();
  // The shape pages join the marks' own at the first show.
  if (FMarksShape == nullptr) FMarksShape = InsertShapeEditorPages(*PageControlMarks, nullptr);
  {
    TFillingScope filling(*this);
    RGMarkStyle->SetItemIndex(marks.Style());
    UDArrowsLength->setValue(marks.ArrowLength());
    UDArrowDist->setValue(marks.Callout()->Distance());
    UDMarksAngle->setValue(marks.Angle());
    CBMarkClip->setChecked(marks.Clip());
    UDEvery->setValue(marks.DrawEvery());
    CBMultiLine->setChecked(marks.MultiLine());
    CBMarksVisible->setChecked(marks.Visible());
    BMarkLinCol->LinkPen(marks.Arrow());
    CBHead->setCurrentIndex(marks.Callout()->ArrowHead());
    UDHeadSize->setValue(marks.Callout()->ArrowHeadSize());
    bool all = true;
    if (const chart::TCustomAxisPanel* chart = series.ParentChart())
      for (const TChartSeries* s : chart->SeriesList()) all = all && s->Marks()->Visible();
    CBAllVisible->setChecked(all && marks.Visible());
    EnableMultiLine();
  }
  FMarksShape->SetShape(&marks);
}

void TFormKivSeries::EnableMultiLine() {
  // Only the styles that show two texts can break them into lines.
  switch (TheSeries()->Marks()->Style()) {
    case chart::smsLabelPercent:
    case chart::smsLabelValue:
    case chart::smsPercentTotal:
    case chart::smsLabelPercentTotal:
    case chart::smsXY: CBMultiLine->setEnabled(true); break;
    default: CBMultiLine->setEnabled(false); break;
  }
}

void TFormKivSeries::CBMarksVisibleClick(bool checked) {
  if (Filling() || TheSeries() == nullptr) return;
  TheSeries()->Marks()->SetVisible(checked);
  const bool was = FIgnoreChanges;
  FIgnoreChanges = true;
  CBAllVisible->setChecked(checked);
  FIgnoreChanges = was;
}

void TFormKivSeries::CBAllVisibleClick(bool checked) {
  Write([&] {
    if (chart::TCustomAxisPanel* chart = TheSeries()->ParentChart())
      for (TChartSeries* s : chart->SeriesList()) s->Marks()->SetVisible(checked);
    CBMarksVisible->setChecked(checked);
  });
}

}  // namespace chart_editors
