// The series gallery panel, its sample charts and the pop-up gallery of sub-styles.
//
// Tested by: chart_editors/tests/GalleryTest.cpp
#include "chart_editors/KivGalleryPanel.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

#include "chart/core/KivProcsRoutines.h"
#include "chart/functions/Functions.h"
#include "chart/series/LineSeries.h"
#include "platform/ui/Guarded.h"
#include "platform/ui/UserDialogs.h"

namespace chart_editors {

using chart::TColor;

namespace {

constexpr TColor clNavyTitle = 0x800000;
constexpr TColor clGreyPen = 0x808080;
// The mark of the sub-gallery, and the square of the chart's corner a click on it opens.
constexpr int SubMarkSize = 12;

// The top of the pop-up gallery: a strip with an upward mark; a click on it closes the pop-up with OK.
class TSubGalleryTop : public QWidget {
 public:
  explicit TSubGalleryTop(QDialog& form) : QWidget(&form), FForm(form) {
    setObjectName("SubGalleryTop");
    setFixedHeight(SubMarkSize);
    setCursor(Qt::PointingHandCursor);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    // The paint box sits at (4, 2).
    const QPoint mark[3] = {{4 + 0, 2 + 8}, {4 + 4, 2 + 0}, {4 + 9, 2 + 8}};
    painter.drawPolygon(mark, 3);
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton) FForm.accept();
  }

 private:
  QDialog& FForm;
};

// A one-pixel raised frame just inside area: white top left, grey bottom right.
void DrawRaisedFrame(QPainter& painter, const QRect& area) {
  painter.setPen(Qt::white);
  painter.drawLine(area.topLeft(), area.topRight());
  painter.drawLine(area.topLeft(), area.bottomLeft());
  painter.setPen(QColor(0x80, 0x80, 0x80));
  painter.drawLine(area.topRight(), area.bottomRight());
  painter.drawLine(area.bottomLeft(), area.bottomRight());
}

// The function class of a series; nullptr for none.
const classlib::TClassInfo* FunctionClassOf(const chart::TChartSeries& series) {
  const chart::TKivFunction* function = series.FunctionType();
  return function != nullptr ? &function->ClassInfo() : nullptr;
}

}  // namespace

// --- the sample charts ---------------------------------------------------------

TGalleryChart::TGalleryChart(TChartGalleryPanel& panel) : FPanel(panel) {
  SetAutoRepaint(false);
  Legend()->SetVisible(false);
  LeftAxis()->SetLabels(false);
  BottomAxis()->SetLabels(false);
  Title()->Font()->SetColor(clNavyTitle);
  Zoom()->SetAnimated(true);
  chart::TView3DOptions& view = *View3DOptions();
  view.SetOrthogonal(false);
  view.SetZoom(90);
  view.SetPerspective(55);
  view.SetRotation(335);
  view.SetElevation(350);
  SetChart3DPercent(100);
  SetClipPoints(false);
  Frame()->SetVisible(false);
  SetBevelWidth(2);
  SetBevelOuter(chart::bvNone);
  for (chart::TChartWall* wall : {LeftWall(), BottomWall()}) {
    wall->SetColor(chart::clWhite);
    wall->SetSize(4);
    wall->Pen()->SetColor(clGreyPen);
  }
  OnAfterDraw = [this] { DrawSubGalleryMark(); };
  FWindow = new TGalleryChartWindow(*this, &panel);
  SetAutoRepaint(true);
}

TGalleryChart::~TGalleryChart() {
  // The window goes first: it shows this chart.
  delete FWindow;
}

void TGalleryChart::SetChoosable(bool v) {
  FChoosable = v;
  FWindow->setCursor(v ? Qt::PointingHandCursor : Qt::ForbiddenCursor);
  if (v) return;
  Title()->Font()->SetColor(chart::clGray);
  for (chart::TChartWall* wall : {LeftWall(), BottomWall()}) wall->Pen()->SetColor(chart::clGray);
  for (chart::TChartAxis* axis : {LeftAxis(), BottomAxis()}) {
    axis->Axis()->SetColor(chart::clWhite);
    axis->Axis()->SetWidth(1);
  }
}

