#pragma once
// A text terminal bound to a serial port: received characters are shown in a
// fixed grid of character cells, typed keys go to the port (optionally echoed
// locally), and escape sequences are executed through a VT52 or VT100 parser.
// The grid, the cursor and the escape handling are the screen's
// (TComTermScreen); this control feeds it, paints what it reports changed,
// and keeps the caret, the scrolling, the keyboard and the port.
//
// Like every component here, a terminal built in code may be wrapped in
// BeginLoading() / EndLoading(): Loaded() creates the escape-code parser for
// the chosen Emulation. Without that the parser appears on the first
// Emulation change. The grid exists from construction on.

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QColor>
#include <QFont>
#include <QPoint>
#include <QStaticText>
#include <functional>
#include <memory>

#include "platform/Component.h"
#include "platform/ControlStyles.h"
#include "platform/FrameRequest.h"
#include "serial/ComLink.h"
#include "serial/ComTermScreen.h"
#include "serial/EscapeCodes.h"
#include "serial/TermTypes.h"

class QIODevice;
class TCustomComPort;

using TChScreenEvent = std::function<void(TObject* Sender, QChar Ch)>;
// The handler may store a parser of its own; the terminal then owns it.
using TEscapeEvent = std::function<void(TObject* Sender, TEscapeCodes*& EscapeCodes)>;
using TUnhandledEvent = std::function<void(TObject* Sender, TEscapeCode Code, const QString& Data)>;
using TStrRecvEvent = std::function<void(TObject* Sender, QString& Str)>;
using TKeyEvent = std::function<void(TObject* Sender, int& Key, Qt::KeyboardModifiers Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, QChar& Key)>;

