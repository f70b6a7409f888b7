#pragma once
// The process-wide store of glyph lists, one per image size, shared by all
// button glyphs. It exists from the first glyph object on and is released by
// a glyph object that, when destroyed, finds it holding no list.

#include <vector>

class TGlyphList;

class TGlyphCache {
 public:
  TGlyphCache() = default;
  ~TGlyphCache();
  TGlyphCache(const TGlyphCache&) = delete;
  TGlyphCache& operator=(const TGlyphCache&) = delete;

  // The list with exactly this image size (the most recently added first);
  // a new list when none matches.
  TGlyphList* GetList(int width, int height);
  // Releases the list when no slot of it is taken any more.
  void ReturnList(TGlyphList* list);
  bool Empty() const { return FGlyphLists.empty(); }
  int ListCount() const { return int(FGlyphLists.size()); }

  // The process's cache, or null while there is none.
  static TGlyphCache* Instance();
  // The process's cache, created when there is none.
  static TGlyphCache& Acquire();
  // Destroys the process's cache when it holds no list.
  static void ReleaseIfEmpty();

 private:
  std::vector<TGlyphList*> FGlyphLists;
};
