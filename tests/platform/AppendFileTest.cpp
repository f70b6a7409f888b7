// The log file's appends: records land whole or not at all.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <QFile>
#include <QTemporaryDir>
#include <csignal>

#include "platform/AppendFile.h"
#include "support/QtPrinters.h"

namespace {

QByteArray Contents(const QString& name) {
  QFile f(name);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

// A file-size limit for the time of a test, as a full disk would give it
// without root: writes beyond it fail with EFBIG instead of killing us.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &FOld);
    FOldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit lower = FOld;
    lower.rlim_cur = bytes;
    FOk = setrlimit(RLIMIT_FSIZE, &lower) == 0;
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &FOld);
    std::signal(SIGXFSZ, FOldHandler);
  }
  bool Ok() const { return FOk; }

 private:
  rlimit FOld{};
  void (*FOldHandler)(int) = nullptr;
  bool FOk = false;
};

}  // namespace

TEST(AppendFile, AppendsWholeLinesAndCreatesTheFile) {
  QTemporaryDir dir;
  const QString name = dir.filePath("log.csv");
  platform::AppendFile file(name);
  EXPECT_TRUE(file.Append("Time;Value\r\n"));
  EXPECT_TRUE(file.Append("0.000;5.300\r\n"));
  EXPECT_EQ(Contents(name), QByteArray("Time;Value\r\n0.000;5.300\r\n"));
}

TEST(AppendFile, ARecordThatDoesNotFitIsCutBackToTheLengthBeforeIt) {
  QTemporaryDir dir;
  const QString name = dir.filePath("log.csv");
  platform::AppendFile file(name);
  ASSERT_TRUE(file.Append("Time;Value\r\n"));  // 12 bytes
  QString reason;
  {
    FileSizeLimit limit(15);  // room for "0.0" of the next record only
    ASSERT_TRUE(limit.Ok());
    EXPECT_FALSE(file.Append("0.000;5.300\r\n", &reason));
  }
  EXPECT_FALSE(reason.isEmpty());
  EXPECT_EQ(Contents(name), QByteArray("Time;Value\r\n"));

  {
    FileSizeLimit limit(12);  // not a single byte of it
    EXPECT_FALSE(file.Append("0.000;5.300\r\n"));
  }
  EXPECT_EQ(Contents(name), QByteArray("Time;Value\r\n"));
  EXPECT_TRUE(file.Append("0.200;5.301\r\n"));
  EXPECT_EQ(Contents(name), QByteArray("Time;Value\r\n0.200;5.301\r\n"));
}

TEST(AppendFile, AFolderThatIsGoneIsAFailureWithItsReason) {
  QString reason;
  platform::AppendFile file(QStringLiteral("/nonexistent-telquin-folder/log.csv"));
  EXPECT_FALSE(file.Append("x\r\n", &reason));
  EXPECT_FALSE(reason.isEmpty());
  EXPECT_FALSE(platform::AppendFile().Append("x", &reason));  // no name
}
