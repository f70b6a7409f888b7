#pragma once
// VT100 / ANSI escape sequences.

#include "serial/EscapeCodes.h"

class TEscapeCodesVT100 : public TEscapeCodes {
 public:
  TEscapeResult ProcessChar(QChar Ch) override { return Feed(Ch); }
  QString EscCodeToStr(TEscapeCode Code, const QStringList& AParams) override;

 protected:
  TEscapeCode DetectCode() override;
  void LeaveSequence() override {
    TEscapeCodes::LeaveSequence();
    FInExtSequence = false;
  }

 private:
  TEscapeCode DetectPlain() const;
  TEscapeCode DetectBracket();

  bool FInExtSequence = false;  // inside ESC [ ...
};
