#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QPainter>
#include <QTest>
#include <QTimer>
#include <memory>

#include "components/Colors.h"
#include "components/GlyphCache.h"
#include "components/GlyphList.h"
#include "components/PopupMenu.h"
#include "components/ToolSpeedButton.h"

namespace {

QRgb Rgb(TColor c) { return ColorToQColor(c).rgb(); }
QRgb At(const QImage& img, int x, int y) { return img.pixel(x, y) | 0xFF000000u; }

// A glyph of `count` sections of 16x16 on fuchsia; section i has a black
// pixel at (5, 5) and a red one at (8 + i, 8).
QImage Glyph(int count, int height = 16) {
  QImage img(16 * count, height, QImage::Format_RGB32);
  img.fill(ColorToQColor(clFuchsia));
  for (int i = 0; i < count; ++i) {
    img.setPixel(16 * i + 5, 5, 0xFF000000);
    img.setPixel(16 * i + 8 + i, 8, 0xFFFF0000);
  }
  return img;
}

QImage Render(QWidget& w) {
  QImage img(w.size(), QImage::Format_RGB32);
  w.render(&img);
  return img;
}

class RecordingMenu : public TPopupMenu {
 public:
  using TPopupMenu::TPopupMenu;
  int shown = 0;
  QPoint at;
  void Popup(const QPoint& screenPos) override {
    ++shown;
    at = screenPos;
  }
};

TEST(ButtonGlyph, SectionCountFollowsTheGlyphShape) {
  TToolSpeedButton b;
  b.SetGlyph(Glyph(4));
  EXPECT_EQ(b.NumGlyphs(), 4);
  b.SetGlyph(Glyph(6));  // more sections than states
  EXPECT_EQ(b.NumGlyphs(), 1);
  b.SetNumGlyphs(2);
  QImage odd(20, 16, QImage::Format_RGB32);
  odd.fill(Qt::white);
  b.SetGlyph(odd);
  EXPECT_EQ(b.NumGlyphs(), 2);
  b.SetNumGlyphs(7);
  EXPECT_EQ(b.NumGlyphs(), 5);
  b.SetNumGlyphs(0);
  EXPECT_EQ(b.NumGlyphs(), 5);
  b.SetMargin(-2);
  EXPECT_EQ(b.Margin(), -1);
  b.SetMargin(3);
  EXPECT_EQ(b.Margin(), 3);
  // The bottom-left pixel becomes the see-through colour.
  EXPECT_EQ(b.ButtonGlyph().TransparentColor(), QColorToColor(Qt::white));
}

TEST(ButtonGlyph, ButtonsOfOneImageSizeShareAListThatGoesWithTheLastOfThem) {
  ASSERT_EQ(TGlyphCache::Instance(), nullptr);
  auto a = std::make_unique<TToolSpeedButton>();
  auto b = std::make_unique<TToolSpeedButton>();
  auto c = std::make_unique<TToolSpeedButton>();
  a->SetGlyph(Glyph(1));
  b->SetGlyph(Glyph(2));  // two sections of 16x16: the same image size
  c->SetGlyph(Glyph(1, 12).scaled(12, 12));
  Render(*a);
  Render(*b);
  Render(*c);
  ASSERT_NE(TGlyphCache::Instance(), nullptr);
  EXPECT_EQ(a->ButtonGlyph().GlyphList(), b->ButtonGlyph().GlyphList());
  EXPECT_NE(a->ButtonGlyph().GlyphList(), c->ButtonGlyph().GlyphList());
  EXPECT_EQ(TGlyphCache::Instance()->ListCount(), 2);
  c.reset();
  EXPECT_EQ(TGlyphCache::Instance()->ListCount(), 1);
  TGlyphList* shared = a->ButtonGlyph().GlyphList();
  const int slotA = a->ButtonGlyph().IndexOf(rbsUp);
  a.reset();
  ASSERT_NE(TGlyphCache::Instance(), nullptr);
  EXPECT_EQ(TGlyphCache::Instance()->ListCount(), 1);
  EXPECT_FALSE(shared->Used(slotA));  // freed, not removed
  b.reset();
  EXPECT_EQ(TGlyphCache::Instance(), nullptr);
}

TEST(GlyphList, FreedSlotsAreReusedAndTheListNeverShrinks) {
  TGlyphList list(2, 2);
  QImage img(2, 2, QImage::Format_RGB32);
  img.fill(Qt::red);
  EXPECT_EQ(list.AddMasked(img, clNone), 0);
  EXPECT_EQ(list.AddMasked(img, clNone), 1);
  EXPECT_EQ(list.AddMasked(img, clNone), 2);
  list.Delete(1);
  list.Delete(1);  // a free slot stays free once
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(list.TImageList::Count(), 3);
  EXPECT_EQ(list.Add(img, QImage()), 1);
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.AddMasked(img, clNone), 3);
}

