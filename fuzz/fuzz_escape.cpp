// Feeds arbitrary received bytes to both escape parsers and checks what they
// report: no unfinished code leaves a parser, an open sequence stays short,
// and every code can be turned back into text with the parameters seen.
#include <cstddef>
#include <cstdint>

#include "serial/EscapeCodesVT100.h"
#include "serial/EscapeCodesVT52.h"

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

void Feed(TEscapeCodes& codes, const uint8_t* data, size_t size, QStringList& lastParams) {
  for (size_t i = 0; i < size; ++i) {
    const TEscapeResult r = codes.ProcessChar(QChar(static_cast<char16_t>(data[i])));
    Check(codes.Data().size() <= TEscapeCodes::MaxSequenceLength);
    if (r == erChar) Check(codes.Character() == QChar(static_cast<char16_t>(data[i])));
    if (r != erCode) continue;
    Check(codes.Code() != ecNotCompleted && codes.Code() <= ecTest);
    lastParams = codes.Params();
    for (int n = 0; n <= lastParams.size() + 1; ++n) TEscapeCodes::GetParam(n, lastParams);
    codes.Params().clear();  // as the terminal does after each code
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TEscapeCodesVT52 vt52;
  TEscapeCodesVT100 vt100;
  for (TEscapeCodes* codes : {static_cast<TEscapeCodes*>(&vt52), static_cast<TEscapeCodes*>(&vt100)}) {
    QStringList params;
    // Twice over, split at an arbitrary point, so state carried between calls is exercised.
    const size_t split = size > 0 ? data[0] % (size + 1) : 0;
    Feed(*codes, data, split, params);
    Feed(*codes, data + split, size - split, params);
    for (int c = ecUnknown; c <= ecTest; ++c) codes->EscCodeToStr(static_cast<TEscapeCode>(c), params);
  }
  return 0;
}
