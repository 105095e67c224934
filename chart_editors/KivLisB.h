// The list-box routines of the series editors: items that carry an object
// (a series, a source, a kind) beside their text, in list boxes and combo
// boxes, selecting an item by its object and clearing a list's selection.
//
// Tested by: chart_editors/tests/SelectListTest.cpp
#pragma once

#include <QComboBox>
#include <QListWidget>
#include <QString>
#include <QVariant>

#include "platform/classlib/Persistent.h"

namespace chart_editors {

// Appends an item with its text and the object it stands for (not owned).
QListWidgetItem* AddListObject(QListWidget& list, const QString& text, classlib::TPersistent* object);
// The object an item stands for; nullptr for none.
classlib::TPersistent* ListItemObject(const QListWidgetItem& item);
// Makes the item of object the current one (none when absent) and, when
// there is one, selects it.
void SelectListObject(QListWidget& list, const classlib::TPersistent* object);
// A multi-select list has no item selected afterwards; any other list has no
// current item either.
void ClearListSelection(QListWidget& list);

// The item data that stands for an object (not owned; nullptr for none), and
// the object back from it.
inline QVariant ObjectData(const void* object) { return QVariant::fromValue(const_cast<void*>(object)); }
template <class T>
T* DataObject(const QVariant& data) {
  return static_cast<T*>(data.value<void*>());
}
// Appends an item to a combo box with its text and the object it stands for.
inline void AddComboObject(QComboBox& combo, const QString& text, const void* object) {
  combo.addItem(text, ObjectData(object));
}
// The object of a combo box's item; nullptr for none or no item.
template <class T>
T* ComboObject(const QComboBox& combo, int index) {
  return index < 0 ? nullptr : DataObject<T>(combo.itemData(index));
}
// The index of the item of object; -1 when there is none.
inline int FindComboObject(const QComboBox& combo, const void* object) { return combo.findData(ObjectData(object)); }
// Takes out every item of object: an object that goes leaves no item behind.
void RemoveComboObject(QComboBox& combo, const void* object);

}  // namespace chart_editors
