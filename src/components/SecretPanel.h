#pragma once
// A bevelled panel that, while Active, hides its child controls and scrolls
// a list of text lines through its client area, vertically (bottom to top)
// or horizontally, beside an optional picture. One tick of its threaded
// timer moves the text by one pixel.
//
// Threads: with AsyncDrawing (the default) the ticks run on the timer's
// worker. A tick draws into an off-screen image and copies it into the
// image the panel shows; the widget itself is painted only on the GUI
// thread, which looks for a new image about every interval (at most 60
// times a second). What a tick reads (lines, rectangles, font, colours) is a copy
// made on the GUI thread under the image lock. Locks, always in this order:
// the image lock, then the canvas lock (the image the panel shows).
// Deactivation stops the timer, which waits for a running tick and drops a
// pending end-of-pass Stop, before the image is released; the destructor
// deactivates first, so no tick touches a destroyed panel.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/Color.h"
#include "platform/Component.h"
#include "platform/ControlStyles.h"

class QPainter;
class QTimer;
class TThreadedTimer;

enum TGlyphLayout : std::uint8_t { glGlyphLeft, glGlyphRight, glGlyphTop, glGlyphBottom };
enum TScrollDirection : std::uint8_t { sdVertical, sdHorizontal };

// Paints the client background: the canvas, and the rectangle in its
// coordinates. May run on the timer's worker (see PaintClient).
using TPanelDrawEvent = std::function<void(TObject* Sender, QPainter& Canvas, const QRect& Rect)>;

class TSecretPanel : public QWidget, public TComponent {
  Q_OBJECT

 public:
  explicit TSecretPanel(QWidget* parent = nullptr);
  ~TSecretPanel() override;

  // Panel frame: outer bevel (default lowered), inner bevel (none), bevel
  // width (1), border width between them (0); colour (clBtnFace) and font
  // colour (clWindowText). The font is the widget's font.
  TBevelCut BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TBevelCut value);
  TBevelCut BevelInner() const { return FBevelInner; }
  void SetBevelInner(TBevelCut value);
  int BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(int value);
  int BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int value);
  TColor Color() const { return FColor; }
  void SetColor(TColor value);
  TColor FontColor() const { return FFontColor; }
  void SetFontColor(TColor value);

  // Setters act only on a change, except Lines and Glyph, which always copy.
  bool Active() const { return FActive; }
  // Raises what the timer or OnStartPlay raised on activation (the panel
  // stays inactive).
  void SetActive(bool value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment value);
  const QStringList& Lines() const { return FLines; }
  // While active the scroll starts again from 0.
  void SetLines(const QStringList& value);
  bool Cycled() const { return FCycled; }
  void SetCycled(bool value) { FCycled = value; }
  const QImage& Glyph() const { return FGlyph; }
  void SetGlyph(const QImage& value);
  TGlyphLayout GlyphLayout() const { return FGlyphLayout; }
  void SetGlyphLayout(TGlyphLayout value);
  // Milliseconds per one-pixel step (30).
  std::uint32_t Interval() const;
  void SetInterval(std::uint32_t value);
  TScrollDirection ScrollDirection() const { return FDirection; }
  void SetScrollDirection(TScrollDirection value);
  // bvNone draws plain text; bvLowered and bvRaised draw a highlight copy
  // one pixel down-right or up-left and make the line pitch one pixel larger.
  TBevelCut TextStyle() const { return FTextStyle; }
  void SetTextStyle(TBevelCut value);
  // False: the ticks run on the GUI thread.
  bool AsyncDrawing() const { return FAsyncDrawing; }
  void SetAsyncDrawing(bool value);

  void Play() { SetActive(true); }
  void Stop() { SetActive(false); }

  TPanelDrawEvent OnPaintClient;
  TNotifyEvent OnStartPlay;
  TNotifyEvent OnStopPlay;
  TNotifyEvent OnDblClick;

  // The drawing state (read under the image lock).
  int ScrollCnt() const { return Locked(FScrollCnt); }
  int MaxScroll() const { return Locked(FMaxScroll); }
  int TxtDivider() const { return Locked(FTxtDivider); }
  int FirstLine() const { return Locked(FFirstLine); }
  // Text area and client area inside the borders, in client coordinates;
  // an empty text area is (0, 0, 0, 0).
  QRect TxtRect() const { return Locked(FTxtRect); }
  QRect PaintRect() const { return Locked(FPaintRect); }
  QPoint GlyphOrigin() const { return Locked(FGlyphOrigin); }

  TThreadedTimer& Timer() { return *FTimer; }

  // Fills Rect with the canvas brush, or calls OnPaintClient. Runs on the
  // GUI thread for the panel and on the timer's thread for the text image.
  virtual void PaintClient(QPainter& Canvas, const QRect& Rect);
  // One scroll step: one pixel on, back to 0 after a pass when Cycled, or
  // Stop on the GUI thread at the end of a pass. Runs on the timer's thread.
  virtual void TimerExpired();

 protected:
  virtual void StartPlay();
  virtual void StopPlay();

  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  // Both with the image lock held.
  void RecalcDrawRect();
  void UpdateMemoryImageLocked();
  void UpdateMemoryImage();
  void PaintText();
  void ShowFreshImage();
  void PaintGlyph(QPainter& canvas);
  // What a tick draws changed: while active a new image, from scroll
  // position 0 when `restart`, and a repaint.
  void Refresh(bool restart);
  // Frame, colour or size changed: a new image while active, and a repaint.
  void Realign();
  int BorderSize() const;
  template <typename T>
  T Locked(const T& field) const {
    std::lock_guard lock(FImageLock);
    return field;
  }
  QColor PanelColor() const;

  TBevelCut FBevelOuter = bvLowered;
  TBevelCut FBevelInner = bvNone;
  int FBevelWidth = 1;
  int FBorderWidth = 0;
  TColor FColor = clBtnFace;
  TColor FFontColor = clWindowText;

  bool FActive = false;
  bool FDestroying = false;
  TAlignment FAlignment = taCenter;
  QStringList FLines;
  std::atomic<bool> FCycled{false};
  int FScrollCnt = 0;
  int FMaxScroll = 0;
  std::uint8_t FTxtDivider = 1;
  int FFirstLine = 0;
  std::unique_ptr<TThreadedTimer> FTimer;
  QRect FTxtRect;
  QRect FPaintRect;
  QPoint FGlyphOrigin;
  QImage FMemoryImage;  // null while inactive or without a text area
  QImage FGlyph;
  std::vector<QPointer<QWidget>> FHiddenList;
  TBevelCut FTextStyle = bvNone;
  TScrollDirection FDirection = sdVertical;
  TGlyphLayout FGlyphLayout = glGlyphLeft;
  bool FAsyncDrawing = true;

  // What a tick draws with, copied on the GUI thread.
  struct TDrawState {
    QFont font;
    QColor fontColor, highlight, brush;
    bool rightToLeft = false;
  } FDrawState;

  mutable std::mutex FImageLock;
  std::mutex FCanvasLock;
  // What the text area shows, and whether a tick drew it since the last
  // repaint; under the canvas lock.
  QImage FShownImage;
  bool FShownFresh = false;
  QTimer* FFrameTimer = nullptr;
};
