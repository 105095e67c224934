// The hint pause and its timer.
//
// Tested by: chart/tests/MarksTipToolTest.cpp
#include "chart/tools/HintService.h"

#include <QCoreApplication>

#include "chart/KivPanel.h"

namespace chart {

IKivPanelHost::~IKivPanelHost() { KivHints().HostDestroyed(*this); }

void TKivHintService::ActivateHint(IKivPanelHost& host, const std::string& text, const TPoint& screenPoint) {
  FHost = &host;
  FText = text;
  FPoint = screenPoint;
  // Without an application there is no loop that could ever run the timer.
  if (FHintPause == 0 || QCoreApplication::instance() == nullptr) {
    ShowPending();
    return;
  }
  if (FTimer.isNull()) {
    FTimer = new QTimer(QCoreApplication::instance());
    FTimer->setSingleShot(true);
    QObject::connect(FTimer, &QTimer::timeout, FTimer, [this] { ShowPending(); });
  }
  FTimer->start(FHintPause);
}

void TKivHintService::ShowPending() {
  if (FTimer) FTimer->stop();
  IKivPanelHost* host = FHost;
  FHost = nullptr;
  if (host != nullptr) host->ShowHint(FText, FPoint);
}

void TKivHintService::CancelHint(IKivPanelHost* host) {
  if (FTimer) FTimer->stop();
  FHost = nullptr;
  if (host != nullptr) host->CancelHint();
}

void TKivHintService::HostDestroyed(IKivPanelHost& host) {
  if (FHost != &host) return;
  if (FTimer) FTimer->stop();
  FHost = nullptr;
}

TKivHintService& KivHints() {
  static TKivHintService service;
  return service;
}

}  // namespace chart
