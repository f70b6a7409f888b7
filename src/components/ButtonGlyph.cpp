#include "components/ButtonGlyph.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStringList>

#include "components/Colors.h"
#include "components/DrawUtils.h"
#include "components/GlyphCache.h"
#include "components/GlyphList.h"

namespace {

constexpr int kMaxCaption = 255;

bool ValidImage(const TImageList* images, int index) {
  return images && images->ValidIndex(index) && images->Width() >= 1;
}

// Caption lengths and widths count what is drawn: "&&" is one "&", a lone
// "&" marks the accelerator.
int TextWidth(const QFontMetrics& fm, const QString& text) { return fm.size(Qt::TextShowMnemonic, text).width(); }

}  // namespace

QImage GrayedImage(const QImage& image, QRgb transparentRgb) {
  QImage out = image.convertToFormat(QImage::Format_RGB32);
  const QRgb face = ColorRgb(clBtnFace);
  for (int y = 0; y < out.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x) {
      const QRgb c = line[x] & 0xFFFFFF;
      if (c == transparentRgb || c == face) continue;
      const int g = (77 * qRed(c) + 150 * qGreen(c) + 29 * qBlue(c)) >> 8;
      line[x] = qRgb(g, g, g);
    }
  }
  return out;
}

TButtonGlyph::TButtonGlyph() {
  FIndexs.fill(-1);
  TGlyphCache::Acquire();
}

TButtonGlyph::~TButtonGlyph() {
  Invalidate();
  TGlyphCache::ReleaseIfEmpty();
}

void TButtonGlyph::Invalidate() {
  for (int& index : FIndexs) {
    if (index != -1 && FGlyphList) FGlyphList->Delete(index);
    index = -1;
  }
  if (FGlyphList) {
    if (TGlyphCache* cache = TGlyphCache::Instance()) cache->ReturnList(FGlyphList);
    FGlyphList = nullptr;
  }
}

void TButtonGlyph::SetGlyph(const QImage& value, TColor transparentColor) {
  Invalidate();
  FOriginal = value;
  if (FOriginal.height() > 0) {
    if (transparentColor == clDefault) {
      const QRgb rgb = TransparentRgb(FOriginal, clDefault);
      FTransparentColor = RGBColor(qRed(rgb), qGreen(rgb), qBlue(rgb));
    } else {
      FTransparentColor = transparentColor;
    }
    if (FOriginal.width() % FOriginal.height() == 0) {
      int glyphs = FOriginal.width() / FOriginal.height();
      if (glyphs > 5) glyphs = 1;
      if (glyphs >= 1) FNumGlyphs = glyphs;
    }
  }
  if (OnChange) OnChange(this);
}

void TButtonGlyph::SetNumGlyphs(int value) {
  if (value < 1) return;
  if (value > 5) value = 5;
  if (value == FNumGlyphs) return;
  Invalidate();
  FNumGlyphs = value;
  if (OnChange) OnChange(this);
}

void TButtonGlyph::SetWordWrap(bool value) {
  if (value == FWordWrap) return;
  FWordWrap = value;
  if (OnChange) OnChange(this);
}

void TButtonGlyph::SetAlignment(TAlignment value) {
  if (value == FAlignment) return;
  FAlignment = value;
  if (OnChange) OnChange(this);
}

QSize TButtonGlyph::GlyphSize() const {
  if (FOriginal.isNull() || FOriginal.width() == 0 || FOriginal.height() == 0) return {0, 0};
  return {FOriginal.width() / FNumGlyphs, FOriginal.height()};
}

void TButtonGlyph::EnsureList(int width, int height) {
  if (FGlyphList && (FGlyphList->Width() != width || FGlyphList->Height() != height)) Invalidate();
  if (!FGlyphList) FGlyphList = TGlyphCache::Acquire().GetList(width, height);
}

QImage TButtonGlyph::Section(int section) const {
  const QSize s = GlyphSize();
  return FOriginal.copy(section * s.width(), 0, s.width(), s.height());
}

int TButtonGlyph::CreateButtonGlyph(TSpeedButtonState state) {
  if (state == rbsDown && FNumGlyphs < 3) state = rbsUp;
  if (FIndexs[state] != -1) return FIndexs[state];
  const QSize size = GlyphSize();
  if (size.isEmpty()) return -1;
  EnsureList(size.width(), size.height());
  int section = int(state);
  if (section >= FNumGlyphs) section = 0;
  int index;
  if (state == rbsDisabled && FNumGlyphs == 1) {
    const QImage disabled = CreateDisabledBitmapEx(FOriginal, clBlack, clBtnFace, clBtnHighlight, clBtnShadow, true);
    index = FGlyphList->AddMasked(disabled, clBtnFace);
  } else if (state == rbsInactive && FNumGlyphs < 5) {
    const QRgb key = ColorRgb(FTransparentColor);
    index = FGlyphList->AddMasked(GrayedImage(Section(0), key), FTransparentColor);
  } else {
    index = FGlyphList->AddMasked(Section(section), FTransparentColor);
  }
  FIndexs[state] = index;
  return index;
}

