// Registration of the series kinds and functions.
//
// Tested by: chart/tests/ErrorSeriesTest.cpp
#include "chart/series/StandardSeries.h"

#include "chart/core/KivProCo.h"
#include "chart/functions/FinancialFunctions.h"
#include "chart/series/AreaSeries.h"
#include "chart/series/BarSeries.h"
#include "chart/series/CandleSeries.h"
#include "chart/series/ErrorSeries.h"
#include "chart/series/FastLineSeries.h"
#include "chart/series/LineSeries.h"
#include "chart/series/PieSeries.h"
#include "chart/series/SeriesRegistry.h"

namespace chart {

namespace {
// Message numbers of the gallery names and of the "Standard" page.
constexpr int msgLine = 27, msgPoint = 28, msgArea = 29, msgBar = 30, msgHorizBar = 31, msgPie = 33,
              msgFastLine = 35, msgHorizLine = 36, msgStandard = 47, msgHorizArea = 258;
}  // namespace

void RegisterStandardSeries() {
  RegisterSeriesType(TLineSeries::StaticClassInfo(), msgLine, msgStandard, 2);
  RegisterSeriesType(TBarSeries::StaticClassInfo(), msgBar, msgStandard, 2);
  RegisterSeriesType(THorizBarSeries::StaticClassInfo(), msgHorizBar, msgStandard, 2);
  RegisterSeriesType(TAreaSeries::StaticClassInfo(), msgArea, msgStandard, 2);
  RegisterSeriesType(TPointSeries::StaticClassInfo(), msgPoint, msgStandard, 2);
  RegisterSeriesType(TPieSeries::StaticClassInfo(), msgPie, msgStandard, 1);
  RegisterSeriesType(TFastLineSeries::StaticClassInfo(), msgFastLine, msgStandard, 2);
  RegisterSeriesType(THorizLineSeries::StaticClassInfo(), msgHorizLine, msgStandard, 1);
  RegisterSeriesType(THorizAreaSeries::StaticClassInfo(), msgHorizArea, msgStandard, 1);
}

void UnregisterStandardSeries() {
  UnregisterSeriesTypes({&TLineSeries::StaticClassInfo(), &TBarSeries::StaticClassInfo(),
                         &THorizBarSeries::StaticClassInfo(), &TAreaSeries::StaticClassInfo(),
                         &TPointSeries::StaticClassInfo(), &TPieSeries::StaticClassInfo(),
                         &TFastLineSeries::StaticClassInfo(), &THorizLineSeries::StaticClassInfo(),
                         &THorizAreaSeries::StaticClassInfo()});
}

void RegisterFinancialSeries() {
  RegisterSeriesType(TCandleSeries::StaticClassInfo(), msgGalleryCandle, msgGalleryFinancial, 1);
  RegisterSeriesType(TVolumeSeries::StaticClassInfo(), msgGalleryVolume, msgGalleryFinancial, 1);
  RegisterFunction(TADXFunction::StaticClassInfo(), msgFunctionADX, msgGalleryFinancial, 1);
  RegisterFunction(TRSIFunction::StaticClassInfo(), msgFunctionRSI, msgGalleryFinancial, 1);
}

void RegisterStatsSeries() {
  RegisterSeriesType(TErrorBarSeries::StaticClassInfo(), msgGalleryErrorBar, msgGalleryStats, 1);
  RegisterSeriesType(TErrorSeries::StaticClassInfo(), msgGalleryError, msgGalleryStats, 1);
  RegisterSeriesType(THighLowSeries::StaticClassInfo(), msgGalleryHighLow, msgGalleryStats, 1);
}

}  // namespace chart
