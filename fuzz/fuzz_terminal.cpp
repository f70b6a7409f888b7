// Drives the terminal's receive path with arbitrary bytes under every
// emulation and a range of grid sizes and options, then saves, reloads and
// paints the result.
#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <cstddef>
#include <cstdint>

#include "serial/ui/ComTerminal.h"

// Fontconfig keeps a fixed set of patterns for the life of the process.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace {

QApplication& App() {
  static int argc = 1;
  static char name[] = "fuzz_terminal";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QApplication(argc, argv);
  }();
  return *app;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  App();
  if (size < 3) return 0;
  const uint8_t options = data[0];
  TComTerminal t;
  t.BeginLoading();
  t.SetEmulation(static_cast<TTermEmulation>(options % 3));
  t.SetWrapLines(options & 0x04);
  t.SetAppendLF(options & 0x08);
  t.SetForce7Bit(options & 0x10);
  t.SetColumns(data[1] + 1);    // includes values outside the allowed range
  t.SetRows(data[2] % 128 + 1);
  t.EndLoading();
  t.resize(300, 200);
  t.OnUnhandledCode = [&](TObject*, TEscapeCode, const QString&) {};

  const char* text = reinterpret_cast<const char*>(data + 3);
  const int count = static_cast<int>(size - 3);
  // Through the link, as bytes arrive from the port, in two chunks.
  const int split = count / 2;
  t.ComLink()->OnRxBuf(nullptr, text, split);
  t.ComLink()->OnRxBuf(nullptr, text + split, count - split);
  if (options & 0x20) t.WriteStr(QString(reinterpret_cast<const QChar*>(text), count / 2));

  QBuffer saved;
  saved.open(QIODevice::ReadWrite);
  t.SaveToStream(saved);
  saved.seek(0);
  t.LoadFromStream(saved);
  if (options & 0x40) t.grab().toImage();
  return 0;
}
