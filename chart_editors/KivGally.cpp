// The series gallery dialog and the gallery's entry points.
//
// Tested by: chart_editors/tests/GalleryTest.cpp
#include "chart_editors/KivGally.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "chart/core/KivConst.h"
#include "chart/series/SeriesRegistry.h"
#include "chart/widgets/KivProcsWidgets.h"
#include "chart_editors/EditorForm.h"
#include "chart_editors/EditorTexts.h"
#include "platform/ui/Guarded.h"
#include "platform/ui/UserDialogs.h"

namespace chart_editors {

TKivGallery::TKivGallery(QWidget* owner) : QDialog(owner) {
  setObjectName("KivGallery");
  setWindowTitle("Kiv Gallery");

  TabTypes = CreateControl<QTabBar>(this, "TabTypes");
  TabTypes->addTab(Msg(txtSeries));
  TabTypes->addTab(Msg(txtFunctions));
  TabPages = CreateControl<QTabBar>(this, "TabPages");
  ChartGalleryPanel1 = CreateControl<TChartGalleryPanel>(this, "ChartGalleryPanel1");
  ChartGalleryPanel1->BevelOuter = false;
  P1 = CreateControl<QWidget>(this, "P1");
  CB3D = CreateControl<QCheckBox>(P1, "CB3D", "&3D");
  CB3D->setChecked(true);
  BOk = CreateControl<QPushButton>(P1, "BOk", "OK");
  BOk->setDefault(true);
  BCancel = CreateControl<QPushButton>(P1, "BCancel", "Cancel");
  auto* bottom = new QHBoxLayout(P1);
  bottom->setContentsMargins(0, 0, 0, 0);
  bottom->addWidget(CB3D);
  bottom->addStretch(1);
  bottom->addWidget(BOk);
  bottom->addWidget(BCancel);
  auto* form = new QVBoxLayout(this);
  form->addWidget(TabTypes);
  form->addWidget(TabPages);
  form->addWidget(ChartGalleryPanel1, 1);
  form->addWidget(P1);
  resize(480, 360);

  connect(TabTypes, &QTabBar::currentChanged, this, ui::Guarded([this] { TabTypesChange(); }));
  connect(TabPages, &QTabBar::currentChanged, this, ui::Guarded([this] { TabPagesChange(); }));
  connect(CB3D, &QCheckBox::toggled, this, ui::Guarded([this](bool on) { ChartGalleryPanel1->SetView3D(on); }));
  connect(BOk, &QPushButton::clicked, this, &QDialog::accept);
  connect(BCancel, &QPushButton::clicked, this, &QDialog::reject);
  ChartGalleryPanel1->OnSelectedChart = [this] { accept(); };
}

void TKivGallery::RemoveFunctions() {
  if (TabTypes->count() > 1) TabTypes->removeTab(1);
}

void TKivGallery::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (FShown) return;
  FShown = true;
  ui::RunGuarded([this] {
    const QSignalBlocker quiet(TabTypes);
    TabTypes->setCurrentIndex(0);
    TabTypesChange();
    chart::CallOptionalGlobalHook(*this);
    BOk->setFocus();
  });
}

void TKivGallery::TabTypesChange() {
  const bool functions = TabTypes->currentIndex() == 1;
  std::vector<std::string> pages;
  const chart::TKivSeriesTypes& types = chart::KivSeriesTypesList();
  for (int i = 0; i < types.Count(); ++i) {
    const chart::TKivSeriesType& t = types.Get(i);
    if (t.NumGallerySeries < 1 || (t.FunctionClass != nullptr) != functions) continue;
    if (std::find(pages.begin(), pages.end(), t.GalleryPage) == pages.end()) pages.push_back(t.GalleryPage);
  }
  // The standard kinds come first, whoever registered what before them.
  const auto standard = std::find(pages.begin(), pages.end(), chart::KivMsg(txtStandard));
  if (standard != pages.end()) std::rotate(pages.begin(), standard, standard + 1);
  {
    const QSignalBlocker quiet(TabPages);
    while (TabPages->count() > 0) TabPages->removeTab(0);
    for (const std::string& page : pages) TabPages->addTab(QString::fromStdString(page));
    TabPages->setCurrentIndex(pages.empty() ? -1 : 0);
  }
  TabPagesChange();
}

