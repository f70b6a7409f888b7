#include "app/MainForm.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QStatusTipEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "app/ActionButton.h"
#include "app/ActionShortcuts.h"
#include "app/ActionTable.h"
#include "app/Chart.h"
#include "app/DialogFilter.h"
#include "app/GraphicSetupForm.h"
#include "app/ElidedLabel.h"
#include "app/ImageList.h"
#include "meter/MeterLogic.h"
#include "app/ParamPage.h"
#include "app/StatusBar.h"
#include "components/AnalogMeter.h"
#include "components/BlinkLED.h"
#include "meter/ModelTables.h"
#include "platform/PrintService.h"
#include "serial/ui/ComTerminal.h"

namespace {

// One button of a row of the bottom notebooks: caption, action, position.
struct TRowButton {
  QString caption;
  std::optional<TAction> action;  // none: the slot stays empty
  int x;
  int width = 75;
};

// Buttons 75 pixels wide, 80 apart from x = 8.
QVector<TRowButton> Slots(const QVector<TRowSlot>& buttons) {
  QVector<TRowButton> row;
  int x = 8;
  for (const TRowSlot& b : buttons) {
    row.append({b.caption, b.action, x});
    x += 80;
  }
  return row;
}

// The device page's rows, one per model in model order.
QVector<QVector<TRowButton>> DeviceRows() {
  QVector<QVector<TRowButton>> rows;
  for (int d = 0; d < DeviceTypeCount; ++d)
    rows.append(Slots(ModelTable(DeviceFromOrdinal(d)).deviceButtons));
  return rows;
}

// The diagram page's rows by the models' grafikPage, each ending in the
// diagram's own four buttons.
QVector<QVector<TRowButton>> GrafikRows() {
  const QVector<TRowSlot> diagram{{"Clear", TAction::acClearGrafik},
                                  {"Setup", TAction::acGrafik},
                                  {"Print", TAction::acPrintGrafik},
                                  {"Save", TAction::acSaveGrafik}};
  QVector<QVector<TRowButton>> rows;
  for (int d = 0; d < DeviceTypeCount; ++d) {
    const TModelTable& t = ModelTable(DeviceFromOrdinal(d));
    if (t.grafikPage < 0) continue;
    if (rows.size() <= t.grafikPage) rows.resize(t.grafikPage + 1);
    rows[t.grafikPage] = Slots(t.grafikButtons + diagram);
  }
  return rows;
}

// Holds a label at the size its layout gives the holder. A label asks its
// layout again for every new text; the value label gets one five times a
// second while a meter streams, and the request would climb to the notebook,
// which repaints itself whole on it: milliseconds each time, enough for the
// receive buffer to fill at the line's limit. The request ends here; the
// layout still sees the label's size hints whenever it lays out.
class TLabelHolder : public QWidget {
 public:
  using QWidget::QWidget;
  QLabel* FLabel = nullptr;
  QSize sizeHint() const override { return FLabel->sizeHint(); }
  QSize minimumSizeHint() const override { return FLabel->minimumSizeHint(); }

