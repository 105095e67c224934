// The editor of a series pointer, the marker drawn at each point of point
// and line series (and the pointer of a marks callout): visible, 3D and dark
// 3D, margins, sizes, the twelve shapes, the fill, border and gradient, and
// for a series whether each point takes a colour of its own.
//
// It is the Format page of a point series, a "Pointer" page that a kind's
// own page inserts into the series editor (InsertPointerEditorPage), or a
// modal dialog for a callout pointer (EditCalloutPointerModal).
//
// Tested by: chart_editors/tests/PointerEditorTest.cpp
#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include "chart/series/LineSeries.h"
#include "chart/series/SeriesPointer.h"
#include "chart/widgets/KivCanvasWidgets.h"
#include "chart_editors/ComponentLink.h"
#include "chart_editors/EditorForm.h"
#include "chart_editors/KivPenDlg.h"

namespace chart_editors {

class TSeriesPointerEditor : public TEditorForm {
 public:
  explicit TSeriesPointerEditor(QWidget* owner = nullptr);

  // properties
  // The pointer edited: the Tag's, when the Tag is a pointer, else its series' pointer.
  chart::TSeriesPointer* Pointer() const;
  // The series whose pointer it is, when the Tag is a series.
  chart::TCustomSeries* Series() const { return FSeries.Get(); }

  // controls
  QGroupBox* GPPoint;
  QCheckBox* CBDrawPoint;
  QCheckBox* CB3dPoint;
  QCheckBox* CBInflate;
  QLabel* Label1;
  QSpinBox* UDPointHorizSize;
  QLineEdit* SEPointHorizSize;  // the edit of UDPointHorizSize
  QLabel* Label2;
  QSpinBox* UDPointVertSize;
  QLineEdit* SEPointVertSize;  // the edit of UDPointVertSize
  QLabel* Label3;
  chart::TComboFlat* CBStyle;
  QCheckBox* CBPoDark;
  QGroupBox* GroupBox1;
  QPushButton* BPointFillColor;
  QCheckBox* CBDefBrushColor;
  TButtonPen* BPoinPenCol;
  QCheckBox* CBColorEach;
  QPushButton* BGradient;

  // The colour a style's sample in CBStyle is drawn in.
  chart::TColor SampleColor() const;

  // overrides
  void FormShow() override;

 private:
  // Writes a control's change into the pointer, unless filling.
  template <class F>
  void Write(F&& write);
  void SetPointerVisible(bool visible);
  void Enable3D();
  void ShowDefaultColor();
  void RepaintStyles();
  void CBDefBrushColorClick(bool checked);

  TComponentLink<chart::TCustomSeries> FSeries;
  chart::TSeriesPointer* FPointer = nullptr;
};

// Adds a "Pointer" page (caption) at index 1 of the series editor that owns
// editor, editing tag's pointer, and returns its editor; nullptr (and
// nothing added) when editor is not owned by a series editor.
TSeriesPointerEditor* InsertPointerEditorPage(TEditorForm* editor, classlib::TPersistent* tag, const QString& caption);
// Edits a callout's pointer in a modal "Pointer" dialog.
void EditCalloutPointerModal(QWidget* owner, chart::TSeriesPointer& pointer);

}  // namespace chart_editors