int TButtonGlyph::CreateImageGlyph(TSpeedButtonState state, const TImageList& images, int imageIndex) {
  if (state == rbsDown) state = rbsUp;
  if (FIndexs[state] != -1) return FIndexs[state];
  if (!ValidImage(&images, imageIndex)) return -1;
  EnsureList(images.Width(), images.Height());
  QImage onFace(images.Width(), images.Height(), QImage::Format_RGB32);
  onFace.fill(ColorToQColor(clBtnFace));
  int index;
  if (state == rbsDisabled) {
    QPainter p(&onFace);
    ImageListDrawDisabled(images, p, 0, 0, imageIndex, clBtnHighlight, clBtnShadow, true);
    p.end();
    index = FGlyphList->AddMasked(onFace, clBtnFace);
  } else if (state == rbsInactive) {
    QPainter p(&onFace);
    images.Draw(p, 0, 0, imageIndex);
    p.end();
    index = FGlyphList->AddMasked(GrayedImage(onFace, ColorRgb(clBtnFace)), clBtnFace);
  } else {
    index = FGlyphList->Add(images.Image(imageIndex), images.Mask(imageIndex));
  }
  FIndexs[state] = index;
  return index;
}

QString TButtonGlyph::FitCaption(const QFontMetrics& fm, const QString& caption, int width) const {
  QString text = caption.left(kMaxCaption);
  if (!FWordWrap) {
    QStringList lines = text.split('\n');
    for (QString& line : lines) {
      if (line.endsWith('\r')) line.chop(1);
      if (TextWidth(fm, line) <= width) continue;
      const int len = int(line.size());
      QString attempt = line;
      for (int k = 0; k < len; ++k) {
        attempt = line.left(len - k - 1) + QStringLiteral("...");
        if (TextWidth(fm, attempt) <= width) break;
      }
      line = attempt;
    }
    text = lines.join('\n');
  }
  while (!text.isEmpty() && (text.back() == ' ' || text.back() == '\n' || text.back() == '\r')) text.chop(1);
  return text;
}

int TButtonGlyph::TextFlags(int flags) const {
  return flags | Qt::AlignVCenter | Qt::TextShowMnemonic | (FWordWrap ? int(Qt::TextWordWrap) : 0);
}

// Along the layout axis, with client extent C, glyph extent G and text
// extent T: margin and spacing -1 share the free space in three; one of them
// -1 centres or splits what the other leaves. The popup mark widens the glyph
// (except with the glyph on the left) or else the text, for placing only.
TButtonLayoutResult TButtonGlyph::CalcButtonLayout(const QFontMetrics& fm, const QRect& client,
                                                   const QString& caption, TButtonLayout layout, int margin,
                                                   int spacing, bool popupMark, const TImageList* images,
                                                   int imageIndex) const {
  const int W = client.width(), H = client.height();
  const QSize g = ValidImage(images, imageIndex) ? QSize(images->Width(), images->Height()) : GlyphSize();
  int gw = g.width(), gh = g.height();
  const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
  int availW, availH;
  if (horizontal) {
    availW = W - gw - (margin != -1 ? margin : 0) - (spacing != -1 ? spacing : 0) - (popupMark ? 9 : 0);
    availH = H;
  } else {
    availW = W;
    availH = H - gh - (margin != -1 ? margin : 0) - (spacing != -1 ? spacing : 0);
  }
  availW = qMax(availW, 0);
  availH = qMax(availH, 0);

  const QString text = FitCaption(fm, caption, availW);
  QSize measured(0, 0);
  if (!text.isEmpty()) {
    const int f = Qt::AlignHCenter | TextFlags(0);
    measured = fm.boundingRect(QRect(0, 0, availW, availH), f, text).size();
    measured = QSize(qMin(measured.width(), availW), qMin(measured.height(), availH));
  }
  int tw = measured.width(), th = measured.height();

  if (popupMark) {
    if (gw != 0 && gh != 0 && layout != blGlyphLeft) gw += 6;
    else tw += 9;
  }

  QPoint glyph, textPos;
  if (horizontal) {
    glyph.setY(H / 2 - gh / 2);
    textPos.setY(H / 2 - th / 2);
  } else {
    glyph.setX(W / 2 - gw / 2);
    textPos.setX(W / 2 - tw / 2);
  }

  if (tw == 0 || gw == 0) spacing = 0;
  const int C = horizontal ? W : H;
  const int G = horizontal ? gw : gh;
  const int T = horizontal ? tw : th;
  if (margin == -1) {
    if (spacing == -1) {
      margin = spacing = (C - (G + T)) / 3;
    } else {
      margin = C / 2 - (G + spacing + T) / 2;
    }
  } else if (spacing == -1) {
    spacing = (C - (margin + G)) / 2 - T / 2;
  }

  int gAt = 0, tAt = 0;
  if (layout == blGlyphLeft || layout == blGlyphTop) {
    gAt = margin;
    tAt = gAt + G + spacing;
  } else {
    gAt = C - margin - G;
    tAt = gAt - spacing - T;
  }
  if (horizontal) {
    glyph.setX(gAt);
    textPos.setX(tAt);
  } else {
    glyph.setY(gAt);
    textPos.setY(tAt);
  }
  TButtonLayoutResult r;
  r.GlyphPos = glyph + client.topLeft();
  // The caption's own size: the popup mark's share is beside it.
  r.TextBounds = QRect(textPos + client.topLeft(), measured);
  return r;
}

