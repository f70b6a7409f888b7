#include "serial/ComDataPacket.h"

#include "serial/ComPort.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace {

constexpr std::size_t npos = std::string_view::npos;
// A buffer that once held a burst this large gives its memory back when it
// is emptied.
constexpr std::size_t kKeepCapacity = 64 * 1024;

// Only the ASCII letters are folded; the meter protocol knows no others.
inline char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::string UpperCopy(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = Upper(c);
  return r;
}

}  // namespace

TComDataPacket::TComDataPacket() : FComLink(std::make_unique<TComLink>()) {
  FComLink->OnRxBuf = [this](TObject* Sender, const char* Buffer, int Count) {
    PacketRxBuf(Sender, Buffer, Count);
  };
}

TComDataPacket::~TComDataPacket() {
  // Our private link cannot be unknown to the port, but nothing may escape
  // a destructor.
  try {
    SetComPort(nullptr);
  } catch (...) {
  }
  FComLink.reset();
}

void TComDataPacket::SetComPort(TCustomComPort* Value) {
  RebindLink(*this, FComLink.get(), FComPort, Value);
}

void TComDataPacket::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  // The notice comes from the base of a port whose own part is already
  // destroyed, link list included: forget it, do not unregister from it.
  if (Operation == opRemove && FComPort != nullptr && AComponent == FComPort) FComPort = nullptr;
}

void TComDataPacket::SetCaseInsensitive(bool Value) {
  if (Value == FCaseInsensitive) return;
  FCaseInsensitive = Value;
  SettingsChanged();
  if (!IsLoading()) ResetBuffer();
}

void TComDataPacket::SetStartString(const std::string& Value) {
  if (Value == FStartString) return;
  FStartString = Value;
  SettingsChanged();
  if (!IsLoading()) ResetBuffer();
}

void TComDataPacket::SetStopString(const std::string& Value) {
  if (Value == FStopString) return;
  FStopString = Value;
  SettingsChanged();
  if (!IsLoading()) ResetBuffer();
}

void TComDataPacket::SetSize(int Value) {
  if (Value == FSize) return;
  FSize = Value;
  if (!IsLoading()) ResetBuffer();
}

void TComDataPacket::SettingsChanged() {
  FStartUpper = UpperCopy(FStartString);
  FStopUpper = UpperCopy(FStopString);
  // What was searched before says nothing about the new strings.
  FStartSkip = 0;
  FStopSkip = 0;
}

void TComDataPacket::ResetBuffer() {
  if (BufferedText().empty()) return;
  // Empty the buffer before the handler runs, so that a handler that resets
  // or re-frames the splitter does not see (and discard) the same text again.
  std::string discarded(BufferedText());
  ClearBuffer();
  FInPacket = false;
  DoDiscard(discarded);
}

void TComDataPacket::ClearBuffer() {
  if (FBuffer.capacity() > kKeepCapacity)
    std::string().swap(FBuffer);
  else
    FBuffer.clear();
  FHead = 0;
  FStartSkip = 0;
  FStopSkip = 0;
}

void TComDataPacket::Consume(std::size_t n) {
  FHead += n;
  FStartSkip = 0;
  FStopSkip = 0;
  if (FHead >= FBuffer.size()) ClearBuffer();
}

bool TComDataPacket::HasEndRule() const {
  return FSize >= 1 || !FStopString.empty() || static_cast<bool>(OnCustomStop);
}

void TComDataPacket::AddData(std::string_view Str) {
  if (!HasEndRule()) {
    DoPacket(std::string(Str));
    return;
  }
  // Text that lies in our own buffer would move under us below.
  std::string own;
  const char* base = FBuffer.data();
  if (!Str.empty() && std::greater_equal<const char*>()(Str.data(), base) &&
      std::less<const char*>()(Str.data(), base + FBuffer.size())) {
    own.assign(Str);
    Str = own;
  }
  // Drop the consumed front only when it is at least as long as what is
  // kept, so each byte is moved a bounded number of times.
  if (FHead > 0 && FHead >= FBuffer.size() - FHead) {
    FBuffer.erase(0, FHead);
    FHead = 0;
  }
  FBuffer.append(Str);
  ScanBuffer();
}

void TComDataPacket::PacketRxBuf(TObject* Sender, const char* Buffer, int Count) {
  if (Buffer == nullptr || Count < 0) Count = 0;
  AddData(std::string_view(Count > 0 ? Buffer : "", static_cast<std::size_t>(Count)));
}

void TComDataPacket::ScanBuffer() {
  try {
    for (;;) {
      if (!FInPacket) FindStart();
      if (!FInPacket) break;
      // Every cut takes at least one character, so this ends.
      FindStop();
      if (FInPacket) break;
    }
  } catch (...) {
    CheckBufferLimit();
    throw;
  }
  CheckBufferLimit();
}

