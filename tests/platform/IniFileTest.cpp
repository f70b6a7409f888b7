#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "platform/IniFile.h"
#include "support/QtPrinters.h"

namespace {

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& data) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(data);
}

TEST(IniFile, WritesBehaveLikeTheProfileFunctions) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("p.ini"));
  platform::IniFile ini(path);
  EXPECT_TRUE(ini.WriteString(QStringLiteral("Parameter"), QStringLiteral("SA"), QStringLiteral("0,5")));
  EXPECT_TRUE(ini.WriteString(QStringLiteral("Parameter"), QStringLiteral("TD"), QStringLiteral("1 2 3")));
  EXPECT_TRUE(ini.WriteString(QStringLiteral("Other"), QStringLiteral("X"), QStringLiteral("\"q\"")));
  // An existing key keeps its place (and its spelling); a new one goes to the
  // end of its own section.
  EXPECT_TRUE(ini.WriteString(QStringLiteral("parameter"), QStringLiteral("sa"), QStringLiteral("7")));
  EXPECT_TRUE(ini.WriteString(QStringLiteral("Parameter"), QStringLiteral("AB"), QString()));
  EXPECT_EQ(ReadAll(path), QByteArray("[Parameter]\r\nSA=7\r\nTD=1 2 3\r\nAB=\r\n"
                                      "[Other]\r\nX=\"q\"\r\n"));
  EXPECT_EQ(ini.ReadSection(QStringLiteral("PARAMETER")), (QStringList{"SA", "TD", "AB"}));
  EXPECT_EQ(ini.ReadSections(), (QStringList{"Parameter", "Other"}));
}

TEST(IniFile, ReadsMatchWithoutCaseAndTrimQuotesAndLength) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("p.ini"));
  QByteArray data = "; comment\n[ Parameter ]\n SA =  0.5  \nQ1='quoted'\nQ2=\"mixed'\n"
                    "Q3=\" kept \"\nEmpty=\nLong=";
  data += QByteArray(3000, 'x') + "\r\n[Next]\r\nSA=other\r\n";
  WriteAll(path, data);
  platform::IniFile ini(path);
  const QString d = QStringLiteral("default");
  EXPECT_EQ(ini.ReadString(QStringLiteral("parameter"), QStringLiteral("sa"), d), QStringLiteral("0.5"));
  EXPECT_EQ(ini.ReadString(QStringLiteral("Parameter"), QStringLiteral("Q1"), d), QStringLiteral("quoted"));
  EXPECT_EQ(ini.ReadString(QStringLiteral("Parameter"), QStringLiteral("Q2"), d), QStringLiteral("\"mixed'"));
  EXPECT_EQ(ini.ReadString(QStringLiteral("Parameter"), QStringLiteral("Q3"), d), QStringLiteral(" kept "));
  EXPECT_EQ(ini.ReadString(QStringLiteral("Parameter"), QStringLiteral("Empty"), d), QString());
  EXPECT_EQ(ini.ReadString(QStringLiteral("Parameter"), QStringLiteral("Long"), d).size(), 2047);
  EXPECT_EQ(ini.ReadString(QStringLiteral("Parameter"), QStringLiteral("Missing"), d), d);
  EXPECT_EQ(ini.ReadString(QStringLiteral("Nope"), QStringLiteral("SA"), d), d);
  EXPECT_EQ(ini.ReadString(QStringLiteral("Next"), QStringLiteral("SA"), d), QStringLiteral("other"));
  EXPECT_EQ(ini.ReadInteger(QStringLiteral("Parameter"), QStringLiteral("SA"), 9), 9);
  platform::IniFile missing(dir.filePath(QStringLiteral("none.ini")));
  EXPECT_EQ(missing.ReadString(QStringLiteral("A"), QStringLiteral("B"), d), d);
  EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("none.ini"))));
}

TEST(IniFile, BatchedWritesGoOutInOneGoAndFailuresLeaveTheOldFile) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("p.ini"));
  WriteAll(path, "[Parameter]\r\nSA=old\r\n");
  platform::IniFile ini(path);
  ini.BeginUpdate();
  ini.WriteString(QStringLiteral("Parameter"), QStringLiteral("SA"), QStringLiteral("new"));
  ini.WriteInteger(QStringLiteral("Parameter"), QStringLiteral("N"), -3);
  EXPECT_EQ(ReadAll(path), QByteArray("[Parameter]\r\nSA=old\r\n"));  // not yet
  EXPECT_FALSE(ini.SaveTo(dir.filePath(QStringLiteral("no/such/dir.ini"))));
  EXPECT_TRUE(ini.SaveTo(dir.filePath(QStringLiteral("copy.ini"))));
  EXPECT_EQ(ReadAll(dir.filePath(QStringLiteral("copy.ini"))),
            QByteArray("[Parameter]\r\nSA=new\r\nN=-3\r\n"));
  EXPECT_TRUE(ini.EndUpdate());
  EXPECT_EQ(ReadAll(path), QByteArray("[Parameter]\r\nSA=new\r\nN=-3\r\n"));

  platform::IniFile nowhere(dir.filePath(QStringLiteral("no/such/dir.ini")));
  EXPECT_FALSE(nowhere.WriteString(QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")));
}

}  // namespace
