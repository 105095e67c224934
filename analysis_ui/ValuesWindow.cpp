// The values window: one window for the whole run in which a vector is
// shown as a line or a matrix as a coloured grid; and the unit's start-up.
//
// Tested by: analysis_ui/tests/ValuesWindowTest.cpp
#include <QDialog>
#include <QPointer>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

#include "analysis_ui/NumoraKiv.h"
#include "chart/series/FastLineSeries.h"
#include "chart/series/SeriesRegistry.h"
#include "chart/widgets/KivPanelWidget.h"
#include "numeric/ObjectCache.h"
#include "platform/ui/RegistryStore.h"
#include "platform/ui/UserDialogs.h"

namespace analysis_ui {

namespace {

constexpr const char* StoreKey = "\\Software\\Halvane\\Numora";
constexpr const char* StoreSection = "DrawIt";

// The window owns its chart; the view of the chart goes first.
class TValuesWindow : public QDialog {
 public:
  TValuesWindow() : FChart(std::make_unique<chart::TChart>()) {
    setObjectName("ValuesWindow");
    FChart->SetName("ValuesChart");
    resize(640, 480);
    // Where the user last had it; the program only reads these.
    const ui::TRegIniFile store(StoreKey);
    const QRect g = geometry();
    const int left = store.ReadInteger(StoreSection, "Left", g.left());
    const int top = store.ReadInteger(StoreSection, "Top", g.top());
    const int width = store.ReadInteger(StoreSection, "Width", g.width());
    const int height = store.ReadInteger(StoreSection, "Height", g.height());
    // A stored size too small to show a chart is no size a user chose.
    setGeometry(left, top, std::max(width, 160), std::max(height, 120));
  }
  ~TValuesWindow() override {
    for (chart::TKivPanelWidget* view : findChildren<chart::TKivPanelWidget*>()) delete view;
  }

  chart::TChart& Chart() const { return *FChart; }

 private:
  std::unique_ptr<chart::TChart> FChart;
};

QPointer<TValuesWindow>& ValuesWindow() {
  static QPointer<TValuesWindow> window;
  return window;
}

void SetAxis(chart::TChartAxis& axis, const std::string& title, double minimum, double maximum) {
  axis.Title()->SetCaption(title);
  axis.SetIncrement(1);
  axis.SetAutomatic(false);
  axis.SetMinMax(minimum, maximum);
}

}  // namespace

void PrepareValuesChart(chart::TChart* Chart, QWidget* Parent) {
  if (Chart == nullptr) return;
  Chart->Title()->SetText({});
  if (Parent != nullptr) {
    chart::TKivPanelWidget* view = nullptr;
    for (chart::TKivPanelWidget* v : Parent->findChildren<chart::TKivPanelWidget*>())
      if (&v->Panel() == Chart) view = v;
    if (view == nullptr) {
      view = new chart::TKivPanelWidget(*Chart, Parent);
      view->setObjectName(QString::fromStdString(Chart->Name()));
      if (Parent->layout() == nullptr) {
        auto* layout = new QVBoxLayout(Parent);
        layout->setContentsMargins(0, 0, 0, 0);
      }
      Parent->layout()->addWidget(view);
    }
    // The chart fills its parent; until the window is shown the chart knows
    // that size only from here.
    Chart->SetBounds(Parent->width(), Parent->height());
  }
  Chart->SetView3D(false);
  Chart->SetColor(chart::clWhite);
  Chart->SetBevelInner(chart::bvNone);
  Chart->SetBevelOuter(chart::bvNone);
  Chart->FreeAllSeries();
  Chart->Zoom()->Brush()->SetStyle(chart::bsFDiagonal);
  Chart->Zoom()->Brush()->SetColor(chart::clSilver);
  Chart->Zoom()->Pen()->SetColor(chart::clBlack);
}

chart::TChart& ShowValuesWindow() {
  QPointer<TValuesWindow>& window = ValuesWindow();
  if (window.isNull()) window = new TValuesWindow();
  PrepareValuesChart(&window->Chart(), window.data());
  return window->Chart();
}

void FreeValuesWindow() { delete ValuesWindow().data(); }

void DrawVector(const numeric::TVec& Values, const std::string& Caption, bool PixelDownSample) {
  chart::TChart& chart = ShowValuesWindow();
  TValuesWindow& window = *ValuesWindow();
  window.setWindowTitle(QString::fromStdString(Caption.empty() ? "Vector values" : Caption));
  chart.Legend()->SetVisible(false);
  chart::TChartAxis& bottom = *chart.BottomAxis();
  bottom.SetOtherSide(false);
  SetAxis(bottom, "Index", 0, Values.Length() - 1);
  chart.LeftAxis()->SetAutomatic(true);
  chart.LeftAxis()->Title()->SetCaption(Values.Complex() ? "Magnitude" : "Value");
  auto* series = new chart::TFastLineSeries(&chart);
  series->SetParentChart(&chart);
  if (Values.Complex()) {
    numeric::TCachedVec magnitudes;
    magnitudes->Mag(Values);
    DrawValues(*magnitudes, *series, PixelDownSample, 0, 1);
  } else {
    DrawValues(Values, *series, PixelDownSample, 0, 1);
  }
  ui::ShowModal(window);
}

void DrawMatrix(const numeric::TMtx& Values, const std::string& Caption) {
  chart::TChart& chart = ShowValuesWindow();
  TValuesWindow& window = *ValuesWindow();
  window.setWindowTitle(QString::fromStdString(Caption.empty() ? "Matrix values" : Caption));
  chart::TChartAxis& bottom = *chart.BottomAxis();
  bottom.SetOtherSide(true);
  SetAxis(bottom, "Index", -0.5, Values.Cols() - 0.5);
  SetAxis(*chart.LeftAxis(), "Index", -0.5, Values.Rows() - 0.5);
  chart.Legend()->SetVisible(true);
  auto* series = new TMtxGridSeries(&chart);
  series->SetParentChart(&chart);
  if (Values.Complex()) {
    chart.Title()->SetText({"Magnitude"});
    numeric::TCachedMtx magnitudes;
    magnitudes->Mag(Values);
    DrawGrid(*magnitudes, *series);
  } else {
    chart.Title()->SetText({"Value"});
    DrawGrid(Values, *series);
  }
  ui::ShowModal(window);
}

void RegisterNumoraKiv() {
  chart::RegisterSeriesType(TMtxGridSeries::StaticClassInfo(), "Mtx Grid", "Halvane");
  RegisterMtxEditItem(&CreateKivItemDrawRows);
  RegisterMtxEditItem(&CreateKivItemDrawCols);
}

void UnregisterNumoraKiv() {
  UnregisterMtxEditItem(&CreateKivItemDrawCols);
  UnregisterMtxEditItem(&CreateKivItemDrawRows);
  FreeValuesWindow();
  chart::UnregisterSeriesTypes({&TMtxGridSeries::StaticClassInfo()});
}

}  // namespace analysis_ui
