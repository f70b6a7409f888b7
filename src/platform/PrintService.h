#pragma once
// Printing a file as the desktop does: handed to the system's print service
// ("lp"), which picks the filter for its type and the default printer.
// Nothing here waits: every file gets its own "lp", and its answer comes
// back through the event loop of the thread that owns the service, so the
// window goes on handling the meter's lines while the service thinks.

#include <QObject>
#include <QString>
#include <chrono>
#include <functional>
#include <map>

class QProcess;

namespace platform {

class PrintService {
 public:
  // The answer for one file: empty when the service took it, else the
  // reason as text for the user.
  using Done = std::function<void(const QString& error)>;

  static constexpr std::chrono::milliseconds DefaultTimeout{60000};
  // The error output of "lp" that is kept, and what of it the reason shows.
  static constexpr int ErrorBytesKept = 8192;
  static constexpr int ErrorLinesShown = 10;
  static constexpr int ErrorLineLength = 200;

  // `timeout`: how long one "lp" may run before it is ended.
  explicit PrintService(std::chrono::milliseconds timeout = DefaultTimeout);
  // Ends every "lp" still running; their `done` is never called.
  ~PrintService();
  PrintService(const PrintService&) = delete;
  PrintService& operator=(const PrintService&) = delete;

  // Starts "lp" on the file and returns at once. `done` is called exactly
  // once, from the event loop and never inside this call, unless the service
  // is destroyed first. The reasons it gets:
  // - "No print service: ..." when "lp" cannot be run;
  // - "The print service did not answer." when "lp" ran longer than the
  //   timeout (it is ended then);
  // - the service's own message (for example no default printer): the first
  //   ErrorLinesShown lines of its error output, each cut to ErrorLineLength
  //   characters, with a line "…" below when more was cut;
  // - a generic text with the exit code when it failed without a message.
  // Files handed in while another "lp" runs get an "lp" of their own.
  void PrintFile(const QString& fileName, Done done);

 private:
  struct Job {
    QString path;
    Done done;
    QByteArray error;  // the first ErrorBytesKept bytes of lp's error output
    bool errorCut = false;
    bool timedOut = false;
  };
  void Collect(QProcess* lp);
  void Finish(QProcess* lp, const QString& error);
  QString Reason(QProcess* lp, const Job& job) const;

  std::chrono::milliseconds FTimeout;
  QObject FOwner;  // parent of the running processes, context of their signals
  std::map<QProcess*, Job> FJobs;  // the processes still running
};

}  // namespace platform
