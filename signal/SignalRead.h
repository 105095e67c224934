// TSignalRead: a source of the pull pipeline that reads a signal file
// frame by frame. Every update delivers the next frame of Length values
// (all channels) from the current record, with overlap between frames,
// looping at the end and a scale factor.
//
// Frames. L = Length / ChannelCount samples per channel; a frame starts at
// RecordPosition (per channel) and the next one L - OverlappingSamples
// later, at least one sample later whatever the overlap. A frame that runs
// past the record ends in zeros. Reading ends when RecordPosition reaches the
// record's length (or FinalRecordPosition when that is above 0); with
// LastFrameCheck it ends already when less than a whole frame remains.
//
// Files. Opening checks every header field against the file's size and sane
// ranges and refuses a malformed file with a message naming the file and
// the field; nothing is read past the end. The records of .dat, .bin and
// .dbn files are indexed when the file opens, so moving between records does
// not walk the file again. WAV files are decoded by the compressed-audio
// converter (signal/AcmConverter.h); their samples stay in integer units of
// the sample width (floats as stored).
//
// Tested by: signal/tests/SignalReadTest.cpp, signal/tests/SignalFileOracleTest.cpp,
// signal/tests/SignalFileFuzzTest.cpp.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "numeric/SampleStreams.h"
#include "signal/AcmConverter.h"
#include "signal/FileStorage.h"
#include "signal/WaveFormat.h"

namespace classlib {
class TFileStream;
class TStream;
}

namespace sig {

enum TFraming : std::uint8_t { frSingleRecord, frAcrossAllRecords };

// A record's header as a reader found it.
struct TSignalRecord {
  // .dat, .bin, .dbn: the byte of the record's first sample.
  std::int64_t Offset = 0;
  // Values of all channels (complex values counted once).
  std::int32_t Count = 0;
  double SamplingFrequency = 0.0;
  double Duration = 0.0;
  numeric::TPrecision Precision = numeric::prDouble;
  bool Complex = false;
  std::int32_t Channels = 1;
};

// The records of a .dat, .bin or .dbn file in Stream, in file order. Every
// header is checked against the bytes left and sane ranges (a count of at
// least 0 whose samples fit, at least one channel, a known precision, a
// complex flag of 0 or 1, a finite positive sampling frequency, a finite
// duration of at least 0 that is positive when the record holds samples);
// a file whose records do not fill it exactly is malformed too.
std::vector<TSignalRecord> ScanSignalRecords(classlib::TStream& Stream, TFileFormat Format,
                                             const std::string& FileName);

class TSignalRead : public TFileStorage {
  ORVEL_CLASS_INFO
 public:
  explicit TSignalRead(classlib::TComponent* AOwner = nullptr);
  ~TSignalRead() override;

  // properties
  bool LastFrameCheck() const { return FLastFrameCheck; }
  void SetLastFrameCheck(bool Value) { FLastFrameCheck = Value; }
  std::int32_t FinalRecordPosition() const { return FFinalRecordPosition; }
  void SetFinalRecordPosition(std::int32_t Value);
  bool Loop() const { return FLoop; }
  void SetLoop(bool Value) { FLoop = Value; }
  double ScaleFactor() const { return FScaleFactor; }
  // 0 is stored as 1.
  void SetScaleFactor(double Value);
  std::int32_t NumberOfRecords() const { return FNumberOfRecords; }
  // Samples per channel of the current record.
  std::int32_t RecordLength() const { return FRecordLength; }
  // Seconds of the current record.
  double RecordTime() const { return FRecordTime; }
  double RecordTimePosition() const { return FRecordTimePosition; }
  // Moves to round(RecordLength / RecordTime x T), or to 0 when RecordTime is
  // not a positive number.
  void SetRecordTimePosition(double T);
  std::int32_t RecordPosition() const { return FRecordPosition; }
  // Reads the frame at max(P, 0) (while loading only stores it).
  void SetRecordPosition(std::int32_t P);
  std::int32_t RecordNumber() const { return FRecordNumber; }
  // With a file open: the number clamped to the records, whose header is
  // read; the frame at 0 follows.
  void SetRecordNumber(std::int32_t Value);
  double OverlappingPercent() const { return FOverlappingPercent; }
  // Stores min(100, Value); OverlappingSamples := round(L x Value / 100).
  void SetOverlappingPercent(double Value);
  std::int32_t OverlappingSamples() const { return FOverlappingSamples; }
  // Stores Value; OverlappingPercent := min(1, Value / L) x 100 while L > 0.
  void SetOverlappingSamples(std::int32_t Value);
  std::int32_t MaxFrames() const { return FMaxFrames; }
  TFraming Framing() const { return FFraming; }
  void SetFraming(TFraming Value);
  double FramesPerSecond() const { return FFramesPerSecond; }
  std::int32_t FrameNumber() const { return FFrameNumber; }
  // Moves to the start of frame N: trunc(L x (1 - OverlappingPercent / 100) x N).
  void SetFrameNumber(std::int32_t N);
  // The precision of the samples in the file.
  numeric::TPrecision Precision() const { return FPrecision; }
  // WAV: decode exactly Length samples per frame.
  bool ForceLength() const { return FForceLength; }
  void SetForceLength(bool Value) { FForceLength = Value; }
  // The converter of WAV files, with the file's source format.
  const TACMConverter& Converter() const { return *FConverter; }

