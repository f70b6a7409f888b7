#include "app/Chart.h"

#include <QContextMenuEvent>
#include <QLocale>
#include <QMenu>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <limits>

#include "qcustomplot.h"

TChart::TChart(QWidget* parent) : QWidget(parent) {
  FPlot = new QCustomPlot(this);
  FPlot->setObjectName(QStringLiteral("Plot"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(FPlot);

  FPlot->setCursor(Qt::CrossCursor);
  FPlot->setMouseTracking(true);
  FPlot->legend->setVisible(false);
  FPlot->plotLayout()->insertRow(0);
  FTitle = new QCPTextElement(FPlot, QString(), font());
  FPlot->plotLayout()->addElement(0, 0, FTitle);

  FPlot->xAxis->setLabel(QStringLiteral("Time s"));
  FPlot->xAxis->grid()->setVisible(false);
  FPlot->yAxis->grid()->setVisible(true);
  FPlot->xAxis->setRange(0, 1);
  FPlot->yAxis->setRange(0, 1);

  FSeries = FPlot->addGraph();
  FSeries->setName(QStringLiteral("Series1"));
  FSeries->setPen(QPen(Qt::red));
  FSeries->setLineStyle(QCPGraph::lsLine);
  FSeries->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssCircle, 2));
  FSeries->setAdaptiveSampling(false);

  // Zoom is done here, not by the plot, so that a drag to the upper left can
  // undo it.
  FPlot->setSelectionRectMode(QCP::srmNone);
  connect(FPlot->selectionRect(), &QCPSelectionRect::accepted, this,
          [this](const QRect& rect, QMouseEvent*) { RectSelected(rect); });
  connect(FPlot, &QCustomPlot::mouseMove, this, [this](QMouseEvent* e) {
    if (OnMouseMove) OnMouseMove(this, e->position().toPoint());
  });
  FPlot->installEventFilter(this);
}

TChart::~TChart() = default;

void TChart::Clear() {
  FPoints.clear();
  Changed();
}

void TChart::AddXY(double x, double y) {
  // Points stay in x order; an equal x goes after the points already there.
  const auto at = std::upper_bound(FPoints.begin(), FPoints.end(), x,
                                   [](double v, const QPointF& p) { return v < p.x(); });
  FPoints.insert(at, QPointF(x, y));
  Changed();
}

void TChart::AddNullXY(double x, double) { AddXY(x, std::numeric_limits<double>::quiet_NaN()); }

void TChart::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  FPoints.removeAt(index);
  Changed();
}

QPointF TChart::Point(int index) const {
  return index >= 0 && index < Count() ? FPoints[index] : QPointF();
}

void TChart::SetPointerVisible(bool on) {
  FPointerVisible = on;
  FSeries->setScatterStyle(on ? QCPScatterStyle(QCPScatterStyle::ssCircle, 2)
                              : QCPScatterStyle(QCPScatterStyle::ssNone));
  FPlot->replot(QCustomPlot::rpQueuedReplot);
}

void TChart::SetStairs(bool on) {
  FStairs = on;
  FSeries->setLineStyle(on ? QCPGraph::lsStepLeft : QCPGraph::lsLine);
  FPlot->replot(QCustomPlot::rpQueuedReplot);
}

void TChart::SetTitle(const QString& text) {
  FTitle->setText(text);
  FPlot->replot(QCustomPlot::rpQueuedReplot);
}

QString TChart::Title() const { return FTitle->text(); }

void TChart::SetLeftAxisAutomatic(bool on) {
  FLeftAutomatic = on;
  ApplyAxes();
}

void TChart::SetLeftAxisMinimum(double v) {
  FLeftMin = v;
  ApplyLeftRange();
}

void TChart::SetLeftAxisMaximum(double v) {
  FLeftMax = v;
  ApplyLeftRange();
}

double TChart::LeftAxisMinimum() const { return FPlot->yAxis->range().lower; }
double TChart::LeftAxisMaximum() const { return FPlot->yAxis->range().upper; }
double TChart::BottomAxisMinimum() const { return FPlot->xAxis->range().lower; }
double TChart::BottomAxisMaximum() const { return FPlot->xAxis->range().upper; }

void TChart::SetAllowZoom(bool on) {
  FAllowZoom = on;
  FPlot->setSelectionRectMode(on ? QCP::srmCustom : QCP::srmNone);
}

void TChart::SetAllowPanning(bool on) { FAllowPanning = on; }

void TChart::ZoomPercent(double percent) {
  if (!(percent > 0)) return;
  SyncData();
  const double factor = 100.0 / percent;
  FPlot->xAxis->scaleRange(factor, FPlot->xAxis->range().center());
  FPlot->yAxis->scaleRange(factor, FPlot->yAxis->range().center());
  FZoomed = true;
  FPlot->replot(QCustomPlot::rpQueuedReplot);
}

void TChart::UndoZoom() {
  FZoomed = false;
  ApplyAxes();
}

QRect TChart::PlotRect() const {
  return FPlot->axisRect()->rect().translated(FPlot->pos());
}

