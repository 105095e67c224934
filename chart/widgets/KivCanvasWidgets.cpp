// The sample button, the colour button with its dialog, and the flat combo box.
//
// Tested by: chart/tests/KivWidgetsTest.cpp
#include "chart/widgets/KivCanvasWidgets.h"

#include <QColorDialog>
#include <QEnterEvent>
#include <QEvent>
#include <QPainter>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QStylePainter>
#include <utility>

#include "chart/canvas/KivGraphics.h"

namespace chart {

// --- TKivButton ---------------------------------------------------------------

TKivButton::TKivButton(QWidget* parent) : QPushButton(parent) { resize(75, 25); }

QSize TKivButton::sizeHint() const {
  QSize size = QPushButton::sizeHint();
  size.rwidth() += 22;
  return size;
}

void TKivButton::LinkProperty(classlib::TPersistent* instance, const std::string& propertyName) {
  FInstance = instance;
  FProperty = instance != nullptr ? propertyName : std::string();
  update();
}

void TKivButton::paintEvent(QPaintEvent* event) {
  QPushButton::paintEvent(event);
  if (!HasSample()) return;
  QPainter painter(this);
  TCanvas face(painter);
  TKivCanvas3D canvas(&face);
  DrawSample(canvas);
}

void TKivButton::changeEvent(QEvent* event) {
  QPushButton::changeEvent(event);
  if (event->type() == QEvent::EnabledChange) update();
}

// --- TButtonColor -------------------------------------------------------------

TButtonColor::TButtonColor(QWidget* parent) : TKivButton(parent) {
  connect(this, &QPushButton::clicked, this, [this] { Click(); });
}

TColor TButtonColor::SymbolColor() const {
  if (LinkedObject() != nullptr) {
    const classlib::TPropValue v = classlib::GetPropValue(*LinkedObject(), LinkedProperty());
    if (auto* i = std::get_if<std::int64_t>(&v)) return static_cast<TColor>(*i);
    return clNone;
  }
  return OnGetColor ? OnGetColor() : clNone;
}

TRect TButtonColor::SwatchRect() const {
  const std::int32_t top = (height() - 13) / 2;
  return {width() - 19, top, width() - 6, top + 13};
}

void TButtonColor::DrawSample(TKivCanvas3D& canvas) {
  const TColor color = SymbolColor();
  if (color == clNone) return;
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(color);
  canvas.Pen().SetVisible(true);
  canvas.Pen().SetWidth(1);
  canvas.Pen().SetColor(clBlack);
  canvas.Pen().SetStyle(isEnabled() ? psSolid : psClear);
  canvas.Rectangle(SwatchRect());
}

void TButtonColor::Click() {
  TColor color = SymbolColor();
  if (!EditColorDialog(this, color)) return;
  if (LinkedObject() != nullptr)
    classlib::SetPropValue(*LinkedObject(), LinkedProperty(), static_cast<std::int64_t>(color));
  update();
}

namespace {
TColorDialogFunc& InstalledColorDialog() {
  static TColorDialogFunc dialog;
  return dialog;
}
}  // namespace

TColorDialogFunc SetColorDialog(TColorDialogFunc dialog) {
  return std::exchange(InstalledColorDialog(), std::move(dialog));
}

bool EditColorDialog(QWidget* owner, TColor& color) {
  if (const TColorDialogFunc& installed = InstalledColorDialog()) return installed(owner, color);
  QColorDialog dialog(ToQColor(color == clNone ? clBlack : color), owner);
  // The same dialog on every desktop, and one that tests can drive.
  dialog.setOption(QColorDialog::DontUseNativeDialog);
  if (dialog.exec() != QDialog::Accepted) return false;
  const QColor c = dialog.selectedColor();
  color = RGB(c.red(), c.green(), c.blue());
  return true;
}

// --- TComboFlat ---------------------------------------------------------------

namespace {

class TItemHeight13 : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize s = QStyledItemDelegate::sizeHint(option, index);
    s.setHeight(13);
    return s;
  }
};

}  // namespace

TComboFlat::TComboFlat(QWidget* parent) : QComboBox(parent) {
  setEditable(false);
  setFixedHeight(21);
  setItemDelegate(new TItemHeight13(this));
}

bool TComboFlat::DrawsFlat() const { return !hasFocus() && !underMouse(); }

int TComboFlat::ArrowLineX() const {
  return width() - 1 - style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this) - 1;
}

void TComboFlat::SetOwnerDrawField(bool v) {
  FOwnerDrawField = v;
  update();
}

void TComboFlat::paintEvent(QPaintEvent* event) {
  if (FOwnerDrawField) {
    QStylePainter painter(this);
    QStyleOptionComboBox box;
    initStyleOption(&box);
    box.currentText.clear();
    box.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, box);
    painter.drawControl(QStyle::CE_ComboBoxLabel, box);
    if (currentIndex() >= 0) {
      QStyleOptionViewItem item;
      item.initFrom(this);
      item.rect = style()->subControlRect(QStyle::CC_ComboBox, &box, QStyle::SC_ComboBoxEditField, this);
      // The field is a selected item while the box has the focus, as the list shows it.
      item.state &= ~QStyle::State_Selected;
      if (hasFocus()) item.state |= QStyle::State_Selected;
      item.font = font();
      itemDelegate()->paint(&painter, item, model()->index(currentIndex(), modelColumn(), rootModelIndex()));
    }
  } else {
    QComboBox::paintEvent(event);
  }
  if (!DrawsFlat()) return;
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(palette().color(QPalette::Button));
  p.setBrush(Qt::NoBrush);
  p.drawRect(0, 0, width() - 1, height() - 1);
  p.setPen(palette().color(QPalette::Base));
  const int x = ArrowLineX();
  p.drawLine(x, 1, x, height() - 2);
}

void TComboFlat::enterEvent(QEnterEvent* event) {
  QComboBox::enterEvent(event);
  update();
}

void TComboFlat::leaveEvent(QEvent* event) {
  QComboBox::leaveEvent(event);
  update();
}

}  // namespace chart
