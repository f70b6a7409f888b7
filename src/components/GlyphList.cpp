#include "components/GlyphList.h"

#include <algorithm>

int TGlyphList::AllocateSlot() {
  const auto it = std::find(FUsed.begin(), FUsed.end(), false);
  const int index = int(it - FUsed.begin());
  if (it == FUsed.end()) FUsed.push_back(true);
  else *it = true;
  ++FCount;
  return index;
}

int TGlyphList::Add(const QImage& image, const QImage& mask) {
  const int index = AllocateSlot();
  if (index < TImageList::Count()) Replace(index, image, mask);
  else TImageList::Add(image, mask);
  return index;
}

int TGlyphList::AddMasked(const QImage& image, TColor maskColor) {
  const int index = AllocateSlot();
  if (index < TImageList::Count()) ReplaceMasked(index, image, maskColor);
  else TImageList::AddMasked(image, maskColor);
  return index;
}

void TGlyphList::Delete(int index) {
  if (!Used(index)) return;
  FUsed[std::size_t(index)] = false;
  --FCount;
}
