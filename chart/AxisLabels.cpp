// Axis label texts, the values that get labels, the space an axis takes,
// and its drawing: title, labels, axis line, ticks, grid and minor marks.
//
// Tested by: chart/tests/ChartAxisTest.cpp, chart/tests/AxisDrawTest.cpp
#include "chart/ChartAxis.h"

#include <algorithm>
#include <cmath>

#include "chart/AxisPanel.h"
#include "chart/core/KivProcsDateTime.h"
#include "chart/core/KivProcsRoutines.h"
#include "platform/classlib/SysUtils.h"

namespace chart {

// --- texts ------------------------------------------------------------------

std::string TChartAxis::LabelValue(double value) const {
  std::string text;
  if (FIsDateTime) {
    if (value < 0) return "";
    const std::string format =
        !FDateTimeFormat.empty() ? FDateTimeFormat : DateTimeDefaultFormat(std::fabs(FScale.IRange));
    text = classlib::FormatDateTime(format, value);
  } else {
    text = classlib::FormatFloat(FAxisValuesFormat, value);
  }
  if (FChart != nullptr && FChart->OnGetAxisLabel && !FMeasuring)
    FChart->OnGetAxisLabel(const_cast<TChartAxis&>(*this), nullptr, -1, text);
  if (FLabelsMultiLine) std::replace(text.begin(), text.end(), ' ', '\r');
  return text;
}

int TChartAxis::LabelLineCount(const std::string& text) { return static_cast<int>(LabelLines(text).size()); }

std::vector<std::string> TChartAxis::LabelLines(const std::string& text) { return SplitTokens(text); }

std::int32_t TChartAxis::LabelWidth(const std::string& text) {
  if (FChart == nullptr) return 0;
  std::int32_t w = 0;
  for (const std::string& l : LabelLines(text)) w = std::max(w, FChart->Canvas().TextWidth(l));
  return w;
}

std::int32_t TChartAxis::LabelHeight(const std::string& text) {
  if (FChart == nullptr) return 0;
  return FChart->Canvas().FontHeight() * LabelLineCount(text);
}

std::int32_t TChartAxis::MaxLabelsWidth() {
  if (FChart == nullptr) return 0;
  TCanvas3D& c = FChart->Canvas();
  if (FItems->Count() > 0) {
    std::int32_t w = 0;
    for (int i = 0; i < FItems->Count(); ++i) {
      TAxisItem* item = (*FItems)[i];
      c.AssignFont(*item->Font());
      w = std::max(w, LabelWidth(item->Text().empty() ? LabelValue(item->Value()) : item->Text()));
    }
    return w;
  }
  const TAxisLabelStyle style = FLabelStyle == talAuto ? CalcLabelStyle() : FLabelStyle;
  c.AssignFont(*FLabelsFont);
  switch (style) {
    case talValue: {
      const double inc = FLabelIncrement > 0 ? FLabelIncrement : CalcIncrement();
      double lo = FScale.IMinimum, hi = FScale.IMaximum;
      if ((FIsDateTime && FExactDateTime) || FRoundFirstLabel) {
        if (inc > 0) {
          lo = std::floor(lo / inc) * inc;
          hi = std::floor(hi / inc) * inc;
        }
      }
      FMeasuring = true;
      const std::int32_t w = std::max(LabelWidth(LabelValue(lo)), LabelWidth(LabelValue(hi)));
      FMeasuring = false;
      c.AssignFont(*FLabelsFont);
      return w + c.TextWidth(" ");
    }
    case talMark: return FChart->MaxMarkWidth();
    case talText: return FChart->MaxLabelTextWidth();
    default: return 0;
  }
}

// --- space ------------------------------------------------------------------

std::int32_t TChartAxis::SizeTickAxis() const {
  std::int32_t s = 0;
  if (FAxisPen->Visible()) s = FAxisPen->Width() + 1;
  if (FTicks->Visible()) s += FTickLength;
  if (FMinorTicks->Visible()) s = std::max(s, FMinorTickLength);
  return s;
}

std::int32_t TChartAxis::SizeTitle() {
  if (FTitleSize != 0) return FTitleSize;
  if (FChart == nullptr) return 0;
  TCanvas3D& c = FChart->Canvas();
  c.AssignFont(*FTitle->Font());
  const std::int32_t a = FTitle->Angle();
  const bool along = FHorizontal ? (a == 0 || a == 180) : (a == 90 || a == 270);
  return along ? c.FontHeight() : c.TextWidth(FTitle->Caption());
}

std::int32_t TChartAxis::SizeLabels() {
  if (FLabelsSize != 0) return FLabelsSize;
  if (FChart == nullptr) return 0;
  TCanvas3D& c = FChart->Canvas();
  c.AssignFont(*FLabelsFont);
  const bool along = FHorizontal ? (FLabelsAngle == 0 || FLabelsAngle == 180) : (FLabelsAngle == 90 || FLabelsAngle == 270);
  if (along) {
    int lines = 1;
    if (FLabelsMultiLine) lines = std::max(LabelLineCount(LabelValue(FScale.IMinimum)), LabelLineCount(LabelValue(FScale.IMaximum)));
    return c.FontHeight() * std::max(1, lines);
  }
  return MaxLabelsWidth();
}

std::int32_t TChartAxis::InwardMove(std::int32_t size) const {
  if (FChart == nullptr || FPositionPercent == 0) return 0;
  const TRect& r = FChart->ChartRect();
  std::int32_t m = FPositionUnits == muPercent ? Round((FHorizontal ? r.Height() : r.Width()) * FPositionPercent * 0.01)
                                               : Round(FPositionPercent);
  (void)size;
  if (FHorizontal) m = -m;
  if (FOtherSide) m = -m;
  return m;
}

void TChartAxis::CalcRect(TRect& rect, bool inside) {
  if (FChart == nullptr) return;
  const bool titleShown = FTitle->Visible() && !FTitle->Caption().empty();
  auto sideEdge = [&](TRect& r) -> std::int32_t& {
    if (FHorizontal) return FOtherSide ? r.Top : r.Bottom;
    return FOtherSide ? r.Right : r.Left;
  };
  // Towards the outside: a bottom or right edge grows, a top or left one shrinks.
  const int outward = (FHorizontal ? !FOtherSide : FOtherSide) ? 1 : -1;
  if (inside) {
    std::int32_t& edge = sideEdge(rect);
    if (IsDepthAxis()) {
      FPosTitle = rect.Right;
    } else if (titleShown) {
      edge -= outward * SizeTitle();
      FPosTitle = edge;
    }
    if (Labels()) {
      if (!IsDepthAxis()) {
        CalcIncrement();
        edge -= outward * SizeLabels();
      }
      FPosLabels = edge;
    }
    const std::int32_t tick = SizeTickAxis() + FChart->WallSizeBeside(*this);
    if (tick > 0 && !IsDepthAxis()) edge -= outward * tick;
    const std::int32_t move = InwardMove(0);
    FPosTitle += move;
    FPosLabels += move;
  } else {
    TRect r = rect;
    FPosAxis = sideEdge(r) + InwardMove(0);
    FPosLabels = FPosAxis + outward * SizeTickAxis();
    FPosTitle = FPosLabels + outward * SizeLabels();
  }
}

// --- drawing ------------------------------------------------------------------

void TChartAxis::Draw(bool calcPosition) {
  if (FChart == nullptr) return;
  TCanvas3D& c = FChart->Canvas();
  FTicks_.clear();
  RefreshDateTimeFlag();
  const TRect& r = FChart->ChartRect();
  if (calcPosition) {
    if (FHorizontal)
      FPosAxis = FOtherSide ? r.Top : r.Bottom;
    else
      FPosAxis = FOtherSide ? r.Right : r.Left;
    FPosAxis += InwardMove(0);
  }
  if (FTitle->Visible() && !FTitle->Caption().empty()) {
    c.AssignFont(*FTitle->Font());
    c.SetBackMode(TRANSPARENT);
    if (IsDepthAxis()) {
      c.SetTextAlign(0);
      c.TextOut3D(FPosTitle, r.Bottom, FChart->Width3D() / 2, FTitle->Caption());
    } else {
      const bool exponent = FLabelsExponent;
      FLabelsExponent = false;
      if (FHorizontal)
        DrawAxisLabel(FScale.ICenterPos, FPosTitle, FTitle->Angle(), FTitle->Caption(), FTitle.get());
      else
        DrawAxisLabel(FPosTitle, FScale.ICenterPos, FTitle->Angle(), FTitle->Caption(), FTitle.get());
      FLabelsExponent = exponent;
    }
  }
  if (FItems->Count() == 0) {
    c.AssignFont(*FLabelsFont);
    const double inc = CalcIncrement();
    int stepIndex = dtNone;
    if (FIsDateTime && FExactDateTime && FIncrement != 0) {
      stepIndex = FindDateTimeStep(FIncrement);
      if (stepIndex != dtNone)
        while (stepIndex < dtOneYear && DateTimeStep[stepIndex] < inc) ++stepIndex;
    }
    const bool calendarStep = stepIndex >= dtOneWeek && stepIndex <= dtOneYear;
    if ((inc > 0 || calendarStep) && FScale.IMinimum <= FScale.IMaximum) {
      const TAxisLabelStyle style = FLabelStyle == talAuto ? CalcLabelStyle() : FLabelStyle;
      if (IsDepthAxis() && style == talText)
        DrawDepthTextLabels();
      else if (style == talValue)
        FLogarithmic ? DrawLogLabels() : DrawValueLabels(inc, stepIndex);
      else if (style == talMark || style == talText)
        DrawSeriesLabels(style);
    }
  } else {
    DrawItemLabels();
  }
  DrawTicksAndGrid();
}

void TChartAxis::DrawOneLabel(double value) {
  const std::int32_t p = CalcPosValue(value);
  if (!FLabelsOnAxis && (p <= std::min(FScale.IStartPos, FScale.IEndPos) || p >= std::max(FScale.IStartPos, FScale.IEndPos)))
    return;
  if (!FTickOnLabelsOnly) RecordTick(p);
  if (Labels()) {
    TCanvas3D& c = FChart->Canvas();
    c.AssignFont(*FLabelsFont);
    c.Brush().SetStyle(bsSolid);
    c.Brush().SetStyle(bsClear);
    const std::string text = LabelValue(value);
    if (IsDepthAxis()) {
      c.SetTextAlign(0);
      std::int32_t y = FChart->ChartRect().Bottom;
      const TView3DOptions* o = FChart->View3DOptions();
      if (o->Rotation() == 360 || o->Orthogonal()) y += c.FontHeight() / 2;
      c.TextOut3D(FPosLabels, y, p, text);
    } else if (FHorizontal) {
      DrawAxisLabel(p, FPosLabels, FLabelsAngle, text);
    } else {
      DrawAxisLabel(FPosLabels, p, FLabelsAngle, text);
    }
    if (FTickOnLabelsOnly) RecordTick(p);
  }
}

void TChartAxis::DrawValueLabels(double inc, int stepIndex) {
  const double range = FScale.IRange;
  if (!(inc > 0) || std::fabs(range / inc) >= 10000) return;
  const double lo = FScale.IMinimum, hi = FScale.IMaximum;
  const bool calendar = FIsDateTime && FExactDateTime && stepIndex != dtNone && stepIndex >= dtOneDay;
  auto step = [&](double& v, bool up) {
    if (calendar)
      IncDecDateTime(up, v, stepIndex, DateTimeStep[stepIndex]);
    else
      v = up ? v + inc : v - inc;
  };
  double v;
  if (calendar) {
    v = TruncDateTime(stepIndex, hi);
  } else if (FRoundFirstLabel && LabelValue(lo) != LabelValue(hi)) {
    const double q = std::trunc(hi / inc);
    v = std::isfinite(q) ? q * inc : hi;
  } else {
    v = hi;
  }
  for (int guard = 0; v > hi && guard < 10000; ++guard) step(v, false);
  double prev = v;
  step(prev, false);
  // The bottom end keeps its label whatever its sign: -100..0 shows -100 as 0..100 shows 0.
  const double bound = lo - MinAxisIncrement * std::max({1.0, std::fabs(lo), std::fabs(inc)});
  if (range != 0 && range >= MinAxisRange && LabelValue(v) != LabelValue(prev)) {
    for (int guard = 0; v >= bound && guard < 10001; ++guard) {
      DrawOneLabel(v);
      step(v, false);
    }
  } else {
    DrawOneLabel(v);
  }
}

void TChartAxis::DrawLogLabels() {
  double lo = FScale.IMinimum;
  const double hi = FScale.IMaximum;
  if (lo == hi) return;
  if (lo <= 0) lo = lo == 0 ? 0.1 : 1e-10;
  const double base = FLogarithmicBase;
  double v = std::pow(base, std::floor(std::log(lo) / std::log(base)));
  const bool minor = FMinorGrid->Visible();
  if (minor) RecordTick(CalcPosValue(v / base));
  double last = v;
  for (int guard = 0; v <= hi * (1 + 1e-12) && guard < 400; ++guard) {
    if (v >= lo * (1 - 1e-12)) DrawOneLabel(v);
    last = v;
    v *= base;
  }
  if (minor) RecordTick(CalcPosValue(last * base));
}

void TChartAxis::DrawSeriesLabels(TAxisLabelStyle style) {
  TCanvas3D& c = FChart->Canvas();
  c.AssignFont(*FLabelsFont);
  const bool along = FHorizontal ? (FLabelsAngle != 90 && FLabelsAngle != 270) : (FLabelsAngle == 90 || FLabelsAngle == 270);
  bool haveLast = false;
  std::int32_t lastPos = 0, lastHalf = 0;
  FChart->SeriesLabelsOfAxis(*this, style == talMark, [&](double value, const std::string& text) {
    if (value < FScale.IMinimum || value > FScale.IMaximum) return;
    const std::int32_t p = CalcPosValue(value);
    if (!FTickOnLabelsOnly) RecordTick(p);
    if (!Labels() || text.empty()) return;
    std::int32_t extent = along ? LabelWidth(text) : LabelHeight(text);
    if (FLabelsSeparation != 0) extent += Trunc(extent * 0.02 * FLabelsSeparation);
    const std::int32_t half = extent / 2;
    bool draw = !haveLast || FLabelsSeparation == 0;
    if (!draw) draw = p < lastPos ? p + half <= lastPos - lastHalf : p - half >= lastPos + lastHalf;
    if (!draw) return;
    if (FTickOnLabelsOnly) RecordTick(p);
    if (FHorizontal)
      DrawAxisLabel(p, FPosLabels, FLabelsAngle, text);
    else
      DrawAxisLabel(FPosLabels, p, FLabelsAngle, text);
    haveLast = true;
    lastPos = p;
    lastHalf = half;
  });
}

void TChartAxis::DrawDepthTextLabels() {
  if (FChart->SeriesCount() == 0) return;
  TCanvas3D& c = FChart->Canvas();
  for (int z = Round(FScale.IMinimum); z <= Round(FScale.IMaximum); ++z) {
    const std::int32_t p = CalcPosValue(FScale.IMaximum - z - 0.5);
    std::string text = FChart->SeriesTitleAtDepth(z);
    if (FChart->OnGetAxisLabel) FChart->OnGetAxisLabel(*this, nullptr, z, text);
    RecordTick(p);
    if (Labels() && !text.empty()) {
      c.AssignFont(*FLabelsFont);
      c.SetTextAlign(0);
      c.TextOut3D(FPosLabels, FChart->ChartRect().Bottom, p, text);
    }
  }
}

void TChartAxis::DrawItemLabels() {
  for (int i = 0; i < FItems->Count(); ++i) {
    TAxisItem* item = (*FItems)[i];
    if (item->Value() < FMinimum || item->Value() > FMaximum) continue;
    const std::int32_t p = CalcPosValue(item->Value());
    if (!FTickOnLabelsOnly) RecordTick(p);
    if (!item->Visible()) continue;
    FChart->Canvas().AssignFont(*item->Font());
    const std::string text = item->Text().empty() ? LabelValue(item->Value()) : item->Text();
    if (FHorizontal)
      DrawAxisLabel(p, FPosLabels, FLabelsAngle, text, item);
    else
      DrawAxisLabel(FPosLabels, p, FLabelsAngle, text, item);
    if (FTickOnLabelsOnly) RecordTick(p);
  }
}

void TChartAxis::DrawLabelLine(std::int32_t x, std::int32_t y, const std::string& line) {
  TCanvas3D& c = FChart->Canvas();
  if (!FLabelsExponent) {
    c.TextOut3D(x, y, FZPos, line);
    return;
  }
  std::size_t e = std::string::npos;
  for (std::size_t i = 0; i < line.size(); ++i)
    if (line[i] == 'E' || line[i] == 'e') {
      e = i;
      break;
    }
  if (e == std::string::npos) {
    c.TextOut3D(x, y, FZPos, line);
    return;
  }
  const std::string mantissa = line.substr(0, e), exponent = line.substr(e + 1);
  const std::int32_t f = c.FontHeight() - 1;
  const std::int32_t s = c.Font().Size();
  const std::int32_t small = s - s / 4;
  const std::int32_t raised = y - f / 2 + 2;
  if (c.GetTextAlign() == 0) {
    c.TextOut3D(x, y, FZPos, mantissa);
    const std::int32_t w = c.TextWidth(mantissa) + 1;
    c.Font().SetSize(small);
    c.TextOut3D(x + w, raised, FZPos, exponent);
  } else {
    c.Font().SetSize(small);
    c.TextOut3D(x, raised, FZPos, exponent);
    const std::int32_t w = c.TextWidth(exponent) + 1;
    c.Font().SetSize(s);
    c.TextOut3D(x - w, y, FZPos, mantissa);
  }
  c.Font().SetSize(s);
}

void TChartAxis::DrawAxisLabel(std::int32_t x, std::int32_t y, std::int32_t angle, const std::string& text,
                               TKivCustomShape* item) {
  TCanvas3D& c = FChart->Canvas();
  static const unsigned align[2][2] = {{TA_RIGHT, TA_LEFT}, {TA_CENTER, TA_CENTER | TA_BOTTOM}};
  const std::int32_t h = c.FontHeight() / 2;
  const int hz = FHorizontal ? 1 : 0, side = FOtherSide ? 1 : 0;
  unsigned flags = TA_LEFT;
  angle %= 360;
  if (angle < 0) angle += 360;
  switch (angle) {
    case 0:
      if (!FHorizontal && FLabelsAlign == alOpposite) {
        const std::int32_t size = SizeLabels();
        if (FOtherSide) {
          flags = TA_RIGHT;
          x += size;
        } else {
          flags = TA_LEFT;
          x -= size;
        }
      } else {
        flags = align[hz][side];
      }
      if (!FHorizontal) y -= h;
      break;
    case 180:
      flags = align[hz][1 - side];
      if (!FHorizontal) y += h;
      break;
    case 90:
      if (!FHorizontal) {
        flags = align[1][1 - side];
      } else {
        flags = align[0][side];
        x -= h;
      }
      break;
    case 270:
      if (!FHorizontal) {
        flags = align[1][side];
      } else {
        flags = align[0][1 - side];
        x += h;
      }
      break;
    case 45:
      flags = TA_LEFT;
      if (FHorizontal && !FOtherSide) {
        const std::int32_t d = Round(c.TextWidth(text) * std::sin(M_PI / 4));
        x -= d;
        y += d;
      } else if (FHorizontal) {
        const std::int32_t d = c.TextWidth("Wj");
        x -= d;
        y -= d;
      }
      break;
    default: flags = TA_LEFT; break;
  }
  const std::vector<std::string> lines = LabelLines(text);
  const std::int32_t n = static_cast<std::int32_t>(lines.size());
  if (n == 0) return;
  std::int32_t H = c.FontHeight();
  if (angle == 180 || angle == 270) H = -H;
  if (FHorizontal) {
    if (angle == 0) y -= FOtherSide ? H * n : H;
    else if (angle == 180) y -= FOtherSide ? H : H * n;
    else if (angle == 90 || angle == 270) x -= Round(H * 0.5 * (n + 1));
  } else {
    if (angle == 0 || angle == 180) y -= Round(H * 0.5 * (n + 1));
    else if (angle == 90) x -= FOtherSide ? H : H * n;
    else if (angle == 270) x -= FOtherSide ? H * n : H;
  }
  TKivCustomShape* shape = item != nullptr ? item : FItems->Format();
  if (!shape->Transparent()) {
    std::int32_t w = 0;
    for (const std::string& l : lines) w = std::max(w, c.TextWidth(l));
    TRect r{x, y + H, x + w, y + H + c.FontHeight() * n};
    if (flags & TA_BOTTOM) r = {r.Left, r.Top - r.Height(), r.Right, r.Top};
    if ((flags & TA_CENTER) == TA_CENTER) r = {x - w / 2, r.Top, x - w / 2 + w, r.Bottom};
    else if (flags & TA_RIGHT) r = {x - w, r.Top, x, r.Bottom};
    const std::int32_t ww = c.TextWidth("W") / 2;
    r = {r.Left - ww, r.Top, r.Right + ww, r.Bottom};
    if (FZPos != 0) r = c.RectFromRectZ(r, FZPos);
    shape->DrawRectRotated(c, r, FLabelsAngle, FZPos);
    shape->SetShapeBounds(r);
    c.Brush().SetStyle(bsSolid);
    c.Brush().SetStyle(bsClear);
  }
  c.SetTextAlign(flags);
  for (const std::string& line : lines) {
    if (angle == 0 || angle == 180) y += H;
    else if (angle == 90 || angle == 270) x += H;
    if (angle == 0)
      DrawLabelLine(x, y, line);
    else
      c.RotateLabel3D(x, y, FZPos, line, angle);
  }
  c.SetTextAlign(0);
}

// --- ticks and grid -----------------------------------------------------------

void TChartAxis::DrawAxisLine(std::int32_t w) {
  TCanvas3D& c = FChart->Canvas();
  const TRect& r = FChart->ChartRect();
  const std::int32_t a = FPosAxis, z = FZPos;
  if (IsDepthAxis()) {
    c.ZLine3D(a, r.Bottom + FChart->WallSizeBeside(*FChart->BottomAxis()) - z, FScale.IStartPos, FScale.IEndPos);
  } else if (FHorizontal) {
    if (FOtherSide)
      c.HorizLine3D(FScale.IStartPos, FScale.IEndPos, a, z);
    else
      c.HorizLine3D(FScale.IStartPos - FChart->WallSizeBeside(*FChart->LeftAxis()),
                    FScale.IEndPos + FChart->WallSizeBeside(*FChart->RightAxis()), a + w, z);
  } else {
    c.VertLine3D(FOtherSide ? a + w : a - w, FScale.IStartPos,
                 FScale.IEndPos + FChart->WallSizeBeside(*FChart->BottomAxis()), z);
  }
}

void TChartAxis::DrawTick(std::int32_t p, std::int32_t o, std::int32_t n, std::int32_t w) {
  TCanvas3D& c = FChart->Canvas();
  const std::int32_t a = FPosAxis, z = FZPos;
  const bool v3d = FChart->View3D();
  if (IsDepthAxis()) {
    c.HorizLine3D(a + o, a + o + n, FChart->ChartRect().Bottom, p);
  } else if (FHorizontal) {
    if (FOtherSide) {
      c.VertLine3D(p, a - o, a - o - n, z);
    } else if (v3d) {
      c.VertLine3D(p, a + o + w, a + o + w + n, z);
    } else {
      c.DoVertLine(p, a + o + w, a + o + w + n);
    }
  } else {
    if (FOtherSide) {
      c.HorizLine3D(a + o + w, a + o + w + n, p, z);
    } else if (v3d) {
      c.HorizLine3D(a - o - w, a - o - w - n, p, z);
    } else {
      c.DoHorizLine(a - o - w, a - o - w - n, p);
    }
  }
}

void TChartAxis::DrawGridLine(std::int32_t p) {
  if (!(p > std::min(FScale.IStartPos, FScale.IEndPos) && p < std::max(FScale.IStartPos, FScale.IEndPos))) return;
  TCanvas3D& c = FChart->Canvas();
  const TRect& r = FChart->ChartRect();
  const std::int32_t w3 = FChart->Width3D();
  if (IsDepthAxis()) {
    c.VertLine3D(r.Left, r.Top, r.Bottom, p);
    c.HorizLine3D(r.Left, r.Right, r.Bottom, p);
    return;
  }
  if (!FChart->View3D()) {
    if (FHorizontal)
      c.DoVertLine(p, r.Top + 1, r.Bottom);
    else
      c.DoHorizLine(r.Left + 1, r.Right, p);
    return;
  }
  if (!FChart->AxisBehind()) {
    if (FHorizontal)
      c.VertLine3D(p, r.Top, r.Bottom, 0);
    else
      c.HorizLine3D(r.Left, r.Right, p, 0);
    return;
  }
  if (!RedrawnOverWall) {
    if (FHorizontal)
      c.VertLine3D(p, r.Top, r.Bottom, w3);
    else
      c.HorizLine3D(r.Left, r.Right, p, w3);
  }
  const std::int32_t g = Round(w3 * FGrid->ZPosition() * 0.01);
  if (g != w3) {
    if (FHorizontal)
      c.ZLine3D(p, FPosAxis, g, w3);
    else
      c.ZLine3D(FPosAxis, p, g, w3);
  }
}

void TChartAxis::DrawMinorMarks(bool grid, std::int32_t w) {
  const std::vector<std::int32_t>& t = FTicks_;
  if (t.empty()) return;
  const std::int32_t lo = std::min(FScale.IStartPos, FScale.IEndPos), hi = std::max(FScale.IStartPos, FScale.IEndPos);
  auto mark = [&](std::int32_t p) {
    if (p <= lo || p >= hi) return;
    if (grid)
      DrawGridLine(p);
    else
      DrawTick(p, 1, FMinorTickLength, w);
  };
  const std::int32_t parts = FMinorTickCount + 1;
  if (parts < 2) return;
  if (FLogarithmic) {
    for (std::int32_t tick : t) {
      const double v = CalcPosPoint(tick);
      const double step = (v * FLogarithmicBase - v) / parts;
      for (int k = 1; k < parts; ++k) {
        const double mv = v + k * step;
        if (mv > FScale.IMaximum) break;
        mark(CalcPosValue(mv));
      }
    }
    return;
  }
  for (std::size_t i = 1; i < t.size(); ++i) {
    const double interval = static_cast<double>(t[i - 1]) - t[i];
    for (int k = 1; k < parts; ++k) mark(t[i - 1] - Round(k * interval / parts));
  }
  if (t.size() >= 2) {
    // The first interval's spacing also runs on beyond the outer ticks.
    const double interval = static_cast<double>(t[0]) - t[1];
    for (int k = 1; k < parts; ++k) {
      mark(t[0] + Round(k * interval / parts));
      mark(t.back() - Round(k * interval / parts));
    }
  }
}

void TChartAxis::DrawTicksAndGrid() {
  TCanvas3D& c = FChart->Canvas();
  const std::int32_t w = FChart->WallSizeBeside(*this);
  auto prepare = [&] {
    c.Brush().SetStyle(bsClear);
    c.SetBackMode(TRANSPARENT);
  };
  prepare();
  if (FAxisPen->Visible()) {
    c.AssignVisiblePen(*FAxisPen);
    DrawAxisLine(w);
  }
  if (FTicks->Visible()) {
    c.AssignVisiblePen(*FTicks);
    for (std::int32_t p : FTicks_) DrawTick(p, 1, FTickLength, w);
  }
  if (BeforeDrawGrid) BeforeDrawGrid(*this);
  if (FGrid->Visible()) {
    TChartPen pen;
    pen.Assign(*FGrid);
    if (pen.Color() == clDefault) pen.SetColor(clGray);
    FChart->HairlinePrintPen(pen);
    c.AssignVisiblePen(pen);
    if (FGrid->Centered()) {
      for (std::size_t i = 1; i < FTicks_.size(); ++i) DrawGridLine(Round((FTicks_[i] + FTicks_[i - 1]) * 0.5));
    } else {
      for (std::int32_t p : FTicks_) DrawGridLine(p);
    }
  }
  if (FTicksInner->Visible()) {
    c.AssignVisiblePen(*FTicksInner);
    for (std::int32_t p : FTicks_) DrawTick(p, -1, -FTickInnerLength, w);
  }
  if (FMinorTicks->Visible() && !FTicks_.empty()) {
    prepare();
    c.AssignVisiblePen(*FMinorTicks);
    DrawMinorMarks(false, w);
  }
  if (FMinorGrid->Visible() && !FTicks_.empty()) {
    prepare();
    c.AssignVisiblePen(*FMinorGrid);
    DrawMinorMarks(true, w);
  }
  c.SetBackMode(OPAQUE);
}

}  // namespace chart
