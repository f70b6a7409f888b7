#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/Registry.h"
#include "support/QtPrinters.h"

namespace {

TEST(Registry, StringsAndIntegersAreKeptApartAndSurviveANewObject) {
  QTemporaryDir dir;
  const QString previous = platform::Registry::StorageRoot();
  platform::Registry::SetStorageRoot(dir.path());
  {
    platform::Registry reg;
    EXPECT_FALSE(reg.OpenKey(QStringLiteral("Software\\Telquin\\Device"), false));
    ASSERT_TRUE(reg.OpenKey(QStringLiteral("Software\\Telquin\\Device"), true));
    EXPECT_TRUE(reg.WriteInteger(QStringLiteral("Type"), 3));
    EXPECT_TRUE(reg.WriteString(QStringLiteral("Name"), QStringLiteral("0,5 \"x\"")));
    EXPECT_TRUE(reg.WriteString(QStringLiteral("Number"), QStringLiteral("42")));
  }
  EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("CurrentUser.ini"))));
  platform::Registry reg;
  ASSERT_TRUE(reg.OpenKey(QStringLiteral("\\Software\\Telquin\\Device\\"), false));
  EXPECT_EQ(reg.ReadInteger(QStringLiteral("Type")), 3);
  EXPECT_EQ(reg.ReadString(QStringLiteral("Type")), QString());
  EXPECT_EQ(reg.ReadString(QStringLiteral("Name")), QStringLiteral("0,5 \"x\""));
  EXPECT_EQ(reg.ReadInteger(QStringLiteral("Number")), std::nullopt);  // a string value
  EXPECT_EQ(reg.ReadInteger(QStringLiteral("Missing")), std::nullopt);
  EXPECT_EQ(reg.ReadString(QStringLiteral("Missing")), QString());
  // A key created without values still exists; a relative name opens below
  // the current key.
  ASSERT_TRUE(reg.OpenKey(QStringLiteral("Sub"), true));
  EXPECT_EQ(reg.CurrentPath(), QStringLiteral("Software\\Telquin\\Device\\Sub"));
  reg.CloseKey();
  ASSERT_TRUE(reg.OpenKey(QStringLiteral("Software\\Telquin\\Empty"), true));
  reg.CloseKey();
  EXPECT_TRUE(reg.KeyExists(QStringLiteral("Software\\Telquin\\Empty")));
  EXPECT_FALSE(platform::Registry(platform::Registry::LocalMachine)
                   .KeyExists(QStringLiteral("Software\\Telquin\\Device")));
  EXPECT_FALSE(reg.WriteString(QStringLiteral("Closed"), QStringLiteral("no key open")));
  platform::Registry::SetStorageRoot(previous);
}

TEST(Registry, TheTestProcessNeverUsesTheRealConfigFolder) {
  EXPECT_TRUE(platform::Registry::StorageRoot().startsWith(QDir::tempPath()) ||
              platform::Registry::StorageRoot().contains(QStringLiteral("/tmp")));
}

}  // namespace
