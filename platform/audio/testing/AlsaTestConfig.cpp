// The test's own ALSA configuration.
// Tested by: platform/audio/tests/AlsaWaveTest.cpp.
#include "platform/audio/testing/AlsaTestConfig.h"

#include <alsa/asoundlib.h>

#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace audio {

namespace {

constexpr const char* ConfigVariable = "ALSA_CONFIG_PATH";

// ALSA keeps the configuration it read; the next open reads the new one.
void ForgetAlsaConfiguration() { snd_config_update_free_global(); }

}  // namespace

TAlsaTestConfig::TAlsaTestConfig(const std::string& Path, const std::string& Text) {
  std::ofstream file(Path, std::ios::binary | std::ios::trunc);
  file << Text;
  if (!file.flush()) throw std::runtime_error("cannot write " + Path);
  if (const char* old = std::getenv(ConfigVariable)) FOldPath = old;
  setenv(ConfigVariable, Path.c_str(), 1);
  ForgetAlsaConfiguration();
}

TAlsaTestConfig::~TAlsaTestConfig() {
  if (FOldPath)
    setenv(ConfigVariable, FOldPath->c_str(), 1);
  else
    unsetenv(ConfigVariable);
  ForgetAlsaConfiguration();
}

std::string TAlsaTestConfig::FileDevice(const std::string& Output, const std::string& Input) {
  std::string text = "pcm.!default {\n  type file\n  slave.pcm { type null }\n  file \"" + Output + "\"\n";
  if (!Input.empty()) text += "  infile \"" + Input + "\"\n";
  text += "  format \"raw\"\n}\n";
  return text;
}

}  // namespace audio
