// The brush editor ("Pattern Color Editor": the eight plain styles, twelve
// bitmap patterns, a colour and a picture), and the font and picture dialogs
// the other editors open.
//
// Tested by: chart_editors/tests/BrushDialogTest.cpp
#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <memory>
#include <string>

#include "chart/canvas/KivGraphics.h"
#include "chart/core/KivStyles.h"
#include "chart/widgets/KivCanvasWidgets.h"
#include "chart_editors/EditorForm.h"

namespace chart_editors {

class TBrushDialog : public TEditorForm {
 public:
  explicit TBrushDialog(QWidget* owner = nullptr);

  // properties
  chart::TChartBrush* Brush() const { return FBrush; }
  // The brush to edit (not owned), before the form shows.
  void SetBrush(chart::TChartBrush* brush) { FBrush = brush; }

  // LStyle: the plain styles first (their ordinals), then the patterns.
  static constexpr int FirstPattern = 8;
  static constexpr int PatternCount = 12;

  // controls
  QPushButton* Button2;  // OK
  chart::TButtonColor* BColor;
  QPushButton* Button3;  // Cancel
  QGroupBox* GroupBox2;
  QPushButton* Button1;  // "B&rowse..." without an image, "Clea&r" with one
  QLabel* Image1;
  QListWidget* LStyle;

  // overrides
  void FormShow() override;
  // Cancel, Escape and closing the window: the brush as it was, always.
  void reject() override;

 private:
  void LStyleClick(int row);
  // Whether the brush is what the list's row makes of it.
  bool ShowsRow(int row) const;
  void Button1Click();
  void RefreshImage();
  void EnableColor();

  std::unique_ptr<chart::TChartBrush> FBackup;
  chart::TChartBrush* FBrush = nullptr;
  // The pattern the brush took from the list last; -1 since a style or picture replaced it.
  int FPatternRow = -1;
};

// Edits brush in the brush editor; true when the user closed it with OK.
bool EditBrushModal(QWidget* owner, chart::TChartBrush& brush);

// Pattern index (0 to 11) into bitmap, see-through where it is white; raises
// classlib::Exception for another index.
void LoadBrushPattern(int index, chart::TBitmap& bitmap);

// The font dialog on font; true (and the chosen name, size and style in
// font) when the user confirmed.
bool EditFontWithDialog(QWidget* owner, chart::TFont& font);

// The picture file the user chose, or an empty name when none was.
void AskPictureFileName(QWidget* owner, std::string& fileName);

// The picture in a file, as a bitmap of its size: a picture of another kind
// (a PNG, a JPEG) is drawn onto white. Raises classlib::Exception naming the
// file when it cannot be read.
std::shared_ptr<chart::TBitmap> LoadPictureBitmap(const std::string& fileName);

}  // namespace chart_editors
