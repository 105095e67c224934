// Axis data, setters with their checks, range, pixel span, increments,
// scrolling and the hit test; the grid pen, title and custom label items.
//
// Tested by: chart/tests/ChartAxisTest.cpp
#include "chart/ChartAxis.h"

#include <algorithm>
#include <cmath>

#include "chart/AxisPanel.h"
#include "chart/core/KivConst.h"
#include "chart/core/KivProcsDateTime.h"
#include "chart/core/StoreAndInvalidate.h"

namespace chart {

using classlib::TClassBuilder;
using classlib::TClassInfo;

// --- grid pen, title, items -------------------------------------------------

const TClassInfo& TAxisGridPen::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TAxisGridPen>("TAxisGridPen", TDottedGrayPen::StaticClassInfo())
          .Property("ZPosition", &TAxisGridPen::ZPosition, &TAxisGridPen::SetZPosition)
          .Stored([](const TAxisGridPen& p) { return p.ZPosition() != p.DefaultZPosition(); })
          .Creatable()
          .Build();
  return info;
}

TAxisGridPen::TAxisGridPen(TNotifyEvent onChange) : TDottedGrayPen(std::move(onChange)) {}

void TAxisGridPen::SetZPosition(double v) {
  if (FZPosition == v) return;
  FZPosition = v;
  Changed();
}

void TAxisGridPen::SetCentered(bool v) {
  if (FCentered == v) return;
  FCentered = v;
  Changed();
}

void TAxisGridPen::Assign(const classlib::TPersistent& source) {
  if (auto* p = dynamic_cast<const TAxisGridPen*>(&source)) {
    FZPosition = p->FZPosition;
    FCentered = p->FCentered;
  }
  TDottedGrayPen::Assign(source);
}

const TClassInfo& TChartAxisTitle::StaticClassInfo() {
  static const TClassInfo info =
      ShapeClassBuilder<TChartAxisTitle>("TChartAxisTitle", TKivCustomShape::StaticClassInfo())
          .Property("Angle", &TChartAxisTitle::Angle, &TChartAxisTitle::SetAngle)
          .Stored([](const TChartAxisTitle& t) { return t.Angle() != t.DefaultAngle(); })
          .Property("Caption", &TChartAxisTitle::Caption, &TChartAxisTitle::SetCaption, std::string())
          .Build();
  return info;
}

TChartAxisTitle::TChartAxisTitle(TCustomKivPanel* parent) : TKivCustomShape(parent) { InitTransparent(true); }

void TChartAxisTitle::SetAngle(std::int32_t v) { StoreAndInvalidate(*this, FAngle, v % 360); }

void TChartAxisTitle::SetCaption(const std::string& v) { StoreAndInvalidate(*this, FCaption, v); }

void TChartAxisTitle::Assign(const classlib::TPersistent& source) {
  if (auto* t = dynamic_cast<const TChartAxisTitle*>(&source)) {
    FAngle = t->FAngle;
    FCaption = t->FCaption;
  }
  TKivCustomShape::Assign(source);
}

const TClassInfo& TAxisItem::StaticClassInfo() {
  static const TClassInfo info = ShapeClassBuilder<TAxisItem>("TAxisItem", TKivCustomShape::StaticClassInfo())
                                     .Property("Text", &TAxisItem::Text, &TAxisItem::SetText, std::string())
                                     .Property("Value", &TAxisItem::Value, &TAxisItem::SetValue, 0.0)
                                     .Build();
  return info;
}

TAxisItem::TAxisItem(TAxisItems* owner)
    : TKivCustomShape(owner != nullptr ? owner->Axis().ParentChart() : nullptr), FOwner(owner) {
  InitTransparent(true);
}

void TAxisItem::SetValue(double v) { StoreAndInvalidate(*this, FValue, v); }

void TAxisItem::SetText(const std::string& v) { StoreAndInvalidate(*this, FText, v); }

TAxisItems::TAxisItems(TChartAxis& axis)
    : FAxis(axis), FFormat(std::make_unique<TKivShape>(axis.ParentChart())) {
  FFormat->InitTransparent(true);
}

TAxisItems::~TAxisItems() = default;

TAxisItem* TAxisItems::Add(double value) {
  FItems.push_back(std::make_unique<TAxisItem>(this));
  FItems.back()->SetValue(value);
  return FItems.back().get();
}

