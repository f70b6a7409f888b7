// The window's own behaviour: start state, status bar, hints, terminal font
// buttons, notebook clicks, shell folders, dialogs and what the meter logic
// writes through the view interface.
#include <gtest/gtest.h>

#include "app/QtPrinters.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QStatusTipEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "app/Chart.h"
#include "app/DialogFilter.h"
#include "app/MainForm.h"
#include "app/StatusBar.h"
#include "components/AnalogMeter.h"
#include "components/BlinkLED.h"
#include "serial/ui/ComTerminal.h"
#include "support/EventLoop.h"

namespace {

TEST(MainForm, StartsAsTheLayoutSays) {
  TMainForm form;
  EXPECT_EQ(form.windowTitle(), "Telquin");
  EXPECT_EQ(form.NotebookPage(), 0);
  EXPECT_EQ(form.lb_input->text(), "-");
  EXPECT_EQ(form.Memo1->toPlainText(), "invisible Memo1");
  EXPECT_TRUE(form.Memo1->isHidden());
  EXPECT_EQ(form.Notebook_Device->count(), 5);
  EXPECT_EQ(form.Notebook_Grafik->count(), 4);
  for (TBlinkLED* led : {form.LED1, form.LED2, form.LED3}) {
    EXPECT_FALSE(led->IsOn());
    EXPECT_FALSE(led->IsBlinking());
  }
  // The gauge's zones sit just inside 4 and 20 mA of a 3..21 mA scale.
  EXPECT_EQ(form.AnalogMeter->Value(), 3000);
  EXPECT_EQ(form.AnalogMeter->LowZone(), 3999);
  EXPECT_EQ(form.AnalogMeter->HighZone(), 20001);
  EXPECT_FALSE(form.StatusBar->SimplePanel());
}

// The colour in the middle of the left edge of status panel 0, as drawn.
QColor Panel0Fill(TMainForm& form) {
  QWidget* panel = form.StatusBar->Panel(0);
  const QImage image = panel->grab().toImage();
  return image.pixelColor(3, image.height() - 4);
}

TEST(MainForm, PanelZeroIsRedWhileItNamesThePlaceholderPort) {
  TMainForm form;
  form.show();
  const QColor face = form.palette().color(QPalette::Button);
  struct Case {
    const char* text;
    bool red;
  } cases[] = {{" COMx:Offline", true},
               {" COM1:9600,8,None,1,None", false},
               {"xCOMx", true},
               {" comx:Offline", false},
               {"", false}};
  for (const Case& c : cases) {
    form.SetStatusText(0, c.text);
    EXPECT_EQ(form.StatusText(0), c.text);
    EXPECT_EQ(Panel0Fill(form), c.red ? QColor(Qt::red) : face) << c.text;
  }
}

TEST(MainForm, AHintTakesTheWholeStatusBarUntilItIsEmpty) {
  TMainForm form;
  form.SetStatusText(2, " Get Parameter ok");
  form.AppHint("Exit Program");
  EXPECT_TRUE(form.StatusBar->SimplePanel());
  EXPECT_EQ(form.StatusBar->SimpleText(), "Exit Program");
  form.AppHint("");
  EXPECT_FALSE(form.StatusBar->SimplePanel());
  EXPECT_EQ(form.StatusText(2), " Get Parameter ok");

  // The mouse entering and leaving a toolbar button.
  QWidget* exit = form.ToolBar1->widgetForAction(form.Action(TAction::acExit));
  ASSERT_NE(exit, nullptr);
  QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
  QApplication::sendEvent(exit, &enter);
  EXPECT_TRUE(form.StatusBar->SimplePanel());
  EXPECT_EQ(form.StatusBar->SimpleText(), "Exit Program");
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(exit, &leave);
  EXPECT_FALSE(form.StatusBar->SimplePanel());
}

TEST(MainForm, TerminalFontButtonsStepBetweenEightAndTwenty) {
  TMainForm form;
  EXPECT_EQ(form.ComTerminal->font().pointSize(), 8);
  QList<int> sizes;
  for (int i = 0; i < 7; ++i) {
    form.ToolButton11->click();
    sizes << form.ComTerminal->font().pointSize();
  }
  EXPECT_EQ(sizes, QList<int>({10, 12, 14, 16, 18, 20, 20}));
  sizes.clear();
  for (int i = 0; i < 7; ++i) {
    form.ToolButton12->click();
    sizes << form.ComTerminal->font().pointSize();
  }
  EXPECT_EQ(sizes, QList<int>({18, 16, 14, 12, 10, 8, 8}));
  form.ToolButton13->click();
  EXPECT_TRUE(form.ComTerminal->font().bold());
  form.ToolButton11->click();
  EXPECT_TRUE(form.ComTerminal->font().bold());
  form.ToolButton13->click();
  EXPECT_FALSE(form.ComTerminal->font().bold());
}

// The first row of the terminal's screen, trailing blanks cut.
QString FirstRow(TComTerminal* t) {
  QBuffer b;
  b.open(QIODevice::WriteOnly);
  t->SaveToStream(b);
  return QString::fromLatin1(b.data().split('\r').value(0)).trimmed();
}

TEST(MainForm, TerminalIsSetUpAndShowsWhatIsWritten) {
  TMainForm form;
  TComTerminal* t = form.ComTerminal;
  EXPECT_EQ(t->Emulation(), teNone);
  EXPECT_EQ(t->Color(), clWhite);
  EXPECT_TRUE(t->LocalEcho());
  EXPECT_TRUE(t->WrapLines());
  EXPECT_EQ(t->Caret(), tcUnderline);
  EXPECT_EQ(t->ScrollBars(), ssVertical);
  EXPECT_EQ(t->BorderStyle(), bsNone);
  EXPECT_EQ(t->frameWidth(), 0);
  form.TerminalWrite("12.345\xB0");
  EXPECT_EQ(FirstRow(t), QString::fromLatin1("12.345\xB0"));
  form.TerminalClear();
  EXPECT_EQ(FirstRow(t), "");
}

TEST(MainForm, TerminalShowsTheNewestOfTwoHundredLines) {
  TMainForm form;
  form.show();
  QApplication::processEvents();
  TComTerminal* t = form.ComTerminal;
  const int visible = t->viewport()->height() / t->FontHeight();
  ASSERT_LT(visible, t->Rows()) << "the pane shows all 48 rows: nothing to follow";
  for (int i = 1; i <= 200; ++i) form.TerminalWrite("line " + QByteArray::number(i) + "\r\n");
  // The newest line sits just above the cursor, inside the view.
  const int newest = t->CaretPos().y() - 1;
  EXPECT_EQ(t->Buffer().GetChar(6, newest).Ch, u'2');
  EXPECT_GE(newest, t->TopLeft().y());
  EXPECT_LE(newest, t->TopLeft().y() + visible - 1);
}

TEST(MainForm, ShellFoldersByNumber) {
  EXPECT_EQ(TMainForm::GetSpecialFolderPath(5),
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
  EXPECT_EQ(TMainForm::GetSpecialFolderPath(39),
            QStandardPaths::writableLocation(QStandardPaths::PicturesLocation));
  EXPECT_FALSE(TMainForm::GetSpecialFolderPath(5).isEmpty());
  for (int unknown : {-1, 4, 9999}) EXPECT_EQ(TMainForm::GetSpecialFolderPath(unknown), "");
}

TEST(MainForm, LogWindowPageCopiesTheLogUnderTheHourglassAndFocusesTheMemo) {
  TMainForm form;
  form.show();
  form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  bool busy = false;
  form.OnLogWindowSelected = [&] {
    busy = QApplication::overrideCursor() &&
           QApplication::overrideCursor()->shape() == Qt::WaitCursor;
    form.SetLogMemo({"Time;Value", "0.000;1.5"});
  };
  // A click on the tab.
  QTabBar* tabs = form.Notebook->tabBar();
  QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(2).center());
  QApplication::processEvents();
  EXPECT_EQ(form.NotebookPage(), 2);
  EXPECT_TRUE(busy);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(form.LogMemo(), QStringList({"Time;Value", "0.000;1.5"}));
  EXPECT_EQ(QApplication::focusWidget(), form.Memo_Log);

  form.SetNotebookPage(0);
  form.NotebookClick(&form);
  EXPECT_EQ(QApplication::focusWidget(), form.ComTerminal);
}

// The value label gets a new text five times a second while a meter streams.
// That must repaint the label, not lay out and repaint the whole notebook
// (milliseconds each time: long enough for the receive buffer to fill).
TEST(MainForm, NewValuesRepaintTheLabelOnlyAndItKeepsFollowingItsBox) {
  TMainForm form;
  form.resize(900, 650);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  PumpFor(100);
  struct Watch : QObject {
    TMainForm* form;
    int layouts = 0, elsewhere = 0;  // paints away from the label
    bool eventFilter(QObject* o, QEvent* e) override {
      if (e->type() == QEvent::LayoutRequest && (o == form->Notebook || o == form)) ++layouts;
      if (e->type() == QEvent::Paint && (o == form->ComTerminal || o == form->AnalogMeter)) ++elsewhere;
      return false;
    }
  } watch;
  watch.form = &form;
  qApp->installEventFilter(&watch);
  for (int i = 0; i < 5; ++i) {
    form.SetInputCaption(QStringLiteral("D %1.%2").arg(4990 + i * 7).arg(i * 111));
    PumpFor(30);
  }
  qApp->removeEventFilter(&watch);
  EXPECT_EQ(form.lb_input->text(), "D 5018.444");
  EXPECT_EQ(watch.layouts, 0);
  EXPECT_EQ(watch.elsewhere, 0);

  // It still takes the width its group box gets.
  const int before = form.lb_input->width();
  form.resize(form.width() + 120, form.height());
  EXPECT_TRUE(PumpUntil([&] { return form.lb_input->width() > before; }));
  EXPECT_EQ(form.lb_input->size(), form.lb_input->parentWidget()->size());
  EXPECT_GT(form.lb_input->parentWidget()->width(), form.gb_length->width() - 40);
}

TEST(MainForm, ViewInterfaceReachesTheWidgets) {
  TMainForm form;
  form.SetLogMemo({});
  EXPECT_TRUE(form.LogMemo().isEmpty());
  form.SetMemo1Text("SA=1\nSF=10");
  EXPECT_EQ(form.Memo1->toPlainText(), "SA=1\nSF=10");
  form.SetClipboardText("ST=3");
  EXPECT_EQ(form.ClipboardText(), "ST=3");

  form.SetInputRed(true);
  EXPECT_EQ(form.lb_input->palette().color(QPalette::WindowText), QColor(Qt::red));
  form.SetInputRed(false);
  EXPECT_NE(form.lb_input->palette().color(QPalette::WindowText), QColor(Qt::red));
  form.SetOutputVisible(3, false);
  EXPECT_TRUE(form.LED3->isHidden());
  EXPECT_TRUE(form.lb_Output3->isHidden());

  form.Notebook_Grafik->setCurrentIndex(2);
  form.ShowModelPages(4, 4, -1);
  EXPECT_EQ(form.Notebook_Left->currentIndex(), 4);
  EXPECT_EQ(form.Notebook_Grafik->currentIndex(), 2);

  // The hourglass calls nest.
  form.BeginBusyCursor();
  form.BeginBusyCursor();
  form.EndBusyCursor();
  EXPECT_NE(QApplication::overrideCursor(), nullptr);
  form.EndBusyCursor();
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  form.EndBusyCursor();  // one too many does no harm

  EXPECT_EQ(form.ChartPointNumber(), 250);
  form.OnChartPointNumber = [] { return 10; };
  EXPECT_EQ(form.ChartPointNumber(), 10);
}

TEST(MainForm, ResetZoomUndoesTheChartZoom) {
  TMainForm form;
  form.ChartAddXY(0, 0);
  form.ChartAddXY(10, 40);
  form.ChartZoomPercent(200);
  ASSERT_TRUE(form.Chart1->Zoomed());
  form.Action(TAction::acResetZoom)->trigger();
  EXPECT_FALSE(form.Chart1->Zoomed());
  EXPECT_DOUBLE_EQ(form.Chart1->BottomAxisMaximum(), 10);
}

TEST(MainForm, FileDialogFiltersInQtForm) {
  EXPECT_EQ(QtNameFilters("Text File(*.txt)|*.txt|csv File(*.csv)|*.csv|All Files(*.*)|*.*"),
            QStringList({"Text File(*.txt)", "csv File(*.csv)", "All Files(*.*) (*)"}));
  EXPECT_EQ(QtNameFilters("Pictures|*.bmp;*.png"), QStringList({"Pictures (*.bmp *.png)"}));
  EXPECT_TRUE(QtNameFilters("").isEmpty());
}

// Answers the next modal file dialog: checks what it offers, then picks
// `name` or cancels.
void AnswerFileDialog(const QString& name, QString* filter, QString* dir) {
  QTimer::singleShot(0, [=] {
    auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!d) return;
    *filter = d->selectedNameFilter();
    *dir = d->directory().absolutePath();
    if (name.isEmpty()) {
      d->reject();
    } else {
      d->selectFile(name);
      QMetaObject::invokeMethod(d, "accept");
    }
  });
}

TEST(MainForm, SaveDialogStartsInTheFolderWithTheFilterAndAddsTheExtension) {
  QTemporaryDir tmp;
  TMainForm form;
  QString filter, dir;
  AnswerFileDialog(tmp.filePath("log"), &filter, &dir);
  const auto chosen = form.ExecuteSaveDialog(
      {tmp.path(), "csv", "Text File(*.txt)|*.txt|csv File(*.csv)|*.csv", 2});
  EXPECT_EQ(filter, "csv File(*.csv)");
  EXPECT_EQ(dir, QDir(tmp.path()).absolutePath());
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(*chosen, tmp.filePath("log.csv"));

  AnswerFileDialog("", &filter, &dir);
  EXPECT_FALSE(form.ExecuteOpenDialog({tmp.path(), "txt", "", 1}).has_value());
}

}  // namespace
