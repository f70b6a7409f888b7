#include "meter/ParamFile.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringDecoder>

#include "meter/TextFields.h"

namespace {

const QString kSection = QStringLiteral("Parameter");
constexpr qsizetype kMaxIniValue = 2047;  // what the profile reader's buffer holds

QStringList SplitLines(const QString& text) {
  static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
  return text.split(lineEnd);
}

// Our files are UTF-8; one that is not (written on Windows in its ANSI code
// page) is read as Latin-1.
QString DecodeFile(const QByteArray& data) {
  QByteArray bytes = data;
  if (bytes.startsWith("\xEF\xBB\xBF")) bytes.remove(0, 3);
  QStringDecoder utf8(QStringDecoder::Utf8);
  const QString text = utf8(bytes);
  return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

QString Unquoted(const QString& value) {
  if (value.size() > 1) {
    const QChar q = value.front();
    if ((q == QLatin1Char('"') || q == QLatin1Char('\'')) && value.back() == q)
      return value.mid(1, value.size() - 2);
  }
  return value;
}

// The keys of one section the way the profile functions read them: section
// and key names without regard to case, the first section of the name and
// the first key of a name count, blanks around names and values are dropped,
// one pair of quotes around a value is removed, values are cut at 2047
// characters. Keys are returned in lower case.
QHash<QString, QString> ReadIniSection(const QByteArray& data, const QString& section) {
  QHash<QString, QString> values;
  bool inSection = false;
  bool seen = false;
  for (const QString& raw : SplitLines(DecodeFile(data))) {
    const QString line = raw.trimmed();
    if (line.startsWith(QLatin1Char('['))) {
      if (seen) break;
      qsizetype end = line.indexOf(QLatin1Char(']'));
      if (end < 0) end = line.size();
      inSection = line.mid(1, end - 1).trimmed().compare(section, Qt::CaseInsensitive) == 0;
      seen = inSection;
      continue;
    }
    if (!inSection || line.isEmpty()) continue;
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    const QString key = (eq < 0 ? line : line.left(eq)).trimmed().toLower();
    if (values.contains(key)) continue;
    const QString value = eq < 0 ? QString() : Unquoted(line.mid(eq + 1).trimmed());
    values.insert(key, value.left(kMaxIniValue));
  }
  return values;
}

}  // namespace

QString ParamValue(const TParamControls& controls, const TKeyDef& key) {
  QStringList parts;
  for (const QString& c : key.controls) parts.append(controls.Text(c));
  return parts.join(QLatin1Char(' '));
}

void FillParam(TParamControls& controls, const TKeyDef& key, QString value) {
  switch (key.readBack) {
    case TReadBack::rbWhole:
      for (const QString& c : key.controls) controls.SetText(c, value);
      break;
    case TReadBack::rbSplit:
    case TReadBack::rbFirstField:
      for (const QString& c : key.controls) controls.SetText(c, ExtractField(value, QLatin1Char(' ')));
      break;
    case TReadBack::rbList:
      for (const QString& c : key.controls) {
        const int i = IndexOfText(controls.Items(c), value);
        controls.SetItemIndex(c, i < 0 ? 0 : i);
      }
      break;
  }
}

QByteArray ParamFileData(const TParamControls& controls, TDeviceType device) {
  QString text = QLatin1Char('[') + kSection + QStringLiteral("]\r\n");
  text += ExportParamText(controls, device);
  return text.toUtf8();
}

TParamSaveResult SaveParamFile(const QString& fileName, const TParamControls& controls,
                               TDeviceType device) {
  const QByteArray data = ParamFileData(controls, device);
  QSaveFile file(fileName);
  // Unbuffered: a buffered write error that shows only when commit() flushes
  // is not reported by it, and the short file would replace the old one.
  const bool ok = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
                  file.write(data) == data.size() && file.error() == QFileDevice::NoError &&
                  file.commit();
  if (!ok) return {false, QStringLiteral("In %1 kann nicht geschrieben werden").arg(fileName)};
  return {true, QStringLiteral(" Write: %1").arg(fileName)};
}

QString OpenParamFile(const QString& fileName, TParamControls& controls, TDeviceType device) {
  QFile file(fileName);
  // A file that cannot be read counts as empty: every key reads as ''.
  const QByteArray data = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  ReadParamFileData(data, controls, device);
  return QStringLiteral(" Read: %1").arg(fileName);
}

void ReadParamFileData(const QByteArray& data, TParamControls& controls, TDeviceType device) {
  const QHash<QString, QString> values = ReadIniSection(data, kSection);
  for (const TKeyDef& key : ModelTable(device).keys)
    FillParam(controls, key, values.value(key.key.toLower()));
}

QString ExportParamText(const TParamControls& controls, TDeviceType device) {
  QString text;
  for (const TKeyDef& key : ModelTable(device).keys)
    text += key.key + QLatin1Char('=') + ParamValue(controls, key) + QStringLiteral("\r\n");
  return text;
}

void ImportParamText(const QString& text, TParamControls& controls, TDeviceType device) {
  const QStringList lines = SplitLines(text);
  for (const TKeyDef& key : ModelTable(device).keys) {
    QString value;
    for (const QString& line : lines) {
      const qsizetype eq = line.indexOf(QLatin1Char('='));
      if (eq >= 0 && QStringView(line).left(eq).compare(key.key, Qt::CaseInsensitive) == 0) {
        value = line.mid(eq + 1);
        break;
      }
    }
    FillParam(controls, key, value);
  }
}
