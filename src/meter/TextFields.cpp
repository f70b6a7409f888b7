#include "meter/TextFields.h"

QString ExtractField(QString& text, QChar sep) {
  const qsizetype p = text.indexOf(sep);
  if (p < 0) {
    QString field;
    field.swap(text);
    return field;
  }
  QString field = text.left(p);
  text.remove(0, p + 1);
  return field;
}

int IndexOfText(const QStringList& items, const QString& text) {
  for (int i = 0; i < items.size(); ++i)
    if (items[i].compare(text, Qt::CaseInsensitive) == 0) return i;
  return -1;
}
