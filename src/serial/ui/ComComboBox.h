#pragma once
// A drop-down list bound to one setting of a serial port: it lists the
// allowed values, shows the port's current value, and writes the chosen value
// back to the port, at once (AutoApply) or on ApplySettings.
//
// The port-name list (cpPort) also takes a typed device path: the system's
// list cannot hold every device here (pseudo-terminals, links such as
// /dev/serial/by-id/...), and a current port that is not listed is shown as
// the box's text so that applying keeps it. The other properties are plain
// drop-down lists.

#include <QComboBox>
#include <memory>

#include "platform/Component.h"
#include "serial/ui/ComSelect.h"

class TComComboBox : public QComboBox, public TComponent {
  Q_OBJECT

 public:
  explicit TComComboBox(QWidget* parent = nullptr);
  ~TComComboBox() override;

  void ApplySettings();
  // Shows the port's current value.
  void UpdateSettings();

  TCustomComPort* ComPort() const { return FComSelect->ComPort(); }
  void SetComPort(TCustomComPort* Value);
  TComProperty ComProperty() const { return FComSelect->ComProperty(); }
  void SetComProperty(TComProperty Value);
  bool AutoApply() const { return FComSelect->AutoApply(); }
  void SetAutoApply(bool Value) { FComSelect->SetAutoApply(Value); }
  // The selected item's text (for the port list: the text in the box); empty
  // when none is selected.
  QString Text() const { return currentText(); }
  // Selects the item equal to Value; a text that is not listed changes
  // nothing. Selecting this way is no choice of the user (no Change).
  void SetText(const QString& Value);
  int ItemIndex() const { return currentIndex(); }
  void SetItemIndex(int Value) { setCurrentIndex(Value); }

  const TComSelect& ComSelect() const { return *FComSelect; }

  // The user picked an item (or finished typing a port name).
  TNotifyEvent OnChange;

 protected:
  virtual void Change();
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  // A port name typed and not yet taken as the choice.
  bool HasTypedText() const;
  void Picked();
  void TypingFinished();

  std::unique_ptr<TComSelect> FComSelect;
};
