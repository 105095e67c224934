// The discrete signal series' editor page.
//
// Tested by: analysis_ui/tests/SignalDiscreteSeriesEditTest.cpp
#include "analysis_ui/SignalDiscreteSeriesEdit.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

#include "chart_editors/KivPoEdi.h"
#include "platform/ui/Guarded.h"

namespace analysis_ui {

using chart_editors::CreateControl;

TSignalDiscreteSeriesEditor::TSignalDiscreteSeriesEditor(QWidget* owner)
    : chart_editors::TEditorForm(owner), FSeries([this](TSignalDiscreteSeries*) {
        // The buttons draw from the series: they must let go of it with the editor.
        BAreaColor->LinkProperty(nullptr, "");
        BAreaLinesPen->LinkPen(nullptr);
        EnableControls();
      }) {
  setObjectName("SignalDiscreteSeriesEditor");
  // Quiet until a series fills it.
  SetFilling(true);

  GBColor = CreateControl<QGroupBox>(this, "GBColor", "Color:");
  CBColorEach = CreateControl<QCheckBox>(GBColor, "CBColorEach", "Color &Each");
  BAreaColor = CreateControl<chart::TButtonColor>(GBColor, "BAreaColor", "&Color...");
  CBUseOrigin = CreateControl<QCheckBox>(this, "CBUseOrigin", "&Use Origin");
  LOrigin = CreateControl<QLabel>(this, "LOrigin", "&Origin:");
  UDOrigin = chart_editors::CreateUpDownEdit(this, "EOrigin", "UDOrigin", -OriginLimit, OriginLimit);
  EOrigin = UDOrigin->findChild<QLineEdit*>("EOrigin");
  UDOrigin->setValue(0);
  LOrigin->setBuddy(UDOrigin);
  BAreaLinesPen = CreateControl<chart_editors::TButtonPen>(this, "BAreaLinesPen", "&Lines...");

  auto* colour = new QVBoxLayout(GBColor);
  colour->addWidget(CBColorEach);
  colour->addWidget(BAreaColor);
  auto* origin = new QGridLayout;
  origin->addWidget(CBUseOrigin, 0, 0, 1, 2);
  origin->addWidget(LOrigin, 1, 0);
  origin->addWidget(UDOrigin, 1, 1);
  origin->addWidget(BAreaLinesPen, 2, 0, 1, 2);
  origin->setRowStretch(3, 1);
  auto* form = new QHBoxLayout(this);
  form->addWidget(GBColor, 0, Qt::AlignTop);
  form->addLayout(origin);
  form->addStretch(1);

  connect(CBColorEach, &QCheckBox::toggled, this, ui::Guarded([this](bool on) {
            if (!Filling() && FSeries) FSeries->SetColorEachPoint(on);
            EnableControls();
          }));
  connect(CBUseOrigin, &QCheckBox::toggled, this, ui::Guarded([this](bool on) {
            if (!Filling() && FSeries) FSeries->SetUseYOrigin(on);
            EnableControls();
          }));
  connect(UDOrigin, &QSpinBox::valueChanged, this, ui::Guarded([this](int v) {
            if (!Filling() && Shown() && FSeries) FSeries->SetYOrigin(v);
          }));
}

void TSignalDiscreteSeriesEditor::FormShow() {
  {
    TFillingScope filling(*this);
    FSeries.Set(dynamic_cast<TSignalDiscreteSeries*>(Tag()));
    if (TSignalDiscreteSeries* series = FSeries.Get()) {
      CBColorEach->setChecked(series->ColorEachPoint());
      CBUseOrigin->setChecked(series->UseYOrigin());
      // The up-down holds whole numbers only: the origin shows rounded and
      // stays as it is until the user moves it.
      const double origin = std::clamp(std::nearbyint(series->YOrigin()), double(-OriginLimit), double(OriginLimit));
      UDOrigin->setValue(static_cast<int>(origin));
      BAreaLinesPen->LinkPen(series->LinePen());
      BAreaColor->LinkProperty(series, "SeriesColor");
    }
    EnableControls();
  }
  SetFilling(false);
  if (FSeries) chart_editors::InsertPointerEditorPage(this, FSeries.Get(), "Pointer");
}

void TSignalDiscreteSeriesEditor::EnableControls() {
  const bool series = static_cast<bool>(FSeries);
  for (QWidget* c : {static_cast<QWidget*>(CBColorEach), static_cast<QWidget*>(CBUseOrigin),
                     static_cast<QWidget*>(BAreaLinesPen)})
    c->setEnabled(series);
  BAreaColor->setEnabled(series && !CBColorEach->isChecked());
  const bool origin = series && CBUseOrigin->isChecked();
  LOrigin->setEnabled(origin);
  UDOrigin->setEnabled(origin);
}

void RegisterSignalDiscreteSeriesEdit() {
  chart_editors::RegisterEditorForm("TSignalDiscreteSeriesEditor",
                                    chart_editors::EditorFormFactory<TSignalDiscreteSeriesEditor>());
}

void UnregisterSignalDiscreteSeriesEdit() { chart_editors::UnRegisterEditorForm("TSignalDiscreteSeriesEditor"); }

}  // namespace analysis_ui
