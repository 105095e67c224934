// The series' binary "Data" property: its points, colours, labels, extra
// values and moved mark positions, little-endian.
//
// Tested by: chart/tests/SeriesStreamTest.cpp
#include "chart/series/SeriesData.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "chart/AxisPanel.h"
#include "chart/ChartAxis.h"
#include "chart/core/KivProcsRoutines.h"
#include "chart/series/SeriesMarks.h"
#include "platform/classlib/ComponentStream.h"
#include "platform/classlib/Streams.h"

namespace chart {

namespace {

constexpr std::uint8_t dfX = 1, dfColors = 2, dfLabels = 4, dfMarks = 8;
constexpr int MarkPositionBytes = 34;

void WritePosition(classlib::TStream& s, const TSeriesMarkPosition& p) {
  s.WriteInt32(p.ArrowFrom.X);
  s.WriteInt32(p.ArrowFrom.Y);
  s.WriteUInt8(p.ArrowFix ? 1 : 0);
  s.WriteInt32(p.ArrowTo.X);
  s.WriteInt32(p.ArrowTo.Y);
  s.WriteUInt8(p.Custom ? 1 : 0);
  s.WriteInt32(p.Height);
  s.WriteInt32(p.LeftTop.X);
  s.WriteInt32(p.LeftTop.Y);
  s.WriteInt32(p.Width);
}

TSeriesMarkPosition ReadPosition(classlib::TStream& s) {
  TSeriesMarkPosition p;
  p.ArrowFrom.X = s.ReadInt32();
  p.ArrowFrom.Y = s.ReadInt32();
  p.ArrowFix = s.ReadUInt8() != 0;
  p.ArrowTo.X = s.ReadInt32();
  p.ArrowTo.Y = s.ReadInt32();
  p.Custom = s.ReadUInt8() != 0;
  p.Height = s.ReadInt32();
  p.LeftTop.X = s.ReadInt32();
  p.LeftTop.Y = s.ReadInt32();
  p.Width = s.ReadInt32();
  return p;
}

struct TReadPoint {
  double X = 0, Y = 0;
  TColor Color = clDefault;
  std::string Label;
  std::vector<double> Extra;
  std::unique_ptr<TSeriesMarkPosition> Position;
};

}  // namespace

// The flags look at every point: a label or colour far down the list must not
// be lost when the series is saved.
bool TChartSeries::HasCustomXValues() const {
  const int n = Count();
  if (!FStoreXValues || n == 0) return false;
  const TChartValueList& v = *FNotMandatory;
  for (int i = 0; i < n; ++i)
    if (v[i] != i) return true;
  return false;
}

bool TChartSeries::HasPointColors() const {
  if (!FColors) return false;
  return std::any_of(FColors->begin(), FColors->end(),
                     [this](TColor c) { return c != clDefault && c != FSeriesColor; });
}

bool TChartSeries::HasPointLabels() const {
  for (int i = 0; i < FLabels.Count(); ++i)
    if (!FLabels.GetLabel(i).empty()) return true;
  return false;
}

void TChartSeries::WriteData(classlib::TStream& stream) const {
  const int n = Count();
  std::uint8_t flags = 0;
  if (HasCustomXValues()) flags |= dfX;
  if (HasPointColors()) flags |= dfColors;
  if (HasPointLabels()) flags |= dfLabels;
  if (FMarks->Positions().HasCustom()) flags |= dfMarks;
  stream.WriteUInt8(flags);
  stream.WriteInt32(n);
  static const TSeriesMarkPosition emptyPosition;
  for (int i = 0; i < n; ++i) {
    if (flags & dfX) stream.WriteDouble((*FNotMandatory)[i]);
    stream.WriteDouble((*FMandatory)[i]);
    if (flags & dfColors) stream.WriteInt32(static_cast<std::int32_t>(StoredColor(i)));
    if (flags & dfLabels) {
      const std::string& label = FLabels.GetLabel(i);
      // A length byte holds at most 255: longer labels are cut, never wrapped.
      const std::uint8_t len = static_cast<std::uint8_t>(std::min<std::size_t>(label.size(), 255));
      stream.WriteUInt8(len);
      if (len > 0) stream.WriteBuffer(label.data(), len);
    }
    for (int j = 2; j < FValuesList.Count(); ++j) stream.WriteDouble((*FValuesList[j])[i]);
    if (flags & dfMarks) {
      const TSeriesMarkPosition* p = FMarks->Positions().Position(i);
      WritePosition(stream, p != nullptr ? *p : emptyPosition);
    }
  }
}

void TChartSeries::ReadData(classlib::TStream& stream) {
  const std::int64_t left = stream.Size() - stream.Position();
  if (left < 5) throw classlib::EReadError("Series data: the record is shorter than its header");
  const std::uint8_t flags = stream.ReadUInt8();
  const std::int32_t n = stream.ReadInt32();
  const int extras = std::max(0, FValuesList.Count() - 2);
  const std::int64_t minPoint = 8 + ((flags & dfX) ? 8 : 0) + ((flags & dfColors) ? 4 : 0) +
                                ((flags & dfLabels) ? 1 : 0) + 8LL * extras + ((flags & dfMarks) ? MarkPositionBytes : 0);
  if (flags > 15) throw classlib::EReadError("Series data: unknown flags " + IntToText(flags));
  if (n < 0) throw classlib::EReadError("Series data: negative point count " + IntToText(n));
  if (static_cast<std::int64_t>(n) * minPoint > left - 5)
    throw classlib::EReadError("Series data: " + IntToText(n) + " points do not fit in the " +
                               IntToText(left - 5) + " bytes left");
  std::vector<TReadPoint> points(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    TReadPoint& p = points[static_cast<std::size_t>(i)];
    const double notMandatory = (flags & dfX) ? stream.ReadDouble() : static_cast<double>(i);
    const double mandatory = stream.ReadDouble();
    p.X = notMandatory;
    p.Y = mandatory;
    if (FMandatory != FY) std::swap(p.X, p.Y);
    if (flags & dfColors) p.Color = static_cast<TColor>(stream.ReadInt32());
    if (flags & dfLabels) {
      const std::uint8_t len = stream.ReadUInt8();
      p.Label.resize(len);
      if (len > 0) stream.ReadBuffer(p.Label.data(), len);
    }
    p.Extra.resize(static_cast<std::size_t>(extras));
    for (double& e : p.Extra) e = stream.ReadDouble();
    if (flags & dfMarks) p.Position = std::make_unique<TSeriesMarkPosition>(ReadPosition(stream));
  }
  // Every byte is in: only now does the series lose its old points. Mark
  // items read before the points belong to them as they stand, and must not
  // be shifted by the adds.
  auto items = std::move(FMarks->Items().Entries());
  const bool loadedItems = FMarks->Items().LoadedFromStream;
  Clear();
  for (TReadPoint& p : points) {
    for (int j = 2; j < FValuesList.Count(); ++j) FValuesList[j]->TempValue = p.Extra[static_cast<std::size_t>(j - 2)];
    const int index = AddXY(p.X, p.Y, p.Label, p.Color);
    if (index >= 0 && p.Position) {
      TSeriesMarkPosition& stored = FMarks->Positions().Ensure(index);
      stored.Assign(*p.Position);
      stored.ArrowFix = p.Position->ArrowFix;
      stored.Custom = p.Position->Custom;
    }
  }
  FMarks->Items().Entries() = std::move(items);
  FMarks->Items().LoadedFromStream = loadedItems;
  FManualData = true;
}

// --- the series in the component stream -----------------------------------

void TChartSeries::DefineProperties(classlib::TFiler& filer) {
  TCustomChartSeries::DefineProperties(filer);
  filer.DefineProperty(
      "DataSources",
      [this](classlib::TReader& r) {
        FPendingSources.clear();
        r.ReadListBegin();
        while (!r.EndOfList()) FPendingSources.push_back(r.ReadString());
        r.ReadListEnd();
      },
      [this](classlib::TWriter& w) {
        w.WriteListBegin();
        for (const classlib::TComponent* c : FDataSources) w.WriteString(c->Name());
        w.WriteListEnd();
      },
      FDataSources.size() > 1);
  // A custom axis by its place in the chart's custom axes; a place the chart
  // does not have leaves the series on its standard axis.
  auto customAxis = [this](classlib::TReader& r) -> TChartAxis* {
    const std::int32_t index = r.ReadInteger();
    if (FParentChart == nullptr || index < 0 || index >= FParentChart->CustomAxes().Count()) return nullptr;
    return FParentChart->CustomAxes().Items(index);
  };
  auto axisIndex = [this](const TChartAxis* axis) {
    return FParentChart != nullptr ? FParentChart->CustomAxes().IndexOf(axis) : -1;
  };
  filer.DefineProperty(
      "CustomHorizAxis", [this, customAxis](classlib::TReader& r) { SetCustomHorizAxis(customAxis(r)); },
      [this, axisIndex](classlib::TWriter& w) { w.WriteInteger(axisIndex(FCustomHorizAxis)); },
      FCustomHorizAxis != nullptr && axisIndex(FCustomHorizAxis) >= 0);
  filer.DefineProperty(
      "CustomVertAxis", [this, customAxis](classlib::TReader& r) { SetCustomVertAxis(customAxis(r)); },
      [this, axisIndex](classlib::TWriter& w) { w.WriteInteger(axisIndex(FCustomVertAxis)); },
      FCustomVertAxis != nullptr && axisIndex(FCustomVertAxis) >= 0);
  filer.DefineBinaryProperty(
      "Data", [this](classlib::TStream& s) { ReadData(s); }, [this](classlib::TStream& s) { WriteData(s); },
      ShouldStoreData());
}

void TChartSeries::GetChildren(const std::function<void(classlib::TComponent&)>& proc) const {
  if (FFunction != nullptr) proc(FFunction->Component());
}

}  // namespace chart
