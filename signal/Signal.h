// TSignal: the time-signal component, a TAnalysis that owns its samples
// (Data) and the timing that goes with them; TSignalList, a list of signals.
//
// Multi-channel samples are interleaved: sample j of channel c of an
// n-channel signal is at index j n + c. The timing follows every change of
// Data's size (through the vector's size-change event), of
// SamplingFrequency and of ChannelCount:
//   Duration         record length in seconds  = Length / ChannelCount / Fs
//   SamplePeriod     seconds per sample of one channel
//   BandWidth        Fs / 2 for real data, Fs for complex data
//   FrequencyStep    1 / Duration real, 1 / (2 Duration) complex
//   StopTime         StartTime + Duration
//   StopFrequency    StartFrequency + BandWidth
//
// Descendants (generators, filters, buffers, file and sound components) set
// UsesInputs when they read an input: PrepareUpdate then copies the input's
// channel count, complex flag, start frequency and sampling frequency before
// InternalUpdate runs; a component that changes the rate sets its own
// SamplingFrequency after that.
//
// Tested by: signal/tests/SignalTest.cpp.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "numeric/Vec.h"
#include "signal/Analysis.h"
#include "signal/MarkList.h"

namespace classlib {
class TStrings;
}

namespace sig {

class TSignal : public TAnalysis {
  ORVEL_CLASS_INFO
 public:
  explicit TSignal(classlib::TComponent* AOwner = nullptr);
  ~TSignal() override;

  // properties
  numeric::TVec& Data() const { return *FData; }
  // Data.Assign(Value): caption, settings and values.
  void SetData(const numeric::TVec& Value);
  // Data.Length as last seen.
  std::int32_t Length() const { return FLength; }
  void SetLength(std::int32_t Value);
  bool Complex() const { return FComplex; }
  // Sets Data.Complex, which reinterprets the same doubles.
  void SetComplex(bool Value);
  double SamplingFrequency() const { return FSamplingFrequency; }
  std::int32_t ChannelCount() const { return GetChannelCount(); }
  double BandWidth() const { return FBandWidth; }
  double Duration() const { return FDuration; }
  double SamplePeriod() const { return FSamplePeriod; }
  double FrequencyStep() const { return FFrequencyStep; }
  double StartTime() const { return FStartTime; }
  double StopTime() const { return FStopTime; }
  double StartFrequency() const { return FStartFrequency; }
  double StopFrequency() const { return FStopFrequency; }
  // Filled by UpdateMinMax.
  double MaxValue() const { return FMaxValue; }
  double MinValue() const { return FMinValue; }
  TMarkList& Marks() { return FMarks; }
  const TMarkList& Marks() const { return FMarks; }

  // operations
  // The core of the timing: the record lasts T seconds. Only T > 0 changes
  // the sampling frequency, sample period, bandwidth and frequency step.
  void SetDuration(double T);
  void SetStartFrequency(double F);
  // The Index-th double of Data's storage.
  double GetSample(std::int32_t Index) const;
  // Largest and smallest value (real data) or magnitude (complex data).
  void UpdateMinMax();

  // introduced virtual
  virtual std::int32_t GetChannelCount() const { return FChannelCount; }
  // A count below 1 is stored as 1. On a change the sample period stays
  // and the duration follows.
  virtual void SetChannelCount(std::int32_t Value);
  virtual void SetSamplingFrequency(double Value);
  virtual void WriteMarks(classlib::TStream& Stream) const;
  virtual void ReadMarks(classlib::TStream& Stream);
  // Data's size-change event: the sampling frequency stays when it is
  // positive, else the sample period.
  virtual void DataSizeChanged(numeric::TVec& Sender);
  // An optional header (XHeader padded to the report column width, then
  // YHeader) and one line per mark: its time (fourth field) and value
  // (second field), each formatted by SampleToStr.
  virtual void MarksToText(classlib::TStrings& Lines, const std::string& XFormat, const std::string& YHeader,
                           const std::string& XHeader, const std::string& YFormat) const;
  // The same with one line per sample: i x SamplePeriod and GetSample(i).
  virtual void ValuesToText(classlib::TStrings& Lines, const std::string& XFormat, const std::string& YHeader,
                            const std::string& XHeader, const std::string& YFormat) const;

  // overrides
  void DefineProperties(classlib::TFiler& Filer) override;
  // With UsesInputs: the input's channel count, complex flag, start
  // frequency and sampling frequency, in this order.
  void PrepareUpdate() override;

 private:
  // SetDuration, keeping the sampling frequency Fs exactly when it is
  // positive (it stays when the size, the channel count or Fs itself changes).
  void ApplyDuration(double T, double Fs);

  double FBandWidth = 0.0;
  double FStopFrequency = 0.0;
  double FSamplePeriod = 0.0;
  TMarkList FMarks;
  double FStartTime = 0.0;
  double FStopTime = 0.0;
  double FStartFrequency = 0.0;
  double FFrequencyStep = 0.0;
  double FSamplingFrequency = 0.0;
  double FDuration = 0.0;
  std::unique_ptr<numeric::TVec> FData;
  std::int32_t FLength = 0;
  bool FComplex = false;
  double FMaxValue = 0.0;
  double FMinValue = 0.0;
  std::int32_t FChannelCount = 1;
};

// A list of signals owned by the list.
class TSignalList : public TAnalysisList {
  ORVEL_CLASS_INFO
 public:
  explicit TSignalList(classlib::TComponent* AOwner = nullptr);

  TSignal* Items(std::int32_t Index) const { return static_cast<TSignal*>(TAnalysisList::Items(Index)); }

  // A new TSignal owned by the list.
  TAnalysis* CreateItem() override;
};

// The width in characters of the columns of the text reports (25 at start).
std::int32_t ReportColumnWidth();
void SetReportColumnWidth(std::int32_t Value);

}  // namespace sig
