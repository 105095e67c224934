// A window for charts in tests: it records what the chart asks of its window
// (cursors, hints, repaints) instead of doing it. Client points map to the
// screen by a fixed offset.
#pragma once

#include <string>
#include <vector>

#include "chart/KivPanel.h"
#include "chart/tools/HintService.h"

namespace chart::testing {

class TRecordingHost : public IKivPanelHost {
 public:
  struct THintShown {
    std::string Text;
    TPoint ScreenPoint;
  };

  std::vector<THintShown> Hints;  // every hint the window showed, in order
  int Cancels = 0;
  std::vector<TCursor> Cursors;   // every cursor set, in order
  int Invalidates = 0, Repaints = 0;
  TPoint ScreenOrigin{1000, 500};
  // Where the mouse rests, in client pixels.
  TPoint MousePos{0, 0};

  // The last cursor set (crDefault before any).
  TCursor Cursor() const { return Cursors.empty() ? crDefault : Cursors.back(); }

  void InvalidateWindow() override { ++Invalidates; }
  void RepaintWindow() override { ++Repaints; }
  TColor ParentColor() const override { return clNone; }
  void SetWindowRound(std::int32_t) override {}
  void ReleaseMouse() override {}
  void SetCursor(TCursor cursor) override { Cursors.push_back(cursor); }
  TPoint CursorPos() const override { return MousePos; }
  TPoint ClientToScreen(const TPoint& p) const override { return {p.X + ScreenOrigin.X, p.Y + ScreenOrigin.Y}; }
  void ShowHint(const std::string& text, const TPoint& screenPoint) override { Hints.push_back({text, screenPoint}); }
  void CancelHint() override { ++Cancels; }
  std::int32_t HintPause() const override { return KivHints().HintPause(); }
  void SetHintPause(std::int32_t ms) override { KivHints().SetHintPause(ms); }
};

}  // namespace chart::testing