TAxisItem* TAxisItems::Add(double value, const std::string& text) {
  TAxisItem* item = Add(value);
  item->SetText(text);
  return item;
}

void TAxisItems::Clear() {
  FItems.clear();
  if (FAxis.ParentChart() != nullptr) FAxis.ParentChart()->Invalidate();
}

void TAxisItems::Assign(const TAxisItems& other) {
  FFormat->Assign(*other.FFormat);
  FItems.clear();
  for (const auto& item : other.FItems) Add(item->Value(), item->Text());
}

// --- the axis ---------------------------------------------------------------

namespace {
const std::vector<std::string> LabelStyleNames = {"talAuto", "talNone", "talValue", "talMark", "talText"};
}

const TClassInfo& TChartAxis::StaticClassInfo() {
  using A = TChartAxis;
  static const TClassInfo info =
      TClassBuilder<A>("TChartAxis", classlib::TCollectionItem::StaticClassInfo())
          .Property("Automatic", &A::Automatic, &A::SetAutomatic, true)
          .Property("AutomaticMaximum", &A::AutomaticMaximum, &A::SetAutomaticMaximum, true)
          .Property("AutomaticMinimum", &A::AutomaticMinimum, &A::SetAutomaticMinimum, true)
          .SubObject("Axis", &A::Axis)
          .TypeName("TChartAxisPen")
          .Property("AxisValuesFormat", &A::AxisValuesFormat, &A::SetAxisValuesFormat, KivMsg(msgValuesFormat))
          .Property("DateTimeFormat", &A::DateTimeFormat, &A::SetDateTimeFormat, std::string())
          .Property("EndPosition", &A::EndPosition, &A::SetEndPosition, 100.0)
          .Stored([](const A& a) { return a.EndPosition() != 100; })
          .Property("ExactDateTime", &A::ExactDateTime, &A::SetExactDateTime, true)
          .SubObject("Grid", &A::Grid)
          .TypeName("TAxisGridPen")
          .Property("GridCentered", &A::GridCentered, &A::SetGridCentered, false)
          .Property("Horizontal", &A::Horizontal, &A::SetHorizontal)
          .Stored([](const A& a) { return a.IsCustom(); })
          .Property("Increment", &A::Increment, &A::SetIncrement, 0.0)
          .Property("Inverted", &A::Inverted, &A::SetInverted, false)
          .Property("Labels", &A::Labels, &A::SetLabels, true)
          .Property("LabelsAlign", &A::LabelsAlign, &A::SetLabelsAlign, alDefault)
          .TypeName("TAxisLabelAlign")
          .Names({"alDefault", "alOpposite"})
          .Property("LabelsAngle", &A::LabelsAngle, &A::SetLabelsAngle, 0)
          .Property("LabelsExponent", &A::LabelsExponent, &A::SetLabelsExponent, false)
          .SubObject("LabelsFont", &A::LabelsFont)
          .TypeName("TKivFont")
          .Property("LabelsMultiLine", &A::LabelsMultiLine, &A::SetLabelsMultiLine, false)
          .Property("LabelsOnAxis", &A::LabelsOnAxis, &A::SetLabelsOnAxis, true)
          .Property("LabelsSeparation", &A::LabelsSeparation, &A::SetLabelsSeparation, 10)
          .Property("LabelsSize", &A::LabelsSize, &A::SetLabelsSize, 0)
          .Property("LabelStyle", &A::LabelStyle, &A::SetLabelStyle, talAuto)
          .TypeName("TAxisLabelStyle")
          .Names(LabelStyleNames)
          .Property("Logarithmic", &A::Logarithmic, &A::SetLogarithmic, false)
          .Property("LogarithmicBase", &A::LogarithmicBase, &A::SetLogarithmicBase, 10.0)
          .Stored([](const A& a) { return a.LogarithmicBase() != 10; })
          .Property("Maximum", &A::Maximum, &A::SetMaximum)
          .Stored([](const A& a) { return !a.Automatic() && !a.AutomaticMaximum(); })
          .Property("MaximumOffset", &A::MaximumOffset, &A::SetMaximumOffset, 0)
          .Property("Minimum", &A::Minimum, &A::SetMinimum)
          .Stored([](const A& a) { return !a.Automatic() && !a.AutomaticMinimum(); })
          .Property("MinimumOffset", &A::MinimumOffset, &A::SetMinimumOffset, 0)
          .SubObject("MinorGrid", &A::MinorGrid)
          .TypeName("TChartHiddenPen")
          .Property("MinorTickCount", &A::MinorTickCount, &A::SetMinorTickCount, 3)
          .Property("MinorTickLength", &A::MinorTickLength, &A::SetMinorTickLength, 2)
          .SubObject("MinorTicks", &A::MinorTicks)
          .TypeName("TDarkGrayPen")
          .Property("OtherSide", &A::OtherSide, &A::SetOtherSide)
          .Stored([](const A& a) { return a.IsCustom(); })
          .Property("PositionPercent", &A::PositionPercent, &A::SetPositionPercent, 0.0)
          .Property("PositionUnits", &A::PositionUnits, &A::SetPositionUnits, muPercent)
          .TypeName("TKivUnits")
          .Names({"muPercent", "muPixels"})
          .Property("RoundFirstLabel", &A::RoundFirstLabel, &A::SetRoundFirstLabel, true)
          .Property("StartPosition", &A::StartPosition, &A::SetStartPosition, 0.0)
          .Property("TickInnerLength", &A::TickInnerLength, &A::SetTickInnerLength, 0)
          .Property("TickLength", &A::TickLength, &A::SetTickLength, 4)
          .SubObject("Ticks", &A::Ticks)
          .TypeName("TDarkGrayPen")
          .SubObject("TicksInner", &A::TicksInner)
          .TypeName("TDarkGrayPen")
          .Property("TickOnLabelsOnly", &A::TickOnLabelsOnly, &A::SetTickOnLabelsOnly, true)
          .SubObject("Title", &A::Title)
          .TypeName("TChartAxisTitle")
          .Property("TitleSize", &A::TitleSize, &A::SetTitleSize, 0)
          .Property("Visible", &A::Visible, &A::SetVisible, true)
          .Property("ZPosition", &A::ZPosition, &A::SetZPosition, 0.0)
          .Build();
  return info;
}

