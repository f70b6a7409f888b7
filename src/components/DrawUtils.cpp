#include "components/DrawUtils.h"

#include <QApplication>
#include <QCoreApplication>
#include <QPainter>
#include <QScreen>
#include <QThread>
#include <QWidget>

#include "components/Colors.h"
#include "components/ImageList.h"

namespace {

bool IsMonochrome(const QImage& img) {
  return img.format() == QImage::Format_Mono || img.format() == QImage::Format_MonoLSB;
}

// `color` wherever `shape` holds, see-through elsewhere: drawn over a
// canvas it paints the colour through the mask and keeps the rest.
QImage ColourThroughMask(const QImage& shape, QRgb color) {
  QImage out(shape.size(), QImage::Format_ARGB32);
  const QRgb solid = 0xFF000000u | color;
  for (int y = 0; y < shape.height(); ++y) {
    const auto* m = reinterpret_cast<const QRgb*>(shape.constScanLine(y));
    auto* d = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < shape.width(); ++x) d[x] = qAlpha(m[x]) ? solid : 0;
  }
  return out;
}

void Emboss(QPainter& canvas, int x, int y, const QImage& shape, TColor highlight, TColor shadow,
            bool drawHighlight) {
  canvas.save();
  canvas.setCompositionMode(QPainter::CompositionMode_SourceOver);
  if (drawHighlight) canvas.drawImage(x + 1, y + 1, ColourThroughMask(shape, ColorRgb(highlight)));
  canvas.drawImage(x, y, ColourThroughMask(shape, ColorRgb(shadow)));
  canvas.restore();
}

}  // namespace

void CopyParentImage(QWidget* control, QPainter& dest) {
  if (!control) return;
  QWidget* parent = control->parentWidget();
  if (!parent) return;
  const QPoint origin = control->pos();
  parent->render(&dest, -origin, QRegion(parent->rect()), QWidget::DrawWindowBackground);
  const QRect bounds = control->geometry();
  for (QObject* o : parent->children()) {
    if (o == control) break;
    auto* child = qobject_cast<QWidget*>(o);
    if (!child || child->isWindow() || !child->isVisibleTo(parent)) continue;
    if (!child->geometry().intersects(bounds)) continue;
    child->render(&dest, child->pos() - origin, QRegion(child->rect()),
                  QWidget::DrawWindowBackground | QWidget::DrawChildren);
  }
}

QRgb ColorRgb(TColor color) { return ColorToQColor(color).rgb() & 0xFFFFFF; }

QRgb TransparentRgb(const QImage& bitmap, TColor transparentColor) {
  if (transparentColor == clDefault) {
    if (IsMonochrome(bitmap) || bitmap.isNull()) return 0xFFFFFF;
    return bitmap.pixel(0, bitmap.height() - 1) & 0xFFFFFF;
  }
  return ColorRgb(transparentColor);
}

void StretchBitmapTransparent(QPainter& dest, const QImage& bitmap, TColor transparentColor, int dstX,
                              int dstY, int dstW, int dstH, int srcX, int srcY, int srcW, int srcH) {
  if (bitmap.isNull()) return;
  if (dstW < 1) dstW = bitmap.width();
  if (dstH < 1) dstH = bitmap.height();
  if (srcW < 1 || srcH < 1) {
    srcX = srcY = 0;
    srcW = bitmap.width();
    srcH = bitmap.height();
  }
  QImage part = bitmap.copy(srcX, srcY, srcW, srcH).convertToFormat(QImage::Format_ARGB32);
  if (transparentColor != clNone) {
    const QRgb key = TransparentRgb(bitmap, transparentColor);
    for (int y = 0; y < part.height(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(part.scanLine(y));
      for (int x = 0; x < part.width(); ++x)
        if ((line[x] & 0xFFFFFF) == key) line[x] = 0;
    }
  }
  dest.save();
  // Nearest pixel keeps the colour-on-colour look and never blends the
  // see-through colour into its neighbours.
  dest.setRenderHint(QPainter::SmoothPixmapTransform, false);
  dest.drawImage(QRect(dstX, dstY, dstW, dstH), part);
  dest.restore();
}

void DrawBitmapTransparent(QPainter& dest, int x, int y, const QImage& bitmap, TColor transparentColor) {
  StretchBitmapTransparent(dest, bitmap, transparentColor, x, y, bitmap.width(), bitmap.height(), 0, 0,
                           bitmap.width(), bitmap.height());
}

QImage CreateDisabledBitmapEx(const QImage& original, TColor outlineColor, TColor backColor,
                              TColor highlightColor, TColor shadowColor, bool drawHighlight) {
  QImage result(original.size(), QImage::Format_RGB32);
  if (original.isNull()) return result;
  // A monochrome picture is its black pixels on white paper; a colour one is
  // outlined in `outlineColor`, and that outline is what the emboss shows.
  const bool mono = IsMonochrome(original);
  const QRgb outline = ColorRgb(outlineColor);
  const QImage src = original.convertToFormat(QImage::Format_RGB32);
  QImage shape(src.size(), QImage::Format_ARGB32);
  for (int y = 0; y < src.height(); ++y) {
    const auto* s = reinterpret_cast<const QRgb*>(src.constScanLine(y));
    auto* m = reinterpret_cast<QRgb*>(shape.scanLine(y));
    for (int x = 0; x < src.width(); ++x) {
      const QRgb rgb = s[x] & 0xFFFFFF;
      m[x] = (mono ? rgb != 0xFFFFFF : rgb == outline) ? 0xFFFFFFFFu : 0;
    }
  }
  result.fill(ColorToQColor(backColor));
  QPainter p(&result);
  Emboss(p, 0, 0, shape, highlightColor, shadowColor, drawHighlight);
  return result;
}

void ImageListDrawDisabled(const TImageList& images, QPainter& canvas, int x, int y, int index,
                           TColor highlightColor, TColor grayColor, bool drawHighlight) {
  const QImage shape = images.Image(index);
  if (shape.isNull()) return;
  Emboss(canvas, x, y, shape, highlightColor, grayColor, drawHighlight);
}

TColor PaletteColor(TColor color) { return QColorToColor(ColorToQColor(color)) | 0x02000000; }

void KillMessage(QObject* receiver, QEvent::Type type) {
  if (type == QEvent::Quit) return;
  QCoreApplication::removePostedEvents(receiver, type);
}

void KeepRectOnScreen(QRect& r, const QRect& screen) {
  if (r.x() + r.width() > screen.x() + screen.width()) r.moveLeft(screen.x() + screen.width() - r.width());
  if (r.x() < screen.x()) r.moveLeft(screen.x());
  if (r.y() + r.height() > screen.y() + screen.height()) r.moveTop(screen.y() + screen.height() - r.height());
  if (r.y() < screen.y()) r.moveTop(screen.y());
}

namespace {
QRect PrimaryScreenRect() {
  const QScreen* s = QGuiApplication::primaryScreen();
  return s ? s->geometry() : QRect();
}
}  // namespace

void KeepRectOnScreen(QRect& r) { KeepRectOnScreen(r, PrimaryScreenRect()); }

void CenterWindow(QWidget* window) {
  if (!window) return;
  const QRect screen = PrimaryScreenRect();
  const QSize size = window->frameGeometry().size();
  QRect r(screen.x() + (screen.width() - size.width()) / 2, screen.y() + (screen.height() - size.height()) / 2,
          size.width(), size.height());
  KeepRectOnScreen(r, screen);
  window->move(r.topLeft());
}

bool IsForegroundTask() {
  const QWidget* active = QApplication::activeWindow();
  return active && active->thread() == QThread::currentThread();
}
