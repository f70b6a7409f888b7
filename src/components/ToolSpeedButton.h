#pragma once
// A push button drawn entirely by itself: glyph and caption laid out against
// each other, a 3-D or flat frame, radio-like groups whose buttons stay down,
// auto-repeat while held, an optional drop-down menu with a small arrow mark,
// and hot tracking of the mouse. It takes no keyboard focus.

#include <QImage>
#include <QPointer>
#include <QWidget>
#include <cstdint>

#include "components/ButtonGlyph.h"
#include "platform/Component.h"

class QAction;
class QTimer;
class TPopupMenu;

enum TButtonStyle : std::uint8_t { bsAutoDetect, bsWin31, bsNew };
enum TDropDownMenuPos : std::uint8_t { dmpBottom, dmpRight };

// True: the desktop draws controls in the newer, flatter style.
bool NewStyleControls();

class TToolSpeedButton : public QWidget, public TComponent {
  Q_OBJECT

 public:
  explicit TToolSpeedButton(QWidget* parent = nullptr);
  ~TToolSpeedButton() override;

  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int value);
  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool value);
  bool Down() const { return FDown; }
  // Outside a group always False; a down button stays down unless AllowAllUp.
  void SetDown(bool value);
  TButtonStyle Style() const { return FStyle; }
  void SetStyle(TButtonStyle value);
  bool Flat() const { return FFlat; }
  void SetFlat(bool value);
  bool FlatStandard() const { return FFlatStandard; }
  void SetFlatStandard(bool value);
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout value);
  int Spacing() const { return FSpacing; }
  void SetSpacing(int value);
  int Margin() const { return FMargin; }
  // Below -1 is ignored.
  void SetMargin(int value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool value);
  bool MarkDropDown() const { return FMarkDropDown; }
  void SetMarkDropDown(bool value);
  bool GrayedInactive() const { return FInactiveGrayed; }
  void SetGrayedInactive(bool value);
  int ModalResult() const { return FModalResult; }
  void SetModalResult(int value) { FModalResult = value; }

  const QImage& Glyph() const;
  void SetGlyph(const QImage& value, TColor transparentColor = clDefault);
  int NumGlyphs() const;
  void SetNumGlyphs(int value);
  bool WordWrap() const;
  void SetWordWrap(bool value);
  TAlignment Alignment() const;
  void SetAlignment(TAlignment value);
  TButtonGlyph& ButtonGlyph() { return *FGlyph; }

  QString Caption() const { return FCaption; }
  void SetCaption(const QString& value);

  TPopupMenu* DropDownMenu() const { return FDropDownMenu; }
  void SetDropDownMenu(TPopupMenu* value);
  TDropDownMenuPos MenuPosition() const { return FMenuPosition; }
  void SetMenuPosition(TDropDownMenuPos value) { FMenuPosition = value; }

  bool AllowTimer() const { return FAllowTimer; }
  void SetAllowTimer(bool value);
  int InitPause() const { return FInitRepeatPause; }
  void SetInitPause(int value) { FInitRepeatPause = std::uint16_t(value); }
  int RepeatInterval() const { return FRepeatPause; }
  void SetRepeatInterval(int value) { FRepeatPause = std::uint16_t(value); }

  // The action whose caption, state, hint, check and image the button shows
  // and which a click runs.
  QAction* Action() const { return FAction; }
  void SetAction(QAction* action);

  TSpeedButtonState State() const { return FState; }
  bool MouseInControl() const { return FMouseInControl; }

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

  // A press from code: shown down for 20 ms, then clicked.
  void ButtonClick();
  // Shows the drop-down menu even when it does not pop up by itself.
  bool CheckBtnMenuDropDown();
  // Closes the parent dialog with ModalResult (when not 0), then OnClick or
  // the action.
  virtual void Click();
  // Whether the mouse is over the enabled button of the active application.
  void UpdateTracking();
  // Where the drop-down menu opens, in client coordinates.
  QPoint MenuPos() const;
  // The frame for a button of this style; returns the rectangle inside it.
  QRect DrawButtonFrame(QPainter& canvas, const QRect& client, bool down, bool flat, TButtonStyle style) const;

 signals:
  void clicked();

 protected:
  void Loaded() override;
  void Notification(TComponent* c, TOperation op) override;
  void paintEvent(QPaintEvent* event) override;
  virtual void Paint(QPainter& canvas);
  virtual void PaintGlyph(QPainter& canvas, const QRect& rect, TSpeedButtonState state, bool drawMark);
  virtual void MouseEnter();
  virtual void MouseLeave();
  virtual void ActionChange(QAction* action, bool checkDefaults);
  bool CheckMenuDropDown(const QPoint& pos, bool manual);
  // The group message: another button of the group went down.
  void ButtonPressed(int groupIndex, TToolSpeedButton* sender);

  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool event(QEvent* event) override;

  bool FDragging = false;
  TSpeedButtonState FState = rbsUp;

 private:
  template <class T>
  void StoreAndRedraw(T& field, T value) {
    if (field == value) return;
    field = value;
    update();
  }
  bool Inside(const QPoint& p) const;
  void FinishPress(const QPoint& pos);
  void UpdateExclusive();
  void RepeatTimerTick();
  void BuildStateImage();
  void SetMouseInside(bool inside);
  void UpdateMnemonic();

  int FGroupIndex = 0;
  TButtonStyle FStyle = bsAutoDetect;
  TButtonGlyph* FGlyph;
  QImage FDrawImage;
  bool FDown = false;
  bool FFlat = false;
  bool FMouseInControl = false;
  bool FAllowAllUp = false;
  TButtonLayout FLayout = blGlyphTop;
  int FSpacing = 1;
  int FMargin = -1;
  int FModalResult = 0;
  bool FTransparent = false;
  bool FMarkDropDown = true;
  TPopupMenu* FDropDownMenu = nullptr;
  TDropDownMenuPos FMenuPosition = dmpBottom;
  bool FInactiveGrayed = true;
  bool FMenuTracking = false;
  QTimer* FRepeatTimer = nullptr;
  bool FAllowTimer = false;
  std::uint16_t FInitRepeatPause = 500;
  std::uint16_t FRepeatPause = 100;
  bool FFlatStandard = false;
  QString FCaption;
  QPointer<QAction> FAction;
  int FShortcutId = 0;
};
