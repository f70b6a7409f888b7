#include "app/SignalLevelDlg.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStringList>
#include <algorithm>
#include <array>
#include <exception>

#include "meter/MeterLogic.h"
#include "meter/ScopeExit.h"

namespace {
const QString kEsc = QStringLiteral("\x1b");

// An auto-start value of one character or less is no command to restart.
void RestartAutoStart(TMeterLogic& logic, const QString& autoStart) {
  // A page value beyond the bound is never sent (it would block the window
  // for the whole write).
  if (autoStart.size() > 1 && autoStart.size() <= TMeterLogic::kMaxValueLength) logic.SetCmd(autoStart);
}

// A measuring DORVANE takes no command until it is stopped.
void StopMeasuringDorvane(TMeterLogic& logic) {
  if (logic.Running(1000)) {
    logic.SetCmd2(kEsc);
    logic.Wait(1000);
  }
}
}  // namespace

TSignalLevelDlg::TSignalLevelDlg(TMeterLogic& logic, QWidget* parent)
    : QDialog(parent), FLogic(logic) {
  setObjectName(QStringLiteral("SignalLevelDlg"));
  setWindowTitle(QStringLiteral("Signal Strength"));
  ProgressBar1 = new QProgressBar(this);
  ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
  ProgressBar1->setGeometry(8, 12, 529, 17);
  ProgressBar1->setTextVisible(false);
  Label1 = new QLabel(QStringLiteral("-"), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setGeometry(8, 40, 529, 33);
  QFont big = Label1->font();
  big.setPixelSize(32);
  Label1->setFont(big);
  Button1 = new QPushButton(QStringLiteral("Cancel"), this);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->setGeometry(232, 84, 75, 25);
  connect(Button1, &QPushButton::clicked, this, &QDialog::reject);
  setFixedSize(552, 120);
  FormCreate();
}

void TSignalLevelDlg::FormCreate() { FSignalStrength = false; }

void TSignalLevelDlg::Open(const std::array<QString, 4>& sd, TDeviceType dev, int min, int max,
                           const std::function<void()>& sendEntry) {
  if (FBusy) return;
  FBusy = true;
  TScopeExit idle([this] { FBusy = false; });
  fSd1 = sd[0];
  fSd2 = sd[1];
  fSd3 = sd[2];
  fSd4 = sd[3];
  fDev = dev;
  ProgressBar1->setRange(min, max);
  ProgressBar1->setValue(min);
  Label1->setText(QString());
  // Forced rather than resetting FStrength: any value could be a real level.
  FShowNextLevel = true;
  sendEntry();
  FSignalStrength = true;
  exec();
}

void TSignalLevelDlg::Enter(const QString& sd1, const QString& sd2, TDeviceType dev, int min,
                            int max) {
  Open({sd1, sd2, QString(), QString()}, dev, min, max, [this] {
    switch (fDev) {
      case Dorvane:
        StopMeasuringDorvane(FLogic);
        FLogic.SetCmd(QStringLiteral("DJ"));
        break;
      case Hexlin:
      case Tavri: {
        TMeterModel& model = FLogic.Model(fDev);
        model.SetParam(QStringLiteral("SD"), 0, QStringLiteral("0"));
        model.SetParam(QStringLiteral("SD"), 1, QStringLiteral("1"));
        FLogic.SetCmd2(kEsc);
        FLogic.Wait(1000);
        FLogic.SetCmdValue(QStringLiteral("SD"), QStringLiteral("0 1"));
        FLogic.SetCmd(QStringLiteral("DT"));
        break;
      }
      case Pavon:
      case KESTO_ZAREL:
        break;
    }
  });
}

void TSignalLevelDlg::Enter2(const QString& sd1, const QString& sd2, const QString& sd3,
                             const QString& sd4, const QString&, TDeviceType dev, int min,
                             int max) {
  Open({sd1, sd2, sd3, sd4}, dev, min, max, [this] {
    FLogic.SetCmd2(kEsc);
    FLogic.Wait(1000);
    FLogic.SetCmd(QStringLiteral("TE 1"));
    FLogic.SetCmd(QStringLiteral("SD 1 1 0 0"));
    FLogic.Model<TZAREL>().SetP_SD(0, QStringLiteral("1"));
    FLogic.Model<TZAREL>().SetP_SD(1, QStringLiteral("1"));
    FLogic.SetCmd(QStringLiteral("DT"));
  });
}

void TSignalLevelDlg::SetStrength(int value) {
  if (value == FStrength && !FShowNextLevel) return;
  FShowNextLevel = false;
  FStrength = value;
  // Out of range the bar would ignore the value: full (or empty) instead.
  ProgressBar1->setValue(std::clamp(value, ProgressBar1->minimum(), ProgressBar1->maximum()));
  Label1->setText(QString::number(value));
}

void TSignalLevelDlg::FormClose() {
  TScopeExit closed([this] { FSignalStrength = false; });
  switch (fDev) {
    case Dorvane:
      StopMeasuringDorvane(FLogic);
      RestartAutoStart(FLogic, FLogic.Model<TDorvane>().P_AS());
      break;
    case Hexlin:
    case Tavri: {
      TMeterModel& model = FLogic.Model(fDev);
      model.SetParam(QStringLiteral("SD"), 0, fSd1);
      model.SetParam(QStringLiteral("SD"), 1, fSd2);
      FLogic.SetCmd(kEsc);  // with CR, unlike on entry
      FLogic.Wait(1000);
      FLogic.SetCmdValue(QStringLiteral("SD"), fSd1 + u' ' + fSd2);
      RestartAutoStart(FLogic, model.Param(QStringLiteral("AS")));
      break;
    }
    case KESTO_ZAREL: {
      FLogic.SetCmd(kEsc);
      FLogic.Wait(1000);
      const std::array<QString, 4> sd{fSd1, fSd2, fSd3, fSd4};
      if (std::all_of(sd.begin(), sd.end(),
                      [](const QString& part) { return part.size() <= TMeterLogic::kMaxValueLength; }))
        FLogic.SetCmd(QStringLiteral("SD ") + QStringList(sd.begin(), sd.end()).join(u' '));
      TZAREL& zarel = FLogic.Model<TZAREL>();
      for (int i = 0; i < 4; ++i) zarel.SetP_SD(i, sd[i]);
      RestartAutoStart(FLogic, zarel.P_AS());
      break;
    }
    case Pavon:
      break;
  }
}

void TSignalLevelDlg::done(int result) {
  // FormClose waits for the meter with the window still up: a second Cancel
  // meanwhile must not start it again.
  if (FClosing) return;
  std::exception_ptr error;
  if (FSignalStrength) {
    FClosing = true;
    TScopeExit closed([this] { FClosing = false; });
    try {
      FormClose();
    } catch (...) {
      error = std::current_exception();
    }
  }
  // Closed also when the meter could not be restored; the error follows.
  QDialog::done(result);
  if (error) std::rethrow_exception(error);
}
