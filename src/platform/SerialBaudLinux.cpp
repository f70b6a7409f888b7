// Rates without a termios speed constant (14400, 56000, 128000, ...) need the
// kernel's second termios form. It cannot share a translation unit with
// <termios.h>, so it lives here.
#include <asm/ioctls.h>
#include <asm/termbits.h>
#include <errno.h>

extern "C" int ioctl(int fd, unsigned long request, ...);

namespace platform::detail {

int SetArbitraryBaudRate(int fd, unsigned rate) {
  struct termios2 t;
  if (ioctl(fd, TCGETS2, &t) != 0) return errno;
  t.c_cflag &= ~CBAUD;
  t.c_cflag |= BOTHER;
  t.c_cflag &= ~(CBAUD << IBSHIFT);
  t.c_cflag |= BOTHER << IBSHIFT;
  t.c_ispeed = rate;
  t.c_ospeed = rate;
  if (ioctl(fd, TCSETS2, &t) != 0) return errno;
  return 0;
}

}  // namespace platform::detail
