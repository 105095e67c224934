// The spectrum mark cursor: peaks, harmonic series, side bands, mode pairs
// and free marks placed with the mouse on a spectrum chart.
//
// Tested by: analysis_ui/tests/SpectrumMarkToolTest.cpp, analysis_ui/tests/MarkToolWindowTest.cpp
#include <cmath>
#include <string>

#include "analysis_ui/MarkToolSupport.h"
#include "analysis_ui/MarkTools.h"
#include "analysis_ui/SignalToolsKiv.h"
#include "chart/ChartAxis.h"
#include "chart/series/SeriesData.h"
#include "dsp/SignalUtils.h"
#include "platform/classlib/SysUtils.h"
#include "signal/SpectrumAnalyzer.h"
#include "signal/SpectrumPeaks.h"

namespace analysis_ui {

using classlib::TClassBuilder;
using classlib::TClassInfo;

namespace {

// Lines to mark on: an empty spectrum, or one without a line spacing or a
// start, takes no marks.
bool HasData(const sig::TSpectrum& s) {
  return s.Amplt().Length() > 0 && s.HzRes() > 0 && std::isfinite(s.HzRes()) && std::isfinite(s.StartFrequency());
}

bool InRange(const sig::TSpectrum& s, double f) { return f >= s.StartFrequency() && f <= s.StopFrequency(); }

// Calls place(k G) for k = 1 .. the spectrum's Harmonics, up to the first
// multiple beyond the spectrum on the side G leads to: no later one can lie
// within it, and a large Harmonics then costs nothing.
template <class F>
void ForEachHarmonic(const sig::TSpectrum& s, double g, F&& place) {
  for (std::int32_t k = 1; k <= s.Harmonics(); ++k) {
    const double f = k * g;
    if ((g > 0 && f > s.StopFrequency()) || (g < 0 && f < s.StartFrequency()) || (g == 0 && k > 1) || std::isnan(f))
      break;
    place(f);
  }
}

}  // namespace

const TClassInfo& TSpectrumMarkTool::StaticClassInfo() {
  using C = TSpectrumMarkTool;
  static const TClassInfo info =
      TClassBuilder<C>("TSpectrumMarkTool", TCursorMarkTool::StaticClassInfo())
          .Property("Series", &C::Series, &C::SetSeries)
          .TypeName("TChartSeries")
          .Property("PeakFilterMode", &C::PeakFilterMode, &C::SetPeakFilterMode, false)
          .Property("MarkMode", &C::MarkMode, &C::SetMarkMode, mmSingle)
          .TypeName("TSpectrumMarkMode")
          .Names({"mmSingle", "mmHarmonic", "mmSideBand", "mmModes", "mmFreeStyle"})
          .Property("MarkType", &C::MarkType, &C::SetMarkType, mtAmplt)
          .TypeName("TSpectrumMarkType")
          .Names({"mtAmplt", "mtPhase", "mtAmpltPhase"})
          .Property("AmpltFormat", &C::AmpltFormat, &C::SetAmpltFormat, std::string("0.00#"))
          .Property("PhaseFormat", &C::PhaseFormat, &C::SetPhaseFormat, std::string("0.00#"))
          .Property("FreqFormat", &C::FreqFormat, &C::SetFreqFormat, std::string("0.00#"))
          .Property("LabelHeaders", &C::LabelHeaders, &C::SetLabelHeaders, true)
          .Property("PeakZoomBand", &C::PeakZoomBand, &C::SetPeakZoomBand, false)
          .Property("UpperLimitSeries", &C::UpperLimitSeries, &C::SetUpperLimitSeries)
          .TypeName("TChartSeries")
          .Property("LowerLimitSeries", &C::LowerLimitSeries, &C::SetLowerLimitSeries)
          .TypeName("TChartSeries")
          .Property("ConfMarksOnly", &C::ConfMarksOnly, &C::SetConfMarksOnly, false)
          .Creatable()
          .Build();
  return info;
}

TSpectrumMarkTool::TSpectrumMarkTool(classlib::TComponent* AOwner) : TCursorMarkTool(AOwner) {}

TSpectrumMarkTool::~TSpectrumMarkTool() {
  if (FUpperLimitSeries != nullptr) FUpperLimitSeries->RemoveFreeNotification(*this);
  if (FLowerLimitSeries != nullptr) FLowerLimitSeries->RemoveFreeNotification(*this);
}

// --- properties ---------------------------------------------------------------

void TSpectrumMarkTool::SetMarkMode(TSpectrumMarkMode Value) {
  if (Value > mmFreeStyle) Value = mmSingle;
  FMarkMode = Value;
}

void TSpectrumMarkTool::SetMarkType(TSpectrumMarkType Value) {
  if (Value > mtAmpltPhase) Value = mtAmplt;
  chart::StoreAndInvalidate(*this, FMarkType, Value);
}

void TSpectrumMarkTool::SetAmpltFormat(const std::string& Value) { chart::StoreAndInvalidate(*this, FAmpltFormat, Value); }
void TSpectrumMarkTool::SetPhaseFormat(const std::string& Value) { chart::StoreAndInvalidate(*this, FPhaseFormat, Value); }
void TSpectrumMarkTool::SetFreqFormat(const std::string& Value) { chart::StoreAndInvalidate(*this, FFreqFormat, Value); }
void TSpectrumMarkTool::SetLabelHeaders(bool Value) { chart::StoreAndInvalidate(*this, FLabelHeaders, Value); }

namespace {

void HoldSeries(classlib::TComponent& holder, chart::TChartSeries*& field, chart::TChartSeries* value) {
  if (field == value) return;
  if (field != nullptr) field->RemoveFreeNotification(holder);
  field = value;
  if (field != nullptr) field->FreeNotification(holder);
}

}  // namespace

void TSpectrumMarkTool::SetUpperLimitSeries(chart::TChartSeries* Value) { HoldSeries(*this, FUpperLimitSeries, Value); }
void TSpectrumMarkTool::SetLowerLimitSeries(chart::TChartSeries* Value) { HoldSeries(*this, FLowerLimitSeries, Value); }

void TSpectrumMarkTool::Notification(classlib::TComponent* AComponent, classlib::TOperation Operation) {
  TCursorMarkTool::Notification(AComponent, Operation);
  if (Operation != classlib::opRemove || AComponent == nullptr) return;
  if (AComponent == FUpperLimitSeries) FUpperLimitSeries = nullptr;
  if (AComponent == FLowerLimitSeries) FLowerLimitSeries = nullptr;
}

void TSpectrumMarkTool::SetParentChart(chart::TCustomAxisPanel* Value) {
  if (Value != nullptr && dynamic_cast<TSpectrumChart*>(Value) == nullptr)
    throw classlib::Exception("TSpectrumChart type required!");
  TCursorMarkTool::SetParentChart(Value);
}

// --- the spectrum and its marks ----------------------------------------------------

TSpectrumChart* TSpectrumMarkTool::Chart() const { return dynamic_cast<TSpectrumChart*>(ParentChart()); }

sig::TSpectrum* TSpectrumMarkTool::Spectrum() const {
  const TSpectrumChart* chart = Chart();
  const int index = SeriesIndex();
  if (chart == nullptr || index < 0 || index >= chart->Spectrums()->Count()) return nullptr;
  return chart->Spectrums()->Items(index)->Input();
}

double TSpectrumMarkTool::AmplitudeAt(sig::TSpectrum& Spectrum, double F) const {
  double a = Spectrum.AmpltAt(F);
  if (const auto* analyzer = dynamic_cast<const sig::TSpectrumAnalyzer*>(&Spectrum);
      analyzer != nullptr && analyzer->Logarithmic())
    analyzer->ScaleToLog(a, F);
  return a;
}

bool TSpectrumMarkTool::AddSpectrumPoint(const sig::TMarkRecord& Rec, const std::string& Label) {
  const TSpectrumChart* chart = Chart();
  const bool phase = chart != nullptr && chart->SpectrumPart() == sppPhase;
  return AddMarkPoint(Rec, Rec.First, phase ? Rec.Third : Rec.Second, Label);
}

void TSpectrumMarkTool::ShowSpectrumMarks(sig::TSpectrum& Spectrum) {
  if (MarkSeries() == nullptr || Series() == nullptr) return;
  ClearShownMarks();
  sig::TMarkList& marks = Spectrum.Marks();
  marks.SortByFirst();
  for (std::int32_t k = 0; k < marks.Count(); ++k) {
    const sig::TMarkRecord& m = marks.GetMark(k);
    AddSpectrumPoint(m, MarkPointLabel(k, FFreqFormat, m.First));
  }
  if (marks.Count() > 0)
    AddAxisTitleBreak();
  else
    RemoveAxisTitleBreak();
}

void TSpectrumMarkTool::AddSpectrumMark(sig::TSpectrum& Spectrum, double Frequency) {
  if (!InRange(Spectrum, Frequency)) return;
  if (MarkSeriesHoldsX(Frequency, 0.5 * Spectrum.HzRes())) return;
  const sig::TMarkRecord mark{Frequency, AmplitudeAt(Spectrum, Frequency), Spectrum.PhaseAt(Frequency), 0.0};
  AddSpectrumPoint(mark, classlib::FormatFloat(FFreqFormat, Frequency));
}

void TSpectrumMarkTool::ToggleSpectrumMark(sig::TSpectrum& Spectrum, bool Remove) {
  const double c = CursorX();
  sig::TMarkList& marks = Spectrum.Marks();
  const std::int32_t found = FindMarkNear(marks, mkFirst, c, 0.5 * Spectrum.HzRes());
  if (found >= 0) {
    if (!Remove) return;
    marks.DeleteMark(found);
    ShowSpectrumMarks(Spectrum);
    return;
  }
  if (!InRange(Spectrum, c)) return;
  FCurrent = {c, AmplitudeAt(Spectrum, c), Spectrum.PhaseAt(c), 0.0};
  // The spectrum's measures read its marks' amplitudes: one that is no number stays out.
  if (!std::isfinite(FCurrent.Second)) return;
  marks.AddMark(FCurrent);
  if (FPeakFilterMode) {
    // The mark only names the tone to take out: it goes whether or not the
    // filter succeeds.
    const std::int32_t added = marks.Count() - 1;
    try {
      Spectrum.PeakFilter(added);
    } catch (...) {
      marks.DeleteMark(added);
      throw;
    }
    marks.DeleteMark(added);
    Spectrum.Update();
  }
  ShowSpectrumMarks(Spectrum);
}

void TSpectrumMarkTool::ClearPeaks() {
  if (sig::TSpectrum* s = Spectrum(); s != nullptr) s->Marks().Clear();
  ClearShownMarks();
  RemoveAxisTitleBreak();
  FReference = -1;
}

void TSpectrumMarkTool::FilterPeaks() {
  sig::TSpectrum* s = Spectrum();
  if (s == nullptr || !HasData(*s)) return;
  for (std::int32_t i = 0; i < s->Marks().Count(); ++i) s->PeakFilter(i);
  ClearPeaks();
  s->Update();
}

// --- the mouse ------------------------------------------------------------------------

void TSpectrumMarkTool::CursorMouseMove(chart::TShiftState Shift, std::int32_t X, std::int32_t Y) {
  if (!PreviewWanted(Shift, X, Y)) return;
  sig::TSpectrum* s = Spectrum();
  const chart::TChartAxis* axis = GetHorizAxis();
  if (s == nullptr || !HasData(*s) || axis == nullptr) return;
  RememberMouse(X, Y);
  const double start = s->StartFrequency(), res = s->HzRes();
  const std::int32_t n = s->Amplt().Length();
  const std::int32_t under = LineUnder(axis->CalcPosPoint(X), start, res, n);
  std::int32_t i = std::min(std::max(under, 1), n - 1);
  dsp::FindLocalMaximum(s->Amplt(), i);
  ShowSpectrumMarks(*s);
  const double line = i * res + start;
  const auto refined = [&] {
    const double f = s->RefineFrequency(line);
    SetCursorX(f);
    AddSpectrumMark(*s, f);
    return f;
  };
  switch (FMarkMode) {
    case mmSingle:
      FReference = -1;
      refined();
      break;
    case mmHarmonic: {
      FReference = -1;
      const double f = s->RefineFrequency(line);
      ForEachHarmonic(*s, f, [&](double h) { AddSpectrumMark(*s, h); });
      SetCursorX(f);
      break;
    }
    case mmSideBand: {
      const double f = refined();
      if (FReference == -1) break;
      AddSpectrumMark(*s, 2 * FReference - f);
      AddSpectrumMark(*s, std::abs(FReference - f));
      SetCursorX(line);
      break;
    }
    case mmModes: {
      const double f = refined();
      if (FReference == -1) break;
      const double g = s->RefineFrequency(f);
      AddSpectrumMark(*s, g - FReference);
      AddSpectrumMark(*s, g + FReference);
      SetCursorX(line);
      break;
    }
    case mmFreeStyle:
      FReference = -1;
      SetCursorX(under * res + start);
      AddSpectrumMark(*s, CursorX());
      break;
  }
}

void TSpectrumMarkTool::ToggleAt(sig::TSpectrum& Spectrum, double F) {
  SetCursorX(F);
  ToggleSpectrumMark(Spectrum, false);
}

void TSpectrumMarkTool::AfterMarkPeak() {
  if (TSpectrumChart* chart = Chart(); chart != nullptr && chart->OnAfterMarkPeak) chart->OnAfterMarkPeak(chart);
}

void TSpectrumMarkTool::CursorMouseUp(chart::TMouseButton Button, chart::TShiftState, std::int32_t X,
                                      std::int32_t Y) {
  if (!ClickedWhere(X, Y) || !CursorActive() || Button != chart::mbLeft) return;
  if (PressedDouble()) {
    if (!DoubleClickClear()) return;
    ClearPeaks();
    AfterMarkPeak();
    return;
  }
  sig::TSpectrum* s = Spectrum();
  if (s == nullptr || !HasData(*s)) return;
  // A click marks where it is, also when no move brought the mouse there.
  CursorMouseMove(0, X, Y);
  double c = CursorX();
  switch (FMarkMode) {
    case mmSingle:
    case mmFreeStyle: ToggleAt(*s, c); break;
    case mmHarmonic: {
      const double g = s->RefineFrequency(c);
      ForEachHarmonic(*s, g, [&](double h) { ToggleAt(*s, h); });
      break;
    }
    case mmSideBand:
    case mmModes:
      // The first click fixes the carrier (or the first mode); the second
      // places the pair that goes with it.
      c = s->RefineFrequency(c);
      ToggleAt(*s, c);
      if (FReference == -1) {
        FReference = c;
        break;
      }
      if (FMarkMode == mmSideBand) {
        c = 2 * FReference - c;
        ToggleAt(*s, c);
        ToggleAt(*s, std::abs(FReference - c));
      } else {
        const double g = s->RefineFrequency(c);
        ToggleAt(*s, g - FReference);
        ToggleAt(*s, g + FReference);
      }
      FReference = -1;
      break;
  }
  if (FReference == -1) AfterMarkPeak();
}

void TSpectrumMarkTool::GetMarkLabel(chart::TChartSeries&, int ValueIndex, std::string& MarkText) {
  if (ValueIndex < 0 || static_cast<std::size_t>(ValueIndex) >= ShownMarks().size()) return;
  const sig::TMarkRecord& m = ShownMarks()[static_cast<std::size_t>(ValueIndex)];
  const TSpectrumChart* chart = Chart();
  MarkText = SpectrumMarkText(chart != nullptr ? chart->SpectrumPart() : sppAmplt, FMarkType, FLabelHeaders, m.Second,
                              m.Third, FAmpltFormat, FPhaseFormat);
}

// --- the chart's passes ------------------------------------------------------------------

void TSpectrumMarkTool::ChartEvent(chart::TChartToolEvent Event) {
  sig::TSpectrum* s = Spectrum();
  if (s == nullptr || !HasData(*s)) return;
  if (Event == chart::cteBeforeDraw) {
    // The preview follows the spectrum as it changes under a mouse at rest.
    if (CursorActive() && HasMousePosition())
      PreviewAtMouse();
    else
      ShowSpectrumMarks(*s);
  } else if (Event == chart::cteAfterDraw && FPeakZoomBand) {
    auto* analyzer = dynamic_cast<sig::TSpectrumAnalyzer*>(s);
    const chart::TChartAxis* axis = GetHorizAxis();
    if (analyzer == nullptr || axis == nullptr) return;
    analyzer->Peaks().SetBandwidthH(axis->Maximum());
    analyzer->Peaks().SetBandwidthL(axis->Minimum());
  }
}

}  // namespace analysis_ui
