// The bridge from the workbench's designs to the filter-design library's Remez
// design and length estimate; private to the workbench logic library.
#pragma once

#include <cstdint>

#include "workbench/logic/Classes_Remez.h"

namespace workbench::detail {

// Designs `taps` taps by the library into ImpulseResponse[0 .. taps - 1] from
// the workspace's bands, with the deviations themselves as the band weights and
// the workspace's grid density; false when the library's status says it failed.
bool LibraryImpulseResponse(TDesignWorkspace& ws, std::uint8_t filterType, int taps);

// The library's length estimate of the workspace's bands and deviations.
int LibraryOrderEstimate(const TDesignWorkspace& ws, std::uint8_t filterType);

}  // namespace workbench::detail
