// TSignalBrowse: moves a window (a span) over a long signal file. It owns
// two readers: SignalFile, the signal, and PeakFile, a companion file that
// holds one value per Increment samples of it. A span of at most SpanLimit
// samples is read from the signal file, a longer one from the peak file, so
// that the values read stay few. Moving the span (RecordPosition) copies the
// span's values into SpanData. The update step does nothing.
//
// Tested by: signal/tests/SignalBrowseTest.cpp.
#pragma once

#include <cstdint>
#include <memory>

#include "numeric/Vec.h"
#include "signal/Analysis.h"
#include "signal/MtxProgressDialog.h"
#include "signal/SignalRead.h"

namespace sig {

class TSignalBrowse : public TAnalysis {
  ORVEL_CLASS_INFO
 public:
  explicit TSignalBrowse(classlib::TComponent* AOwner = nullptr);
  ~TSignalBrowse() override;

  // properties
  TSignalRead& SignalFile() const { return *FSignalFile; }
  TSignalRead& PeakFile() const { return *FPeakFile; }
  TMtxProgressDialog& ProgressThread() const { return *FProgressThread; }
  std::int32_t Increment() const { return FIncrement; }
  // Stores max(Value, 1).
  void SetIncrement(std::int32_t Value);
  std::int32_t SpanLimit() const { return FSpanLimit; }
  void SetSpanLimit(std::int32_t Value) { FSpanLimit = Value; }
  std::int32_t SpanLength() const { return FSpanLength; }
  // Stores it; SpanTime follows while the signal file names a file with a
  // sampling frequency.
  void SetSpanLength(std::int32_t Value);
  double SpanTime() const { return FSpanTime; }
  // SpanLength := trunc(T x Fs) and SpanTime := SpanLength / Fs of the
  // signal file; without a file or its sampling frequency only T is stored.
  void SetSpanTime(double T);
  // The span's first sample.
  std::int32_t RecordPosition() const;
  void SetRecordPosition(std::int32_t P);
  double RecordTimePosition() const;
  // RecordPosition := trunc(T x Fs of the signal file).
  void SetRecordTimePosition(double T);
  std::int32_t RecordNumber() const;
  // Sets it on both readers.
  void SetRecordNumber(std::int32_t Value);
  double RecordTime() const;
  const TProgressUpdateEvent& OnProgressUpdate() const { return FOnProgressUpdate; }
  void SetOnProgressUpdate(TProgressUpdateEvent Value) { FOnProgressUpdate = std::move(Value); }
  bool Threaded() const { return FThreaded; }
  void SetThreaded(bool Value) { FThreaded = Value; }
  // The values of the span, copied from the reader in use.
  const numeric::TVec& SpanData() const { return *FSpanData; }

 private:
  // The peak file while the span is longer than SpanLimit, else the signal file.
  TSignalRead& InUse() const;
  double SignalRate() const;

  std::unique_ptr<TSignalRead> FSignalFile;
  std::unique_ptr<TSignalRead> FPeakFile;
  std::unique_ptr<TMtxProgressDialog> FProgressThread;
  std::int32_t FIncrement = 100;
  std::int32_t FSpanLimit = 8192;
  std::int32_t FSpanLength = 16384;
  double FSpanTime = 0.0;
  TProgressUpdateEvent FOnProgressUpdate;
  bool FThreaded = true;
  std::unique_ptr<numeric::TVec> FSpanData;
};

}  // namespace sig
