// The workbench's non-visual core: its records, shared helpers, the own Remez
// exchange, the design of a filter record, the delay cut, the workbench FFT and
// the indicator text generator.
//
// Everything a design touches lives in a TDesignWorkspace owned by the caller
// (generator, methods window, comparison, search), so two designs on two
// threads never share arrays. Only the loaded price history and the settings
// record are process-wide.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/classlib/Exception.h"

namespace workbench {

// ---------------------------------------------------------------------------
// Fixed sizes of the design arrays and limits of a design
// ---------------------------------------------------------------------------

inline constexpr int MaxCoefficients = 2501;     // TCoefficientRecord.Coef
inline constexpr int ImpulseCapacity = 5001;     // ImpulseResponse
inline constexpr int GridCapacity = 25001;       // Grid, D, W, E
inline constexpr int ExtremalCapacity = 2501;    // Ext, x, y, ad, A
inline constexpr int MaxIterations = 40;         // rounds of the own exchange
inline constexpr int MaxFilterOrder = 1500;      // orders of this and above are refused
inline constexpr int MinEstimatedOrder = 3;      // an order estimate never goes below this
inline constexpr int DefaultGridDensity = 16;
// Coefficients are rescaled to a unit sum only when their sum is at least
// this in magnitude: dividing by less makes an indicator of huge coefficients
// from what is rounding around 0.
inline constexpr double MinUnitSum = 1e-9;

// Band types of TFilterRecord.FilterType.
enum : std::uint8_t { ftLowPass = 0, ftHighPass = 1, ftBandPass = 2, ftBandStop = 3 };

// Design methods of TFilterRecord.Method.
enum : std::uint8_t { dmOwnExchange = 1, dmLibrary = 2 };

// Indicator text forms of TCoefficientRecord.TextMode; any other value is a bare list.
enum : std::uint8_t { tmOmega = 0, tmMetaStock = 1, tmMQL2 = 2, tmMQL4 = 3 };

// ---------------------------------------------------------------------------
// Messages (UTF-8; the windows show them)
// ---------------------------------------------------------------------------

inline constexpr const char* msgOrderTooLarge = "Превышен порядок фильтра (>1500)";
inline constexpr const char* msgIterationLimit =
    "Превышено количество итераций!\n\rРезультаты могут быть неправильные.";
inline constexpr const char* msgBadFilterType = "Неизвестный тип фильтра: ";
inline constexpr const char* msgBadOrder = "Неверный порядок фильтра: ";
inline constexpr const char* msgBadPeriods = "Неверные периоды фильтра: ";
inline constexpr const char* msgBadRipple = "Неверная величина биений в полосе пропускания: ";
inline constexpr const char* msgBadAttenuation = "Неверная величина затухания: ";
inline constexpr const char* msgBadDelay = "Неверная задержка фильтра: ";
inline constexpr const char* msgTooManyCoefficients = "Слишком много коэффициентов фильтра: ";
inline constexpr const char* msgBandsTooNarrow =
    "Полосы фильтра слишком узки для заданного порядка";
inline constexpr const char* msgNoFiniteCoefficient =
    "Коэффициент фильтра не является конечным числом, текст индикатора не создан: k=";
inline constexpr const char* msgBadFilterName = "Неверная длина названия фильтра: ";
inline constexpr const char* msgLibraryDesignFailed = "Расчет фильтра методом 2 не удался";
inline constexpr const char* msgResponseNotFinite =
    "Расчет фильтра не удался: импульсная характеристика содержит бесконечные или неопределенные значения";
inline constexpr const char* msgCoefficientSumNearZero =
    "Расчет фильтра не удался: сумма коэффициентов близка к нулю, привести ее к единице нельзя";

// A filter record or design input that cannot be designed; nothing was changed.
class EFilterCheck : public classlib::Exception {
 public:
  using classlib::Exception::Exception;
};

// A design that ran but whose status says it failed.
class EDesignFailed : public classlib::Exception {
 public:
  using classlib::Exception::Exception;
};

// Indicator text that cannot be written.
class ETextGeneration : public classlib::Exception {
 public:
  using classlib::Exception::Exception;
};

// ---------------------------------------------------------------------------
// Records
// ---------------------------------------------------------------------------

// A short string: a length byte and room for N single-byte characters.
// Assignment truncates to N and zero-fills the unused room, so stored records
// never carry stale bytes.
template <std::size_t N>
struct ShortString {
  std::uint8_t Length = 0;
  std::array<char, N> Chars{};

