#include "serial/ui/CustomComTerminal.h"

#include <QFontDialog>
#include <QGuiApplication>
#include <QIODevice>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleHints>
#include <algorithm>
#include <optional>

#include "platform/AppException.h"
#include "serial/ComPort.h"
#include "serial/EscapeCodesVT100.h"
#include "serial/EscapeCodesVT52.h"

// Keeps the caret out of the way while text is put on the screen.
class TCustomComTerminal::CaretHider {
 public:
  explicit CaretHider(TCustomComTerminal* t) : FTerminal(t) { FTerminal->HideCaret(); }
  ~CaretHider() { FTerminal->ShowCaret(); }
  CaretHider(const CaretHider&) = delete;
  CaretHider& operator=(const CaretHider&) = delete;

 private:
  TCustomComTerminal* FTerminal;
};

const QString& TCustomComTerminal::DefaultFontName() {
  static const QString name = QStringLiteral("Fixedsys");
  return name;
}

QFont TCustomComTerminal::DefaultFont() {
  QFont f(DefaultFontName(), 9);
  f.setStyleHint(QFont::TypeWriter);  // so the substitute is a fixed-pitch font too
  return f;
}

TCustomComTerminal::TCustomComTerminal(QWidget* parent)
    : QAbstractScrollArea(parent), FComLink(std::make_unique<TComLink>()) {
  FComLink->OnRxBuf = [this](TObject*, const char* Buffer, int Count) { RxBuf(Buffer, Count); };
  FScreen.SetFontColor(DefaultFontColor);
  FScreen.OnDamage = [this](const TTermDamage& Damage) { ScreenChanged(Damage); };
  FScreen.OnChar = [this](QChar Ch) {
    if (OnChar) OnChar(this, Ch);
  };
  FScreen.OnUnhandledCode = [this](TEscapeCode Code, const QString& Data) {
    if (OnUnhandledCode) OnUnhandledCode(this, Code, Data);
  };
  FScreen.OnReply = [this](const QString& Str) {
    if (PortConnected()) PortWriteStr(Str);
  };
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);  // paintEvent covers every pixel
  for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()}) {
    bar->setSingleStep(1);
    bar->setTracking(FSmoothScroll);
  }
  setFocusPolicy(Qt::StrongFocus);
  ApplyFrame();
  ApplyScrollBarPolicy();
  resize(400, 250);
  setFont(DefaultFont());
  FontChanged();
}

TCustomComTerminal::~TCustomComTerminal() { SetComPort(nullptr); }

void TCustomComTerminal::Loaded() {
  TComponent::Loaded();
  CreateEscapeCodes();
  if (!IsDesigning()) {
    FScreen.Init();
    MoveCaret(CaretPos().x(), CaretPos().y());
  }
}

void TCustomComTerminal::CreateEscapeCodes() {
  if (IsDesigning()) return;
  FScreen.SetEscapeCodes(nullptr);
  switch (FEmulation) {
    case teVT100orANSI: FScreen.SetEscapeCodes(std::make_unique<TEscapeCodesVT100>()); break;
    case teVT52: FScreen.SetEscapeCodes(std::make_unique<TEscapeCodesVT52>()); break;
    case teNone: {
      TEscapeCodes* codes = nullptr;
      if (OnGetEscapeCodes) OnGetEscapeCodes(this, codes);
      FScreen.SetEscapeCodes(std::unique_ptr<TEscapeCodes>(codes));
      break;
    }
  }
}

// ---------------------------------------------------------------- grid and text in

void TCustomComTerminal::ClearScreen() { FScreen.ClearScreen(); }

void TCustomComTerminal::MoveCaret(int X, int Y) { FScreen.MoveCaret(X, Y); }

void TCustomComTerminal::PutChar(QChar Ch) { FScreen.PutChar(Ch); }

void TCustomComTerminal::Write(const QChar* Buffer, int Count) {
  CaretHider hider(this);
  FScreen.Write(Buffer, Count);
}

void TCustomComTerminal::WriteStr(const QString& Str) {
  const QString text = Str;  // a handler may change the caller's string meanwhile
  Write(text.constData(), static_cast<int>(text.size()));
}

