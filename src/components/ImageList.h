#pragma once
// A list of equally sized images, each with its mask kept as the alpha
// channel: 0 where the image is see-through, 255 where it is drawn. Images
// added with a mask bitmap follow the mask convention of the drawing
// routines: a set (white) mask pixel is see-through.

#include <QImage>
#include <vector>

#include "platform/Color.h"

class QPainter;

class TImageList {
 public:
  TImageList(int width, int height);
  virtual ~TImageList() = default;

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  // Number of slots, taken or not.
  int Count() const { return int(FImages.size()); }
  bool ValidIndex(int index) const { return index >= 0 && index < Count(); }

  // Appends the image (cut or padded to the list's size); returns its index.
  // `mask` white = see-through; a null mask makes the image opaque.
  virtual int Add(const QImage& image, const QImage& mask);
  // Appends the image with every pixel of `maskColor` see-through.
  virtual int AddMasked(const QImage& image, TColor maskColor);
  // Replace an existing slot; an invalid index does nothing.
  void Replace(int index, const QImage& image, const QImage& mask);
  void ReplaceMasked(int index, const QImage& image, TColor maskColor);
  virtual void Delete(int index);
  void Clear();

  // The stored image with its alpha mask (null for an invalid index).
  QImage Image(int index) const;
  // Draws the image with its mask; an invalid index draws nothing.
  void Draw(QPainter& canvas, int x, int y, int index) const;
  // The mask alone: black where the image is drawn, white elsewhere (null
  // for an invalid index). Add takes it back as the image's mask.
  QImage Mask(int index) const;
  void DrawMask(QPainter& canvas, int x, int y, int index) const;

 protected:
  QImage Fit(const QImage& image) const;
  QImage WithMask(const QImage& image, const QImage& mask) const;
  QImage WithMaskColor(const QImage& image, TColor maskColor) const;
  void Store(int index, QImage image);

 private:
  int FWidth;
  int FHeight;
  std::vector<QImage> FImages;
};
