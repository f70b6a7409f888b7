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

TEST(IniFile, LenientRulesReadHandEditedText) {
  const QByteArray data = "\xEF\xBB\xBF[ Parameter ]\rSD=bin\xC3\xA4r\r\n"
                          "\xC2\xA0SA\xC2\xA0=\x0B" "5\x0C\nTD\nTD=1\n[Next]\r";
  const QString p = QStringLiteral("Parameter");
  const platform::IniFile lenient = platform::IniFile::FromData(
      data, {.utf8 = true, .anyLineEnd = true, .trimAnySpace = true, .bareKeys = true});
  EXPECT_EQ(lenient.ReadSections(), (QStringList{"Parameter", "Next"}));
  EXPECT_EQ(lenient.ReadString(p, QStringLiteral("sd"), QString()), QString::fromUtf8("bin\u00E4r"));
  EXPECT_EQ(lenient.ReadString(p, QStringLiteral("SA"), QString()), QStringLiteral("5"));
  // A bare name is a key of its own, so the later TD=1 is not seen.
  EXPECT_EQ(lenient.ReadString(p, QStringLiteral("TD"), QStringLiteral("d")), QString());
  EXPECT_EQ(lenient.Content(), "[ Parameter ]\r\nSD=bin\xC3\xA4r\r\n\xC2\xA0SA\xC2\xA0=\x0B"
                               "5\x0C\r\nTD\r\nTD=1\r\n[Next]\r\n");
  // Not valid UTF-8: every byte is its own character.
  const platform::IniFile latin1 = platform::IniFile::FromData("[A]\nK=bin\xE4r\n", {.utf8 = true});
  EXPECT_EQ(latin1.ReadString(QStringLiteral("A"), QStringLiteral("K"), QString()),
            QString::fromUtf8("bin\u00E4r"));

  // By the profile functions' rules the byte order mark and the lone CR are
  // text, so the first line is no section header.
  EXPECT_EQ(platform::IniFile::FromData(data, {}).ReadSections(), QStringList{"Next"});
}

}  // namespace
