#pragma once
// The version information of the program: product name, version numbers,
// legal notice and the other texts of its version data, read once when the
// object is made.
//
// Texts are looked up in the table of the first translation; data without a
// translation gives the identifier "00000000", whose table does not exist,
// so every text is empty (the numbers still come from the fixed part). With
// no version data at all a message names the error, and every number is 0
// and every text empty.

#include <QString>
#include <cstdint>
#include <functional>

#include "platform/Component.h"

struct TVersionResource;

class TVersionInfo : public TObject {
 public:
  // Shows the error message of missing version data.
  using TMessageHandler = std::function<void(const QString& text)>;

  // The program's own version data. `Owner` is not used.
  explicit TVersionInfo(TObject* Owner = nullptr);
  // `Resource` instead (nullptr: a program without version data); the
  // message goes to `showMessage` (nullptr: a message box).
  TVersionInfo(TObject* Owner, const TVersionResource* Resource,
               TMessageHandler showMessage = nullptr);

  // The executable the data belongs to.
  const QString& FileName() const { return FFileName; }
  // Translation identifier: language id then code page, eight upper-case
  // hex digits; empty without version data.
  const QString& LangIDStr() const { return FLangIDStr; }

  // By index as the properties: 0 Language, 1 CompanyName .. 10 Comments.
  QString GetString(int Index) const;
  QString Language() const { return GetString(0); }
  QString CompanyName() const { return GetString(1); }
  QString FileDescription() const { return GetString(2); }
  QString FileVersion() const { return GetString(3); }
  QString InternalName() const { return GetString(4); }
  QString LegalCopyright() const { return GetString(5); }
  QString LegalTrademarks() const { return GetString(6); }
  QString OriginalFileName() const { return GetString(7); }  // key "OriginalFilename"
  QString ProductName() const { return GetString(8); }
  QString ProductVersion() const { return GetString(9); }
  QString Comments() const { return GetString(10); }

  // 0 major, 1 minor, 2 release, 3 build of the file version.
  int GetVersion(int Index) const;
  int MajorVersion() const { return GetVersion(0); }
  int MinorVersion() const { return GetVersion(1); }
  int ReleaseVersion() const { return GetVersion(2); }
  int Build() const { return GetVersion(3); }

  // 0 debug build, 1 pre-release, 2 patched, 3 private build, 4 information
  // inferred, 5 special build (file flag bits 1, 2, 4, 8, 16, 32).
  bool GetFlag(int Index) const;
  bool DebugBuild() const { return GetFlag(0); }
  bool PreRelease() const { return GetFlag(1); }
  bool Patched() const { return GetFlag(2); }
  bool PrivateBuild() const { return GetFlag(3); }
  bool InfoInferred() const { return GetFlag(4); }
  bool SpecialBuild() const { return GetFlag(5); }

  // The system's name of a language id ("English (United States)").
  static QString LanguageName(std::uint16_t LangId);

 private:
  QString FFileName;
  const TVersionResource* FVData = nullptr;  // null without version data
  QString FLangIDStr;
  QString FPLDescr;
};