void TKivGallery::TabPagesChange() {
  TChartGalleryPanel& panel = *ChartGalleryPanel1;
  panel.FunctionsOnly = TabTypes->currentIndex() == 1;
  panel.SetView3D(CB3D->isChecked());
  if (TabPages->currentIndex() < 0)
    panel.ClearCharts();
  else
    panel.CreateGalleryPage(TabPages->tabText(TabPages->currentIndex()).toStdString());
}

bool ShowGalleryDialog(QWidget* owner, chart::TChartSeries* changingSeries, bool allowFunctions, int& subIndex,
                       bool checkCompatible, const classlib::TClassInfo*& functionClass, bool& view3D,
                       const classlib::TClassInfo*& seriesClass) {
  // A child of the owner's window, which Qt centres it on (on the screen without one).
  TKivGallery dialog(owner != nullptr ? owner->window() : nullptr);
  dialog.CB3D->setChecked(view3D);
  dialog.ChartGalleryPanel1->SetChangingSeries(changingSeries);
  if (!allowFunctions) dialog.RemoveFunctions();
  dialog.ChartGalleryPanel1->CheckCompatible = checkCompatible;
  if (ui::ShowModal(dialog) != QDialog::Accepted) return false;
  const classlib::TClassInfo* chosenSeries = nullptr;
  const classlib::TClassInfo* chosenFunction = nullptr;
  int chosenSub = -1;
  if (!dialog.ChartGalleryPanel1->GetSelected(chosenSeries, chosenFunction, chosenSub)) return false;
  seriesClass = chosenSeries;
  functionClass = chosenFunction;
  subIndex = chosenSub;
  view3D = dialog.CB3D->isChecked() && dialog.ChartGalleryPanel1->Selected()->View3D();
  return true;
}

chart::TChartSeries* CreateSeriesFromGallery(QWidget* owner, chart::TChartSeries* series,
                                             chart::TCustomAxisPanel* chart, int& subIndex, bool checkCompatible,
                                             bool allowFunctions) {
  if (chart == nullptr) return nullptr;
  bool view3D = chart->View3D();
  const classlib::TClassInfo* seriesClass = nullptr;
  const classlib::TClassInfo* functionClass = nullptr;
  if (!ShowGalleryDialog(owner, series, allowFunctions, subIndex, checkCompatible, functionClass, view3D,
                         seriesClass))
    return nullptr;
  chart->SetView3D(view3D);
  // The kind the series has already, as it is: nothing to change.
  if (series != nullptr && !allowFunctions && seriesClass == &series->ClassInfo() && subIndex == -1) return nullptr;
  classlib::TComponent* seriesOwner = series != nullptr ? series->Owner() : chart->Owner();
  chart::TChartSeries* made = chart::CreateChartSeries(seriesOwner, *chart, *seriesClass, functionClass);
  if (subIndex != -1) made->ApplySubStyle(subIndex);
  return made;
}

namespace {
// The window the user works in: the gallery's owner when the engine calls.
QWidget* ActiveWindow() { return QApplication::activeWindow(); }
}  // namespace

chart::TChartSeries* GalleryCreateSeries(classlib::TComponent*, chart::TCustomAxisPanel* chart,
                                         chart::TChartSeries* series) {
  if (chart == nullptr) return nullptr;
  int subIndex = -1;
  return CreateSeriesFromGallery(ActiveWindow(), series, chart, subIndex, false, true);
}

const classlib::TClassInfo* GalleryChangeSeriesKind(classlib::TComponent*, chart::TChartSeries*& series) {
  if (series == nullptr) return nullptr;
  int subIndex = -1;
  chart::TChartSeries* made = CreateSeriesFromGallery(ActiveWindow(), series, series->ParentChart(), subIndex, true, false);
  if (made != nullptr) {
    chart::ChangeSeriesType(series, made);
    // The old series' settings came over it: the sub-style again.
    if (subIndex != -1) series->ApplySubStyle(subIndex);
  }
  return &series->ClassInfo();
}

void InstallGalleryHooks() {
  chart::GalleryCreateSeriesHook() = GalleryCreateSeries;
  chart::GalleryChangeSeriesKindHook() = GalleryChangeSeriesKind;
}

void RemoveGalleryHooks() {
  chart::GalleryCreateSeriesHook() = nullptr;
  chart::GalleryChangeSeriesKindHook() = nullptr;
}

}  // namespace chart_editors
