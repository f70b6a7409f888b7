#include "components/FileDirEdit.h"

#include <QDragEnterEvent>
#include <QMimeData>
#include <QPainter>
#include <QUrl>

#include "components/Colors.h"

TFileDirEdit::TFileDirEdit(QWidget* parent) : TCustomComboEdit(parent) { SetGlyphKind(gkDefault); }

QImage TFileDirEdit::FileEditGlyph() {
  static const QImage glyph = [] {
    QImage img(15, 13, QImage::Format_RGB32);
    img.fill(ColorToQColor(clFuchsia));
    QPainter p(&img);
    const QColor outline(0, 0, 0), body(255, 214, 90), tab(240, 190, 60);
    p.fillRect(1, 2, 5, 2, tab);
    p.fillRect(1, 4, 12, 7, body);
    p.setPen(outline);
    p.drawLine(1, 1, 5, 1);
    p.drawLine(0, 2, 0, 11);
    p.drawLine(6, 2, 7, 3);
    p.drawLine(7, 3, 12, 3);
    p.drawLine(13, 4, 13, 11);
    p.drawLine(1, 11, 12, 11);
    p.drawLine(1, 4, 6, 4);
    return img;
  }();
  return glyph;
}

void TFileDirEdit::SetAcceptFiles(bool value) {
  FAcceptFiles = value;
  setAcceptDrops(true);  // text drops stay the line edit's
}

void TFileDirEdit::DropFiles(const QStringList& names) {
  ClearFileList();
  for (const QString& name : names) {
    ReceptFileDir(name);
    if (!FMultipleDirs) break;
  }
  if (OnDropFiles) OnDropFiles(this);
}

namespace {
QStringList LocalFiles(const QMimeData* mime) {
  QStringList names;
  if (!mime || !mime->hasUrls()) return names;
  for (const QUrl& url : mime->urls())
    if (url.isLocalFile()) names << url.toLocalFile();
  return names;
}
}  // namespace

bool TFileDirEdit::AcceptFileDrag(QDragMoveEvent* event) {
  if (!FAcceptFiles || LocalFiles(event->mimeData()).isEmpty()) return false;
  event->acceptProposedAction();
  return true;
}

void TFileDirEdit::dragEnterEvent(QDragEnterEvent* event) {
  if (!AcceptFileDrag(event)) TCustomComboEdit::dragEnterEvent(event);
}

void TFileDirEdit::dragMoveEvent(QDragMoveEvent* event) {
  if (!AcceptFileDrag(event)) TCustomComboEdit::dragMoveEvent(event);
}

void TFileDirEdit::dropEvent(QDropEvent* event) {
  const QStringList names = FAcceptFiles ? LocalFiles(event->mimeData()) : QStringList();
  if (names.isEmpty()) {
    TCustomComboEdit::dropEvent(event);
    return;
  }
  event->acceptProposedAction();
  DropFiles(names);
}
