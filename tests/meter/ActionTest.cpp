// The action name table: every action has one name, and text that names no
// action is refused instead of being passed on.
#include <gtest/gtest.h>

#include "meter/Action.h"
#include "support/ActionPrinter.h"

TEST(Action, EveryNameLeadsBackToItsAction) {
  for (int i = 0; i < ActionCount; ++i) {
    const auto a = static_cast<TAction>(i);
    const QString name = ActionName(a);
    EXPECT_TRUE(name.startsWith(QLatin1String("ac"))) << name.toStdString();
    EXPECT_EQ(ActionNamed(name), a) << name.toStdString();
  }
  EXPECT_EQ(ActionName(TAction::acGetParameter), QLatin1String("acGetParameter"));
  EXPECT_EQ(ActionNamed(QStringLiteral("acOpenPort")), TAction::acOpenPort);
}

TEST(Action, AnUnknownNameOrValueFailsLoudly) {
  // Near misses too: a case slip, a caption, the window's menu item Test1.
  for (const char* name : {"", "acdt", "acDT ", "Open Port", "Test1", "acNoSuchAction"})
    EXPECT_THROW(ActionNamed(QString::fromLatin1(name)), EUnknownAction) << name;
  EXPECT_THROW(ActionName(static_cast<TAction>(ActionCount)), EUnknownAction);
  EXPECT_STREQ(EUnknownAction(static_cast<TAction>(200)).what(), "unknown action #200");
  EXPECT_STREQ(EUnknownAction(TAction::acOpenPort).what(), "unknown action acOpenPort");
  try {
    ActionNamed(QStringLiteral("acGetParameters"));
    FAIL();
  } catch (const EUnknownAction& e) {
    EXPECT_STREQ(e.what(), "unknown action acGetParameters");
  }
}
