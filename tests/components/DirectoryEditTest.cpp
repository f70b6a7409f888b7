#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include "FolderTestSupport.h"
#include "components/DirectoryEdit.h"
#include "components/EditButton.h"
#include "components/GlyphCache.h"

namespace {

struct Folders {
  QTemporaryDir root;
  QString a, b, c;
  Folders() {
    QDir d(root.path());
    d.mkdir("a");
    d.mkdir("b");
    d.mkdir("c");
    a = d.filePath("a");
    b = d.filePath("b");
    c = d.filePath("c");
  }
};

// Three folders, the dialogs answered by script, and the edit under test.
class DirectoryEdit : public testing::Test {
 protected:
  Folders f;
  FolderDialogScript script;
  TDirectoryEdit edit;
};

TEST_F(DirectoryEdit, TypingBlockedWithoutDirectInputWhileTheButtonWorks) {
  script.answer = f.b;
  edit.setText(f.a);
  edit.SetDirectInput(false);
  edit.show();
  QTest::keyClicks(&edit, "xyz");
  EXPECT_EQ(edit.text(), f.a);
  QApplication::clipboard()->setText("pasted");
  edit.selectAll();
  QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
  QTest::keyClick(&edit, Qt::Key_Insert, Qt::ShiftModifier);
  QTest::keyClick(&edit, Qt::Key_X, Qt::ControlModifier);
  QTest::keyClick(&edit, Qt::Key_Delete, Qt::ShiftModifier);
  EXPECT_EQ(edit.text(), f.a);
  edit.SelectAll();  // selects nothing without direct input
  edit.deselect();
  edit.SelectAll();
  EXPECT_FALSE(edit.hasSelectedText());

  QTest::mouseClick(edit.Button(), Qt::LeftButton);
  ASSERT_EQ(script.startedIn.size(), 1);
  EXPECT_EQ(script.startedIn[0], f.a);
  EXPECT_EQ(edit.text(), f.b);
  EXPECT_EQ(edit.InitialDir(), f.b);

  edit.SetDirectInput(true);
  edit.setText("");
  QTest::keyClicks(&edit, "typed");
  EXPECT_EQ(edit.text(), "typed");
}

TEST_F(DirectoryEdit, ReadOnlyButtonDoesNothingUnlessAlwaysEnabled) {
  script.answer = f.b;
  edit.setText(f.a);
  edit.SetReadOnly(true);
  edit.show();
  EXPECT_TRUE(edit.Button()->isEnabled());  // looks as always, only does nothing
  QTest::mouseClick(edit.Button(), Qt::LeftButton);
  edit.DoClick();
  QTest::keyClick(&edit, Qt::Key_Down, Qt::AltModifier);
  EXPECT_TRUE(script.startedIn.isEmpty());
  EXPECT_EQ(edit.text(), f.a);
  edit.SetAlwaysEnable(true);
  QTest::mouseClick(edit.Button(), Qt::LeftButton);
  EXPECT_EQ(script.startedIn.size(), 1);
  EXPECT_EQ(edit.text(), f.b);
}

TEST_F(DirectoryEdit, AltDownOpensTheDialogAndCancelKeepsTheText) {
  script.accept = false;
  edit.setText(f.c);
  edit.show();
  QTest::keyClick(&edit, Qt::Key_Down, Qt::AltModifier);
  ASSERT_EQ(script.startedIn.size(), 1);
  EXPECT_EQ(script.startedIn[0], f.c);
  EXPECT_EQ(edit.text(), f.c);
  QTest::keyClick(&edit, Qt::Key_Down);  // the plain key is the line edit's
  EXPECT_EQ(script.startedIn.size(), 1);

  edit.SetClickKey(QKeySequence(Qt::Key_F4));
  QTest::keyClick(&edit, Qt::Key_F4);
  EXPECT_EQ(script.startedIn.size(), 2);
  edit.SetButtonWidth(1);  // hidden button: the key does nothing
  EXPECT_EQ(edit.ButtonWidth(), 0);
  QTest::keyClick(&edit, Qt::Key_F4);
  EXPECT_EQ(script.startedIn.size(), 2);
}

TEST_F(DirectoryEdit, StartFolderFromTextInitialDirOrRoot) {
  script.accept = false;
  edit.DoClick();  // empty, no initial folder
  edit.SetInitialDir(f.b);
  edit.DoClick();
  edit.setText(f.root.filePath("missing"));
  edit.DoClick();
  EXPECT_EQ(script.startedIn, QStringList({"/", f.b, "/"}));
}

TEST_F(DirectoryEdit, MultipleDirsAppendsAfterASemicolon) {
  edit.SetMultipleDirs(true);
  script.answer = f.a;
  edit.DoClick();
  EXPECT_EQ(edit.text(), f.a);  // nothing to append to
  script.answer = f.b;
  edit.DoClick();
  EXPECT_EQ(edit.text(), f.a + ";" + f.b);
  edit.setText(f.a + ";;" + f.c);
  EXPECT_EQ(edit.LongName(), f.a + ";" + f.c);  // empty parts add no separator
  edit.SetMultipleDirs(false);
  EXPECT_EQ(edit.ShortName(), f.a + ";;" + f.c);
}

TEST_F(DirectoryEdit, EventsAroundTheDialogCanStopOrChangeIt) {
  script.answer = f.c;
  int buttonClicks = 0;
  edit.OnButtonClick = [&](TObject*) { ++buttonClicks; };
  edit.OnBeforeDialog = [&](TObject*, QString& name, bool& action) { action = false; };
  edit.DoClick();
  EXPECT_EQ(buttonClicks, 1);
  EXPECT_TRUE(script.startedIn.isEmpty());
  edit.OnBeforeDialog = [&](TObject*, QString& name, bool&) { name = f.b; };
  edit.OnAfterDialog = [&](TObject*, QString& name, bool& action) {
    EXPECT_EQ(name, f.c);
    EXPECT_TRUE(action);
    name = f.a;
  };
  edit.DoClick();
  EXPECT_EQ(script.startedIn, QStringList({f.b}));
  EXPECT_EQ(edit.text(), f.a);
}

void Drop(QWidget& target, const QStringList& paths) {
  QMimeData mime;
  QList<QUrl> urls;
  for (const QString& p : paths) urls << QUrl::fromLocalFile(p);
  mime.setUrls(urls);
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&target, &enter);
  QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&target, &drop);
}

