// What the editors' owner-drawn lists and sample buttons paint: item
// backgrounds and texts, and lines and fills drawn through the chart's own
// drawing surface, so a sample looks as the chart will draw it.
//
// Tested by: chart_editors/tests/PenDialogTest.cpp, chart_editors/tests/BrushDialogTest.cpp
#pragma once

#include <QFontMetrics>
#include <QModelIndex>
#include <QPainter>
#include <QPoint>
#include <QRect>
#include <QStyleOptionViewItem>

#include "chart/core/KivStyles.h"

namespace chart_editors {

// The height of a list item with a sample: 13 pixels, or the font's height
// and a little room when the font is taller.
int SampleItemHeight(const QFontMetrics& metrics);
// Fills an item's rectangle with its background (the highlight while
// selected) and returns that colour.
chart::TColor PaintItemBackground(QPainter& painter, const QStyleOptionViewItem& option);
// The item's text from textLeft pixels in, centred in the item's height, in
// the text colour of its background.
void PaintItemText(QPainter& painter, const QStyleOptionViewItem& option, const QModelIndex& index, int textLeft);
// A line from a to b (without b's pixel) with pen's style and width in color.
void DrawPenLine(QPainter& painter, const chart::TPen& pen, chart::TColor color, QPoint a, QPoint b);
// rect (right and bottom edges left out) filled with brush, in the brush's
// colour, over a background of color back.
void FillBrushSample(QPainter& painter, const chart::TBrush& brush, chart::TColor back, const QRect& rect);

}  // namespace chart_editors