void TGalleryChart::DrawSubGalleryMark() {
  if (!FPanel.DisplaySub() || !HasGradient() || !Gradient()->Visible()) return;
  chart::TCanvas3D& canvas = Canvas();
  canvas.Brush().SetStyle(chart::bsSolid);
  canvas.Brush().SetColor(chart::clBlack);
  canvas.Pen().SetStyle(chart::psClear);
  const std::int32_t h = Height();
  const chart::TPoint mark[3] = {{4, h - 8}, {11, h - 8}, {7, h - 4}};
  canvas.Polygon(mark);
}

TGalleryChartWindow::TGalleryChartWindow(TGalleryChart& chart, QWidget* parent)
    : chart::TKivPanelWidget(chart, parent), FChart(chart) {
  setFocusPolicy(Qt::StrongFocus);
  setCursor(Qt::PointingHandCursor);
}

std::optional<QPoint> TGalleryChartWindow::TakePress() { return std::exchange(FPress, std::nullopt); }

void TGalleryChartWindow::paintEvent(QPaintEvent* event) {
  chart::TKivPanelWidget::paintEvent(event);
  if (!FHot || !FChart.Choosable()) return;
  // A raised frame under the mouse.
  QPainter painter(this);
  DrawRaisedFrame(painter, rect());
}

void TGalleryChartWindow::mousePressEvent(QMouseEvent* event) {
  event->accept();
  if (event->button() != Qt::LeftButton || !FChart.Choosable()) return;
  FPress = event->position().toPoint();
  ui::RunGuarded([&] { FChart.Panel().SelectChart(&FChart); });
}

void TGalleryChartWindow::mouseDoubleClickEvent(QMouseEvent* event) {
  event->accept();
  if (event->button() != Qt::LeftButton || !FChart.Choosable()) return;
  ui::RunGuarded([&] { FChart.Panel().ChooseChart(&FChart); });
}

void TGalleryChartWindow::mouseReleaseEvent(QMouseEvent* event) { event->accept(); }
void TGalleryChartWindow::mouseMoveEvent(QMouseEvent* event) { event->accept(); }
void TGalleryChartWindow::wheelEvent(QWheelEvent* event) { event->ignore(); }

void TGalleryChartWindow::keyPressEvent(QKeyEvent* event) {
  if (FChart.Panel().NoKeyForwarding) {
    // The pop-up's charts leave their keys to the pop-up.
    QWidget::keyPressEvent(event);
    return;
  }
  ui::RunGuarded([&] { FChart.Panel().KeyDown(event->key(), event->modifiers()); });
}

void TGalleryChartWindow::focusInEvent(QFocusEvent* event) {
  chart::TKivPanelWidget::focusInEvent(event);
  if (FChart.Choosable() && FChart.Ready()) ui::RunGuarded([&] { FChart.Panel().SelectChart(&FChart); });
}

void TGalleryChartWindow::enterEvent(QEnterEvent* event) {
  QWidget::enterEvent(event);
  FHot = true;
  update();
}

void TGalleryChartWindow::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  FHot = false;
  update();
}

int TChartList::IndexOf(const TGalleryChart* chart) const {
  for (int i = 0; i < Count(); ++i)
    if (FItems[static_cast<std::size_t>(i)].get() == chart) return i;
  return -1;
}

// --- the panel -------------------------------------------------------------------

TChartGalleryPanel::TChartGalleryPanel(QWidget* parent) : QWidget(parent) {
  setObjectName("ChartGalleryPanel");
  setFocusPolicy(Qt::StrongFocus);
}

TChartGalleryPanel::~TChartGalleryPanel() {
  delete FSubForm.data();
  ClearCharts();
}

void TChartGalleryPanel::SetNumRows(int v) {
  FNumRows = v;
  CalcCells();
  for (int i = 0; i < FCharts.Count(); ++i) PlaceChart(*FCharts[i], i);
}

void TChartGalleryPanel::SetNumCols(int v) {
  FNumCols = v;
  CalcCells();
  for (int i = 0; i < FCharts.Count(); ++i) PlaceChart(*FCharts[i], i);
}

void TChartGalleryPanel::SetView3D(bool v) {
  if (v == FView3D) return;
  FView3D = v;
  for (const auto& chart : FCharts) {
    PrepareView3D(*chart);
    SetMargins(*chart);
  }
}

void TChartGalleryPanel::CalcCells() {
  if (FNumRows >= 1 && FNumCols >= 1) {
    FCellHeight = (height() - Border()) / FNumRows;
    FCellWidth = (width() - Border()) / FNumCols;
  } else {
    FCellHeight = FCellWidth = 0;
  }
}

