#include "components/SecretPanel.h"

#include <QEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <algorithm>

#include "components/Colors.h"
#include "components/DrawUtils.h"
#include "components/Frame3D.h"
#include "components/ThreadedTimer.h"

namespace {

// Rectangles by their edges, right and bottom outside.
QRect Edges(int left, int top, int right, int bottom) {
  return QRect(left, top, right - left, bottom - top);
}

constexpr int kMaxLineLength = 1023;

int LastNonBlank(const QStringList& lines) {
  for (int i = static_cast<int>(lines.size()) - 1; i >= 0; --i)
    if (!lines[i].trimmed().isEmpty()) return i;
  return -1;
}

int FirstNonBlank(const QStringList& lines) {
  for (int i = 0; i < lines.size(); ++i)
    if (!lines[i].trimmed().isEmpty()) return i;
  return static_cast<int>(lines.size());
}

// Centres `size` in [lo, hi), not before lo.
int Centre(int lo, int hi, int size) { return std::max((lo + hi - size) / 2, lo); }

// Puts a picture of `size` at the start or the end of the text's span
// [lo, hi) on one axis, 3 pixels in and `gap` away from the text, which
// keeps the rest. Returns the picture's position.
int PlacePicture(int& lo, int& hi, int size, int gap, bool atStart) {
  if (atStart) {
    int p = lo;
    if (size > 0) {
      p += 3;
      lo = p + size + gap;
    }
    return p;
  }
  int p = hi - size;
  if (size > 0) {
    p = std::max(p - 3, lo);
    hi = p - gap;
  }
  return p;
}

}  // namespace

TSecretPanel::TSecretPanel(QWidget* parent) : QWidget(parent), FTimer(std::make_unique<TThreadedTimer>()) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  // The ticks draw off the GUI thread; the GUI thread shows their newest
  // image at its own pace.
  FFrameTimer = new QTimer(this);
  connect(FFrameTimer, &QTimer::timeout, this, [this] { ShowFreshImage(); });
  FTimer->SetEnabled(false);
  FTimer->SetOnTimer([this](TObject*) { TimerExpired(); });
  FTimer->SetInterval(30);
  FTimer->SetSyncEvent(false);
}

TSecretPanel::~TSecretPanel() {
  FDestroying = true;
  SetActive(false);
  // Also a timer someone enabled by hand: no tick may run past this.
  FTimer->SetEnabled(false);
  FTimer.reset();
}

// ------------------------------------------------------------ properties

void TSecretPanel::SetBevelOuter(TBevelCut value) {
  if (value == FBevelOuter) return;
  FBevelOuter = value;
  Realign();
}

void TSecretPanel::SetBevelInner(TBevelCut value) {
  if (value == FBevelInner) return;
  FBevelInner = value;
  Realign();
}

void TSecretPanel::SetBevelWidth(int value) {
  value = std::max(value, 1);
  if (value == FBevelWidth) return;
  FBevelWidth = value;
  Realign();
}

void TSecretPanel::SetBorderWidth(int value) {
  value = std::max(value, 0);
  if (value == FBorderWidth) return;
  FBorderWidth = value;
  Realign();
}

void TSecretPanel::SetColor(TColor value) {
  if (value == FColor) return;
  FColor = value;
  Realign();
}

void TSecretPanel::SetFontColor(TColor value) {
  if (value == FFontColor) return;
  FFontColor = value;
  Realign();
}

