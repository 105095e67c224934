// The list-box routines.
//
// Tested by: chart_editors/tests/SelectListTest.cpp
#include "chart_editors/KivLisB.h"

#include <QVariant>

namespace chart_editors {

namespace {

constexpr int ObjectRole = Qt::UserRole;

bool MultiSelect(const QListWidget& list) {
  return list.selectionMode() == QAbstractItemView::MultiSelection ||
         list.selectionMode() == QAbstractItemView::ExtendedSelection;
}

}  // namespace

QListWidgetItem* AddListObject(QListWidget& list, const QString& text, classlib::TPersistent* object) {
  auto* item = new QListWidgetItem(text, &list);
  item->setData(ObjectRole, QVariant::fromValue(static_cast<void*>(object)));
  return item;
}

classlib::TPersistent* ListItemObject(const QListWidgetItem& item) {
  return static_cast<classlib::TPersistent*>(item.data(ObjectRole).value<void*>());
}

void SelectListObject(QListWidget& list, const classlib::TPersistent* object) {
  for (int i = 0; i < list.count(); ++i) {
    QListWidgetItem* item = list.item(i);
    if (ListItemObject(*item) != object) continue;
    list.setCurrentItem(item, QItemSelectionModel::NoUpdate);
    item->setSelected(true);
    return;
  }
  list.setCurrentRow(-1, QItemSelectionModel::NoUpdate);
  if (!MultiSelect(list)) list.clearSelection();
}

void ClearListSelection(QListWidget& list) {
  list.clearSelection();
  if (!MultiSelect(list)) list.setCurrentRow(-1, QItemSelectionModel::NoUpdate);
}

void RemoveComboObject(QComboBox& combo, const void* object) {
  for (int i = combo.count() - 1; i >= 0; --i)
    if (ComboObject<const void>(combo, i) == object) combo.removeItem(i);
}

}  // namespace chart_editors
