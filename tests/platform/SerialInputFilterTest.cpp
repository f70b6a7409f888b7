#include <gtest/gtest.h>

#include <QByteArray>

#include "platform/CodePage.h"
#include "platform/SerialInputFilter.h"
#include "support/QtPrinters.h"

namespace {

QByteArray Filtered(platform::SerialInputFilter& f, QByteArray in, bool* flag = nullptr) {
  bool saw = false;
  const int n = f.Filter(in.data(), static_cast<int>(in.size()), &saw);
  if (flag) *flag = saw;
  return in.left(n);
}

TEST(SerialInputFilter, MarkedErrorsBecomeTheErrorCharAcrossReads) {
  platform::SerialInputFilter f;
  f.Configure(true, '?', false, '\n');
  bool flag = false;
  EXPECT_EQ(Filtered(f, QByteArray("a\xFF\x00x b\xFF\xFF", 8), &flag), QByteArray("a? b\xFF"));
  EXPECT_FALSE(flag);
  // A mark split over two reads.
  EXPECT_EQ(Filtered(f, QByteArray("c\xFF", 2)), QByteArray("c"));
  EXPECT_EQ(Filtered(f, QByteArray("\x00", 1)), QByteArray());
  EXPECT_EQ(Filtered(f, QByteArray("zd\n", 3), &flag), QByteArray("?d\n"));
  EXPECT_TRUE(flag);
}

TEST(SerialInputFilter, NulBytesAreDroppedOnlyWhenAsked) {
  platform::SerialInputFilter f;
  f.Configure(false, 0, false, 'x');
  bool flag = true;
  EXPECT_EQ(Filtered(f, QByteArray("a\0b", 3), &flag), QByteArray("a\0b", 3));
  EXPECT_FALSE(flag);
  f.Configure(false, 0, true, 'b');
  EXPECT_EQ(Filtered(f, QByteArray("\0a\0b\0", 5), &flag), QByteArray("ab"));
  EXPECT_TRUE(flag);
}

TEST(CodePage, ConvertsInBothDirections) {
  using platform::CodePage;
  EXPECT_EQ(CodePage::FromUnicode(1252, QStringLiteral("\u20AC\u00E9")), QByteArray("\x80\xE9"));
  EXPECT_EQ(CodePage::ToUnicode(1252, QByteArray("\x80\xE9")), QStringLiteral("\u20AC\u00E9"));
  EXPECT_EQ(CodePage::FromUnicode(20127, QStringLiteral("a\u00E9b")), QByteArray("a?b"));
  EXPECT_EQ(CodePage::FromUnicode(0, QStringLiteral("\u00E9")), QByteArray("\xC3\xA9"));
  EXPECT_EQ(CodePage::ToUnicode(28591, QByteArray("\xE9")), QStringLiteral("\u00E9"));
  bool ok = true;
  EXPECT_TRUE(CodePage::FromUnicode(4242, QStringLiteral("x"), &ok).isEmpty());
  EXPECT_FALSE(ok);
}

}  // namespace
