// Drives the terminal with arbitrary bytes under every emulation and a range
// of grid sizes and options, then saves and reloads the result. Most inputs
// go to the screen alone (no window, no application object), checking that
// what it reports stays inside its grid; one option bit sends the input
// through the control instead: the port's receive path and a paint.
#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "serial/ComTermScreen.h"
#include "serial/EscapeCodesVT100.h"
#include "serial/EscapeCodesVT52.h"
#include "serial/ui/ComTerminal.h"

// Fontconfig keeps a fixed set of patterns for the life of the process.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

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

void SaveAndReload(auto& target) {
  QBuffer saved;
  saved.open(QIODevice::ReadWrite);
  target.SaveToStream(saved);
  saved.seek(0);
  target.LoadFromStream(saved);
}

void Screen(uint8_t options, int columns, int rows, const char* text, int count) {
  TComTermScreen s;
  switch (options % 3) {
    case teVT100orANSI: s.SetEscapeCodes(std::make_unique<TEscapeCodesVT100>()); break;
    case teVT52: s.SetEscapeCodes(std::make_unique<TEscapeCodesVT52>()); break;
    default: break;
  }
  s.SetWrapLines(options & 0x04);
  s.OnDamage = [&s](const TTermDamage& d) {
    if (d.Kind == dkResize) s.Init();
    // A view repaints these cells: they must be on the grid.
    if (d.Kind == dkPut || d.Kind == dkCells)
      Check(d.Cells.left() >= 1 && d.Cells.top() >= 1 && d.Cells.right() <= s.Buffer().Columns() &&
            d.Cells.bottom() <= s.Buffer().Rows() && !d.Cells.isEmpty());
    if (d.Kind == dkScroll) Check(d.Lines == 1 || d.Lines == -1);
  };
  s.OnReply = [](const QString& reply) { Check(!reply.isEmpty()); };
  s.SetColumns(columns);  // includes values outside the allowed range
  s.SetRows(rows);
  s.Init();

  const QString latin1 = QString::fromLatin1(text, count);
  const int split = count / 2;
  s.Write(latin1.constData(), split);
  s.Write(latin1.constData() + split, count - split);
  Check(s.CaretPos().x() >= 1 && s.CaretPos().x() <= s.Columns());
  Check(s.CaretPos().y() >= 1 && s.CaretPos().y() <= s.Rows());
  SaveAndReload(s);
}

void Control(uint8_t options, int columns, int rows, const char* text, int count) {
  App();
  TComTerminal t;
  t.BeginLoading();
  t.SetEmulation(static_cast<TTermEmulation>(options % 3));
  t.SetWrapLines(options & 0x04);
  t.SetAppendLF(options & 0x08);
  t.SetForce7Bit(options & 0x10);
  t.SetColumns(columns);
  t.SetRows(rows);
  t.EndLoading();
  t.resize(300, 200);
  t.OnUnhandledCode = [&](TObject*, TEscapeCode, const QString&) {};

  // Through the link, as bytes arrive from the port, in two chunks.
  const int split = count / 2;
  t.ComLink()->OnRxBuf(nullptr, text, split);
  t.ComLink()->OnRxBuf(nullptr, text + split, count - split);
  if (options & 0x20) t.WriteStr(QString(reinterpret_cast<const QChar*>(text), count / 2));
  SaveAndReload(t);
  t.grab().toImage();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  const uint8_t options = data[0];
  const int columns = data[1] + 1;
  const int rows = data[2] % 128 + 1;
  const char* text = reinterpret_cast<const char*>(data + 3);
  const int count = static_cast<int>(size - 3);
  if (options & 0x40)
    Control(options, columns, rows, text, count);
  else
    Screen(options, columns, rows, text, count);
  return 0;
}