 protected:
  void resizeEvent(QResizeEvent*) override { FLabel->setGeometry(rect()); }
};

// The gauge's column is 280 pixels wide.
constexpr int kGaugeMinimumHeight = 180;

QFont TahomaPixels(int pixels) {
  QFont f(QStringLiteral("Tahoma"));
  f.setPixelSize(pixels);
  return f;
}

QFileDialog* MakeFileDialog(QWidget* parent, QFileDialog::AcceptMode mode, const QString& ext) {
  auto* d = new QFileDialog(parent);
  d->setAcceptMode(mode);
  d->setOption(QFileDialog::DontUseNativeDialog);
  d->setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                 : QFileDialog::AnyFile);
  d->setDefaultSuffix(ext);
  d->setWindowModality(Qt::ApplicationModal);
  return d;
}

}  // namespace

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("MainForm"));
  setWindowTitle(QStringLiteral("Telquin"));
  setFont(QFont(QStringLiteral("Tahoma"), 8));

  CreateActions();
  CreateMenus();
  CreateToolBar();

  StatusBar = new TStatusBar(this);
  setStatusBar(StatusBar);

  auto* central = new QWidget(this);
  auto* layout = new QHBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  layout->addWidget(CreateParameterNotebook());

  Notebook = new QTabWidget(central);
  Notebook->setObjectName(QStringLiteral("Notebook"));
  Notebook->tabBar()->setFont(QFont(QStringLiteral("Tahoma"), 8));
  Notebook->addTab(CreateDevicePage(), QStringLiteral("Device"));
  Notebook->addTab(CreateDiagramPage(), QStringLiteral("Diagram"));
  Notebook->addTab(CreateLogPage(), QStringLiteral("Log Window"));
  // The click handler looks at the page now shown, so it runs after the
  // tab bar has switched.
  connect(Notebook->tabBar(), &QTabBar::tabBarClicked, this, [this] {
    QTimer::singleShot(0, this, [this] { NotebookClick(this); });
  });
  layout->addWidget(Notebook, 1);
  setCentralWidget(central);

  FOpenDialog = MakeFileDialog(this, QFileDialog::AcceptOpen, QStringLiteral("txt"));
  FOpenDialog->setObjectName(QStringLiteral("OpenDialog"));
  FOpenDialog->setNameFilters(
      QtNameFilters(QStringLiteral("Text File(*.txt)|*.txt|csv File(*.csv)|*.csv|All Files(*.*)|*.*")));
  FSaveDialog = MakeFileDialog(this, QFileDialog::AcceptSave, QStringLiteral("txt"));
  FSaveDialog->setObjectName(QStringLiteral("SaveDialog"));
  FSaveDialog->setNameFilters(
      QtNameFilters(QStringLiteral("Text File(*.txt)|*.txt|csv File(*.csv)|*.csv")));
  FSavePictureDialog = MakeFileDialog(this, QFileDialog::AcceptSave, QStringLiteral("bmp"));
  FSavePictureDialog->setObjectName(QStringLiteral("SavePictureDialog"));
  FSavePictureDialog->setNameFilters(QtNameFilters(QStringLiteral("Bitmaps (*.bmp)|*.bmp")));

  // The client area without the menu bar is 937 x 667.
  resize(937, 667 + MainMenu1->sizeHint().height());

  FormCreate(QCoreApplication::arguments().mid(1));
}

TMainForm::~TMainForm() = default;

// ---------------------------------------------------------------- building

void TMainForm::CreateActions() {
  FShortcuts = new TActionShortcuts(this);
  for (const TActionDef& d : MainActions()) {
    auto* a = new QAction(QString::fromUtf8(d.caption), this);
    a->setObjectName(ActionName(d.id));
    a->setProperty("category", QString::fromLatin1(d.category));
    a->setShortcut(QKeySequence(QString::fromLatin1(d.shortcut)));
    // Shortcuts work from every part of the window, also for actions that
    // have no visible menu item.
    a->setShortcutContext(Qt::WindowShortcut);
    const QString hint = QString::fromUtf8(d.hint);
    a->setToolTip(hint);
    a->setStatusTip(hint);
    if (d.imageIndex >= 0) {
      a->setIcon(ImageListIcon(d.imageIndex));
      a->setProperty("imageIndex", d.imageIndex);
    }
    a->setVisible(d.visible);
    a->setEnabled(d.enabled);
    // Checked is set by the handlers alone: undo the toggle a click makes
    // on a checkable action before any handler runs.
    connect(a, &QAction::triggered, this, [a] {
      if (a->isCheckable()) a->setChecked(a->property("checkedState").toBool());
    });
    addAction(a);
    FActions[ActionIndex(d.id)] = a;
    FShortcuts->Add(a, d.enabled);
  }
  connect(Action(TAction::acExit), &QAction::triggered, this, [this] { acExitExecute(this); });
  connect(Action(TAction::acResetZoom), &QAction::triggered, this,
          [this] { acResetZoomExecute(this); });
  // Their failures are shown, as those of the meter actions.
  const std::pair<TAction, void (TMainForm::*)(TObject*)> shown[] = {
      {TAction::acGrafik, &TMainForm::acGrafikExecute},
      {TAction::acPrintGrafik, &TMainForm::acPrintGrafikExecute},
      {TAction::acPrint, &TMainForm::acPrintExecute},
      {TAction::acPrinterSetup, &TMainForm::acPrinterSetupExecute},
  };
  for (const auto& [action, handler] : shown)
    BindAction(action, [this, h = handler] { (this->*h)(this); });
}

