#pragma once
// Small text helpers shared by the parameter read, Set Standard, the
// parameter file and the clipboard text.

#include <QChar>
#include <QString>
#include <QStringList>

// Cuts the first field off `text` at the first `sep` and returns it; `text`
// keeps what follows that separator. Without a separator the whole text is
// the field and `text` becomes empty.
QString ExtractField(QString& text, QChar sep);

// Position of the first item whose whole text equals `text`, letter case
// ignored; -1 when there is none.
int IndexOfText(const QStringList& items, const QString& text);