void TCustomComTerminal::RxBuf(const char* Buffer, int Count) {
  QString str = QString::fromLatin1(Buffer, std::max(Count, 0));
  if (FForce7Bit) {
    for (QChar& c : str) c = QChar(c.unicode() & 0x7F);
  }
  if (FAppendLF) str.replace(QChar(13), QStringLiteral("\r\n"));
  if (OnStrRecieved) OnStrRecieved(this, str);
  WriteStr(str);
}

void TCustomComTerminal::WriteEscCode(TEscapeCode Code, const QStringList& Params) {
  FScreen.WriteEscCode(Code, Params);
}

bool TCustomComTerminal::ExecuteEscapeCode(TEscapeCode Code, const QStringList& Params) {
  return FScreen.ExecuteEscapeCode(Code, Params);
}

// ---------------------------------------------------------------- text out

void TCustomComTerminal::SendCode(TEscapeCode Code, const QStringList& Params) {
  TEscapeCodes* codes = FScreen.EscapeCodes();
  if (!PortConnected() || codes == nullptr) return;
  PortWriteStr(codes->EscCodeToStr(Code, Params));
  if (FLocalEcho) {
    CaretHider hider(this);
    FScreen.ExecuteEscapeCode(Code, Params);
  }
}

void TCustomComTerminal::SendChar(QChar Ch) {
  if (!PortConnected()) return;
  PortWriteStr(QString(Ch));
  if (FLocalEcho) {
    CaretHider hider(this);
    FScreen.PutChar(Ch);
  }
}

void TCustomComTerminal::KeyDown(int Key) {
  TEscapeCode code;
  switch (Key) {
    case Qt::Key_Home: code = ecCursorHome; break;
    case Qt::Key_Left: code = ecCursorLeft; break;
    case Qt::Key_Up: code = ecCursorUp; break;
    case Qt::Key_Right: code = ecCursorRight; break;
    case Qt::Key_Down: code = ecCursorDown; break;
    default: return;
  }
  if (FScreen.TermMode().Keys == akWindows) {
    switch (code) {
      case ecCursorLeft: code = ecAppCursorLeft; break;
      case ecCursorUp: code = ecAppCursorUp; break;
      case ecCursorRight: code = ecAppCursorRight; break;
      case ecCursorDown: code = ecAppCursorDown; break;
      default: return;  // Home sends nothing in application mode
    }
    SendCode(code, {});
  } else if (FArrowKeys == akWindows) {
    FScreen.ExecuteEscapeCode(code, {});
  } else {
    SendCode(code, {});
  }
}

void TCustomComTerminal::KeyPress(QChar Key) {
  SendChar(Key);
  if (Key.unicode() == 13 && FSendLF) SendChar(QChar(10));
}

void TCustomComTerminal::keyPressEvent(QKeyEvent* event) {
  event->accept();
  try {
    int key = event->key();
    if (OnKeyDown) OnKeyDown(this, key, event->modifiers());
    KeyDown(key);
    for (QChar ch : event->text()) {
      if (OnKeyPress) OnKeyPress(this, ch);
      if (!ch.isNull()) KeyPress(ch);  // a handler clears the key to swallow it
    }
  } catch (const std::exception& e) {
    // Nothing may leave an event handler; a failed write reaches the user
    // through the application's handler instead.
    platform::HandleApplicationException(e);
  }
}

bool TCustomComTerminal::event(QEvent* event) {
  if (event->type() == QEvent::KeyPress && FWantTab) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
      keyPressEvent(key);
      return true;
    }
  }
  return QAbstractScrollArea::event(event);
}

// ---------------------------------------------------------------- streams

void TCustomComTerminal::SaveToStream(QIODevice& Stream) const { FScreen.SaveToStream(Stream); }

void TCustomComTerminal::LoadFromStream(QIODevice& Stream) {
  CaretHider hider(this);
  FScreen.LoadFromStream(Stream);
}