TEST_F(DirectoryEdit, DroppedNamesTakeTheFirstOrAllAndFilesGiveTheirFolder) {
  int drops = 0;
  edit.OnDropFiles = [&](TObject*) { ++drops; };
  edit.setText("kept");
  Drop(edit, {f.a});
  EXPECT_EQ(edit.text(), "kept");  // not accepting files
  EXPECT_EQ(drops, 0);

  edit.SetAcceptFiles(true);
  Drop(edit, {f.a, f.b, f.c});
  EXPECT_EQ(edit.text(), f.a);
  EXPECT_EQ(drops, 1);

  QFile file(QDir(f.b).filePath("log.csv"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  edit.SetMultipleDirs(true);
  Drop(edit, {file.fileName(), f.c});
  EXPECT_EQ(edit.text(), f.a + ";" + f.b + ";" + f.c);
}

TEST(ComboEdit, ButtonPicturesAndWidths) {
  TDirectoryEdit edit;
  EXPECT_EQ(edit.GlyphKind(), gkDefault);
  EXPECT_EQ(edit.ButtonWidth(), 21);
  EXPECT_EQ(edit.NaturalButtonWidth(), 21);
  EXPECT_EQ(edit.Glyph(), TFileDirEdit::FileEditGlyph());
  EXPECT_EQ(edit.NumGlyphs(), 1);
  edit.SetNumGlyphs(3);  // the default picture keeps its own count
  EXPECT_EQ(edit.NumGlyphs(), 1);

  edit.SetGlyphKind(gkEllipsis);
  const QImage dots = edit.Glyph();
  ASSERT_EQ(dots.size(), QSize(15, 4));
  // Three 2x2 dots at x = 1, 6 and 11 on rows 1 and 2.
  for (int x = 0; x < 15; ++x) {
    const bool dot = (x >= 1 && x <= 2) || (x >= 6 && x <= 7) || (x >= 11 && x <= 12);
    EXPECT_EQ(dots.pixelIndex(x, 1) == 0, dot) << x;
    EXPECT_EQ(dots.pixelIndex(x, 2) == 0, dot) << x;
    EXPECT_NE(dots.pixelIndex(x, 0), 0);
  }
  EXPECT_EQ(EllipsisGlyph(7).width(), 1);

  edit.SetGlyphKind(gkDropDown);
  EXPECT_EQ(edit.ButtonWidth(), edit.style()->pixelMetric(QStyle::PM_ScrollBarExtent));
  QImage custom(12, 12, QImage::Format_RGB32);
  custom.fill(Qt::red);
  edit.SetGlyph(custom);
  EXPECT_EQ(edit.GlyphKind(), gkCustom);

  edit.resize(200, 24);
  edit.SetButtonWidth(30);
  EXPECT_EQ(edit.Button()->geometry().right(), 29);
  EXPECT_EQ(edit.Button()->parentWidget()->geometry().right(), 200 - 1 - 2);
  EXPECT_EQ(edit.textMargins().right(), 30);
}

TEST(ComboEdit, PopupTakesTheValueOnlyWhenAccepted) {
  TCustomComboEdit edit;
  auto* popup = new QLineEdit;
  edit.SetPopup(popup);
  edit.setText("first");
  edit.show();
  edit.DoClick();
  ASSERT_TRUE(edit.PopupVisible());
  EXPECT_EQ(popup->text(), "first");
  EXPECT_TRUE(edit.isReadOnly());
  popup->setText("second");
  QTest::keyClick(&edit, Qt::Key_Escape);
  EXPECT_FALSE(edit.PopupVisible());
  EXPECT_EQ(edit.text(), "first");
  EXPECT_FALSE(edit.isReadOnly());

  edit.DoClick();
  popup->setText("third");
  QTest::keyClick(&edit, Qt::Key_Return);
  EXPECT_EQ(edit.text(), "third");
  EXPECT_TRUE(edit.isModified());

  edit.DoClick();
  popup->setText("fourth");
  popup->hide();  // a click elsewhere
  EXPECT_FALSE(edit.PopupVisible());
  EXPECT_EQ(edit.text(), "third");

  // Read-only, the button opens the popup only when always enabled, and
  // closing it leaves the edit read-only.
  edit.SetReadOnly(true);
  edit.DoClick();
  EXPECT_FALSE(edit.PopupVisible());
  edit.SetAlwaysEnable(true);
  edit.DoClick();
  ASSERT_TRUE(edit.PopupVisible());
  popup->setText("fifth");
  QTest::keyClick(&edit, Qt::Key_Return);
  EXPECT_EQ(edit.text(), "fifth");
  EXPECT_TRUE(edit.isReadOnly());
}

// The width of the caret of an empty, focused edit (kept from blinking):
// the text-coloured pixels across its middle row.
int CaretWidth(const QFont& font) {
  const int flashTime = QApplication::cursorFlashTime();
  QApplication::setCursorFlashTime(0);
  TCustomComboEdit edit;
  edit.setFont(font);
  edit.show();
  edit.activateWindow();
  edit.setFocus();
  QApplication::processEvents();
  const QImage shown = edit.grab().toImage().convertToFormat(QImage::Format_RGB32);
  QApplication::setCursorFlashTime(flashTime);
  const QRgb ink = edit.palette().color(QPalette::Text).rgb();
  int width = 0;
  for (int x = 0; x < shown.width(); ++x) width += shown.pixel(x, shown.height() / 2) == ink;
  return width;
}

TEST(ComboEdit, CaretIsTwoPixelsWideForABoldFont) {
  QFont font(QStringLiteral("DejaVu Sans"), 9);
  EXPECT_EQ(CaretWidth(font), 1);
  font.setBold(true);
  EXPECT_EQ(CaretWidth(font), 2);
}

}  // namespace
