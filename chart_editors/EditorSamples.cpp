// Item backgrounds, texts and chart-drawn samples of the editors' lists and buttons.
//
// Tested by: chart_editors/tests/PenDialogTest.cpp, chart_editors/tests/BrushDialogTest.cpp
#include "chart_editors/EditorSamples.h"

#include <QStyle>

#include <algorithm>

#include "chart/canvas/KivCanvasQt.h"

namespace chart_editors {

int SampleItemHeight(const QFontMetrics& metrics) { return std::max(13, metrics.height() + 2); }

chart::TColor PaintItemBackground(QPainter& painter, const QStyleOptionViewItem& option) {
  const bool selected = (option.state & QStyle::State_Selected) != 0;
  const QColor back = option.palette.color(selected ? QPalette::Highlight : QPalette::Base);
  painter.fillRect(option.rect, back);
  return chart::FromQRgb(back.rgb());
}

void PaintItemText(QPainter& painter, const QStyleOptionViewItem& option, const QModelIndex& index, int textLeft) {
  const bool selected = (option.state & QStyle::State_Selected) != 0;
  painter.save();
  painter.setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
  painter.setFont(option.font);
  painter.drawText(option.rect.adjusted(textLeft, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                   index.data(Qt::DisplayRole).toString());
  painter.restore();
}

void DrawPenLine(QPainter& painter, const chart::TPen& pen, chart::TColor color, QPoint a, QPoint b) {
  painter.save();
  {
    chart::TCanvas face(painter);
    chart::TKivCanvas3D canvas(&face);
    canvas.AssignVisiblePenColor(pen, color);
    canvas.Line(a.x(), a.y(), b.x(), b.y());
  }
  painter.restore();
}

void FillBrushSample(QPainter& painter, const chart::TBrush& brush, chart::TColor back, const QRect& rect) {
  painter.save();
  painter.fillRect(rect, chart::ToQColor(back));
  {
    chart::TCanvas face(painter);
    chart::TKivCanvas3D canvas(&face);
    canvas.Brush().Assign(brush);
    canvas.SetBackMode(chart::TRANSPARENT);
    canvas.SetBackColor(chart::clNone);
    canvas.FillRect({rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1});
  }
  painter.restore();
}

}  // namespace chart_editors
