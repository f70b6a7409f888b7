#include <errno.h>
#include <iconv.h>

#include <QByteArray>
#include <algorithm>
#include <string>

#include "platform/CodePage.h"

namespace platform {

namespace {

// Returns the converter name for a code page, empty when it is the system's
// own (UTF-8) code page.
std::string ConverterName(unsigned cp) {
  switch (cp) {
    case 0: case 1: case 2: case 3: case 65001: return {};
    case 1200: return "UTF-16LE";
    case 1201: return "UTF-16BE";
    case 12000: return "UTF-32LE";
    case 12001: return "UTF-32BE";
    case 20127: return "ASCII";
    case 20866: return "KOI8-R";
    case 21866: return "KOI8-U";
    case 65000: return "UTF-7";
    default: break;
  }
  if (cp >= 28591 && cp <= 28605) return "ISO-8859-" + std::to_string(cp - 28590);
  return "CP" + std::to_string(cp);
}

// Converts with iconv; a sequence the target cannot hold is replaced by
// `replacement` and conversion goes on after `skip` input bytes.
bool Convert(const char* to, const char* from, const QByteArray& in, QByteArray& out,
             const QByteArray& replacement, size_t skip) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  out.clear();
  out.reserve(in.size() * 2 + 16);
  char* inPtr = const_cast<char*>(in.constData());
  size_t inLeft = static_cast<size_t>(in.size());
  char buf[4096];
  bool ok = true;
  for (;;) {
    char* outPtr = buf;
    size_t outLeft = sizeof buf;
    size_t r = inLeft ? iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft)
                      : iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
    out.append(buf, static_cast<qsizetype>(outPtr - buf));
    if (r != static_cast<size_t>(-1)) {
      if (inLeft == 0) break;
      continue;
    }
    if (errno == E2BIG) continue;
    if (errno == EILSEQ || errno == EINVAL) {
      out.append(replacement);
      size_t n = std::min(skip, inLeft);
      if (n == 0) break;
      inPtr += n;
      inLeft -= n;
      continue;
    }
    ok = false;
    break;
  }
  iconv_close(cd);
  return ok;
}

}  // namespace

QByteArray CodePage::FromUnicode(unsigned codePage, const QString& text, bool* ok) {
  const std::string name = ConverterName(codePage);
  if (ok) *ok = true;
  if (name.empty()) return text.toUtf8();
  QByteArray in(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
  QByteArray out;
  if (!Convert(name.c_str(), "UTF-16LE", in, out, QByteArray("?"), 2)) {
    if (ok) *ok = false;
    return {};
  }
  return out;
}

QString CodePage::ToUnicode(unsigned codePage, const QByteArray& bytes, bool* ok) {
  const std::string name = ConverterName(codePage);
  if (ok) *ok = true;
  if (name.empty()) return QString::fromUtf8(bytes);
  QByteArray out;
  if (!Convert("UTF-16LE", name.c_str(), bytes, out, QByteArray("\xFD\xFF", 2), 1)) {
    if (ok) *ok = false;
    return {};
  }
  return QString(reinterpret_cast<const QChar*>(out.constData()), out.size() / 2);
}

}  // namespace platform
