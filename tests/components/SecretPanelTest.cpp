// The scrolling panel: where text and picture go, where the text stands
// after each step, the child controls it hides, and its ticks on the
// timer's worker racing with the GUI thread.
#include <gtest/gtest.h>

#include <QFont>
#include <QLabel>
#include <QPainter>
#include <mutex>
#include <thread>

#include "components/Colors.h"
#include "components/SecretPanel.h"
#include "components/ThreadedTimer.h"
#include "components/TimerThread.h"
#include "support/EventLoop.h"

namespace {

constexpr std::uint32_t kHour = 3600 * 1000;

QRect Edges(int l, int t, int r, int b) { return QRect(l, t, r - l, b - t); }

// A panel whose timer never fires by itself: the test steps it.
struct SteppedPanel {
  TSecretPanel panel;
  explicit SteppedPanel(QSize size, QStringList lines = {"Ab", "Cd"}) {
    panel.setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    panel.resize(size);
    panel.SetLines(lines);
    panel.SetInterval(kHour);
  }
  void Step(int n = 1) {
    for (int i = 0; i < n; ++i) panel.TimerExpired();
  }
  // The text area as the panel shows it.
  QImage TextArea() {
    return panel.grab().toImage().convertToFormat(QImage::Format_RGB32).copy(panel.TxtRect());
  }
};

QRgb Face(const QWidget& w) { return ColorToQColor(clBtnFace, w.palette()).rgb(); }

// First and last rows and columns holding anything but the background; -1
// for none.
struct Ink {
  int top = -1, bottom = -1, left = -1, right = -1;
  bool any() const { return top >= 0; }
};
Ink FindInk(const QImage& img, QRgb background) {
  Ink ink;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) {
      if ((img.pixel(x, y) | 0xFF000000u) == (background | 0xFF000000u)) continue;
      if (ink.top < 0) ink.top = y;
      ink.bottom = y;
      if (ink.left < 0 || x < ink.left) ink.left = x;
      ink.right = std::max(ink.right, x);
    }
  return ink;
}

TEST(SecretPanel, StartsInactiveWithThePanelDefaults) {
  TSecretPanel p;
  EXPECT_FALSE(p.Active());
  EXPECT_EQ(p.Alignment(), taCenter);
  EXPECT_EQ(p.Interval(), 30u);
  EXPECT_EQ(p.BevelOuter(), bvLowered);
  EXPECT_EQ(p.TextStyle(), bvNone);
  EXPECT_EQ(p.GlyphLayout(), glGlyphLeft);
  EXPECT_EQ(p.ScrollDirection(), sdVertical);
  EXPECT_TRUE(p.AsyncDrawing());
  EXPECT_FALSE(p.Timer().Enabled());
  EXPECT_FALSE(p.Timer().SyncEvent());
}

TEST(SecretPanel, TextAreaAndPictureByLayout) {
  // 200 x 100, one bevel pixel, a 20 x 10 red picture (its bottom-left
  // pixel's colour is see-through).
  QImage glyph(20, 10, QImage::Format_RGB32);
  glyph.fill(Qt::red);
  glyph.setPixel(0, 9, qRgb(0, 0, 255));
  struct Case {
    QSize size;
    TGlyphLayout layout;
    bool withGlyph;
    QRect text;
    QPoint origin;
  } cases[] = {
      {{200, 100}, glGlyphLeft, true, Edges(31, 4, 196, 96), {7, 45}},
      {{200, 100}, glGlyphRight, true, Edges(4, 4, 169, 96), {173, 45}},
      {{200, 100}, glGlyphTop, true, Edges(4, 24, 196, 96), {90, 7}},
      {{200, 100}, glGlyphBottom, true, Edges(4, 4, 196, 76), {90, 83}},
      {{200, 100}, glGlyphLeft, false, Edges(4, 4, 196, 96), {4, 50}},
      {{200, 100}, glGlyphTop, false, Edges(4, 4, 196, 96), {100, 4}},
      {{10, 10}, glGlyphLeft, false, Edges(4, 4, 6, 6), {4, 5}},
      // Too small: no text area at all.
      {{8, 8}, glGlyphLeft, false, QRect(0, 0, 0, 0), {4, 4}},
      {{30, 30}, glGlyphLeft, true, QRect(0, 0, 0, 0), {7, 10}},
      {{30, 24}, glGlyphBottom, true, QRect(0, 0, 0, 0), {5, 7}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.size.width() << "x" << c.size.height() << " layout "
                                    << c.layout << " glyph " << c.withGlyph);
    SteppedPanel s(c.size);
    s.panel.SetGlyphLayout(c.layout);
    if (c.withGlyph) s.panel.SetGlyph(glyph);
    s.panel.Play();
    EXPECT_EQ(s.panel.TxtRect(), c.text);
    EXPECT_EQ(s.panel.GlyphOrigin(), c.origin);
    EXPECT_EQ(s.panel.PaintRect(), Edges(1, 1, c.size.width() - 1, c.size.height() - 1));
    if (c.withGlyph && !c.text.isEmpty()) {
      const QImage shown = s.panel.grab().toImage();
      EXPECT_EQ(shown.pixel(c.origin + QPoint(1, 1)) | 0xFF000000u, 0xFFFF0000u);
    }
  }
}

