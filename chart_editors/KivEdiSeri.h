// The series editor: one series of a chart, chosen in CBSeries (which its
// owner fills), edited on four pages. "Format" embeds the series kind's own
// editor, found by the class name the series gives (a kind whose editor is
// not registered has no Format page); "General" holds the legend switch,
// cursor, depth, value formats, axes and sort order; "Marks" the marks'
// style, arrows and shape; "Data Source" the value grid, the random values
// or a data-source editor (the function editor). Other editors add pages of
// their own (InsertSeriesForm; the pointer editor's InsertPointerEditorPage).
//
// Leaving a page, or the form, first asks the data-source editor whether it
// may go (it asks "Apply Changes ?" for a change not applied), and Cancel
// there keeps the page. The form hears the series' chart: a series that goes
// leaves the editor and the series list.
//
// Tested by: chart_editors/tests/SeriesEditorTest.cpp
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>

#include <string>
#include <vector>

#include "chart/series/SeriesData.h"
#include "chart/widgets/KivCanvasWidgets.h"
#include "chart_editors/ComponentLink.h"
#include "chart_editors/EditorForm.h"
#include "chart_editors/KivChartGrid.h"
#include "chart_editors/KivCustomShapeEditor.h"
#include "chart_editors/KivPenDlg.h"
#include "chart_editors/KivSourceEdit.h"
#include "chart_editors/RadioGroup.h"

namespace chart_editors {

// The box beside the series list: the series' legend symbol on the form's
// colour; a click edits the series colour in the colour dialog.
class TSeriesColorBox : public QWidget {
 public:
  explicit TSeriesColorBox(QWidget* parent = nullptr);

  chart::TChartSeries* Series() const { return FSeries.Get(); }
  void SetSeries(chart::TChartSeries* series);

  QSize sizeHint() const override { return {28, 18}; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  TComponentLink<chart::TChartSeries> FSeries;
};

// A button of the Data Source page that a source kind's editor may take: it
// shows only while something handles its clicks.
class TDataSourceButton : public QPushButton {
 public:
  using QPushButton::QPushButton;
  bool HasClickHandler() const { return FClickHandlers > 0; }

 protected:
  void connectNotify(const QMetaMethod& signal) override;
  void disconnectNotify(const QMetaMethod& signal) override;

 private:
  int FClickHandlers = 0;
};

class TFormKivSeries : public TEditorForm, public chart::IKivEventListener {
 public:
  explicit TFormKivSeries(QWidget* owner = nullptr);
  ~TFormKivSeries() override;

  // The items of CBDataSourcestyle before the registered source kinds.
  enum TDataSourceStyle : int { dsManual = 0, dsRandom = 1, dsFunction = 2 };

  // properties
  // The series edited; nullptr while none is chosen.
  chart::TChartSeries* TheSeries() const { return FSeries.Get(); }
  // Set by the owner before use: whether the persistence box shows (false)
  // and the Data Source, General and Marks pages do (true).
  bool ShowTabPersistent = false;
  bool ShowTabDataSource = true;
  bool ShowTabGeneral = true;
  bool ShowTabMarks = true;
  // A list of the owner's that shows the chosen series selected (optional).
  void SetSeriesListBox(QListWidget* list) { FSeriesListBox = list; }
  // The forms on the Format page and on pages other editors inserted.
  const std::vector<QPointer<TEditorForm>>& EmbeddedForms() const { return FEmbedded; }
  // The data-source editor on the Data Source page, while there is one.
  TBaseSourceEditor* DataSourceEditor() const { return FDataSourceEditor; }
  // The shape editor of the marks, once the Marks page was first shown.
  TFormKivShape* MarksShapeEditor() const { return FMarksShape; }