TEST(ToolSpeedButton, DisabledOneGlyphButtonDrawsTheEmbossedGlyph) {
  QWidget parent;
  TToolSpeedButton b(&parent);
  b.SetGlyph(Glyph(1));
  b.setEnabled(false);
  const QImage img = Render(b);
  // Frame of two pixels; the glyph centred in the 21x21 inside at (4, 4).
  EXPECT_EQ(At(img, 4 + 5, 4 + 5), Rgb(clBtnShadow));
  EXPECT_EQ(At(img, 4 + 6, 4 + 6), Rgb(clBtnHighlight));
  EXPECT_EQ(At(img, 4 + 8, 4 + 8), Rgb(clBtnFace));  // red is no outline: face
  EXPECT_EQ(At(img, 4 + 2, 4 + 2), Rgb(clBtnFace));
  EXPECT_EQ(b.State(), rbsDisabled);

  b.setEnabled(true);
  const QImage up = Render(b);
  EXPECT_EQ(At(up, 4 + 5, 4 + 5), 0xFF000000);
  EXPECT_EQ(At(up, 4 + 8, 4 + 8), 0xFFFF0000);
  EXPECT_EQ(At(up, 4 + 2, 4 + 2), Rgb(clBtnFace));  // fuchsia is see-through
}

TEST(ToolSpeedButton, IdleFlatButtonDrawsTheGreyGlyphUnlessFiveAreGiven) {
  TToolSpeedButton b;
  b.SetFlat(true);
  b.SetGlyph(Glyph(1));
  QImage img = Render(b);
  // No frame: the glyph is centred in the full 25x25 at (4, 4) as well.
  const int grey = (77 * 255) >> 8;
  EXPECT_EQ(At(img, 4 + 8, 4 + 8), qRgb(grey, grey, grey));
  EXPECT_EQ(At(img, 0, 0), Rgb(clBtnFace));

  b.SetGrayedInactive(false);
  img = Render(b);
  EXPECT_EQ(At(img, 4 + 8, 4 + 8), 0xFFFF0000);

  b.SetGrayedInactive(true);
  b.SetGlyph(Glyph(5));  // the fifth section is the inactive image
  img = Render(b);
  EXPECT_EQ(At(img, 4 + 8 + 4, 4 + 8), 0xFFFF0000);
}

