#include "support/MeterEmulator.h"

#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <unistd.h>

namespace {
const QSet<QString>& StartCommands() {
  static const QSet<QString> s{"DT", "DS", "DW", "DX", "DF", "DM", "CT", "VM", "VT", "TP", "FT", "DJ"};
  return s;
}

// Query codes per model with a plausible meter value.
QHash<QString, QString> DefaultValues(TDeviceType m) {
  switch (m) {
    case Pavon:
      return {{"ST", "0"}, {"SA", "1"},    {"TD", "0 0"}, {"TM", "0 1"},    {"SF", "1"},
              {"OF", "0"}, {"AS", "dt"},   {"SE", "2"},   {"RM", "0 0 0"},  {"SD", "d"},
              {"RB", "0"}, {"RE", "40"},   {"AC", "2"},   {"AH", "0.1"},    {"AW", "100000"},
              {"ID", "PAVON V1.0"}};
    case Dorvane:
      return {{"SA", "10"}, {"TD", "0 0"}, {"SF", "1"}, {"AS", "dt"}, {"RB", "0"},
              {"RE", "50"}, {"AC", "2"},   {"AH", "0.1"}, {"ID", "DORVANE V1.0"}};
    case Hexlin:
      return {{"SA", "200"},   {"MF", "2000"}, {"TD", "0 0 1"}, {"SF", "1"},      {"OF", "0"},
              {"AS", "dt"},    {"SE", "2 2"},  {"MW", "0 5000"}, {"PL", "0"},     {"HE", "4 10"},
              {"SD", "0 0"},   {"TE", "0"},    {"QA", "0 300"}, {"Q1", "2 5000 0.1 1"},
              {"Q2", "4 5000 0.1 1"}, {"SC", "0"}, {"ID", "HEXLIN V2.0"}};
    case Tavri:
      return {{"SA", "1500"}, {"MF", "15000"}, {"SF", "1"},  {"OF", "0"},  {"AS", "dt"},
              {"SE", "2 2"},  {"MW", "-270 270 0"}, {"GN", "0"}, {"UB", "10"}, {"SD", "0 0"},
              {"TE", "0"},    {"QA", "0 30"},  {"Q1", "2 5000 0.1 1"}, {"Q2", "4 5000 0.1 1"},
              {"ID", "TAVRI V1.0"}};
    case KESTO_ZAREL:
      return {{"SA", "1"},     {"MF", "0"},       {"MW", "-5000000 5000000"}, {"OF", "0"},
              {"SF", "0"},     {"MUN", "mm"},     {"SD", "0 0 0 0"},  {"SP", "0x2C"},
              {"SE", "1"},     {"AS", "DT"},      {"QA", "0, 500000"},
              {"Q1", "10000, 1000000, 1000, 1"},  {"Q2", "20000, 1000000, 1000, 1"},
              {"Q3", "30000, 1000000, 1000, 1"},  {"TRI", "0, 0"}, {"TRO", "0, 0"},
              {"ID", "KESTO ZAREL V1.0"}};
  }
  return {};
}

// KESTO ZAREL takes its separator and auto-start setting as a position in
// these lists (from 1) and reports the entry; lists of numbers go in
// separated by blanks and come back separated by ", ".
const QStringList& ZarelChoices(const QString& code) {
  static const QStringList separators{"0x2C", "0x3B", "0x20", "0x2F", "0x09"};
  static const QStringList autoStarts{"ID",    "ID?",   "TP",    "DM",    "DT",    "CT",
                                      "DF",    "DF;ID", "DF;TP", "DF;DM", "DF;DT", "DF;CT"};
  static const QStringList none;
  return code == QLatin1String("SP") ? separators : code == QLatin1String("AS") ? autoStarts : none;
}

QString ZarelStoredForm(const QString& code, const QString& value) {
  static const QSet<QString> numberLists{"QA", "Q1", "Q2", "Q3", "TRI", "TRO"};
  if (numberLists.contains(code))
    return value.split(u' ', Qt::SkipEmptyParts).join(QStringLiteral(", "));
  const QStringList& choices = ZarelChoices(code);
  bool ok = false;
  const int position = value.toInt(&ok);
  if (!choices.isEmpty() && ok && position >= 1 && position <= choices.size())
    return choices[position - 1];
  return value;
}

QByteArray DefaultLine(TDeviceType m, int n) {
  const int value = 5000 + (n % 100);  // thousandths
  const QByteArray num = QByteArray::number(value / 1000.0, 'f', 3);
  switch (m) {
    case Pavon: return num.rightJustified(7, '0');
    case Dorvane: return QByteArray::number(value / 1000.0, 'f', 2).rightJustified(8, ' ');
    case Hexlin:
    case Tavri: return "D " + num.rightJustified(8, '0');
    case KESTO_ZAREL: return "d" + QByteArray::number(value / 1.0, 'f', 1).rightJustified(8, '0');
  }
  return num;
}
}  // namespace

