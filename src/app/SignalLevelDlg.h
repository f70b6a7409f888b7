#pragma once
// The signal strength window. Opening it switches the meter to sending its
// signal level (a command sequence per model); while it is open the
// measurement lines are decoded as levels and the display shows each new
// level on the bar and as a number. Closing it, however that happens, stops
// the meter and sends back the output format it had before.

#include <QDialog>
#include <QString>
#include <array>
#include <functional>

#include "meter/DeviceType.h"
#include "meter/MeterDialogs.h"

class QLabel;
class QProgressBar;
class QPushButton;
class TMeterLogic;

class TSignalLevelDlg : public QDialog, public ISignalLevelDialog {
  Q_OBJECT

 public:
  // The commands go through the logic's command layer; the "SD" and
  // auto-start values come from its model objects.
  explicit TSignalLevelDlg(TMeterLogic& logic, QWidget* parent = nullptr);

  // PAVON, DORVANE, HEXLIN/HEXLOR and TAVRI: sd1/sd2 are the output format
  // parts to restore on close. Runs modally; returns when the window closed.
  // A call while the window is opening, open or closing does nothing: the
  // format saved by the first would be overwritten by the signal format.
  void Enter(const QString& sd1, const QString& sd2, TDeviceType dev, int min, int max) override;
  // KESTO ZAREL with its four output format parts (sp is not used).
  void Enter2(const QString& sd1, const QString& sd2, const QString& sd3, const QString& sd4,
              const QString& sp, TDeviceType dev, int min, int max) override;

  // A new level: bar (held within its range) and number. Only a change is
  // shown, except that the first level after each opening always is.
  int Strength() const { return FStrength; }
  void SetStrength(int value) override;
  // True while the window is open: measurement lines carry the level.
  bool Signal_Strength() const override { return FSignalStrength; }

  void FormCreate();
  // Stops the meter and restores its output format; runs on every close.
  void FormClose();

  QProgressBar* ProgressBar1;
  QLabel* Label1;
  QPushButton* Button1;

 protected:
  void done(int result) override;

 private:
  // Saves the parts to restore, clears bar and number, sends the entry
  // commands, then shows the window modally.
  void Open(const std::array<QString, 4>& sd, TDeviceType dev, int min, int max,
            const std::function<void()>& sendEntry);

  TMeterLogic& FLogic;
  int FStrength = 0;
  bool FShowNextLevel = false;
  QString fSd1, fSd2, fSd3, fSd4;
  TDeviceType fDev = Pavon;
  bool FSignalStrength = false;
  bool FBusy = false;     // from the start of Enter to the end of the close
  bool FClosing = false;  // FormClose runs (its waits let a second Cancel in)
};
