// TNumoraReport: a text stream that builds readable reports of vectors,
// matrices, scalars and arrays in fixed number formats. Every Print appends
// to the text; a line ends with CR LF. The unit keeps one instance, Report(),
// made by InitNumora and freed by DoneNumora; like any stream it belongs to
// the thread that uses it.
//
// Tested by: numeric/tests/VecListReportTest.cpp.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "numeric/MathCore.h"
#include "platform/classlib/StringLists.h"
#include "platform/classlib/Streams.h"

namespace numeric {

class TVec;
class TMtx;

class TNumoraReport : public classlib::TStringStream {
 public:
  explicit TNumoraReport(std::string_view Text = {});

  // FormatFloat patterns of real values (and real parts) and of imaginary
  // parts (which carry their own sign and "i"), and the separator of a
  // matrix row's columns.
  const std::string& ReFormat() const { return FReFormat; }
  void SetReFormat(const std::string& Value) { FReFormat = Value; }
  const std::string& ImFormat() const { return FImFormat; }
  void SetImFormat(const std::string& Value) { FImFormat = Value; }
  const std::string& Delimiter() const { return FDelimiter; }
  void SetDelimiter(const std::string& Value) { FDelimiter = Value; }

  // Per vector: "<name> (<Length>x1) =  " (the name "Vec" past the last
  // name given), an empty line, one line per value, an empty line; then one
  // more line end.
  virtual void PrintVec(std::span<const TVec* const> Vecs, std::span<const std::string> Names);
  // Per matrix: "<name> (<Rows>x<Cols>) =  " (else "Mtx"), an empty line,
  // one line per row with the columns joined by Delimiter, an empty line;
  // then one more line end.
  virtual void PrintMtx(std::span<const TMtx* const> Mtxs, std::span<const std::string> Names);
  // One line per value, "<name> = <value>" (else "CplxVar = "); then a line end.
  virtual void PrintCplxVar(std::span<const TCplx> Values, std::span<const std::string> Names);
  // One line per value, "<name> = <value>" (else "Var = "); then a line end.
  virtual void PrintVar(std::span<const double> Values, std::span<const std::string> Names);
  // The heading Name (or "Array (1x<count>)"), one line per value, then a
  // line end.
  virtual void PrintArray(std::span<const double> Values, const std::string& Name);
  virtual void PrintArray(std::span<const TCplx> Values, const std::string& Name);

 private:
  void Append(std::string_view Text);

  std::string FImFormat = "+0.0000i;-0.0000i";
  std::string FReFormat = " 0.0000;-0.0000";
  classlib::TStringList FScratch;
  std::string FDelimiter = "\t";
};

// The unit's report. Made on first use when InitNumora has not run; a
// reference taken before DoneNumora does not outlive it.
TNumoraReport& Report();
// Unit start-up and finalisation (called by InitNumora and DoneNumora).
void CreateNumoraReport();
void FreeNumoraReport();

}  // namespace numeric
