// The text report of vectors, matrices, scalars and arrays, and the unit's
// one instance.
// Tested by: numeric/tests/VecListReportTest.cpp.
#include "numeric/NumoraReport.h"

#include <memory>
#include <mutex>

#include "numeric/Mtx.h"
#include "numeric/Vec.h"

namespace numeric {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

std::string Heading(std::span<const std::string> Names, std::size_t i, const char* Fallback) {
  return i < Names.size() ? Names[i] : std::string(Fallback);
}

struct TReportHolder {
  std::mutex Lock;
  std::unique_ptr<TNumoraReport> Instance;
};

TReportHolder& Holder() {
  static TReportHolder holder;
  return holder;
}

}  // namespace

TNumoraReport::TNumoraReport(std::string_view Text) : TStringStream(Text) {}

void TNumoraReport::Append(std::string_view Text) {
  Seek(0, classlib::soEnd);
  WriteString(Text);
}

void TNumoraReport::PrintVec(std::span<const TVec* const> Vecs, std::span<const std::string> Names) {
  for (std::size_t i = 0; i < Vecs.size(); ++i) {
    const TVec& v = *Vecs[i];
    Append(Heading(Names, i, "Vec") + " (" + std::to_string(v.Length()) + "x1) =  ");
    Append(kLineEnd);
    Append(kLineEnd);
    FScratch.Clear();
    v.ValuesToStrings(FScratch, FReFormat, FImFormat);
    Append(FScratch.Text());
    Append(kLineEnd);
  }
  Append(kLineEnd);
}

void TNumoraReport::PrintMtx(std::span<const TMtx* const> Mtxs, std::span<const std::string> Names) {
  for (std::size_t i = 0; i < Mtxs.size(); ++i) {
    const TMtx& m = *Mtxs[i];
    Append(Heading(Names, i, "Mtx") + " (" + std::to_string(m.Rows()) + "x" + std::to_string(m.Cols()) + ") =  ");
    Append(kLineEnd);
    Append(kLineEnd);
    FScratch.Clear();
    m.ValuesToStrings(FScratch, FDelimiter, FReFormat, FImFormat);
    Append(FScratch.Text());
    Append(kLineEnd);
  }
  Append(kLineEnd);
}

void TNumoraReport::PrintCplxVar(std::span<const TCplx> Values, std::span<const std::string> Names) {
  for (std::size_t i = 0; i < Values.size(); ++i) {
    Append(Heading(Names, i, "CplxVar") + " = " + CplxToStr(Values[i], FReFormat, FImFormat));
    Append(kLineEnd);
  }
  Append(kLineEnd);
}

void TNumoraReport::PrintVar(std::span<const double> Values, std::span<const std::string> Names) {
  for (std::size_t i = 0; i < Values.size(); ++i) {
    Append(Heading(Names, i, "Var") + " = " + SampleToStr(Values[i], FReFormat));
    Append(kLineEnd);
  }
  Append(kLineEnd);
}

void TNumoraReport::PrintArray(std::span<const double> Values, const std::string& Name) {
  Append(Name.empty() ? "Array (1x" + std::to_string(Values.size()) + ")" : Name);
  Append(kLineEnd);
  for (double x : Values) {
    Append(SampleToStr(x, FReFormat));
    Append(kLineEnd);
  }
  Append(kLineEnd);
}

void TNumoraReport::PrintArray(std::span<const TCplx> Values, const std::string& Name) {
  Append(Name.empty() ? "Array (1x" + std::to_string(Values.size()) + ")" : Name);
  Append(kLineEnd);
  for (const TCplx& z : Values) {
    Append(CplxToStr(z, FReFormat, FImFormat));
    Append(kLineEnd);
  }
  Append(kLineEnd);
}

TNumoraReport& Report() {
  TReportHolder& h = Holder();
  std::lock_guard<std::mutex> guard(h.Lock);
  if (!h.Instance) h.Instance = std::make_unique<TNumoraReport>();
  return *h.Instance;
}

void CreateNumoraReport() { Report(); }

void FreeNumoraReport() {
  TReportHolder& h = Holder();
  std::lock_guard<std::mutex> guard(h.Lock);
  h.Instance.reset();
}

}  // namespace numeric