QAction* TMainForm::Action(TAction action) const {
  if (!HasAction(action)) throw EUnknownAction(action);
  return FActions[ActionIndex(action)];
}

bool TMainForm::HasAction(TAction action) const {
  const int i = ActionIndex(action);
  return i < ActionCount && FActions[i];
}

QVector<QAction*> TMainForm::Actions() const {
  QVector<QAction*> all;
  for (QAction* a : FActions)
    if (a) all.append(a);
  return all;
}

void TMainForm::CreateMenus() {
  MainMenu1 = new QMenuBar(this);
  MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
  setMenuBar(MainMenu1);
  FShortcuts->WatchMenuBar(MainMenu1);
  using enum TAction;
  constexpr std::nullopt_t Separator = std::nullopt;
  auto fill = [this](QMenu* menu, std::initializer_list<std::optional<TAction>> items) {
    for (const std::optional<TAction>& item : items) {
      if (item)
        menu->addAction(Action(*item));
      else
        menu->addSeparator();
    }
  };
  auto menu = [this](const char* title, const char* name) {
    QMenu* m = MainMenu1->addMenu(QString::fromLatin1(title));
    m->setObjectName(QString::fromLatin1(name));
    return m;
  };

  QMenu* file = menu("&File", "File1");
  fill(file, {acOpenPort, Separator, acStartStopLog, acViewFile, Separator, acSaveGrafik,
              acPrintGrafik, Separator, acExit});
  Test1 = file->addAction(QStringLiteral("Test"));
  Test1->setObjectName(QStringLiteral("Test1"));
  Test1->setVisible(false);

  fill(menu("&Parameter", "Parameter1"),
       {acOpen, acSave, acPrint, Separator, acExport, acImport, Separator, acSetStandard,
        acSetProfibus, Separator, acGetParameter, acSetParameter, acBaudrate});
  fill(menu("&Commands", "Commands1"),
       {acDT, acDS, acDJ, acSd, acDW, acDX, acDF, acDM, acVM, acVT, Separator, acLO, acLF, acTP,
        acID, acSO, acBaudrate});
  fill(menu("&Options", "Options1"),
       {acSettings, acGrafik, acPrinterSetup, acDirectory, acSimulation});
  fill(menu("&Help", "Help1"), {acInfo, acDevice});

  PopupMenu_Grafik = new QMenu(this);
  PopupMenu_Grafik->setObjectName(QStringLiteral("PopupMenu_Grafik"));
  fill(PopupMenu_Grafik, {acStop, acDT, acDF, Separator, acClearGrafik, acGrafik,
                          acPrintGrafik, acSaveGrafik, Separator, acZoomIn, acZoomOut,
                          acResetZoom});
  PopupMenu_Log = new QMenu(this);
  PopupMenu_Log->setObjectName(QStringLiteral("PopupMenu_Log"));
  fill(PopupMenu_Log, {acStop, acDT, acDF, Separator, acClearLog, acSaveLog});
}

void TMainForm::CreateToolBar() {
  ToolBar1 = new QToolBar(this);
  ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
  ToolBar1->setMovable(false);
  ToolBar1->setFloatable(false);
  ToolBar1->setIconSize(QSize(16, 16));
  ToolBar1->setMinimumHeight(29);
  ToolBar1->toggleViewAction()->setVisible(false);
  setContextMenuPolicy(Qt::NoContextMenu);
  addToolBar(Qt::TopToolBarArea, ToolBar1);

  auto add = [this](TAction action) { ToolBar1->addAction(Action(action)); };
  auto fontButton = [this](const char* name, const char* hint, int image) {
    auto* b = new QToolButton(ToolBar1);
    b->setObjectName(QString::fromLatin1(name));
    b->setIcon(ImageListIcon(image));
    b->setToolTip(QString::fromLatin1(hint));
    b->setStatusTip(QString::fromLatin1(hint));
    b->setAutoRaise(true);
    ToolBar1->addWidget(b);
    return b;
  };

  add(TAction::acOpen);
  add(TAction::acSave);
  add(TAction::acPrint);
  ToolBar1->addSeparator();
  add(TAction::acGetParameter);
  add(TAction::acSetParameter);
  ToolBar1->addSeparator();
  add(TAction::acExport);
  add(TAction::acImport);
  ToolBar1->addSeparator();
  ToolButton11 = fontButton("ToolButton11", "Terminal Font Size +", 18);
  ToolButton12 = fontButton("ToolButton12", "Terminal Font Size -", 19);
  ToolButton13 = fontButton("ToolButton13", "Terminal Bold Font", 20);
  ToolButton13->setCheckable(true);
  connect(ToolButton11, &QToolButton::clicked, this, [this] { ToolButton11Click(this); });
  connect(ToolButton12, &QToolButton::clicked, this, [this] { ToolButton12Click(this); });
  connect(ToolButton13, &QToolButton::clicked, this, [this] { ToolButton13Click(this); });
  ToolBar1->addSeparator();
  add(TAction::acInfo);
  add(TAction::acDevice);
  add(TAction::acExit);
}

