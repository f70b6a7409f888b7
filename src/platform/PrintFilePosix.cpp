#include "platform/PrintFile.h"

#include <QFileInfo>
#include <QProcess>

namespace platform {

namespace {
void SetError(QString* error, const QString& text) {
  if (error) *error = text;
}
}  // namespace

bool PrintFile(const QString& fileName, QString* error) {
  // An absolute name never starts with '-', so lp cannot take it as an option.
  const QString path = QFileInfo(fileName).absoluteFilePath();
  QProcess lp;
  lp.setStandardInputFile(QProcess::nullDevice());
  lp.start(QStringLiteral("lp"), {path});
  if (!lp.waitForStarted()) {
    SetError(error, QStringLiteral("No print service: the command \"lp\" could not be run (%1).")
                        .arg(lp.errorString()));
    return false;
  }
  if (!lp.waitForFinished(60000)) {
    lp.kill();
    lp.waitForFinished();
    SetError(error, QStringLiteral("The print service did not answer."));
    return false;
  }
  if (lp.exitStatus() == QProcess::NormalExit && lp.exitCode() == 0) return true;
  QString text = QString::fromLocal8Bit(lp.readAllStandardError()).trimmed();
  if (text.isEmpty())
    text = QStringLiteral("The print service could not print \"%1\" (exit code %2).")
               .arg(path)
               .arg(lp.exitCode());
  SetError(error, text);
  return false;
}

}  // namespace platform
