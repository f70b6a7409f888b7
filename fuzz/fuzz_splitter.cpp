// Feeds the packet splitter with settings, chunking and handler behaviour
// chosen by the input and compares every packet, discard and the buffered
// rest with a plain model that copies the buffer on every step. Also checks
// that the buffer stays below its limit.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "serial/ComDataPacket.h"

namespace {

using Events = std::vector<std::string>;
using PosRule = std::function<void(const std::string& str, int& pos)>;

struct Input {
  const std::uint8_t* p;
  std::size_t n;
  std::uint8_t Byte() {
    if (n == 0) return 0;
    --n;
    return *p++;
  }
  std::string Take(std::size_t k) {
    k = std::min(k, n);
    std::string s(reinterpret_cast<const char*>(p), k);
    p += k;
    n -= k;
    return s;
  }
};

// What a packet handler does to its splitter on every third packet.
enum Action { acNone, acReset, acToggleInclude, acSmallLimit, acOtherStop, acAddData, acCount };

// The rules written out directly: the buffer is a string that is copied and
// cut from the front, the scan recurses.
struct Model {
  std::string start, stop, buf;
  int size = 0, maxBuffer = 1024;
  bool include = false, caseless = false, inPacket = false;
  PosRule customStart, customStop;
  Events ev;
  Action action = acNone;
  int packets = 0;

