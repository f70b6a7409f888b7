#pragma once
// What a serial driver does to received bytes before they are queued:
// replacing bytes with parity or framing errors by the error character (the
// line discipline marks them as FF 00 x and doubles a real FF), dropping NUL
// bytes, and noticing the event character.

#include <cstdint>

namespace platform {

class SerialInputFilter {
 public:
  void Configure(bool markedErrors, char errorChar, bool discardNull, char eventChar);
  // Filters `n` bytes in place, returns the new length. Sets `sawEventChar`
  // when the event character is among the bytes that remain.
  int Filter(char* data, int n, bool* sawEventChar);

 private:
  bool FMarked = false;
  bool FDiscardNull = false;
  char FErrorChar = 0;
  char FEventChar = 0;
  std::uint8_t FMarkState = 0;  // 0 plain, 1 after FF, 2 after FF 00
};

}  // namespace platform
