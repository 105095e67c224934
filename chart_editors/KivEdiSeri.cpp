// The series editor: its top panel and pages, choosing a series, the pages'
// changes and their veto, the embedded forms and the chart's events. The
// pages' contents are KivEdiSeriPages.cpp and KivEdiSeriData.cpp.
//
// Tested by: chart_editors/tests/SeriesEditorTest.cpp
#include "chart_editors/KivEdiSeri.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>
#include <QTabBar>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

#include "chart/canvas/KivCanvasQt.h"
#include "chart/canvas/KivGraphics.h"
#include "chart/canvas/KivProcsGraphics.h"
#include "chart/series/SeriesRegistry.h"
#include "chart/series/SeriesSource.h"
#include "chart/widgets/KivProcsWidgets.h"
#include "chart_editors/KivLisB.h"
#include "platform/ui/Colors.h"
#include "platform/ui/Guarded.h"

namespace chart_editors {

using chart::TChartSeries;

// --- the colour box and the source buttons ------------------------------------

TSeriesColorBox::TSeriesColorBox(QWidget* parent) : QWidget(parent) {
  setCursor(Qt::PointingHandCursor);
  setFixedSize(sizeHint());
}

void TSeriesColorBox::SetSeries(TChartSeries* series) {
  FSeries.Set(series);
  update();
}

void TSeriesColorBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(QPalette::Window));
  TChartSeries* series = Series();
  if (series == nullptr) return;
  ui::RunGuarded([&] {
    chart::TCanvas face(painter);
    chart::DrawSeriesLegendSymbol(*series, face, {0, 0, width(), height()});
  });
}

void TSeriesColorBox::mouseReleaseEvent(QMouseEvent* event) {
  QWidget::mouseReleaseEvent(event);
  TChartSeries* series = Series();
  if (series == nullptr || event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint())) return;
  ui::RunGuarded([&] {
    chart::TColor color = series->SeriesColor();
    if (!chart::EditColorDialog(this, color)) return;
    series->SetSeriesColor(color);
    update();
  });
}

void TDataSourceButton::connectNotify(const QMetaMethod& signal) {
  if (signal == QMetaMethod::fromSignal(&QPushButton::clicked)) ++FClickHandlers;
  QPushButton::connectNotify(signal);
}

void TDataSourceButton::disconnectNotify(const QMetaMethod& signal) {
  // Qt tells of a disconnection of every signal with an invalid method.
  if (signal == QMetaMethod::fromSignal(&QPushButton::clicked) || !signal.isValid())
    FClickHandlers = std::max(0, FClickHandlers - 1);
  QPushButton::disconnectNotify(signal);
}

// --- the form --------------------------------------------------------------------

