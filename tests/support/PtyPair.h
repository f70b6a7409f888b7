#pragma once
// A pseudo-terminal pair for tests: the program under test opens the slave
// path as its serial port, the test talks on the master side (raw mode).

#include <QByteArray>
#include <QString>

class PtyPair {
 public:
  PtyPair();
  ~PtyPair();
  PtyPair(const PtyPair&) = delete;
  PtyPair& operator=(const PtyPair&) = delete;

  bool IsValid() const { return FMaster >= 0; }
  QString SlavePath() const { return FSlavePath; }
  int MasterFd() const { return FMaster; }

  // Writes all bytes to the master side (what the far end sends).
  bool WriteMaster(const QByteArray& bytes);
  // Collects what arrives on the master side until `timeoutMs` passes without
  // more bytes (or `expect` bytes arrived, when given).
  QByteArray ReadMaster(int timeoutMs, int expect = -1);
  // Hangs up: the slave side sees the far end go away.
  void CloseMaster();

 private:
  int FMaster = -1;
  int FSlaveKeep = -1;  // keeps the slave alive until the port opened it
  QString FSlavePath;
};