void TSecretPanel::SetActive(bool value) {
  if (value == FActive) return;
  if (value) {
    FActive = true;
    {
      std::lock_guard lock(FImageLock);
      FScrollCnt = 0;
    }
    UpdateMemoryImage();
    FFrameTimer->start(static_cast<int>(std::clamp<std::uint32_t>(Interval(), 16, 100)));
    try {
      FTimer->SetEnabled(true);
      StartPlay();
    } catch (...) {
      FActive = false;
      FTimer->SetEnabled(false);
      FFrameTimer->stop();
      throw;
    }
    if (!FDestroying) {
      for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isWindow()) continue;
        if (!child->isHidden()) FHiddenList.emplace_back(child);
        child->setVisible(false);
      }
    }
    update();
    return;
  }
  FActive = false;
  // Waits for a tick in progress and drops a pending end-of-pass Stop, so
  // no tick can use the image after this (never while the image lock is
  // held: the tick may be waiting for it).
  FTimer->SetEnabled(false);
  FFrameTimer->stop();
  {
    std::lock_guard lock(FImageLock);
    FScrollCnt = 0;
    FMemoryImage = QImage();
    std::lock_guard canvas(FCanvasLock);
    FShownImage = QImage();
  }
  StopPlay();
  if (!FDestroying) {
    for (const QPointer<QWidget>& child : FHiddenList) {
      if (!child) continue;
      child->setVisible(true);
      child->update();
    }
  }
  FHiddenList.clear();
  update();
}

void TSecretPanel::SetAlignment(TAlignment value) {
  if (value == FAlignment) return;
  {
    std::lock_guard lock(FImageLock);
    FAlignment = value;
  }
  if (FActive) update();
}

void TSecretPanel::SetLines(const QStringList& value) {
  {
    std::lock_guard lock(FImageLock);
    FLines = value;
  }
  Refresh(true);
}

void TSecretPanel::SetGlyph(const QImage& value) {
  {
    std::lock_guard lock(FImageLock);
    FGlyph = value;
  }
  Refresh(false);
}

void TSecretPanel::SetGlyphLayout(TGlyphLayout value) {
  if (value == FGlyphLayout) return;
  {
    std::lock_guard lock(FImageLock);
    FGlyphLayout = value;
  }
  Refresh(false);
}

std::uint32_t TSecretPanel::Interval() const { return FTimer->Interval(); }

void TSecretPanel::SetInterval(std::uint32_t value) { FTimer->SetInterval(value); }

void TSecretPanel::SetScrollDirection(TScrollDirection value) {
  if (value == FDirection) return;
  {
    std::lock_guard lock(FImageLock);
    FDirection = value;
  }
  Refresh(true);
}

void TSecretPanel::SetTextStyle(TBevelCut value) {
  if (value == FTextStyle) return;
  {
    std::lock_guard lock(FImageLock);
    FTextStyle = value;
  }
  Refresh(false);
}

void TSecretPanel::SetAsyncDrawing(bool value) {
  if (value == FAsyncDrawing) return;
  FAsyncDrawing = value;
  FTimer->SetSyncEvent(!value);
}

// ------------------------------------------------------ change handling

void TSecretPanel::Refresh(bool restart) {
  if (!FActive) return;
  if (restart) {
    std::lock_guard lock(FImageLock);
    FScrollCnt = 0;
  }
  UpdateMemoryImage();
  update();
}

void TSecretPanel::Realign() {
  if (FActive) UpdateMemoryImage();
  update();
}

void TSecretPanel::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Realign();
}

void TSecretPanel::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  switch (event->type()) {
    case QEvent::FontChange:
    case QEvent::PaletteChange:
    case QEvent::LayoutDirectionChange:
      if (FActive) UpdateMemoryImage();
      break;
    default:
      break;
  }
}

void TSecretPanel::mouseDoubleClickEvent(QMouseEvent* event) {
  QWidget::mouseDoubleClickEvent(event);
  if (OnDblClick) OnDblClick(this);
}

void TSecretPanel::StartPlay() {
  if (OnStartPlay) OnStartPlay(this);
}

void TSecretPanel::StopPlay() {
  if (OnStopPlay) OnStopPlay(this);
}

// ------------------------------------------------------------- geometry

int TSecretPanel::BorderSize() const {
  int b = FBorderWidth;
  if (FBevelOuter != bvNone) b += FBevelWidth;
  if (FBevelInner != bvNone) b += FBevelWidth;
  return b;
}

QColor TSecretPanel::PanelColor() const { return ColorToQColor(FColor, palette()); }