TFormKivSeries::TFormKivSeries(QWidget* owner) : TEditorForm(owner) {
  setObjectName("FormKivSeries");
  setWindowTitle("Editing Series");
  SetFilling(true);

  Panel1 = CreateControl<QWidget>(this, "Panel1");
  ImageSeries = CreateControl<QLabel>(Panel1, "ImageSeries");
  ImageSeries->setFixedSize(24, 24);
  LabelSeriesClass = CreateControl<QLabel>(Panel1, "LabelSeriesClass");
  CBSeries = CreateControl<chart::TComboFlat>(Panel1, "CBSeries");
  CBSeries->setMinimumWidth(160);
  PaintBox1 = CreateControl<TSeriesColorBox>(Panel1, "PaintBox1");
  Panel3 = CreateControl<QWidget>(Panel1, "Panel3");
  CBPersistent = CreateControl<QCheckBox>(Panel3, "CBPersistent", "Persistent");
  CBPersistent->hide();
  auto* persistent = new QHBoxLayout(Panel3);
  persistent->setContentsMargins(0, 0, 0, 0);
  persistent->addWidget(CBPersistent);
  auto* top = new QHBoxLayout(Panel1);
  top->setContentsMargins(0, 0, 0, 0);
  top->addWidget(ImageSeries);
  top->addWidget(LabelSeriesClass, 1);
  top->addWidget(Panel3);
  top->addWidget(CBSeries);
  top->addWidget(PaintBox1);

  PageSeries = CreateControl<QTabWidget>(this, "PageSeries");
  auto page = [this](const char* name, const char* caption) {
    QWidget* w = CreateControl<QWidget>(PageSeries, name);
    PageSeries->addTab(w, caption);
    return w;
  };
  TheTabSheet = page("TheTabSheet", "Format");
  TabGeneral = page("TabGeneral", "General");
  TabMarks = page("TabMarks", "Marks");
  TabDataSource = page("TabDataSource", "Data Source");
  // The kind's own editor fills its page.
  (new QVBoxLayout(TheTabSheet))->setContentsMargins(0, 0, 0, 0);
  BuildGeneralPage();
  BuildMarksPage();
  BuildDataSourcePage();

  auto* form = new QVBoxLayout(this);
  form->addWidget(Panel1);
  form->addWidget(PageSeries, 1);
  resize(480, 420);

  // A page change waits for the data-source editor's answer: the tab bar's
  // clicks, keys and wheel, and the tab widget's own keys, ask it first.
  PageSeries->tabBar()->installEventFilter(this);
  PageSeries->installEventFilter(this);
  connect(PageSeries, &QTabWidget::currentChanged, this, ui::Guarded([this] { PageSeriesChange(); }));
  connect(CBSeries, &QComboBox::activated, this, ui::Guarded([this] { CBSeriesChange(); }));
  connect(CBPersistent, &QCheckBox::toggled, this, ui::Guarded([this](bool on) {
            if (Filling() || TheSeries() == nullptr) return;
            const auto style = TheSeries()->Style();
            TheSeries()->SetStyle(static_cast<chart::TChartSeriesStyle>(on ? style | 16 : style & ~16));
          }));
  ConnectGeneralPage();
  ConnectMarksPage();
  ConnectDataSourcePage();

  PageSeries->setCurrentWidget(TheTabSheet);
  PageControlMarks->setCurrentWidget(TabSheet1);
  CBSeries->setFocus();
}

TFormKivSeries::~TFormKivSeries() {
  FDestroying = true;
  // Leaving: an embedded editor with something not applied gives it up.
  if (FDataSourceEditor) FDataSourceEditor->BApply->setEnabled(false);
  FreeEmbeddedForms();
  FListening.Listen(nullptr);
}

void TFormKivSeries::FormShow() {
  SetFilling(false);
  chart::CallOptionalGlobalHook(*this);
}

// --- choosing a series -------------------------------------------------------------

void TFormKivSeries::CBSeriesChange() {
  TChartSeries* chosen = ComboObject<TChartSeries>(*CBSeries, CBSeries->currentIndex());
  // An editor with a change not applied to the series shown keeps it, if the user says so.
  if (chosen != TheSeries() && !CloseDataSourceEditor()) {
    TFillingScope filling(*this);
    CBSeries->setCurrentIndex(FindComboObject(*CBSeries, TheSeries()));
    return;
  }
  ChooseSeries(chosen);
}

void TFormKivSeries::ChooseSeries(TChartSeries* series) {
  TFillingScope filling(*this);
  FChoosing = true;
  struct TChoosing {
    bool& Flag;
    ~TChoosing() { Flag = false; }
  } choosing{FChoosing};

  const QString caption = PageSeries->currentIndex() >= 0 ? PageSeries->tabText(PageSeries->currentIndex()) : QString();
  FSeries.Set(series);
  PaintBox1->SetSeries(series);
  if (series == nullptr) {
    FreeEmbeddedForms();
    ImageSeries->hide();
    LabelSeriesClass->clear();
    PageSeries->hide();
    FPrevious = nullptr;
    return;
  }
  if (FSeriesListBox) {
    ClearListSelection(*FSeriesListBox);
    SelectListObject(*FSeriesListBox, series);
  }
  if (series != FPrevious) FillSeriesTop(*series);

  FreeEmbeddedForms();
  const std::string editorClass = GetSeriesEditorClass(*series);
  ShowPage(TheTabSheet, !editorClass.empty());
  if (!editorClass.empty()) AddEmbeddedForm(CreateEditorForm(editorClass, this), TheTabSheet, series);

  QWidget* page = PageOfCaption(caption);
  if (page == nullptr || (page == TabDataSource && !PageShown(TabDataSource))) page = TheTabSheet;
  if (!PageShown(page)) page = TabGeneral;
  if (!PageShown(page))
    for (int i = 0; i < PageSeries->count() && !PageShown(page); ++i) page = PageSeries->widget(i);
  PageSeries->setCurrentWidget(page);

  CBDataSourcestyle->setCurrentIndex(-1);
  FillActivePage();
  PaintBox1->update();
  FPrevious = series;
}

