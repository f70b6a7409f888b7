#include "platform/SerialInputFilter.h"

#include <cstring>

namespace platform {

void SerialInputFilter::Configure(bool markedErrors, char errorChar, bool discardNull,
                                  char eventChar) {
  if (!markedErrors) FMarkState = 0;
  FMarked = markedErrors;
  FErrorChar = errorChar;
  FDiscardNull = discardNull;
  FEventChar = eventChar;
}

int SerialInputFilter::Filter(char* data, int n, bool* sawEventChar) {
  if (FMarked || FDiscardNull) {
    int out = 0;
    for (int i = 0; i < n; ++i) {
      char c = data[i];
      if (FMarked) {
        if (FMarkState == 1) {
          FMarkState = c == '\0' ? 2 : 0;
          if (FMarkState == 2) continue;
          // FF FF is one real FF; anything else after FF cannot come from the
          // line discipline, keep both bytes.
          if (c != '\xFF') data[out++] = '\xFF';
        } else if (FMarkState == 2) {
          FMarkState = 0;
          c = FErrorChar;
        } else if (c == '\xFF') {
          FMarkState = 1;
          continue;
        }
      }
      if (FDiscardNull && c == '\0') continue;
      data[out++] = c;
    }
    n = out;
  }
  *sawEventChar = n > 0 && std::memchr(data, FEventChar, static_cast<size_t>(n)) != nullptr;
  return n;
}

}  // namespace platform