QWidget* TMainForm::CreateParameterNotebook() {
  Notebook_Left = new QStackedWidget(this);
  Notebook_Left->setObjectName(QStringLiteral("Notebook_Left"));
  Notebook_Left->setFixedWidth(224);
  QAction* set = Action(TAction::acSetParameter);
  QAction* get = Action(TAction::acGetParameter);
  for (int d = 0; d < DeviceTypeCount; ++d) {
    const TModelTable& table = ModelTable(static_cast<TDeviceType>(d));
    auto* page = new TParamPage(table, FParamControls, set, get, Notebook_Left);
    page->setObjectName(QStringLiteral("Page_") + QString::number(d));
    Notebook_Left->addWidget(page);
  }
  return Notebook_Left;
}

namespace {

// A bottom row of buttons at fixed places, 41 pixels high.
QWidget* ButtonRow(QWidget* parent, const QVector<TRowButton>& buttons, const TMainForm& form) {
  auto* row = new QWidget(parent);
  row->setFixedHeight(41);
  int right = 0;
  for (const TRowButton& b : buttons) {
    if (!b.action) continue;
    auto* button = new TActionButton(b.caption, form.Action(*b.action), row);
    button->setGeometry(b.x, 8, b.width, 25);
    right = std::max(right, b.x + b.width + 8);
  }
  row->setMinimumWidth(right);
  return row;
}

QStackedWidget* ButtonNotebook(QWidget* parent, const QString& name,
                               const QVector<QVector<TRowButton>>& rows,
                               const TMainForm& form) {
  auto* notebook = new QStackedWidget(parent);
  notebook->setObjectName(name);
  notebook->setFixedHeight(41);
  for (const auto& r : rows) notebook->addWidget(ButtonRow(notebook, r, form));
  return notebook;
}

}  // namespace

