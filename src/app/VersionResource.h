#pragma once
// The program's version data, built in at build time from the project's
// version: what the version resource of an executable holds (a fixed part
// with version numbers and flags, the list of translations, and one table
// of texts per translation). TVersionInfo reads it by the usual query paths.

#include <QString>
#include <cstdint>
#include <utility>
#include <vector>

struct TVersionResource {
  // major, minor, release, build
  std::uint16_t fileVersion[4] = {};
  std::uint16_t productVersion[4] = {};
  // Bits: 1 debug build, 2 pre-release, 4 patched, 8 private build,
  // 16 information inferred, 32 special build.
  std::uint32_t fileFlags = 0;
  // Language id and code page of each translation.
  std::vector<std::pair<std::uint16_t, std::uint16_t>> translations;
  struct StringTable {
    QString id;  // language and code page as eight hex digits ("040904B0")
    std::vector<std::pair<QString, QString>> values;  // key, text
  };
  std::vector<StringTable> stringTables;
};

// The data built into this program.
const TVersionResource& ProgramVersionResource();
