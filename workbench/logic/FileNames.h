// File names of the workbench's save and open commands: the extension a save
// appends, and which reader an opened file goes to.
//
// The choice of reader looks at the name without its folder, case-sensitively,
// as the program always has: "DATA.PRM" is not a parameter file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace workbench {

// The name with the extension appended, every doubled extension then reduced
// to one: "m" and "m.dmp" both give "m.dmp".
std::string AppendExtension(std::string_view fileName, std::string_view extension);

// The generator's open command.
enum TGeneratorFileKind : std::uint8_t { gfParameters, gfQuoteCsv, gfHistory };
// ".prm" in the name: parameters; else ".csv": CSV quotes; else a history file.
TGeneratorFileKind GeneratorFileKind(std::string_view fileName);

// The comparison window's open command.
enum TCompareFileKind : std::uint8_t { cfExpertSampling, cfMqlImport, cfHistory };
// ".csv" in the name: expert sampling; else ".mql" or ".mq4" (the indicator
// texts the program writes): coefficient import; else a history file.
TCompareFileKind CompareFileKind(std::string_view fileName);

}  // namespace workbench
