#include "components/ImageList.h"

#include <QPainter>

#include "components/DrawUtils.h"

TImageList::TImageList(int width, int height) : FWidth(qMax(width, 0)), FHeight(qMax(height, 0)) {}

QImage TImageList::Fit(const QImage& image) const {
  QImage out(FWidth, FHeight, QImage::Format_ARGB32);
  out.fill(Qt::transparent);
  QPainter p(&out);
  p.setCompositionMode(QPainter::CompositionMode_Source);
  p.drawImage(0, 0, image.convertToFormat(QImage::Format_ARGB32));
  return out;
}

QImage TImageList::WithMask(const QImage& image, const QImage& mask) const {
  QImage out = Fit(image);
  const QImage m = mask.isNull() ? QImage() : mask.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < out.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x) {
      const bool seeThrough = x < m.width() && y < m.height() && (m.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF;
      line[x] = seeThrough ? 0 : (line[x] | 0xFF000000u);
    }
  }
  return out;
}

QImage TImageList::WithMaskColor(const QImage& image, TColor maskColor) const {
  QImage out = Fit(image);
  const QRgb key = ColorRgb(maskColor);
  for (int y = 0; y < out.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x)
      line[x] = (line[x] & 0xFFFFFF) == key ? 0 : (line[x] | 0xFF000000u);
  }
  return out;
}

void TImageList::Store(int index, QImage image) {
  if (index == Count())
    FImages.push_back(std::move(image));
  else if (ValidIndex(index))
    FImages[std::size_t(index)] = std::move(image);
}

int TImageList::Add(const QImage& image, const QImage& mask) {
  Store(Count(), WithMask(image, mask));
  return Count() - 1;
}

int TImageList::AddMasked(const QImage& image, TColor maskColor) {
  Store(Count(), WithMaskColor(image, maskColor));
  return Count() - 1;
}

void TImageList::Replace(int index, const QImage& image, const QImage& mask) {
  if (ValidIndex(index)) Store(index, WithMask(image, mask));
}

void TImageList::ReplaceMasked(int index, const QImage& image, TColor maskColor) {
  if (ValidIndex(index)) Store(index, WithMaskColor(image, maskColor));
}

void TImageList::Delete(int index) {
  if (ValidIndex(index)) FImages.erase(FImages.begin() + index);
}

void TImageList::Clear() { FImages.clear(); }

QImage TImageList::Image(int index) const { return ValidIndex(index) ? FImages[std::size_t(index)] : QImage(); }

void TImageList::Draw(QPainter& canvas, int x, int y, int index) const {
  if (!ValidIndex(index)) return;
  canvas.save();
  canvas.setCompositionMode(QPainter::CompositionMode_SourceOver);
  canvas.drawImage(x, y, FImages[std::size_t(index)]);
  canvas.restore();
}

QImage TImageList::Mask(int index) const {
  if (!ValidIndex(index)) return {};
  const QImage& img = FImages[std::size_t(index)];
  QImage mask(img.size(), QImage::Format_RGB32);
  for (int row = 0; row < img.height(); ++row) {
    const auto* src = reinterpret_cast<const QRgb*>(img.constScanLine(row));
    auto* dst = reinterpret_cast<QRgb*>(mask.scanLine(row));
    for (int col = 0; col < img.width(); ++col) dst[col] = qAlpha(src[col]) ? 0xFF000000u : 0xFFFFFFFFu;
  }
  return mask;
}

void TImageList::DrawMask(QPainter& canvas, int x, int y, int index) const {
  if (ValidIndex(index)) canvas.drawImage(x, y, Mask(index));
}
