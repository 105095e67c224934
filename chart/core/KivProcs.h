// The engine's shared routines that need no drawing backend, in one include:
// palette, number texts, hit tests, list and component helpers, panel margin
// geometry, date-time steps, quiet library loading and the zoom settings.
//
// Everything here is chart_core, so a user that links chart_core alone can
// include it. The routines that paint or load pictures
// (chart/canvas/KivProcsGraphics.h, chart), those of widgets (chart/widgets/KivProcsWidgets.h,
// chart_widgets) and the panel (chart/KivPanel.h, chart) have headers of their
// own and are not pulled in here.
#pragma once

#include "chart/core/KivProcsDateTime.h"
#include "chart/core/KivProcsLibrary.h"
#include "chart/core/KivProcsRoutines.h"
#include "chart/core/KivProcsZoom.h"
