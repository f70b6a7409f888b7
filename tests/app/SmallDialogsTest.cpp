// The simulation setup and baud rate dialogs: what they take on OK, what
// they refuse, and that Cancel keeps the previous values.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>

#include "app/ChangeBdDlg.h"
#include "app/SimuSetupDlg.h"
#include "serial_ui/ComboDriver.h"

namespace {

// Runs a test body in a locale whose decimal separator is ',' and whose
// group separator is '.', where careless formatting shows.
struct GermanLocale {
  QLocale old;
  GermanLocale() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
  ~GermanLocale() { QLocale::setDefault(old); }
};

TEST(SimuSetup, OKTakesDistancesInRangeAndShowsTheStoredOne) {
  GermanLocale german;
  TSimuSetupDlg dlg;
  struct Step {
    const char* typed;
    double taken;
    const char* shown;
  } steps[] = {
      {"12,5", 12.5, "12,5"},   // the user's comma
      {"4000", 12.5, "12,5"},   // refused: the previous distance again
      {"abc", 5.0, "5"},        // no number
      {"", 5.0, "5"},
      {"-1", 5.0, "5"},
      {"0", 0.0, "0"},
      {" 7.25 ", 7.25, "7,25"},
      {"3000", 3000.0, "3000"},  // no group separator: it would read back as 3
      {"3000", 3000.0, "3000"},
      {"3000,001", 3000.0, "3000"},
      {"1e3", 1000.0, "1000"},
  };
  for (const Step& s : steps) {
    dlg.ed_dist->setText(QString::fromUtf8(s.typed));
    dlg.BtnOK->click();
    EXPECT_DOUBLE_EQ(dlg.SimuDist(), s.taken) << s.typed;
    EXPECT_EQ(dlg.ed_dist->text(), QString::fromUtf8(s.shown)) << s.typed;
  }
}

TEST(SimuSetup, RampBoxGreysTheDistanceAndCancelKeepsBoth) {
  TSimuSetupDlg dlg;
  EXPECT_DOUBLE_EQ(dlg.SimuDist(), 5.0);
  EXPECT_FALSE(dlg.AutoDist());
  WhenShown<TSimuSetupDlg>([](TSimuSetupDlg& d) {
    EXPECT_EQ(d.windowTitle(), "Simulate Distance");
    EXPECT_EQ(d.ed_dist->text(), "5");
    d.cb_autodist->click();
    EXPECT_FALSE(d.ed_dist->isEnabled());
    d.ed_dist->setText(QStringLiteral("12"));
    d.BtnOK->click();
  });
  dlg.ShowModal();
  EXPECT_TRUE(dlg.AutoDist());
  EXPECT_DOUBLE_EQ(dlg.SimuDist(), 12.0);

  WhenShown<TSimuSetupDlg>([](TSimuSetupDlg& d) {
    d.cb_autodist->click();
    EXPECT_TRUE(d.ed_dist->isEnabled());
    d.ed_dist->setText(QStringLiteral("99"));
    d.Button2->click();
  });
  dlg.ShowModal();
  EXPECT_TRUE(dlg.AutoDist());
  EXPECT_DOUBLE_EQ(dlg.SimuDist(), 12.0);
}

QStringList Items(const QComboBox& box) {
  QStringList items;
  for (int i = 0; i < box.count(); ++i) items << box.itemText(i);
  return items;
}

TEST(ChangeBaud, ListsTheModelsRatesWithTheOldOneSelected) {
  TChangeBdDlg dlg;
  WhenShown<TChangeBdDlg>([](TChangeBdDlg& d) {
    EXPECT_EQ(d.windowTitle(), "Change Baud Rate");
    EXPECT_EQ(Items(*d.cb_baudr),
              QStringList({"9600", "19200", "115200", "230400", "460800", "921600"}));
    EXPECT_EQ(d.cb_baudr->currentText(), "115200");
    d.Button1->click();
  });
  EXPECT_EQ(dlg.Enter(Tavri, br115200), 1);
  EXPECT_EQ(dlg.OldBaudrate(), br115200);
  EXPECT_EQ(dlg.NewBaudrate(), br115200);

  // A rate the list lacks: nothing selected, and OK gives 9600.
  WhenShown<TChangeBdDlg>([](TChangeBdDlg& d) {
    EXPECT_EQ(d.cb_baudr->currentIndex(), -1);
    d.Button1->click();
  });
  EXPECT_EQ(dlg.Enter(Tavri, br4800), 1);
  EXPECT_EQ(dlg.OldBaudrate(), br4800);
  EXPECT_EQ(dlg.NewBaudrate(), br9600);

  WhenShown<TChangeBdDlg>([](TChangeBdDlg& d) {
    EXPECT_EQ(d.cb_baudr->count(), 0);
    d.Button2->click();
  });
  EXPECT_EQ(dlg.Enter(Dorvane, br9600), 2);
}

TEST(ChangeBaud, APickIsTakenOnOKAndCancelKeepsTheLastOne) {
  TChangeBdDlg dlg;
  WhenShown<TChangeBdDlg>([](TChangeBdDlg& d) {
    EXPECT_EQ(Items(*d.cb_baudr), QStringList({"2400", "4800", "9600", "19200", "38400"}));
    Pick(*d.cb_baudr, QStringLiteral("38400"));
    d.Button1->click();
  });
  EXPECT_EQ(dlg.Enter(Pavon, br9600), 1);
  EXPECT_EQ(dlg.NewBaudrate(), br38400);

  WhenShown<TChangeBdDlg>([](TChangeBdDlg& d) {
    EXPECT_EQ(d.cb_baudr->currentText(), "230400");
    Pick(*d.cb_baudr, QStringLiteral("9600"));
    d.Button2->click();
  });
  EXPECT_EQ(dlg.Enter(KESTO_ZAREL, br230400), 2);
  EXPECT_EQ(dlg.OldBaudrate(), br230400);
  EXPECT_EQ(dlg.NewBaudrate(), br38400);
}

}  // namespace
