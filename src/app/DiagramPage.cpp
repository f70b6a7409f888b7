#include "app/DiagramPage.h"

#include <QFont>
#include <QLocale>
#include <QPaintDevice>
#include <QPainter>
#include <QPicture>

TDiagramPage DiagramPageLayout(int pageWidth, int pageHeight) {
  TDiagramPage page;
  page.Margin = pageHeight / 20;
  page.LineHeight = pageHeight / 35;
  page.Heading = QPoint(page.Margin, 2 * page.LineHeight);
  page.DateLine = QPoint(page.Margin, 4 * page.LineHeight);
  // Right and bottom edge excluded.
  page.Chart = QRect(QPoint(page.Margin, 5 * page.LineHeight),
                     QPoint(pageWidth - page.Margin - 1, pageHeight - page.Margin - 1));
  return page;
}

QString DiagramDateLine(const QDateTime& when) {
  return QStringLiteral("Datum / Uhrzeit: ") + QLocale().toString(when, QLocale::ShortFormat);
}

namespace {
// Text whose top, not its baseline, stands at `top`.
void TextOut(QPainter& painter, QPoint top, const QString& text) {
  const QRect box(top, QSize(painter.device()->width() - top.x(), painter.device()->height()));
  painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
}
}  // namespace

void PaintDiagramPage(QPainter& painter, const QString& caption, const QString& dateLine,
                      const QPicture& chart, QSize chartSize) {
  const TDiagramPage page =
      DiagramPageLayout(painter.device()->width(), painter.device()->height());
  QFont font(QStringLiteral("Arial"), 10);
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(Qt::black);
  TextOut(painter, page.Heading, caption);
  font.setBold(false);
  painter.setFont(font);
  TextOut(painter, page.DateLine, dateLine);

  painter.save();
  painter.translate(page.Chart.topLeft());
  painter.scale(double(page.Chart.width()) / chartSize.width(),
                double(page.Chart.height()) / chartSize.height());
  // A picture keeps its physical size on a device of another resolution;
  // here its units are to fill the rectangle instead.
  const QPaintDevice& device = *painter.device();
  painter.scale(double(chart.logicalDpiX()) / device.logicalDpiX(),
                double(chart.logicalDpiY()) / device.logicalDpiY());
  painter.drawPicture(0, 0, chart);
  painter.restore();
}