MeterEmulator::MeterEmulator(TDeviceType model, int masterFd)
    : FModel(model), FFd(masterFd), FTimer(std::make_unique<QTimer>()) {
  lineMaker = [model](int n) { return DefaultLine(model, n); };
  lineEnd = model == Dorvane ? QByteArray() : QByteArray("\r\n");
  FNotifier = std::make_unique<QSocketNotifier>(FFd, QSocketNotifier::Read);
  connect(FNotifier.get(), &QSocketNotifier::activated, this, [this] { OnReadable(); });
  connect(FTimer.get(), &QTimer::timeout, this, [this] { StreamTick(); });
}

MeterEmulator::~MeterEmulator() = default;

void MeterEmulator::FillDefaultValues() {
  const auto defaults = DefaultValues(FModel);
  for (auto it = defaults.begin(); it != defaults.end(); ++it)
    if (!values.contains(it.key())) values.insert(it.key(), it.value());
}

void MeterEmulator::OnReadable() {
  char buf[4096];
  const ssize_t n = ::read(FFd, buf, sizeof buf);
  if (n <= 0) {
    if (n == 0 || (errno != EAGAIN && errno != EINTR)) FNotifier->setEnabled(false);
    return;
  }
  for (ssize_t i = 0; i < n; ++i) {
    const char c = buf[i];
    received.append(c);
    if (c == 27) {  // ESC stops a running measurement at once
      FPending.clear();
      StopStream();
    } else if (c == '\r') {
      HandleCommand(FPending);
      FPending.clear();
    } else if (c != '\n') {
      FPending.append(c);
    }
  }
}

void MeterEmulator::HandleCommand(const QByteArray& line) {
  if (silent || line.isEmpty()) return;
  // Codes are two characters (Q1 has a digit); MUN, TRI and TRO have three.
  static const QSet<QByteArray> threeLetter{"MUN", "TRI", "TRO"};
  const int codeLength = threeLetter.contains(line.left(3).toUpper()) ? 3 : 2;
  const QString code = QString::fromLatin1(line.left(codeLength));
  QString value = QString::fromLatin1(line.mid(codeLength));
  const QString upper = code.toUpper();
  if (!answerOnly.isEmpty() && !answerOnly.contains(upper)) return;
  if (value.isEmpty()) {
    if (code == upper && (values.contains(upper) || rawReplies.contains(upper))) {
      if (repliesLeft == 0) return;
      if (repliesLeft > 0) --repliesLeft;
      Reply(upper);
      return;
    }
    if (StartCommands().contains(upper)) StartStream();
    return;
  }
  // A set command: the value follows the code (DORVANE may put a blank first).
  if (value.startsWith(u' ')) value.remove(0, 1);
  if (FModel == Tavri && upper == QLatin1String("SE") && !value.contains(u' ')) {
    // TAVRI takes SE's first field alone and keeps its second.
    const QString held = values.value(upper);
    const qsizetype blank = held.indexOf(u' ');
    if (blank >= 0) value += held.mid(blank);
  }
  values.insert(upper, FModel == KESTO_ZAREL ? ZarelStoredForm(upper, value) : value);
}

void MeterEmulator::Reply(const QString& code) {
  if (rawReplies.contains(code)) {
    WriteBytes(rawReplies.value(code));
    return;
  }
  const QByteArray v = values.value(code).toLatin1();
  const QByteArray c = code.toLatin1();
  QByteArray out;
  switch (FModel) {
    case Dorvane:
      out = code == QLatin1String("AS") ? v.left(2).leftJustified(2, ' ') : "   " + v + "\r\n";
      break;
    case KESTO_ZAREL:
      if (code == QLatin1String("MW")) {
        const QList<QByteArray> parts = v.split(' ');
        out = "Min:" + parts.value(0) + "\r\nMax:" + parts.value(1) + "\r\n";
      } else {
        out = (noEcho ? QByteArray() : c + ":") + v + "\r\n";
      }
      break;
    default:
      out = (noEcho ? QByteArray() : c + " ") + v + "\r\n";
  }
  WriteBytes(out);
}

void MeterEmulator::WriteBytes(const QByteArray& bytes) {
  if (FFd < 0) return;
  const char* p = bytes.constData();
  qsizetype left = bytes.size();
  while (left > 0) {
    const ssize_t n = ::write(FFd, p, static_cast<size_t>(left));
    if (n < 0) {
      if (errno == EINTR || errno == EAGAIN) continue;
      return;
    }
    p += n;
    left -= n;
  }
}

void MeterEmulator::StartStream() {
  FStreaming = true;
  FTimer->start(intervalMs);
}

void MeterEmulator::StopStream() {
  FStreaming = false;
  FTimer->stop();
}

void MeterEmulator::Release() {
  StopStream();
  FNotifier.reset();
  FFd = -1;
}

void MeterEmulator::StreamTick() {
  QByteArray out;
  for (int i = 0; i < linesPerWrite; ++i) out += lineMaker(FLinesSent++) + lineEnd;
  WriteBytes(out);
}

QStringList MeterEmulator::Commands() const {
  QStringList list;
  QByteArray cur;
  for (char c : received) {
    if (c == 27) {
      list << QStringLiteral("\x1b");
    } else if (c == '\r') {
      list << QString::fromLatin1(cur);
      cur.clear();
    } else {
      cur.append(c);
    }
  }
  if (!cur.isEmpty()) list << QString::fromLatin1(cur);
  return list;
}