void TChartGalleryPanel::PlaceChart(TGalleryChart& chart, int index) {
  if (FNumCols < 1) return;
  const int col = index % FNumCols, row = index / FNumCols;
  const int w = std::max(0, std::min(FCellWidth, width() - Border()));
  const int h = std::max(0, std::min(FCellHeight, height() - Border()));
  chart.Window()->setGeometry(col * FCellWidth + Border(), row * FCellHeight + Border(), w, h);
  // The chart knows its size before its window is first shown.
  chart.SetBounds(w, h);
}

void TChartGalleryPanel::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  CalcCells();
  for (int i = 0; i < FCharts.Count(); ++i) PlaceChart(*FCharts[i], i);
}

void TChartGalleryPanel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(QPalette::Window));
  if (!BevelOuter) return;
  DrawRaisedFrame(painter, rect());
}

void TChartGalleryPanel::ClearCharts() {
  FSelected = nullptr;
  FCharts.Clear();
}

TGalleryChart* TChartGalleryPanel::ChartAt(int col, int row) const {
  if (FNumCols < 1 || col < 0 || col >= FNumCols || row < 0) return nullptr;
  const int index = row * FNumCols + col;
  return index < FCharts.Count() ? FCharts[index] : nullptr;
}

void TChartGalleryPanel::CreateGalleryPage(const std::string& page) {
  std::vector<const chart::TKivSeriesType*> kinds;
  const chart::TKivSeriesTypes& types = chart::KivSeriesTypesList();
  for (int i = 0; i < types.Count(); ++i) {
    const chart::TKivSeriesType& t = types.Get(i);
    if (t.GalleryPage == page && (t.FunctionClass != nullptr) == FunctionsOnly) kinds.push_back(&t);
  }
  const int n = static_cast<int>(kinds.size());
  if (FNumCols >= 1 && n > FNumRows * FNumCols)
    FNumRows = (n - 1) / FNumCols + 1;
  else
    FNumRows = 3;
  CalcCells();
  ClearCharts();
  for (const chart::TKivSeriesType* kind : kinds)
    AddSampleChart(kind->SeriesClass, kind->FunctionClass, std::max(1, kind->NumGallerySeries), kind->Description);
  if (const chart::TChartSeries* changing = ChangingSeries())
    for (const auto& chart : FCharts) {
      const chart::TChartSeries& first = *chart->Series(0);
      if (&first.ClassInfo() == &changing->ClassInfo() && first.FunctionType() == nullptr) {
        FSelected = chart.get();
        break;
      }
    }
  RefreshSelection();
}

TGalleryChart& TChartGalleryPanel::AddSampleChart(const classlib::TClassInfo* seriesClass,
                                                  const classlib::TClassInfo* functionClass, int seriesCount,
                                                  const std::string& title) {
  // A function kind is drawn over line series.
  if (seriesClass == nullptr) seriesClass = &chart::TLineSeries::StaticClassInfo();
  const int index = FCharts.Count();
  FCharts.Add(std::make_unique<TGalleryChart>(*this));
  TGalleryChart& chart = *FCharts[index];
  chart.SetAutoRepaint(false);
  chart.Title()->SetText(chart::SplitTokens(title));
  const std::string name = "KivGalleryChart" + std::to_string(index + 1);
  chart.SetName(name);
  chart.Window()->setObjectName(QString::fromStdString(name));
  PlaceChart(chart, index);
  for (int i = 0; i < seriesCount; ++i) chart::CreateChartSeries(&chart, chart, *seriesClass, functionClass);
  const chart::TChartSeries* changing = ChangingSeries();
  chart.SetChoosable(!(CheckCompatible && changing != nullptr && !chart.Series(0)->IsValidSourceOf(*changing)));
  PrepareView3D(chart);
  for (chart::TChartSeries* s : chart.SeriesList()) {
    s->FillSampleValues(0);
    s->PrepareForGallery(chart.Choosable());
  }
  SetMargins(chart);
  if (chart.AxisVisible() && chart.Series(0)->UseAxis()) {
    // Labels need room: only a gallery on the whole screen has it.
    const bool labels = window() != nullptr && window()->isMaximized();
    chart.LeftAxis()->SetLabels(labels);
    chart.BottomAxis()->SetLabels(labels);
  }
  chart.SetReady(true);
  chart.SetAutoRepaint(true);
  chart.Window()->show();
  return chart;
}