TEST(ButtonGlyph, CalcButtonLayoutPlacesGlyphAndCaption) {
  TButtonGlyph g;
  QImage glyph(10, 8, QImage::Format_RGB32);
  glyph.fill(Qt::black);
  g.SetGlyph(glyph);
  QFont f;
  f.setPixelSize(11);
  const QFontMetrics fm(f);
  const QRect client(3, 2, 100, 60);
  struct Case {
    TButtonLayout layout;
    int margin, spacing;
  };
  for (const Case c : {Case{blGlyphLeft, -1, -1}, Case{blGlyphLeft, 4, 2}, Case{blGlyphLeft, -1, 2},
                       Case{blGlyphLeft, 4, -1}, Case{blGlyphRight, -1, -1}, Case{blGlyphRight, 4, 2},
                       Case{blGlyphTop, -1, -1}, Case{blGlyphTop, 4, 2}, Case{blGlyphBottom, -1, -1},
                       Case{blGlyphBottom, 4, 2}}) {
    SCOPED_TRACE(testing::Message() << "layout " << int(c.layout) << " margin " << c.margin << " spacing "
                                    << c.spacing);
    const TButtonLayoutResult r = g.CalcButtonLayout(fm, client, "Go", c.layout, c.margin, c.spacing, false);
    const int T = (c.layout <= blGlyphRight) ? r.TextBounds.width() : r.TextBounds.height();
    ASSERT_GT(T, 0);
    const int C = (c.layout <= blGlyphRight) ? 100 : 60;
    const int G = (c.layout <= blGlyphRight) ? 10 : 8;
    int m = c.margin, s = c.spacing;
    if (m == -1 && s == -1) m = s = (C - G - T) / 3;
    else if (m == -1) m = C / 2 - (G + s + T) / 2;
    else if (s == -1) s = (C - (m + G)) / 2 - T / 2;
    const QPoint gp = r.GlyphPos - client.topLeft();
    const QPoint tp = r.TextBounds.topLeft() - client.topLeft();
    switch (c.layout) {
      case blGlyphLeft:
        EXPECT_EQ(gp, QPoint(m, 30 - 4));
        EXPECT_EQ(tp.x(), m + 10 + s);
        EXPECT_EQ(tp.y(), 30 - r.TextBounds.height() / 2);
        break;
      case blGlyphRight:
        EXPECT_EQ(gp, QPoint(100 - m - 10, 30 - 4));
        EXPECT_EQ(tp.x(), gp.x() - s - T);
        break;
      case blGlyphTop:
        EXPECT_EQ(gp, QPoint(50 - 5, m));
        EXPECT_EQ(tp.y(), m + 8 + s);
        EXPECT_EQ(tp.x(), 50 - r.TextBounds.width() / 2);
        break;
      case blGlyphBottom:
        EXPECT_EQ(gp, QPoint(45, 60 - m - 8));
        EXPECT_EQ(tp.y(), gp.y() - s - T);
        break;
    }
  }
  // Without a caption the spacing counts as 0: the glyph alone is centred.
  const TButtonLayoutResult alone = g.CalcButtonLayout(fm, QRect(0, 0, 30, 30), "", blGlyphTop, -1, 5, false);
  EXPECT_EQ(alone.GlyphPos, QPoint(10, 11));
  EXPECT_EQ(alone.TextBounds, QRect(15, 19, 0, 0));  // centred across, below the glyph
  // The drop-down mark widens the glyph of a top layout by 6.
  const TButtonLayoutResult marked = g.CalcButtonLayout(fm, QRect(0, 0, 30, 30), "", blGlyphTop, -1, -1, true);
  EXPECT_EQ(marked.GlyphPos.x(), 15 - 8);
}

TEST(ButtonGlyph, LongCaptionsAreShortenedLineByLine) {
  TButtonGlyph g;
  QFont f;
  f.setPixelSize(11);
  const QFontMetrics fm(f);
  const int width = fm.horizontalAdvance("Paramet...");
  const QString fitted = g.FitCaption(fm, "Parameter file\nLog  \n", width);
  const QStringList lines = fitted.split('\n');
  ASSERT_EQ(lines.size(), 2);
  EXPECT_TRUE(lines[0].endsWith("...")) << lines[0].toStdString();
  EXPECT_LE(fm.horizontalAdvance(lines[0]), width);
  EXPECT_TRUE(QString("Parameter file").startsWith(lines[0].chopped(3)));
  EXPECT_EQ(lines[1], "Log");  // trailing blanks and the last line break go
  EXPECT_EQ(g.FitCaption(fm, "Parameter", 0), "...");
  g.SetWordWrap(true);
  EXPECT_EQ(g.FitCaption(fm, "Parameter file", width), "Parameter file");
}

TEST(ButtonGlyph, DropDownMarkIsAFourRowTriangle) {
  TButtonGlyph g;
  QImage img(12, 8, QImage::Format_RGB32);
  img.fill(Qt::white);
  {
    QPainter p(&img);
    g.DrawPopupMark(p, 2, 3, rbsUp);
  }
  const QRgb mark = Rgb(clBtnText);
  const int rows[4][2] = {{2, 8}, {3, 7}, {4, 6}, {5, 5}};
  for (int row = 0; row < 4; ++row)
    for (int x = 0; x < 12; ++x) {
      const bool in = x >= rows[row][0] && x <= rows[row][1];
      EXPECT_EQ(At(img, x, 2 + row) == mark, in) << x << "," << 2 + row;
    }
  EXPECT_NE(At(img, 5, 6), mark);
}

