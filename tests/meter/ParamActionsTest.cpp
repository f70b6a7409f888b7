// The parameter file and clipboard actions through the window's dialogs.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "MeterRig.h"

TEST(ParamActions, SaveAndOpenGoThroughTheDialogsInTheParameterFolder) {
  QTemporaryDir dir;
  MeterRig rig(Pavon, false);
  rig.view.dirParameter = dir.path();
  rig.logic.Model<TPavon>().SetStandard();
  rig.view.controls.SetText("cb_td", "0");
  rig.view.controls.SetText("cb_tl", "1");
  const QString file = dir.filePath("set.txt");

  rig.logic.acSaveExecute();  // cancelled: nothing written, status kept
  EXPECT_FALSE(QFile::exists(file));
  rig.view.saveDialogAnswers.push_back(file);
  rig.logic.acSaveExecute();
  ASSERT_EQ(rig.view.saveDialogCalls.size(), 2);
  const IMeterView::FileDialogOptions& o = rig.view.saveDialogCalls[1];
  EXPECT_EQ(o.initialDir, dir.path());
  EXPECT_EQ(o.defaultExt, "txt");
  EXPECT_EQ(o.filter, "Text File(*.txt)|*.txt|csv File(*.csv)|*.csv");
  EXPECT_EQ(o.filterIndex, 1);
  EXPECT_EQ(rig.view.StatusText(2), " Write: " + file);
  QFile f(file);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_TRUE(f.readAll().contains("\r\nTD=0 1\r\n"));

  rig.logic.BlankParameters();
  rig.view.openDialogAnswers.push_back(file);
  rig.logic.acOpenExecute();
  EXPECT_EQ(rig.view.openDialogCalls[0].initialDir, dir.path());
  EXPECT_EQ(rig.view.openDialogCalls[0].filterIndex, 0);  // the index last chosen stays
  EXPECT_EQ(rig.view.controls.Text("cb_tl"), "1");
  EXPECT_EQ(rig.view.controls.Text("cb_re"), "40");
  EXPECT_EQ(rig.view.StatusText(2), " Read: " + file);
}

TEST(ParamActions, FailedSaveShowsTheErrorAndKeepsTheStatus) {
  QTemporaryDir dir;
  MeterRig rig(Dorvane, false);
  rig.logic.SetStatusText(2, " Get Parameter ok");
  const QString file = dir.filePath("missing/set.txt");
  rig.view.saveDialogAnswers.push_back(file);
  rig.logic.acSaveExecute();
  EXPECT_EQ(rig.view.errors, QStringList{"In " + file + " kann nicht geschrieben werden"});
  EXPECT_EQ(rig.view.StatusText(2), " Get Parameter ok");
}

TEST(ParamActions, ExportAndImportUseTheMemoAndTheClipboard) {
  MeterRig rig(KESTO_ZAREL, false);
  rig.logic.Model<TZAREL>().SetStandard();
  rig.logic.acExportExecute();
  EXPECT_TRUE(rig.view.clipboard.startsWith("SA=1\r\nMF=0\r\n"));
  EXPECT_EQ(rig.view.memo1, rig.view.clipboard);
  EXPECT_EQ(rig.view.StatusText(2), " Export to Clipboard");

  rig.view.clipboard = "as=df;dt\r\nSA=7";
  rig.logic.acImportExecute();
  EXPECT_EQ(rig.view.memo1, rig.view.clipboard);
  EXPECT_EQ(rig.view.controls.Text("cb_as_4"), "DF;DT");
  EXPECT_EQ(rig.view.controls.Text("cb_sa_4"), "7");
  EXPECT_EQ(rig.view.controls.Text("cb_mf_4"), QString());
  EXPECT_EQ(rig.view.StatusText(2), " Import from Clipboard");
}
