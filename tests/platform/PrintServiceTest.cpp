// The print service without waiting: an lp that never answers is ended after
// the limit while the event loop goes on, and a flood of error output comes
// back as its first lines.
#include <gtest/gtest.h>

#include <QTimer>
#include <chrono>
#include <optional>

#include "platform/PrintService.h"
#include "support/EventLoop.h"
#include "support/FakePrintService.h"
#include "support/QtPrinters.h"

namespace {

using namespace std::chrono_literals;

TEST(PrintService, AnLpThatNeverAnswersIsEndedAfterTheLimitWhileEventsGoOn) {
  FakePrintService lp("exec /bin/sleep 30\n");
  platform::PrintService service(200ms);
  int ticks = 0;
  QTimer tick;
  QObject::connect(&tick, &QTimer::timeout, [&] { ++ticks; });
  tick.start(10);
  std::optional<QString> answer;
  int ticksAtAnswer = -1;
  service.PrintFile("/tmp/page.txt", [&](const QString& error) {
    answer = error;
    ticksAtAnswer = ticks;
  });
  EXPECT_FALSE(answer.has_value());  // never answered inside the call
  ASSERT_TRUE(PumpUntil([&] { return answer.has_value(); }, 20000));
  EXPECT_EQ(*answer, "The print service did not answer.");
  EXPECT_GT(ticksAtAnswer, 0);
}

TEST(PrintService, AFloodOfErrorOutputComesBackAsItsFirstLines) {
  // A first line longer than a shown line, then 2 MB of lines.
  FakePrintService lp(
      "printf '%0300d\\n' 0 >&2\n"
      "i=1\n"
      "while [ $i -le 20000 ]; do\n"
      "  echo \"lp: line $i of a very long complaint, repeated until the pipe would be full "
      "of it\" >&2\n"
      "  i=$((i+1))\n"
      "done\n"
      "exit 1\n");
  platform::PrintService service;
  std::optional<QString> answer;
  service.PrintFile("/tmp/page.txt", [&](const QString& error) { answer = error; });
  ASSERT_TRUE(PumpUntil([&] { return answer.has_value(); }, 60000));
  QStringList expected{QString(200, u'0') + QChar(0x2026)};
  for (int i = 1; i <= 9; ++i)
    expected << QStringLiteral(
                    "lp: line %1 of a very long complaint, repeated until the pipe would be full "
                    "of it")
                    .arg(i);
  expected << QString(QChar(0x2026));
  EXPECT_EQ(answer->split(u'\n'), expected);
}

}  // namespace
