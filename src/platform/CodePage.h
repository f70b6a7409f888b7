#pragma once
// Code-page conversions (wide text to bytes and back). Code page 0 (and 1..3)
// means the system's own code page, which is UTF-8 here; numbered Windows code
// pages map to the converter of the same name (1252 -> CP1252, 28591 ->
// ISO-8859-1, 65001 -> UTF-8, ...).

#include <QByteArray>
#include <QString>

namespace platform {

class CodePage {
 public:
  // Characters the code page cannot hold become '?'. An unknown code page
  // gives an empty result and ok = false.
  static QByteArray FromUnicode(unsigned codePage, const QString& text, bool* ok = nullptr);
  // Byte sequences the code page cannot read become U+FFFD.
  static QString ToUnicode(unsigned codePage, const QByteArray& bytes, bool* ok = nullptr);
};

}  // namespace platform