TEST(ToolSpeedButton, FrameTableByDownStyleAndFlatness) {
  struct Row {
    bool down;
    TButtonStyle style;
    bool flat;
    TColor outerTL, outerBR;
    TColor innerTL, innerBR;  // clNone: one frame only
  };
  const Row rows[] = {
      {true, bsNew, false, clWindowFrame, clBtnHighlight, clBtnShadow, clBtnFace},
      {true, bsNew, true, clBtnShadow, clBtnHighlight, clNone, clNone},
      {true, bsWin31, false, clWindowFrame, clWindowFrame, clBtnShadow, clNone},
      {true, bsWin31, true, clBtnShadow, clBtnHighlight, clNone, clNone},
      {false, bsNew, false, clBtnHighlight, clWindowFrame, clBtnFace, clBtnShadow},
      {false, bsAutoDetect, true, clBtnHighlight, clBtnShadow, clNone, clNone},
      {false, bsWin31, false, clWindowFrame, clWindowFrame, clBtnHighlight, clBtnShadow},
      {false, bsWin31, true, clBtnHighlight, clWindowFrame, clNone, clNone},
  };
  TToolSpeedButton b;
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << "down " << r.down << " style " << int(r.style) << " flat " << r.flat);
    QImage img(10, 10, QImage::Format_RGB32);
    img.fill(Qt::green);
    QPainter p(&img);
    const QRect inside = b.DrawButtonFrame(p, img.rect(), r.down, r.flat, r.style);
    p.end();
    EXPECT_EQ(At(img, 0, 4), Rgb(r.outerTL));
    EXPECT_EQ(At(img, 9, 4), Rgb(r.outerBR));
    if (r.innerTL == clNone) {
      EXPECT_EQ(inside, QRect(1, 1, 8, 8));
      EXPECT_EQ(At(img, 1, 4), 0xFF00FF00);
    } else {
      EXPECT_EQ(At(img, 1, 4), Rgb(r.innerTL));
      if (r.innerBR != clNone) {
        EXPECT_EQ(At(img, 8, 4), Rgb(r.innerBR));
        EXPECT_EQ(inside, QRect(2, 2, 6, 6));
      } else {
        EXPECT_EQ(At(img, 8, 4), 0xFF00FF00);  // the old down frame's line is top and left only
      }
    }
  }
}

TEST(ToolSpeedButton, GroupsKeepOneButtonDown) {
  QWidget parent;
  TToolSpeedButton single(&parent);
  single.SetDown(true);
  EXPECT_FALSE(single.Down());

  TToolSpeedButton a(&parent), b(&parent);
  a.move(30, 0);
  b.move(60, 0);
  a.SetGroupIndex(1);
  b.SetGroupIndex(1);
  int clicksA = 0;
  a.OnClick = [&](TObject*) { ++clicksA; };
  parent.show();
  QTest::mouseClick(&a, Qt::LeftButton);
  EXPECT_TRUE(a.Down());
  EXPECT_EQ(a.State(), rbsExclusive);
  QTest::mouseClick(&a, Qt::LeftButton);  // AllowAllUp off: stays down
  EXPECT_TRUE(a.Down());
  EXPECT_EQ(clicksA, 2);
  QTest::mouseClick(&b, Qt::LeftButton);
  EXPECT_TRUE(b.Down());
  EXPECT_FALSE(a.Down());
  EXPECT_EQ(a.State(), rbsUp);

  b.SetAllowAllUp(true);  // handed on to the group
  EXPECT_TRUE(a.AllowAllUp());
  QTest::mouseClick(&b, Qt::LeftButton);
  EXPECT_FALSE(b.Down());

  // A press released outside the button does not click.
  QTest::mousePress(&a, Qt::LeftButton);
  QTest::mouseRelease(&a, Qt::LeftButton, {}, QPoint(-5, 3));
  EXPECT_FALSE(a.Down());
  EXPECT_EQ(clicksA, 2);
}

TEST(ToolSpeedButton, ProgrammaticPressClicksOnceAndTogglesGroupedButtons) {
  QWidget parent;
  TToolSpeedButton plain(&parent), grouped(&parent);
  grouped.SetGroupIndex(3);
  grouped.SetAllowAllUp(true);
  int plainClicks = 0, groupedClicks = 0;
  plain.OnClick = [&](TObject*) {
    ++plainClicks;
    EXPECT_EQ(plain.State(), rbsDown);
  };
  grouped.OnClick = [&](TObject*) { ++groupedClicks; };
  plain.ButtonClick();
  EXPECT_EQ(plainClicks, 1);
  EXPECT_EQ(plain.State(), rbsUp);
  grouped.ButtonClick();
  EXPECT_TRUE(grouped.Down());
  grouped.ButtonClick();
  EXPECT_FALSE(grouped.Down());
  EXPECT_EQ(groupedClicks, 2);
  plain.setEnabled(false);
  plain.ButtonClick();
  EXPECT_EQ(plainClicks, 1);
}

