#include "platform/PrintService.h"

#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <QTimer>

namespace platform {

namespace {
// The first lines of the service's message: a flood of error output must
// not turn into a message box the size of a book.
QString FirstLines(const QByteArray& bytes, bool cut) {
  QStringList lines = QString::fromLocal8Bit(bytes).trimmed().split(u'\n');
  if (lines.size() > PrintService::ErrorLinesShown) {
    lines.resize(PrintService::ErrorLinesShown);
    cut = true;
  }
  for (QString& line : lines) {
    if (line.endsWith(u'\r')) line.chop(1);
    if (line.size() > PrintService::ErrorLineLength) {
      line.truncate(PrintService::ErrorLineLength);
      line += QChar(0x2026);
    }
  }
  if (cut) lines << QString(QChar(0x2026));
  return lines.join(u'\n');
}
}  // namespace

PrintService::PrintService(std::chrono::milliseconds timeout) : FTimeout(timeout) {}

PrintService::~PrintService() {
  for (auto& [lp, job] : FJobs) {
    QObject::disconnect(lp, nullptr, &FOwner, nullptr);
    lp->kill();
    // Reaps the killed process (a matter of milliseconds), so no zombie is
    // left and the process object is not destroyed while it runs.
    lp->waitForFinished(1000);
  }
}

void PrintService::PrintFile(const QString& fileName, Done done) {
  // An absolute name never starts with '-', so lp cannot take it as an option.
  const QString path = QFileInfo(fileName).absoluteFilePath();
  auto* lp = new QProcess(&FOwner);
  Job& job = FJobs[lp];
  job.path = path;
  job.done = std::move(done);
  lp->setStandardInputFile(QProcess::nullDevice());
  // lp tells the job's number on its output; nobody reads it.
  lp->setStandardOutputFile(QProcess::nullDevice());
  auto* limit = new QTimer(lp);
  limit->setSingleShot(true);
  QObject::connect(limit, &QTimer::timeout, &FOwner, [this, lp] {
    const auto it = FJobs.find(lp);
    if (it == FJobs.end()) return;
    it->second.timedOut = true;
    lp->kill();  // answered by `finished`
  });
  QObject::connect(lp, &QProcess::readyReadStandardError, &FOwner, [this, lp] { Collect(lp); });
  QObject::connect(lp, &QProcess::errorOccurred, &FOwner, [this, lp](QProcess::ProcessError e) {
    // Other errors are followed by `finished`.
    if (e == QProcess::FailedToStart)
      Finish(lp, QStringLiteral("No print service: the command \"lp\" could not be run (%1).")
                     .arg(lp->errorString()));
  });
  QObject::connect(lp, &QProcess::finished, &FOwner, [this, lp] {
    Collect(lp);
    const auto it = FJobs.find(lp);
    if (it == FJobs.end()) return;
    Finish(lp, it->second.timedOut ? QStringLiteral("The print service did not answer.")
                                   : Reason(lp, it->second));
  });
  limit->start(FTimeout);
  lp->start(QStringLiteral("lp"), {path});
}

void PrintService::Collect(QProcess* lp) {
  const auto it = FJobs.find(lp);
  if (it == FJobs.end()) return;
  Job& job = it->second;
  // Read as it comes, so lp never blocks on a full pipe; keep only the head.
  const QByteArray chunk = lp->readAllStandardError();
  const qsizetype room = ErrorBytesKept - job.error.size();
  job.error += chunk.left(room);
  if (chunk.size() > room) job.errorCut = true;
}

QString PrintService::Reason(QProcess* lp, const Job& job) const {
  if (lp->exitStatus() == QProcess::NormalExit && lp->exitCode() == 0) return {};
  const QString text = FirstLines(job.error, job.errorCut);
  if (!text.isEmpty()) return text;
  return QStringLiteral("The print service could not print \"%1\" (exit code %2).")
      .arg(job.path)
      .arg(lp->exitCode());
}

void PrintService::Finish(QProcess* lp, const QString& error) {
  const auto it = FJobs.find(lp);
  if (it == FJobs.end()) return;
  Done done = std::move(it->second.done);
  FJobs.erase(it);
  QObject::disconnect(lp, nullptr, &FOwner, nullptr);
  // Not deleted here: we may be inside one of its signals.
  lp->deleteLater();
  // The answer may open a message box; it runs on its own turn of the event
  // loop, and not at all once the service is gone.
  QMetaObject::invokeMethod(
      &FOwner, [done = std::move(done), error] { done(error); }, Qt::QueuedConnection);
}

}  // namespace platform