TChartAxis::TChartAxis(TCustomAxisPanel* chart)
    : FChart(chart),
      FAxisValuesFormat(KivMsg(msgValuesFormat)),
      FLabelsFont(std::make_unique<TKivFont>([this] { Invalidate(); })),
      FAxisPen(std::make_unique<TChartAxisPen>([this] { Invalidate(); })),
      FGrid(std::make_unique<TAxisGridPen>([this] { Invalidate(); })),
      FMinorGrid(std::make_unique<TChartHiddenPen>([this] { Invalidate(); })),
      FMinorTicks(std::make_unique<TDarkGrayPen>([this] { Invalidate(); })),
      FTicks(std::make_unique<TDarkGrayPen>([this] { Invalidate(); })),
      FTicksInner(std::make_unique<TDarkGrayPen>([this] { Invalidate(); })),
      FTitle(std::make_unique<TChartAxisTitle>(chart)) {
  FItems = std::make_unique<TAxisItems>(*this);
  if (FChart != nullptr) {
    const bool custom = FChart->AxesList().Count() >= 5;
    FChart->AxesList().Add(this);
    if (custom) SetCollection(&FChart->CustomAxes());
  }
}

TChartAxis::~TChartAxis() {
  if (FChart == nullptr) return;
  FChart->AxisFreed(*this);
  FChart->AxesList().Remove(this);
  SetCollection(nullptr);
}

bool TChartAxis::IsCustom() const { return FChart != nullptr && FChart->AxesList().IndexOf(this) >= 5; }

void TChartAxis::Invalidate() const {
  if (FChart != nullptr) FChart->Invalidate();
}

bool TChartAxis::ChartLoading() const { return FChart != nullptr && FChart->HasState(classlib::csLoading); }

void TChartAxis::SetAutomatic(bool v) {
  FAutomatic = v;
  if (!ChartLoading()) FAutomaticMinimum = FAutomaticMaximum = v;
  Invalidate();
}

void TChartAxis::SetAutomaticMaximum(bool v) {
  FAutomaticMaximum = v;
  if (!v)
    FAutomatic = false;
  else if (FAutomaticMinimum)
    FAutomatic = true;
  Invalidate();
}

void TChartAxis::SetAutomaticMinimum(bool v) {
  FAutomaticMinimum = v;
  if (!v)
    FAutomatic = false;
  else if (FAutomaticMaximum)
    FAutomatic = true;
  Invalidate();
}

