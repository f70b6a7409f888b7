#include <gtest/gtest.h>

#include <QApplication>
#include <QPainter>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <cstring>

#include "components/Colors.h"
#include "components/DrawUtils.h"
#include "components/ImageList.h"
#include "components/ToolConst.h"

namespace {

constexpr QRgb kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kFuchsia = 0xFFFF00FF,
               kWhite = 0xFFFFFFFF, kBlack = 0xFF000000, kYellow = 0xFFFFFF00;

QImage Canvas(int w, int h, QRgb fill) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(fill);
  return img;
}

// Rows of pixels from a picture of letters: r g b f(uchsia) w k(black).
QImage Picture(std::initializer_list<const char*> rows) {
  const int h = int(rows.size());
  const int w = int(std::strlen(*rows.begin()));
  QImage img(w, h, QImage::Format_RGB32);
  int y = 0;
  for (const char* row : rows) {
    for (int x = 0; x < w; ++x) {
      QRgb c = kWhite;
      switch (row[x]) {
        case 'r': c = kRed; break;
        case 'g': c = kGreen; break;
        case 'b': c = kBlue; break;
        case 'f': c = kFuchsia; break;
        case 'k': c = kBlack; break;
        default: break;
      }
      img.setPixel(x, y, c);
    }
    ++y;
  }
  return img;
}

// One row of a monochrome bitmap: 0 black, 1 white.
QImage MonoRow(std::initializer_list<int> bits) {
  QImage img(int(bits.size()), 1, QImage::Format_Mono);
  img.setColor(0, kBlack);
  img.setColor(1, kWhite);
  int x = 0;
  for (const int bit : bits) img.setPixel(x++, 0, uint(bit));
  return img;
}

// `img` after `draw` has painted on it.
template <class Draw>
QImage Painted(QImage img, Draw draw) {
  QPainter p(&img);
  draw(p);
  p.end();
  return img;
}

QRgb At(const QImage& img, int x, int y) { return img.pixel(x, y) | 0xFF000000u; }

TEST(DrawBitmapTransparent, BottomLeftColourIsSeeThroughAlsoInsideThePicture) {
  const QImage bmp = Picture({"rgr", "gfg", "frr"});  // inner fuchsia at (1,1)
  const QImage dest =
      Painted(Canvas(6, 5, kBlue), [&](QPainter& p) { DrawBitmapTransparent(p, 2, 1, bmp, clDefault); });
  EXPECT_EQ(At(dest, 2, 1), kRed);
  EXPECT_EQ(At(dest, 3, 1), kGreen);
  EXPECT_EQ(At(dest, 3, 2), kBlue);  // inner pixel of the see-through colour
  EXPECT_EQ(At(dest, 2, 3), kBlue);  // bottom-left
  EXPECT_EQ(At(dest, 4, 3), kRed);
  EXPECT_EQ(At(dest, 1, 1), kBlue);  // outside untouched
  EXPECT_EQ(At(dest, 5, 1), kBlue);
}

TEST(DrawBitmapTransparent, NamedColourNoneAndMonochrome) {
  const QImage bmp = Picture({"rg", "gf"});
  // clLime: green pixels see-through, fuchsia drawn.
  const QImage named =
      Painted(Canvas(2, 2, kBlue), [&](QPainter& p) { DrawBitmapTransparent(p, 0, 0, bmp, clLime); });
  const QImage opaque =
      Painted(Canvas(2, 2, kBlue), [&](QPainter& p) { DrawBitmapTransparent(p, 0, 0, bmp, clNone); });
  EXPECT_EQ(At(named, 0, 0), kRed);
  EXPECT_EQ(At(named, 1, 0), kBlue);
  EXPECT_EQ(At(named, 1, 1), kFuchsia);
  EXPECT_EQ(opaque, bmp.convertToFormat(QImage::Format_RGB32));

  // A monochrome bitmap is see-through where white, whatever its corner.
  const QImage mono = MonoRow({0, 1, 0});
  const QImage dest =
      Painted(Canvas(3, 1, kRed), [&](QPainter& p) { DrawBitmapTransparent(p, 0, 0, mono, clDefault); });
  EXPECT_EQ(At(dest, 0, 0), kBlack);
  EXPECT_EQ(At(dest, 1, 0), kRed);
}

