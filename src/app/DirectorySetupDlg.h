#pragma once
// The two start folders the program offers: where parameter files are
// opened and saved, and where log files go. Both default to the user's
// documents folder and are stored under "Software\Telquin\Directory" when
// the dialog is confirmed. An empty folder is stored as it is: the file
// dialogs then start in their default folder.

#include <QDialog>
#include <QString>

#include "app/DialogFrame.h"

class QGroupBox;
class QPushButton;
class TDirectoryEdit;
class TMainForm;

class TDirectorySetupDlg : public QDialog {
  Q_OBJECT

 public:
  explicit TDirectorySetupDlg(QWidget* parent = nullptr);

  // Shows the dialog modally. A failure to store the folders closes it and
  // is thrown here, never into the event loop.
  int ShowModal();

  const QString& DirParameter() const { return FDirParameter; }
  // Acts only on a change; also shows the folder in its edit.
  void SetDirParameter(const QString& value);
  const QString& DirLogFile() const { return FDirLogFile; }
  void SetDirLogFile(const QString& value);

  void FormCreate();
  void Btn_okClick();

  QGroupBox* GroupBox1;
  TDirectoryEdit* DirectoryEdit1;
  QGroupBox* GroupBox2;
  TDirectoryEdit* DirectoryEdit2;
  QPushButton* Btn_ok;
  QPushButton* Button2;

 private:
  QString FDirParameter;
  QString FDirLogFile;
  TOkFailure FStoreError;
};

// Lets the window ask the dialog for its folders and opens it on
// "&Directory Setup".
void InstallDirectorySetup(TMainForm& form, TDirectorySetupDlg& dialog);