void TChartAxis::SetMinimum(double v) {
  if (!ChartLoading() && v > FMaximum) throw AxisException(KivMsg(msgAxisMinMax));
  StoreAndInvalidate(*this, FMinimum, v);
}

void TChartAxis::SetMaximum(double v) {
  if (!ChartLoading() && v < FMinimum) throw AxisException(KivMsg(msgAxisMaxMin));
  StoreAndInvalidate(*this, FMaximum, v);
}

void TChartAxis::SetIncrement(double v) {
  if (v < 0) throw AxisException(KivMsg(msgAxisIncrementNegative));
  StoreAndInvalidate(*this, FIncrement, v);
}

void TChartAxis::SetLabelsSeparation(std::int32_t v) {
  if (v < 0) throw AxisException(KivMsg(msgAxisLabelsSeparation));
  StoreAndInvalidate(*this, FLabelsSeparation, v);
}

void TChartAxis::SetLabelsAngle(std::int32_t v) { StoreAndInvalidate(*this, FLabelsAngle, v % 360); }

bool TChartAxis::Labels() const { return FItems->Format()->Visible(); }
void TChartAxis::SetLabels(bool v) { FItems->Format()->SetVisible(v); Invalidate(); }

void TChartAxis::SetInverted(bool v) { StoreAndInvalidate(*this, FScale.Inverted, v); }

void TChartAxis::SetLogarithmicBase(double v) {
  if (v < 2) throw AxisException(KivMsg(msgAxisLogBase));
  StoreAndInvalidate(*this, FLogarithmicBase, v);
}

void TChartAxis::SetLogarithmic(bool v) {
  if (v && !FLogarithmic) {
    RefreshDateTimeFlag();
    if (FIsDateTime) throw AxisException(KivMsg(msgAxisLogDateTime));
    AdjustMaxMin();
    if (FScale.IMinimum < 0 || FScale.IMaximum < 0) throw AxisException(KivMsg(msgAxisLogNotPositive));
  }
  FLogarithmic = v;
  FScale.Logarithmic = v;
  FScale.RecalcScales();
  Invalidate();
}

void TChartAxis::SetHorizontal(bool v) {
  FHorizontal = v;
  FScale.Horizontal = v;
  Invalidate();
}

void TChartAxis::SetMinMax(double minimum, double maximum) {
  FAutomatic = FAutomaticMinimum = FAutomaticMaximum = false;
  if (minimum > maximum) std::swap(minimum, maximum);
  // The smallest range must survive the addition: near 1e7 an ulp is 2e-9.
  const double minRange = std::max(MinAxisRange, 4 * std::fabs(std::nextafter(minimum, HUGE_VAL) - minimum));
  if (maximum - minimum < minRange) maximum = minimum + minRange;
  FMinimum = minimum;
  FMaximum = maximum;
  Invalidate();
}

void TChartAxis::RefreshDateTimeFlag() {
  FIsDateTime = FChart != nullptr && FChart->SeriesFactsOfAxis(*this).DateTime;
}

void TChartAxis::CalcMinMax(double& minimum, double& maximum) const {
  minimum = FMinimum;
  maximum = FMaximum;
  if (FChart == nullptr) return;
  if (FAutomatic || FAutomaticMaximum) maximum = FChart->AxisDataMaximum(*this);
  if (FAutomatic || FAutomaticMinimum) minimum = FChart->AxisDataMinimum(*this);
}

void TChartAxis::AdjustMaxMin() {
  CalcMinMax(FMinimum, FMaximum);
  FScale.Fast = FChart != nullptr && FChart->AxesList().FastCalc;
  FScale.SetRange(FMinimum, FMaximum);
}

void TChartAxis::InternalCalcPositions() {
  if (FChart == nullptr) return;
  std::int32_t origin, span;
  const TRect& r = FChart->ChartRect();
  if (IsDepthAxis()) {
    origin = 0;
    span = FChart->Width3D();
  } else if (FHorizontal) {
    origin = r.Left;
    span = r.Width();
  } else {
    origin = r.Top;
    span = r.Height();
  }
  FScale.Horizontal = FHorizontal;
  const auto at = [&](double percent) {
    const double p = std::nearbyint(span * 0.01 * percent);
    return origin + static_cast<std::int64_t>(std::clamp(p, -4.0 * AxisPixelLimit, 4.0 * AxisPixelLimit));
  };
  FScale.SetPixels(at(FStartPosition), at(FEndPosition));
  const std::int32_t depth = IsDepthAxis() ? FChart->ChartHeight() : FChart->Width3D();
  FZPos = Round(depth * FZPosition * 0.01);
}