  ShortString() = default;
  // Implicit, so records take text as plainly as strings do (cut to the room).
  ShortString(std::string_view text) { Assign(text); }  // NOLINT
  ShortString& operator=(std::string_view text) {
    Assign(text);
    return *this;
  }

  void Assign(std::string_view text) {
    Chars.fill(0);
    Length = static_cast<std::uint8_t>(text.size() < N ? text.size() : N);
    for (std::size_t i = 0; i < Length; ++i) Chars[i] = text[i];
  }
  std::string Str() const { return std::string(Chars.data(), Length); }
  static constexpr std::size_t Capacity() { return N; }
  friend bool operator==(const ShortString&, const ShortString&) = default;
};

// The parameters of one filter; stored byte for byte (74 bytes) in method files.
struct TFilterRecord {
  ShortString<25> Name;
  std::uint8_t FilterType = 0;
  std::int32_t P1 = 0, D1 = 0, A1 = 0, P2 = 0, D2 = 0, A2 = 0;
  double Ripple = 0;
  std::int32_t Delay = 0;
  std::int32_t Order = 0;
  std::int32_t CoefCount = 0;
  std::uint8_t AutoOrder = 0;
  std::uint8_t Method = 0;
  std::uint8_t Price = 0;
  friend bool operator==(const TFilterRecord&, const TFilterRecord&) = default;
};
inline constexpr std::size_t FilterRecordSize = 74;

// The stored layout of a filter record, little-endian, packed.
std::array<std::uint8_t, FilterRecordSize> FilterRecordToBytes(const TFilterRecord& filter);
// Raises EFilterCheck when the name's length byte exceeds its room.
TFilterRecord FilterRecordFromBytes(std::span<const std::uint8_t, FilterRecordSize> bytes);

// The coefficients of one designed indicator; index k weights the bar k bars back.
struct TCoefficientRecord {
  std::int32_t Tag = 0;
  ShortString<25> Name;
  std::int32_t Count = 0;
  std::uint8_t TextMode = 0;
  std::uint8_t Separate = 0;
  std::array<double, MaxCoefficients> Coef{};
};

// One bar of price history, as stored in version-1 history files (40 bytes).
struct THistoryBar {
  std::int32_t Time = 0;  // Unix seconds
  double Open = 0, Low = 0, High = 0, Close = 0;
  std::int32_t Volume = 0;
  friend bool operator==(const THistoryBar&, const THistoryBar&) = default;
};
inline constexpr std::size_t HistoryBarSize = 40;
std::array<std::uint8_t, HistoryBarSize> HistoryBarToBytes(const THistoryBar& bar);
THistoryBar HistoryBarFromBytes(std::span<const std::uint8_t, HistoryBarSize> bytes);

// The one loaded price history.
struct THistory {
  ShortString<8> Symbol;
  std::int32_t Period = 0;      // bar period in minutes
  std::int32_t LastIndex = -1;  // index of the last bar, -1 when there are none
  std::vector<THistoryBar> Bars;
};

// The generator's last inputs and the brute-force search ranges.
struct TWorkbenchSettings {
  std::uint8_t FilterType = 0;
  std::uint8_t MomentumIndex = 0;
  std::uint8_t TextMode = 0;
  std::int32_t P1 = 0, D1 = 0, A1 = 0, P2 = 0, D2 = 0, A2 = 0;
  double Ripple = 0;
  std::int32_t Delay = 0;
  std::uint8_t Method = 0;
  std::uint8_t Zoom = 0;
  ShortString<10> Grid1;
  std::int32_t P1from = 0, P1to = 0, P1step = 0;
  std::int32_t P2from = 0, P2to = 0, P2step = 0;
  std::int32_t D1from = 0, D1to = 0, D1step = 0;
  std::int32_t D2from = 0, D2to = 0, D2step = 0;
  std::int32_t A1from = 0, A1to = 0, A1step = 0;
  std::int32_t A2from = 0, A2to = 0, A2step = 0;
  double Rfrom = 0, Rto = 0, Rstep = 0;
  std::int32_t Delayfrom = 0, Delayto = 0, Delaystep = 0;
};

// The process-wide instances, zeroed at start and living for the whole run.
extern TWorkbenchSettings WorkbenchSettings;
extern THistory History;

// ---------------------------------------------------------------------------
// Shared helpers
// ---------------------------------------------------------------------------

// Date-times count days from 30 December 1899, the epoch of the class
// library's TDateTime that the history and settings files store.
double UnixToDateTime(std::int32_t seconds);
std::int64_t DateTimeToUnix(double value);

std::vector<std::string> SplitString(std::string_view delimiter, std::string_view text);
std::string ReplaceFirst(std::string_view text, std::string_view searched, std::string_view replacement);
std::string ReplaceAll(std::string_view text, std::string_view searched, std::string_view replacement);

long double PowerEx(long double base, long double exponent);
// Rounds half away from zero; out-of-range and NaN give -2147483648.
std::int32_t RoundToInt(long double x);

// The text of a bar period (UTF-8: minutes carry the Cyrillic "М").
std::string PeriodName(std::int32_t minutes);
std::string FilterDescription(const TFilterRecord& filter);
// Removes element index; an index outside the array changes nothing.
void DeleteFilterRecord(std::vector<TFilterRecord>& filters, int index);
// The program's version and the date of its executable, e.g. "0.1 at 01.02.2025".
std::string GetFileVersionString();

// A float in the general format with the point as decimal separator, as the
// workbench writes ripples into its texts.
std::string FloatToStrPoint(double value);

// ---------------------------------------------------------------------------
// Design workspace
// ---------------------------------------------------------------------------

// Everything one design reads and writes. Owned by the window or thread that
// designs; never shared between threads while a design runs.
struct TDesignWorkspace {
  TDesignWorkspace();

