// Packet splitter throughput on measurement streams, fed in chunks of the
// sizes a port delivers: one line per read, bursts of 16 lines, 4 KiB reads
// that cut lines in two.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "serial/ComDataPacket.h"

namespace {

constexpr std::size_t kStreamBytes = 64 * 1024;

// CR LF lines of 16 bytes: "%9.4f %04d" + CR LF, value and signal level.
std::string LineStream() {
  std::string s;
  char line[32];
  for (int i = 0; s.size() + 16 <= kStreamBytes; ++i) {
    std::snprintf(line, sizeof line, "%9.4f %04d\r\n", 12.0 + (i % 5000) * 0.0013, i % 10000);
    s += line;
  }
  return s;
}

// Eight-character packets opened by a blank.
std::string BlankStream() {
  std::string s;
  char packet[16];
  for (int i = 0; s.size() + 8 <= kStreamBytes; ++i) {
    std::snprintf(packet, sizeof packet, " %07d", (i * 37) % 10000000);
    s += packet;
  }
  return s;
}

void Run(benchmark::State& state, const std::string& stream, TComDataPacket& splitter) {
  const std::size_t chunk = static_cast<std::size_t>(state.range(0));
  std::int64_t packets = 0;
  std::size_t chars = 0;
  splitter.OnPacket = [&](TObject*, const std::string& p) {
    ++packets;
    chars += p.size();
  };
  for (auto _ : state) {
    for (std::size_t i = 0; i < stream.size(); i += chunk) {
      const std::size_t n = std::min(chunk, stream.size() - i);
      splitter.PacketRxBuf(nullptr, stream.data() + i, static_cast<int>(n));
    }
    benchmark::DoNotOptimize(chars);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * stream.size()));
  state.counters["lines/s"] = benchmark::Counter(static_cast<double>(packets),
                                                 benchmark::Counter::kIsRate);
}

void BM_CrLfLines(benchmark::State& state) {
  static const std::string stream = LineStream();
  TComDataPacket splitter;
  splitter.SetStopString("\r\n");
  Run(state, stream, splitter);
}
BENCHMARK(BM_CrLfLines)->ArgName("chunk")->Arg(16)->Arg(16 * 16)->Arg(4096);

void BM_BlankSizeEight(benchmark::State& state) {
  static const std::string stream = BlankStream();
  TComDataPacket splitter;
  splitter.SetStartString(" ");
  splitter.SetSize(8);
  Run(state, stream, splitter);
}
BENCHMARK(BM_BlankSizeEight)->ArgName("chunk")->Arg(8)->Arg(128)->Arg(4096);

}  // namespace

BENCHMARK_MAIN();
