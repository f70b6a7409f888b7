#include "components/CustomComboEdit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QProxyStyle>
#include <QScreen>
#include <QStyle>
#include <QStyleOption>
#include <QVariant>

#include "components/DrawUtils.h"
#include "components/EditButton.h"

namespace {

// A white (see-through) monochrome picture to draw black pixels into.
QImage BlankMono(int width, int height) {
  QImage img(width, height, QImage::Format_Mono);
  img.setColor(0, qRgb(0, 0, 0));
  img.setColor(1, qRgb(255, 255, 255));
  img.fill(1);
  return img;
}

// The drop-down arrow: a 7-pixel-wide black triangle.
QImage DropDownGlyph() {
  QImage img = BlankMono(7, 4);
  for (int row = 0; row < 4; ++row)
    for (int x = row; x < 7 - row; ++x) img.setPixel(x, row, 0);
  return img;
}

// The caret is 1 pixel wide, 2 for a bold font. The line edit asks its style
// for the width whenever it paints, so a font change needs nothing else.
class TCaretStyle : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;
  int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
    if (metric != PM_TextCursorWidth) return QProxyStyle::pixelMetric(metric, option, widget);
    if (!widget && option) widget = qobject_cast<const QWidget*>(option->styleObject);
    return widget && widget->font().bold() ? 2 : 1;
  }
};

// One for all combo edits, on top of the application's style.
QStyle* CaretStyle() {
  static QPointer<QStyle> style;
  if (!style) {
    style = new TCaretStyle(QApplication::style()->name());
    style->setParent(qApp);
  }
  return style;
}

}  // namespace

QImage EllipsisGlyph(int buttonWidth) {
  const int width = qMax(buttonWidth - 6, 1);
  QImage img = BlankMono(width, 4);
  const int w = qMin(qMax((width - 6) / 2, 1), 3);
  const int s = (width - 6 - 2 * w) / 2;
  for (const int x : {s, s + w + 2, s + 2 * w + 4})
    for (int dx = 0; dx < 2; ++dx)
      for (int y = 1; y < 3; ++y)
        if (x + dx >= 0 && x + dx < width) img.setPixel(x + dx, y, 0);
  return img;
}

TCustomComboEdit::TCustomComboEdit(QWidget* parent)
    : QLineEdit(parent),
      FBtnControl(new QWidget(this)),
      FClickKey(QKeyCombination(Qt::AltModifier, Qt::Key_Down)),
      FButton(new TEditButton(this, FBtnControl)) {
  FBtnControl->setObjectName("BtnControl");
  FBtnControl->setCursor(Qt::ArrowCursor);
  FButton->setObjectName("Button");
  FButton->OnClick = [this](TObject*) { EditButtonClick(); };
  setStyle(CaretStyle());
  resize(121, qMax(21, fontMetrics().height() + 5));
  SetButtonWidth(21);
}

TCustomComboEdit::~TCustomComboEdit() = default;

void TCustomComboEdit::DoClick() { EditButtonClick(); }

void TCustomComboEdit::SelectAll() {
  if (FDirectInput) selectAll();
}

int TCustomComboEdit::ButtonWidth() const { return FBtnControl->isHidden() ? 0 : FButton->width(); }

void TCustomComboEdit::SetButtonWidth(int value) {
  FButtonWidth = value;
  if (value < 2) {
    FBtnControl->hide();
  } else {
    FBtnControl->show();
    if (parentWidget() && width() > 0) value = qMin(value, width());
    FBtnControl->resize(value, FBtnControl->height());
    FButton->resize(value, FButton->height());
    RecreateGlyph();
  }
  UpdateControlsLayout();
}

int TCustomComboEdit::NaturalButtonWidth() const {
  switch (FGlyphKind) {
    case gkDefault: return qMax(DefaultGlyphWidth(), 21);
    case gkDropDown: return style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    default: return 21;
  }
}

int TCustomComboEdit::DefaultGlyphWidth() const {
  const QImage pic = DefaultGlyph();
  return pic.isNull() ? 0 : pic.width() / qMax(FDefNumGlyphs, 1) + 6;
}

QString TCustomComboEdit::ButtonHint() const { return FButton->toolTip(); }
void TCustomComboEdit::SetButtonHint(const QString& value) { FButton->setToolTip(value); }

void TCustomComboEdit::SetReadOnly(bool value) {
  if (value == FReadOnly) return;
  FReadOnly = value;
  UpdateEditReadOnly();
}

void TCustomComboEdit::SetDirectInput(bool value) {
  if (value == FDirectInput) return;
  FDirectInput = value;
  UpdateEditReadOnly();
}

// Typing, pasting and cutting are the line edit's, so its own read-only
// switch covers them.
void TCustomComboEdit::UpdateEditReadOnly() {
  setReadOnly(FReadOnly || !FDirectInput || (FPopupVisible && FPopupReadOnly));
}

void TCustomComboEdit::SetGlyphKind(TGlyphKind value) {
  if (value == FGlyphKind) return;
  FGlyphKind = value;
  RecreateGlyph();
  if (value == gkDropDown) {
    SetButtonWidth(NaturalButtonWidth());
  } else if (value == gkDefault) {
    const int wanted = DefaultGlyphWidth();
    if (wanted > ButtonWidth()) SetButtonWidth(wanted);
  }
}