QPointF TChart::MouseToAxis(const QPoint& pos) const {
  const QPoint p = pos - FPlot->pos();
  return {FPlot->xAxis->pixelToCoord(p.x()), FPlot->yAxis->pixelToCoord(p.y())};
}

QString TChart::LabelValue(double v) {
  QString s = QLocale().toString(v, 'f', 3);
  const QChar point = QLocale().decimalPoint().at(0);
  if (s.contains(point)) {
    while (s.endsWith(QLatin1Char('0'))) s.chop(1);
    if (s.endsWith(point)) s.chop(1);
  }
  if (s == QLatin1String("-0")) s = QStringLiteral("0");
  return s;
}

bool TChart::SaveToBitmapFile(const QString& fileName) {
  SyncData();
  FPlot->replot(QCustomPlot::rpImmediateRefresh);
  return FPlot->saveBmp(fileName);
}

QPicture TChart::ToPicture(int width, int height) {
  SyncData();
  QPicture picture;
  QCPPainter painter(&picture);
  FPlot->toPainter(&painter, width, height);
  painter.end();
  return picture;
}

void TChart::Changed() {
  FDataDirty = true;
  if (!FZoomed) ApplyAxes();
  else FPlot->replot(QCustomPlot::rpQueuedReplot);
}

void TChart::SyncData() {
  if (!FDataDirty) return;
  FDataDirty = false;
  QVector<QCPGraphData> data;
  data.reserve(FPoints.size());
  for (const QPointF& p : FPoints) data.append(QCPGraphData(p.x(), p.y()));
  FSeries->data()->set(data, true);
}

void TChart::ApplyAxes() {
  SyncData();
  bool found = false;
  const QCPRange keys = FSeries->data()->keyRange(found);
  if (found) {
    FPlot->xAxis->setRange(keys.lower, keys.upper == keys.lower ? keys.lower + 1 : keys.upper);
  }
  if (FLeftAutomatic) {
    const QCPRange values = FSeries->data()->valueRange(found);
    if (found)
      FPlot->yAxis->setRange(values.lower,
                             values.upper == values.lower ? values.lower + 1 : values.upper);
  } else {
    FPlot->yAxis->setRange(FLeftMin, FLeftMax);
  }
  FPlot->replot(QCustomPlot::rpQueuedReplot);
}

void TChart::ApplyLeftRange() {
  if (FLeftAutomatic) return;
  if (!FZoomed) FPlot->yAxis->setRange(FLeftMin, FLeftMax);
  FPlot->replot(QCustomPlot::rpQueuedReplot);
}

void TChart::RectSelected(const QRect& rect) {
  // The rectangle runs from the press to the release point: a drag to the
  // left or upwards undoes the zoom.
  if (rect.width() < 0 || rect.height() < 0) {
    UndoZoom();
    return;
  }
  if (rect.width() < 3 || rect.height() < 3) return;
  FPlot->axisRect()->zoom(QRectF(rect));
  FZoomed = true;
  FPlot->replot(QCustomPlot::rpQueuedReplot);
}

void TChart::ShowPopup(const QPoint& pos) {
  if (FPopupMenu) FPopupMenu->popup(FPlot->mapToGlobal(pos));
}

bool TChart::eventFilter(QObject* watched, QEvent* event) {
  if (watched != FPlot) return QWidget::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::ContextMenu: {
      auto* e = static_cast<QContextMenuEvent*>(event);
      // A mouse click opens the menu on release, so that a drag can pan.
      if (e->reason() != QContextMenuEvent::Mouse) ShowPopup(e->pos());
      return true;
    }
    case QEvent::MouseButtonPress: {
      auto* e = static_cast<QMouseEvent*>(event);
      if (e->button() != Qt::RightButton) break;
      FRightDown = true;
      FPanned = false;
      FPanLast = e->position().toPoint();
      return true;
    }
    case QEvent::MouseMove: {
      auto* e = static_cast<QMouseEvent*>(event);
      if (!FRightDown || !FAllowPanning) break;
      const QPoint p = e->position().toPoint();
      const QPoint d = p - FPanLast;
      if (!FPanned && d.manhattanLength() < 3) break;
      FPanned = true;
      FPanLast = p;
      QCPAxis* x = FPlot->xAxis;
      QCPAxis* y = FPlot->yAxis;
      x->moveRange(x->pixelToCoord(0) - x->pixelToCoord(d.x()));
      y->moveRange(y->pixelToCoord(0) - y->pixelToCoord(d.y()));
      FZoomed = true;
      FPlot->replot(QCustomPlot::rpQueuedReplot);
      break;  // the read-out still follows the mouse
    }
    case QEvent::MouseButtonRelease: {
      auto* e = static_cast<QMouseEvent*>(event);
      if (e->button() != Qt::RightButton) break;
      const bool click = FRightDown && !FPanned;
      FRightDown = false;
      if (click) ShowPopup(e->position().toPoint());
      return true;
    }
    default:
      break;
  }
  return QWidget::eventFilter(watched, event);
}
