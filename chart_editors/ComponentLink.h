// A widget's reference to a chart component that it does not own: it turns
// null when the component is destroyed, and tells the widget so, because a
// chart or a series may go while an editor still shows it.
//
// Tested by: chart_editors/tests/ChartGridTest.cpp, chart_editors/tests/NavigatorTest.cpp,
//            chart_editors/tests/SeriesToolEditorTest.cpp
#pragma once

#include <functional>
#include <utility>

#include "chart/KivPanel.h"
#include "platform/classlib/Component.h"

namespace chart_editors {

template <class T>
class TComponentLink : private classlib::TComponent {
 public:
  // Told after the linked component went (the link already reads null),
  // with the address it had, to compare, never to use.
  explicit TComponentLink(std::function<void(T* gone)> onRemoved = {}) : FOnRemoved(std::move(onRemoved)) {}
  ~TComponentLink() override { Set(nullptr); }
  TComponentLink(const TComponentLink&) = delete;
  TComponentLink& operator=(const TComponentLink&) = delete;

  T* Get() const { return FLinked; }
  T* operator->() const { return FLinked; }
  explicit operator bool() const { return FLinked != nullptr; }

  void Set(T* component) {
    if (component == FLinked) return;
    if (FLinked != nullptr) RemoveFreeNotification(*FLinked);
    FLinked = component;
    if (FLinked != nullptr) FreeNotification(*FLinked);
  }

 protected:
  void Notification(classlib::TComponent* component, classlib::TOperation operation) override {
    classlib::TComponent::Notification(component, operation);
    if (operation != classlib::opRemove || component == nullptr ||
        component != static_cast<classlib::TComponent*>(FLinked))
      return;
    T* gone = FLinked;
    FLinked = nullptr;
    if (FOnRemoved) FOnRemoved(gone);
  }

 private:
  T* FLinked = nullptr;
  std::function<void(T* gone)> FOnRemoved;
};

// Keeps a listener in the listener list of one panel (a chart) at a time:
// it leaves the old panel when given another or when it goes itself, and
// forgets a panel that is destroyed.
class TPanelListening {
 public:
  explicit TPanelListening(chart::IKivEventListener& listener) : FListener(listener) {}
  ~TPanelListening() { Listen(nullptr); }
  TPanelListening(const TPanelListening&) = delete;
  TPanelListening& operator=(const TPanelListening&) = delete;

  chart::TCustomKivPanel* Panel() const { return FPanel.Get(); }
  void Listen(chart::TCustomKivPanel* panel) {
    if (FPanel.Get() == panel) return;
    if (FPanel) FPanel->RemoveListener(&FListener);
    FPanel.Set(panel);
    if (panel != nullptr) panel->AddListener(&FListener);
  }

 private:
  chart::IKivEventListener& FListener;
  TComponentLink<chart::TCustomKivPanel> FPanel;
};

}  // namespace chart_editors