TEST(ToolSpeedButton, DropDownMenuPopsUpInsteadOfAClick) {
  QWidget parent;
  TToolSpeedButton b(&parent);
  b.resize(40, 20);
  auto* menu = new RecordingMenu;
  b.SetDropDownMenu(menu);
  int clicks = 0;
  b.OnClick = [&](TObject*) { ++clicks; };
  parent.show();
  QTest::mouseClick(&b, Qt::LeftButton);
  EXPECT_EQ(menu->shown, 1);
  EXPECT_EQ(menu->at, b.mapToGlobal(QPoint(-1, 20)));
  EXPECT_EQ(menu->PopupComponent(), &b);
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(b.State(), rbsUp);
  b.ButtonClick();  // a press from code does not open an automatic menu
  EXPECT_EQ(clicks, 0);

  menu->SetAutoPopup(false);
  menu->SetAlignment(paRight);
  b.SetMenuPosition(dmpRight);
  QTest::mouseClick(&b, Qt::LeftButton);
  EXPECT_EQ(menu->shown, 1);
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(b.CheckBtnMenuDropDown());
  EXPECT_EQ(menu->at, b.mapToGlobal(QPoint(-1, -1)));

  delete menu;
  EXPECT_EQ(b.DropDownMenu(), nullptr);
  EXPECT_FALSE(b.CheckBtnMenuDropDown());
}

TEST(ToolSpeedButton, AutoRepeatClicksWhileHeldDown) {
  QWidget parent;
  TToolSpeedButton b(&parent);
  b.SetAllowTimer(true);
  b.SetInitPause(400);
  b.SetRepeatInterval(70);
  int clicks = 0;
  b.OnClick = [&](TObject*) { ++clicks; };
  parent.show();
  QTest::mousePress(&b, Qt::LeftButton);
  auto* timer = b.findChild<QTimer*>();
  ASSERT_NE(timer, nullptr);
  EXPECT_TRUE(timer->isActive());
  EXPECT_EQ(timer->interval(), 400);
  QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection);
  EXPECT_EQ(timer->interval(), 70);
  EXPECT_EQ(clicks, 1);
  QTest::mouseRelease(&b, Qt::LeftButton);
  EXPECT_FALSE(timer->isActive());
  EXPECT_EQ(clicks, 2);
  b.SetAllowTimer(false);
  EXPECT_EQ(b.findChild<QTimer*>(), nullptr);
}

TEST(ToolSpeedButton, ActionGivesCaptionStateCheckAndGlyph) {
  QWidget parent;
  TToolSpeedButton b(&parent);
  b.SetGroupIndex(2);
  b.SetAllowAllUp(true);
  QAction action("&Run");
  QPixmap icon(16, 16);
  icon.fill(Qt::blue);
  action.setIcon(QIcon(icon));
  action.setCheckable(true);
  action.setChecked(true);
  int runs = 0;
  QObject::connect(&action, &QAction::triggered, [&] { ++runs; });
  b.SetAction(&action);
  EXPECT_EQ(b.Caption(), "&Run");
  EXPECT_TRUE(b.Down());
  EXPECT_EQ(b.Glyph().size(), QSize(16, 16));
  EXPECT_EQ(b.ButtonGlyph().TransparentColor(), clFuchsia);
  action.setChecked(false);
  EXPECT_FALSE(b.Down());
  action.setEnabled(false);
  EXPECT_FALSE(b.isEnabled());
  action.setEnabled(true);
  b.Click();
  EXPECT_EQ(runs, 1);
}

TEST(ToolSpeedButton, ModalResultClosesTheDialog) {
  QDialog dialog;
  TToolSpeedButton b(&dialog);
  b.SetModalResult(QDialog::Accepted);
  QTimer::singleShot(0, &b, [&] { b.Click(); });
  EXPECT_EQ(dialog.exec(), QDialog::Accepted);
}

}  // namespace