QWidget* TMainForm::CreateDevicePage() {
  auto* page = new QWidget(this);
  auto* v = new QVBoxLayout(page);
  v->setContentsMargins(4, 4, 4, 0);
  v->setSpacing(4);

  gb_length = new QGroupBox(QStringLiteral("Serial Interface"), page);
  gb_length->setObjectName(QStringLiteral("gb_length"));
  gb_length->setFixedHeight(105);
  // A line of any length is shown cut, the window keeps its width.
  auto* holder = new TLabelHolder(gb_length);
  lb_input = new TElidedLabel(holder);
  holder->FLabel = lb_input;
  lb_input->setText(QStringLiteral("-"));
  lb_input->setObjectName(QStringLiteral("lb_input"));
  lb_input->setFont(TahomaPixels(48));
  lb_input->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  lb_input->setTextFormat(Qt::PlainText);
  auto* gl = new QVBoxLayout(gb_length);
  gl->addWidget(holder);
  v->addWidget(gb_length);

  auto* centre = new QHBoxLayout;
  centre->setSpacing(4);
  auto* left = new QWidget(page);
  left->setFixedWidth(280);
  auto* lv = new QVBoxLayout(left);
  lv->setContentsMargins(0, 0, 0, 0);
  auto* analog = new QGroupBox(QStringLiteral("Analog Output Calculator"), left);
  AnalogMeter = new TAnalogMeter(analog);
  AnalogMeter->setObjectName(QStringLiteral("AnalogMeter"));
  AnalogMeter->SetFont(TahomaPixels(11));
  AnalogMeter->SetShowFrame(false);
  AnalogMeter->SetEnableZoneEvents(false);
  AnalogMeter->SetFactor(pThousend);
  AnalogMeter->SetCaption(QStringLiteral("mA"));
  AnalogMeter->SetMax(21000);
  AnalogMeter->SetMin(3000);
  AnalogMeter->SetValue(3000);
  AnalogMeter->SetTickCount(19);
  AnalogMeter->SetHighZone(20001);
  AnalogMeter->SetLowZone(3999);
  AnalogMeter->SetLowZoneColor(clRed);
  // The scale is drawn to the control's shape; flatter than about two to
  // three its tick labels, needle and value run into each other, so the
  // window stops growing smaller instead.
  AnalogMeter->setMinimumHeight(kGaugeMinimumHeight);
  auto* al = new QVBoxLayout(analog);
  al->addWidget(AnalogMeter);
  lv->addWidget(analog, 3);
  lv->addWidget(CreateOutputs(), 2);
  centre->addWidget(left);

  auto* terminalBox = new QGroupBox(QStringLiteral("Terminal"), page);
  auto* tl = new QVBoxLayout(terminalBox);
  ComTerminal = new TComTerminal(terminalBox);
  ComTerminal->setObjectName(QStringLiteral("ComTerminal"));
  ComTerminal->SetName(ComTerminal->objectName());
  ComTerminal->BeginLoading();
  ComTerminal->SetEmulation(teNone);
  ComTerminal->SetColor(clWhite);
  ComTerminal->SetFontColor(clBlack);
  ComTerminal->SetFont(QFont(QStringLiteral("Courier New"), 8));
  ComTerminal->SetLocalEcho(true);
  ComTerminal->SetRows(34);
  ComTerminal->SetScrollBars(ssVertical);
  ComTerminal->SetBorderStyle(bsNone);  // the group box frames it
  ComTerminal->SetCaret(tcUnderline);
  ComTerminal->SetWrapLines(true);
  ComTerminal->EndLoading();
  tl->addWidget(ComTerminal);
  centre->addWidget(terminalBox, 1);
  v->addLayout(centre, 1);

  Notebook_Device =
      ButtonNotebook(page, QStringLiteral("Notebook_Device"), DeviceRows(), *this);
  v->addWidget(Notebook_Device);
  return page;
}

QWidget* TMainForm::CreateOutputs() {
  auto* digital = new QGroupBox(QStringLiteral("Digital Output Calculation"));
  auto* grid = new QGridLayout(digital);
  grid->setColumnStretch(2, 1);
  grid->setRowStretch(3, 1);
  grid->setHorizontalSpacing(12);
  QLabel** labels[] = {&lb_Output1, &lb_Output2, &lb_Output3};
  TBlinkLED** leds[] = {&LED1, &LED2, &LED3};
  for (int i = 0; i < 3; ++i) {
    auto* label = new QLabel(QStringLiteral("Output %1").arg(i + 1), digital);
    label->setObjectName(QStringLiteral("lb_Output%1").arg(i + 1));
    auto* led = new TBlinkLED(digital);
    led->setObjectName(QStringLiteral("LED%1").arg(i + 1));
    led->SetName(led->objectName());
    led->SetIsBlinking(false);
    led->SetLEDColorOn(clYellow);
    led->SetLEDColorOff(clBtnFace);
    led->SetIsOn(false);
    led->SetRadius(10);
    grid->addWidget(label, i, 0);
    grid->addWidget(led, i, 1);
    *labels[i] = label;
    *leds[i] = led;
  }
  // The clipboard carrier; never shown.
  Memo1 = new QPlainTextEdit(QStringLiteral("invisible Memo1"), digital);
  Memo1->setObjectName(QStringLiteral("Memo1"));
  Memo1->setVisible(false);
  return digital;
}

