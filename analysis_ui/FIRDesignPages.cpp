// The filter design form's pages: their controls, captions, items, formats
// and bounds, and where they sit.
//
// Tested by: analysis_ui/tests/FIRDesignTest.cpp
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "analysis_ui/EditorControls.h"
#include "analysis_ui/FIRDesign.h"
#include "analysis_ui/MtxFloatEdit.h"
#include "analysis_ui/MtxGridView.h"

namespace analysis_ui {

using namespace editor_controls;

namespace {

constexpr const char* SignedFormat = "0.00#;-0.00#";
constexpr const char* EdgeFrequencyFormat = " 0.00#;-0.00#";

// Rows of caption and control (and a third column) in a grid.
class TRows {
 public:
  explicit TRows(QWidget* owner) : FOwner(owner), FGrid(new QGridLayout(owner)) {
    FGrid->setHorizontalSpacing(6);
    FGrid->setVerticalSpacing(3);
    FGrid->setContentsMargins(6, 4, 6, 4);
  }
  QGridLayout* Grid() const { return FGrid; }
  // Adds control under a caption label named LabelName (the control's
  // name + "Label" when empty); the label is returned through Label.
  template <class T>
  T* Add(T* control, const char* caption, QLabel** Label = nullptr, const char* LabelName = nullptr,
         QWidget* third = nullptr) {
    const QString name = LabelName != nullptr ? QString(LabelName) : control->objectName() + "Label";
    QLabel* label = NewLabel(FOwner, name, caption);
    label->setBuddy(control);
    FGrid->addWidget(label, FRow, 0);
    FGrid->addWidget(control, FRow, 1);
    if (third != nullptr) FGrid->addWidget(third, FRow, 2);
    if (Label != nullptr) *Label = label;
    ++FRow;
    return control;
  }
  // A control over all columns.
  template <class T>
  T* Wide(T* control) {
    FGrid->addWidget(control, FRow++, 0, 1, 3);
    return control;
  }
  void Finish() {
    FGrid->setRowStretch(FRow, 1);
    FGrid->setColumnStretch(1, 1);
  }

