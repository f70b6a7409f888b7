#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

#include "platform/StopSignal.h"

namespace platform {

StopSignal::StopSignal() : FFd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

StopSignal::~StopSignal() {
  if (FFd >= 0) close(FFd);
}

void StopSignal::Set() {
  // The counter stays above 0 until Reset reads it back to 0.
  const std::uint64_t one = 1;
  [[maybe_unused]] ssize_t n = write(FFd, &one, sizeof one);
}

void StopSignal::Reset() {
  std::uint64_t v;
  [[maybe_unused]] ssize_t n = read(FFd, &v, sizeof v);
}

bool StopSignal::IsSet() const {
  pollfd p{FFd, POLLIN, 0};
  return poll(&p, 1, 0) == 1 && (p.revents & POLLIN);
}

}  // namespace platform
