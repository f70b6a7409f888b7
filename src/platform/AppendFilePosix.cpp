#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>

#include "platform/AppendFile.h"
#include "platform/SystemError.h"

namespace platform {

void AppendFile::SetName(const QString& name) {
  FName = name;
  FNativeName = QFile::encodeName(name);
}

bool AppendFile::Append(std::string_view bytes, QString* error) const {
  auto fail = [error](int code) {
    if (error) *error = SystemErrorText(code);
    return false;
  };
  if (FNativeName.isEmpty()) return fail(ENOENT);
  const int fd = ::open(FNativeName.constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
  if (fd < 0) return fail(errno);
  // A record is whole or not there: a write that stops part-way (disk full,
  // file-size limit) is cut back to the length before it.
  const off_t before = ::lseek(fd, 0, SEEK_END);
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      const int code = n < 0 ? errno : EIO;
      if (done > 0 && before >= 0) {
        while (::ftruncate(fd, before) != 0 && errno == EINTR) {
        }
      }
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
