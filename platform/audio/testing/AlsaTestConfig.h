// An ALSA configuration written by a test and made ALSA's only one while the
// object lives (through ALSA_CONFIG_PATH): neither the machine's nor the
// user's configuration is read, and no sound card is used.
//
//   audio::TAlsaTestConfig config(dir.File("asound.conf"),
//                                 audio::TAlsaTestConfig::FileDevice(dir.File("out.raw")));
//   ... device -1 now plays into out.raw ...
//
// Tested by: platform/audio/tests/AlsaWaveTest.cpp.
#pragma once

#include <optional>
#include <string>

namespace audio {

class TAlsaTestConfig {
 public:
  TAlsaTestConfig(const std::string& Path, const std::string& Text);
  ~TAlsaTestConfig();
  TAlsaTestConfig(const TAlsaTestConfig&) = delete;
  TAlsaTestConfig& operator=(const TAlsaTestConfig&) = delete;

  // A configuration whose default device is ALSA's "file" device over its
  // "null" device: what is played is written to Output as raw bytes, what
  // is recorded is read from Input (when given), and neither waits for a
  // clock.
  static std::string FileDevice(const std::string& Output, const std::string& Input = "");

 private:
  std::optional<std::string> FOldPath;
};

}  // namespace audio
