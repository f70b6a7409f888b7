#include "components/GlyphCache.h"

#include <algorithm>

#include "components/GlyphList.h"

namespace {
TGlyphCache* GCache = nullptr;
}

TGlyphCache::~TGlyphCache() {
  for (TGlyphList* l : FGlyphLists) delete l;
}

TGlyphList* TGlyphCache::GetList(int width, int height) {
  for (auto it = FGlyphLists.rbegin(); it != FGlyphLists.rend(); ++it)
    if ((*it)->Width() == width && (*it)->Height() == height) return *it;
  FGlyphLists.push_back(TGlyphList::CreateSize(width, height));
  return FGlyphLists.back();
}

void TGlyphCache::ReturnList(TGlyphList* list) {
  if (!list || list->Count() != 0) return;
  const auto it = std::find(FGlyphLists.begin(), FGlyphLists.end(), list);
  if (it == FGlyphLists.end()) return;
  FGlyphLists.erase(it);
  delete list;
}

TGlyphCache* TGlyphCache::Instance() { return GCache; }

TGlyphCache& TGlyphCache::Acquire() {
  if (!GCache) GCache = new TGlyphCache;
  return *GCache;
}

void TGlyphCache::ReleaseIfEmpty() {
  if (GCache && GCache->Empty()) {
    delete GCache;
    GCache = nullptr;
  }
}