void TChartAxis::ApplyMargins(std::int32_t lowMargin, std::int32_t highMargin) {
  if (lowMargin == 0 && highMargin == 0) return;
  const std::int64_t oldStart = FScale.IStartPos, oldEnd = FScale.IEndPos;
  // Vertical axes run from the top: the low margin of values is at the end pixel.
  const std::int64_t first = FHorizontal ? lowMargin : highMargin;
  const std::int64_t second = FHorizontal ? highMargin : lowMargin;
  FScale.SetPixels(oldStart + first, oldEnd - second);
  // Margins that leave no room between them cannot widen the range.
  if (FScale.IAxisSize < 1) {
    FScale.SetPixels(oldStart, oldEnd);
    return;
  }
  double a = FScale.CalcPosPoint(static_cast<std::int32_t>(oldStart)),
         b = FScale.CalcPosPoint(static_cast<std::int32_t>(oldEnd));
  if (a > b) std::swap(a, b);
  FScale.SetRange(a, b);
  FScale.SetPixels(oldStart, oldEnd);
}

void TChartAxis::AdjustMaxMinRect(const TRect& rect) {
  if (FHorizontal)
    ApplyMargins(rect.Left, rect.Right);
  else
    ApplyMargins(rect.Bottom, rect.Top);
}

double TChartAxis::CalcIncrement() {
  TIncrementInput in;
  if (FChart != nullptr && !IsDepthAxis()) {
    TCanvas3D& c = FChart->Canvas();
    c.AssignFont(*FLabelsFont);
    const bool across = FHorizontal ? (FLabelsAngle == 90 || FLabelsAngle == 270) : (FLabelsAngle == 0 || FLabelsAngle == 180);
    auto size = [&](double v) {
      const std::string t = LabelValue(v);
      return across ? LabelHeight(t) : LabelWidth(t);
    };
    in.LabelSize = std::max(size(FScale.IMinimum), size(FScale.IMaximum));
  }
  in.LabelsSeparation = FLabelsSeparation;
  in.AxisSize = FScale.IAxisSize;
  in.Range = FScale.IRange;
  in.Increment = FIncrement;
  in.IsDateTime = FIsDateTime;
  if (FChart != nullptr) in.FewestSeriesPoints = FChart->SeriesFactsOfAxis(*this).FewestPoints;
  FLabelIncrement = CalcIncrementValue(in);
  return FLabelIncrement;
}

TAxisLabelStyle TChartAxis::CalcLabelStyle() const {
  if (FChart == nullptr) return talValue;
  const TAxisSeriesFacts facts = FChart->SeriesFactsOfAxis(*this);
  if (facts.TextLabels) return talText;
  return facts.Any ? talValue : talNone;
}

bool TChartAxis::Clicked(std::int32_t x, std::int32_t y) {
  if (FChart == nullptr || !FChart->IsAxisVisible(*this)) return false;
  if (FChart->View3D()) FChart->Canvas().Calculate2DPosition(x, y, FZPos);
  const std::int32_t lo = std::min(FScale.IStartPos, FScale.IEndPos), hi = std::max(FScale.IStartPos, FScale.IEndPos);
  if (IsDepthAxis()) return false;
  if (FHorizontal) return x >= lo && x <= hi && std::abs(y - FPosAxis) <= 3;
  return y >= lo && y <= hi && std::abs(x - FPosAxis) <= 3;
}

void TChartAxis::Scroll(double offset, bool checkLimits) {
  if (checkLimits) {
    if (offset == 0 || FChart == nullptr) return;
    if (offset > 0 && !(FChart->AxisDataMaximum(*this) > FMaximum)) return;
    if (offset < 0 && !(FChart->AxisDataMinimum(*this) < FMinimum)) return;
  }
  FAutomatic = FAutomaticMaximum = FAutomaticMinimum = false;
  FMaximum += offset;
  FMinimum += offset;
  Invalidate();
}

