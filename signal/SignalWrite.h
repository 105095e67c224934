// TSignalWrite: a sink of the pull pipeline that appends every block of its
// Input to a signal file. The first block opens the file and the record
// (writing the record's header), later blocks add samples, and CloseFile
// completes the record: the header's count and duration become the totals.
//
// Safety. The file is written beside its target and renamed into place by
// CloseFile (also by a new FileName and by destruction), so the target is
// always either the old file or the whole new one; a write that fails drops
// the new file and leaves the old one. With AppendFile an existing .dat,
// .bin or .dbn file keeps its records and the new one follows them; every
// other format replaces the file. The input's Data is never changed.
//
// Refused at the start of a record, before anything is written: a .bin,
// .dbn, .sfs or .asc record of more than one channel or of complex samples
// (those formats hold one real channel), a WAV file of complex samples, a
// sampling frequency that is no positive number. A WAV file stops growing
// before its 32-bit sizes would overflow: the block that does not fit is
// refused with a message and the file is closed valid.
//
// Tested by: signal/tests/SignalWriteTest.cpp.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "numeric/SampleStreams.h"
#include "signal/FileStorage.h"
#include "signal/WaveFormat.h"

namespace classlib {
class TSafeFileWriter;
}

namespace sig {

class TSignalWrite : public TFileStorage {
  ORVEL_CLASS_INFO
 public:
  explicit TSignalWrite(classlib::TComponent* AOwner = nullptr);
  ~TSignalWrite() override;

  // properties
  // The text of the WAV file's "ISFT" chunk.
  const std::string& AuthorInfo() const { return FAuthorInfo; }
  void SetAuthorInfo(const std::string& Value) { FAuthorInfo = Value; }
  TSignal* Input() const;
  void SetInput(TAnalysis* Value) override;
  bool AppendFile() const { return FAppendFile; }
  void SetAppendFile(bool Value) { FAppendFile = Value; }
  numeric::TRounding Rounding() const { return FRounding; }
  void SetRounding(numeric::TRounding Value) { FRounding = Value; }
  std::int32_t RecordNumber() const { return FRecordNumber; }
  void SetRecordNumber(std::int32_t Value) { FRecordNumber = Value; }
  // Sample precision of .dat and WAV files.
  numeric::TPrecision Precision() const { return FPrecision; }
  void SetPrecision(numeric::TPrecision Value) { FPrecision = Value; }
  // TotalRecordLength / ChannelCount.
  std::int32_t RecordLength() const;
  // RecordLength / SamplingFrequency.
  double RecordTime() const;
  // Values written to the current record.
  std::int32_t TotalRecordLength() const { return FTotalRecordLength; }

  // operations
  // Appends the current block of Input (nothing while not Active).
  void AppendBlock();

  // overrides
  // Completes the record and puts the file in its place.
  void CloseFile() override;
  // ChannelCount and SamplingFrequency of Input, then AppendBlock; 0.
  std::uint8_t InternalUpdate() override;

 protected:
  // The largest WAV file written; the format allows MaxWaveFileBytes.
  std::int64_t FWavSizeLimit = MaxWaveFileBytes;

 private:
  void CreateFile(const TSignal& Source);
  void BeginRecord(const TSignal& Source);
  void WriteBlock(const TSignal& Source);
  void WriteWaveBlock(const TSignal& Source);
  void WriteTextBlock(const TSignal& Source);
  // Ends the file and its record; a file not yet put in place is dropped,
  // so the target stays as it was.
  void ReleaseFile();

  std::string FAuthorInfo;
  bool FAppendFile = false;
  numeric::TRounding FRounding = numeric::rnTrunc;
  std::int32_t FRecordNumber = 0;
  numeric::TPrecision FPrecision = numeric::prDouble;
  std::int32_t FTotalRecordLength = 0;

  bool FHeaderWritten = false;
  // Where the current record's header starts.
  std::int64_t FHeaderPosition = 0;
  // The record's layout, as its header states it.
  std::int32_t FRecordChannels = 1;
  bool FRecordComplex = false;
  double FRecordRate = 0.0;
  std::unique_ptr<classlib::TSafeFileWriter> FStream;
  // .sfs: the value lines, written behind the header at CloseFile.
  std::string FText;
  // WAV: the bytes of samples written.
  std::int64_t FWaveDataSize = 0;
  std::int32_t FWaveBits = 0;
};

}  // namespace sig
