#include "app/VersionInfo.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <optional>
#include <vector>

#include "app/VersionResource.h"

namespace {

// What a query of the version data gives: a text with its length in
// characters, terminator included, or 16-bit words with their length in
// bytes.
struct QueryResult {
  QString text;
  std::vector<std::uint16_t> words;
  unsigned length = 0;
};

bool Same(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// Paths: "\VarFileInfo\Translation" and
// "\StringFileInfo\<translation>\<key>"; doubled separators count once, as
// the system's query allows.
std::optional<QueryResult> QueryValue(const TVersionResource& r, const QString& path) {
  const QStringList parts = path.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
  if (parts.size() == 2 && Same(parts[0], QStringLiteral("VarFileInfo")) &&
      Same(parts[1], QStringLiteral("Translation"))) {
    QueryResult q;
    for (const auto& [language, codePage] : r.translations) q.words.insert(q.words.end(), {language, codePage});
    q.length = static_cast<unsigned>(q.words.size() * 2);
    return q;
  }
  if (parts.size() == 3 && Same(parts[0], QStringLiteral("StringFileInfo"))) {
    for (const TVersionResource::StringTable& table : r.stringTables) {
      if (!Same(table.id, parts[1])) continue;
      for (const auto& [key, text] : table.values)
        if (Same(key, parts[2])) return QueryResult{text, {}, static_cast<unsigned>(text.size() + 1)};
    }
  }
  return std::nullopt;
}

constexpr const char* kStringKeys[] = {"CompanyName",      "FileDescription", "FileVersion",
                                       "InternalName",     "LegalCopyright",  "LegalTrademarks",
                                       "OriginalFilename", "ProductName",     "ProductVersion",
                                       "Comments"};

// The code the system gives when a file has no version data.
constexpr int kNoVersionData = 1813;

}  // namespace

QString TVersionInfo::LanguageName(std::uint16_t LangId) {
  static const std::pair<std::uint16_t, const char*> names[] = {
      {0x0000, "Language Neutral"},        {0x0407, "German (Germany)"},
      {0x0409, "English (United States)"}, {0x0809, "English (United Kingdom)"},
      {0x040C, "French (France)"},         {0x0410, "Italian (Italy)"},
      {0x0C0A, "Spanish (Spain)"},
  };
  for (const auto& [id, name] : names)
    if (id == LangId) return QString::fromLatin1(name);
  return QStringLiteral("Unknown language (%1)").arg(LangId, 4, 16, QLatin1Char('0')).toUpper();
}

TVersionInfo::TVersionInfo(TObject* Owner) : TVersionInfo(Owner, &ProgramVersionResource()) {}

TVersionInfo::TVersionInfo(TObject*, const TVersionResource* Resource, TMessageHandler showMessage) {
  FFileName = QCoreApplication::applicationFilePath();
  FVData = Resource;
  if (!FVData) {
    const QString text = QStringLiteral("GetFileVersionInfoSize error #:%1").arg(kNoVersionData);
    if (showMessage)
      showMessage(text);
    else
      QMessageBox::information(nullptr, QCoreApplication::applicationName(), text);
    return;
  }
  std::uint32_t translation = 0;
  const auto q = QueryValue(*FVData, QStringLiteral("\\VarFileInfo\\Translation"));
  if (q && q->length > 1 && q->words.size() >= 2) translation = (q->words[0] << 16) | q->words[1];
  FLangIDStr = QStringLiteral("%1").arg(translation, 8, 16, QLatin1Char('0')).toUpper();
  FPLDescr = LanguageName(static_cast<std::uint16_t>(translation >> 16));
}

QString TVersionInfo::GetString(int Index) const {
  if (Index == 0) return FPLDescr;
  if (Index < 1 || Index > 10 || !FVData) return QString();
  const QString path = QStringLiteral("\\\\StringFileInfo\\\\") + FLangIDStr + QStringLiteral("\\\\") +
                       QString::fromLatin1(kStringKeys[Index - 1]);
  const auto q = QueryValue(*FVData, path);
  return q && q->length > 1 ? q->text : QString();
}

int TVersionInfo::GetVersion(int Index) const {
  if (!FVData || Index < 0 || Index > 3) return 0;
  return FVData->fileVersion[Index];
}

bool TVersionInfo::GetFlag(int Index) const {
  if (!FVData || Index < 0 || Index > 5) return false;
  return (FVData->fileFlags >> Index) & 1u;
}