TEST(SecretPanel, BordersAndBevelsWidenTheGap) {
  SteppedPanel s({200, 100});
  s.panel.SetBevelInner(bvRaised);
  s.panel.SetBevelWidth(2);
  s.panel.SetBorderWidth(3);  // B = 3 + 2 + 2
  QImage glyph(20, 10, QImage::Format_RGB32);
  glyph.fill(Qt::red);
  s.panel.SetGlyph(glyph);
  s.panel.Play();
  EXPECT_EQ(s.panel.PaintRect(), Edges(7, 7, 193, 93));
  EXPECT_EQ(s.panel.GlyphOrigin(), QPoint(13, 45));
  EXPECT_EQ(s.panel.TxtRect(), Edges(13 + 20 + 7 + 3, 10, 190, 90));
}

TEST(SecretPanel, HorizontalTextBlockIsCentredVertically) {
  SteppedPanel s({200, 100}, {"", " ", "one", "two", "  "});
  s.panel.SetScrollDirection(sdHorizontal);
  s.panel.Play();
  EXPECT_EQ(s.panel.FirstLine(), 2);
  const int d = s.panel.TxtDivider();
  const int spare = 92 - 2 * d;
  EXPECT_EQ(s.panel.TxtRect(), Edges(4, 4 + spare / 2, 196, 96 - spare / 2));
}

TEST(SecretPanel, VerticalPassFromTheBottomEdgeToTheTop) {
  SteppedPanel s({120, 80});
  s.panel.SetAlignment(taLeftJustify);
  s.panel.Play();
  const QRgb bg = Face(s.panel);
  const int h = s.panel.TxtRect().height();
  const int d = s.panel.TxtDivider();
  EXPECT_EQ(s.panel.MaxScroll(), h + 2 * d);
  EXPECT_FALSE(FindInk(s.TextArea(), bg).any());

  // Each step lifts the text by exactly one pixel; it never stands above
  // its line's top.
  int firstInkStep = -1, previousTop = -1;
  for (int k = 1; k <= h; ++k) {
    s.Step();
    EXPECT_EQ(s.panel.ScrollCnt(), k);
    const Ink ink = FindInk(s.TextArea(), bg);
    if (!ink.any()) {
      EXPECT_EQ(firstInkStep, -1) << "ink vanished at step " << k;
      continue;
    }
    EXPECT_GE(ink.top, h - k);
    if (firstInkStep < 0) {
      firstInkStep = k;
    } else {
      EXPECT_EQ(ink.top, previousTop - 1) << "step " << k;
    }
    previousTop = ink.top;
  }
  ASSERT_GT(firstInkStep, 0);
  EXPECT_LE(firstInkStep, d);

  // The last line at the top edge, then gone: at the last position only
  // the trailing blank line is in the area.
  s.Step(s.panel.MaxScroll() - d - h);
  EXPECT_TRUE(FindInk(s.TextArea(), bg).any());
  s.Step(d);
  EXPECT_EQ(s.panel.ScrollCnt(), s.panel.MaxScroll());
  EXPECT_FALSE(FindInk(s.TextArea(), bg).any());

  // The next step ends the pass.
  int stops = 0;
  s.panel.OnStopPlay = [&](TObject* sender) {
    EXPECT_EQ(sender, &s.panel);
    ++stops;
  };
  s.Step();
  EXPECT_FALSE(s.panel.Active());
  EXPECT_EQ(stops, 1);
  EXPECT_EQ(s.panel.ScrollCnt(), 0);
}

TEST(SecretPanel, CycledStartsAgainInsteadOfStopping) {
  SteppedPanel s({120, 80});
  s.panel.SetCycled(true);
  s.panel.Play();
  s.Step(s.panel.MaxScroll());
  s.Step();
  EXPECT_TRUE(s.panel.Active());
  EXPECT_EQ(s.panel.ScrollCnt(), 0);
  s.Step();
  EXPECT_EQ(s.panel.ScrollCnt(), 1);
}

