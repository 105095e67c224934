// The editor that makes a series a function of other series: the function
// kind ("Copy" for none), its source series (one series and its value list,
// or an ordered list of them) and, on its own page, the kind's options form
// (KivEdiPeri.h for the period). Choosing a kind gives the series a function
// of it at once; the sources and options wait for Apply.
//
// Tested by: chart_editors/tests/FunctionEditorTest.cpp
#pragma once

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>

#include <string>

#include "chart/AxisPanel.h"
#include "chart_editors/KivSelectList.h"
#include "chart_editors/KivSourceEdit.h"

namespace chart_editors {

class TKivFuncEditor : public TBaseSourceEditor, public chart::IKivEventListener {
 public:
  explicit TKivFuncEditor(QWidget* owner = nullptr);
  ~TKivFuncEditor() override;

  // properties
  // The function kind chosen; nullptr for "Copy".
  const classlib::TClassInfo* SelectedFunctionClass() const;
  // The options form on the Options page, while there is one.
  TEditorForm* OptionsForm() const { return FOptions; }
  // The form that chooses several source series.
  TSelectListForm* Selector() const { return FSelector; }

  // controls
  QTabWidget* PageControl1;
  QWidget* TabSource;
  QWidget* TabOptions;
  QWidget* PanSingle;
  QLabel* Label1;
  chart::TComboFlat* CBSingle;
  QLabel* LValues;
  chart::TComboFlat* CBValues;
  QPushButton* BNone;

  // overrides
  void FormShow() override;
  void CBSourcesChange() override;

  // IKivEventListener
  void KivEvent(chart::TKivEvent& event) override;

 private:
  void FillSources();
  // The sources the chart offers now, without a series on its way out.
  void FillSourcesLeaving(const chart::TChartSeries* leaving);
  void CBSingleChange();
  void BApplyClick();
  void ApplySources();
  // Gives the series a function of the chosen kind (none for "Copy" when
  // removeCopy); true when it made a new one.
  bool ApplyFunctionClass(bool removeCopy);
  void ShowOptionsForm(const std::string& className);
  void ShowTab(QWidget* tab, bool visible);

  QPointer<TEditorForm> FOptions;
  std::string FOptionsClass;
  TSelectListForm* FSelector = nullptr;
  TPanelListening FListening{*this};
  bool FDestroying = false;
};

}  // namespace chart_editors
