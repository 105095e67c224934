// The signal layer's start-up: one call registers the classes of every unit
// of the layer; the finalisation takes them out. Both count their calls, so
// that nested start-ups (a test main and a test) pair up.
#pragma once

namespace sig {

void InitSignal();
void DoneSignal();

}  // namespace sig