void TSecretPanel::RecalcDrawRect() {
  const int b = BorderSize();
  const QRect client = rect();
  FPaintRect = client.adjusted(b, b, -b, -b);
  int left = client.left() + b + 3, top = client.top() + b + 3;
  int right = client.left() + client.width() - (b + 3);
  int bottom = client.top() + client.height() - (b + 3);

  const int w = FGlyph.isNull() ? 0 : FGlyph.width();
  const int h = FGlyph.isNull() ? 0 : FGlyph.height();
  const bool horizontal = FGlyphLayout == glGlyphLeft || FGlyphLayout == glGlyphRight;
  const bool atStart = FGlyphLayout == glGlyphLeft || FGlyphLayout == glGlyphTop;
  int x, y;
  if (horizontal) {
    y = Centre(top, bottom, h);
    x = PlacePicture(left, right, w, b + 3, atStart);
  } else {
    x = Centre(left, right, w);
    y = PlacePicture(top, bottom, h, b + 6, atStart);
  }
  FGlyphOrigin = QPoint(x, y);

  if (FDirection == sdHorizontal) {
    const int lines = LastNonBlank(FLines) + 1 - FFirstLine;
    const int spare = (bottom - top) - lines * FTxtDivider;
    if (spare > 0) {
      top += spare / 2;
      bottom -= spare / 2;
    }
  }
  FTxtRect = left < right && top < bottom ? Edges(left, top, right, bottom) : QRect(0, 0, 0, 0);
}

void TSecretPanel::UpdateMemoryImage() {
  std::lock_guard lock(FImageLock);
  UpdateMemoryImageLocked();
}

void TSecretPanel::UpdateMemoryImageLocked() {
  const QRect oldText = FTxtRect;
  FFirstLine = FirstNonBlank(FLines);
  const QFontMetrics metrics(font());
  const int pitch = metrics.height() + std::max(metrics.leading(), 0) + (FTextStyle != bvNone ? 1 : 0);
  FTxtDivider = static_cast<std::uint8_t>(pitch);
  RecalcDrawRect();
  const int count = static_cast<int>(FLines.size());
  if (FDirection == sdVertical) {
    FMaxScroll = FTxtRect.height() + (count - FFirstLine) * FTxtDivider;
  } else {
    int widest = 0;
    for (int i = FFirstLine; i < count; ++i) widest = std::max(widest, metrics.horizontalAdvance(FLines[i]));
    FMaxScroll = widest + FTxtRect.width();
  }
  FMemoryImage = FTxtRect.isEmpty() ? QImage() : QImage(FTxtRect.size(), QImage::Format_RGB32);
  // A copy of its own: the worker's text engine must not share the
  // widget's font data.
  FDrawState.font.fromString(font().toString());
  FDrawState.fontColor = ColorToQColor(FFontColor, palette());
  FDrawState.highlight = ColorToQColor(clBtnHighlight, palette());
  FDrawState.brush = PanelColor();
  FDrawState.rightToLeft = layoutDirection() == Qt::RightToLeft;
  if (FTxtRect != oldText) {
    // Shown elsewhere or in another size: nothing until the next step.
    std::lock_guard canvas(FCanvasLock);
    FShownImage = QImage();
  }
}

// -------------------------------------------------------------- drawing

void TSecretPanel::PaintClient(QPainter& Canvas, const QRect& Rect) {
  if (OnPaintClient)
    OnPaintClient(this, Canvas, Rect);
  else
    Canvas.fillRect(Rect, Canvas.brush());
}

void TSecretPanel::TimerExpired() {
  bool endOfPass = false;
  {
    std::lock_guard lock(FImageLock);
    if (FScrollCnt < FMaxScroll)
      ++FScrollCnt;
    else if (FCycled)
      FScrollCnt = 0;
    else
      endOfPass = true;
  }
  if (!endOfPass) {
    PaintText();  // draws nothing without an image
    return;
  }
  // Handed over without the image lock: the GUI thread may be painting.
  // Nothing of this panel may be used after the hand-over.
  FTimer->Synchronize([this] { Stop(); });
}

