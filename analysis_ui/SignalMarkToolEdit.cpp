// The signal mark cursor's editor form.
//
// Tested by: analysis_ui/tests/MarkToolEditorsTest.cpp
#include <QGridLayout>

#include "analysis_ui/MarkToolEditors.h"
#include "platform/ui/Guarded.h"

namespace analysis_ui {

using chart_editors::CreateControl;

TSignalMarkToolEditor::TSignalMarkToolEditor(QWidget* owner) : TCursorMarkToolEditor(owner) {
  setObjectName("SignalMarkToolEditor");
  setWindowTitle("SignalMarkToolEditor");
  SpectrumLabel->setText("Signal:");
  MarkModeBox->addItems({"Maximum", "Minimum", "Zero crossing", "Free style"});
  auto& config = *static_cast<QGridLayout*>(Configuration->layout());
  ClearMarksDblClickBox = CreateControl<QCheckBox>(Configuration, "ClearMarksDblClickBox", "Clear marks on double click");
  SpeedButton1 = CreateControl<QPushButton>(Configuration, "SpeedButton1", "Clear peaks");
  config.addWidget(ClearMarksDblClickBox, 4, 0, 1, 2);
  config.addWidget(SpeedButton1, 5, 0);

  auto& format = *static_cast<QGridLayout*>(FormatGroup->layout());
  TimeLabel = CreateControl<QLabel>(FormatGroup, "TimeLabel", "Time");
  TimeEdit = CreateControl<QLineEdit>(FormatGroup, "TimeEdit", "0.00#");
  TimeLabel->setBuddy(TimeEdit);
  format.addWidget(TimeLabel, 1, 0);
  format.addWidget(TimeEdit, 1, 1);

  using T = TSignalMarkTool;
  connect(MarkModeBox, &QComboBox::activated, this, ui::Guarded([this](int i) {
            Edit<T>([i](T& t) { t.SetMarkMode(static_cast<TSignalMarkMode>(i)); });
          }));
  connect(ClearMarksDblClickBox, &QCheckBox::toggled, this,
          ui::Guarded([this](bool on) { Edit<T>([on](T& t) { t.SetDoubleClickClear(on); }); }));
  connect(SpeedButton1, &QPushButton::clicked, this, ui::Guarded([this] { Edit<T>([](T& t) { t.ClearMarks(); }); }));
  connect(AmplitudeEdit, &QLineEdit::textChanged, this, ui::Guarded([this](const QString& s) {
            Edit<T>([&](T& t) { t.SetAmpltFormat(s.toStdString()); });
          }));
  connect(TimeEdit, &QLineEdit::textChanged, this, ui::Guarded([this](const QString& s) {
            Edit<T>([&](T& t) { t.SetTimeFormat(s.toStdString()); });
          }));
}

TCursorMarkTool* TSignalMarkToolEditor::ToolOf(classlib::TPersistent* tag) const {
  return dynamic_cast<TSignalMarkTool*>(tag);
}

void TSignalMarkToolEditor::FillControls() {
  const auto& tool = static_cast<const TSignalMarkTool&>(*Tool());
  MarkModeBox->setCurrentIndex(tool.MarkMode());
  ClearMarksDblClickBox->setChecked(tool.DoubleClickClear());
  AmplitudeEdit->setText(QString::fromStdString(tool.AmpltFormat()));
  TimeEdit->setText(QString::fromStdString(tool.TimeFormat()));
}

}  // namespace analysis_ui
