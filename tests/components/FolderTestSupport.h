#pragma once
// Answers the folder dialogs without a modal loop: records where each one
// started and answers with a folder, pressing the dialog's OK (or cancels).

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QTimer>

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
      // The dialog's own OK, so that it judges the answer as it would the
      // user's. A message box it opens to refuse one is closed unanswered.
      QTimer::singleShot(0, &dialog, [&dialog] {
        for (QMessageBox* box : dialog.findChildren<QMessageBox*>()) box->reject();
      });
      if (auto* box = dialog.findChild<QDialogButtonBox*>())
        for (QAbstractButton* b : box->buttons())
          if (box->buttonRole(b) == QDialogButtonBox::AcceptRole) b->click();
      return dialog.result();
    });
  }
  ~FolderDialogScript() { SetFolderDialogHook({}); }
};