// The terminal's colours are plain $00BBGGRR values (the attribute table, the
// font colour and Color); system colours are not used here.
inline QColor ToQColor(TColor c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

class TCustomComTerminal : public QAbstractScrollArea, public TComponent {
  Q_OBJECT

 public:
  explicit TCustomComTerminal(QWidget* parent = nullptr);
  ~TCustomComTerminal() override;

  // Name, colour and size of the font a new terminal starts with; a font
  // that is not fixed-pitch is given this name.
  static const QString& DefaultFontName();
  static QFont DefaultFont();
  static constexpr TColor DefaultFontColor = clWhite;

  void ClearScreen();
  void MoveCaret(int X, int Y);
  void PutChar(QChar Ch);
  void Write(const QChar* Buffer, int Count);
  void WriteStr(const QString& Str);
  void WriteEscCode(TEscapeCode Code, const QStringList& Params);
  bool ExecuteEscapeCode(TEscapeCode Code, const QStringList& Params);
  // One byte per cell (low byte of the character), CR LF between rows.
  void SaveToStream(QIODevice& Stream) const;
  // Puts every byte from the current position to the end, without escape
  // sequence interpretation.
  void LoadFromStream(QIODevice& Stream);
  void SelectFont();
  // Opens the terminal setup dialog through the hook the dialog's library
  // installs; nothing happens without one.
  void ShowSetupDialog();
  static inline std::function<void(TCustomComTerminal& Terminal)> SetupDialogHook;

  // Properties
  TColor AltColor() const { return FScreen.AltColor(); }
  void SetAltColor(TColor Value);
  bool AppendLF() const { return FAppendLF; }
  void SetAppendLF(bool Value) { FAppendLF = Value; }
  TArrowKeys ArrowKeys() const { return FArrowKeys; }
  void SetArrowKeys(TArrowKeys Value) { FArrowKeys = Value; }
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  TTermCaret Caret() const { return FCaret; }
  void SetCaret(TTermCaret Value);
  TColor Color() const { return FScreen.Color(); }
  void SetColor(TColor Value);
  int Columns() const { return FScreen.Columns(); }
  void SetColumns(int Value);
  TCustomComPort* ComPort() const { return FComPort; }
  void SetComPort(TCustomComPort* Value);
  bool Connected() const;
  void SetConnected(bool Value);
  bool Ctl3D() const { return FCtl3D; }
  void SetCtl3D(bool Value);
  bool DoubleBuffered() const { return FDoubleBuffered; }
  void SetDoubleBuffered(bool Value) { FDoubleBuffered = Value; }
  TTermEmulation Emulation() const { return FEmulation; }
  void SetEmulation(TTermEmulation Value);
  QFont Font() const { return font(); }
  void SetFont(const QFont& Value) { setFont(Value); }
  TColor FontColor() const { return FScreen.FontColor(); }
  void SetFontColor(TColor Value);
  bool Force7Bit() const { return FForce7Bit; }
  void SetForce7Bit(bool Value) { FForce7Bit = Value; }
  bool LocalEcho() const { return FLocalEcho; }
  void SetLocalEcho(bool Value) { FLocalEcho = Value; }
  int Rows() const { return FScreen.Rows(); }
  void SetRows(int Value);
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle Value);
  bool SendLF() const { return FSendLF; }
  void SetSendLF(bool Value) { FSendLF = Value; }
  bool SmoothScroll() const { return FSmoothScroll; }
  void SetSmoothScroll(bool Value);
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool Value);
  bool WantTab() const { return FWantTab; }
  void SetWantTab(bool Value) { FWantTab = Value; }
  bool WrapLines() const { return FScreen.WrapLines(); }
  void SetWrapLines(bool Value) { FScreen.SetWrapLines(Value); }

  // State for callers that look inside.
  const TComTermScreen& Screen() const { return FScreen; }
  QPoint CaretPos() const { return FScreen.CaretPos(); }
  QPoint TopLeft() const { return FTopLeft; }
  const TComTermBuffer& Buffer() const { return FScreen.Buffer(); }
  const TTermAttributes& TermAttr() const { return FScreen.TermAttr(); }
  const TTermMode& TermMode() const { return FScreen.TermMode(); }
  int FontWidth() const { return FFontWidth; }
  int FontHeight() const { return FFontHeight; }
  TEscapeCodes* EscapeCodes() const { return FScreen.EscapeCodes(); }
  TComLink* ComLink() const { return FComLink.get(); }

  QSize sizeHint() const override;

  TChScreenEvent OnChar;
  TEscapeEvent OnGetEscapeCodes;
  TUnhandledEvent OnUnhandledCode;
  TStrRecvEvent OnStrRecieved;
  TNotifyEvent OnDblClick;
  TKeyEvent OnKeyDown;
  TKeyPressEvent OnKeyPress;

 protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void CreateEscapeCodes();

  void SendCode(TEscapeCode Code, const QStringList& Params);
  void SendChar(QChar Ch);
  void RxBuf(const char* Buffer, int Count);

  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool event(QEvent* event) override;
  void timerEvent(QTimerEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  class CaretHider;

  void KeyDown(int Key);
  void KeyPress(QChar Key);
  void FontChanged();
  void ApplyFrame();
  void ApplyScrollBarPolicy();
  void UpdateScrollRange();
  void AdjustSize();
  void ScreenChanged(const TTermDamage& Damage);
  void GridSizeChanged();
  void InvalidateCells(const QRect& Cells);
  void Invalidate(const QRect& Area);
  void Invalidate();
  void ScrollWindowLines(int Lines);
  void FollowCaret();
  void CreateCaret();
  void DestroyCaret();
  void HideCaret();
  void ShowCaret();
  QRect CaretRect() const { return CaretRect(FScreen.CaretPos()); }
  QRect CaretRect(QPoint Cell) const;
  void UpdateCaret();
  bool PortConnected() const;
  void PortWriteStr(const QString& Str);

  std::unique_ptr<TComLink> FComLink;
  TCustomComPort* FComPort = nullptr;
  TBorderStyle FBorderStyle = bsSingle;
  TScrollStyle FScrollBars = ssBoth;
  TArrowKeys FArrowKeys = akTerminal;
  bool FWantTab = false;
  bool FLocalEcho = false;
  bool FSendLF = false;
  bool FAppendLF = false;
  bool FForce7Bit = false;
  bool FSmoothScroll = false;
  int FFontHeight = 1;
  int FFontWidth = 1;
  TTermEmulation FEmulation = teVT100orANSI;
  TTermCaret FCaret = tcBlock;
  bool FCaretCreated = false;
  QPoint FTopLeft{1, 1};
  int FCaretHeight = 0;
  TComTermScreen FScreen;

  // Settings of the control as a whole: frame, focus, sizing, caret.
  bool FCtl3D = true;
  bool FTabStop = true;
  bool FAutoSize = false;
  bool FDoubleBuffered = false;
  int FCaretHideCount = 0;
  bool FCaretBlinkOn = true;
  QBasicTimer FCaretBlink;
  // Laid-out glyphs of the characters 0..255, plain and underlined, so a
  // repaint does not shape text cell by cell; dropped on a font change.
  std::vector<QStaticText> FGlyphs;
  // Invalidated pixels wait here for the next frame: a meter streaming
  // thousands of lines a second would otherwise repaint the grid per line.
  QRect FDirty;
  platform::FrameRequest FFrame{[this] {
    viewport()->update(FDirty);
    FDirty = QRect();
  }};
};
