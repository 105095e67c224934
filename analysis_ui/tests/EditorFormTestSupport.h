// What the tests of the filter and generator windows share: typing into a
// field as a user does (the field takes the focus first, so leaving it
// commits), Enter, the component's parameters as one comparable text, and
// the pixels of text in a picture.
#pragma once

#include <QImage>
#include <QLineEdit>
#include <QTest>

#include <algorithm>
#include <string>

#include "analysis_ui/tests/FormTestSupport.h"
#include "numeric/MtxBaseComp.h"
#include "platform/classlib/Streams.h"

namespace analysis_ui::editorformtests {

// Focuses an edit, as a click would, then types Text over its content.
inline void FocusAndType(QLineEdit& Edit, const QString& Text) {
  formtests::Focus(Edit);
  formtests::Type(Edit, Text);
}

inline void Enter(QWidget& Control) { QTest::keyClick(&Control, Qt::Key_Return); }

// Every parameter of a component, its templates included, as its template stream.
inline std::string Parameters(numeric::TMtxComponent& Component) {
  classlib::TMemoryStream stream;
  Component.SaveTemplateToStream(stream);
  return {static_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size())};
}

// Pixels of text, grey (disabled) or black, within a rectangle of a picture.
inline int Ink(const QImage& Picture, const QRect& Area) {
  int n = 0;
  const QRect r = Area.intersected(Picture.rect());
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) n += qGray(Picture.pixel(x, y)) < 200;
  return n;
}

}  // namespace analysis_ui::editorformtests
