// The series gallery: a panel of small sample charts, one for each series
// kind (or function kind) of a gallery page, laid out in a grid of cells. The
// user picks one with the mouse or the arrow keys, chooses it with a double
// click or Enter, and opens a pop-up gallery of the kind's sub-styles from
// the mark at the chosen chart's bottom left corner (or Alt+Down).
//
// Tested by: chart_editors/tests/GalleryTest.cpp
#pragma once

#include <QDialog>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "chart/ChartControl.h"
#include "chart/series/SeriesRegistry.h"
#include "chart/widgets/KivPanelWidget.h"
#include "chart_editors/ComponentLink.h"

namespace chart_editors {

class TChartGalleryPanel;
class TGalleryChartWindow;

// A sample chart: a chart of the gallery's look with its own window on the panel.
class TGalleryChart : public chart::TCustomChart {
 public:
  explicit TGalleryChart(TChartGalleryPanel& panel);
  ~TGalleryChart() override;

  // properties
  TChartGalleryPanel& Panel() const { return FPanel; }
  // The chart's window, a child of the panel.
  TGalleryChartWindow* Window() const { return FWindow; }
  // False while the chart is being built.
  bool Ready() const { return FReady; }
  void SetReady(bool v) { FReady = v; }
  // Whether the kind may be chosen (it is not, when incompatible with the series being changed).
  bool Choosable() const { return FChoosable; }
  void SetChoosable(bool v);
  // The sub-style chosen in the pop-up gallery; -1 while none is.
  int Tag = -1;

 private:
  void DrawSubGalleryMark();

  TChartGalleryPanel& FPanel;
  TGalleryChartWindow* FWindow;
  bool FReady = false;
  bool FChoosable = true;
};

// The window of a sample chart: it draws the chart, a raised frame while the
// mouse is over a chart that may be chosen, and passes clicks, focus and keys
// to the gallery.
class TGalleryChartWindow : public chart::TKivPanelWidget {
 public:
  TGalleryChartWindow(TGalleryChart& chart, QWidget* parent);

  TGalleryChart& Chart() const { return FChart; }
  bool Hot() const { return FHot; }
  // Where the mouse was pressed last, until the gallery used it.
  std::optional<QPoint> TakePress();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  TGalleryChart& FChart;
  bool FHot = false;
  std::optional<QPoint> FPress;
};

// The panel's sample charts, in their cells' order; clearing frees them.
class TChartList {
 public:
  int Count() const { return static_cast<int>(FItems.size()); }
  TGalleryChart* operator[](int index) const { return FItems[static_cast<std::size_t>(index)].get(); }
  int IndexOf(const TGalleryChart* chart) const;
  void Add(std::unique_ptr<TGalleryChart> chart) { FItems.push_back(std::move(chart)); }
  void Clear() { FItems.clear(); }
  auto begin() const { return FItems.begin(); }
  auto end() const { return FItems.end(); }

 private:
  std::vector<std::unique_ptr<TGalleryChart>> FItems;
};

class TChartGalleryPanel : public QWidget {
 public:
  explicit TChartGalleryPanel(QWidget* parent = nullptr);
  ~TChartGalleryPanel() override;

  // properties
  // Whether the chosen chart offers its sub-styles (default true).
  bool DisplaySub() const { return FDisplaySub; }
  void SetDisplaySub(bool v) { FDisplaySub = v; }
  int NumRows() const { return FNumRows; }
  void SetNumRows(int v);
  int NumCols() const { return FNumCols; }
  void SetNumCols(int v);
  // Whether the samples are drawn in 3D (default true).
  bool View3D() const { return FView3D; }
  void SetView3D(bool v);
  // Page charts of function kinds instead of series kinds.
  bool FunctionsOnly = false;
  // Kinds whose sample cannot take the place of ChangingSeries are not offered.
  bool CheckCompatible = false;
  // The series whose kind is being changed (not owned); nullptr when a series is created.
  chart::TChartSeries* ChangingSeries() const { return FChanging.Get(); }
  void SetChangingSeries(chart::TChartSeries* series) { FChanging.Set(series); }
  // Charts keep their keys (the pop-up gallery's panel).
  bool NoKeyForwarding = false;
  // The raised frame of a plain panel (the dialog's panel has none).
  bool BevelOuter = true;
  int BevelWidth() const { return 1; }
  int BorderWidth() const { return 0; }
  const TChartList& Charts() const { return FCharts; }
  TGalleryChart* Selected() const { return FSelected; }
  int CellWidth() const { return FCellWidth; }
  int CellHeight() const { return FCellHeight; }
  // The pop-up gallery while it is open.
  QDialog* SubGallery() const { return FSubForm; }
  TChartGalleryPanel* SubGalleryPanel() const { return FSubPanel; }

  // events
  // A chart was chosen (double click, Enter).
  std::function<void()> OnSelectedChart;
  // Another chart was selected.
  std::function<void()> OnChangeChart;
  // A sub-style was chosen in the pop-up gallery.
  std::function<void()> OnSubSelected;

  // operations
  // Builds the sample charts of a gallery page.
  void CreateGalleryPage(const std::string& page);
  // Frees the sample charts.
  void ClearCharts();
  // The selected chart's kind: the class of its first series, that series'
  // function class (nullptr for none) and its sub-style; false without a selected chart.
  bool GetSelected(const classlib::TClassInfo*& seriesClass, const classlib::TClassInfo*& functionClass,
                   int& subIndex) const;
  TGalleryChart* ChartAt(int col, int row) const;
  // The keys of the panel and of its charts: arrows, Alt+Down, Enter.
  void KeyDown(int key, Qt::KeyboardModifiers modifiers);
  // Opens the pop-up gallery of the selected chart's sub-styles.
  void ShowSubGallery();

  // introduced virtual
  // Selects chart (a click, the focus); a click on its sub-gallery mark opens the pop-up.
  virtual void SelectChart(TGalleryChart* chart);

  // The chart a double click or Enter chooses.
  void ChooseChart(TGalleryChart* chart);

  QSize sizeHint() const override { return {440, 300}; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  int Border() const { return BevelWidth() + BorderWidth(); }
  void CalcCells();
  void PlaceChart(TGalleryChart& chart, int index);
  TGalleryChart& AddSampleChart(const classlib::TClassInfo* seriesClass, const classlib::TClassInfo* functionClass,
                                int seriesCount, const std::string& title);
  void ApplyLook(TGalleryChart& chart, bool selected);
  void RefreshSelection();
  void PrepareView3D(TGalleryChart& chart);
  void SetMargins(TGalleryChart& chart);
  void SubChosen(TChartGalleryPanel& sub, TGalleryChart& main);
  void RebuildPlain(TGalleryChart& chart);

  TChartList FCharts;
  TGalleryChart* FSelected = nullptr;
  bool FDisplaySub = true;
  int FNumRows = 3;
  int FNumCols = 4;
  bool FView3D = true;
  int FCellWidth = 0;
  int FCellHeight = 0;
  TComponentLink<chart::TChartSeries> FChanging;
  QPointer<QDialog> FSubForm;
  TChartGalleryPanel* FSubPanel = nullptr;
};

}  // namespace chart_editors
