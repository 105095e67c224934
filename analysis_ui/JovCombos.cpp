// The owner-drawn combo box and the colour combo box.
// Tested by: tests/JovCombosTest.cpp
#include "analysis_ui/JovCombos.h"

#include <cstdio>

#include <QEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyleOptionComboBox>
#include <QStyledItemDelegate>
#include <QStylePainter>

#include "chart/canvas/KivGraphics.h"

namespace analysis_ui {

using namespace chart;

const TColorComboEntry ColorComboTable[18] = {
    {clBlack, "Black"}, {clMaroon, "Maroon"},   {clGreen, "Green"},   {clOlive, "Olive"},   {clNavy, "Navy"},
    {clPurple, "Purple"}, {clTeal, "Teal"},     {clGray, "Gray"},     {clSilver, "Silver"}, {clRed, "Red"},
    {clLime, "Lime"},   {clYellow, "Yellow"},   {clBlue, "Blue"},     {clFuchsia, "Fuchsia"}, {clAqua, "Aqua"},
    {clWhite, "White"}, {clNone, "None"},       {clDefault, "Default"},
};

namespace {

constexpr int NoneRow = 16;
constexpr int DefaultRow = 17;

// Draws the items of its combo box as the combo box draws them.
class TColorItemDelegate : public QStyledItemDelegate {
 public:
  explicit TColorItemDelegate(TColorComboBox& combo) : QStyledItemDelegate(&combo), FCombo(combo) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    FCombo.DrawItem(*painter, index.row(), option.rect, (option.state & QStyle::State_Selected) != 0);
  }
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return {QStyledItemDelegate::sizeHint(option, index).width() + 28, FCombo.ItemHeight()};
  }

 private:
  TColorComboBox& FCombo;
};

}  // namespace

TOwnerDrawComboBox::TOwnerDrawComboBox(QWidget* parent) : QComboBox(parent) {
  SetStyle(csDropDownList);
  ResetItemHeight();
}

void TOwnerDrawComboBox::SetStyle(TOwnerDrawComboStyle style) {
  FStyle = style;
  setEditable(style != csDropDownList);
}

int TOwnerDrawComboBox::GetItemHt() const { return std::max(fontMetrics().height() + 1, 9); }

void TOwnerDrawComboBox::ResetItemHeight() {
  if (FChangingItemHeight) return;
  FChangingItemHeight = true;
  FItemHeight = GetItemHt();
  FChangingItemHeight = false;
  update();
}

void TOwnerDrawComboBox::changeEvent(QEvent* event) {
  QComboBox::changeEvent(event);
  if (event->type() == QEvent::FontChange) ResetItemHeight();
}

TColorComboBox::TColorComboBox(QWidget* parent) : TOwnerDrawComboBox(parent) {
  setItemDelegate(new TColorItemDelegate(*this));
  connect(this, &QComboBox::activated, this, [this](int) { Click(); });
  connect(this, &QComboBox::currentIndexChanged, this, [this](int) { Changed(); });
  connect(this, &QComboBox::editTextChanged, this, [this](const QString&) { Changed(); });
  PopulateList();
  SetColorValue(FCurrent);
}

void TColorComboBox::PopulateList() {
  const QSignalBlocker blocker(this);
  clear();
  for (int r = 0; r < 18; ++r) {
    if (r == DefaultRow && !(FOptions & ColorComboOptionBit(coIncludeDefault))) continue;
    if (r == NoneRow && !(FOptions & ColorComboOptionBit(coIncludeNone))) continue;
    const bool renamed = static_cast<std::size_t>(r) < FColorNames.size() && !FColorNames[static_cast<std::size_t>(r)].empty();
    const QString text = renamed ? QString::fromStdString(FColorNames[static_cast<std::size_t>(r)])
                                 : QString::fromLatin1(ColorComboTable[r].Name);
    addItem(text, QVariant::fromValue(static_cast<quint32>(ColorComboTable[r].Color)));
  }
}

TColor TColorComboBox::ItemColor(int index) const { return static_cast<TColor>(itemData(index).toUInt()); }

TColor TColorComboBox::ColorValue() const {
  if (Style() == csDropDownList || currentIndex() >= 0) return FCurrent;
  const QString text = currentText();
  const int found = findText(text, Qt::MatchExactly);
  if (found >= 0) return ItemColor(found);
  bool ok = false;
  const int number = text.toInt(&ok);
  return ok ? static_cast<TColor>(number) : FCurrent;
}