  std::string Form(std::string s) const {
    if (caseless)
      for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return s;
  }
  // 1-based position of a in b, 0 when absent; an empty a is never found.
  int PosOf(const std::string& a, const std::string& b) const {
    if (a.empty()) return 0;
    const std::size_t p = Form(b).find(Form(a));
    return p == std::string::npos ? 0 : static_cast<int>(p) + 1;
  }
  void SetStop(const std::string& v) {
    if (v == stop) return;
    stop = v;
    Reset();
  }
  void Reset() {
    if (buf.empty()) return;
    std::string d = buf;
    buf.clear();
    inPacket = false;
    ev.push_back("D:" + d);
  }
  void Packet(const std::string& s) {
    ev.push_back("P:" + s);
    if (++packets % 3 != 0) return;
    switch (action) {
      case acReset: Reset(); break;
      case acToggleInclude: include = !include; break;
      case acSmallLimit: maxBuffer = 3; break;
      case acOtherStop: SetStop(stop == ";" ? "\r\n" : ";"); break;
      case acAddData: Add("x;"); break;
      default: break;
    }
  }
  void Add(const std::string& s) {
    if (size < 1 && stop.empty() && !customStop) {
      Packet(s);
      return;
    }
    buf += s;
    Scan();
  }
  void Scan() {
    if (!inPacket) FindStart();
    if (inPacket) {
      FindStop();
      if (!inPacket) Scan();
    }
    if (maxBuffer > 0 && static_cast<int>(buf.size()) >= maxBuffer) Reset();
  }
  void FindStart() {
    int pos = -1;
    if (customStart) customStart(buf, pos);
    int p;
    if (pos > 0) {
      p = pos;
    } else if (pos == -1) {
      if (start.empty()) {
        inPacket = true;
        return;
      }
      p = PosOf(start, buf);
      if (p == 0) return;
    } else {
      return;
    }
    inPacket = true;
    if (p > 1) {
      std::string d = buf.substr(0, p - 1);
      buf.erase(0, p - 1);
      ev.push_back("D:" + d);
    }
  }
  void FindStop() {
    int pos = -1;
    if (customStop) customStop(buf, pos);
    std::size_t e;
    if (pos > 0) {
      if (buf.empty()) return;
      e = pos;
    } else if (pos == -1) {
      if (size > 0 && size <= static_cast<int>(buf.size())) {
        e = size;
      } else {
        const std::size_t L = start.size();
        const int p = PosOf(stop, buf.size() > L ? buf.substr(L) : std::string());
        if (p == 0) return;
        e = p + stop.size() + L - 1;
      }
    } else {
      return;
    }
    inPacket = false;
    std::string pk = buf.substr(0, e);
    buf.erase(0, e);
    if (!include) {
      if (PosOf(start, pk) == 1) pk.erase(0, start.size());
      const int p = PosOf(stop, pk);
      if (p > 0 && p == static_cast<int>(pk.size() - stop.size()) + 1) pk.erase(pk.size() - stop.size());
    }
    Packet(pk);
  }
};

struct Subject : TComDataPacket {
  using TComDataPacket::BufferedText;
};

PosRule MakeRule(std::uint8_t mode, int fixed, char mark) {
  switch (mode % 4) {
    case 1:  // at the mark (start) or just behind it (end)
      return [=](const std::string& s, int& pos) {
        const std::size_t p = s.find(mark);
        pos = p == std::string::npos ? 0 : static_cast<int>(p) + 1;
      };
    case 2:
      return [=](const std::string&, int& pos) { pos = fixed; };
    case 3:
      return [](const std::string&, int&) {};  // assigned, leaves -1
    default:
      return nullptr;
  }
}

void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "splitter differs from the model: %s\n", what);
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input in{data, size};
  const std::uint8_t flags = in.Byte();
  const int sizeRule = static_cast<int>(in.Byte() % 14) - 1;
  const std::uint8_t limitChoice = in.Byte();
  const int maxBuffer = limitChoice < 64 ? limitChoice : limitChoice < 128 ? 1024 : limitChoice < 192 ? 0 : -5;
  const std::uint8_t lens = in.Byte();
  const std::string start = in.Take(lens & 3);
  const std::string stop = in.Take((lens >> 2) & 3);
  const std::uint8_t rules = in.Byte();
  const int fixedPos = static_cast<int>(static_cast<std::int8_t>(in.Byte()));
  const Action action = static_cast<Action>(in.Byte() % acCount);

  Model m;
  Subject s;
  m.start = start;
  m.stop = stop;
  m.size = sizeRule;
  m.maxBuffer = maxBuffer;
  m.include = flags & 1;
  m.caseless = flags & 2;
  m.customStart = MakeRule(rules, fixedPos, '#');
  m.customStop = MakeRule(rules >> 2, fixedPos, '!');
  m.action = action;

  s.SetStartString(start);
  s.SetStopString(stop);
  s.SetSize(sizeRule);
  s.SetMaxBufferSize(maxBuffer);
  s.SetIncludeStrings(m.include);
  s.SetCaseInsensitive(m.caseless);
  Events ev;
  int packets = 0;
  if (m.customStart)
    s.OnCustomStart = [&](TObject*, const std::string& str, int& pos) { m.customStart(str, pos); };
  if (m.customStop)
    s.OnCustomStop = [&](TObject*, const std::string& str, int& pos) { m.customStop(str, pos); };
  s.OnDiscard = [&](TObject*, const std::string& d) { ev.push_back("D:" + d); };
  s.OnPacket = [&](TObject*, const std::string& p) {
    ev.push_back("P:" + p);
    if (++packets % 3 != 0) return;
    switch (action) {
      case acReset: s.ResetBuffer(); break;
      case acToggleInclude: s.SetIncludeStrings(!s.IncludeStrings()); break;
      case acSmallLimit: s.SetMaxBufferSize(3); break;
      case acOtherStop: s.SetStopString(s.StopString() == ";" ? "\r\n" : ";"); break;
      case acAddData: s.AddData("x;"); break;
      default: break;
    }
  };

  while (in.n > 0) {
    const std::uint8_t c = in.Byte();
    const std::size_t len = c & 31;
    switch (c >> 5) {
      case 5:
        s.ResetBuffer();
        m.Reset();
        break;
      case 6: {
        const std::string chunk = in.Take(len);
        s.PacketRxBuf(nullptr, chunk.data(), static_cast<int>(chunk.size()));
        m.Add(chunk);
        break;
      }
      case 7:
        s.SetCaseInsensitive(!s.CaseInsensitive());
        m.caseless = !m.caseless;
        m.Reset();
        break;
      default: {
        const std::string chunk = in.Take(len);
        s.AddData(chunk);
        m.Add(chunk);
      }
    }
    Check(ev == m.ev, "events");
    Check(s.BufferedText() == m.buf, "buffered text");
    const bool endRule = s.Size() > 0 || !s.StopString().empty() || s.OnCustomStop;
    if (endRule && s.MaxBufferSize() > 0)
      Check(s.BufferedText().size() < static_cast<std::size_t>(s.MaxBufferSize()), "buffer limit");
  }
  return 0;
}