void TSecretPanel::PaintText() {
  std::unique_lock lock(FImageLock);
  if (FLines.isEmpty() || FTxtRect.isEmpty() || FMemoryImage.isNull()) return;
  const int width = FTxtRect.width(), height = FTxtRect.height();
  {
    QPainter canvas(&FMemoryImage);
    canvas.save();
    canvas.translate(-FTxtRect.topLeft());
    canvas.setBrush(FDrawState.brush);
    canvas.setPen(Qt::NoPen);
    PaintClient(canvas, FPaintRect);
    canvas.restore();

    QRect r = Edges(0, 0, width, height);
    if (FDirection == sdVertical) {
      r.setTop(height - FScrollCnt);
    } else if (!FDrawState.rightToLeft) {
      const int left = width - FScrollCnt;
      r = Edges(left, r.top(), left + (FMaxScroll - width), r.top() + r.height());
    } else {
      const int right = FScrollCnt;
      r = Edges(right - (FMaxScroll - width), r.top(), right, r.top() + r.height());
    }
    r.setHeight(FTxtDivider);

    int flags = Qt::AlignTop | Qt::TextSingleLine | Qt::TextExpandTabs | Qt::TextDontClip;
    switch (FAlignment) {
      case taLeftJustify: flags |= Qt::AlignLeft; break;
      case taRightJustify: flags |= Qt::AlignRight; break;
      case taCenter: flags |= Qt::AlignHCenter; break;
    }
    canvas.setLayoutDirection(FDrawState.rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    canvas.setFont(FDrawState.font);
    const int count = static_cast<int>(FLines.size());
    for (int i = FFirstLine; i <= count; ++i) {
      const QString text = i == count ? QStringLiteral(" ") : FLines[i].left(kMaxLineLength);
      if (r.top() >= height) break;
      if (r.top() + r.height() > 0) {
        if (FTextStyle == bvLowered || FTextStyle == bvRaised) {
          const int d = FTextStyle == bvLowered ? 1 : -1;
          canvas.setPen(FDrawState.highlight);
          canvas.drawText(r.translated(d, d), flags, text);
        }
        canvas.setPen(FDrawState.fontColor);
        canvas.drawText(r, flags, text);
      }
      r.translate(0, FTxtDivider);
    }
  }
  std::lock_guard canvas(FCanvasLock);
  FShownImage = FMemoryImage.copy();
  FShownFresh = true;
}

void TSecretPanel::ShowFreshImage() {
  QRect area;
  {
    std::lock_guard lock(FImageLock);
    std::lock_guard canvas(FCanvasLock);
    if (!FShownFresh) return;
    FShownFresh = false;
    area = FTxtRect;
  }
  update(area);
}

void TSecretPanel::PaintGlyph(QPainter& canvas) {
  if (FGlyph.isNull()) return;
  RecalcDrawRect();
  DrawBitmapTransparent(canvas, FGlyphOrigin.x(), FGlyphOrigin.y(), FGlyph, clDefault);
}

void TSecretPanel::paintEvent(QPaintEvent*) {
  std::lock_guard lock(FImageLock);
  std::lock_guard canvasLock(FCanvasLock);
  QPainter canvas(this);
  const QColor shadow = ColorToQColor(clBtnShadow, palette());
  const QColor light = ColorToQColor(clBtnHighlight, palette());
  const QColor face = PanelColor();
  auto bevel = [&](const QRect& r, TBevelCut cut) {
    if (cut == bvNone) return r;
    return cut == bvLowered ? Frame3D(canvas, r, shadow, light, FBevelWidth)
                            : Frame3D(canvas, r, light, shadow, FBevelWidth);
  };
  QRect r = bevel(rect(), FBevelOuter);
  r = Frame3D(canvas, r, face, face, FBorderWidth);
  r = bevel(r, FBevelInner);
  canvas.save();
  canvas.setClipRect(r);
  canvas.setBrush(face);
  canvas.setPen(Qt::NoPen);
  PaintClient(canvas, r);
  canvas.restore();
  if (!FActive) return;
  PaintGlyph(canvas);
  // The last step's text, so a repaint does not blank it until the next step.
  if (!FShownImage.isNull()) canvas.drawImage(FTxtRect.topLeft(), FShownImage);
}
