// The shape editor: the frame, colour, pattern, bevel and transparency of a
// chart's framed shape (legend, title, annotation) on its "Format" page, and
// its text, gradient and shadow on pages that embed those editors. Another
// editor can take the pages into a tab widget of its own.
//
// Tested by: chart_editors/tests/ShapeEditorTest.cpp
#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>

#include "chart/KivPanel.h"
#include "chart/widgets/KivCanvasWidgets.h"
#include "chart_editors/EditorForm.h"
#include "chart_editors/KivEdiFont.h"
#include "chart_editors/KivEdiGrad.h"
#include "chart_editors/KivPenDlg.h"
#include "chart_editors/KivShadowEditor.h"

namespace chart_editors {

class TFormKivShape : public TEditorForm {
 public:
  explicit TFormKivShape(QWidget* owner = nullptr);

  // properties
  chart::TKivCustomShape* Shape() const { return FShape; }
  // Fills every page from shape (not owned), which they edit from then on.
  void SetShape(chart::TKivCustomShape* shape);
  TKivGradientEditor* GradientEditor() const { return FGradientEditor; }
  TKivFontEditor* FontEditor() const { return FFontEditor; }
  TKivShadowEditor* ShadowEditor() const { return FShadowEditor; }

  // controls
  QTabWidget* PC1;
  QWidget* TabFormat;
  QWidget* TabText;
  QWidget* TabGradient;
  QWidget* TabShadow;
  chart::TButtonColor* BBackColor;
  TButtonPen* Button4;    // "&Frame..."
  QPushButton* Button6;   // "&Pattern..."
  QCheckBox* CBRound;
  QCheckBox* CBTransparent;
  QLabel* Label2;
  chart::TComboFlat* CBBevel;
  QLabel* Label3;
  QSpinBox* UDBevW;
  QLineEdit* EBevWidth;  // the edit of UDBevW
  QLabel* Label4;
  QSpinBox* UDShadowTransp;
  QLineEdit* EShadowTransp;  // the edit of UDShadowTransp

  // overrides
  void FormShow() override;

 private:
  // Writes a control's change into the shape, unless filling.
  template <class F>
  void Write(F&& write);
  void EnableBevelSize();

  QPointer<TKivGradientEditor> FGradientEditor;
  QPointer<TKivFontEditor> FFontEditor;
  QPointer<TKivShadowEditor> FShadowEditor;
  chart::TKivCustomShape* FShape = nullptr;
};

// A shape editor for shape, owned by owner; it fills itself when it shows.
TFormKivShape* CreateShapeEditor(QWidget* owner, chart::TKivCustomShape* shape);
// Moves the shape editor's pages into pageControl (its first page active),
// filled from shape; the returned editor, hidden, lives with pageControl.
TFormKivShape* InsertShapeEditorPages(QTabWidget& pageControl, chart::TKivCustomShape* shape);

}  // namespace chart_editors
