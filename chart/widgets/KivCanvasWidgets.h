// The editor controls of the style objects: a button that draws a sample of
// an element on its face, its colour-swatch kind with the colour dialog, and
// a flat drop-down list.
//
// Part of the KivCanvas unit: the controls the editor dialogs place.
//
// Tested by: chart/tests/KivWidgetsTest.cpp
#pragma once

#include <QComboBox>
#include <QPushButton>
#include <functional>
#include <string>

#include "chart/canvas/KivCanvasQt.h"
#include "platform/classlib/Persistent.h"

namespace chart {

// A push button (75 x 25 by default) that, once linked to an object and one
// of its published properties, draws a sample of it on its face with a
// short-lived drawing surface over the button's own painter. The linked object
// must outlive the link (LinkProperty(nullptr, "") removes it).
class TKivButton : public QPushButton {
 public:
  explicit TKivButton(QWidget* parent = nullptr);

  // properties
  classlib::TPersistent* LinkedObject() const { return FInstance; }
  const std::string& LinkedProperty() const { return FProperty; }

  // operations
  // Binds the button to instance's property and repaints.
  void LinkProperty(classlib::TPersistent* instance, const std::string& propertyName);

  // Room for the caption and, at the right end, the sample.
  QSize sizeHint() const override;

  // introduced virtual
  // Draws the sample on the button's face; the base draws nothing.
  virtual void DrawSample(TKivCanvas3D& canvas) {}
  // Whether there is a sample to draw: the base, while linked.
  virtual bool HasSample() const { return FInstance != nullptr; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  classlib::TPersistent* FInstance = nullptr;
  std::string FProperty;
};

// A button whose sample is a swatch of a colour near its right edge (19 to 6
// pixels from it, 13 pixels high and centred), outlined unless disabled and
// absent for clNone. Clicking it edits the colour in the colour dialog and
// writes the chosen one into the linked property.
class TButtonColor : public TKivButton {
 public:
  explicit TButtonColor(QWidget* parent = nullptr);

  // The colour of an unlinked button (clNone when not assigned either).
  std::function<TColor()> OnGetColor;

  // The linked property's colour, else OnGetColor's, else clNone.
  TColor SymbolColor() const;
  // The swatch rectangle in the button's client coordinates.
  TRect SwatchRect() const;
  void DrawSample(TKivCanvas3D& canvas) override;
  bool HasSample() const override { return TKivButton::HasSample() || static_cast<bool>(OnGetColor); }

 protected:
  // introduced virtual
  // Opens the colour dialog; a chosen colour goes into the linked property.
  virtual void Click();
};

// The colour dialog, starting at color; true (and the chosen colour in color)
// when the user confirmed. Every dialog shares the program's one list of
// custom colours (Qt keeps it for the whole process).
bool EditColorDialog(QWidget* owner, TColor& color);

// What EditColorDialog shows. Empty (the start): Qt's colour dialog. A layer
// that asks the user through a prompts interface installs its own, so that
// the colour buttons of every editor ask there too.
using TColorDialogFunc = std::function<bool(QWidget* owner, TColor& color)>;
// Installs the colour dialog and returns the one it replaces.
TColorDialogFunc SetColorDialog(TColorDialogFunc dialog);

// A drop-down list (no typing) 21 pixels high with 13-pixel items, drawn flat:
// a one-pixel frame in the button-face colour and a window-colour line beside
// the arrow, except while it has the focus or the pointer is over it.
class TComboFlat : public QComboBox {
 public:
  explicit TComboFlat(QWidget* parent = nullptr);

  // Whether the flat frame is drawn now (no focus, pointer elsewhere).
  bool DrawsFlat() const;
  // The x of the window-colour line: just left of the arrow, which is a
  // vertical scroll bar wide.
  int ArrowLineX() const;
  // Whether the closed box shows its current item as the item delegate draws
  // it in the open list (a line or pattern sample) instead of as plain text.
  bool OwnerDrawField() const { return FOwnerDrawField; }
  void SetOwnerDrawField(bool v);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  bool FOwnerDrawField = false;
};

}  // namespace chart
