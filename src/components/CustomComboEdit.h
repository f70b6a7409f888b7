#pragma once
// An edit box with a small button glued to its right edge. The button (or
// its click key, Alt+Down) runs ButtonClick, which by default drops down or
// closes a popup control. With DirectInput off the text cannot be typed,
// pasted or cut, but the button still works; with ReadOnly the button does
// nothing (unless AlwaysEnable).

#include <QImage>
#include <QKeySequence>
#include <QLineEdit>
#include <QPointer>
#include <cstdint>

#include "platform/Component.h"

class TEditButton;

enum TGlyphKind : std::uint8_t { gkCustom, gkDefault, gkDropDown, gkEllipsis };
enum TPopupAlign : std::uint8_t { epaRight, epaLeft };

class TCustomComboEdit : public QLineEdit, public TComponent {
  Q_OBJECT

 public:
  explicit TCustomComboEdit(QWidget* parent = nullptr);
  ~TCustomComboEdit() override;

  // Clicks the button from code (subject to ReadOnly).
  void DoClick();
  // Selects the whole text, only while typing is allowed.
  void SelectAll();

  TEditButton* Button() const { return FButton; }
  // 0 while the button is hidden.
  int ButtonWidth() const;
  // Below 2 hides the button.
  void SetButtonWidth(int value);
  // The width the button has for its picture when nobody set one.
  int NaturalButtonWidth() const;
  QString ButtonHint() const;
  void SetButtonHint(const QString& value);
  const QKeySequence& ClickKey() const { return FClickKey; }
  void SetClickKey(const QKeySequence& value) { FClickKey = value; }
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool value);
  bool DirectInput() const { return FDirectInput; }
  void SetDirectInput(bool value);
  bool AlwaysEnable() const { return FAlwaysEnable; }
  void SetAlwaysEnable(bool value) { FAlwaysEnable = value; }
  TPopupAlign PopupAlign() const { return FPopupAlign; }
  void SetPopupAlign(TPopupAlign value) { FPopupAlign = value; }
  TGlyphKind GlyphKind() const { return FGlyphKind; }
  void SetGlyphKind(TGlyphKind value);
  const QImage& Glyph() const;
  // Makes the kind gkCustom.
  void SetGlyph(const QImage& value);
  int NumGlyphs() const;
  void SetNumGlyphs(int value);
  int HelpContext() const { return FHelpContext; }
  void SetHelpContext(int value) { FHelpContext = value; }

  TNotifyEvent OnButtonClick;

  // The popup control, shown below the edit (none in the file and folder
  // edits). Its value is its "text" property.
  QWidget* Popup() const { return FPopup; }
  void SetPopup(QWidget* popup);
  bool PopupVisible() const { return FPopupVisible; }
  // Shows the popup filled with the text; `disableEdit` keeps the edit
  // read-only while it is open.
  virtual void PopupDropDown(bool disableEdit);
  // Hides the popup; with `accept` its value becomes the text.
  virtual void PopupCloseUp(bool accept);

  // The button's click: nothing while read-only (unless AlwaysEnable).
  void EditButtonClick();

 protected:
  // The picture of gkDefault; none here.
  virtual QImage DefaultGlyph() const { return {}; }
  virtual void ShowPopup(const QPoint& origin);
  virtual void HidePopup();
  virtual bool AcceptPopup(const QString& value) { return true; }
  virtual QString GetPopupValue() const;
  virtual void SetPopupValue(const QString& value);
  virtual void ButtonClick();
  void RecreateGlyph();

  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

  int FDefNumGlyphs = 1;

 private:
  // One image of the default picture with 3 pixels each side; 0 without one.
  int DefaultGlyphWidth() const;
  void UpdateEditReadOnly();
  void UpdateControlsLayout();

  QWidget* FBtnControl;
  QKeySequence FClickKey;
  bool FReadOnly = false;
  bool FDirectInput = true;
  bool FAlwaysEnable = false;
  TPopupAlign FPopupAlign = epaRight;
  TGlyphKind FGlyphKind = gkCustom;
  TEditButton* FButton;
  bool FPopupVisible = false;
  bool FPopupReadOnly = false;
  QPointer<QWidget> FPopup;
  int FButtonWidth = 21;
  int FHelpContext = 0;
};

// The ellipsis picture of a button `buttonWidth` wide: three 2x2 dots in a
// monochrome image (white is see-through).
QImage EllipsisGlyph(int buttonWidth);
