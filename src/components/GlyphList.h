#pragma once
// An image list whose slots are reused: deleting an image only frees its
// slot, and the next image takes the first free one. Buttons with glyphs of
// one size share such a list through the glyph cache.

#include <vector>

#include "components/ImageList.h"

class TGlyphList : public TImageList {
 public:
  TGlyphList(int width, int height) : TImageList(width, height) {}
  static TGlyphList* CreateSize(int width, int height) { return new TGlyphList(width, height); }

  int Add(const QImage& image, const QImage& mask) override;
  int AddMasked(const QImage& image, TColor maskColor) override;
  // Frees a taken slot; the list never shrinks.
  void Delete(int index) override;
  // Number of taken slots.
  int Count() const { return FCount; }
  bool Used(int index) const { return index >= 0 && index < int(FUsed.size()) && FUsed[std::size_t(index)]; }

 private:
  int AllocateSlot();

  std::vector<bool> FUsed;
  int FCount = 0;
};
