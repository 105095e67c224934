// The settings file orvel.ini: the generator's last inputs and the search
// ranges of TWorkbenchSettings, kept between runs.
//
// The file lives next to the executable when that folder is writable, else in
// the user's configuration folder. Reading never fails on content: a missing
// file, section or key, or a value that is no number, gives the key's default.
#pragma once

#include <cstdint>
#include <string>

#include "workbench/logic/Classes_Remez.h"
#include "workbench/logic/UserMessages.h"

namespace workbench {

inline constexpr const char* SettingsFileName = "orvel.ini";
inline constexpr const char* secOrvelParameters = "OrvelParameters";
inline constexpr const char* secOptimize = "Optimize";

// A settings file larger than this is a bad file, never read: its keys are
// no user's settings, and reading it whole would only cost memory.
inline constexpr std::int64_t SettingsFileMaxSize = 16 * 1024 * 1024;

// The record with the default of every key (and MomentumIndex 0).
TWorkbenchSettings DefaultWorkbenchSettings();

// executableDir/orvel.ini when executableDir is writable, else configDir/orvel.ini.
std::string SettingsFilePath(const std::string& executableDir, const std::string& configDir);
// The path for the running program: the executable's folder, or the "Orvel"
// folder in the user's configuration folder.
std::string DefaultSettingsFilePath();

// Every key of the file, or its default. The byte keys ("Method", "FilterType",
// "TextMode", "Zoom") give their default for a value outside 0..255; "Grid1"
// keeps its first 10 characters. Raises EWorkbenchFile naming the file when
// it exists but cannot be read, or is larger than SettingsFileMaxSize.
TWorkbenchSettings ReadWorkbenchSettings(const std::string& fileName);
// The same for the program's start: a file that cannot be read gives every
// key's default, after one warning that names it.
TWorkbenchSettings ReadWorkbenchSettings(const std::string& fileName, TUserMessages& messages);

// Writes every field to its key (other keys and comments in the file are kept;
// a file larger than SettingsFileMaxSize is replaced with the keys alone),
// creating the folder when needed. The file is replaced whole or not at all;
// a failure raises EWorkbenchFile naming the file.
void WriteWorkbenchSettings(const std::string& fileName, const TWorkbenchSettings& settings);

}  // namespace workbench