QRect TButtonGlyph::Draw(QPainter& canvas, const QRect& client, const QString& caption, TButtonLayout layout,
                         int margin, int spacing, bool popupMark, TSpeedButtonState state, int flags) {
  return DrawEx(canvas, client, caption, layout, margin, spacing, popupMark, nullptr, -1, state, flags);
}

QRect TButtonGlyph::DrawEx(QPainter& canvas, const QRect& client, const QString& caption, TButtonLayout layout,
                           int margin, int spacing, bool popupMark, const TImageList* images, int imageIndex,
                           TSpeedButtonState state, int flags) {
  const TButtonLayoutResult l = CalcButtonLayout(canvas.fontMetrics(), client, caption, layout, margin, spacing,
                                                 popupMark, images, imageIndex);
  const QSize drawn = ValidImage(images, imageIndex)
                          ? DrawButtonImage(canvas, l.GlyphPos.x(), l.GlyphPos.y(), *images, imageIndex, state)
                          : DrawButtonGlyph(canvas, l.GlyphPos.x(), l.GlyphPos.y(), state);
  const QString text = FitCaption(canvas.fontMetrics(), caption, l.TextBounds.width());
  DrawButtonText(canvas, text, l.TextBounds, state, flags);
  if (popupMark) {
    const QRect& t = l.TextBounds;
    if (layout != blGlyphLeft && drawn.width() > 0 && drawn.height() > 0)
      DrawPopupMark(canvas, l.GlyphPos.x() + drawn.width() + 1, l.GlyphPos.y() + drawn.height() / 2, state);
    else if (!caption.isEmpty())
      DrawPopupMark(canvas, t.x() + t.width() + 3, t.y() + t.height() / 2, state);
    else {
      const int right = client.x() + client.width();
      DrawPopupMark(canvas, (client.x() + right - 7) / 2, t.y() + t.height() / 2, state);
    }
  }
  return l.TextBounds;
}

QSize TButtonGlyph::DrawButtonGlyph(QPainter& canvas, int x, int y, TSpeedButtonState state) {
  const int index = CreateButtonGlyph(state);
  if (index < 0) return {0, 0};
  FGlyphList->Draw(canvas, x, y, index);
  return GlyphSize();
}

QSize TButtonGlyph::DrawButtonImage(QPainter& canvas, int x, int y, const TImageList& images, int imageIndex,
                                    TSpeedButtonState state) {
  if (!images.ValidIndex(imageIndex)) return {0, 0};
  if (state == rbsDisabled) {
    ImageListDrawDisabled(images, canvas, x, y, imageIndex, clBtnHighlight, clBtnShadow, true);
  } else if (state == rbsInactive) {
    const int index = CreateImageGlyph(rbsInactive, images, imageIndex);
    if (index >= 0) FGlyphList->Draw(canvas, x, y, index);
  } else {
    images.Draw(canvas, x, y, imageIndex);
  }
  return {images.Width(), images.Height()};
}

void TButtonGlyph::DrawButtonText(QPainter& canvas, const QString& caption, const QRect& textBounds,
                                  TSpeedButtonState state, int flags) const {
  if (caption.isEmpty()) return;
  const int f = TextFlags(flags);
  canvas.save();
  canvas.setBrush(Qt::NoBrush);
  if (state == rbsDisabled) {
    canvas.setPen(ColorToQColor(clBtnHighlight));
    canvas.drawText(textBounds.translated(1, 1), f, caption);
    canvas.setPen(ColorToQColor(clBtnShadow));
  }
  canvas.drawText(textBounds, f, caption);
  canvas.restore();
}

void TButtonGlyph::DrawPopupMark(QPainter& canvas, int x, int y, TSpeedButtonState state) const {
  const auto triangle = [&canvas](int ax, int ay, const QColor& c) {
    for (int row = 0; row < 4; ++row) canvas.fillRect(ax + row, ay - 1 + row, 7 - 2 * row, 1, c);
  };
  if (state == rbsDisabled) {
    triangle(x + 1, y + 1, ColorToQColor(clBtnHighlight));
    triangle(x, y, ColorToQColor(clBtnShadow));
  } else {
    triangle(x, y, ColorToQColor(clBtnText));
  }
}
