// Version information: the texts and numbers of version data, the
// translation identifier, data without a translation or without any data,
// and the program's own data.
#include <gtest/gtest.h>

#include "app/QtPrinters.h"

#include "app/VersionInfo.h"
#include "app/VersionResource.h"

namespace {

// File version 2.1.0.37 with a table of texts under 040904B0; whether the
// translation entry is there is up to the test.
TVersionResource Resource2_1_0_37(bool withTranslation) {
  TVersionResource r;
  const std::uint16_t v[4] = {2, 1, 0, 37};
  for (int i = 0; i < 4; ++i) r.fileVersion[i] = r.productVersion[i] = v[i];
  r.fileFlags = 2 | 32;  // pre-release, special build
  if (withTranslation) r.translations = {{0x0409, 0x04B0}, {0x0407, 0x04E4}};
  r.stringTables = {{QStringLiteral("040904B0"),
                     {{"CompanyName", "Company"},
                      {"FileDescription", "Description"},
                      {"FileVersion", "2.1.0.37"},
                      {"InternalName", "internal"},
                      {"LegalCopyright", "Notice"},
                      {"LegalTrademarks", ""},
                      {"OriginalFilename", "original.exe"},
                      {"ProductName", "Product"},
                      {"ProductVersion", "2.1"}}}};
  return r;
}

QStringList Strings(const TVersionInfo& v) {
  QStringList all;
  for (int i = 1; i <= 10; ++i) all << v.GetString(i);
  return all;
}

TEST(VersionInfo, TextsNumbersAndFlagsOfTheFirstTranslation) {
  const TVersionResource r = Resource2_1_0_37(true);
  const TVersionInfo v(nullptr, &r);
  EXPECT_EQ(v.LangIDStr(), "040904B0");
  EXPECT_EQ(v.Language(), "English (United States)");
  EXPECT_EQ(Strings(v), QStringList({"Company", "Description", "2.1.0.37", "internal", "Notice", "",
                                     "original.exe", "Product", "2.1", ""}));
  EXPECT_EQ(v.OriginalFileName(), "original.exe");  // the key is spelled "OriginalFilename"
  EXPECT_EQ(v.MajorVersion(), 2);
  EXPECT_EQ(v.MinorVersion(), 1);
  EXPECT_EQ(v.ReleaseVersion(), 0);
  EXPECT_EQ(v.Build(), 37);
  const bool flags[] = {v.DebugBuild(), v.PreRelease(),   v.Patched(),
                        v.PrivateBuild(), v.InfoInferred(), v.SpecialBuild()};
  const bool expected[] = {false, true, false, false, false, true};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(flags[i], expected[i]) << "flag " << i;
  EXPECT_FALSE(v.FileName().isEmpty());
}

TEST(VersionInfo, NoTranslationGivesEightZerosAndEmptyTexts) {
  const TVersionResource r = Resource2_1_0_37(false);
  const TVersionInfo v(nullptr, &r);
  EXPECT_EQ(v.LangIDStr(), "00000000");
  EXPECT_EQ(v.Language(), "Language Neutral");
  EXPECT_EQ(Strings(v), QStringList(10, QString()));
  EXPECT_EQ(v.MajorVersion(), 2);
  EXPECT_EQ(v.Build(), 37);
}

TEST(VersionInfo, NoVersionDataSaysSoAndAnswersZerosAndEmptyTexts) {
  QStringList messages;
  const TVersionInfo v(nullptr, nullptr, [&](const QString& m) { messages << m; });
  EXPECT_EQ(messages, QStringList{"GetFileVersionInfoSize error #:1813"});
  EXPECT_EQ(Strings(v), QStringList(10, QString()));
  EXPECT_EQ(v.Language(), "");
  for (int i = 0; i < 4; ++i) EXPECT_EQ(v.GetVersion(i), 0);
  for (int i = 0; i < 6; ++i) EXPECT_FALSE(v.GetFlag(i));
}

TEST(VersionInfo, TheProgramsOwnDataAgreesWithItself) {
  const TVersionInfo v;
  EXPECT_EQ(v.ProductName(), "Telquin");
  EXPECT_EQ(v.LangIDStr(), "040904B0");
  EXPECT_EQ(v.FileVersion(), QStringLiteral("%1.%2.%3.%4")
                                 .arg(v.MajorVersion())
                                 .arg(v.MinorVersion())
                                 .arg(v.ReleaseVersion())
                                 .arg(v.Build()));
  EXPECT_TRUE(v.LegalCopyright().contains("The Telquin developers"));
}

}  // namespace