void TCustomComTerminal::SelectFont() {
  bool ok = false;
  const QFont chosen = QFontDialog::getFont(&ok, font(), this, QString(), QFontDialog::MonospacedFonts);
  if (ok) SetFont(chosen);
}

void TCustomComTerminal::ShowSetupDialog() {
  if (SetupDialogHook) SetupDialogHook(*this);
}

// ---------------------------------------------------------------- properties

void TCustomComTerminal::SetAltColor(TColor Value) {
  if (Value == AltColor()) return;
  FScreen.SetAltColor(Value);
  if (IsDesigning()) viewport()->update();
}

void TCustomComTerminal::SetAutoSize(bool Value) {
  if (Value == FAutoSize) return;
  FAutoSize = Value;
  AdjustSize();
}

void TCustomComTerminal::SetBorderStyle(TBorderStyle Value) {
  if (Value == FBorderStyle) return;
  FBorderStyle = Value;
  ApplyFrame();
}

void TCustomComTerminal::SetCtl3D(bool Value) {
  if (Value == FCtl3D) return;
  FCtl3D = Value;
  if (FBorderStyle == bsSingle) ApplyFrame();
}

void TCustomComTerminal::SetCaret(TTermCaret Value) {
  if (Value == FCaret) return;
  FCaret = Value;
  if (hasFocus()) {
    DestroyCaret();
    CreateCaret();
  }
}

void TCustomComTerminal::SetColor(TColor Value) {
  if (Value == Color()) return;
  FScreen.SetColor(Value);
  viewport()->update();
}

void TCustomComTerminal::SetFontColor(TColor Value) {
  if (Value == FontColor()) return;
  FScreen.SetFontColor(Value);
  FontChanged();
}

// Both come back through ScreenChanged (dkResize), as does the column mode
// of an escape code.
void TCustomComTerminal::SetColumns(int Value) { FScreen.SetColumns(Value); }

void TCustomComTerminal::SetRows(int Value) { FScreen.SetRows(Value); }

void TCustomComTerminal::GridSizeChanged() {
  AdjustSize();
  UpdateScrollRange();
  if (!IsLoading() && !IsDesigning()) {
    FScreen.Init();
    Invalidate();
  }
}

void TCustomComTerminal::SetEmulation(TTermEmulation Value) {
  if (Value == FEmulation) return;
  FEmulation = Value;
  if (!IsLoading()) CreateEscapeCodes();
}

void TCustomComTerminal::SetScrollBars(TScrollStyle Value) {
  if (Value == FScrollBars) return;
  FScrollBars = Value;
  ApplyScrollBarPolicy();
}

void TCustomComTerminal::SetSmoothScroll(bool Value) {
  FSmoothScroll = Value;
  horizontalScrollBar()->setTracking(Value);
  verticalScrollBar()->setTracking(Value);
}

void TCustomComTerminal::SetTabStop(bool Value) {
  FTabStop = Value;
  setFocusPolicy(Value ? Qt::StrongFocus : Qt::NoFocus);
}

// ---------------------------------------------------------------- port

bool TCustomComTerminal::PortConnected() const { return FComPort != nullptr && FComPort->Connected(); }

void TCustomComTerminal::PortWriteStr(const QString& Str) { FComPort->WriteStr(Str); }

bool TCustomComTerminal::Connected() const { return PortConnected(); }

void TCustomComTerminal::SetConnected(bool Value) {
  if (FComPort != nullptr) FComPort->SetConnected(Value);
}

void TCustomComTerminal::SetComPort(TCustomComPort* Value) {
  RebindLink(*this, FComLink.get(), FComPort, Value);
}

void TCustomComTerminal::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove || AComponent == nullptr || AComponent != FComPort) return;
  // A port being destroyed has already dropped its link list: just forget it.
  if ((AComponent->ComponentState() & csDestroying) != 0)
    FComPort = nullptr;
  else
    SetComPort(nullptr);
}

// ---------------------------------------------------------------- window