void TChartGalleryPanel::PrepareView3D(TGalleryChart& chart) {
  if (chart.SeriesCount() > 0) chart.Series(0)->SetChartView3D(FView3D);
}

void TChartGalleryPanel::SetMargins(TGalleryChart& chart) {
  const int margin = chart.View3D() ? 4 : 5;
  for (int i = 0; i < 4; ++i) chart.SetMargin(i, margin);
}

void TChartGalleryPanel::ApplyLook(TGalleryChart& chart, bool selected) {
  chart::TKivFont& font = *chart.Title()->Font();
  if (selected) {
    chart::TKivGradient& g = *chart.Gradient();
    g.SetVisible(true);
    g.SetDirection(chart::gdFromTopLeft);
    g.SetStartColor(0xC0C0C0);
    g.SetEndColor(chart::clWhite);
    chart.View3DOptions()->SetRotation(345);
    font.SetStyle(chart::FontStyleBit(chart::fsBold));
    font.SetColor(chart::clBlack);
    font.SetSize(9);
    chart.SetBevelOuter(chart::bvRaised);
  } else {
    if (chart.HasGradient()) chart.Gradient()->SetVisible(false);
    chart.SetBevelOuter(chart::bvNone);
    font.SetStyle(0);
    font.SetColor(chart.Choosable() ? clNavyTitle : chart::clGray);
    font.SetSize(chart::KivDefaultFontSize());
    chart.View3DOptions()->SetRotation(335);
  }
  PrepareView3D(chart);
}

void TChartGalleryPanel::RefreshSelection() {
  if (FSelected == nullptr)
    for (const auto& chart : FCharts)
      if (chart->Choosable()) {
        FSelected = chart.get();
        break;
      }
  for (const auto& chart : FCharts)
    if (chart.get() != FSelected) ApplyLook(*chart, false);
  if (FSelected == nullptr) return;
  ApplyLook(*FSelected, true);
  if (OnChangeChart) OnChangeChart();
}

bool TChartGalleryPanel::GetSelected(const classlib::TClassInfo*& seriesClass,
                                     const classlib::TClassInfo*& functionClass, int& subIndex) const {
  if (FSelected == nullptr || FSelected->SeriesCount() == 0) return false;
  const chart::TChartSeries& first = *FSelected->Series(0);
  seriesClass = &first.ClassInfo();
  functionClass = FunctionClassOf(first);
  subIndex = FSelected->Tag;
  return true;
}

void TChartGalleryPanel::SelectChart(TGalleryChart* chart) {
  if (chart == nullptr || !chart->Choosable()) return;
  const std::optional<QPoint> press = chart->Window()->TakePress();
  if (chart != FSelected) {
    FSelected = chart;
    RefreshSelection();
  }
  if (FDisplaySub && press && press->x() < SubMarkSize && press->y() >= chart->Window()->height() - SubMarkSize)
    ShowSubGallery();
}

void TChartGalleryPanel::ChooseChart(TGalleryChart* chart) {
  if (chart == nullptr || !chart->Choosable()) return;
  if (chart != FSelected) {
    FSelected = chart;
    RefreshSelection();
  }
  if (OnSelectedChart) OnSelectedChart();
}

void TChartGalleryPanel::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Return:
    case Qt::Key_Enter: ui::RunGuarded([&] { KeyDown(event->key(), event->modifiers()); }); break;
    default: QWidget::keyPressEvent(event); break;
  }
}

void TChartGalleryPanel::KeyDown(int key, Qt::KeyboardModifiers modifiers) {
  if (key == Qt::Key_Down && (modifiers & Qt::AltModifier) != 0) {
    if (FDisplaySub) ShowSubGallery();
    return;
  }
  if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    if (FSelected != nullptr && OnSelectedChart) OnSelectedChart();
    return;
  }
  const int index = FCharts.IndexOf(FSelected);
  if (index < 0 || FNumCols < 1) return;
  int col = index % FNumCols, row = index / FNumCols;
  switch (key) {
    case Qt::Key_Left: --col; break;
    case Qt::Key_Right: ++col; break;
    case Qt::Key_Up: --row; break;
    case Qt::Key_Down: ++row; break;
    default: return;
  }
  TGalleryChart* next = ChartAt(col, row);
  if (next == nullptr || !next->Choosable()) return;
  FSelected = next;
  RefreshSelection();
  if (hasFocus() || (QApplication::focusWidget() != nullptr && isAncestorOf(QApplication::focusWidget())))
    next->Window()->setFocus();
}

