#include "meter/ParamFile.h"

#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>

#include "meter/TextFields.h"
#include "platform/IniFile.h"

namespace {

const QString kSection = QStringLiteral("Parameter");

// Parameter files are passed around and edited by hand. Ours are UTF-8; one
// that is not (written on Windows in its ANSI code page) is read as Latin-1.
constexpr platform::IniReadRules kReadRules{
    .utf8 = true, .anyLineEnd = true, .trimAnySpace = true, .bareKeys = true};

QStringList SplitLines(const QString& text) {
  static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
  return text.split(lineEnd);
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
  const platform::IniFile ini = platform::IniFile::FromData(data, kReadRules);
  for (const TKeyDef& key : ModelTable(device).keys)
    FillParam(controls, key, ini.ReadString(kSection, key.key, QString()));
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
