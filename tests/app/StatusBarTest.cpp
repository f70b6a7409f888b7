// The status bar under a streaming meter: panel 1 gets a new text for every
// received line, the screen only the last text of each frame.
#include <gtest/gtest.h>

#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QTest>

#include "app/StatusBar.h"
#include "platform/FrameRequest.h"
#include "support/EventLoop.h"

namespace {

// Counts paints per watched widget and layout requests anywhere in the bar.
class BarWatch : public QObject {
 public:
  explicit BarWatch(TStatusBar& bar) : FBar(bar) { qApp->installEventFilter(this); }
  ~BarWatch() override { qApp->removeEventFilter(this); }
  int paints[TStatusBar::PanelCount] = {};
  int layouts = 0;

 protected:
  bool eventFilter(QObject* o, QEvent* e) override {
    if (!o->isWidgetType()) return false;
    auto* w = static_cast<QWidget*>(o);
    if (e->type() == QEvent::LayoutRequest && (w == &FBar || FBar.isAncestorOf(w))) ++layouts;
    if (e->type() == QEvent::Paint)
      for (int i = 0; i < TStatusBar::PanelCount; ++i)
        if (w == FBar.Panel(i)) ++paints[i];
    return false;
  }

 private:
  TStatusBar& FBar;
};

QImage Shot(QWidget* w) { return w->grab().toImage(); }

TEST(StatusBar, ManyTextsInOneFrameShowTheLastWithOneRepaintAndNoLayout) {
  TStatusBar bar;
  bar.resize(400, bar.sizeHint().height());
  bar.SetPanelText(0, " COM1:9600,8,None,1,None");
  bar.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
  PumpFor(3 * platform::FrameRequest::FrameMs);

  BarWatch watch(bar);
  for (int i = 1; i <= 1000; ++i) bar.SetPanelText(1, QString::asprintf("%.4d", i));
  EXPECT_EQ(bar.PanelText(1), "1000") << "the text is there at once, only the screen waits";
  ASSERT_TRUE(PumpUntil([&] { return watch.paints[1] > 0; }));
  PumpFor(3 * platform::FrameRequest::FrameMs);
  EXPECT_EQ(watch.paints[1], 1);
  EXPECT_EQ(watch.paints[0], 0) << "a panel whose text did not change is not repainted";
  EXPECT_EQ(watch.layouts, 0) << "fixed-width panels do not lay out the bar";

  // The same text again changes nothing at all; a new operation text repaints
  // only its own panel.
  bar.SetPanelText(1, "1000");
  bar.SetPanelText(2, " Get Parameter ok");
  ASSERT_TRUE(PumpUntil([&] { return watch.paints[2] > 0; }));
  PumpFor(3 * platform::FrameRequest::FrameMs);
  EXPECT_EQ(watch.paints[1], 1);
  EXPECT_EQ(watch.paints[0], 0);
  EXPECT_EQ(watch.layouts, 0);

  // The panel draws the text it holds, like a bar given that text directly
  // (grabbing paints again, so it comes last).
  TStatusBar same;
  same.resize(bar.size());
  same.SetPanelText(0, bar.PanelText(0));
  same.SetPanelText(1, "1000");
  EXPECT_EQ(Shot(bar.Panel(1)), Shot(same.Panel(1)));
  same.SetPanelText(1, "0999");
  EXPECT_NE(Shot(bar.Panel(1)), Shot(same.Panel(1)));
}

}  // namespace