void TCustomComTerminal::FontChanged() {
  QFont f = font();
  const QFontMetrics probe(f);
  bool fix = false;
  if (f.underline()) {
    f.setUnderline(false);
    fix = true;
  }
  if (probe.horizontalAdvance(u'i') != probe.horizontalAdvance(u'W') && f.family() != DefaultFontName()) {
    f.setFamily(DefaultFontName());
    f.setStyleHint(QFont::TypeWriter);
    fix = true;
  }
  if (fix) {
    setFont(f);  // comes back here with the corrected font
    return;
  }
  FScreen.SetFontColor(FontColor());  // new characters start in the plain colour again
  FGlyphs.clear();
  // The cell is as wide as the widest character the grid can show.
  const QFontMetrics m(f);
  FFontHeight = std::max(1, m.height());
  int width = 1;
  for (char16_t c = 32; c <= 255; ++c) width = std::max(width, m.horizontalAdvance(QChar(c)));
  FFontWidth = width;
  AdjustSize();
  UpdateScrollRange();
  viewport()->update();
}

void TCustomComTerminal::ApplyFrame() {
  if (FBorderStyle == bsNone) {
    setFrameStyle(QFrame::NoFrame);
  } else if (FCtl3D) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
  } else {
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
  }
  AdjustSize();
  UpdateScrollRange();
}

