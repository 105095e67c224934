// The shared routines that paint or load pictures: the check box and the
// class bitmaps.
//
// Tested by: chart/tests/KivProcsGraphicsTest.cpp, chart/tests/KivCanvasQtTest.cpp
#pragma once

#include <cstdint>
#include <string>

#include "platform/classlib/Persistent.h"

namespace chart {

class TCanvas;
class TBitmap;

// A 13 x 13 check box at (x, y) on canvas, in the desktop theme's colours:
// a sunken frame, the window colour inside, and a check mark when checked.
void DrawCheckBox(std::int32_t x, std::int32_t y, TCanvas& canvas, bool checked);

// Loads the bitmap named after the class, else after its parent class, from
// the resources of every library linked into the program (Qt resources under
// ":/kiv/bitmaps/"); false, with the bitmap unchanged, when neither exists.
bool LoadClassBitmap(TBitmap& bitmap, const std::string& className, const std::string& parentClassName);
// The same for an object's class and its parent class.
bool LoadObjectClassBitmap(TBitmap& bitmap, const classlib::TPersistent& object);

}  // namespace chart
