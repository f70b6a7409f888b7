#include "app/ImageList.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QStyle>

namespace {

constexpr int kSize = 16;

QIcon Standard(QStyle::StandardPixmap p) { return QApplication::style()->standardIcon(p); }

// Draws one 16 x 16 image on a transparent background.
template <typename Paint>
QIcon Drawn(Paint paint) {
  QPixmap pm(kSize, kSize);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  paint(p);
  p.end();
  return QIcon(pm);
}

QIcon Letters(const QString& text, bool bold) {
  return Drawn([&](QPainter& p) {
    QFont f(QStringLiteral("Tahoma"));
    f.setPixelSize(text.size() > 1 ? 10 : 13);
    f.setBold(bold);
    p.setFont(f);
    p.setPen(Qt::black);
    p.drawText(QRect(0, 0, kSize, kSize), Qt::AlignCenter, text);
  });
}

QIcon Printer() {
  return Drawn([](QPainter& p) {
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRect(4, 1, 8, 6);  // paper
    p.setBrush(QColor(0x80, 0x80, 0x80));
    p.drawRect(1, 6, 14, 6);  // body
    p.setBrush(Qt::white);
    p.drawRect(4, 10, 8, 5);  // sheet coming out
  });
}

// A clipboard with an arrow out of it (export) or into it (import).
QIcon Clipboard(bool out) {
  return Drawn([out](QPainter& p) {
    p.setPen(Qt::black);
    p.setBrush(QColor(0xC8, 0xA0, 0x60));
    p.drawRect(1, 2, 9, 13);
    p.setBrush(Qt::white);
    p.drawRect(3, 4, 5, 9);
    p.setPen(QPen(QColor(0x00, 0x60, 0xC0), 2));
    p.drawLine(9, 9, 15, 9);
    if (out) {
      p.drawLine(15, 9, 12, 6);
      p.drawLine(15, 9, 12, 12);
    } else {
      p.drawLine(9, 9, 12, 6);
      p.drawLine(9, 9, 12, 12);
    }
  });
}

}  // namespace

QIcon ImageListIcon(int index) {
  switch (index) {
    case 1: return Clipboard(true);
    case 2: return Clipboard(false);
    case 7: return Standard(QStyle::SP_DialogOpenButton);
    case 8: return Standard(QStyle::SP_DialogSaveButton);
    case 14: return Printer();
    case 17: return Standard(QStyle::SP_MessageBoxInformation);
    case 18: return Letters(QStringLiteral("A+"), false);
    case 19: return Letters(QStringLiteral("A-"), false);
    case 20: return Letters(QStringLiteral("B"), true);
    case 21: return Standard(QStyle::SP_DialogCloseButton);
    case 23: return Standard(QStyle::SP_ArrowUp);
    case 24: return Standard(QStyle::SP_FileDialogContentsView);
    case 25: return Standard(QStyle::SP_ArrowDown);
    case 26: return Standard(QStyle::SP_ComputerIcon);
    default: return {};
  }
}