TEST(StretchBitmapTransparent, StretchesThePartAndFillsInMissingSizes) {
  const QImage bmp = Picture({"rf"});
  const QImage dest = Painted(Canvas(6, 3, kBlue), [&](QPainter& p) {
    StretchBitmapTransparent(p, bmp, clFuchsia, 0, 0, 4, 2, 0, 0, 2, 1);
  });
  for (int y = 0; y < 2; ++y) {
    EXPECT_EQ(At(dest, 0, y), kRed);
    EXPECT_EQ(At(dest, 1, y), kRed);
    EXPECT_EQ(At(dest, 2, y), kBlue);
    EXPECT_EQ(At(dest, 3, y), kBlue);
  }
  EXPECT_EQ(At(dest, 0, 2), kBlue);

  // Destination size 0 takes the bitmap's; source size 0 the whole bitmap
  // from its origin, whatever origin was given.
  const QImage dest2 = Painted(Canvas(4, 2, kBlue), [&](QPainter& p) {
    StretchBitmapTransparent(p, bmp, clNone, 1, 1, 0, 0, 1, 0, 0, 0);
  });
  EXPECT_EQ(At(dest2, 1, 1), kRed);
  EXPECT_EQ(At(dest2, 2, 1), kFuchsia);
  EXPECT_EQ(At(dest2, 3, 1), kBlue);
  EXPECT_EQ(At(dest2, 1, 0), kBlue);

  // A source part of the see-through colour only leaves everything.
  const QImage dest3 = Painted(Canvas(4, 2, kBlue), [&](QPainter& p) {
    StretchBitmapTransparent(p, bmp, clFuchsia, 0, 0, 4, 2, 1, 0, 1, 1);
  });
  EXPECT_EQ(dest3, Canvas(4, 2, kBlue));
}

TEST(CreateDisabledBitmapEx, EmbossesTheOutlinePixels) {
  const QImage glyph = Picture({"ffff", "fkff", "ffkf", "ffff"});
  const QImage img = CreateDisabledBitmapEx(glyph, clBlack, clSilver, clWhite, clGray, true);
  ASSERT_EQ(img.size(), glyph.size());
  const QRgb silver = 0xFFC0C0C0, gray = 0xFF808080;
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) {
      QRgb want = silver;
      if ((x == 1 && y == 1) || (x == 2 && y == 2)) want = gray;  // shadow covers the highlight
      if (x == 3 && y == 3) want = kWhite;
      EXPECT_EQ(At(img, x, y), want) << x << "," << y;
    }
  const QImage flat = CreateDisabledBitmapEx(glyph, clBlack, clSilver, clWhite, clGray, false);
  EXPECT_EQ(At(flat, 3, 3), silver);
  EXPECT_EQ(At(flat, 2, 2), gray);

  // A monochrome picture: its black pixels are embossed, white is paper.
  const QImage fromMono = CreateDisabledBitmapEx(MonoRow({1, 0, 1}), clBlack, clSilver, clWhite, clGray, false);
  EXPECT_EQ(At(fromMono, 0, 0), silver);
  EXPECT_EQ(At(fromMono, 1, 0), gray);
  EXPECT_EQ(At(fromMono, 2, 0), silver);
}

TEST(ImageListDrawDisabled, DrawsTheSilhouetteInHighlightAndGrey) {
  TImageList list(3, 3);
  const int index = list.AddMasked(Picture({"rff", "fff", "ffg"}), clFuchsia);
  const QImage dest = Painted(Canvas(10, 10, kBlue), [&](QPainter& p) {
    ImageListDrawDisabled(list, p, 5, 5, index, clYellow, clGray, true);
    ImageListDrawDisabled(list, p, 0, 0, index + 1, clYellow, clGray, true);  // no such image
  });
  EXPECT_EQ(At(dest, 5, 5), 0xFF808080);
  EXPECT_EQ(At(dest, 6, 6), kYellow);
  EXPECT_EQ(At(dest, 7, 7), 0xFF808080);
  EXPECT_EQ(At(dest, 8, 8), kYellow);
  EXPECT_EQ(At(dest, 6, 5), kBlue);
  EXPECT_EQ(At(dest, 0, 0), kBlue);
}

TEST(ImageList, MasksBySetBitsOrByColourAndDrawsTheMask) {
  TImageList list(2, 1);
  QImage mask(2, 1, QImage::Format_RGB32);
  mask.setPixel(0, 0, kWhite);
  mask.setPixel(1, 0, kBlack);
  const int a = list.Add(Picture({"rg"}), mask);
  const int b = list.AddMasked(Picture({"rg"}), clRed);
  const QImage dest = Painted(Canvas(2, 3, kBlue), [&](QPainter& p) {
    list.Draw(p, 0, 0, a);
    list.Draw(p, 0, 1, b);
    list.DrawMask(p, 0, 2, a);
  });
  EXPECT_EQ(At(dest, 0, 0), kBlue);
  EXPECT_EQ(At(dest, 1, 0), kGreen);
  EXPECT_EQ(At(dest, 0, 1), kBlue);
  EXPECT_EQ(At(dest, 1, 1), kGreen);
  EXPECT_EQ(At(dest, 0, 2), kWhite);
  EXPECT_EQ(At(dest, 1, 2), kBlack);
}