 private:
  QWidget* FOwner;
  QGridLayout* FGrid;
  int FRow = 0;
};

QGroupBox* NewGroup(QWidget* parent, const char* name, const char* caption) {
  auto* group = new QGroupBox(caption, parent);
  group->setObjectName(name);
  return group;
}

}  // namespace

void TFIRDesignForm::CreateParametersPage(QWidget* p) {
  auto* layout = new QHBoxLayout(p);
  layout->setContentsMargins(4, 4, 4, 4);

  QGroupBox* type = NewGroup(p, "FilterTypeGroup", "Filter type");
  TRows rows(type);
  FResponseBox = rows.Add(NewCombo(type, "ResponseBox",
                                   {"Unit", "Fir", "Differentiator", "Differentiator 2x", "Integrator",
                                    "Integrator 2x", "Hilbert", "Iir", "Savitzky-Golay", "Moving average", "Median",
                                    "Envelope detector", "Wavelet", "Integer delay"}),
                          "Response:");
  FFirMethodEdit = rows.Add(NewCombo(type, "FirMethodEdit", {"Window", "Parks-McClellan"}), "Fir method:");
  // A grid finer than a thousand points a tap only costs memory.
  FGridDensityEdit = rows.Add(NewEdit(type, "GridDensityEdit", IntegerFormat, "1", "1000"), "Grid:", &FGridLabel,
                              "GridLabel");
  FNormalizedFrequencyEdit = rows.Add(NewEdit(type, "NormalizedFrequencyEdit", EdgeFrequencyFormat),
                                      "Normalized frequency:");
  FNormalizedFrequencyEdit->SetIncrement("1");
  FAutoLengthBox = NewCheck(type, "AutoLengthBox", "Auto length");
  FFirLengthEdit = rows.Add(NewEdit(type, "FirLengthEdit", IntegerFormat, "1", "10000"), "Length:", &FLengthLabel,
                            "LengthLabel", FAutoLengthBox);
  FAutoOrderbox = NewCheck(type, "AutoOrderbox", "Auto order");
  FPolyOrderEdit = rows.Add(NewEdit(type, "PolyOrderEdit", IntegerFormat, "1", "50"), "Poly order: ", &FPolyLabel,
                            "PolyLabel", FAutoOrderbox);
  FIirMethodEdit = rows.Add(NewCombo(type, "IirMethodEdit",
                                     {"Butterworth", "Chebyshev I", "Chebyshev II", "Elliptic", "DC filter", "Notch",
                                      "Bessel"}),
                            "Iir method:");
  FIirFrequencyTransformBox = rows.Add(
      NewCombo(type, "IirFrequencyTransformBox", {"State-space analog", "Zero-pole analog", "Zero-pole discrete"}),
      "Iir transform:");
  rows.Finish();
  layout->addWidget(type, 3);

  auto* right = new QVBoxLayout;
  QGroupBox* window = NewGroup(p, "WindowGroup", "Window method");
  TRows windowRows(window);
  FWindowEdit = windowRows.Add(NewCombo(window, "WindowEdit",
                                        {"Rectangular", "Hanning", "Hamming", "FlatTop", "Bartlet", "Blackman",
                                         "BlackmanHarris", "BlackmanExact", "CosineTappered", "Kaiser", "Chebyshev"}),
                               "Window:");
  FBetaEdit = windowRows.Add(NewEdit(window, "BetaEdit", SignedFormat), "Beta:");
  FBetaEdit->SetIncrement("1");
  FIgnoreAttBox = windowRows.Wide(NewCheck(window, "IgnoreAttBox", "Ignore att."));
  windowRows.Finish();
  right->addWidget(window);

  QGroupBox* wavelets = NewGroup(p, "WaveletsGroup", "Wavelets");
  TRows waveletRows(wavelets);
  FWavltEdit = waveletRows.Add(NewCombo(wavelets, "WavltEdit",
                                        {"Haar", "Daublet", "Symlet", "Coiflet", "Vaidyanthan", "BSpline",
                                         "BSpline dual", "LinSpline", "QuadSpline"}),
                               "Wavelet:");
  FWavltDecompEdit = waveletRows.Add(NewCombo(wavelets, "WavltDecompEdit", {"Approx", "Detail"}), "Decompositions:",
                                     &FWavltDecompLabel, "WavltDecompLabel");
  FWavltEdit1 = waveletRows.Add(NewEdit(wavelets, "WavltEdit1", IntegerFormat), "Par 1:", &FWavltLabel1,
                                "WavltLabel1");
  FWavltEdit2 = waveletRows.Add(NewEdit(wavelets, "WavltEdit2", IntegerFormat), "Par 2:", &FWavltLabel2,
                                "WavltLabel2");
  waveletRows.Finish();
  right->addWidget(wavelets);
  layout->addLayout(right, 2);
}

void TFIRDesignForm::CreateDesignerPage(QWidget* p) {
  auto* layout = new QVBoxLayout(p);
  layout->setContentsMargins(4, 4, 4, 4);
  const TTemplateRow templates = NewTemplateRow(p, "New filter template...");
  FTemplateCombo = templates.Combo;
  FNewButton = templates.New;
  FDeleteTemplateButton = templates.Delete;
  FSaveAsButton = templates.SaveAs;
  layout->addLayout(templates.Layout);

  auto* body = new QHBoxLayout;
  auto* list = new QVBoxLayout;
  FBandsBox = new TMtxGridView(p);
  FBandsBox->setObjectName("BandsBox");
  FBandsBox->setColumnCount(4);
  FBandsBox->setHeaderLabels({"   Nr.", "Range", "Att./Ripple", "Gain"});
  const int widths[] = {35, 110, 65, 60};
  for (int c = 0; c < 4; ++c) FBandsBox->header()->resizeSection(c, widths[c]);
  for (int c = 1; c < 4; ++c) FBandsBox->headerItem()->setTextAlignment(c, Qt::AlignCenter);
  list->addWidget(FBandsBox, 1);
  auto* lineButtons = new QHBoxLayout;
  FAddBandButton = NewButton(p, "AddBandButton", "&Add band", "Add a band to the template");
  FDeleteBandButton = NewButton(p, "DeleteBandButton", "D&elete", "Delete the selected band");
  FSpeedButton1 = NewButton(p, "SpeedButton1", "&Verify", "Sort the bands and check them");
  for (QPushButton* b : {FAddBandButton, FDeleteBandButton, FSpeedButton1}) lineButtons->addWidget(b);
  lineButtons->addStretch(1);
  list->addLayout(lineButtons);
  FFilterLabel = NewLabel(p, "FilterLabel", "Filter design ");
  FFilterLabel->setWordWrap(true);
  // The verdict comes and goes: the list keeps its size meanwhile.
  QSizePolicy keep = FFilterLabel->sizePolicy();
  keep.setRetainSizeWhenHidden(true);
  FFilterLabel->setSizePolicy(keep);
  FFilterLabel->hide();
  list->addWidget(FFilterLabel);
  body->addLayout(list, 3);

  QGroupBox* band = NewGroup(p, "BandGroup", "Band parameters");
  TRows rows(band);
  FBandStartEdit = rows.Add(NewEdit(band, "BandStartEdit", "", "0", "1E36"), "Start:", nullptr, nullptr,
                            NewLabel(band, "BandStartUnit", "[Hz]"));
  FBandEndEdit = rows.Add(NewEdit(band, "BandEndEdit", "", "0", "1E36"), "End:", nullptr, nullptr,
                          NewLabel(band, "BandEndUnit", "[Hz]"));
  FAttRippleEdit = rows.Add(NewEdit(band, "AttRippleEdit", "", "0", "350"), "Att./Ripple:", nullptr, nullptr,
                            NewLabel(band, "AttRippleUnit", "[dB]"));
  FGainEdit = rows.Add(NewEdit(band, "GainEdit", "", "0", "1E38"), "Gain:");
  FPassStopBox = rows.Add(NewCombo(band, "PassStopBox", {"Pass band", "Stop band", "Pass band gain"}), "Type");
  FNormalizationBox = rows.Wide(NewCheck(band, "NormalizationBox", "Frequencies are normalized"));
  rows.Finish();
  for (TMtxFloatEdit* e : {FBandStartEdit, FBandEndEdit, FAttRippleEdit, FGainEdit}) e->SetScientific(true);
  FBandStartEdit->SetIncrement("0.1");
  FBandEndEdit->SetIncrement("0.1");
  FAttRippleEdit->SetIncrement("1");
  FGainEdit->SetIncrement("1");
  body->addWidget(band, 2);
  layout->addLayout(body, 1);
}

void TFIRDesignForm::CreateProcessingPage(QWidget* p) {
  auto* layout = new QHBoxLayout(p);
  layout->setContentsMargins(4, 4, 4, 4);
  QGroupBox* multirate = NewGroup(p, "MultirateGroup", "Multirate resampling");
  TRows rows(multirate);
  // A factor of 0 has no rate; the filter's state is never set up with one.
  FDownFactorEdit = rows.Add(NewEdit(multirate, "DownFactorEdit", IntegerFormat, "1", "10000"), "Down factor:");
  FDownDelayEdit = rows.Add(NewEdit(multirate, "DownDelayEdit", IntegerFormat, "0", "9999"), "Down delay:");
  FUpFactorEdit = rows.Add(NewEdit(multirate, "UpFactorEdit", IntegerFormat, "1", "10000"), "Up factor:");
  FUpDelayEdit = rows.Add(NewEdit(multirate, "UpDelayEdit", IntegerFormat, "0", "9999"), "Up delay:");
  rows.Finish();
  layout->addWidget(multirate);
  layout->addStretch(1);
}

}  // namespace analysis_ui
