// The gradient editor ("Gradient Editor"): visibility, direction, start,
// middle and end colours, balance and the radial offset of a chart gradient.
// It runs as a modal dialog or embedded in a page of the shape editor.
//
// Tested by: chart_editors/tests/GradientEditorTest.cpp
#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTabWidget>

#include <memory>

#include "chart/core/KivStyles.h"
#include "chart/widgets/KivCanvasWidgets.h"
#include "chart_editors/EditorForm.h"

namespace chart_editors {

class TKivGradientEditor : public TEditorForm {
 public:
  explicit TKivGradientEditor(QWidget* owner = nullptr);
  // The form another editor embeds: no OK and Cancel.
  static TKivGradientEditor* CreateEmbedded(QWidget* owner, chart::TCustomKivGradient* gradient);

  // properties
  chart::TCustomKivGradient* Gradient() const { return FGradient; }
  // Fills the controls from gradient (nullptr: none) and keeps a copy for Cancel.
  void SetGradient(chart::TCustomKivGradient* gradient);
  // Set by a caller whose gradient has no end colour of its own: the colour
  // controls stay enabled whatever the gradient shows.
  bool HideEndColor() const { return FHideEndColor; }
  void SetHideEndColor(bool v) { FHideEndColor = v; }
  bool Modified() const { return FModified; }

  // controls
  QLabel* Label1;
  QCheckBox* CBVisible;
  chart::TComboFlat* CBDirection;
  QPushButton* BOk;
  QPushButton* BCancel;
  QTabWidget* PageControl1;
  QWidget* TabSheet1;  // "Colors"
  QWidget* TabSheet2;  // "Options"
  QLabel* Label4;
  QScrollBar* SBBalance;
  QLabel* LabelBalance;
  QGroupBox* GroupBox2;
  QLabel* Label2;
  QLabel* Label3;
  QLabel* LRadialX;
  QLabel* LRadialY;
  QSlider* TrackBar1;
  QSlider* TrackBar2;
  QPushButton* BSwap;
  chart::TButtonColor* BStart;
  chart::TButtonColor* BEnd;
  chart::TButtonColor* BMid;
  QCheckBox* CBMid;

  // overrides
  void FormShow() override;
  // Cancel, Escape and closing the window: the gradient as it was, when changed.
  void reject() override;

 private:
  void CBVisibleClick(bool checked);
  void CBDirectionChange(int index);
  void BSwapClick();
  void CBMidClick(bool checked);
  void BMidClick();
  void SBBalanceChange(int position);
  void RadialChange(bool horizontal, int position);
  // Which controls a gradient of this visibility and direction can use.
  void EnableControls();
  void ShowBalance();

  std::unique_ptr<chart::TKivGradient> FBackup;
  bool FModified = false;
  bool FHideEndColor = false;
  chart::TCustomKivGradient* FGradient = nullptr;
};

// Edits gradient modally (without the end colour and Swap when hideEndColor,
// without the Visible box when hideVisible); true when closed with OK.
bool EditGradientModal(QWidget* owner, chart::TCustomKivGradient& gradient, bool hideEndColor = false,
                       bool hideVisible = false);

}  // namespace chart_editors