TEST(CopyParentImage, ParentAndOverlappingSiblingsBelowTheControl) {
  class Solid : public QWidget {
   public:
    Solid(QWidget* parent, QColor c) : QWidget(parent), colour(c) {}
    QColor colour;

   protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), colour); }
  };
  Solid parent(nullptr, Qt::red);
  parent.resize(60, 40);
  Solid below(&parent, Qt::green);
  below.setGeometry(0, 0, 15, 15);  // overlaps the control's corner
  Solid far(&parent, Qt::yellow);
  far.setGeometry(50, 30, 5, 5);  // does not overlap
  QWidget control(&parent);
  control.setGeometry(10, 10, 20, 20);
  Solid above(&parent, Qt::blue);  // stacked over the control: not behind it
  above.setGeometry(20, 20, 5, 5);

  const QImage img = Painted(Canvas(20, 20, kWhite), [&](QPainter& p) { CopyParentImage(&control, p); });
  EXPECT_EQ(At(img, 0, 0), kGreen);
  EXPECT_EQ(At(img, 4, 4), kGreen);
  EXPECT_EQ(At(img, 5, 5), kRed);
  EXPECT_EQ(At(img, 12, 12), kRed);
  EXPECT_EQ(At(img, 19, 19), kRed);

  QWidget orphan;
  const QImage untouched = Painted(Canvas(5, 5, kWhite), [&](QPainter& p) {
    CopyParentImage(&orphan, p);
    CopyParentImage(nullptr, p);
  });
  EXPECT_EQ(untouched, Canvas(5, 5, kWhite));
}

TEST(KeepRectOnScreen, ShiftsInsideKeepingTheSize) {
  const QRect screen(0, 0, 800, 600);
  QRect r(750, 580, 100, 50);
  KeepRectOnScreen(r, screen);
  EXPECT_EQ(r, QRect(700, 550, 100, 50));
  r = QRect(-20, -5, 100, 50);
  KeepRectOnScreen(r, screen);
  EXPECT_EQ(r, QRect(0, 0, 100, 50));
  r = QRect(30, 40, 900, 700);  // larger than the screen: ends at 0
  KeepRectOnScreen(r, screen);
  EXPECT_EQ(r, QRect(0, 0, 900, 700));
}

TEST(CenterWindow, CentresOnThePrimaryScreenAndKeepsWideWindowsOnIt) {
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  QWidget w;
  w.resize(101, 51);
  CenterWindow(&w);
  const QSize frame = w.frameGeometry().size();
  EXPECT_EQ(w.frameGeometry().topLeft(), QPoint(screen.x() + (screen.width() - frame.width()) / 2,
                                                screen.y() + (screen.height() - frame.height()) / 2));
  EXPECT_EQ(w.size(), QSize(101, 51));

  QWidget wide;
  wide.resize(screen.width() + 300, 40);
  CenterWindow(&wide);
  EXPECT_EQ(wide.frameGeometry().left(), screen.x());
}

TEST(KillMessage, RemovesPendingEventsOfOneKindOnly) {
  class Counter : public QObject {
   public:
    int a = 0, b = 0;
    bool event(QEvent* e) override {
      if (e->type() == QEvent::User) ++a;
      if (e->type() == QEvent::Type(QEvent::User + 1)) ++b;
      return QObject::event(e);
    }
  } counter;
  QCoreApplication::postEvent(&counter, new QEvent(QEvent::User));
  QCoreApplication::postEvent(&counter, new QEvent(QEvent::Type(QEvent::User + 1)));
  KillMessage(&counter, QEvent::Type(QEvent::User + 2));  // not pending: nothing happens
  KillMessage(&counter, QEvent::User);
  QCoreApplication::sendPostedEvents(&counter);
  EXPECT_EQ(counter.a, 0);
  EXPECT_EQ(counter.b, 1);
}

TEST(ToolCursors, RegisteredAtStartUpUnderTheirIds) {
  RegisterToolCursors();
  EXPECT_EQ(ScreenCursor(crHand).shape(), Qt::PointingHandCursor);
  EXPECT_EQ(ScreenCursor(crDragHand).shape(), Qt::ClosedHandCursor);
  EXPECT_EQ(ScreenCursor(crHand + 7).shape(), Qt::ArrowCursor);
}

TEST(PaletteColor, SetsThePaletteFlagOnTheResolvedColour) {
  EXPECT_EQ(PaletteColor(clRed), 0x020000FF);
  EXPECT_EQ(PaletteColor(clBtnFace), QColorToColor(ColorToQColor(clBtnFace)) | 0x02000000);
}

TEST(IsForegroundTask, FollowsTheActiveWindow) {
  if (QApplication::activeWindow()) QApplication::activeWindow()->close();
  EXPECT_FALSE(IsForegroundTask());
  QWidget w;
  w.show();
  w.activateWindow();
  if (!QTest::qWaitForWindowActive(&w)) GTEST_SKIP() << "platform does not activate windows";
  EXPECT_TRUE(IsForegroundTask());
}

}  // namespace