// --- the pop-up gallery --------------------------------------------------------------

void TChartGalleryPanel::ShowSubGallery() {
  if (FSelected == nullptr) return;
  delete FSubForm.data();
  TGalleryChart& main = *FSelected;
  ApplyLook(main, false);
  const chart::TChartSeries& first = *main.Series(0);
  const classlib::TClassInfo& seriesClass = first.ClassInfo();
  const classlib::TClassInfo* functionClass = FunctionClassOf(first);

  auto* form = new QDialog(this, Qt::Dialog | Qt::FramelessWindowHint);
  form->setObjectName("SubGallery");
  FSubForm = form;
  auto* top = new TSubGalleryTop(*form);
  auto* sub = new TChartGalleryPanel(form);
  sub->setObjectName("SubGalleryPanel");
  FSubPanel = sub;
  sub->SetDisplaySub(false);
  sub->NoKeyForwarding = true;
  sub->FView3D = FView3D;
  sub->FNumCols = FNumCols;
  auto* layout = new QVBoxLayout(form);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(top);
  layout->addWidget(sub, 1);

  // One chart for each sub-style the kind names.
  std::vector<std::string> names;
  {
    std::unique_ptr<classlib::TPersistent> made(seriesClass.Create(nullptr));
    if (auto* kind = dynamic_cast<chart::TChartSeries*>(made.get()))
      kind->ListSubStyles([&names](const std::string& name) { names.push_back(name); });
  }
  const int rows = FNumCols >= 1 ? std::max(1, (static_cast<int>(names.size()) + FNumCols - 1) / FNumCols) : 1;
  sub->FNumRows = rows;
  form->resize(width(), FCellHeight * rows + 8);
  sub->resize(width(), form->height() - SubMarkSize);
  sub->CalcCells();
  for (std::size_t i = 0; i < names.size(); ++i) {
    TGalleryChart& chart = sub->AddSampleChart(&seriesClass, functionClass, main.SeriesCount(), names[i]);
    for (chart::TChartSeries* s : chart.SeriesList()) s->ApplySubStyle(static_cast<int>(i));
  }
  sub->RefreshSelection();
  sub->OnSelectedChart = [this, form, sub, &main] {
    SubChosen(*sub, main);
    form->accept();
  };

  // Just below the chart's bottom left corner, kept on the screen.
  QPoint at = main.Window()->mapToGlobal(QPoint(0, main.Window()->height()));
  if (const QScreen* screen = this->screen()) {
    const QRect area = screen->availableGeometry();
    if (at.x() + form->width() > area.right()) at.rx() -= form->width() + 2;
    if (at.y() + form->height() > area.bottom()) at.ry() -= form->height() + 2;
    at.rx() = std::max(at.x(), area.left());
    at.ry() = std::max(at.y(), area.top());
  }
  form->move(at);
  sub->setFocus();
  const int result = ui::ShowModal(*form);
  FSubPanel = nullptr;
  delete form;
  if (result == QDialog::Accepted && OnSubSelected) OnSubSelected();
  RefreshSelection();
}

void TChartGalleryPanel::SubChosen(TChartGalleryPanel& sub, TGalleryChart& main) {
  const int index = sub.FCharts.IndexOf(sub.FSelected);
  if (index < 0) return;
  main.Tag = index;
  if (index == 0) {
    RebuildPlain(main);
    return;
  }
  for (chart::TChartSeries* s : main.SeriesList()) s->ApplySubStyle(index);
}

void TChartGalleryPanel::RebuildPlain(TGalleryChart& chart) {
  const chart::TChartSeries& first = *chart.Series(0);
  const classlib::TClassInfo& seriesClass = first.ClassInfo();
  const classlib::TClassInfo* functionClass = FunctionClassOf(first);
  const int count = chart.SeriesCount();
  chart.FreeAllSeries();
  for (int i = 0; i < count; ++i) chart::CreateChartSeries(&chart, chart, seriesClass, functionClass);
  PrepareView3D(chart);
  for (chart::TChartSeries* s : chart.SeriesList()) {
    s->FillSampleValues(0);
    s->PrepareForGallery(chart.Choosable());
  }
}

}  // namespace chart_editors
