#pragma once
// The picture and caption painter of the speed button. The glyph bitmap holds
// up to five side-by-side images, one per button state; the images of the
// states are cut (or generated) on first use and kept in a glyph list shared,
// per image size, through the process-wide glyph cache.

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <array>
#include <cstdint>

#include "platform/Color.h"
#include "platform/Component.h"
#include "platform/ControlStyles.h"

class QFontMetrics;
class QPainter;
class TGlyphList;
class TImageList;

// In the order of the glyph bitmap's sections.
enum TSpeedButtonState : std::uint8_t { rbsUp, rbsDisabled, rbsDown, rbsExclusive, rbsInactive };
enum TButtonLayout : std::uint8_t { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// Where CalcButtonLayout puts the glyph and the caption.
struct TButtonLayoutResult {
  QPoint GlyphPos;
  QRect TextBounds;
};

class TButtonGlyph : public TObject {
 public:
  TButtonGlyph();
  ~TButtonGlyph() override;
  TButtonGlyph(const TButtonGlyph&) = delete;
  TButtonGlyph& operator=(const TButtonGlyph&) = delete;

  const QImage& Glyph() const { return FOriginal; }
  // Drops the built images and takes a copy of `value`. Its see-through
  // colour is `transparentColor`, clDefault meaning the bottom-left pixel;
  // a width that is 1 to 5 times the height sets NumGlyphs.
  void SetGlyph(const QImage& value, TColor transparentColor = clDefault);
  int NumGlyphs() const { return FNumGlyphs; }
  // Above 5 stores 5; below 1 is ignored.
  void SetNumGlyphs(int value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment value);
  TColor TransparentColor() const { return FTransparentColor; }

  TNotifyEvent OnChange;

  // Releases every built state image from the shared list and gives the list
  // back to the cache.
  void Invalidate();

  // Slot of the state's image in GlyphList(), built on first use; -1 when
  // there is no glyph.
  int CreateButtonGlyph(TSpeedButtonState state);
  // The same for image `index` of `images`.
  int CreateImageGlyph(TSpeedButtonState state, const TImageList& images, int index);
  TGlyphList* GlyphList() const { return FGlyphList; }
  int IndexOf(TSpeedButtonState state) const { return FIndexs[state]; }

  // Lays out glyph (or image-list image) and caption in `client`; see the
  // layout rules in the source. The caption is measured with `fm`.
  TButtonLayoutResult CalcButtonLayout(const QFontMetrics& fm, const QRect& client, const QString& caption,
                                       TButtonLayout layout, int margin, int spacing, bool popupMark,
                                       const TImageList* images = nullptr, int imageIndex = -1) const;
  // The caption with each line shortened ("...") to fit `width`, unless
  // word wrap is on; trailing blanks and line breaks removed.
  QString FitCaption(const QFontMetrics& fm, const QString& caption, int width) const;

  // Lays out and draws glyph, caption and (with popupMark) the drop-down
  // mark; returns the caption's rectangle. `flags` are Qt text flags.
  QRect Draw(QPainter& canvas, const QRect& client, const QString& caption, TButtonLayout layout, int margin,
             int spacing, bool popupMark, TSpeedButtonState state, int flags);
  QRect DrawEx(QPainter& canvas, const QRect& client, const QString& caption, TButtonLayout layout, int margin,
               int spacing, bool popupMark, const TImageList* images, int imageIndex, TSpeedButtonState state,
               int flags);
  // Draws the state's image at (x, y); returns its size, (0, 0) without glyph.
  QSize DrawButtonGlyph(QPainter& canvas, int x, int y, TSpeedButtonState state);
  QSize DrawButtonImage(QPainter& canvas, int x, int y, const TImageList& images, int imageIndex,
                        TSpeedButtonState state);
  // Disabled text is embossed (highlight one pixel down-right, then shadow);
  // other states draw once in the canvas's pen colour.
  void DrawButtonText(QPainter& canvas, const QString& caption, const QRect& textBounds, TSpeedButtonState state,
                      int flags) const;
  // The down-pointing triangle whose 7-pixel top row is row y - 1.
  void DrawPopupMark(QPainter& canvas, int x, int y, TSpeedButtonState state) const;

 private:
  QSize GlyphSize() const;
  int TextFlags(int flags) const;
  void EnsureList(int width, int height);
  QImage Section(int section) const;

  QImage FOriginal;
  TGlyphList* FGlyphList = nullptr;
  std::array<int, 5> FIndexs;
  TColor FTransparentColor = clFuchsia;
  int FNumGlyphs = 1;
  bool FWordWrap = false;
  TAlignment FAlignment = taCenter;
};

// Grey mapping of the inactive image: the see-through colour and the button
// face stay, any other pixel becomes its grey level (77 R + 150 G + 29 B) / 256.
QImage GrayedImage(const QImage& image, QRgb transparentRgb);