  // events
  // Called after every frame read.
  const TNotifyEvent& OnRecordPositionChange() const { return FOnRecordPositionChange; }
  void SetOnRecordPositionChange(TNotifyEvent Value) { FOnRecordPositionChange = std::move(Value); }
  // Stored only.
  const TNotifyEvent& OnProcessAll() const { return FOnProcessAll; }
  void SetOnProcessAll(TNotifyEvent Value) { FOnProcessAll = std::move(Value); }

  // introduced virtual
  // Closes, then opens FileName by FileFormat and selects record 0. A
  // missing file raises "File not found: " + FileName.
  virtual void OpenFile();

  // overrides
  void CloseFile() override;
  std::string EditorClassName() const override;
  void DataSizeChanged(numeric::TVec& Sender) override;
  // 0 after a frame; 2 at the end of data (not Continuous: the frame at
  // RecordPosition again; with Loop: from the start again).
  std::uint8_t InternalUpdate() override;

 private:
  // Samples per channel of a frame.
  std::int32_t FrameSamples() const;
  // How far the next frame starts: L - OverlappingSamples, at least 1.
  std::int32_t FrameStep() const;
  bool AtEnd() const;
  void ApplyFraming();
  void ReadFrameAt(std::int32_t P, bool Sequential);
  void RecordPositionChanged();

  // The format's own parts.
  void OpenBinary();
  void OpenSgl();
  void OpenSfs();
  void OpenAsc();
  void OpenWave();
  void SelectRecord(std::int32_t Index);
  void ParseSglRecord(std::int32_t Index, TSignalRecord& Info);
  void ReadBinaryFrame(std::int32_t P);
  void ReadValueFrame(std::int32_t P);
  void ReadWaveFrame(std::int32_t P, bool Sequential);

  bool FLastFrameCheck = false;
  std::int32_t FFinalRecordPosition = -1;
  bool FLoop = false;
  double FScaleFactor = 1.0;
  std::int32_t FNumberOfRecords = 0;
  std::int32_t FRecordLength = 0;
  double FRecordTime = 0.0;
  double FRecordTimePosition = 0.0;
  std::int32_t FRecordPosition = 0;
  std::int32_t FRecordNumber = 0;
  double FOverlappingPercent = 0.0;
  std::int32_t FOverlappingSamples = 0;
  std::int32_t FMaxFrames = 0;
  TFraming FFraming = frSingleRecord;
  double FFramesPerSecond = 0.0;
  std::int32_t FFrameNumber = 0;
  numeric::TPrecision FPrecision = numeric::prDouble;
  bool FForceLength = true;
  TNotifyEvent FOnRecordPositionChange;
  TNotifyEvent FOnProcessAll;

  // The record whose header was read last; -1 after opening.
  std::int32_t FCurrentRecord = -1;
  TSignalRecord FRecord;
  std::unique_ptr<classlib::TFileStream> FStream;
  // The records of a binary file, in file order.
  std::vector<TSignalRecord> FRecords;
  // A .sgl file's text and where each of its lines lies in it.
  std::string FText;
  std::vector<std::pair<std::size_t, std::size_t>> FLines;
  // The values of a text record (a whole record).
  std::unique_ptr<numeric::TVec> FValues;
  TWaveLayout FWave;
  std::unique_ptr<TACMConverter> FConverter;
};

// The file information texts of a reader (empty while no file is open):
// "Binary DAT", "Text SGL", ... or the WAV file's format tag name.
std::string FileFormatToText(const TSignalRead& Reader);
// "<Fs> Hz, <precision>, Ch: <n>[, Records: <n>]"; for WAV "<rate>Hz, <bits>bit,
// <n>ch " (extensible) or the format's description.
std::string SignalFileInfoText(const TSignalRead& Reader);

}  // namespace sig
