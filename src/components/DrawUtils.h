#pragma once
// Free drawing and window routines of the custom controls: the image behind a
// see-through control, bitmaps drawn with one colour see-through, embossed
// (disabled-looking) pictures, rectangle sizes, keeping windows on the
// screen. Bitmaps are QImages and count as opaque; a monochrome image
// (Format_Mono/MonoLSB) is a monochrome bitmap.

#include <QEvent>
#include <QImage>
#include <QRect>
#include <QString>

#include "platform/Color.h"

class QObject;
class QPainter;
class QWidget;
class TImageList;

// Paints what lies behind `control` into `dest`, whose origin is the
// control's top-left corner: the parent's background and own painting, then
// the parent's visible children stacked below the control that overlap it.
// Nothing without a control or a parent.
void CopyParentImage(QWidget* control, QPainter& dest);

// Copies the source part of `bitmap`, stretched (nearest pixel), to the
// destination rectangle, leaving the destination unchanged where the bitmap
// has `transparentColor`. A destination width or height below 1 takes the
// bitmap's; a source width or height below 1 takes the whole bitmap.
// clNone copies opaquely; clDefault takes the bottom-left pixel's colour
// (white for a monochrome bitmap).
void StretchBitmapTransparent(QPainter& dest, const QImage& bitmap, TColor transparentColor, int dstX,
                              int dstY, int dstW, int dstH, int srcX, int srcY, int srcW, int srcH);
// The whole bitmap at its own size at (x, y).
void DrawBitmapTransparent(QPainter& dest, int x, int y, const QImage& bitmap, TColor transparentColor);

// The colour as 0xRRGGBB (system colours follow the palette), for
// comparing with pixels.
QRgb ColorRgb(TColor color);

// The colour a see-through marker resolves to: clDefault gives the
// bitmap's bottom-left pixel (white for monochrome), system colours follow
// the palette. Returns 0xRRGGBB.
QRgb TransparentRgb(const QImage& bitmap, TColor transparentColor);

// An embossed copy of `original`, same size: back colour everywhere, the
// pixels of `outlineColor` (the black pixels of a monochrome bitmap, whose
// white ones stay back colour) in the shadow colour, with `drawHighlight`
// the same shape first one pixel down and right in the highlight colour.
QImage CreateDisabledBitmapEx(const QImage& original, TColor outlineColor, TColor backColor,
                              TColor highlightColor, TColor shadowColor, bool drawHighlight);

// Draws the silhouette of image `index` (its drawn pixels) embossed onto the
// canvas: highlight at (x+1, y+1) when asked, then grey at (x, y).
void ImageListDrawDisabled(const TImageList& images, QPainter& canvas, int x, int y, int index,
                           TColor highlightColor, TColor grayColor, bool drawHighlight);

// Right minus left, bottom minus top (QRect's right and bottom are inside).
inline int WidthOf(const QRect& r) { return r.width(); }
inline int HeightOf(const QRect& r) { return r.height(); }

// The colour's RGB value with the palette-relative flag set.
TColor PaletteColor(TColor color);

// Removes pending posted events of `type` for `receiver`. A quit request is
// never dropped. Events the window system has not yet handed over cannot be
// reached.
void KillMessage(QObject* receiver, QEvent::Type type);

// Shifts `r`, keeping its size, into `screen` (right and bottom edges first,
// so a rectangle larger than the screen ends at its left or top). The
// one-argument form uses the primary screen.
void KeepRectOnScreen(QRect& r, const QRect& screen);
void KeepRectOnScreen(QRect& r);

// Centres the window (frame included) on the primary screen, kept on it,
// without resizing, raising or activating it.
void CenterWindow(QWidget* window);

// Texts are used as they are.
inline QString ResStr(const QString& text) { return text; }

// True while the active window belongs to the calling thread (the GUI
// thread, when this program is the active application).
bool IsForegroundTask();
