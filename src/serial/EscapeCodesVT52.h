#pragma once
// VT52 escape sequences.

#include "serial/EscapeCodes.h"

class TEscapeCodesVT52 : public TEscapeCodes {
 public:
  TEscapeResult ProcessChar(QChar Ch) override { return Feed(Ch); }
  QString EscCodeToStr(TEscapeCode Code, const QStringList& AParams) override;

 protected:
  TEscapeCode DetectCode() override;
};
