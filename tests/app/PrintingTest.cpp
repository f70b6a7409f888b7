// Printing: the diagram page's geometry and look, the diagram print through
// the window's printer (landscape whatever was set, failures shown, the
// cursor restored), the printer setup on the same printer, and a file
// handed to the print service without waiting for it.
#include <gtest/gtest.h>

#include "app/QtPrinters.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPicture>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cerrno>
#include <cmath>
#include <csignal>

#include "app/Chart.h"
#include "app/DiagramPage.h"
#include "app/MainForm.h"
#include "support/EventLoop.h"
#include "support/FakePrintService.h"

namespace {

bool Dark(QRgb c) { return qRed(c) < 100 && qGreen(c) < 100 && qBlue(c) < 100; }
bool White(QRgb c) { return qRed(c) > 250 && qGreen(c) > 250 && qBlue(c) > 250; }

// Bounding box of the pixels that satisfy `test` within `area`.
template <typename Test>
QRect Box(const QImage& image, const QRect& area, Test test) {
  QRect box;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = area.left(); x <= area.right(); ++x)
      if (test(line[x])) box |= QRect(x, y, 1, 1);
  }
  return box;
}

// A page of 4960 x 3508 pixels at 300 dpi (A3 landscape) standing in for
// the printer, in a colour that neither text nor chart uses.
QImage PrintedPage(TChart& chart) {
  QImage page(4960, 3508, QImage::Format_RGB32);
  page.setDotsPerMeterX(11811);
  page.setDotsPerMeterY(11811);
  page.fill(Qt::magenta);
  QPainter painter(&page);
  PaintDiagramPage(painter, "Telquin [HEXLIN/HEXLOR]", "Datum / Uhrzeit: 01.02.2024 10:11:12",
                   chart.ToPicture(1024, 724), QSize(1024, 724));
  return page;
}

TEST(DiagramPage, HeadingAndChartStandWhereThePageHeightPutsThem) {
  EXPECT_EQ(DiagramPageLayout(4960, 3508).Chart, QRect(QPoint(175, 500), QPoint(4784, 3332)));

  TChart chart;
  for (int i = 0; i < 50; ++i) chart.AddXY(i, 5 + std::sin(i / 5.0));
  const QImage page = PrintedPage(chart);

  // The chart's white ground fills 175..4785 x 500..3333 exactly.
  const QRect white = Box(page, page.rect(), White);
  EXPECT_EQ(white, QRect(QPoint(175, 500), QPoint(4784, 3332)));

  // Heading lines: text tops at 200 and 400, left edges at the margin.
  QFont bold(QStringLiteral("Arial"), 10);
  bold.setBold(true);
  const int ascent = QFontMetrics(bold, &page).ascent();
  const QRect heading = Box(page, QRect(0, 0, 4960, 400), Dark);
  const QRect date = Box(page, QRect(0, 400, 4960, 100), Dark);
  EXPECT_TRUE(Box(page, QRect(0, 0, 4960, 200), Dark).isEmpty());
  EXPECT_GE(heading.top(), 200);
  EXPECT_LT(heading.top(), 200 + ascent);
  EXPECT_GE(date.top(), 400);
  EXPECT_LT(date.top(), 400 + ascent);
  for (const QRect& line : {heading, date}) {
    EXPECT_GE(line.left(), 175);
    EXPECT_LT(line.left(), 175 + ascent);
  }
  // 10 points at 300 dpi: about 42 pixels from the top of the text to the
  // baseline line, not the size of a screen font.
  EXPECT_GT(heading.height(), 25);
  EXPECT_LT(heading.height(), 60);
  // The curve is drawn in the chart's red across the rectangle.
  const QRect red = Box(page, white, [](QRgb c) {
    return qRed(c) > 200 && qGreen(c) < 80 && qBlue(c) < 80;
  });
  EXPECT_GT(red.width(), 4610 / 2);
  EXPECT_TRUE(white.contains(red));
}

TEST(DiagramPage, AnEmptyDiagramPrintsHeadingAndFrame) {
  TChart chart;
  const QImage page = PrintedPage(chart);
  EXPECT_EQ(Box(page, page.rect(), White), QRect(QPoint(175, 500), QPoint(4784, 3332)));
  EXPECT_FALSE(Box(page, QRect(0, 0, 4960, 500), Dark).isEmpty());
  // The axes and their labels inside the rectangle.
  const QRect ink = Box(page, QRect(QPoint(175, 500), QPoint(4784, 3332)), Dark);
  EXPECT_GT(ink.width(), 4000);
  EXPECT_GT(ink.height(), 2000);
}