  // controls: the top panel
  QWidget* Panel1;
  QLabel* ImageSeries;
  QLabel* LabelSeriesClass;
  chart::TComboFlat* CBSeries;
  TSeriesColorBox* PaintBox1;
  QWidget* Panel3;
  QCheckBox* CBPersistent;
  QTabWidget* PageSeries;
  QWidget* TheTabSheet;  // "Format"
  QWidget* TabGeneral;
  QWidget* TabMarks;
  QWidget* TabDataSource;
  // controls: "General"
  QLabel* LSort;
  chart::TComboFlat* CBSort;
  QGroupBox* GB5;
  QCheckBox* CBShowInLegend;
  QLabel* L27;
  chart::TComboFlat* CBCursor;
  QLabel* LDepth;
  QSpinBox* UDDepth;
  QLineEdit* EDepth;  // the edit of UDDepth
  QCheckBox* CBDepth;
  QGroupBox* GB2;
  QLabel* L15;
  QComboBox* CBFormat;
  QLabel* L21;
  QLineEdit* EPercentFormat;
  QGroupBox* GBHorizAxis;
  chart::TComboFlat* CBHorizAxis;
  QCheckBox* CBXDateTime;
  QGroupBox* GBVertAxis;
  chart::TComboFlat* CBVertAxis;
  QCheckBox* CBYDateTime;
  // controls: "Marks"
  QTabWidget* PageControlMarks;
  QWidget* TabSheet1;  // "Style"
  QWidget* TabSheet2;  // "Arrows"
  QCheckBox* CBMarksVisible;
  QCheckBox* CBMarkClip;
  QLabel* L23;
  QSpinBox* UDMarksAngle;
  QLineEdit* SEMarksAngle;  // the edit of UDMarksAngle
  QLabel* Label3;
  QSpinBox* UDEvery;
  QLineEdit* EMarksEvery;  // the edit of UDEvery
  QCheckBox* CBMultiLine;
  QCheckBox* CBAllVisible;
  QLabel* Label1;
  TRadioGroup* RGMarkStyle;
  TButtonPen* BMarkLinCol;
  QLabel* L32;
  QSpinBox* UDArrowsLength;
  QLineEdit* SEArrowLength;  // the edit of UDArrowsLength
  QLabel* Label4;
  QSpinBox* UDArrowDist;
  QLineEdit* EArrowDist;  // the edit of UDArrowDist
  QPushButton* BCalloutPointer;
  QLabel* Label11;
  chart::TComboFlat* CBHead;
  QLabel* Label12;
  QSpinBox* UDHeadSize;
  QLineEdit* Edit1;  // the edit of UDHeadSize
  // controls: "Data Source"
  QWidget* PanTop;
  chart::TComboFlat* CBDataSourcestyle;
  TDataSourceButton* NewDataButton;
  TDataSourceButton* EditDataButton;
  TDataSourceButton* DeleteDataButton;
  QWidget* Panel2;
  TChartGrid* ChartGrid1;
  TChartGridNavigator* ChartGridNavigator1;
  QWidget* Panel4;
  QLabel* Label2;
  QLineEdit* ESamples;
  QCheckBox* CBSamplesDefault;
  QPushButton* BApplyRandom;

  // operations
  // Shows the series chosen in CBSeries (its owner calls it after filling the list).
  void CBSeriesChange();
  // A new page of caption at pageIndex holding a new form of the registered
  // class editorClass (owned by this form) that edits tag.
  TEditorForm* InsertSeriesForm(const std::string& editorClass, int pageIndex, classlib::TPersistent* tag,
                                const QString& caption);
  // Embeds form (owned by this form) in page, editing tag, among the forms
  // FreeEmbeddedForms frees.
  TEditorForm* AddEmbeddedForm(TEditorForm* form, QWidget* page, classlib::TPersistent* tag);
  // Frees the embedded forms with the pages inserted for them, then the
  // data-source editor when it agrees to go.
  void FreeEmbeddedForms();

  // overrides
  void FormShow() override;
  // The data-source editor's answer.
  bool CloseQuery() override;

  // IKivEventListener
  void KivEvent(chart::TKivEvent& event) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildGeneralPage();
  void BuildMarksPage();
  void BuildDataSourcePage();
  void ConnectGeneralPage();
  void ConnectMarksPage();
  void ConnectDataSourcePage();
  // Writes a control's change into the series, unless filling or a page is changing.
  template <class F>
  void Write(F&& write) {
    if (!Filling() && !FIgnoreChanges && TheSeries() != nullptr) write();
  }
  void ChooseSeries(chart::TChartSeries* series);
  void FillSeriesTop(chart::TChartSeries& series);
  QWidget* PageOfCaption(const QString& caption) const;
  bool PageShown(QWidget* page) const;
  void ShowPage(QWidget* page, bool visible);
  // The page change: the page it goes to is filled.
  void PageSeriesChange();
  // Whether the pages may change now (the data-source editor's answer).
  bool PageSeriesChanging();
  void FillActivePage();
  void FillGeneralPage();
  void FillMarksPage();
  void FillDataSourcePage();
  void FillAxisCombo(chart::TComboFlat& combo, bool horizontal);
  void EnableMultiLine();
  void CBAxisChange(bool horizontal, int index);
  void CBSortChange(int index);
  void CBMarksVisibleClick(bool checked);
  void CBAllVisibleClick(bool checked);
  // "Data Source": the kind of source the series has, and the page's content for a kind.
  int CurrentDataSourceStyle() const;
  void BuildDataSourceContent();
  void CBDataSourcestyleChange();
  void RemoveOwnDataSource(bool manual);
  bool CloseDataSourceEditor();
  void ShowDefaultSamples();
  void ESamplesChange();
  void CBSamplesDefaultClick(bool checked);
  void BApplyRandomClick();

  TComponentLink<chart::TChartSeries> FSeries;
  const chart::TChartSeries* FPrevious = nullptr;
  TPanelListening FListening{*this};
  std::vector<QPointer<TEditorForm>> FEmbedded;
  QPointer<TBaseSourceEditor> FDataSourceEditor;
  TFormKivShape* FMarksShape = nullptr;
  QPointer<QListWidget> FSeriesListBox;
  bool FIgnoreChanges = false;
  bool FChoosing = false;
  bool FDestroying = false;
};

// The name of the registered editor form class of series' kind; empty when
// the kind names none or no form of that name is registered.
std::string GetSeriesEditorClass(const chart::TChartSeries& series);

}  // namespace chart_editors
