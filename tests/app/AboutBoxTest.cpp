// The about box: the version line and texts from version data, the links
// through a handler of the test's own, and the credits switched by double
// clicks and by closing the box.
#include <gtest/gtest.h>

#include "app/QtPrinters.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "app/AboutBox.h"
#include "app/VersionResource.h"
#include "components/SecretPanel.h"
#include "components/ThreadedTimer.h"
#include "serial_ui/ComboDriver.h"

namespace {

TVersionResource Resource(std::initializer_list<std::uint16_t> version) {
  TVersionResource r;
  std::copy(version.begin(), version.end(), r.fileVersion);
  r.translations = {{0x0409, 0x04B0}};
  r.stringTables = {{"040904B0", {{"ProductName", "Telquin"}, {"LegalCopyright", "Notice"}}}};
  return r;
}

// An about box whose links land in `opened`.
struct Box {
  TVersionResource resource = Resource({2, 1, 0, 37});
  TAboutBox box{nullptr, &resource};
  QList<QUrl> opened;
  Box() {
    box.OnOpenUrl = [this](const QUrl& u) {
      opened << u;
      return true;
    };
  }
};

TEST(AboutBox, VersionLineAndTextsFromTheVersionData) {
  Box b;
  EXPECT_EQ(b.box.windowTitle(), "Info");
  EXPECT_EQ(b.box.lb_Version->text(), "Version 2.1 (37)");
  EXPECT_EQ(b.box.ProductName->text(), "Telquin");
  EXPECT_EQ(b.box.lb_Copyright->text(), "Notice");
  EXPECT_EQ(TAboutBox::CreditLines().size(), 15);
  EXPECT_EQ(b.box.SecretPanel1->Lines(), TAboutBox::CreditLines());
  EXPECT_EQ(b.box.SecretPanel1->Interval(), 40u);
  EXPECT_EQ(b.box.SecretPanel1->GlyphLayout(), glGlyphTop);
  EXPECT_EQ(b.box.SecretPanel1->TextStyle(), bvRaised);
  // The release number is not shown.
  TVersionResource other = Resource({3, 0, 9, 1});
  TAboutBox box(nullptr, &other);
  EXPECT_EQ(box.lb_Version->text(), "Version 3.0 (1)");
}

TEST(AboutBox, ShowSetsTheContactDataAndTheLinksOpenThroughTheHandler) {
  Box b;
  b.box.show();
  EXPECT_TRUE(b.box.lb_adr->text().contains("\nPhone:\t"));
  EXPECT_TRUE(b.box.lb_adr->text().contains("\nFax:\t"));
  EXPECT_EQ(b.box.lb_email->text(), "info@example.org");
  EXPECT_EQ(b.box.lb_web->text(), "www.example.org");

  QTest::mouseMove(b.box.lb_email, QPoint(2, 2));
  EXPECT_EQ(b.box.lb_email->cursor().shape(), Qt::PointingHandCursor);
  QTest::mouseClick(b.box.lb_email, Qt::LeftButton, {}, QPoint(2, 2));
  QTest::mouseClick(b.box.lb_web, Qt::LeftButton, {}, QPoint(2, 2));
  QTest::mouseClick(b.box.Label1, Qt::LeftButton, {}, QPoint(2, 2));  // no link
  EXPECT_EQ(b.opened, QList<QUrl>({QUrl("mailto:info@example.org"), QUrl("http://www.example.org")}));
  b.box.hide();
}

TEST(AboutBox, DoubleClicksSwitchTheCreditsAndClosingStopsThem) {
  Box b;
  b.box.SecretPanel1->SetInterval(3600 * 1000);  // steps only by hand here
  TSecretPanel* panel = b.box.SecretPanel1;
  WhenShown<TAboutBox>([&](TAboutBox& box) {
    QTest::mouseDClick(panel, Qt::LeftButton, {}, QPoint(200, 150));
    EXPECT_TRUE(panel->Active());
    EXPECT_EQ(panel->font().pointSize(), 8);
    EXPECT_TRUE(box.lb_Version->isHidden());
    QTest::mouseDClick(panel, Qt::LeftButton, {}, QPoint(200, 150));
    EXPECT_FALSE(panel->Active());
    EXPECT_FALSE(box.lb_Version->isHidden());
    EXPECT_FALSE(box.Image1->isHidden());

    QTest::mouseDClick(panel, Qt::LeftButton, {}, QPoint(200, 150));
    EXPECT_TRUE(panel->Active());
    box.Button1->click();
  });
  b.box.ShowModal();
  EXPECT_EQ(b.box.result(), QDialog::Accepted);
  EXPECT_FALSE(panel->Active());
  EXPECT_FALSE(panel->Timer().Enabled());
  EXPECT_FALSE(b.box.lb_email->isHidden());
}

}  // namespace
