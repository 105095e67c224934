// The list, value-format, arrow and cursor routines the editors share.
//
// Tested by: chart_editors/tests/EditorRoutinesTest.cpp
#include <algorithm>
#include <limits>
#include <vector>

#include "chart/core/KivConst.h"
#include "chart_editors/EditorBitmaps.h"
#include "chart_editors/EditorTexts.h"
#include "chart_editors/KivPenDlg.h"
#include "platform/classlib/SysUtils.h"
#include "platform/classlib/TextUtils.h"

namespace chart_editors {

void MoveSelectedListItems(QListWidget& from, QListWidget& to) {
  for (int i = 0; i < from.count();) {
    if (from.item(i)->isSelected())
      to.addItem(from.takeItem(i));  // the next item moves up into i
    else
      ++i;
  }
}

void MoveAllListItems(QListWidget& from, QListWidget& to) {
  while (from.count() > 0) to.addItem(from.takeItem(0));
}

void AddDefaultValueFormats(QStringList& items) {
  items << QString::fromStdString(chart::KivMsg(txtValuesFormat)) << "0"
        << "0.0"
        << "0.#"
        << "#.#"
        << "#,##0.00;(#,##0.00)"
        << "00e-0"
        << "#.0 \"x10\" E+0"
        << "#.# x10E-#";
}

void LoadArrowBitmaps(QImage& upGlyph, QImage& downGlyph) {
  upGlyph = LoadEditorBitmap("KivArrowUp");
  downGlyph = LoadEditorBitmap("KivArrowDown");
}

namespace {
constexpr std::string_view KivHandName = "crKivHand";
}  // namespace

ui::TCursor KivCursorFromName(std::string_view name) {
  if (classlib::SameText(name, KivHandName)) return ui::crKivHand;
  ui::TCursor cursor = ui::crDefault;
  if (ui::IdentToCursor(name, cursor)) return cursor;
  const std::int32_t number = classlib::StrToInt(name);
  if (number < std::numeric_limits<ui::TCursor>::min() || number > std::numeric_limits<ui::TCursor>::max())
    throw classlib::EConvertError("'" + std::string(name) + "' is not a valid integer value");
  return static_cast<ui::TCursor>(number);
}

std::string KivCursorToName(ui::TCursor cursor) {
  if (cursor == ui::crKivHand) return std::string(KivHandName);
  std::string name;
  if (ui::CursorToIdent(cursor, name)) return name;
  return classlib::IntToStr(cursor);
}

std::string StripCursorPrefix(std::string_view name) {
  if (name.starts_with("cr")) name.remove_prefix(2);
  return std::string(name);
}

void FillCursorCombo(QComboBox& combo, ui::TCursor cursor) {
  std::vector<std::string> names;
  auto add = [&names](const std::string& name) {
    std::string bare = StripCursorPrefix(name);
    if (std::find(names.begin(), names.end(), bare) == names.end()) names.push_back(std::move(bare));
  };
  ui::GetCursorValues(add);
  add(std::string(KivHandName));
  std::sort(names.begin(), names.end(),
            [](const std::string& a, const std::string& b) { return classlib::CompareText(a, b) < 0; });
  combo.clear();
  for (const std::string& name : names) combo.addItem(QString::fromStdString(name));
  combo.setCurrentIndex(combo.findText(QString::fromStdString(StripCursorPrefix(KivCursorToName(cursor))),
                                       Qt::MatchFixedString | Qt::MatchCaseSensitive));
}

}  // namespace chart_editors
