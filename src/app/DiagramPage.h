#pragma once
// The printed diagram page: the window's caption and the date line as a
// heading, the chart below them. Margin and line height come from the page
// height, so the page looks alike on any printer resolution.

#include <QDateTime>
#include <QPoint>
#include <QRect>
#include <QString>

class QPainter;
class QPicture;

struct TDiagramPage {
  int Margin = 0;      // page height div 20
  int LineHeight = 0;  // page height div 35
  QPoint Heading;      // top left of the caption's text
  QPoint DateLine;     // top left of the date line's text
  QRect Chart;         // margin, 5 lines down .. the other margins
};

TDiagramPage DiagramPageLayout(int pageWidth, int pageHeight);

// "Datum / Uhrzeit: " and the time in the user's locale.
QString DiagramDateLine(const QDateTime& when);

// Paints the page onto the painter's device, whose size is the page: the
// heading in Arial 10 bold and normal, the chart picture (drawn into
// chartSize units) stretched over the chart rectangle.
void PaintDiagramPage(QPainter& painter, const QString& caption, const QString& dateLine,
                      const QPicture& chart, QSize chartSize);