QWidget* TMainForm::CreateDiagramPage() {
  auto* page = new QWidget(this);
  auto* v = new QVBoxLayout(page);
  v->setContentsMargins(0, 0, 0, 0);
  v->setSpacing(0);
  Chart1 = new TChart(page);
  Chart1->setObjectName(QStringLiteral("Chart1"));
  Chart1->SetPopupMenu(PopupMenu_Grafik);
  Chart1->OnMouseMove = [this](TChart*, const QPoint& pos) { Chart1MouseMove(this, pos); };
  v->addWidget(Chart1, 1);
  Notebook_Grafik =
      ButtonNotebook(page, QStringLiteral("Notebook_Grafik"), GrafikRows(), *this);
  v->addWidget(Notebook_Grafik);
  return page;
}

QWidget* TMainForm::CreateLogPage() {
  auto* page = new QWidget(this);
  auto* v = new QVBoxLayout(page);
  v->setContentsMargins(0, 0, 0, 0);
  v->setSpacing(0);
  Memo_Log = new QPlainTextEdit(page);
  Memo_Log->setObjectName(QStringLiteral("Memo_Log"));
  Memo_Log->setFont(QFont(QStringLiteral("Courier New"), 8));
  Memo_Log->setLineWrapMode(QPlainTextEdit::NoWrap);
  Memo_Log->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo_Log->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(Memo_Log, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& pos) { PopupMenu_Log->popup(Memo_Log->mapToGlobal(pos)); });
  v->addWidget(Memo_Log, 1);
  v->addWidget(ButtonRow(page,
                         {{"STOP", TAction::acStop, 8},
                          {"Clear Log Window", TAction::acClearLog, 88, 121},
                          {"Save Log Window", TAction::acSaveLog, 216, 121},
                          {"Start/Stop Log File", TAction::acStartStopLog, 343, 121}},
                         *this));
  return page;
}

// ---------------------------------------------------------------- handlers

void TMainForm::acExitExecute(TObject*) { close(); }

void TMainForm::acResetZoomExecute(TObject*) { Chart1->UndoZoom(); }

void TMainForm::SetGraphicSetupForm(TGraphicSetupForm* form) {
  FGraphicSetupForm = form;
  OnChartPointNumber = [form] { return form ? form->XNumber() : 250; };
}

void TMainForm::acGrafikExecute(TObject*) {
  if (FGraphicSetupForm)
    FGraphicSetupForm->ShowModal([this](QDialog& dialog) { return ExecDialog(dialog); });
}

int TMainForm::ExecDialog(QDialog& dialog) {
  return OnModalDialog ? OnModalDialog(dialog) : dialog.exec();
}

void TMainForm::AppHint(const QString& hint) {
  if (hint.isEmpty()) {
    StatusBar->SetSimplePanel(false);
  } else {
    StatusBar->SetSimplePanel(true);
    StatusBar->SetSimpleText(hint);
  }
}

QString TMainForm::GetSpecialFolderPath(int Folder) {
  switch (Folder) {
    case 5: return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    case 39: return QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    default: return {};
  }
}

void TMainForm::NotebookClick(TObject*) {
  switch (Notebook->currentIndex()) {
    case 0:
      ComTerminal->setFocus();
      break;
    case 1:
      if (Chart1->isVisible()) Chart1->setFocus();
      break;
    case 2:
      BeginBusyCursor();
      if (OnLogWindowSelected) OnLogWindowSelected();
      FocusLogMemo();
      EndBusyCursor();
      break;
    default:
      break;
  }
}

void TMainForm::ToolButton11Click(TObject*) {
  QFont f = ComTerminal->font();
  f.setPointSize(std::min(f.pointSize() + 2, 20));
  ComTerminal->setFont(f);
}

void TMainForm::ToolButton12Click(TObject*) {
  QFont f = ComTerminal->font();
  f.setPointSize(std::max(f.pointSize() - 2, 8));
  ComTerminal->setFont(f);
}

void TMainForm::ToolButton13Click(TObject*) {
  QFont f = ComTerminal->font();
  f.setBold(ToolButton13->isChecked());
  ComTerminal->setFont(f);
}

void TMainForm::Chart1MouseMove(TObject*, const QPoint& pos) {
  if (!Chart1->PlotRect().contains(pos)) return;
  const QPointF v = Chart1->MouseToAxis(pos);
  Chart1->SetTitle(QStringLiteral("x=") + TChart::LabelValue(v.x()) + QStringLiteral(" y=") +
                   TChart::LabelValue(v.y()));
}

