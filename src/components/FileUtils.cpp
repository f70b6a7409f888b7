#include "components/FileUtils.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

#include "components/BrowseFolderDlg.h"
#include "components/ToolSpeedButton.h"

namespace {
TFolderDialogHook& Hook() {
  static TFolderDialogHook hook;
  return hook;
}

// The file dialog offers OK only for a folder that exists and answers any
// other name with "Directory not found". A dialog that may create folders
// takes a new name as well: its OK stays on for it and accepts it.
class TSelectDirDialog : public QFileDialog {
 public:
  using QFileDialog::QFileDialog;

  // Call once the dialog's own widgets exist.
  void TakeNewNames() {
    FTakeNewNames = true;
    if (auto* box = findChild<QDialogButtonBox*>())
      if (QPushButton* ok = box->button(QDialogButtonBox::Open)) ok->installEventFilter(this);
  }

 protected:
  void accept() override {
    if (FTakeNewNames && NewName()) QDialog::accept();
    else QFileDialog::accept();
  }
  bool eventFilter(QObject* watched, QEvent* event) override {
    // The dialog switches OK off for a new name on every change of the text.
    if (event->type() == QEvent::EnabledChange) {
      auto* ok = static_cast<QWidget*>(watched);
      if (!ok->isEnabled() && NewName()) ok->setEnabled(true);
    }
    return QFileDialog::eventFilter(watched, event);
  }

 private:
  bool NewName() const {
    const QStringList chosen = selectedFiles();
    return !chosen.isEmpty() && !chosen.front().isEmpty() && !QFileInfo::exists(chosen.front());
  }

  bool FTakeNewNames = false;
};

}  // namespace

void SetFolderDialogHook(TFolderDialogHook hook) { Hook() = std::move(hook); }

int ExecFolderDialog(QDialog& dialog) { return Hook() ? Hook()(dialog) : dialog.exec(); }

bool SelectDirectory(QString& directory, TSelectDirOpts options, int helpContext, QWidget* parent) {
  TSelectDirDialog dialog(parent, QStringLiteral("Select Directory"), directory);
  dialog.setObjectName("SelectDirectory");
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly);
  if (options.Contains(sdAllowCreate)) dialog.TakeNewNames();
  else dialog.setOption(QFileDialog::ReadOnly);
  if (ExecFolderDialog(dialog) != QDialog::Accepted) return false;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return false;
  const QString folder = chosen.front();
  if (!IsFolder(folder) && !options.Contains(sdAllowCreate)) return false;
  if (!IsFolder(folder) && options.Contains(sdPerformCreate)) {
    if (options.Contains(sdPrompt) &&
        QMessageBox::question(parent, dialog.windowTitle(),
                              QStringLiteral("The %1 directory does not exist. Create it?").arg(folder)) !=
            QMessageBox::Yes)
      return false;
    if (!QDir().mkpath(folder)) return false;
  }
  directory = folder;
  return true;
}

bool BrowseForDirectory(QString& folder, const QString& text, int helpContext) {
  if (!NewStyleControls()) return SelectDirectory(folder, {}, helpContext);
  TBrowseFolderDlg dialog;
  dialog.SetDialogText(text);
  dialog.SetFolderName(folder);
  dialog.SetHelpContext(helpContext);
  if (!dialog.Execute()) return false;
  folder = dialog.FolderName();
  return true;
}

bool IsFolder(const QString& name) { return !name.isEmpty() && QFileInfo(name).isDir(); }

QString StripTrailingBackslash(const QString& path) {
  if (path.size() > 1 && path.endsWith('/')) return path.chopped(1);
  return path;
}

// Entry names here are exact and have no short form, so rebuilding the path
// entry by entry gives the path itself, missing entries included.
QString LongPathName(const QString& path) { return path; }
QString ShortPathName(const QString& path) { return path; }
