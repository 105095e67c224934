// The list-box routines of the series editors: items that carry an object
// (a series, a source) beside their text, selecting an item by its object
// and clearing a list's selection.
//
// Tested by: chart_editors/tests/SelectListTest.cpp
#pragma once

#include <QListWidget>
#include <QString>

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

}  // namespace chart_editors