void TFormKivSeries::FillSeriesTop(TChartSeries& series) {
  FListening.Listen(series.ParentChart());
  // The first three stay; every source kind the chart can use follows, once.
  while (CBDataSourcestyle->count() > 3) CBDataSourcestyle->removeItem(3);
  for (const classlib::TClassInfo* kind : chart::RegisteredSourcesList()) {
    std::unique_ptr<classlib::TPersistent> made(kind->Create(nullptr));
    auto* source = dynamic_cast<chart::TKivSeriesSource*>(made.get());
    if (source == nullptr || !source->Available() || FindComboObject(*CBDataSourcestyle, kind) >= 0) continue;
    AddComboObject(*CBDataSourcestyle, QString::fromStdString(source->Description()), kind);
  }
  chart::TBitmap bitmap;
  if (chart::LoadObjectClassBitmap(bitmap, series))
    ImageSeries->setPixmap(QPixmap::fromImage(bitmap.Image()));
  else
    ImageSeries->clear();
  PaintBox1->setVisible(!series.ColorEachPoint());
  QString kind = QString::fromStdString(chart::SeriesTypeDescription(series));
  kind.replace(QLatin1Char('\r'), QLatin1Char(' '));
  LabelSeriesClass->setText(kind + ": " + QString::fromStdString(chart::SeriesTitleOrName(series)));
  ImageSeries->show();
  PageSeries->show();
  ShowPage(TabGeneral, ShowTabGeneral);
  ShowPage(TabMarks, ShowTabMarks);
  ShowPage(TabDataSource, ShowTabDataSource && (series.Style() & (1 | 32)) == 0);
  GBHorizAxis->setVisible(series.UseAxis());
  GBVertAxis->setVisible(series.UseAxis());
  CBPersistent->setVisible(ShowTabPersistent && (series.Style() & 1) == 0);
  if (!CBPersistent->isHidden()) CBPersistent->setChecked((series.Style() & 16) != 0);
}

QWidget* TFormKivSeries::PageOfCaption(const QString& caption) const {
  if (caption.isEmpty()) return nullptr;
  for (int i = 0; i < PageSeries->count(); ++i)
    if (PageSeries->tabText(i) == caption) return PageSeries->widget(i);
  return nullptr;
}

bool TFormKivSeries::PageShown(QWidget* page) const {
  const int index = PageSeries->indexOf(page);
  return index >= 0 && PageSeries->isTabVisible(index);
}

void TFormKivSeries::ShowPage(QWidget* page, bool visible) { PageSeries->setTabVisible(PageSeries->indexOf(page), visible); }

// --- the pages' changes ------------------------------------------------------------

void TFormKivSeries::PageSeriesChange() {
  if (!FChoosing) FillActivePage();
  FIgnoreChanges = false;
}

bool TFormKivSeries::PageSeriesChanging() {
  bool allowed = true;
  if (FDataSourceEditor) {
    allowed = false;
    ui::RunGuarded([&] { allowed = FDataSourceEditor->CloseQuery(); });
  }
  FIgnoreChanges = allowed;
  return allowed;
}

bool TFormKivSeries::CloseQuery() {
  if (!FDataSourceEditor) return true;
  return FDataSourceEditor->CloseQuery();
}

void TFormKivSeries::FillActivePage() {
  if (TheSeries() == nullptr) return;
  QWidget* page = PageSeries->currentWidget();
  if (page == TabGeneral)
    FillGeneralPage();
  else if (page == TabMarks)
    FillMarksPage();
  else if (page == TabDataSource)
    FillDataSourcePage();
}

