// Parameter template files ("*.cfg"): all parameter templates of a component
// saved to or loaded from a file the user chooses. The file body is the
// component's own template stream; a file of another component's class is
// refused with "Data format type missmatch: <stored> <> <own>".
//
// The component is in template mode only while a routine runs: it leaves it
// on every path, a cancelled dialog and a failure included.
//
// Tested by: analysis_ui/tests/MtxTemplateFilesTest.cpp
#pragma once

class QWidget;

namespace numeric {
class TMtxComponent;
}

namespace analysis_ui {

// A save dialog ("Config files (*.cfg)" or "All files (*.*)"); with the
// first filter the name takes the extension ".cfg". True when a file was
// written; the file is replaced whole or left as it was.
bool SaveTemplates(numeric::TMtxComponent& Component, QWidget* Parent = nullptr);
// An open dialog with the same filters; a missing file raises "File not
// found!". True when a file was read; a file that does not read leaves the
// component as it was.
bool LoadTemplates(numeric::TMtxComponent& Component, QWidget* Parent = nullptr);

}  // namespace analysis_ui
