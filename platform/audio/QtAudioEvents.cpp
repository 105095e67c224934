// The sound layer's event source over the Qt event loop.
// Tested by: platform/audio/tests/QtAudioEventsTest.cpp.
#include "platform/audio/QtAudioEvents.h"

#include <QCoreApplication>
#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <vector>

#include "platform/classlib/WarningSink.h"

namespace audio {

namespace {

// How soon a watch whose work failed is looked at again.
constexpr int RetryMilliseconds = 50;

void ReportToWarnings(std::exception_ptr Error) {
  try {
    std::rethrow_exception(Error);
  } catch (const classlib::Exception& e) {
    classlib::ReportWarning(e.Message());
  } catch (const std::exception& e) {
    classlib::ReportWarning(e.what());
  } catch (...) {
    classlib::ReportWarning("Unknown error in the sound layer");
  }
}


class TQtAudioEvents final : public TAudioEventSource {
 public:
  explicit TQtAudioEvents(TAudioErrorHandler OnError)
      : FOnError(OnError ? std::move(OnError) : TAudioErrorHandler(&ReportToWarnings)), FContext(new QObject) {}

  // Runs while the application lives (the program uninstalls the source
  // before its application object goes), outside the handlers of its objects.
  ~TQtAudioEvents() override {
    for (const auto& entry : FEntries) {
      entry->Dead = true;
      delete entry->Timer;
      for (QSocketNotifier* notifier : entry->Notifiers) delete notifier;
    }
  }

  void Watch(std::shared_ptr<TAudioWatch> Watch) override {
    auto entry = std::make_shared<TEntry>();
    entry->Watch = std::move(Watch);
    const std::weak_ptr<TEntry> weak = entry;
    const auto run = [this, weak] {
      if (const std::shared_ptr<TEntry> e = weak.lock()) Run(e);
    };
    entry->Timer = new QTimer;
    entry->Timer->setSingleShot(true);
    entry->Timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(entry->Timer, &QTimer::timeout, FContext.get(), run);
    for (const pollfd& fd : entry->Watch->PollDescriptors()) {
      for (const auto& [mask, type] : {std::pair{POLLIN, QSocketNotifier::Read}, std::pair{POLLOUT, QSocketNotifier::Write}}) {
        if ((fd.events & mask) == 0) continue;
        entry->Notifiers.push_back(new QSocketNotifier(fd.fd, type));
        QObject::connect(entry->Notifiers.back(), &QSocketNotifier::activated, FContext.get(), run);
      }
    }
    FEntries.push_back(entry);
    // The first look comes from the event loop, after the caller has queued
    // what it starts with.
    entry->Timer->start(0);
  }

  void Unwatch(const TAudioWatch& Watch) override {
    const auto it = std::find_if(FEntries.begin(), FEntries.end(),
                                 [&](const std::shared_ptr<TEntry>& e) { return e->Watch.get() == &Watch; });
    if (it == FEntries.end()) return;
    const std::shared_ptr<TEntry> entry = *it;
    FEntries.erase(it);
    entry->Dead = true;
    // Unwatch may come from the watch's own work, inside the handler of one
    // of these objects: they go from the event loop.
    entry->Timer->stop();
    entry->Timer->deleteLater();
    for (QSocketNotifier* notifier : entry->Notifiers) {
      notifier->setEnabled(false);
      notifier->deleteLater();
    }
  }

  void Post(std::function<void()> Call) override {
    QMetaObject::invokeMethod(
        FContext.get(),
        [call = std::move(Call), onError = FOnError] {
          try {
            call();
          } catch (...) {
            onError(std::current_exception());
          }
        },
        Qt::QueuedConnection);
  }

 private:
  struct TEntry {
    std::shared_ptr<TAudioWatch> Watch;
    QTimer* Timer = nullptr;
    std::vector<QSocketNotifier*> Notifiers;
    bool Dead = false;
  };

  void Run(const std::shared_ptr<TEntry>& Entry) {
    if (Entry->Dead) return;
    // Kept alive through its own work, even if that work unwatches it.
    const std::shared_ptr<TAudioWatch> watch = Entry->Watch;
    std::int64_t wait = -1;
    try {
      wait = watch->Service();
    } catch (...) {
      wait = std::int64_t{RetryMilliseconds} * 1000;
      FOnError(std::current_exception());
    }
    if (Entry->Dead) return;
    if (wait < 0) {
      Entry->Timer->stop();
      return;
    }
    const std::int64_t ms = (wait + 999) / 1000;
    Entry->Timer->start(static_cast<int>(std::min<std::int64_t>(ms, 60000)));
  }

  TAudioErrorHandler FOnError;
  // The receiver of posted calls: calls still waiting when the source goes
  // go with it.
  std::unique_ptr<QObject> FContext;
  std::vector<std::shared_ptr<TEntry>> FEntries;
};

}  // namespace

std::shared_ptr<TAudioEventSource> NewQtAudioEvents(TAudioErrorHandler OnError) {
  if (QCoreApplication::instance() == nullptr) throw EAudioError("The sound layer's events need a Qt application");
  return std::make_shared<TQtAudioEvents>(std::move(OnError));
}

void InstallQtAudioEvents(TAudioErrorHandler OnError) { InstallAudioEventSource(NewQtAudioEvents(std::move(OnError))); }

}  // namespace audio
