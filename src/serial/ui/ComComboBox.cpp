#include "serial/ui/ComComboBox.h"

#include <QCompleter>
#include <QLineEdit>

#include "serial/ComPort.h"

TComComboBox::TComComboBox(QWidget* parent)
    : QComboBox(parent), FComSelect(std::make_unique<TComSelect>()) {
  FComSelect->SetItems(this);
  setEditable(false);
  // Only a pick of the user is a choice; index changes made in code are not.
  connect(this, &QComboBox::activated, this, &TComComboBox::Picked);
}

TComComboBox::~TComComboBox() {
  // The box's own destruction must not reach the selection object, which
  // goes first.
  disconnect(this, &QComboBox::activated, this, &TComComboBox::Picked);
  if (QLineEdit* edit = lineEdit()) disconnect(edit, nullptr, this, nullptr);
}

void TComComboBox::SetComPort(TCustomComPort* Value) {
  TCustomComPort* old = FComSelect->ComPort();
  if (Value == old) return;
  if (old != nullptr) RemoveFreeNotification(old);
  FComSelect->SetComPort(Value);
  if (Value != nullptr) {
    FreeNotification(Value);
    UpdateSettings();
  }
}

void TComComboBox::SetComProperty(TComProperty Value) {
  const bool typed = Value == cpPort;
  if (typed != isEditable()) {
    setEditable(typed);
    if (typed) {
      setInsertPolicy(QComboBox::NoInsert);
      completer()->setCaseSensitivity(Qt::CaseSensitive);  // device names are
      connect(lineEdit(), &QLineEdit::editingFinished, this, &TComComboBox::TypingFinished);
      // A long path (/dev/serial/by-id/...) does not fit the box: the
      // tooltip holds it whole.
      connect(this, &QComboBox::currentTextChanged, this, &QWidget::setToolTip);
    }
  }
  FComSelect->SetComProperty(Value);
  if (ComPort() != nullptr)
    UpdateSettings();
  else if (count() > 0)
    setCurrentIndex(0);
}

void TComComboBox::SetText(const QString& Value) {
  const int i = findText(Value, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (i >= 0) setCurrentIndex(i);
}

void TComComboBox::ApplySettings() {
  if (HasTypedText()) TypingFinished();
  FComSelect->ApplySettings();
}

void TComComboBox::UpdateSettings() {
  int i = 0;
  FComSelect->UpdateSettings(i);
  setCurrentIndex(i);
  if (i < 0 && ComProperty() == cpPort && ComPort() != nullptr && isEditable())
    setEditText(ComPort()->Port());
}

void TComComboBox::Change() {
  FComSelect->Change(Text().trimmed());
  if (OnChange) OnChange(this);
}

bool TComComboBox::HasTypedText() const {
  const QLineEdit* edit = lineEdit();
  return edit != nullptr && edit->isModified();
}

void TComComboBox::Picked() {
  if (QLineEdit* edit = lineEdit()) edit->setModified(false);
  Change();
}

void TComComboBox::TypingFinished() {
  if (!HasTypedText()) return;
  lineEdit()->setModified(false);
  Change();
}

void TComComboBox::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove || AComponent == nullptr || AComponent != ComPort()) return;
  // A port being destroyed has already dropped its notice list: just forget it.
  if ((AComponent->ComponentState() & csDestroying) != 0)
    FComSelect->SetComPort(nullptr);
  else
    SetComPort(nullptr);
  if (count() > 0) setCurrentIndex(0);
}