  // The bands of the design at hand (band b from BandEdges[2b] to BandEdges[2b + 1]).
  std::array<double, 6> BandEdges{};
  std::array<double, 3> BandGains{};
  std::array<double, 3> BandWeights{};
  int BandCount = 0;
  double PassDeviation = 0, StopDeviation1 = 0, StopDeviation2 = 0;
  int GridDensity = DefaultGridDensity;

  // The impulse response before the delay cut.
  std::vector<double> ImpulseResponse;  // ImpulseCapacity entries
  int ImpulseLength = 0;                // taps of a library design (the order)
  int KernelLength = 0;                 // taps of an own-exchange design

  // The indicator coefficients after the delay cut.
  TCoefficientRecord DesignCoefficients{};
  int DesignCoefCount = 0;

  // Status of the own exchange.
  std::uint8_t IterationLimitReached = 0;

  // Working arrays of the own exchange.
  std::vector<double> Grid, D, W, E;       // GridCapacity entries
  std::vector<int> Ext;                    // ExtremalCapacity entries
  std::vector<double> x, y, ad, A;         // ExtremalCapacity entries
  int GridSize = 0;                        // grid points of the last exchange
  std::vector<int> GridBandStarts;         // first grid point of each later band that has one
};

// ---------------------------------------------------------------------------
// Own Remez exchange
// ---------------------------------------------------------------------------

enum TDesignStatus : std::uint8_t {
  dsDone,            // the response is in ImpulseResponse
  dsIterationLimit,  // the own exchange ran all its rounds without converging
  dsStopped,         // the caller's stop test ended the design
  dsLibraryFailed,   // the library's status says its design failed
};

// Lets a caller report progress and stop the own exchange between its steps.
struct TExchangeMonitor {
  std::function<void(int round)> OnRound;  // before each round, rounds counted from 1
  std::function<bool()> Running;           // false stops the exchange at its next step
};

// The extremal count r of an exchange of n taps (n = 7 gives 5: halves round to even).
int ExchangeExtremalCount(int taps);

// Builds the dense grid of r extremals over `bands` bands; returns the grid size.
int BuildDenseGrid(TDesignWorkspace& ws, int r, int bands);
void InitialExtremals(TDesignWorkspace& ws, int r, int gridSize);
void ComputeInterpolation(TDesignWorkspace& ws, int r);
double EvaluateResponse(const TDesignWorkspace& ws, int r, double frequency);
void ComputeGridError(TDesignWorkspace& ws, int r, int gridSize);
void SearchExtremals(TDesignWorkspace& ws, int r, int gridSize);
bool ExchangeConverged(const TDesignWorkspace& ws, int r);
void FrequencySampling(TDesignWorkspace& ws, int taps);

// Designs `taps` taps into ImpulseResponse from the workspace's bands.
TDesignStatus RemezExchangeDesign(TDesignWorkspace& ws, int taps, int bands,
                                  const TExchangeMonitor* monitor = nullptr);

// ---------------------------------------------------------------------------
// Filter-record design
// ---------------------------------------------------------------------------

// Raises EFilterCheck unless the record can be designed within the fixed arrays:
// band type 0..3, order 1..1499, periods of at least 2 bars in the band type's
// order, positive finite ripple and attenuations, a non-negative delay whose
// coefficient count fits.
void CheckFilterRecord(const TFilterRecord& filter);

// Deviations, band edges, gains and weights of a record, into the workspace.
void SetDesignBands(TDesignWorkspace& ws, const TFilterRecord& filter);

// The tap count the own exchange designs for an order: order + 1, raised to the
// next odd count for high-pass and band-stop filters, whose even-length
// symmetric form cannot pass the Nyquist frequency.
int OwnExchangeTaps(std::uint8_t filterType, int order);

// Designs the impulse response of `order` by `method` from the workspace's
// bands; sets ImpulseLength and KernelLength. A library design that the
// library refuses raises the library's exception.
TDesignStatus DesignImpulseResponse(TDesignWorkspace& ws, std::uint8_t filterType, int order,
                                    std::uint8_t method, const TExchangeMonitor* monitor = nullptr);

// The taps of the designed response of a workspace: an own-exchange design
// has KernelLength taps (one more than its order), a library design
// ImpulseLength.
int DesignedResponseTaps(const TDesignWorkspace& ws, std::uint8_t method);

// Finishes a design of `method` that ended with `status`: raises
// EDesignFailed when the status says the library failed, when a tap of the
// response is not finite, or when the taps sum too close to 0 for the delay
// cut to rescale them; otherwise the response is cut for `delay` bars into
// DesignCoefficients and IterationLimitReached follows the status. A library
// design of a single tap designs nothing: its cut stands, all zeros, and is
// no failure.
void FinishDesign(TDesignWorkspace& ws, std::uint8_t method, int delay, TDesignStatus status);

// Designs one record into `result`; raises EFilterCheck for a record that
// cannot be designed and EDesignFailed when the design failed (the library's
// status, a response that is not finite, or taps that sum too close to 0 for
// the delay cut to rescale them); `result` is then left as it was. An own
// exchange that reaches its iteration limit is no failure: the last round's
// response is used and the workspace's IterationLimitReached is set.
void DesignFilterRecord(TDesignWorkspace& ws, std::int32_t tag, const TFilterRecord& filter,
                        TCoefficientRecord& result);

// ---------------------------------------------------------------------------
// Delay cut and FFT
// ---------------------------------------------------------------------------

// Where the delay cut of `taps` taps for `delay` bars puts the indicator:
// Count coefficients from impulse entry Start (negative: the first -Start
// coefficients stand before the response and are 0).
struct TDelayCut {
  int Count = 0;
  int Start = 0;
};
TDelayCut DelayCutBounds(int taps, int delay, int method);

// Cuts the first `taps` entries of ImpulseResponse for `delay` bars and
// rescales them to a unit sum into DesignCoefficients; method 1 for an
// own-exchange response, any other value for a library response. Returns
// false, leaving the coefficients 0, when the kept taps sum to less than
// MinUnitSum in magnitude (or nothing is cut).
bool TruncateForDelay(TDesignWorkspace& ws, int taps, int delay, int method);

// In-place radix-2 transform of n complex values stored as (re, im) pairs;
// the forward kernel is e^(+i 2 pi k m / n), the inverse is scaled by 1/n.
void FourierTransform(std::span<double> fftData, int n, bool inverse);

// ---------------------------------------------------------------------------
// Indicator text
// ---------------------------------------------------------------------------

std::string FormatCoefficientText(int k, double value);
// The indicator text of `filter` with the coefficients of `coefficients` in the
// form coefficients.TextMode; raises ETextGeneration for a non-finite coefficient.
std::string GenerateIndicatorText(const TFilterRecord& filter, const TCoefficientRecord& coefficients);

}  // namespace workbench
