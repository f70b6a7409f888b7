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
  const QFontMetrics fm = fontMetrics();
  const int width = std::max(0, contentsRect().width() - (FKind == pkPort ? 2 : 0));
  if (FKind != pkPort) return fm.elidedText(FText, Qt::ElideRight, width);
  if (fm.horizontalAdvance(FText) <= width) return FText;
  // " <port>:<rate>,<bits>,<parity>,<stop>,<flow>": the line settings are what
  // a technician compares with the meter, so they stay whole and only the
  // path gives way (a by-path name may itself hold colons).
  const qsizetype colon = FText.lastIndexOf(QLatin1Char(':'));
  if (colon > 0) {
    const QString settings = FText.mid(colon);
    const int room = width - fm.horizontalAdvance(settings);
    if (room > fm.horizontalAdvance(QStringLiteral(" /d\u2026"))) {
      return fm.elidedText(FText.left(colon), Qt::ElideMiddle, room) + settings;
    }
  }
  return fm.elidedText(FText, Qt::ElideMiddle, width);
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
