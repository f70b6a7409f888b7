// Line settings through the kernel's second termios form. It takes any rate
// (14400, 56000, ... have no speed constant), and it is not subject to the C
// library's read-back check, which refuses parity or data bits other than 8
// on pseudo-terminals (the kernel ignores them there, as a line without a
// UART has neither). It cannot share a translation unit with <termios.h>.
#include <asm/ioctls.h>
#include <asm/termbits.h>
#include <errno.h>

#include "platform/SerialDevice.h"

extern "C" int ioctl(int fd, unsigned long request, ...);

namespace platform::detail {

int ApplyLineState(int fd, const SerialLineState& s) {
  struct termios2 t;
  if (ioctl(fd, TCGETS2, &t) != 0) return errno;
  // Raw bytes in both directions.
  t.c_iflag &= ~(BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF | IXANY |
                 INPCK | IGNPAR);
  t.c_iflag |= IGNBRK;  // a break is counted, not put into the data
  t.c_oflag &= ~OPOST;
  t.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
  t.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS | CBAUD | (CBAUD << IBSHIFT));
  t.c_cflag |= CREAD | CLOCAL | BOTHER | (BOTHER << IBSHIFT);
  static const unsigned sizes[] = {CS5, CS6, CS7, CS8};
  t.c_cflag |= sizes[s.ByteSize - 5];
  switch (s.Parity) {
    case 1: t.c_cflag |= PARENB | PARODD; break;
    case 2: t.c_cflag |= PARENB; break;
    case 3: t.c_cflag |= PARENB | CMSPAR | PARODD; break;
    case 4: t.c_cflag |= PARENB | CMSPAR; break;
    default: break;
  }
  // 1.5 stop bits do not exist here; two is the nearest longer setting.
  if (s.StopBits != 0) t.c_cflag |= CSTOPB;
  // One flag covers both directions of RTS/CTS flow control.
  if (s.OutxCtsFlow || s.RtsControl == 2) t.c_cflag |= CRTSCTS;
  if (s.OutX) t.c_iflag |= IXON;
  if (s.InX) t.c_iflag |= IXOFF;
  if (s.ParityCheck) t.c_iflag |= INPCK;
  // Bytes with errors are marked (FF 00 x) so that they can be replaced.
  if (s.ParityCheck && s.ErrorCharOn) t.c_iflag |= PARMRK;
  t.c_cc[VSTART] = static_cast<unsigned char>(s.XonChar);
  t.c_cc[VSTOP] = static_cast<unsigned char>(s.XoffChar);
  // A non-blocking read then gives EAGAIN when empty and 0 only at hang-up.
  t.c_cc[VMIN] = 1;
  t.c_cc[VTIME] = 0;
  t.c_ispeed = s.BaudRate;
  t.c_ospeed = s.BaudRate;
  if (ioctl(fd, TCSETS2, &t) != 0) return errno;
  return 0;
}

bool HasRtsCtsFlow(const SerialLineState& s) { return s.OutxCtsFlow || s.RtsControl == 2; }

}  // namespace platform::detail
