// The colour combo box: a drop-down list of the sixteen standard colours
// (and, as options, "None" and "Default"), each item drawn as a framed swatch
// and the colour's name, on a combo box drawn by its owner whose item height
// follows its font. Also the numbers of the control library's two screen cursors.
//
// Tested by: analysis_ui/tests/JovCombosTest.cpp
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <QComboBox>

#include "chart/core/KivTypes.h"

class QPainter;

namespace analysis_ui {

using chart::TColor;

enum TOwnerDrawComboStyle : std::uint8_t { csDropDown, csSimple, csDropDownList };

// A combo box whose items its owner draws; their height follows the font.
class TOwnerDrawComboBox : public QComboBox {
 public:
  explicit TOwnerDrawComboBox(QWidget* parent = nullptr);

  // properties
  TOwnerDrawComboStyle Style() const { return FStyle; }
  // A list without an edit field, or one with an edit field to type in.
  void SetStyle(TOwnerDrawComboStyle style);
  // The height of an item: the font's text height + 1, at least 9.
  int ItemHeight() const { return FItemHeight; }

  // introduced virtual
  virtual int GetItemHt() const;

 protected:
  // overrides
  void changeEvent(QEvent* event) override;

  // Sets the item height from GetItemHt.
  void ResetItemHeight();

 private:
  TOwnerDrawComboStyle FStyle = csDropDownList;
  int FItemHeight = 9;
  bool FChangingItemHeight = false;
};

enum TColorComboOption : std::uint8_t { coIncludeDefault, coIncludeNone };
using TColorComboOptions = std::uint8_t;  // bit set over TColorComboOption
constexpr TColorComboOptions ColorComboOptionBit(TColorComboOption o) {
  return static_cast<TColorComboOptions>(1u << o);
}

// One row of the colour table: its colour and its text.
struct TColorComboEntry {
  TColor Color;
  const char* Name;
};
// The eighteen rows in list order: Black .. White, then None and Default.
extern const TColorComboEntry ColorComboTable[18];

class TColorComboBox : public TOwnerDrawComboBox {
 public:
  explicit TColorComboBox(QWidget* parent = nullptr);

  // properties
  TColor ColorValue() const;
  void SetColorValue(TColor value);
  // Texts that replace the items' names, line r for table row r (skipped rows
  // counted); an empty line keeps the row's own name.
  const std::vector<std::string>& ColorNames() const { return FColorNames; }
  void SetColorNames(const std::vector<std::string>& names);
  bool DisplayNames() const { return FDisplayNames; }
  void SetDisplayNames(bool value);
  TColorComboOptions Options() const { return FOptions; }
  void SetOptions(TColorComboOptions options);
  int ItemIndex() const { return currentIndex(); }
  void SetItemIndex(int index) { setCurrentIndex(index); }
  // The colour of item `index`.
  TColor ItemColor(int index) const;

  // events
  // The selected colour changed.
  std::function<void(TColorComboBox& sender)> OnChange;

  // introduced virtual
  virtual void PopulateList();

  // operations
  // A choice of the user: the chosen item's colour becomes the value.
  void Click();
  // Draws item `index` into `rect` as the list and the closed box show it.
  void DrawItem(QPainter& painter, int index, const QRect& rect, bool selected) const;

 protected:
  // overrides
  void paintEvent(QPaintEvent* event) override;

 private:
  // Rebuilds the list and selects the current colour again.
  void RecreateList();
  void Changed();
  void NotifyChange();

  TColor FCurrent = chart::clBlack;
  std::vector<std::string> FColorNames;
  bool FDisplayNames = true;
  TColorComboOptions FOptions = 0;
};

// Draws one colour item as the combo box does: the background `rect` filled
// with `background`, a swatch framed black when any of the colour's red,
// green or blue is above 192, else white when selected, else in its own
// colour; and, with names shown, the text 28 pixels from the left.
void DrawColorItem(QPainter& painter, const QRect& rect, TColor color, const QString& text, bool selected,
                   bool displayNames, const QColor& background, const QColor& textColor);

// The text of a colour: its name in the table, else "$" and eight hex digits.
std::string ColorIdentifier(TColor color);

// The control library's screen cursors; ui::ScreenCursor shows them as a
// pointing hand and a closed hand.
constexpr chart::TCursor crJovHand = 14000;
constexpr chart::TCursor crJovDrag = 14001;

}  // namespace analysis_ui
