// A record navigator: a bar of nine flat buttons (first, prior, next, last,
// insert, delete, edit, post, cancel) that shares its width among the
// buttons it shows, moves a focus mark with the arrow keys, clicks with
// Space and repeats a button held down. What a click does is its
// descendants' business (the value grid's navigator, KivChartGrid.h); the
// bar only lays out, paints, focuses and repeats, and reports clicks.
//
// Tested by: chart_editors/tests/NavigatorTest.cpp
#pragma once

#include <QAbstractButton>
#include <QFrame>
#include <QImage>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>

#include "chart/KivPanel.h"
#include "chart/core/KivTypes.h"
#include "chart_editors/ComponentLink.h"

class QTimer;

namespace chart_editors {

enum TKivNavigateBtn : std::uint8_t { nbFirst, nbPrior, nbNext, nbLast, nbInsert, nbDelete, nbEdit, nbPost, nbCancel };
constexpr int KivNavButtonCount = 9;

enum TKivNavBorderStyle : std::uint8_t { nbsNone, nbsSingle };

// One button of the bar: flat (a frame only under the pointer or while
// pressed), its picture the left half of its glyph, or the right half while
// disabled.
class TKivNavButton : public QAbstractButton {
 public:
  TKivNavButton(int index, QWidget* parent);

  // properties
  int Index() const { return FIndex; }
  // Two pictures side by side: normal and disabled.
  const QImage& Glyph() const { return FGlyph; }
  void SetGlyph(const QImage& glyph);
  // Whether the bar's focus mark is on this button.
  bool FocusMark() const { return FFocusMark; }
  void SetFocusMark(bool v);
  // The repeat timer; nullptr until the first press.
  QTimer* RepeatTimer() const { return FRepeatTimer; }

  // The first repeat waits this long, the next ones the second.
  static constexpr int InitRepeatPause = 400;
  static constexpr int RepeatPause = 100;

  // events
  // A press with the mouse, before any click.
  std::function<void(TKivNavButton&)> OnMouseDown;

  // operations
  // One tick of the repeat timer: from now on every RepeatPause ms; clicks
  // while the mouse still holds the button down.
  void TimerExpired();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  int FIndex;
  QImage FGlyph;
  bool FFocusMark = false;
  bool FHover = false;
  QTimer* FRepeatTimer = nullptr;
};

class TCustomKivNavigator : public QFrame, public chart::IKivEventListener {
 public:
  explicit TCustomKivNavigator(QWidget* parent = nullptr);
  ~TCustomKivNavigator() override;
  TCustomKivNavigator(const TCustomKivNavigator&) = delete;
  TCustomKivNavigator& operator=(const TCustomKivNavigator&) = delete;

  // The smallest button.
  static constexpr int MinButtonWidth = 20;
  static constexpr int MinButtonHeight = 18;

  // properties
  TKivNavBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TKivNavBorderStyle v);
  chart::TColor Color() const { return FColor; }
  void SetColor(chart::TColor v);
  bool Locked() const { return FLocked; }
  void SetLocked(bool v) { FLocked = v; }
  // Whether the bar takes the keyboard focus (default false).
  bool TabStop() const { return focusPolicy() != Qt::NoFocus; }
  void SetTabStop(bool v) { setFocusPolicy(v ? Qt::StrongFocus : Qt::NoFocus); }
  TKivNavButton* Buttons(int index) const { return FButtons.at(static_cast<std::size_t>(index)); }
  // The index of the button with the focus mark.
  int FocusedButton() const { return FFocusedButton; }
  // Hints that replace the default ones, by button index; an empty entry keeps the default.
  const QStringList& Hints() const { return FHints; }
  void SetHints(const QStringList& hints);
  // The chart whose events the bar hears (not owned).
  chart::TCustomKivPanel* Panel() const { return FPanel.Get(); }
  void SetPanel(chart::TCustomKivPanel* panel);

  // events
  std::function<void(TCustomKivNavigator& sender, int index)> OnButtonClicked;

  // operations
  // Gives every button its default hint, then the non-empty ones of Hints.
  void InitHints();
  // Shares the width among the visible buttons (and shrinks the bar to
  // what they use when no layout sizes it).
  void LayoutButtons();

  // overrides
  // Room for the visible buttons, 26 pixels each, 25 high.
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

  // introduced virtual
  // The attached chart reported an event.
  virtual void PanelChanged(chart::TKivEvent& event) { (void)event; }
  // Enables the buttons as the bar's state says; nothing here.
  virtual void EnableButtons() {}
  // A button was clicked (by the mouse, Space, a repeat or click()).
  virtual void BtnClick(int index);

  // IKivEventListener
  void KivEvent(chart::TKivEvent& event) override { PanelChanged(event); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void CreateButtons();
  void SetFocusedButton(int index);
  void ShowFocusMark();
  bool LaidOutByParent() const;
  int VisibleButtons() const;

  std::array<TKivNavButton*, KivNavButtonCount> FButtons{};
  TKivNavBorderStyle FBorderStyle = nbsNone;
  chart::TColor FColor = chart::clBtnFace;
  bool FLocked = false;
  int FFocusedButton = 0;
  QStringList FHints;
  TComponentLink<chart::TCustomKivPanel> FPanel;
  bool FLayingOut = false;
};

}  // namespace chart_editors
