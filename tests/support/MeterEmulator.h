#pragma once
// A meter on the master side of a pseudo-terminal, for end-to-end tests and
// benchmarks. It answers queries by the model's reply rules, takes set
// commands into its value table, streams measurement lines after a start
// command until ESC, and records every byte it received.
//
// Reply forms of a query "XX" CR:
//   PAVON, HEXLIN, TAVRI: echo, one blank, value, CR LF
//   KESTO ZAREL:          echo, ':', value, CR LF ("MW" answers two lines,
//                         "Min:" part 0 and "Max:" part 1)
//   DORVANE:              leading blanks, value, CR LF; "AS" answers exactly
//                         its two characters without CR LF
// A command with a value ("SA10" CR, DORVANE "AS dt" CR) sets the value and
// answers nothing. KESTO ZAREL stores a set value in the form it reports:
// "SP2" as "0x3B", "AS5" as "DT" (positions from 1), "QA0 500000" as
// "0, 500000". TAVRI takes "SE" with one field as its first field and keeps
// the second ("SE1" on "2 2" holds "1 2"). A code without a value that is no
// known query and is a start command (DT, DS, DW, DX, DF, DM, CT, VM, VT, TP,
// FT, DJ or the auto-start form in lower case) starts the stream.
//
// The emulator lives on the thread that creates it and is driven by that
// thread's event loop (a socket notifier on the master side).

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "meter/DeviceType.h"

class QSocketNotifier;
class QTimer;

class MeterEmulator : public QObject {
 public:
  MeterEmulator(TDeviceType model, int masterFd);
  ~MeterEmulator() override;

  TDeviceType Model() const { return FModel; }

  // --- replies
  // Values the meter holds, by code; multi-part values joined by one blank.
  QHash<QString, QString> values;
  // Answer nothing at all (a dead line).
  bool silent = false;
  // When not empty, only these codes are answered.
  QSet<QString> answerOnly;
  // How many more queries are answered (-1: all); a meter that goes quiet.
  int repliesLeft = -1;
  // Answer without the echo (PAVON-like models), e.g. "10" CR LF.
  bool noEcho = false;
  // Raw replies that replace the normal form for a code (CR LF not added).
  QHash<QString, QByteArray> rawReplies;
  // Default values of every query code of the model, so that a full read
  // gets an answer for each query.
  void FillDefaultValues();

  // --- streaming
  // The measurement line for the n-th streamed line (without its end). The
  // default makes a valid line of the model around 5000 units.
  std::function<QByteArray(int n)> lineMaker;
  // Line end appended to every line (DORVANE packets have none).
  QByteArray lineEnd;
  int intervalMs = 20;     // between writes
  int linesPerWrite = 1;   // lines per write (bursts)
  bool Streaming() const { return FStreaming; }
  int LinesSent() const { return FLinesSent; }
  void StartStream();
  void StopStream();
  // Stops streaming and lets go of the master side, which the test may then
  // close (the line hangs up) without the emulator touching it again.
  void Release();

  // --- what the program sent
  QByteArray received;
  // The received bytes cut into commands: each CR ends one, an ESC is its own
  // command "\x1b" (without CR).
  QStringList Commands() const;
  void ClearReceived() { received.clear(); }

 private:
  void OnReadable();
  void HandleCommand(const QByteArray& line);
  void Reply(const QString& code);
  void WriteBytes(const QByteArray& bytes);
  void StreamTick();

  TDeviceType FModel;
  int FFd;
  std::unique_ptr<QSocketNotifier> FNotifier;
  std::unique_ptr<QTimer> FTimer;
  QByteArray FPending;  // bytes of the command being received
  bool FStreaming = false;
  int FLinesSent = 0;
};
