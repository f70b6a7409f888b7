#include "platform/IniFile.h"

#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringDecoder>

namespace platform {

namespace {

constexpr int kMaxValue = 2047;

bool SameName(const QString& a, const QString& b) {
  if (a.size() != b.size()) return false;
  for (qsizetype i = 0; i < a.size(); ++i) {
    char16_t x = a[i].unicode(), y = b[i].unicode();
    if (x >= 'a' && x <= 'z') x -= 32;
    if (y >= 'a' && y <= 'z') y -= 32;
    if (x != y) return false;
  }
  return true;
}

QString TrimBlanks(const QString& s) {
  qsizetype b = 0, e = s.size();
  while (b < e && (s[b] == QLatin1Char(' ') || s[b] == QLatin1Char('\t'))) ++b;
  while (e > b && (s[e - 1] == QLatin1Char(' ') || s[e - 1] == QLatin1Char('\t'))) --e;
  return s.mid(b, e - b);
}

QByteArray ReadFile(const QString& fileName) {
  QFile f(fileName);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString Decode(const QByteArray& data, bool utf8) {
  if (!utf8) return QString::fromLatin1(data);
  QByteArray bytes = data;
  if (bytes.startsWith("\xEF\xBB\xBF")) bytes.remove(0, 3);
  // Stateless: a sequence cut off at the end is an error, not held back.
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  const QString text = decoder(bytes);
  return decoder.hasError() ? QString::fromLatin1(bytes) : text;
}

// The lines without their line ends; text after the last line end, if any,
// is the last line.
QStringList SplitLines(const QString& text, bool anyLineEnd) {
  static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
  QStringList lines = anyLineEnd ? text.split(lineEnd) : text.split(QLatin1Char('\n'));
  if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
  if (!anyLineEnd)
    for (QString& line : lines)
      if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
  return lines;
}

}  // namespace

IniFile::IniFile(const QString& fileName) : IniFile(fileName, ReadFile(fileName), {}) {}

IniFile IniFile::FromData(const QByteArray& data, const IniReadRules& rules) {
  return IniFile(QString(), data, rules);
}

IniFile::IniFile(const QString& fileName, const QByteArray& data, const IniReadRules& rules)
    : FFileName(fileName), FRules(rules) {
  for (const QString& text : SplitLines(Decode(data, rules.utf8), rules.anyLineEnd)) {
    Line line;
    line.text = text;
    const QString t = Trim(text);
    const qsizetype eq = text.indexOf(QLatin1Char('='));
    if (t.startsWith(QLatin1Char('['))) {
      const qsizetype close = t.indexOf(QLatin1Char(']'));
      line.kind = 1;
      line.name = Trim(t.mid(1, close < 0 ? -1 : close - 1));
    } else if (eq > 0 || (rules.bareKeys && !t.isEmpty())) {
      line.kind = 2;
      line.name = Trim(eq < 0 ? text : text.left(eq));
    }
    FLines.push_back(std::move(line));
  }
}

QString IniFile::Trim(const QString& s) const { return FRules.trimAnySpace ? s.trimmed() : TrimBlanks(s); }

int IniFile::FindSection(const QString& section) const {
  const QString s = Trim(section);
  for (size_t i = 0; i < FLines.size(); ++i)
    if (FLines[i].kind == 1 && SameName(FLines[i].name, s)) return static_cast<int>(i);
  return -1;
}

int IniFile::SectionEnd(int sectionLine) const {
  size_t i = static_cast<size_t>(sectionLine) + 1;
  while (i < FLines.size() && FLines[i].kind != 1) ++i;
  return static_cast<int>(i);
}

int IniFile::FindKey(int sectionLine, const QString& key) const {
  const QString k = Trim(key);
  const int end = SectionEnd(sectionLine);
  for (int i = sectionLine + 1; i < end; ++i)
    if (FLines[static_cast<size_t>(i)].kind == 2 && SameName(FLines[static_cast<size_t>(i)].name, k))
      return i;
  return -1;
}

QString IniFile::ReadString(const QString& section, const QString& key, const QString& def) const {
  const int s = FindSection(section);
  if (s < 0) return def;
  const int k = FindKey(s, key);
  if (k < 0) return def;
  const QString& text = FLines[static_cast<size_t>(k)].text;
  const qsizetype eq = text.indexOf(QLatin1Char('='));
  QString v = eq < 0 ? QString() : Trim(text.mid(eq + 1));
  if (v.size() >= 2 && (v.front() == QLatin1Char('"') || v.front() == QLatin1Char('\'')) &&
      v.back() == v.front())
    v = v.mid(1, v.size() - 2);
  if (v.size() > kMaxValue) v.truncate(kMaxValue);
  return v;
}

int IniFile::ReadInteger(const QString& section, const QString& key, int def) const {
  const QString s = ReadString(section, key, QString());
  bool ok = false;
  int v = 0;
  if (s.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
    v = s.mid(2).toInt(&ok, 16);
  else
    v = s.toInt(&ok, 10);
  return ok ? v : def;
}

bool IniFile::SectionExists(const QString& section) const { return FindSection(section) >= 0; }

bool IniFile::ValueExists(const QString& section, const QString& key) const {
  const int s = FindSection(section);
  return s >= 0 && FindKey(s, key) >= 0;
}

QStringList IniFile::ReadSections() const {
  QStringList out;
  for (const Line& l : FLines)
    if (l.kind == 1) out << l.name;
  return out;
}

QStringList IniFile::ReadSection(const QString& section) const {
  QStringList out;
  const int s = FindSection(section);
  if (s < 0) return out;
  const int end = SectionEnd(s);
  for (int i = s + 1; i < end; ++i)
    if (FLines[static_cast<size_t>(i)].kind == 2) out << FLines[static_cast<size_t>(i)].name;
  return out;
}

bool IniFile::WriteString(const QString& section, const QString& key, const QString& value) {
  const QString sectionName = Trim(section);
  const QString keyName = Trim(key);
  if (sectionName.isEmpty() || keyName.isEmpty()) return false;
  int s = FindSection(sectionName);
  if (s < 0) {
    FLines.push_back(Line{QLatin1Char('[') + sectionName + QLatin1Char(']'), 1, sectionName});
    s = static_cast<int>(FLines.size()) - 1;
  }
  Line kv{keyName + QLatin1Char('=') + value, 2, keyName};
  const int k = FindKey(s, keyName);
  if (k >= 0) {
    kv.name = FLines[static_cast<size_t>(k)].name;  // keep the key's own spelling
    kv.text = kv.name + QLatin1Char('=') + value;
    FLines[static_cast<size_t>(k)] = kv;
  } else {
    // After the section's last key, so blank lines before the next section stay there.
    int at = SectionEnd(s);
    while (at > s + 1 && FLines[static_cast<size_t>(at - 1)].kind == 0 &&
           Trim(FLines[static_cast<size_t>(at - 1)].text).isEmpty())
      --at;
    FLines.insert(FLines.begin() + at, kv);
  }
  return Commit();
}

bool IniFile::WriteInteger(const QString& section, const QString& key, int value) {
  return WriteString(section, key, QString::number(value));
}

bool IniFile::EraseSection(const QString& section) {
  const int s = FindSection(section);
  if (s < 0) return true;
  FLines.erase(FLines.begin() + s, FLines.begin() + SectionEnd(s));
  return Commit();
}

bool IniFile::DeleteKey(const QString& section, const QString& key) {
  const int s = FindSection(section);
  if (s < 0) return true;
  const int k = FindKey(s, key);
  if (k < 0) return true;
  FLines.erase(FLines.begin() + k);
  return Commit();
}

QByteArray IniFile::Content() const {
  QByteArray out;
  for (const Line& l : FLines) {
    out += FRules.utf8 ? l.text.toUtf8() : l.text.toLatin1();
    out += "\r\n";
  }
  return out;
}

bool IniFile::SaveTo(const QString& path) const {
  QSaveFile f(path);
  if (!f.open(QIODevice::WriteOnly)) return false;
  const QByteArray data = Content();
  if (f.write(data) != data.size()) {
    f.cancelWriting();
    return false;
  }
  return f.commit();
}

bool IniFile::Commit() { return FBatch || SaveTo(FFileName); }

bool IniFile::EndUpdate() {
  FBatch = false;
  return SaveTo(FFileName);
}

}  // namespace platform
