#include "serial/EscapeCodesVT52.h"

TEscapeCode TEscapeCodesVT52::DetectCode() {
  switch (FData[0].unicode()) {
    case u'/':
      if (FData.size() == 1) return ecNotCompleted;
      return FData[1] == u'Z' ? ecIdentResponse : ecUnknown;
    case u'A': return ecCursorUp;
    case u'B': return ecCursorDown;
    case u'C': return ecCursorRight;
    case u'D': return ecCursorLeft;
    case u'H': return ecCursorHome;
    case u'I': return ecReverseLineFeed;
    case u'J': return ecEraseScreenFrom;
    case u'K': return ecEraseLineFrom;
    case u'Y':
      if (FData.size() < 3) return ecNotCompleted;
      // Row and column travel as characters offset by 31 (a blank is 1).
      FParams << QString::number(FData[1].unicode() - 31) << QString::number(FData[2].unicode() - 31);
      return ecCursorMove;
    case u'Z': return ecIdentify;
    default: return ecUnknown;
  }
}

QString TEscapeCodesVT52::EscCodeToStr(TEscapeCode Code, const QStringList& AParams) {
  const QString esc(QChar(27));
  switch (Code) {
    case ecCursorUp: return esc + u'A';
    case ecCursorDown: return esc + u'B';
    case ecCursorLeft: return esc + u'D';
    case ecCursorRight: return esc + u'C';
    case ecCursorHome: return esc + u'H';
    case ecCursorMove: {
      // Unsigned arithmetic: a wild parameter wraps instead of overflowing.
      const auto offset = [](int p) { return QChar(static_cast<char16_t>(static_cast<unsigned>(p) + 31u)); };
      return esc + u'Y' + offset(GetParam(1, AParams)) + offset(GetParam(2, AParams));
    }
    case ecReverseLineFeed: return esc + u'I';
    case ecEraseLineFrom: return esc + u'K';
    case ecEraseScreenFrom: return esc + u'J';
    case ecIdentify: return esc + u'Z';
    case ecIdentResponse: return esc + QStringLiteral("/Z");
    default: return QString();
  }
}
