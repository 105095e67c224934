// The editor page of a discrete signal series: colour, origin of the stems
// and the stems' pen. Placed as the Format page of the series editor, it
// adds the pointer editor as a page of its own beside it.
//
// Tested by: analysis_ui/tests/SignalDiscreteSeriesEditTest.cpp
#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

#include "analysis_ui/SignalSeriesKiv.h"
#include "chart/widgets/KivCanvasWidgets.h"
#include "chart_editors/ComponentLink.h"
#include "chart_editors/EditorForm.h"
#include "chart_editors/KivPenDlg.h"

namespace analysis_ui {

class TSignalDiscreteSeriesEditor : public chart_editors::TEditorForm {
 public:
  explicit TSignalDiscreteSeriesEditor(QWidget* owner = nullptr);

  // properties
  // The series edited (the Tag's), once the form was shown.
  TSignalDiscreteSeries* Series() const { return FSeries.Get(); }

  // The whole numbers the origin's up-down runs over.
  static constexpr int OriginLimit = 1000000000;

  // controls
  QGroupBox* GBColor;  // "Color:"
  QCheckBox* CBColorEach;
  chart::TButtonColor* BAreaColor;
  QCheckBox* CBUseOrigin;
  QLabel* LOrigin;
  QSpinBox* UDOrigin;
  QLineEdit* EOrigin;  // the edit of UDOrigin
  chart_editors::TButtonPen* BAreaLinesPen;

  // overrides
  void FormShow() override;

 private:
  void EnableControls();

  chart_editors::TComponentLink<TSignalDiscreteSeries> FSeries;
};

// The editor among the forms the series editor finds by class name, and out again.
void RegisterSignalDiscreteSeriesEdit();
void UnregisterSignalDiscreteSeriesEdit();

}  // namespace analysis_ui
