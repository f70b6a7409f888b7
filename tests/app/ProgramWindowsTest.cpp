// Start-up: the program's windows are created in their fixed order, and the
// about box is reached through "Program Info".
#include <gtest/gtest.h>

#include "app/QtPrinters.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>

#include "app/AboutBox.h"
#include "app/MainForm.h"
#include "app/ProgramWindows.h"
#include "serial_ui/ComboDriver.h"

namespace {

TEST(ProgramWindows, CreatedInTheirFixedOrder) {
  TProgramWindows windows;
  EXPECT_EQ(windows.CreationLog(),
            QStringList({"TMainForm", "TAboutBox", "TGraphicSetupForm", "TComSetupForm",
                         "TSignalLevelDlg", "TDirectorySetupDlg", "TChangeBdDlg", "TSimuSetupDlg"}));
  // The about box's creation handler ran when it was made.
  EXPECT_TRUE(windows.AboutBox().lb_Version->text().startsWith("Version "));
}

TEST(ProgramWindows, ProgramInfoShowsTheAboutBox) {
  TProgramWindows windows;
  bool shown = false;
  WhenShown<TAboutBox>([&](TAboutBox& box) {
    shown = true;
    box.Button1->click();
  });
  windows.MainForm().Action(TAction::acInfo)->trigger();
  EXPECT_TRUE(shown);
}

}  // namespace