void TComDataPacket::CheckBufferLimit() {
  if (FMaxBufferSize > 0 && BufferedText().size() >= static_cast<std::size_t>(FMaxBufferSize))
    ResetBuffer();
}

void TComDataPacket::FindStart() {
  int Pos = -1;
  DoCustomStart(BufferedText(), Pos);
  std::string_view buf = BufferedText();
  std::size_t start;
  if (Pos > 0) {
    start = static_cast<std::size_t>(Pos) - 1;
  } else if (Pos == -1) {
    if (FStartString.empty()) {
      FInPacket = true;
      return;
    }
    const std::string_view needle = StartCmp();
    start = Find(buf, needle, FStartSkip);
    if (start == npos) {
      if (buf.size() >= needle.size())
        FStartSkip = std::max(FStartSkip, buf.size() - needle.size() + 1);
      return;
    }
  } else {
    return;
  }
  FInPacket = true;
  if (start > 0) {
    const std::size_t n = std::min(start, buf.size());
    std::string discarded(buf.substr(0, n));
    Consume(n);
    DoDiscard(discarded);
  }
}

void TComDataPacket::FindStop() {
  int Pos = -1;
  DoCustomStop(BufferedText(), Pos);
  std::string_view buf = BufferedText();
  std::size_t end;
  if (Pos > 0) {
    // Nothing buffered is nothing to cut; cutting an empty packet here
    // would make the rescan cut the next one for ever.
    if (buf.empty()) return;
    end = static_cast<std::size_t>(Pos);
  } else if (Pos == -1) {
    if (FSize > 0 && static_cast<std::size_t>(FSize) <= buf.size()) {
      end = static_cast<std::size_t>(FSize);
    } else {
      // The stop string is looked for behind the length of the start
      // string, whether or not the buffer begins with it.
      const std::string_view needle = StopCmp();
      const std::size_t from = std::max(FStartString.size(), FStopSkip);
      const std::size_t p = Find(buf, needle, from);
      if (p == npos) {
        if (!needle.empty() && buf.size() >= needle.size())
          FStopSkip = std::max(from, buf.size() - needle.size() + 1);
        return;
      }
      end = p + needle.size();
    }
  } else {
    return;
  }
  FInPacket = false;
  const std::size_t n = std::min(end, buf.size());
  std::string_view packet = buf.substr(0, n);
  if (!FIncludeStrings) {
    const std::string_view start = StartCmp();
    if (Find(packet.substr(0, start.size()), start) == 0) packet.remove_prefix(start.size());
    // Only a stop string whose first occurrence closes the packet is cut.
    const std::string_view stop = StopCmp();
    const std::size_t p = Find(packet, stop);
    if (p != npos && p == packet.size() - stop.size()) packet.remove_suffix(stop.size());
  }
  std::string delivered(packet);
  Consume(n);
  DoPacket(delivered);
}

std::size_t TComDataPacket::Find(std::string_view hay, std::string_view needle,
                                 std::size_t from) const {
  if (needle.empty() || from > hay.size() || needle.size() > hay.size() - from) return npos;
  const std::size_t last = hay.size() - needle.size();
  if (!FCaseInsensitive) {
    // Start and stop strings are a few characters: find the first one with
    // memchr and compare the rest in place.
    const char* p = hay.data() + from;
    const char* const end = hay.data() + last + 1;
    while ((p = static_cast<const char*>(std::memchr(p, needle[0], end - p))) != nullptr) {
      std::size_t k = 1;
      while (k < needle.size() && p[k] == needle[k]) ++k;
      if (k == needle.size()) return static_cast<std::size_t>(p - hay.data());
      ++p;
    }
    return npos;
  }
  for (std::size_t i = from; i <= last; ++i) {
    std::size_t k = 0;
    while (k < needle.size() && Upper(hay[i + k]) == needle[k]) ++k;
    if (k == needle.size()) return i;
  }
  return npos;
}

// Handlers are called through a copy, so a handler may replace itself.
void TComDataPacket::DoDiscard(const std::string& Str) {
  if (OnDiscard) {
    TComStrEvent handler = OnDiscard;
    handler(this, Str);
  }
}

void TComDataPacket::DoPacket(const std::string& Str) {
  if (OnPacket) {
    TComStrEvent handler = OnPacket;
    handler(this, Str);
  }
}

void TComDataPacket::DoCustomStart(std::string_view Str, int& Pos) {
  if (OnCustomStart) {
    TCustPacketEvent handler = OnCustomStart;
    handler(this, std::string(Str), Pos);
  }
}

void TComDataPacket::DoCustomStop(std::string_view Str, int& Pos) {
  if (OnCustomStop) {
    TCustPacketEvent handler = OnCustomStop;
    handler(this, std::string(Str), Pos);
  }
}