void TMainForm::SetPictureDialogInitialDir(const QString& dir) {
  FSavePictureDialog->setDirectory(dir);
}

void TMainForm::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  // Window managers keep a window at the minimum size its layouts need; a
  // resize that ignores that hint (none running, or one that does not honour
  // it) would lay the groups over each other, so the window takes it back.
  const QSize least = size().expandedTo(minimumSize());
  if (least != size())
    QTimer::singleShot(0, this, [this] { resize(size().expandedTo(minimumSize())); });
}

bool TMainForm::event(QEvent* event) {
  // The hint of whatever the mouse is over (toolbar, menu item, control)
  // arrives here; an empty one when it leaves.
  if (event->type() == QEvent::StatusTip) {
    AppHint(static_cast<QStatusTipEvent*>(event)->tip());
    return true;
  }
  return QMainWindow::event(event);
}

// ---------------------------------------------------------------- IMeterView

void TMainForm::SetStatusText(int panel, const QString& text) { StatusBar->SetPanelText(panel, text); }

QString TMainForm::StatusText(int panel) const { return StatusBar->PanelText(panel); }

void TMainForm::SetCaption(const QString& caption) { setWindowTitle(caption); }

void TMainForm::SetActionEnabled(TAction action, bool on) {
  FShortcuts->SetEnabled(Action(action), on);
}

bool TMainForm::ActionEnabled(TAction action) const { return FShortcuts->Enabled(Action(action)); }

void TMainForm::SetActionVisible(TAction action, bool on) {
  FShortcuts->SetVisible(Action(action), on);
}

void TMainForm::SetActionChecked(TAction action, bool on) {
  QAction* a = Action(action);
  a->setProperty("checkedState", on);
  if (on) a->setCheckable(true);
  a->setChecked(on);
}

bool TMainForm::ActionChecked(TAction action) const { return Action(action)->isChecked(); }

void TMainForm::SetActionCaption(TAction action, const QString& caption) {
  Action(action)->setText(caption);
}

void TMainForm::ShowModelPages(int parameterPage, int deviceButtons, int diagramButtons) {
  Notebook_Left->setCurrentIndex(parameterPage);
  Notebook_Device->setCurrentIndex(deviceButtons);
  if (diagramButtons >= 0) Notebook_Grafik->setCurrentIndex(diagramButtons);
}

void TMainForm::SetNotebookPage(int page) { Notebook->setCurrentIndex(page); }

int TMainForm::NotebookPage() const { return Notebook->currentIndex(); }

void TMainForm::SetInputCaption(const QString& text) { lb_input->setText(text); }

void TMainForm::SetInputRed(bool red) {
  QPalette p = lb_input->palette();
  p.setColor(QPalette::WindowText,
             red ? QColor(Qt::red) : palette().color(QPalette::WindowText));
  lb_input->setPalette(p);
}

void TMainForm::SetGaugeRanges(const TGaugeRanges& r) {
  AnalogMeter->SetMax(r.Max);
  AnalogMeter->SetMin(r.Min);
  AnalogMeter->SetHighZone(r.HighZone);
  AnalogMeter->SetHighZoneColor(r.HighZoneColor);
  AnalogMeter->SetLowZone(r.LowZone);
  AnalogMeter->SetLowZoneColor(r.LowZoneColor);
  AnalogMeter->SetTickCount(r.TickCount);
}

void TMainForm::SetGaugeValue(int microampere) { AnalogMeter->SetValue(microampere); }

void TMainForm::SetLed(int index, bool on) {
  TBlinkLED* leds[] = {LED1, LED2, LED3};
  if (index >= 1 && index <= 3) leds[index - 1]->SetIsOn(on);
}

void TMainForm::SetOutputVisible(int index, bool on) {
  QLabel* labels[] = {lb_Output1, lb_Output2, lb_Output3};
  TBlinkLED* leds[] = {LED1, LED2, LED3};
  if (index < 1 || index > 3) return;
  labels[index - 1]->setVisible(on);
  leds[index - 1]->setVisible(on);
}