void TCustomComTerminal::ApplyScrollBarPolicy() {
  const bool h = FScrollBars == ssHorizontal || FScrollBars == ssBoth;
  const bool v = FScrollBars == ssVertical || FScrollBars == ssBoth;
  setHorizontalScrollBarPolicy(h ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(v ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
  // A re-created window starts without ranges.
  horizontalScrollBar()->setRange(0, 0);
  verticalScrollBar()->setRange(0, 0);
  UpdateScrollRange();
}

void TCustomComTerminal::UpdateScrollRange() {
  if (FScrollBars == ssNone) return;
  QScrollBar* hbar = horizontalScrollBar();
  QScrollBar* vbar = verticalScrollBar();
  const bool hAllowed = FScrollBars == ssHorizontal || FScrollBars == ssBoth;
  const bool vAllowed = FScrollBars == ssVertical || FScrollBars == ssBoth;
  const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  // The client area as if no bar were shown.
  const QSize client = contentsRect().size();
  const auto setRange = [](QScrollBar* bar, int visible, int total) {
    bar->setRange(0, visible < total ? total - visible : 0);
  };
  const auto setVertical = [&] {
    setRange(vbar, (client.height() - (hbar->maximum() > 0 ? extent : 0)) / FFontHeight, Rows());
  };
  if (hAllowed) setRange(hbar, client.width() / FFontWidth, Columns());
  if (vAllowed) {
    setVertical();
    // The vertical bar narrows the client area; should that bring up the
    // horizontal bar, it hides the last row unless the height is counted again.
    if (hAllowed && vbar->maximum() > 0) {
      const bool hadHorizontal = hbar->maximum() > 0;
      setRange(hbar, (client.width() - extent) / FFontWidth, Columns());
      if (!hadHorizontal && hbar->maximum() > 0) setVertical();
    }
  }
  const int page = std::max(1, client.height());
  hbar->setPageStep(std::max(1, page / FFontWidth));
  vbar->setPageStep(std::max(1, page / FFontHeight));
  FTopLeft = QPoint(hbar->value() + 1, vbar->value() + 1);
}

void TCustomComTerminal::scrollContentsBy(int dx, int dy) {
  FTopLeft = QPoint(horizontalScrollBar()->value() + 1, verticalScrollBar()->value() + 1);
  if (!FDirty.isEmpty()) {
    // Waiting areas were measured from the old position.
    FDirty = QRect();
    FFrame.Cancel();
    viewport()->update();
  } else if (FDoubleBuffered)
    viewport()->update();
  else
    viewport()->scroll(dx * FFontWidth, dy * FFontHeight);
}

void TCustomComTerminal::FollowCaret() {
  // A grid taller than the view would put new lines out of sight; as serial
  // terminals do, the cursor row becomes the last visible one. Not while the
  // user holds the thumb.
  QScrollBar* bar = verticalScrollBar();
  // It only ever scrolls down: a view at the bottom (the usual case while a
  // meter streams, checked per character) has nothing to do.
  if (bar->value() == bar->maximum() || bar->isSliderDown()) return;
  const int visible = std::max(1, viewport()->height() / FFontHeight);
  const int row = CaretPos().y();
  if (row > FTopLeft.y() + visible - 1) bar->setValue(row - visible);
}

void TCustomComTerminal::AdjustSize() {
  updateGeometry();
  if (FAutoSize) resize(sizeHint());
}

QSize TCustomComTerminal::sizeHint() const {
  const int border = 2 * frameWidth();
  return QSize(FFontWidth * Columns() + border, FFontHeight * Rows() + border);
}

void TCustomComTerminal::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollRange();
}

void TCustomComTerminal::changeEvent(QEvent* event) {
  QAbstractScrollArea::changeEvent(event);
  if (event->type() == QEvent::FontChange) FontChanged();
}

void TCustomComTerminal::ScreenChanged(const TTermDamage& Damage) {
  switch (Damage.Kind) {
    case dkPut:
      InvalidateCells(Damage.Cells);
      FollowCaret();
      break;
    case dkCells:
      if (FDoubleBuffered)
        Invalidate();
      else
        InvalidateCells(Damage.Cells);
      break;
    case dkAll: Invalidate(); break;
    case dkScroll: ScrollWindowLines(Damage.Lines); break;
    case dkCursor:
      // A hidden caret (text being written) is repainted where it ends up
      // when it shows again, not at every cell it passes.
      if (FCaretCreated && FCaretHideCount == 0) {
        Invalidate(CaretRect(Damage.Cells.topLeft()));
        Invalidate(CaretRect());
      }
      break;
    case dkResize: GridSizeChanged(); break;
  }
}

void TCustomComTerminal::InvalidateCells(const QRect& Cells) {
  const int x1 = std::max(0, (Cells.left() - FTopLeft.x()) * FFontWidth);
  const int y1 = std::max(0, (Cells.top() - FTopLeft.y()) * FFontHeight);
  const int x2 = std::max(0, (Cells.right() - FTopLeft.x() + 1) * FFontWidth);
  const int y2 = std::max(0, (Cells.bottom() - FTopLeft.y() + 1) * FFontHeight);
  if (x2 > x1 && y2 > y1) Invalidate(QRect(x1, y1, x2 - x1, y2 - y1));
}

void TCustomComTerminal::Invalidate(const QRect& Area) {
  // While a line streams in, most cells fall inside what already waits.
  const bool inside = Area.left() >= FDirty.left() && Area.right() <= FDirty.right() &&
                      Area.top() >= FDirty.top() && Area.bottom() <= FDirty.bottom();
  if (!inside) FDirty |= Area;
  FFrame.Request();
}

void TCustomComTerminal::Invalidate() { Invalidate(viewport()->rect()); }

void TCustomComTerminal::ScrollWindowLines(int) {
  // Moving the pixels a line at a time costs a blit of the whole grid per
  // received line; one repaint from the grid per burst gives the same picture.
  const int w = std::min(viewport()->width(), Columns() * FFontWidth);
  const int h = std::min(viewport()->height(), Rows() * FFontHeight);
  Invalidate(QRect(0, 0, w, h));
}

void TCustomComTerminal::paintEvent(QPaintEvent* event) {
  QPainter p(viewport());
  const QRect clip = event->rect();
  const TColor color = Color();
  p.fillRect(clip, ToQColor(color));
  const int fw = FFontWidth, fh = FFontHeight;
  const int left = clip.x() / fw + 1;
  const int top = clip.y() / fh + 1;
  // No cell beyond the grid, also once shifted by the scroll position.
  const int columns = Columns(), rows = Rows();
  const int right = std::min({(clip.x() + clip.width()) / fw + 1, columns, columns - FTopLeft.x() + 1});
  const int bottom = std::min({(clip.y() + clip.height()) / fh + 1, rows, rows - FTopLeft.y() + 1});

  const QFont normal = font();
  QFont underlined = normal;
  underlined.setUnderline(true);
  bool isUnderlined = false;
  p.setFont(normal);
  FGlyphs.resize(512);
  // A streaming meter scrolls the whole grid every frame: a cell on the
  // control's colour is not filled again, and the pen changes only with the
  // colour (same pixels, a fraction of the painter's work).
  std::optional<TColor> pen;
  for (int y = top; y <= bottom; ++y) {
    for (int x = left; x <= right; ++x) {
      const TComTermChar cell = Buffer().GetChar(x + FTopLeft.x() - 1, y + FTopLeft.y() - 1);
      if (cell.Ch.isNull()) continue;
      const int px = (x - 1) * fw, py = (y - 1) * fh;
      if (cell.BackColor != color) p.fillRect(px, py, fw, fh, ToQColor(cell.BackColor));
      if (cell.Underline != isUnderlined) {
        isUnderlined = cell.Underline;
        p.setFont(isUnderlined ? underlined : normal);
      }
      if (pen != cell.FrontColor) {
        pen = cell.FrontColor;
        p.setPen(ToQColor(cell.FrontColor));
      }
      QStaticText& glyph = FGlyphs[(cell.Ch.unicode() & 0xFF) + (isUnderlined ? 256 : 0)];
      if (glyph.text().isEmpty()) {
        glyph.setTextFormat(Qt::PlainText);
        glyph.setText(QString(cell.Ch));
        glyph.prepare(QTransform(), isUnderlined ? underlined : normal);
      }
      p.drawStaticText(px, py, glyph);
    }
  }
  // The caret is drawn inverting, like the system caret.
  if (FCaretCreated && FCaretHideCount == 0 && FCaretBlinkOn) {
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.fillRect(CaretRect(), Qt::white);
  }
}

// ---------------------------------------------------------------- caret, focus, mouse

QRect TCustomComTerminal::CaretRect(QPoint Cell) const {
  return QRect((Cell.x() - FTopLeft.x()) * FFontWidth,
               (Cell.y() - FTopLeft.y()) * FFontHeight + FFontHeight - FCaretHeight, FFontWidth, FCaretHeight);
}

void TCustomComTerminal::CreateCaret() {
  FCaretHeight = FCaret == tcBlock ? FFontHeight : FCaret == tcUnderline ? FFontHeight / 8 : 0;
  if (FCaretHeight == 0) return;
  FCaretCreated = true;
  FCaretHideCount = 0;
  FCaretBlinkOn = true;
  const int flash = QGuiApplication::styleHints()->cursorFlashTime();
  if (flash > 0) FCaretBlink.start(flash / 2, this);
  Invalidate(CaretRect());
}

void TCustomComTerminal::DestroyCaret() {
  if (!FCaretCreated) return;
  FCaretCreated = false;
  FCaretBlink.stop();
  Invalidate(CaretRect());
}

void TCustomComTerminal::HideCaret() {
  if (++FCaretHideCount == 1 && FCaretCreated) Invalidate(CaretRect());
}

void TCustomComTerminal::ShowCaret() {
  if (FCaretHideCount > 0 && --FCaretHideCount == 0 && FCaretCreated) Invalidate(CaretRect());
}

void TCustomComTerminal::timerEvent(QTimerEvent* event) {
  if (event->timerId() == FCaretBlink.timerId()) {
    FCaretBlinkOn = !FCaretBlinkOn;
    Invalidate(CaretRect());
  } else {
    QAbstractScrollArea::timerEvent(event);
  }
}

void TCustomComTerminal::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  CreateCaret();
}

void TCustomComTerminal::focusOutEvent(QFocusEvent* event) {
  DestroyCaret();
  QAbstractScrollArea::focusOutEvent(event);
}

void TCustomComTerminal::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && FTabStop && isEnabled() && isVisible()) setFocus(Qt::MouseFocusReason);
  QAbstractScrollArea::mousePressEvent(event);
}

void TCustomComTerminal::mouseDoubleClickEvent(QMouseEvent* event) {
  QAbstractScrollArea::mouseDoubleClickEvent(event);
  if (OnDblClick) OnDblClick(this);
}
