#include "serial/ComTextForms.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "platform/SerialPortList.h"

namespace {

const char* const kBaudTexts[] = {"Custom", "110",    "300",    "600",    "1200",
                                  "2400",   "4800",   "9600",   "14400",  "19200",
                                  "38400",  "56000",  "57600",  "115200", "128000",
                                  "230400", "256000", "460800", "921600"};
const int kBaudRates[] = {0,     110,    300,    600,    1200,   2400,   4800,
                          9600,  14400,  19200,  38400,  56000,  57600,  115200,
                          128000, 230400, 256000, 460800, 921600};
const char* const kStopTexts[] = {"1", "1.5", "2"};
const char* const kDataTexts[] = {"5", "6", "7", "8"};
const char* const kParityTexts[] = {"None", "Odd", "Even", "Mark", "Space"};
const char* const kFlowTexts[] = {"Hardware", "Software", "None", "Custom"};
const char* const kRTSTexts[] = {"Disable", "Enable", "Handshake", "Toggle"};
const char* const kDTRTexts[] = {"Disable", "Enable", "Handshake"};

bool SameText(const QString& a, const char* b) {
  const qsizetype n = static_cast<qsizetype>(std::strlen(b));
  if (a.size() != n) return false;
  for (qsizetype i = 0; i < n; ++i) {
    char16_t x = a[i].unicode();
    char16_t y = static_cast<unsigned char>(b[i]);
    if (x >= 'a' && x <= 'z') x -= 32;
    if (y >= 'a' && y <= 'z') y -= 32;
    if (x != y) return false;
  }
  return true;
}

template <typename E, size_t N>
QString ToText(const char* const (&texts)[N], E value) {
  const auto i = static_cast<size_t>(value);
  return i < N ? QString::fromLatin1(texts[i]) : QString();
}

template <typename E, size_t N>
E FromText(const char* const (&texts)[N], const QString& str, E fallBack) {
  for (size_t i = 0; i < N; ++i)
    if (SameText(str, texts[i])) return static_cast<E>(i);
  return fallBack;
}

}  // namespace

int BaudRateToInt(TBaudRate BaudRate) {
  const auto i = static_cast<size_t>(BaudRate);
  return i < std::size(kBaudRates) ? kBaudRates[i] : 0;
}

QString BaudRateToText(TBaudRate v) { return ToText(kBaudTexts, v); }
QString StopBitsToText(TStopBits v) { return ToText(kStopTexts, v); }
QString DataBitsToText(TDataBits v) { return ToText(kDataTexts, v); }
QString ParityToText(TParityBits v) { return ToText(kParityTexts, v); }
QString FlowControlToText(TFlowControl v) { return ToText(kFlowTexts, v); }
QString RTSToText(TRTSFlowControl v) { return ToText(kRTSTexts, v); }
QString DTRToText(TDTRFlowControl v) { return ToText(kDTRTexts, v); }
QString BoolToYesNo(bool B) { return B ? QStringLiteral("Yes") : QStringLiteral("No"); }

TBaudRate TextToBaudRate(const QString& s) { return FromText(kBaudTexts, s, br9600); }
TStopBits TextToStopBits(const QString& s) { return FromText(kStopTexts, s, sbOneStopBit); }
TDataBits TextToDataBits(const QString& s) { return FromText(kDataTexts, s, dbEight); }
TParityBits TextToParity(const QString& s) { return FromText(kParityTexts, s, prNone); }
TFlowControl TextToFlowControl(const QString& s) { return FromText(kFlowTexts, s, fcCustom); }
TRTSFlowControl TextToRTS(const QString& s) { return FromText(kRTSTexts, s, rtsDisable); }
TDTRFlowControl TextToDTR(const QString& s) { return FromText(kDTRTexts, s, dtrDisable); }
bool YesNoToBool(const QString& s) { return SameText(s, "YES"); }

QString CharToText(QChar Ch) {
  const char16_t code = Ch.unicode();
  if (code >= 33 && code <= 127) return QString(Ch);
  return QLatin1Char('#') + QString::number(code);
}

QChar TextToChar(const QString& Str) {
  if (Str.isEmpty()) return QChar(0);
  if (Str.size() >= 2 && Str[0] == QLatin1Char('#')) {
    bool ok = false;
    const int code = Str.mid(1).toInt(&ok);
    if (!ok) return QChar(0);
    return QChar(static_cast<char16_t>(((code % 256) + 256) % 256));
  }
  return Str[0];
}

void EnumSerialPorts(QStringList& List) {
  std::optional<QStringList> ports = platform::ListSerialPorts();
  if (!ports) return;
  std::stable_sort(ports->begin(), ports->end(), [](const QString& a, const QString& b) {
    return QString::compare(a, b, Qt::CaseInsensitive) < 0;
  });
  List = *ports;
}
