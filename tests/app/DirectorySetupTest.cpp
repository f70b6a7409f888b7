// The directory setup: its defaults, what it stores and when, and the start
// folders of the window's file dialogs.
#include <gtest/gtest.h>

#include "app/QtPrinters.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include "app/DirectorySetupDlg.h"
#include "app/MainForm.h"
#include "components/DirectoryEdit.h"
#include "meter/MeterLogic.h"
#include "platform/Registry.h"

namespace {

const QString kKey = QStringLiteral("Software\\Telquin\\Directory");

// A settings store of its own for one test.
struct FreshSettings {
  QTemporaryDir dir;
  QString previous = platform::Registry::StorageRoot();
  FreshSettings() { platform::Registry::SetStorageRoot(dir.path()); }
  ~FreshSettings() { platform::Registry::SetStorageRoot(previous); }
};

QString Stored(const QString& name) {
  platform::Registry reg;
  if (!reg.OpenKeyReadOnly(kKey) || !reg.ValueExists(name)) return QStringLiteral("<none>");
  return reg.ReadString(name);
}

// Fills the open directory setup's edits and presses OK or Cancel.
void AnswerDirectorySetup(const QString& parameter, const QString& logFile, bool ok) {
  QTimer::singleShot(0, [=] {
    auto* d = qobject_cast<TDirectorySetupDlg*>(QApplication::activeModalWidget());
    if (!d) return;
    d->DirectoryEdit1->setText(parameter);
    d->DirectoryEdit2->setText(logFile);
    (ok ? d->Btn_ok : d->Button2)->click();
  });
}

// Runs the action, cancels the file dialog it opens and tells the folder
// that dialog started in.
QString StartFolderOf(TMainForm& form, TAction action) {
  QString dir;
  QTimer::singleShot(0, [&dir] {
    auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!d) return;
    dir = d->directory().absolutePath();
    d->reject();
  });
  form.Action(action)->trigger();
  return dir;
}

TEST(DirectorySetup, FreshSettingsShowTheDocumentsFolderAndStoreOnlyOnOk) {
  FreshSettings settings;
  const QString documents = TMainForm::GetSpecialFolderPath(5);
  TDirectorySetupDlg dialog;
  EXPECT_EQ(dialog.windowTitle(), "Directory Setup");
  EXPECT_EQ(dialog.DirectoryEdit1->text(), documents);
  EXPECT_EQ(dialog.DirectoryEdit2->text(), documents);
  EXPECT_EQ(dialog.DirParameter(), documents);
  EXPECT_EQ(dialog.DirectoryEdit1->NumGlyphs(), 1);
  EXPECT_FALSE(platform::Registry().KeyExists(kKey));

  QTemporaryDir a, b;
  AnswerDirectorySetup(a.path(), b.path(), false);
  EXPECT_EQ(dialog.ShowModal(), 2);
  EXPECT_EQ(dialog.DirParameter(), documents);
  EXPECT_EQ(dialog.DirectoryEdit1->text(), a.path());  // typed text stays until OK
  EXPECT_FALSE(platform::Registry().KeyExists(kKey));

  AnswerDirectorySetup(a.path(), b.path(), true);
  EXPECT_EQ(dialog.ShowModal(), 1);
  EXPECT_EQ(dialog.DirParameter(), a.path());
  EXPECT_EQ(dialog.DirLogFile(), b.path());
  EXPECT_EQ(Stored("Parameter"), a.path());
  EXPECT_EQ(Stored("LogFile"), b.path());

  // Stored as given: an empty folder stays empty, nothing is added.
  AnswerDirectorySetup("", b.path() + "/", true);
  dialog.ShowModal();
  EXPECT_EQ(Stored("Parameter"), "");
  EXPECT_EQ(Stored("LogFile"), b.path() + "/");
  TDirectorySetupDlg next;
  EXPECT_EQ(next.DirParameter(), "");
  EXPECT_EQ(next.DirectoryEdit1->text(), "");
  EXPECT_EQ(next.DirLogFile(), b.path() + "/");
}

TEST(DirectorySetup, FileDialogsStartInTheFoldersWithoutARestart) {
  FreshSettings settings;
  QTemporaryDir params, logs, first;
  {
    platform::Registry reg;
    ASSERT_TRUE(reg.OpenKey(kKey, true));
    reg.WriteString("Parameter", first.path());
    reg.WriteString("LogFile", logs.path());
    reg.Flush();
  }
  TMainForm form;
  form.Logic().Simulator().InitSimuVersion(true);  // no port at the first show
  TDirectorySetupDlg dialog(&form);
  InstallDirectorySetup(form, dialog);
  form.FormShow();
  // The open dialog as the first show left it.
  EXPECT_EQ(StartFolderOf(form, TAction::acViewFile), first.path());

  AnswerDirectorySetup(params.path(), logs.path(), true);
  form.Action(TAction::acDirectory)->trigger();
  EXPECT_EQ(StartFolderOf(form, TAction::acSave), params.path());
  EXPECT_EQ(StartFolderOf(form, TAction::acOpen), params.path());
  EXPECT_EQ(StartFolderOf(form, TAction::acSaveLog), logs.path());
  // The log dialog shares it: set again.
  EXPECT_EQ(StartFolderOf(form, TAction::acSave), params.path());

  // An empty folder: the dialogs start where a new file dialog starts.
  AnswerDirectorySetup("", "", true);
  form.Action(TAction::acDirectory)->trigger();
  EXPECT_EQ(StartFolderOf(form, TAction::acSave), QDir::currentPath());
  EXPECT_EQ(StartFolderOf(form, TAction::acSaveLog), QDir::currentPath());
}

}  // namespace
