// The main window's toolbar icons: Qt's standard icons where Qt has one, and
// small pictures of the program's own, painted here.
#pragma once

#include <QIcon>

class QStyle;

namespace workbench {

enum TToolbarIcon { tiFileOpen, tiFileSave, tiCopy, tiGenerator, tiMethods, tiCompare, tiSpectrum };

QIcon ToolbarIcon(TToolbarIcon icon, const QStyle& style);

}  // namespace workbench