void TColorComboBox::SetColorValue(TColor value) {
  if (currentIndex() >= 0 && value == FCurrent) return;
  FCurrent = value;
  for (int i = 0; i < count(); ++i) {
    if (ItemColor(i) != value) continue;
    if (currentIndex() != i) {
      const QSignalBlocker blocker(this);
      setCurrentIndex(i);
    }
    update();
    NotifyChange();
    return;
  }
  {
    const QSignalBlocker blocker(this);
    if (Style() != csDropDownList) {
      setCurrentIndex(-1);
      setEditText(QString::fromStdString(ColorIdentifier(value)));
    } else {
      setCurrentIndex(-1);
    }
  }
  update();
  NotifyChange();
}

void TColorComboBox::SetColorNames(const std::vector<std::string>& names) {
  FColorNames = names;
  FCurrent = ColorValue();
  RecreateList();
}

void TColorComboBox::SetDisplayNames(bool value) {
  if (FDisplayNames == value) return;
  FDisplayNames = value;
  update();
}

void TColorComboBox::SetOptions(TColorComboOptions options) {
  FOptions = options;
  RecreateList();
}

void TColorComboBox::RecreateList() {
  PopulateList();
  // The current colour is selected again without counting as a change.
  const QSignalBlocker blocker(this);
  setCurrentIndex(-1);
  for (int i = 0; i < count(); ++i)
    if (ItemColor(i) == FCurrent) {
      setCurrentIndex(i);
      break;
    }
  update();
}

void TColorComboBox::Click() {
  if (currentIndex() >= 0) SetColorValue(ItemColor(currentIndex()));
}

void TColorComboBox::Changed() {
  const TColor now = ColorValue();
  const TColor selected = currentIndex() >= 0 ? ItemColor(currentIndex()) : now;
  if (selected != FCurrent) {
    FCurrent = selected;
    NotifyChange();
  }
}

void TColorComboBox::NotifyChange() {
  if (OnChange) OnChange(*this);
}

void TColorComboBox::DrawItem(QPainter& painter, int index, const QRect& rect, bool selected) const {
  const QPalette& p = palette();
  DrawColorItem(painter, rect, ItemColor(index), itemText(index), selected, FDisplayNames,
                selected ? p.color(QPalette::Highlight) : p.color(QPalette::Base),
                selected ? p.color(QPalette::HighlightedText) : p.color(QPalette::Text));
}

void TColorComboBox::paintEvent(QPaintEvent* event) {
  if (Style() != csDropDownList) {
    QComboBox::paintEvent(event);
    return;
  }
  QStylePainter painter(this);
  QStyleOptionComboBox option;
  initStyleOption(&option);
  option.currentText.clear();
  option.currentIcon = QIcon();
  painter.drawComplexControl(QStyle::CC_ComboBox, option);
  if (currentIndex() < 0) return;
  const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
  DrawItem(painter, currentIndex(), field, hasFocus());
}

void DrawColorItem(QPainter& painter, const QRect& rect, TColor color, const QString& text, bool selected,
                   bool displayNames, const QColor& background, const QColor& textColor) {
  painter.save();
  // Swatch: two pixels in from the left, top and bottom; with names, 22
  // pixels wide, else up to three pixels before the right edge.
  const int left = rect.left() + 2, top = rect.top() + 2;
  const int right = displayNames ? left + 22 : rect.right() + 1 - 3;
  const int bottom = rect.bottom() + 1 - 2;
  painter.fillRect(rect, background);
  const TColor rgb = ColorToRGB(color);
  const bool light = GetRValue(rgb) > 192 || GetGValue(rgb) > 192 || GetBValue(rgb) > 192;
  const QColor itemColor = ToQColor(color);
  const QColor frame = light ? QColor(Qt::black) : (selected ? QColor(Qt::white) : itemColor);
  // The frame is a one-pixel outline of the swatch, its inside the colour.
  painter.setPen(Qt::NoPen);
  painter.setBrush(frame);
  painter.drawRect(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)));
  painter.setBrush(itemColor);
  painter.drawRect(QRect(QPoint(left + 1, top + 1), QPoint(right - 2, bottom - 2)));
  if (displayNames) {
    QRect textRect = rect;
    textRect.setLeft(rect.left() + 28);
    painter.setPen(textColor);
    painter.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, text);
  }
  painter.restore();
}

std::string ColorIdentifier(TColor color) {
  for (const TColorComboEntry& entry : ColorComboTable)
    if (entry.Color == color) return entry.Name;
  char text[16];
  std::snprintf(text, sizeof text, "$%08X", static_cast<unsigned>(color));
  return text;
}

}  // namespace analysis_ui
