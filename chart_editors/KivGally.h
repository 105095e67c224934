// The series gallery dialog ("Kiv Gallery"): the user picks a series kind,
// or a function kind, on the pages of the gallery panel, with a 3D switch;
// and the chart engine's two gallery entry points built on it, one that
// creates a series of a picked kind on a chart, one that changes the kind of
// a series. The chart editors' start-up installs them in the engine.
//
// Tested by: chart_editors/tests/GalleryTest.cpp
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QPushButton>
#include <QTabBar>
#include <QWidget>

#include "chart/AxisPanel.h"
#include "chart/series/SeriesData.h"
#include "chart_editors/KivGalleryPanel.h"

namespace chart_editors {

class TKivGallery : public QDialog {
 public:
  explicit TKivGallery(QWidget* owner = nullptr);

  // controls
  QWidget* P1;
  QPushButton* BOk;
  QPushButton* BCancel;
  QCheckBox* CB3D;
  QTabBar* TabTypes;  // "Series", "Functions"
  QTabBar* TabPages;  // the gallery pages
  TChartGalleryPanel* ChartGalleryPanel1;

  // operations
  // Takes the "Functions" tab away: series kinds only.
  void RemoveFunctions();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void TabTypesChange();
  void TabPagesChange();

  bool FShown = false;
};

// Shows the gallery (for changingSeries, whose kind is to change, else
// nullptr); true when the user chose a kind with OK. Then seriesClass,
// functionClass and subIndex (-1: no sub-style) hold the choice and view3D
// the 3D switch; Cancel leaves them all.
bool ShowGalleryDialog(QWidget* owner, chart::TChartSeries* changingSeries, bool allowFunctions, int& subIndex,
                       bool checkCompatible, const classlib::TClassInfo*& functionClass, bool& view3D,
                       const classlib::TClassInfo*& seriesClass);
// A new series of the kind the user picks for chart (its 3D view takes the
// dialog's switch), with the sub-style picked; nullptr when nothing was picked,
// or when series' own kind was picked without a sub-style while it changes kind.
chart::TChartSeries* CreateSeriesFromGallery(QWidget* owner, chart::TChartSeries* series,
                                             chart::TCustomAxisPanel* chart, int& subIndex, bool checkCompatible,
                                             bool allowFunctions);
// The two entry points the chart engine calls (chart::GalleryCreateSeriesHook
// and chart::GalleryChangeSeriesKindHook).
chart::TChartSeries* GalleryCreateSeries(classlib::TComponent* owner, chart::TCustomAxisPanel* chart,
                                         chart::TChartSeries* series);
const classlib::TClassInfo* GalleryChangeSeriesKind(classlib::TComponent* owner, chart::TChartSeries*& series);
// Installs them, and takes them out again.
void InstallGalleryHooks();
void RemoveGalleryHooks();

}  // namespace chart_editors