void TCustomComboEdit::RecreateGlyph() {
  switch (FGlyphKind) {
    case gkCustom: return;
    case gkDefault:
      FButton->SetGlyph(DefaultGlyph());
      FButton->SetNumGlyphs(FDefNumGlyphs);
      return;
    case gkDropDown:
      FButton->SetGlyph(DropDownGlyph());
      FButton->SetNumGlyphs(1);
      return;
    case gkEllipsis:
      FButton->SetGlyph(EllipsisGlyph(qMax(FButton->width(), 0)));
      FButton->SetNumGlyphs(1);
      return;
  }
}

const QImage& TCustomComboEdit::Glyph() const { return FButton->Glyph(); }

void TCustomComboEdit::SetGlyph(const QImage& value) {
  FGlyphKind = gkCustom;
  FButton->SetGlyph(value);
}

int TCustomComboEdit::NumGlyphs() const { return FButton->NumGlyphs(); }

void TCustomComboEdit::SetNumGlyphs(int value) {
  if (FGlyphKind == gkDropDown || FGlyphKind == gkEllipsis) value = 1;
  else if (FGlyphKind == gkDefault) value = FDefNumGlyphs;
  FButton->SetNumGlyphs(value);
}

void TCustomComboEdit::EditButtonClick() {
  if (FReadOnly && !FAlwaysEnable) return;
  ButtonClick();
}

void TCustomComboEdit::ButtonClick() {
  if (OnButtonClick) OnButtonClick(this);
  if (!FPopup) return;
  if (FPopupVisible) PopupCloseUp(true);
  else PopupDropDown(true);
}

void TCustomComboEdit::SetPopup(QWidget* popup) {
  if (FPopup) FPopup->removeEventFilter(this);
  FPopup = popup;
  if (!popup) return;
  popup->setParent(this, Qt::Popup);
  popup->hide();
  popup->installEventFilter(this);
}

QString TCustomComboEdit::GetPopupValue() const { return FPopup ? FPopup->property("text").toString() : QString(); }

void TCustomComboEdit::SetPopupValue(const QString& value) {
  if (FPopup) FPopup->setProperty("text", value);
}

void TCustomComboEdit::ShowPopup(const QPoint& origin) {
  FPopup->move(origin);
  FPopup->show();
}

void TCustomComboEdit::HidePopup() { FPopup->hide(); }

void TCustomComboEdit::PopupDropDown(bool disableEdit) {
  if (!FPopup || FPopupVisible) return;
  const QSize size = FPopup->sizeHint().expandedTo(FPopup->minimumSize());
  const QPoint topLeft = mapToGlobal(QPoint(0, 0));
  QRect r(QPoint(topLeft.x(), topLeft.y() + height()), size);
  if (FPopupAlign == epaRight) r.moveRight(topLeft.x() + width() - 1);
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen && r.bottom() > screen->geometry().bottom()) r.moveBottom(topLeft.y() - 1);
  KeepRectOnScreen(r);
  SetPopupValue(text());
  FPopupVisible = true;
  FPopupReadOnly = disableEdit;
  ShowPopup(r.topLeft());
  UpdateEditReadOnly();
}

void TCustomComboEdit::PopupCloseUp(bool accept) {
  if (!FPopupVisible) return;
  const QString value = GetPopupValue();
  FPopupVisible = false;
  if (FPopup) HidePopup();
  UpdateEditReadOnly();
  if (accept && AcceptPopup(value)) {
    setText(value);
    setModified(true);
  }
}

bool TCustomComboEdit::eventFilter(QObject* watched, QEvent* event) {
  // A click elsewhere closes a popup window by itself: no value taken.
  if (watched == FPopup && event->type() == QEvent::Hide && FPopupVisible) PopupCloseUp(false);
  return QLineEdit::eventFilter(watched, event);
}

void TCustomComboEdit::focusOutEvent(QFocusEvent* event) {
  if (FPopupVisible && event->reason() != Qt::PopupFocusReason) PopupCloseUp(false);
  QLineEdit::focusOutEvent(event);
}

void TCustomComboEdit::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
  const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
  if ((mods & Qt::ControlModifier) && (key == Qt::Key_Tab || enter)) {
    if (QWidget* form = window(); form != this) QCoreApplication::sendEvent(form, event);
    event->accept();
    return;
  }
  if (QKeySequence(QKeyCombination(mods, Qt::Key(key))) == FClickKey) {
    if (ButtonWidth() > 0) {
      EditButtonClick();
      event->accept();
      return;
    }
  }
  if (FPopupVisible && (enter || key == Qt::Key_Escape)) {
    PopupCloseUp(enter);
    event->accept();
    return;
  }
  if (event->text() == QLatin1String("\t") || event->text() == QLatin1String("\n")) {
    event->accept();
    return;
  }
  QLineEdit::keyPressEvent(event);
}

void TCustomComboEdit::UpdateControlsLayout() {
  const int inset = hasFrame() ? 2 : 0;
  const int w = FBtnControl->isHidden() ? 0 : FBtnControl->width();
  FBtnControl->setGeometry(width() - w - inset, inset, w, height() - 2 * inset);
  FButton->setGeometry(0, 0, w, FBtnControl->height());
  setTextMargins(0, 0, w, 0);
}

void TCustomComboEdit::resizeEvent(QResizeEvent* event) {
  QLineEdit::resizeEvent(event);
  const int least = fontMetrics().height() + 4 + 1;
  if (height() < least) resize(width(), least);
  if (!FBtnControl->isHidden()) FBtnControl->resize(qMin(FButtonWidth, width()), FBtnControl->height());
  UpdateControlsLayout();
}

void TCustomComboEdit::changeEvent(QEvent* event) {
  QLineEdit::changeEvent(event);
  if (event->type() == QEvent::FontChange) UpdateControlsLayout();
}
