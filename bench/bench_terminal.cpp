// Cost of the terminal at meter line rates: the receive path (grid, scrolling,
// invalidation) and one full repaint of the visible grid.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include "serial/ui/ComTerminal.h"

namespace {

std::unique_ptr<TComTerminal> MainWindowTerminal() {
  auto t = std::make_unique<TComTerminal>();
  t->BeginLoading();
  t->SetEmulation(teNone);
  t->SetWrapLines(true);
  t->SetRows(48);
  t->SetColor(clWhite);
  t->SetFontColor(clBlack);
  t->EndLoading();
  QFont f(QStringLiteral("Courier New"));
  f.setPixelSize(11);
  t->SetFont(f);
  t->resize(600, 400);
  return t;
}

// 16 lines of 16 bytes, as a burst from the port.
const QByteArray kBurst = QByteArray("+0001234.567 m\r\n").repeated(16);

void BM_ReceiveBurst(benchmark::State& state) {
  auto t = MainWindowTerminal();
  t->show();
  for (auto _ : state) t->ComLink()->OnRxBuf(nullptr, kBurst.constData(), static_cast<int>(kBurst.size()));
  state.SetItemsProcessed(state.iterations() * 16);
  state.SetLabel("items = lines");
}
BENCHMARK(BM_ReceiveBurst);

void BM_FullRepaint(benchmark::State& state) {
  auto t = MainWindowTerminal();
  for (int i = 0; i < 60; ++i) t->ComLink()->OnRxBuf(nullptr, kBurst.constData(), static_cast<int>(kBurst.size()));
  QImage target(t->size(), QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    QPainter p(&target);
    t->render(&p);
  }
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
