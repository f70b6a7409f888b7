#pragma once
// A print service of our own: an "lp" shell script in a temporary folder that
// is the whole PATH while the object lives (so the script has the shell's
// builtins and absolute paths only). An empty body: no "lp" at all.

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

struct FakePrintService {
  explicit FakePrintService(const QByteArray& body) : oldPath(qgetenv("PATH")) {
    if (!body.isEmpty()) {
      QFile lp(dir.filePath("lp"));
      lp.open(QIODevice::WriteOnly);
      lp.write("#!/bin/sh\n" + body);
      lp.close();
      lp.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    qputenv("PATH", dir.path().toLocal8Bit());
  }
  ~FakePrintService() { qputenv("PATH", oldPath); }
  QTemporaryDir dir;
  QByteArray oldPath;
};
