#include "app/ElidedLabel.h"

#include <QPainter>
#include <QStyle>

namespace {
// Wide enough to show that something is there; the layout gives the rest.
constexpr int kMinimumCharacters = 4;
constexpr int kPreferredWidth = 200;
}  // namespace

TElidedLabel::TElidedLabel(QWidget* parent, Qt::TextElideMode mode)
    : QLabel(parent), FMode(mode) {
  setTextFormat(Qt::PlainText);
  setWordWrap(false);
}

QString TElidedLabel::ShownText() const {
  const int width = contentsRect().width() - 2 * margin();
  return fontMetrics().elidedText(text(), FMode, std::max(0, width));
}

QSize TElidedLabel::minimumSizeHint() const {
  const QMargins m = contentsMargins();
  const int w = fontMetrics().averageCharWidth() * kMinimumCharacters;
  return {w + m.left() + m.right() + 2 * margin(),
          fontMetrics().height() + m.top() + m.bottom() + 2 * margin()};
}

QSize TElidedLabel::sizeHint() const {
  // Asking for the whole text's width would still widen a window that is
  // laid out again (adjustSize); the layout stretches the label instead.
  const QSize whole = QLabel::sizeHint();
  return {std::min(whole.width(), kPreferredWidth),
          std::max(whole.height(), minimumSizeHint().height())};
}

void TElidedLabel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  drawFrame(&p);
  const QRect r = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
  style()->drawItemText(&p, r, QStyle::visualAlignment(layoutDirection(), alignment()),
                        palette(), isEnabled(), ShownText(), foregroundRole());
}