TEST(SecretPanel, HorizontalPassEntersAtTheReadingEnd) {
  for (bool rtl : {false, true}) {
    SCOPED_TRACE(rtl ? "right to left" : "left to right");
    SteppedPanel s({120, 60}, {"WWW"});
    if (rtl) s.panel.setLayoutDirection(Qt::RightToLeft);
    s.panel.SetScrollDirection(sdHorizontal);
    s.panel.SetAlignment(taLeftJustify);
    s.panel.Play();
    const int w = s.panel.TxtRect().width();
    const int textWidth = s.panel.MaxScroll() - w;
    EXPECT_GT(textWidth, 0);
    const QRgb bg = Face(s.panel);
    s.Step(5);
    const Ink ink = FindInk(s.TextArea(), bg);
    ASSERT_TRUE(ink.any());
    if (!rtl)
      EXPECT_GE(ink.left, w - 5);  // left-aligned text enters at the right edge
    else
      EXPECT_LT(ink.right, 5);  // and at the left edge for right-to-left reading
    s.Step(s.panel.MaxScroll() - 5);
    EXPECT_FALSE(FindInk(s.TextArea(), bg).any());
  }
}

TEST(SecretPanel, RaisedAndLoweredTextAddAPixelToThePitchAndAHighlightCopy) {
  auto firstInk = [](TBevelCut style, int* pitch) {
    SteppedPanel s({120, 80}, {"Hx"});
    s.panel.SetTextStyle(style);
    s.panel.Play();
    *pitch = s.panel.TxtDivider();
    s.Step(s.panel.TxtRect().height() / 2);
    return FindInk(s.TextArea(), Face(s.panel));
  };
  int plain = 0, raised = 0, lowered = 0;
  const Ink p = firstInk(bvNone, &plain);
  const Ink r = firstInk(bvRaised, &raised);
  const Ink l = firstInk(bvLowered, &lowered);
  EXPECT_EQ(raised, plain + 1);
  EXPECT_EQ(lowered, plain + 1);
  ASSERT_TRUE(p.any() && r.any() && l.any());
  EXPECT_EQ(r.top, p.top - 1);  // the highlight copy up and left
  EXPECT_EQ(r.left, p.left - 1);
  EXPECT_EQ(l.bottom, p.bottom + 1);  // down and right
  EXPECT_EQ(l.right, p.right + 1);
}

TEST(SecretPanel, NoLinesDrawNothingButThePassStillEnds) {
  for (TScrollDirection dir : {sdVertical, sdHorizontal}) {
    SCOPED_TRACE(dir == sdVertical ? "vertical" : "horizontal");
    SteppedPanel s({120, 80}, dir == sdVertical ? QStringList{} : QStringList{" ", ""});
    s.panel.SetScrollDirection(dir);
    s.panel.Play();
    if (dir == sdHorizontal) {
      EXPECT_EQ(s.panel.TxtRect(), QRect(0, 0, 0, 0));
      EXPECT_EQ(s.panel.MaxScroll(), 0);
    } else {
      EXPECT_EQ(s.panel.MaxScroll(), s.panel.TxtRect().height());
    }
    s.Step(s.panel.MaxScroll());
    EXPECT_TRUE(s.panel.Active());
    s.Step();
    EXPECT_FALSE(s.panel.Active());
  }
}

TEST(SecretPanel, ChangingTheLinesWhileActiveStartsOver) {
  SteppedPanel s({120, 80});
  s.panel.Play();
  s.Step(7);
  s.panel.SetLines({"new", "lines", "here"});
  EXPECT_EQ(s.panel.ScrollCnt(), 0);
  EXPECT_EQ(s.panel.MaxScroll(), s.panel.TxtRect().height() + 3 * s.panel.TxtDivider());
}

TEST(SecretPanel, HidesItsChildrenAndBringsBackExactlyTheVisibleOnes) {
  TSecretPanel p;
  p.SetInterval(kHour);
  p.resize(200, 100);
  auto* shown1 = new QLabel("a", &p);
  auto* hidden = new QLabel("b", &p);
  auto* shown2 = new QLabel("c", &p);
  auto* goneWhileActive = new QLabel("d", &p);
  hidden->hide();
  p.show();
  int starts = 0, stops = 0;
  p.OnStartPlay = [&](TObject*) { ++starts; };
  p.OnStopPlay = [&](TObject*) { ++stops; };

  p.Play();
  p.Play();
  EXPECT_EQ(starts, 1);
  for (QLabel* l : {shown1, hidden, shown2, goneWhileActive}) EXPECT_TRUE(l->isHidden());
  EXPECT_TRUE(p.Timer().Enabled());
  delete goneWhileActive;

  p.Stop();
  p.Stop();
  EXPECT_EQ(stops, 1);
  EXPECT_FALSE(p.Timer().Enabled());
  EXPECT_FALSE(shown1->isHidden());
  EXPECT_TRUE(hidden->isHidden());
  EXPECT_FALSE(shown2->isHidden());

  // The next activation hides by the state of then.
  shown1->hide();
  p.Play();
  p.Stop();
  EXPECT_TRUE(shown1->isHidden());
  EXPECT_FALSE(shown2->isHidden());
}

