#include "app/StatusPanel.h"

#include <QPainter>
#include <QStyle>

#include "components/Colors.h"

namespace {
// Wide enough to show that something is there; the layout gives the rest.
constexpr int kMinimumCharacters = 4;
}  // namespace

TStatusPanel::TStatusPanel(QWidget* parent, TKind kind, Qt::Alignment alignment)
    : QFrame(parent), FKind(kind), FAlignment(alignment) {
  setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
}

void TStatusPanel::SetText(const QString& text) {
  if (text == FText) return;
  FText = text;
  if (FKind == pkPort) setToolTip(text);
  FRepaint.Request();
}

QString TStatusPanel::ShownText() const {
  return fontMetrics().elidedText(FText, FKind == pkPort ? Qt::ElideMiddle : Qt::ElideRight,
                                  std::max(0, contentsRect().width()));
}

QSize TStatusPanel::minimumSizeHint() const {
  const QMargins m = contentsMargins();
  // The port panel leaves room for one line below its 2-pixel offset.
  if (FKind == pkPort) return {0, fontMetrics().height() + 4 + m.top() + m.bottom()};
  return {fontMetrics().averageCharWidth() * kMinimumCharacters + m.left() + m.right(),
          fontMetrics().height() + m.top() + m.bottom()};
}

QSize TStatusPanel::sizeHint() const {
  const QSize minimum = minimumSizeHint();
  return FKind == pkPort ? QSize(175, minimum.height()) : minimum;
}

void TStatusPanel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  drawFrame(&p);
  const QRect r = contentsRect();
  if (FKind == pkPort) {
    const bool offline = FText.contains(QLatin1String("COMx"));
    p.fillRect(r, ColorToQColor(offline ? clRed : clBtnFace, palette()));
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(r.adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
               ShownText());
    return;
  }
  style()->drawItemText(&p, r,
                        QStyle::visualAlignment(layoutDirection(), FAlignment | Qt::AlignVCenter),
                        palette(), isEnabled(), ShownText(), foregroundRole());
}