TEST(DiagramPage, DateLineInTheUsersLocale) {
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  const QString line = DiagramDateLine(QDateTime(QDate(2024, 2, 1), QTime(10, 11, 12)));
  QLocale::setDefault(QLocale::system());
  EXPECT_TRUE(line.startsWith("Datum / Uhrzeit: 01.02.")) << line.toStdString();
  EXPECT_TRUE(line.contains("10:11")) << line.toStdString();
}

// The media box of the first page of a PDF, in points.
QSizeF PdfPageSize(const QString& file) {
  QFile f(file);
  if (!f.open(QIODevice::ReadOnly)) return {};
  const QByteArray pdf = f.readAll();
  const auto m = QRegularExpression(R"(/MediaBox \[0 0 ([\d.]+) ([\d.]+)\])")
                     .match(QString::fromLatin1(pdf));
  if (!pdf.startsWith("%PDF") || !m.hasMatch()) return {};
  return {m.captured(1).toDouble(), m.captured(2).toDouble()};
}

// The window with its dialogs answered here: the print dialog with `accept`,
// the printer setup shown and confirmed as a user does, messages recorded.
struct PrintWindow {
  PrintWindow() {
    form.Printer().setOutputFormat(QPrinter::PdfFormat);
    form.OnModalDialog = [this](QDialog& d) {
      if (auto* box = qobject_cast<QMessageBox*>(&d)) {
        messages << box->text();
        return int(QMessageBox::Ok);
      }
      if (auto* p = qobject_cast<QPrintDialog*>(&d)) {
        EXPECT_EQ(p->printer(), &form.Printer());
        if (p->windowTitle() == "Printer Setup") {
          ++setupDialogs;
          p->show();  // the dialog takes up the printer's settings
          if (onSetup) onSetup(*p);
          p->accept();  // and hands the choice back
          return p->result();
        }
        ++printDialogs;
        return accept ? int(QDialog::Accepted) : int(QDialog::Rejected);
      }
      if (auto* file = qobject_cast<QFileDialog*>(&d)) {
        if (chosenFile.isEmpty()) return int(QDialog::Rejected);
        file->selectFile(chosenFile);
        return int(QDialog::Accepted);
      }
      ADD_FAILURE() << "unexpected dialog " << d.metaObject()->className();
      return int(QDialog::Rejected);
    };
  }
  TMainForm form;
  bool accept = true;
  int printDialogs = 0;
  int setupDialogs = 0;
  std::function<void(QPrintDialog&)> onSetup;
  QString chosenFile;
  QStringList messages;
};

TEST(PrintDiagram, PrintsOneLandscapePageOnTheWindowsPrinter) {
  QTemporaryDir tmp;
  PrintWindow w;
  w.form.Chart1->AddXY(1, 2);
  w.form.Chart1->AddXY(2, 3);
  QPrinter& printer = w.form.Printer();
  printer.setPageOrientation(QPageLayout::Portrait);
  printer.setOutputFileName(tmp.filePath("a4.pdf"));
  w.form.Action(TAction::acPrintGrafik)->trigger();
  EXPECT_EQ(w.printDialogs, 1);
  EXPECT_TRUE(w.messages.isEmpty()) << w.messages.join('\n').toStdString();
  const QSizeF a4 = PdfPageSize(tmp.filePath("a4.pdf"));
  EXPECT_NEAR(a4.width(), 842, 1);
  EXPECT_NEAR(a4.height(), 595, 1);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  // The printer setup starts from the printer's settings and leaves its
  // choice (here another file to print into) on the printer the next print
  // uses, keeping paper and orientation; its OK prints nothing. The
  // diagram still comes out landscape.
  printer.setPageSize(QPageSize(QPageSize::A5));
  printer.setPageOrientation(QPageLayout::Portrait);
  w.onSetup = [&](QPrintDialog& d) {
    auto* file = d.findChild<QLineEdit*>("filename");  // the dialog's print-to-file name
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->text(), tmp.filePath("a4.pdf"));
    file->setText(tmp.filePath("a5.pdf"));
  };
  w.form.Action(TAction::acPrinterSetup)->trigger();
  EXPECT_EQ(w.setupDialogs, 1);
  EXPECT_EQ(printer.outputFileName(), tmp.filePath("a5.pdf"));
  EXPECT_EQ(printer.pageLayout().pageSize().id(), QPageSize::A5);
  EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Portrait);
  EXPECT_FALSE(QFile::exists(tmp.filePath("a5.pdf")));
  w.form.Action(TAction::acPrintGrafik)->trigger();
  const QSizeF a5 = PdfPageSize(tmp.filePath("a5.pdf"));
  EXPECT_NEAR(a5.width(), 595, 1);
  EXPECT_NEAR(a5.height(), 420, 1);

  // Cancelled in the print dialog: nothing printed.
  w.accept = false;
  printer.setOutputFileName(tmp.filePath("none.pdf"));
  w.form.Action(TAction::acPrintGrafik)->trigger();
  EXPECT_FALSE(QFile::exists(tmp.filePath("none.pdf")));
  EXPECT_EQ(w.printDialogs, 3);
}

