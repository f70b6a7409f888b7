#include "support/PtyPair.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

PtyPair::PtyPair() {
  int master = -1, slave = -1;
  char name[256] = {};
  termios raw{};
  cfmakeraw(&raw);
  if (openpty(&master, &slave, name, &raw, nullptr) != 0) return;
  fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
  fcntl(master, F_SETFD, FD_CLOEXEC);
  fcntl(slave, F_SETFD, FD_CLOEXEC);
  FMaster = master;
  FSlaveKeep = slave;
  FSlavePath = QString::fromLocal8Bit(name);
}

PtyPair::~PtyPair() {
  CloseMaster();
  if (FSlaveKeep >= 0) close(FSlaveKeep);
}

bool PtyPair::WriteMaster(const QByteArray& bytes) {
  qsizetype done = 0;
  while (done < bytes.size()) {
    const ssize_t w = write(FMaster, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
    if (w > 0) {
      done += w;
      continue;
    }
    if (w < 0 && errno != EAGAIN && errno != EINTR) return false;
    pollfd p{FMaster, POLLOUT, 0};
    if (poll(&p, 1, 5000) <= 0) return false;
  }
  return true;
}

QByteArray PtyPair::ReadMaster(int timeoutMs, int expect) {
  QByteArray out;
  if (FMaster < 0) return out;
  char buf[4096];
  for (;;) {
    if (expect >= 0 && out.size() >= expect) break;
    pollfd p{FMaster, POLLIN, 0};
    if (poll(&p, 1, timeoutMs) <= 0 || !(p.revents & POLLIN)) break;
    const ssize_t r = read(FMaster, buf, sizeof buf);
    if (r <= 0) break;
    out.append(buf, r);
  }
  return out;
}

void PtyPair::CloseMaster() {
  // The slave end we kept must go first: otherwise the line is not hung up.
  if (FSlaveKeep >= 0) {
    close(FSlaveKeep);
    FSlaveKeep = -1;
  }
  if (FMaster >= 0) {
    close(FMaster);
    FMaster = -1;
  }
}