void TChartAxis::Assign(const classlib::TPersistent& source) {
  auto* a = dynamic_cast<const TChartAxis*>(&source);
  if (a == nullptr) {
    classlib::TPersistent::Assign(source);
    return;
  }
  FAutomatic = a->FAutomatic;
  FAutomaticMaximum = a->FAutomaticMaximum;
  FAutomaticMinimum = a->FAutomaticMinimum;
  FMaximum = a->FMaximum;
  FMinimum = a->FMinimum;
  FMaximumOffset = a->FMaximumOffset;
  FMinimumOffset = a->FMinimumOffset;
  FIncrement = a->FIncrement;
  FScale.Inverted = a->FScale.Inverted;
  FLogarithmic = a->FLogarithmic;
  FScale.Logarithmic = a->FLogarithmic;
  FLogarithmicBase = a->FLogarithmicBase;
  FHorizontal = a->FHorizontal;
  FScale.Horizontal = a->FHorizontal;
  FOtherSide = a->FOtherSide;
  FStartPosition = a->FStartPosition;
  FEndPosition = a->FEndPosition;
  FPositionPercent = a->FPositionPercent;
  FPositionUnits = a->FPositionUnits;
  FVisible = a->FVisible;
  FAxisValuesFormat = a->FAxisValuesFormat;
  FDateTimeFormat = a->FDateTimeFormat;
  FExactDateTime = a->FExactDateTime;
  FLabelsAlign = a->FLabelsAlign;
  FLabelsAngle = a->FLabelsAngle;
  FLabelsExponent = a->FLabelsExponent;
  FLabelsMultiLine = a->FLabelsMultiLine;
  FLabelsFont->Assign(*a->FLabelsFont);
  FLabelsOnAxis = a->FLabelsOnAxis;
  FLabelsSeparation = a->FLabelsSeparation;
  FLabelsSize = a->FLabelsSize;
  FLabelStyle = a->FLabelStyle;
  FRoundFirstLabel = a->FRoundFirstLabel;
  FItems->Assign(*a->FItems);
  FAxisPen->Assign(*a->FAxisPen);
  FGrid->Assign(*a->FGrid);
  FMinorGrid->Assign(*a->FMinorGrid);
  FMinorTickCount = a->FMinorTickCount;
  FMinorTickLength = a->FMinorTickLength;
  FMinorTicks->Assign(*a->FMinorTicks);
  FTickInnerLength = a->FTickInnerLength;
  FTickLength = a->FTickLength;
  FTicks->Assign(*a->FTicks);
  FTicksInner->Assign(*a->FTicksInner);
  FTickOnLabelsOnly = a->FTickOnLabelsOnly;
  FTitle->Assign(*a->FTitle);
  FTitleSize = a->FTitleSize;
  FScale.IsDepthAxis = a->FScale.IsDepthAxis;
  Invalidate();
}

// --- depth axis ---------------------------------------------------------------

const TClassInfo& TChartDepthAxis::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TChartDepthAxis>("TChartDepthAxis", TChartAxis::StaticClassInfo()).Build();
  return info;
}

TChartDepthAxis::TChartDepthAxis(TCustomAxisPanel* chart) : TChartAxis(chart) { SetDepthAxis(true); }

TAxisLabelStyle TChartDepthAxis::CalcLabelStyle() const {
  if (ParentChart() == nullptr) return talText;
  return ParentChart()->SeriesFactsOfAxis(*this).ZValues ? talValue : talText;
}

// --- custom axes --------------------------------------------------------------

const TClassInfo& TChartCustomAxes::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TChartCustomAxes>("TChartCustomAxes", classlib::TCollection::StaticClassInfo()).Build();
  return info;
}

TChartCustomAxes::TChartCustomAxes(TCustomAxisPanel& chart)
    : classlib::TCollection(TChartAxis::StaticClassInfo(), &chart), FChart(chart) {}

TChartAxis* TChartCustomAxes::Items(int index) const {
  return static_cast<TChartAxis*>(classlib::TCollection::Items(index));
}

TChartAxis* TChartCustomAxes::Add() { return static_cast<TChartAxis*>(classlib::TCollection::Add()); }

// A custom axis joins the chart's axes list as it is made.
classlib::TCollectionItem* TChartCustomAxes::CreateItem() { return new TChartAxis(&FChart); }

int TChartCustomAxes::IndexOf(const TChartAxis* axis) const {
  for (int i = 0; i < Count(); ++i)
    if (Items(i) == axis) return i;
  return -1;
}

}  // namespace chart
