#pragma once
// Reader and writer of INI files that behaves like the system's profile
// functions: keys keep their order, lines end in CR LF, values are written as
// they are (no quoting). Reading matches section and key names without regard
// to ASCII case, trims blanks around the value, removes one pair of matching
// quotes around it and cuts it at 2047 characters. Text is Latin-1, one byte
// per character.
//
// Each write goes to the file at once, unless writes are batched with
// BeginUpdate(); then SaveTo() writes the whole content in one go (to the
// file's own path or any other), replacing the target only when the new file
// was written completely.
//
// Files that people edit by hand on any system are read more leniently with
// IniReadRules.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace platform {

// Reading rules beyond the profile functions'; all off gives theirs.
struct IniReadRules {
  // UTF-8 text (a leading byte order mark dropped); a file that is not valid
  // UTF-8 is read as Latin-1. Content() then writes UTF-8.
  bool utf8 = false;
  // A lone CR ends a line too.
  bool anyLineEnd = false;
  // Any white space around names and values is dropped, not only blanks and tabs.
  bool trimAnySpace = false;
  // A line without "=" in a section is a key with an empty value.
  bool bareKeys = false;
};

class IniFile {
 public:
  explicit IniFile(const QString& fileName);
  // INI text held in memory, read by `rules`. It has no file of its own:
  // writes change the content only, and report failure unless batched.
  static IniFile FromData(const QByteArray& data, const IniReadRules& rules);

  const QString& FileName() const { return FFileName; }

  QString ReadString(const QString& section, const QString& key, const QString& def) const;
  // Decimal (or 0x hexadecimal) integer text; anything else gives `def`.
  int ReadInteger(const QString& section, const QString& key, int def) const;
  bool SectionExists(const QString& section) const;
  bool ValueExists(const QString& section, const QString& key) const;
  QStringList ReadSections() const;
  QStringList ReadSection(const QString& section) const;  // key names in file order

  // Creates the file and the section when absent, appends a new key at the
  // end of its section, replaces the value of an existing key. False when
  // the file could not be written.
  bool WriteString(const QString& section, const QString& key, const QString& value);
  bool WriteInteger(const QString& section, const QString& key, int value);
  bool EraseSection(const QString& section);
  bool DeleteKey(const QString& section, const QString& key);

  // Batching: while updating, writes change only the content in memory.
  void BeginUpdate() { FBatch = true; }
  // Writes the content to the file's own path and ends the batch.
  bool EndUpdate();
  // Writes the whole content to `path` (replacing it only on success).
  bool SaveTo(const QString& path) const;
  // The content as it would be written.
  QByteArray Content() const;

 private:
  struct Line {
    QString text;     // the line as read or written, without its line end
    int kind = 0;     // 0 other, 1 section header, 2 key=value
    QString name;     // section or key name, trimmed
  };
  IniFile(const QString& fileName, const QByteArray& data, const IniReadRules& rules);
  QString Trim(const QString& s) const;
  int FindSection(const QString& section) const;  // index of the header line or -1
  int FindKey(int sectionLine, const QString& key) const;
  int SectionEnd(int sectionLine) const;  // index after the last line of the section
  bool Commit();

  QString FFileName;
  IniReadRules FRules;
  std::vector<Line> FLines;
  bool FBatch = false;
};

}  // namespace platform