void TMainForm::ChartClear() { Chart1->Clear(); }
void TMainForm::ChartAddXY(double x, double y) { Chart1->AddXY(x, y); }
void TMainForm::ChartAddNullXY(double x, double y) { Chart1->AddNullXY(x, y); }
int TMainForm::ChartCount() const { return Chart1->Count(); }
void TMainForm::ChartDelete(int index) { Chart1->Delete(index); }
void TMainForm::ChartUndoZoom() { Chart1->UndoZoom(); }
void TMainForm::ChartZoomPercent(double percent) { Chart1->ZoomPercent(percent); }

bool TMainForm::ChartSaveToBitmapFile(const QString& fileName) {
  return Chart1->SaveToBitmapFile(fileName);
}

int TMainForm::ChartPointNumber() const {
  return OnChartPointNumber ? OnChartPointNumber() : 250;
}

void TMainForm::TerminalWrite(const QByteArray& bytes) {
  ComTerminal->WriteStr(QString::fromLatin1(bytes));
}

void TMainForm::TerminalClear() { ComTerminal->ClearScreen(); }

void TMainForm::SetLogMemo(const QStringList& lines) {
  Memo_Log->setPlainText(lines.join(QLatin1Char('\n')));
}

QStringList TMainForm::LogMemo() const {
  const QString text = Memo_Log->toPlainText();
  return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

void TMainForm::FocusLogMemo() { Memo_Log->setFocus(); }

void TMainForm::SetMemo1Text(const QString& text) { Memo1->setPlainText(text); }

QString TMainForm::ClipboardText() const { return QGuiApplication::clipboard()->text(); }

void TMainForm::SetClipboardText(const QString& text) {
  QGuiApplication::clipboard()->setText(text);
}

void TMainForm::BeginBusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }

void TMainForm::EndBusyCursor() {
  if (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
}

std::optional<QString> TMainForm::RunFileDialog(QFileDialog* dialog, const FileDialogOptions& o) {
  if (!o.initialDir.isEmpty()) dialog->setDirectory(o.initialDir);
  dialog->setDefaultSuffix(o.defaultExt);
  if (!o.filter.isEmpty()) {
    const QStringList filters = QtNameFilters(o.filter);
    dialog->setNameFilters(filters);
    if (o.filterIndex >= 1 && o.filterIndex <= filters.size())
      dialog->selectNameFilter(filters[o.filterIndex - 1]);
  }
  if (ExecDialog(*dialog) != QDialog::Accepted) return std::nullopt;
  const QStringList files = dialog->selectedFiles();
  if (files.isEmpty()) return std::nullopt;
  return files.first();
}

std::optional<QString> TMainForm::ExecuteSaveDialog(const FileDialogOptions& o) {
  return RunFileDialog(FSaveDialog, o);
}

std::optional<QString> TMainForm::ExecuteOpenDialog(const FileDialogOptions& o) {
  return RunFileDialog(FOpenDialog, o);
}

std::optional<QString> TMainForm::ExecuteSavePictureDialog() {
  return RunFileDialog(FSavePictureDialog, {{}, QStringLiteral("bmp"), {}, 1});
}

void TMainForm::ShowMessage(const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), text, QMessageBox::Ok,
                  this);
  ExecDialog(box);
}

void TMainForm::ShowError(const QString& text) {
  QMessageBox box(QMessageBox::Critical, QStringLiteral("Error"), text, QMessageBox::Ok, this);
  ExecDialog(box);
}

std::optional<QString> TMainForm::InputBox(const QString& caption, const QString& prompt,
                                           const QString& value) {
  QInputDialog dialog(this);
  dialog.setWindowTitle(caption);
  dialog.setLabelText(prompt);
  dialog.setTextValue(value);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.textValue();
}

bool TMainForm::OpenWithShell(const QString& fileName, QString* error) {
  if (QDesktopServices::openUrl(QUrl::fromLocalFile(fileName))) return true;
  if (error) *error = QStringLiteral("No application is associated with \"%1\".").arg(fileName);
  return false;
}

namespace {
// An empty folder setting means the dialogs' default: where a new file
// dialog starts.
QString StartFolder(const std::function<QString()>& setting) {
  const QString dir = setting ? setting() : QString();
  return dir.isEmpty() ? QDir::currentPath() : dir;
}
}  // namespace

QString TMainForm::DirParameter() const { return StartFolder(OnDirParameter); }

QString TMainForm::DirLogFile() const { return StartFolder(OnDirLogFile); }
