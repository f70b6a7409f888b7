#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <cstring>

#include "platform/AppendFile.h"

namespace platform {

void AppendFile::SetName(const QString& name) {
  FName = name;
  FNativeName = QFile::encodeName(name);
}

bool AppendFile::Append(std::string_view bytes, QString* error) const {
  auto fail = [error](int code) {
    if (error) *error = QString::fromLocal8Bit(std::strerror(code));
    return false;
  };
  if (FNativeName.isEmpty()) return fail(ENOENT);
  const int fd = ::open(FNativeName.constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
  if (fd < 0) return fail(errno);
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      const int code = n < 0 ? errno : EIO;
      ::close(fd);
      return fail(code);
    }
    done += static_cast<std::size_t>(n);
  }
  // A delayed write error (network file systems) shows up here.
  if (::close(fd) != 0 && errno != EINTR) return fail(errno);
  return true;
}

}  // namespace platform
