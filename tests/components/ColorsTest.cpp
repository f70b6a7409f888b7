#include <gtest/gtest.h>

#include <QPalette>

#include "components/Colors.h"

namespace {

TEST(Colors, PlainColoursHaveRedInTheLowByte) {
  EXPECT_EQ(ColorToQColor(clRed), QColor(255, 0, 0));
  EXPECT_EQ(ColorToQColor(clYellow), QColor(255, 255, 0));
  EXPECT_EQ(ColorToQColor(clMaroon), QColor(128, 0, 0));
  EXPECT_EQ(ColorToQColor(0xA6A6A6), QColor(0xA6, 0xA6, 0xA6));
  EXPECT_EQ(ColorToQColor(RGBColor(1, 2, 3)), QColor(1, 2, 3));
  EXPECT_EQ(QColorToColor(QColor(0x12, 0x34, 0x56)), 0x563412);
}

TEST(Colors, SystemColoursFollowThePalette) {
  QPalette pal;
  pal.setColor(QPalette::Dark, QColor(1, 1, 1));
  pal.setColor(QPalette::Midlight, QColor(2, 2, 2));
  pal.setColor(QPalette::Window, QColor(3, 3, 3));
  pal.setColor(QPalette::ToolTipBase, QColor(4, 4, 4));
  pal.setColor(QPalette::Light, QColor(5, 5, 5));
  EXPECT_TRUE(IsSystemColor(clBtnShadow));
  EXPECT_FALSE(IsSystemColor(clWhite));
  EXPECT_EQ(ColorToQColor(clBtnShadow, pal), QColor(1, 1, 1));
  EXPECT_EQ(ColorToQColor(cl3DLight, pal), QColor(2, 2, 2));
  EXPECT_EQ(ColorToQColor(clBtnFace, pal), QColor(3, 3, 3));
  EXPECT_EQ(ColorToQColor(clInfoBk, pal), QColor(4, 4, 4));
  EXPECT_EQ(ColorToQColor(clBtnHighlight, pal), QColor(5, 5, 5));
  EXPECT_EQ(ColorToQColor(clNone, pal).alpha(), 0);
}

}  // namespace
