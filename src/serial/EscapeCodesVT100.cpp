#include "serial/EscapeCodesVT100.h"

namespace {

bool IsFinalLetter(QChar c) {
  const char16_t u = c.unicode();
  return (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z');
}

// Splits at ';'. A ';' met while the token is still empty becomes part of the
// token, so ";5" is the single item ";5" (no number, read as 1).
QStringList SplitParams(QStringView text) {
  QStringList items;
  QString token;
  for (QChar c : text) {
    if (c == u';' && !token.isEmpty()) {
      items << token;
      token.clear();
    } else {
      token += c;
    }
  }
  if (!token.isEmpty()) items << token;
  return items;
}

}  // namespace

TEscapeCode TEscapeCodesVT100::DetectCode() {
  if (FInExtSequence) return DetectBracket();
  if (!FData.startsWith(u'[')) return DetectPlain();
  FInExtSequence = true;
  return ecNotCompleted;
}

TEscapeCode TEscapeCodesVT100::DetectPlain() const {
  if (FData.size() == 1) {
    switch (FData[0].unicode()) {
      case u'H': return ecSetTab;
      case u'7': return ecSaveCaretAndAttr;
      case u'8': return ecRestoreCaretAndAttr;
      case u'c': return ecReset;
      case u'#':
      case u'O': return ecNotCompleted;
      default: return ecUnknown;
    }
  }
  if (FData == QLatin1String("#8")) return ecTest;
  if (FData[0] == u'O') {
    switch (FData[1].unicode()) {
      case u'A': return ecAppCursorUp;
      case u'B': return ecAppCursorDown;
      case u'C': return ecAppCursorRight;
      case u'D': return ecAppCursorLeft;
      default: break;
    }
  }
  return ecUnknown;
}

TEscapeCode TEscapeCodesVT100::DetectBracket() {
  const QChar final = FData.back();
  if (!IsFinalLetter(final)) return ecNotCompleted;

  QStringList params = SplitParams(QStringView(FData).mid(1, FData.size() - 2));
  const QString first = params.isEmpty() ? QString() : params.first();
  bool keep = true;
  TEscapeCode code = ecUnknown;
  switch (final.unicode()) {
    case u'A': code = ecCursorUp; break;
    case u'B': code = ecCursorDown; break;
    case u'C': code = ecCursorRight; break;
    case u'D': code = ecCursorLeft; break;
    case u'H': code = ecCursorHome; break;
    case u'f': code = ecCursorMove; break;
    case u'R': code = ecReportCursorPos; break;
    case u'h': code = ecSetMode; break;
    case u'l': code = ecResetMode; break;
    case u'm': code = ecAttributes; break;
    case u's': code = ecSaveCaret; break;
    case u'u': code = ecRestoreCaret; break;
    case u'J':
    case u'K': {
      keep = false;
      const bool screen = final == u'J';
      if (params.isEmpty() || first.startsWith(u'0'))
        code = screen ? ecEraseScreenFrom : ecEraseLineFrom;
      else if (first.startsWith(u'2'))
        code = screen ? ecEraseScreen : ecEraseLine;
      break;
    }
    case u'g':
      keep = false;
      if (params.isEmpty() || first.startsWith(u'0'))
        code = ecClearTab;
      else if (first.startsWith(u'3'))
        code = ecClearAllTabs;
      break;
    case u'n':
      keep = false;
      if (first.startsWith(u'0'))
        code = ecReportDeviceOK;
      else if (first.startsWith(u'3'))
        code = ecReportDeviceFailure;
      else if (first.startsWith(u'5'))
        code = ecQueryDevice;
      else if (first.startsWith(u'6'))
        code = ecQueryCursorPos;
      break;
    case u'c':
      if (params.isEmpty() || (params.size() == 1 && first == QLatin1String("0")))
        code = ecIdentify;
      else if (params.size() == 2 && first == QLatin1String("?1"))
        code = ecIdentResponse;
      break;
    default: break;
  }
  if (keep) FParams << params;
  return code;
}

QString TEscapeCodesVT100::EscCodeToStr(TEscapeCode Code, const QStringList& AParams) {
  const QString esc(QChar(27));
  const auto p = [&](int n) { return QString::number(GetParam(n, AParams)); };
  switch (Code) {
    case ecCursorUp: return esc + QStringLiteral("[A");
    case ecCursorDown: return esc + QStringLiteral("[B");
    case ecCursorLeft: return esc + QStringLiteral("[D");
    case ecCursorRight: return esc + QStringLiteral("[C");
    case ecCursorHome: return esc + QStringLiteral("[H");
    case ecCursorMove: return esc + u'[' + p(1) + u';' + p(2) + u'f';
    case ecAppCursorLeft: return esc + QStringLiteral("OD");
    case ecAppCursorRight: return esc + QStringLiteral("OC");
    case ecAppCursorUp: return esc + QStringLiteral("OA");
    case ecAppCursorDown: return esc + QStringLiteral("OB");
    case ecEraseLineFrom: return esc + QStringLiteral("[K");
    case ecEraseScreenFrom: return esc + QStringLiteral("[J");
    case ecEraseLine: return esc + QStringLiteral("[2K");
    case ecEraseScreen: return esc + QStringLiteral("[2J");
    case ecSetTab: return esc + QStringLiteral("H");
    case ecClearTab: return esc + QStringLiteral("[g");
    case ecClearAllTabs: return esc + QStringLiteral("[3g");
    case ecIdentify: return esc + QStringLiteral("[c");
    case ecIdentResponse: return esc + QStringLiteral("[?1;") + p(1) + u'c';
    case ecQueryDevice: return esc + QStringLiteral("[5n");
    case ecReportDeviceOK: return esc + QStringLiteral("[0n");
    case ecReportDeviceFailure: return esc + QStringLiteral("[3n");
    case ecQueryCursorPos: return esc + QStringLiteral("[6n");
    case ecReportCursorPos: return esc + u'[' + p(1) + u';' + p(2) + u'R';
    case ecAttributes: return esc + QStringLiteral("[m");
    case ecSetMode: return esc + QStringLiteral("[h");
    case ecResetMode: return esc + QStringLiteral("[l");
    case ecReset: return esc + QStringLiteral("c");
    case ecSaveCaretAndAttr: return esc + QStringLiteral("7");
    case ecRestoreCaretAndAttr: return esc + QStringLiteral("8");
    case ecSaveCaret: return esc + QStringLiteral("[s");
    case ecRestoreCaret: return esc + QStringLiteral("[u");
    case ecTest: return esc + QStringLiteral("#8");
    default: return QString();
  }
}
