#pragma once
// Escape-sequence parsers of the terminal: fed one received character at a
// time, they tell plain text from escape sequences and name a finished
// sequence as a TEscapeCode with its parameters. In the other direction they
// build the sequence to send for a code (cursor keys, replies).

#include <QString>
#include <QStringList>
#include <cstdint>

#include "platform/Component.h"

enum TEscapeResult : std::uint8_t { erChar, erCode, erNothing };

// The ordinals are relied on (36 values); ecNotCompleted never leaves a parser.
enum TEscapeCode : std::uint8_t {
  ecUnknown,
  ecNotCompleted,
  ecCursorUp,
  ecCursorDown,
  ecCursorLeft,
  ecCursorRight,
  ecCursorHome,
  ecCursorMove,
  ecReverseLineFeed,
  ecAppCursorLeft,
  ecAppCursorRight,
  ecAppCursorUp,
  ecAppCursorDown,
  ecEraseLineFrom,
  ecEraseScreenFrom,
  ecEraseLine,
  ecEraseScreen,
  ecSetTab,
  ecClearTab,
  ecClearAllTabs,
  ecIdentify,
  ecIdentResponse,
  ecQueryDevice,
  ecReportDeviceOK,
  ecReportDeviceFailure,
  ecQueryCursorPos,
  ecReportCursorPos,
  ecAttributes,
  ecSetMode,
  ecResetMode,
  ecReset,
  ecSaveCaretAndAttr,
  ecRestoreCaretAndAttr,
  ecSaveCaret,
  ecRestoreCaret,
  ecTest,
};

class TEscapeCodes : public TObject {
 public:
  // A sequence still open after this many characters behind ESC is given up
  // as ecUnknown, so an endless parameter stream cannot grow memory.
  static constexpr int MaxSequenceLength = 256;

  TEscapeCodes() = default;

  virtual TEscapeResult ProcessChar(QChar Ch) = 0;
  virtual QString EscCodeToStr(TEscapeCode Code, const QStringList& AParams) = 0;

  // Item Num (1-based) of AParams as an integer; 1 when absent or when the text
  // is no integer that fits an int.
  static int GetParam(int Num, const QStringList& AParams);

  QChar Character() const { return Fcharacter; }
  TEscapeCode Code() const { return FCode; }
  const QString& Data() const { return FData; }
  QStringList& Params() { return FParams; }
  const QStringList& Params() const { return FParams; }

 protected:
  // Recognises FData after a character was appended.
  virtual TEscapeCode DetectCode() = 0;
  // Clears the descendant's sub-states when a sequence ends.
  virtual void LeaveSequence() { FInSequence = false; }
  // The character loop shared by every emulation.
  TEscapeResult Feed(QChar Ch);

  QChar Fcharacter;
  TEscapeCode FCode = ecUnknown;
  QString FData;
  QStringList FParams;
  bool FInSequence = false;
};