TEST(PrintDiagram, APrinterThatFailsIsReportedAndTheCursorRestored) {
  QTemporaryDir tmp;
  PrintWindow w;
  const QString target = tmp.filePath("missing/folder/page.pdf");
  w.form.Printer().setOutputFileName(target);
  w.form.Action(TAction::acPrintGrafik)->trigger();
  ASSERT_EQ(w.messages.size(), 1);
  EXPECT_TRUE(w.messages[0].contains(target)) << w.messages[0].toStdString();
  EXPECT_TRUE(w.messages[0].contains("failed")) << w.messages[0].toStdString();
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

qint64 FileSize(const QString& name) { return QFileInfo(name).size(); }

// The action hands the file to lp and returns; lp's answer is shown when it
// comes, and a window that goes while lp still runs ends it.
TEST(PrintFile, TheChosenFileGoesToThePrintServiceWhoseRefusalIsShownWhenItComes) {
  QTemporaryDir tmp;
  PrintWindow w;
  w.chosenFile = tmp.filePath("params.txt");
  QFile(w.chosenFile).open(QIODevice::WriteOnly);
  {
    FakePrintService lp("echo \"$@\" > \"${0%/*}/args\"\n");
    w.form.Action(TAction::acPrint)->trigger();
    const QString args = lp.dir.filePath("args");
    ASSERT_TRUE(PumpUntil([&] { return FileSize(args) > 0; }));
    QFile f(args);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll().trimmed(), w.chosenFile.toLocal8Bit());
  }
  {
    // Shown alone: the accepted file above brought no message.
    FakePrintService lp("echo 'lp: Error - no default destination available.' >&2\nexit 1\n");
    w.form.Action(TAction::acPrint)->trigger();
    ASSERT_TRUE(PumpUntil([&] { return !w.messages.isEmpty(); }));
    EXPECT_EQ(w.messages, QStringList({"lp: Error - no default destination available."}));
  }
  w.messages.clear();
  {
    FakePrintService none("");  // no print service installed
    w.form.Action(TAction::acPrint)->trigger();
    ASSERT_TRUE(PumpUntil([&] { return !w.messages.isEmpty(); }));
    ASSERT_EQ(w.messages.size(), 1);
    EXPECT_TRUE(w.messages[0].startsWith("No print service")) << w.messages[0].toStdString();
  }
  {
    FakePrintService lp("echo $$ > \"${0%/*}/pid\"\nexec /bin/sleep 30\n");  // never answers
    const QString pidFile = lp.dir.filePath("pid");
    pid_t pid = 0;
    {
      PrintWindow closing;
      closing.chosenFile = w.chosenFile;
      closing.form.Action(TAction::acPrint)->trigger();
      ASSERT_TRUE(PumpUntil([&] { return FileSize(pidFile) > 0; }));
      QFile f(pidFile);
      ASSERT_TRUE(f.open(QIODevice::ReadOnly));
      pid = f.readAll().trimmed().toInt();
      EXPECT_TRUE(closing.messages.isEmpty());
    }
    ASSERT_GT(pid, 0);
    EXPECT_EQ(::kill(pid, 0), -1);
    EXPECT_EQ(errno, ESRCH);
  }
  w.messages.clear();
  w.chosenFile.clear();  // the open dialog cancelled
  w.form.Action(TAction::acPrint)->trigger();
  PumpFor(50);
  EXPECT_TRUE(w.messages.isEmpty());
}

}  // namespace
