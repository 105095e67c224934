// The data-editing controls of the analysis windows: the complex-number spin
// edit with its up/down buttons, and the position panel.
#pragma once

#include "analysis_ui/MtxFloatEdit.h"
#include "analysis_ui/MtxPositionPanel.h"
#include "analysis_ui/SpinButtons.h"
