#include <gtest/gtest.h>

#include <QDialog>
#include <QFile>
#include <QFileSystemModel>
#include <QTemporaryDir>
#include <QTreeView>

#include "FolderTestSupport.h"
#include "components/BrowseFolderDlg.h"
#include "components/FileUtils.h"

namespace {

TEST(FileUtils, PathRoutines) {
  EXPECT_EQ(StripTrailingBackslash("/tmp/logs/"), "/tmp/logs");
  EXPECT_EQ(StripTrailingBackslash("/tmp/logs"), "/tmp/logs");
  EXPECT_EQ(StripTrailingBackslash("/"), "/");
  EXPECT_EQ(StripTrailingBackslash(""), "");

  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QFile file(dir.filePath("a.txt"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  EXPECT_TRUE(IsFolder(dir.path()));
  EXPECT_FALSE(IsFolder(file.fileName()));
  EXPECT_FALSE(IsFolder(dir.filePath("missing")));
  EXPECT_FALSE(IsFolder(""));

  // Missing entries keep their names instead of turning into empty ones.
  EXPECT_EQ(LongPathName("/no/such/place"), "/no/such/place");
  EXPECT_EQ(ShortPathName(dir.path()), dir.path());
}

// Runs the folder browser; `inside` acts in the open window and says
// whether to press OK.
struct BrowserRun {
  TBrowseFolderDlg dlg;
  std::function<bool(TBrowseFolderDlg&)> inside;
  bool Execute() {
    SetFolderDialogHook([this](QDialog&) { return inside(dlg) ? int(QDialog::Accepted) : int(QDialog::Rejected); });
    const bool result = dlg.Execute();
    SetFolderDialogHook({});
    return result;
  }
};

TEST(BrowseFolderDlg, OpensAtTheStartFolderAndOffersOkOnlyForFolders) {
  QTemporaryDir dir;
  ASSERT_TRUE(QDir(dir.path()).mkdir("sub"));
  const QString sub = dir.filePath("sub");
  BrowserRun run;
  int initialized = 0, changes = 0;
  run.dlg.OnInitialized = [&](TObject*) { ++initialized; };
  run.dlg.OnSelChanged = [&](TObject*) { ++changes; };
  run.dlg.SetFolderName(dir.path());
  run.dlg.SetDialogText("Pick the log folder");
  run.inside = [&](TBrowseFolderDlg& d) {
    auto* model = qobject_cast<QFileSystemModel*>(d.Tree()->model());
    EXPECT_EQ(model->filePath(d.Tree()->currentIndex()), dir.path());
    EXPECT_TRUE(d.OkEnabled());
    EXPECT_EQ(d.SelectedName(), dir.path());
    d.SelectPath(QString());  // nothing that is a folder
    EXPECT_FALSE(d.OkEnabled());
    EXPECT_TRUE(d.SelectedName().isEmpty());
    d.SelectPath(sub);
    EXPECT_TRUE(d.OkEnabled());
    return true;
  };
  ASSERT_TRUE(run.Execute());
  EXPECT_EQ(run.dlg.FolderName(), sub);
  EXPECT_EQ(run.dlg.DisplayName(), "sub");
  EXPECT_EQ(initialized, 1);
  EXPECT_GE(changes, 3);
  EXPECT_EQ(run.dlg.Handle(), nullptr);

  BrowserRun cancelled;
  cancelled.dlg.SetFolderName(sub);
  cancelled.inside = [&](TBrowseFolderDlg& d) {
    d.SelectPath(dir.path());
    return false;
  };
  EXPECT_FALSE(cancelled.Execute());
  EXPECT_EQ(cancelled.dlg.FolderName(), sub);

  BrowserRun missingStart;  // a start folder that does not exist selects nothing
  missingStart.dlg.SetFolderName(dir.filePath("gone"));
  missingStart.inside = [](TBrowseFolderDlg& d) {
    EXPECT_FALSE(d.Tree()->currentIndex().isValid());
    EXPECT_FALSE(d.OkEnabled());
    return true;
  };
  EXPECT_FALSE(missingStart.Execute());
}

TEST(BrowseForDirectory, HandsTheChosenFolderBack) {
  QTemporaryDir dir;
  ASSERT_TRUE(QDir(dir.path()).mkdir("x"));
  QString folder = dir.path();
  QString seenTitleText;
  SetFolderDialogHook([&](QDialog& dialog) {
    auto* tree = dialog.findChild<QTreeView*>("FolderTree");
    auto* model = qobject_cast<QFileSystemModel*>(tree->model());
    EXPECT_EQ(model->filePath(tree->currentIndex()), dir.path());
    tree->setCurrentIndex(model->index(dir.filePath("x")));
    return int(QDialog::Accepted);
  });
  EXPECT_TRUE(BrowseForDirectory(folder, "Folder", 0));
  SetFolderDialogHook({});
  EXPECT_EQ(folder, dir.filePath("x"));
}

TEST(SelectDirectory, StartsInTheFolderAndCreatesOnlyWhenAsked) {
  QTemporaryDir dir;
  FolderDialogScript script;
  QString folder = dir.path();
  script.answer = dir.filePath("new");
  EXPECT_FALSE(SelectDirectory(folder, {}, 0));  // only existing folders
  EXPECT_EQ(script.startedIn.value(0), dir.path());
  EXPECT_EQ(folder, dir.path());
  EXPECT_TRUE(SelectDirectory(folder, {sdAllowCreate}, 0));
  EXPECT_EQ(folder, dir.filePath("new"));
  EXPECT_FALSE(IsFolder(folder));

  folder = dir.path();
  EXPECT_TRUE(SelectDirectory(folder, {sdAllowCreate, sdPerformCreate}, 0));
  EXPECT_TRUE(IsFolder(dir.filePath("new")));

  script.accept = false;
  folder = dir.path();
  EXPECT_FALSE(SelectDirectory(folder, {}, 0));
  EXPECT_EQ(folder, dir.path());
}

}  // namespace