TEST(SecretPanel, AFailingStartLeavesItInactive) {
  SteppedPanel s({120, 80});
  auto* child = new QLabel("a", &s.panel);
  s.panel.OnStartPlay = [](TObject*) { throw std::runtime_error("no start"); };
  EXPECT_THROW(s.panel.Play(), std::runtime_error);
  EXPECT_FALSE(s.panel.Active());
  EXPECT_FALSE(s.panel.Timer().Enabled());
  EXPECT_FALSE(child->isHidden());
}

// ------------------------------------------------- ticks on the worker

// A small panel that finishes a pass in a few dozen 1 ms steps.
struct LivePanel {
  std::unique_ptr<TSecretPanel> panel = std::make_unique<TSecretPanel>();
  std::mutex m;
  std::vector<std::thread::id> textThreads;  // PaintClient for the text image
  std::vector<std::thread::id> stopThreads;
  LivePanel(int height, QStringList lines) {
    panel->resize(60, height);
    panel->SetLines(lines);
    panel->SetInterval(1);
    panel->OnPaintClient = [this, self = panel.get()](TObject*, QPainter& c, const QRect& r) {
      c.fillRect(r, c.brush());
      if (c.device() == self) return;
      std::lock_guard lock(m);
      textThreads.push_back(std::this_thread::get_id());
    };
    panel->OnStopPlay = [this](TObject*) {
      std::lock_guard lock(m);
      stopThreads.push_back(std::this_thread::get_id());
    };
  }
};

TEST(SecretPanelThreads, ScrollsOnTheWorkerAndStopsOnTheGuiThread) {
  const auto gui = std::this_thread::get_id();
  for (bool async : {true, false}) {
    SCOPED_TRACE(async ? "async drawing" : "drawing on the GUI thread");
    LivePanel live(30, {"a", "b"});
    auto* child = new QLabel("x", live.panel.get());
    live.panel->SetAsyncDrawing(async);
    live.panel->show();
    live.panel->Play();
    ASSERT_TRUE(PumpUntil([&] { return !live.panel->Active(); }));
    EXPECT_FALSE(child->isHidden());
    std::lock_guard lock(live.m);
    ASSERT_FALSE(live.textThreads.empty());
    for (auto id : live.textThreads) EXPECT_EQ(id != gui, async);
    ASSERT_EQ(live.stopThreads.size(), 1u);
    EXPECT_EQ(live.stopThreads[0], gui);
  }
}

TEST(SecretPanelThreads, DestroyedWhileTheEndOfPassWaitsForTheGuiThread) {
  const auto gui = std::this_thread::get_id();
  LivePanel live(20, {});
  live.panel->show();
  live.panel->Play();
  // The event loop does not run, so the end-of-pass Stop stays pending.
  ASSERT_TRUE(SpinUntil([&] { return live.panel->Timer().TimerThread().HandOverPending(); }));
  live.panel.reset();
  PumpFor(20);
  std::lock_guard lock(live.m);
  ASSERT_EQ(live.stopThreads.size(), 1u);  // the destructor's own deactivation
  EXPECT_EQ(live.stopThreads[0], gui);
}

TEST(SecretPanelThreads, TogglingAndDestroyingWhileTheWorkerPaints) {
  QStringList many;
  for (int i = 0; i < 200; ++i) many << QStringLiteral("line %1").arg(i);
  LivePanel live(80, many);
  live.panel->SetTextStyle(bvRaised);
  live.panel->show();
  for (int i = 0; i < 30; ++i) {
    live.panel->Play();
    PumpFor(3);
    if (i % 3 == 0) live.panel->SetLines(many.mid(i));
    if (i % 5 == 0) live.panel->resize(60 + i, 80);
    live.panel->Stop();
  }
  const auto painted = [&] {
    std::lock_guard lock(live.m);
    return live.textThreads.size();
  };
  const std::size_t before = painted();
  live.panel->Play();
  // However long a busy machine keeps the worker waiting, it has painted
  // once before the panel goes.
  ASSERT_TRUE(PumpUntil([&] { return painted() > before; }, 30000));
  live.panel.reset();
  PumpFor(5);
  std::lock_guard lock(live.m);
  EXPECT_EQ(live.stopThreads.size(), 31u);
}

}  // namespace
