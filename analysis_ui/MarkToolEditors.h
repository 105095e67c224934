// The editor forms of the mark cursors, found by the class names the tools
// give ("TSpectrumMarkToolEditor", "TSignalMarkToolEditor"). A form edits the
// tool in its Tag, fills its controls when shown and writes every change
// straight into the tool: there is no OK or Cancel. The series boxes list
// the tool's chart's series after "(none)" and lose a series that goes.
//
// Tested by: analysis_ui/tests/MarkToolEditorsTest.cpp
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include <functional>
#include <vector>

#include "analysis_ui/MarkTools.h"
#include "chart/widgets/KivCanvasWidgets.h"
#include "chart_editors/ComponentLink.h"
#include "chart_editors/EditorForm.h"

namespace analysis_ui {

// What both mark cursors' forms share: the tool, the pages, the series
// boxes, the mark mode, "Cursor active" and the amplitude format.
class TCursorMarkToolEditor : public chart_editors::TEditorForm, public chart::IKivEventListener {
 public:
  explicit TCursorMarkToolEditor(QWidget* owner);
  ~TCursorMarkToolEditor() override;

  // properties
  // The tool edited (the form's Tag, taken when it shows).
  TCursorMarkTool* Tool() const { return FTool.Get(); }

  // controls
  QTabWidget* PageControl1;
  QWidget* Configuration;
  QWidget* Display;
  QLabel* SpectrumLabel;
  chart::TComboFlat* SpectrumBox;
  QLabel* MarkSeriesLabel;
  chart::TComboFlat* MarkSeriesBox;
  QLabel* MarkModeLabel;
  QComboBox* MarkModeBox;
  QCheckBox* ActiveBox;
  QGroupBox* FormatGroup;
  QLabel* AmplitudeLabel;
  QLineEdit* AmplitudeEdit;

  // overrides
  void FormShow() override;

  // IKivEventListener
  void KivEvent(chart::TKivEvent& event) override;

 protected:
  // A page of the page control, with its caption.
  QWidget* AddPage(const char* name, const QString& caption);
  // A series box of the tool's series that get reads and set writes: its
  // items are the chart's series (filled by FormShow), and it loses a series
  // that goes.
  using TSeriesGet = std::function<chart::TChartSeries*(TCursorMarkTool&)>;
  using TSeriesSet = std::function<void(TCursorMarkTool&, chart::TChartSeries*)>;
  chart::TComboFlat* AddSeriesBox(QWidget* parent, const char* name, TSeriesGet get, TSeriesSet set);
  // The tool in tag when it is of the form's kind; nullptr otherwise.
  virtual TCursorMarkTool* ToolOf(classlib::TPersistent* tag) const = 0;
  // Fills the kind's own controls from the tool (inside the form's fill).
  virtual void FillControls() = 0;
  // Runs body on the tool with the tool's kind, unless the form is filling or the tool went.
  template <class TTool, class TBody>
  void Edit(TBody&& body) {
    if (Filling()) return;
    if (auto* tool = dynamic_cast<TTool*>(Tool())) body(*tool);
  }

 private:
  struct TSeriesBox {
    chart::TComboFlat* Box;
    TSeriesGet Get;
  };

  chart_editors::TComponentLink<TCursorMarkTool> FTool;
  chart_editors::TPanelListening FListening{*this};
  std::vector<TSeriesBox> FSeriesBoxes;
};

class TSpectrumMarkToolEditor : public TCursorMarkToolEditor {
 public:
  explicit TSpectrumMarkToolEditor(QWidget* owner = nullptr);

  // controls
  QCheckBox* CoordinatesBox;
  QPushButton* ClearPeaksButton;
  QPushButton* FilterPeaksButton;
  QLabel* PhaseLabel;
  QLineEdit* PhaseEdit;
  QLabel* FrequencyLabel;
  QLineEdit* FrequencyEdit;
  QLabel* MarkTypeLabel;
  QComboBox* MarkTypeBox;
  QCheckBox* LabelHeadersBox;
  QWidget* Interface;
  QCheckBox* DoubleClickClear;
  QCheckBox* FilterBox;
  QCheckBox* PeakZoomBandBox;
  QWidget* ConfIntervals;
  QLabel* UpperLimitLabel;
  chart::TComboFlat* UpperLimitBox;
  QLabel* LowerLimitLabel;
  chart::TComboFlat* LowerLimitBox;
  QLabel* ConfidenceLabel;
  QLineEdit* ConfidenceEdit;
  QLabel* PercentLabel;
  QCheckBox* ConfidenceBox;
  QLabel* StdDevLabel;

 protected:
  TCursorMarkTool* ToolOf(classlib::TPersistent* tag) const override;
  void FillControls() override;
};

class TSignalMarkToolEditor : public TCursorMarkToolEditor {
 public:
  explicit TSignalMarkToolEditor(QWidget* owner = nullptr);

  // controls
  QCheckBox* ClearMarksDblClickBox;
  QPushButton* SpeedButton1;
  QLabel* TimeLabel;
  QLineEdit* TimeEdit;

 protected:
  TCursorMarkTool* ToolOf(classlib::TPersistent* tag) const override;
  void FillControls() override;
};

}  // namespace analysis_ui
