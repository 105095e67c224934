// The font editor ("KivFont Editor"): the font dialog, the colour, the
// spacing between characters, the outline pen, shadow and gradient of a
// chart font, edited live. The shape editor embeds it in its "Text" page.
//
// Tested by: chart_editors/tests/ShapeEditorTest.cpp
#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include <functional>

#include "chart/core/KivStyles.h"
#include "chart_editors/EditorForm.h"
#include "chart_editors/KivPenDlg.h"

namespace chart_editors {

// A framed rectangle filled with a colour that reports the mouse button's release.
class TShape : public QWidget {
 public:
  explicit TShape(QWidget* parent = nullptr);

  // properties
  chart::TColor BrushColor() const { return FBrushColor; }
  void SetBrushColor(chart::TColor color);

  // events
  std::function<void()> OnMouseUp;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  chart::TColor FBrushColor = chart::clWhite;
};

class TKivFontEditor : public TEditorForm {
 public:
  explicit TKivFontEditor(QWidget* owner = nullptr);

  // properties
  chart::TKivFont* Font() const { return FFont; }
  // Fills the controls from font (not owned), which they edit from then on.
  void SetFont(chart::TKivFont* font);

  // controls
  QPushButton* Button3;  // "&Font..."
  TShape* SHText;
  QLabel* Label2;
  QSpinBox* UDInter;
  QLineEdit* Edit2;  // the edit of UDInter
  TButtonPen* BOutline;
  QPushButton* BShadow;
  QPushButton* BGradient;
  QCheckBox* CBOutGrad;

  // overrides
  void FormShow() override;

 private:
  void Button3Click();
  void SHTextMouseUp();
  void Edit2Change();
  void CBOutGradClick(bool checked);

  chart::TKivFont* FFont = nullptr;
};

// A font editor embedded in page.
TKivFontEditor* CreateFontEditor(QWidget* page);

}  // namespace chart_editors
