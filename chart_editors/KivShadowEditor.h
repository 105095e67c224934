// The shadow editor ("Shadow editor"): the sizes, transparency and colour of
// a chart shadow, edited live. It runs as a modal dialog or embedded in a
// page of the shape editor.
//
// Tested by: chart_editors/tests/ShapeEditorTest.cpp
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include "chart/core/KivStyles.h"
#include "chart/widgets/KivCanvasWidgets.h"
#include "chart_editors/EditorForm.h"

namespace chart_editors {

class TKivShadowEditor : public TEditorForm {
 public:
  explicit TKivShadowEditor(QWidget* owner = nullptr);

  // properties
  chart::TKivShadow* Shadow() const { return FShadow; }
  // Fills the controls from shadow (not owned), which they edit from then on.
  void SetShadow(chart::TKivShadow* shadow);

  // controls
  QLabel* Label1;
  QLabel* Label4;
  QLabel* Label5;
  chart::TButtonColor* BShadowColor;
  QSpinBox* UDShadowSize;
  QLineEdit* Edit1;  // the edit of UDShadowSize
  QSpinBox* UDShadowTransp;
  QLineEdit* EShadowTransp;
  QSpinBox* UDShaVert;
  QLineEdit* EVertSize;
  QPushButton* BOK;  // shown in the modal dialog only

  // overrides
  void FormShow() override;

 private:
  // Whether a change of a box goes into the shadow now.
  bool Writes() const;

  chart::TKivShadow* FShadow = nullptr;
};

// Edits shadow in a modal dialog; true when closed with OK.
bool EditShadowModal(QWidget* owner, chart::TKivShadow& shadow);
// A shadow editor embedded in page.
TKivShadowEditor* CreateShadowEditor(QWidget* page);

}  // namespace chart_editors
