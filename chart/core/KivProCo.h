// The second block of the chart engine's texts: gallery names of the further
// series kinds, of the functions and of the tools, gallery pages, sub-style
// names, value-list names, editor and menu captions, and the errors of the
// further kinds. They follow the first block in the message table, so KivMsg
// reaches them by number like the others.
//
// Tested by: chart/tests/KivConstTest.cpp
#pragma once

#include <string>

namespace chart {

constexpr int KivProMessageFirst = 264;
constexpr int KivProMessageCount = 199;

// The numbers of the texts the series kinds and functions use.
enum TKivProMsg : int {
  msgGalleryCandle = 265,
  msgGalleryVolume = 266,
  msgGalleryErrorBar = 293,
  msgGalleryError = 294,
  msgGalleryHighLow = 295,
  msgFunctionRSI = 301,
  msgFunctionADX = 312,
  msgGalleryOther = 317,
  msgGalleryStats = 318,
  msgGalleryFinancial = 358,
  msgSubStyleBar = 395,
  msgSubStyleNoOpen = 396,
  msgSubStyleNoClose = 397,
  msgSubStyleNoHigh = 398,
  msgSubStyleNoLow = 399,
  msgSubStyleOrigin = 426,
};

// The text of a message of the second block; empty outside it.
const std::string& KivProCoText(int number);

}  // namespace chart
