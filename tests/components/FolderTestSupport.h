#pragma once
// Answers the folder dialogs without a modal loop: records where each one
// started and answers with a folder (or cancels).

#include <QDir>
#include <QFileDialog>
#include <QString>
#include <QStringList>

#include "components/FileUtils.h"

struct FolderDialogScript {
  QString answer;         // the folder the user picks
  bool accept = true;     // OK or Cancel
  QStringList startedIn;  // start folder of each dialog shown

  FolderDialogScript() {
    SetFolderDialogHook([this](QDialog& dialog) {
      auto* files = qobject_cast<QFileDialog*>(&dialog);
      startedIn << (files ? QDir::cleanPath(files->directory().absolutePath()) : QString());
      if (!accept) return int(QDialog::Rejected);
      if (files) files->selectFile(answer);
      return int(QDialog::Accepted);
    });
  }
  ~FolderDialogScript() { SetFolderDialogHook({}); }
};