bool TFormKivSeries::eventFilter(QObject* watched, QEvent* event) {
  bool veto = false;
  const auto ask = [&] { veto = !PageSeriesChanging(); };
  QTabBar* bar = PageSeries->tabBar();
  if (watched == bar) {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonDblClick: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const int index = bar->tabAt(mouse->position().toPoint());
        if (mouse->button() == Qt::LeftButton && index >= 0 && index != bar->currentIndex()) ask();
        break;
      }
      case QEvent::KeyPress:
        switch (static_cast<QKeyEvent*>(event)->key()) {
          case Qt::Key_Left:
          case Qt::Key_Right:
          case Qt::Key_Up:
          case Qt::Key_Down:
          case Qt::Key_Home:
          case Qt::Key_End:
          case Qt::Key_PageUp:
          case Qt::Key_PageDown: ask(); break;
          default: break;
        }
        break;
      case QEvent::Wheel: ask(); break;
      default: break;
    }
  } else if (watched == PageSeries && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    const bool ctrl = (key->modifiers() & Qt::ControlModifier) != 0;
    if (ctrl && (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab || key->key() == Qt::Key_PageUp ||
                 key->key() == Qt::Key_PageDown))
      ask();
  }
  return veto || TEditorForm::eventFilter(watched, event);
}

// --- embedded forms --------------------------------------------------------------

TEditorForm* TFormKivSeries::InsertSeriesForm(const std::string& editorClass, int pageIndex,
                                              classlib::TPersistent* tag, const QString& caption) {
  auto* page = new QWidget;
  page->setObjectName("Tab" + caption);
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(0, 0, 0, 0);
  PageSeries->insertTab(pageIndex, page, caption);
  return AddEmbeddedForm(CreateEditorForm(editorClass, this), page, tag);
}

TEditorForm* TFormKivSeries::AddEmbeddedForm(TEditorForm* form, QWidget* page, classlib::TPersistent* tag) {
  form->SetAlignClient(true);
  FEmbedded.emplace_back(form);
  chart::CallOptionalGlobalHook(*form);
  EmbedEditorForm(*form, page, tag);
  return form;
}

void TFormKivSeries::FreeEmbeddedForms() {
  // Taken first: a form may insert or free others as it goes.
  std::vector<QPointer<TEditorForm>> forms;
  forms.swap(FEmbedded);
  for (const QPointer<TEditorForm>& form : forms) {
    if (!form) continue;
    QWidget* page = form->parentWidget();
    const int index = PageSeries->indexOf(page);
    delete form.data();
    if (index > 0 && page != TheTabSheet) {
      PageSeries->removeTab(index);
      delete page;
    }
  }
  CloseDataSourceEditor();
}

bool TFormKivSeries::CloseDataSourceEditor() {
  if (!FDataSourceEditor) return true;
  bool agrees = false;
  ui::RunGuarded([&] { agrees = FDataSourceEditor->CloseQuery(); });
  if (agrees) delete FDataSourceEditor.data();
  return agrees;
}

// --- the chart's events --------------------------------------------------------------

void TFormKivSeries::KivEvent(chart::TKivEvent& event) {
  auto* e = dynamic_cast<chart::TKivSeriesEvent*>(&event);
  if (FDestroying || e == nullptr) return;
  ui::RunGuarded([&] {
    if (e->Event == chart::seChangeColor) {
      PaintBox1->update();
    } else if (e->Event == chart::seRemove && e->Series != nullptr) {
      // A series that goes leaves no item to choose it by.
      {
        TFillingScope filling(*this);
        RemoveComboObject(*CBSeries, e->Series);
      }
      if (e->Series != TheSeries()) return;
      // Nothing to apply any more, and nothing to ask.
      if (FDataSourceEditor) FDataSourceEditor->BApply->setEnabled(false);
      if (FMarksShape != nullptr) FMarksShape->SetShape(nullptr);
      BMarkLinCol->LinkPen(nullptr);
      ChartGrid1->SetSeries(nullptr);
      FreeEmbeddedForms();
      FSeries.Set(nullptr);
      CBSeries->setCurrentIndex(-1);
      ChooseSeries(nullptr);
    }
  });
}

std::string GetSeriesEditorClass(const TChartSeries& series) {
  std::string name = series.EditorClassName();
  return !name.empty() && EditorFormRegistered(name) ? name : std::string();
}

}  // namespace chart_editors
