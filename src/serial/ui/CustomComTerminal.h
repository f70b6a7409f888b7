#pragma once
// A text terminal bound to a serial port: received characters are shown in a
// fixed grid of character cells, typed keys go to the port (optionally echoed
// locally), and escape sequences are executed through a VT52 or VT100 parser.
//
// Like every component here, a terminal built in code may be wrapped in
// BeginLoading() / EndLoading(): Loaded() creates the escape-code parser for
// the chosen Emulation. Without that the parser appears on the first
// Emulation change. The grid exists from construction on.

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QFont>
#include <QPoint>
#include <QStaticText>
#include <functional>
#include <memory>

#include "platform/Component.h"
#include "platform/FrameRequest.h"
#include "serial/ComLink.h"
#include "serial/EscapeCodes.h"
#include "serial/ui/ComTermBuffer.h"
#include "serial/ui/TermTypes.h"

class QIODevice;
class TCustomComPort;

using TChScreenEvent = std::function<void(TObject* Sender, QChar Ch)>;
// The handler may store a parser of its own; the terminal then owns it.
using TEscapeEvent = std::function<void(TObject* Sender, TEscapeCodes*& EscapeCodes)>;
using TUnhandledEvent = std::function<void(TObject* Sender, TEscapeCode Code, const QString& Data)>;
using TStrRecvEvent = std::function<void(TObject* Sender, QString& Str)>;
using TKeyEvent = std::function<void(TObject* Sender, int& Key, Qt::KeyboardModifiers Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, QChar& Key)>;

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
  virtual bool ExecuteEscapeCode(TEscapeCode Code, const QStringList& Params);
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
  TColor AltColor() const { return FAltColor; }
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
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  int Columns() const { return FColumns; }
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
  TColor FontColor() const { return FFontColor; }
  void SetFontColor(TColor Value);
  bool Force7Bit() const { return FForce7Bit; }
  void SetForce7Bit(bool Value) { FForce7Bit = Value; }
  bool LocalEcho() const { return FLocalEcho; }
  void SetLocalEcho(bool Value) { FLocalEcho = Value; }
  int Rows() const { return FRows; }
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
  bool WrapLines() const { return FWrapLines; }
  void SetWrapLines(bool Value) { FWrapLines = Value; }

  // State for callers that look inside.
  QPoint CaretPos() const { return FCaretPos; }
  QPoint TopLeft() const { return FTopLeft; }
  const TComTermBuffer& Buffer() const { return FBuffer; }
  const TTermAttributes& TermAttr() const { return FTermAttr; }
  const TTermMode& TermMode() const { return FTermMode; }
  int FontWidth() const { return FFontWidth; }
  int FontHeight() const { return FFontHeight; }
  TEscapeCodes* EscapeCodes() const { return FEscapeCodes.get(); }
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

  // Cursor actions
  void AdvanceCaret();
  void CarriageReturn() { MoveCaret(1, FCaretPos.y()); }
  void LineFeed();
  void ReverseLineFeed();
  void Tab();
  void Backspace() { MoveCaret(FCaretPos.x() - 1, FCaretPos.y()); }

  void SetAttributes(const QStringList& Params);
  void SetMode(const QStringList& Params, bool Value);
  void SendCode(TEscapeCode Code, const QStringList& Params);
  void SendChar(QChar Ch);
  void Reply(TEscapeCode Code, const QStringList& Params);
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
  friend class TComTermBuffer;
  class CaretHider;

  void KeyDown(int Key);
  void KeyPress(QChar Key);
  void FontChanged();
  void ApplyFrame();
  void ApplyScrollBarPolicy();
  void UpdateScrollRange();
  void AdjustSize();
  void GridSizeChanged();
  void InvalidateCells(int L, int T, int R, int B);
  void Invalidate(const QRect& Area);
  void Invalidate();
  void ScrollWindowLines(int Lines);
  void FollowCaret();
  void CreateCaret();
  void DestroyCaret();
  void HideCaret();
  void ShowCaret();
  QRect CaretRect() const;
  void UpdateCaret();
  bool PortConnected() const;
  void PortWriteStr(const QString& Str);

  std::unique_ptr<TComLink> FComLink;
  TCustomComPort* FComPort = nullptr;
  TBorderStyle FBorderStyle = bsSingle;
  TScrollStyle FScrollBars = ssBoth;
  TArrowKeys FArrowKeys = akTerminal;
  bool FWantTab = false;
  int FColumns = 80;
  int FRows = 24;
  TColor FAltColor = 0xA6A6A6;
  bool FLocalEcho = false;
  bool FSendLF = false;
  bool FAppendLF = false;
  bool FForce7Bit = false;
  bool FWrapLines = false;
  bool FSmoothScroll = false;
  int FFontHeight = 1;
  int FFontWidth = 1;
  TTermEmulation FEmulation = teVT100orANSI;
  TTermCaret FCaret = tcBlock;
  QPoint FCaretPos{1, 1};
  QPoint FSaveCaret{0, 0};
  bool FCaretCreated = false;
  QPoint FTopLeft{1, 1};
  int FCaretHeight = 0;
  TTermAttributes FSaveAttr;
  TComTermBuffer FBuffer{this};
  std::unique_ptr<TEscapeCodes> FEscapeCodes;
  TTermAttributes FTermAttr;
  TTermMode FTermMode;

  // Settings of the control as a whole: colours, frame, focus, sizing, caret.
  TColor FColor = clBlack;
  TColor FFontColor = DefaultFontColor;
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
