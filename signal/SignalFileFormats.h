// The seven signal file formats: their enumeration, extensions, names, the
// open/save dialog filter, and the choice of a format by a file's extension.
//
// Byte and line layouts (every binary number little-endian):
//   .dat  records of: int32 count (values of all channels), float64 sampling
//         frequency, int32 precision ordinal, int32 complex (0/1), int32
//         channel count, then count samples in that precision, interleaved.
//   .bin  records of: int32 count, float32 duration [s], count float32.
//   .dbn  records of: int32 count, float64 duration [s], count float64.
//   .sgl  records of three text lines: count, duration, values split by ';'.
//   .sfs  one record: count, duration, an empty line, one value per line.
//   .asc  one record: a line per sample, its time and its value.
//   .wav  RIFF "WAVE" with a "fmt " and a "data" chunk.
// Text is written with '.' as decimal separator and CR LF line ends; LF and
// CR LF are read alike.
//
// Tested by: signal/tests/SignalFileFormatsTest.cpp.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace sig {

enum TFileFormat : std::uint8_t { ffDat, ffSgl, ffBin, ffWav, ffSfs, ffAsc, ffDbn };

// The filter of the open and save dialogs (.dbn comes before .sfs).
inline constexpr std::string_view SignalFileFilter =
    "Binary multi precision records (*.dat)|*.dat|Multi record ASCII (*.sgl)|*.sgl|"
    "Binary single precision records (*.bin)|*.bin|Binary double precision records (*.dbn)|*.dbn|"
    "Single column ASCII (*.sfs)|*.sfs|Two column ASCII (*.asc)|*.asc|Windows PCM (*.wav)|*.wav|"
    "All files (*.*)|*.*";

// ".dat", ".sgl", ...; empty for a value outside the enumeration.
std::string FileFormatExtension(TFileFormat Format);
// "Binary DAT", "Text SGL", "Binary BIN", "Text SFS", "Text ASC", "Binary DBN";
// empty for WAV, whose name is that of the file's format tag.
std::string FileFormatName(TFileFormat Format);
// The format of a file name's lower-cased extension (with its dot). Any other
// extension raises "Unknown file file format extension: " + the extension.
TFileFormat FileFormatOfName(std::string_view FileName);

}  // namespace sig
