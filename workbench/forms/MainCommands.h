// The main window as its child windows reach it: the dialogs they show
// through, the area they live in, the main-window commands they switch on and
// off, and what the main window does for them. The main window implements it;
// a child window includes this, never the main window, so the main window can
// include every child.
#pragma once

#include <cstdint>

class QMdiSubWindow;
class QString;

namespace ui {
class TUserDialogs;
}  // namespace ui

namespace workbench {

class TfrmCmpBruteForce;
using TUserDialogs = ui::TUserDialogs;
struct TFilterRecord;

// The main-window commands a child switches on and off while it serves them.
enum TMainCommand : std::uint8_t {
  mcFileOpen,
  mcFileSave,
  mcFormCopy,
  mcZoomIn,
  mcZoomOut,
  mcRefresh,
  mcFormMethods,
  mcSpectrumParameters,
};

class IMainCommands {
 public:
  // The dialogs every window of the program shows its messages through.
  virtual TUserDialogs& Dialogs() const = 0;
  // Shows a child window, just made, in the main window's area.
  virtual void AddChild(QMdiSubWindow& child) = 0;
  // Whether `child` is the active child: the one the commands are sent to.
  virtual bool IsActiveChild(const QMdiSubWindow& child) const = 0;
  // Whether `child` is shown in the main window's area (active or not).
  virtual bool HasChild(const QMdiSubWindow& child) const = 0;
  virtual void EnableCommand(TMainCommand command, bool enabled) = 0;
  // `filter` as a new row of the comparison window, which is opened (or
  // brought to the front) first and shows `fileLabel` over its candles.
  virtual void CompareFilter(const TFilterRecord& filter, const QString& fileLabel, bool labelShown) = 0;
  // The search dialog, made at its first use unless the program made it at start.
  virtual TfrmCmpBruteForce& SearchDialog() = 0;

 protected:
  ~IMainCommands() = default;
};

}  // namespace workbench
