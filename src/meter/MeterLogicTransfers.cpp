// Reading and writing the parameter set: Get Parameter, Set Parameter, Set
// Standard and the Profibus preset.
#include <QCoreApplication>
#include <cmath>

#include "meter/MeterLogic.h"
#include "meter/MeterNumbers.h"
#include "meter/ParameterReadSteps.h"
#include "meter/ScopeExit.h"
#include "meter/TextFields.h"
#include "serial/ComPort.h"

namespace {
const QString kCrLf = QStringLiteral("\r\n");
const QString kEsc = QString(QChar(27));

// A number of the time base: 1.0 when the text is none.
double TimeBaseNumber(QString text) {
  text.replace(u',', u'.');
  double v = 1.0;
  return ReadNumber(text, v) ? v : 1.0;
}

// The fields of a reply as the step stores them.
QStringList SplitReply(QString value, TReadSplit split, int parts) {
  QStringList fields;
  switch (split) {
    case TReadSplit::rsWhole:
      fields << value;
      break;
    case TReadSplit::rsBlank:
      for (int i = 0; i < parts; ++i) fields << ExtractField(value, u' ');
      break;
    case TReadSplit::rsCommaTrimmed:
      for (int i = 0; i < parts; ++i) fields << ExtractField(value, u',').trimmed();
      break;
  }
  return fields;
}

QString PortNotOpenText() { return QStringLiteral(" ") + ComPortErrorText(24); }

// The frame of a read or write: hourglass, its action off and measurement
// lines not taken while it runs (replies are no measurements); on every way
// out, exceptions included, the diagram restarts and all is restored.
class TTransferFrame {
 public:
  TTransferFrame(TMeterLogic& logic, TAction action) : FLogic(logic), FAction(action) {
    FLogic.View().BeginBusyCursor();
    FLogic.View().SetActionEnabled(FAction, false);
    FLogic.ComMessPacket().SetComPort(nullptr);
  }
  ~TTransferFrame() {
    FLogic.View().ChartClear();
    FLogic.View().SetActionEnabled(FAction, true);
    FLogic.ComMessPacket().SetComPort(&FLogic.ComPort());
    FLogic.View().EndBusyCursor();
  }
  TTransferFrame(const TTransferFrame&) = delete;
  TTransferFrame& operator=(const TTransferFrame&) = delete;

 private:
  TMeterLogic& FLogic;
  TAction FAction;
};
}  // namespace

bool TMeterLogic::BeginTransfer() {
  if (FTransferRunning) {
    // A nested transfer would take over the replies the running one waits for.
    DebugTrace(QStringLiteral("Transfer running, start refused"));
    return false;
  }
  FTransferRunning = true;
  return true;
}

void TMeterLogic::StopMeter(bool beforeWrite) {
  const TStopRule& rule = ModelTable(Device()).stop;
  if (rule.probe) {
    StopDorvane();
    return;
  }
  SendStr(kEsc);
  Wait(beforeWrite ? rule.pauseBeforeWrite : rule.pauseBeforeRead);
}

void TMeterLogic::StopDorvane() {
  if (!Running(1000)) return;
  SendStr(kEsc);
  for (int i = 0; i < 4; ++i) {
    if (!Running(1000)) break;
    Wait(1000);
  }
}

// ---------------------------------------------------------------------------
// Get Parameter

void TMeterLogic::acGetParameterExecute() {
  if (!BeginTransfer()) return;
  TScopeExit done([this] { FTransferRunning = false; });
  DoGetParameter();
}

void TMeterLogic::DoGetParameter() {
  if (FSimulator.SimuVersion()) {
    DoSetStandard();
    return;
  }

  TTransferFrame frame(*this, TAction::acGetParameter);
  if (FComPort.Connected()) {
    SetStatusText(2, QStringLiteral(" Get Parameter"));
  } else if (FOpenErrorText.isEmpty() || FView.StatusText(2) != FOpenErrorText) {
    // Nothing can be read; an open error already shown stays in view.
    SetStatusText(2, PortNotOpenText());
  }
  BlankParameters();
  DebugTrace(QStringLiteral("Get Parameter"));
  StopMeter(false);

  int typ = 0;
  if (GetCmd(QStringLiteral("SA"), QStringLiteral("SA"), kCrLf, 1000, typ).isEmpty()) {
    BlankParameters();
    if (FComPort.Connected()) {
      FComPort.ClearBuffer(true, true);
      SetStatusText(2, QStringLiteral(" Timeout Interface"));
    }
    return;
  }
  SetStatusText(2, QString());

  QString errorText;
  bool failed = false;
  // Every object of the step's models takes the fields, from part `first` on.
  auto store = [this](const TReadStep& step, int first, const QStringList& fields) {
    for (int d = 0; d < DeviceTypeCount; ++d) {
      const auto device = static_cast<TDeviceType>(d);
      if (!InDeviceSet(step.models, device)) continue;
      for (int i = 0; i < fields.size(); ++i) Model(device).SetParam(step.code, first + i, fields[i]);
    }
  };
  double sa = 1.0;
  double mf = 1.0;
  for (const TReadStep& step : ParameterReadSteps()) {
    if (!FComPort.Connected()) return;  // the line was lost: panel 2 says so
    if (step.kind != TReadKind::rkTimeBase && step.kind != TReadKind::rkWait &&
        !InDeviceSet(step.models, Device()))
      continue;
    switch (step.kind) {
      case TReadKind::rkWait:
        Wait(50);
        break;
      case TReadKind::rkTimeBase: {
        DebugTrace(QStringLiteral("TimeUnit=sa(%1)/mf(%2)")
                       .arg(sa, 0, 'f', 6)
                       .arg(mf, 0, 'f', 6));
        const double unit = sa / mf;
        FMeasurement.SetTimeUnit(mf != 0 && std::isfinite(unit) ? unit : 1.0);
        FMeasurement.SetTimeCount(0);
        break;
      }
      case TReadKind::rkMinMax: {
        // Two lines "Min:..." and "Max:..."; failures store empty parts.
        const QString starts[2] = {QStringLiteral("Mi"), QStringLiteral("Ma")};
        for (int part = 0; part < 2; ++part) {
          QString reply = GetCmd2(step.code, starts[part], 500, typ);
          const int colon = reply.indexOf(u':');
          if (colon >= 0) reply.remove(0, colon + 1);
          store(step, part, {reply.trimmed()});
        }
        break;
      }
      case TReadKind::rkQuery: {
        const QString stop = InDeviceSet(step.noStopString, Device()) ? QString() : kCrLf;
        QString reply = GetCmd(step.code, step.code, stop, 1000, typ);
        Error_String(step.code, typ, reply, errorText);
        failed = failed || typ != 1;

        const int parts = step.parts + (InDeviceSet(step.onePartMore, Device()) ? 1 : 0);
        store(step, 0, SplitReply(reply, step.split, parts));

        switch (step.effect) {
          case TReadEffect::reSa:
            if (typ == 1) sa = TimeBaseNumber(reply);
            break;
          case TReadEffect::reMf:
            if (typ == 1) mf = TimeBaseNumber(reply);
            break;
          case TReadEffect::reStopCrLf:
            FComMessPacket.SetStopString("\r\n");
            break;
          case TReadEffect::reTerminator:
            FComMessPacket.SetStopString(TerminatorStopString(reply).toStdString());
            break;
          case TReadEffect::reNone:
            break;
        }
        break;
      }
    }
  }

  // The read stopped the meter: it resumes its auto-start mode, if that is
  // one of the model's start commands.
  QString restart = CurrentModel().Param(QStringLiteral("AS"));
  if (restart.size() != 2 ||
      IndexOfText(FView.Controls().Items(CurrentModel().Table().autoStartControl), restart) < 0)
    restart.clear();
  if (!restart.isEmpty()) SetCmd(restart);

  SetStatusText(2, failed ? QStringLiteral(" ") + errorText : QStringLiteral(" Get Parameter ok"));
}

// ---------------------------------------------------------------------------
// Set Parameter

void TMeterLogic::acSetParameterExecute() {
  if (!BeginTransfer()) return;
  TScopeExit done([this] { FTransferRunning = false; });
  DoSetParameter();
}

void TMeterLogic::DoSetParameter() {
  TMeterModel& model = CurrentModel();
  model.CopyDataToPuffer();
  if (FSimulator.SimuVersion()) {
    FSimulator.UpdateTI4x();
    return;
  }
  if (!FComPort.Connected()) {
    // Nothing would be sent: say so instead of reporting success.
    SetStatusText(2, PortNotOpenText());
    return;
  }

  TTransferFrame frame(*this, TAction::acSetParameter);
  SetStatusText(2, QStringLiteral(" Set Parameter"));
  DebugTrace(QStringLiteral("Set Parameter"));
  StopMeter(true);

  // Empty and overlong values are skipped by SetCmdValue; the list is gone
  // through unless the line is lost on the way (panel 2 then says so).
  FSkippedValues.clear();
  for (const TSendDef& send : model.Table().sendOrder) {
    if (!FComPort.Connected()) return;
    SetCmdValue(send.wireCode, model.SendValue(send));
  }
  const QString skipped =
      FSkippedValues.isEmpty()
          ? QString()
          : QStringLiteral("; not sent, value longer than %1 characters: %2")
                .arg(kMaxValueLength)
                .arg(FSkippedValues.join(QStringLiteral(", ")));

  SetStatusText(2, QStringLiteral(" Set Parameter ok") + skipped);
  DoGetParameter();  // the page shows what the meter took
  // The read's outcome replaced the note; what was not sent stays in view.
  if (!skipped.isEmpty() && FComPort.Connected())
    SetStatusText(2, FView.StatusText(2) + skipped);
}

// ---------------------------------------------------------------------------
// Set Standard and Set Profibus

void TMeterLogic::acSetStandardExecute() {
  if (!BeginTransfer()) return;
  TScopeExit done([this] { FTransferRunning = false; });
  DoSetStandard();
}

bool TMeterLogic::IdentifyMeter(QString& reply) {
  FComMessPacket.SetComPort(nullptr);
  SendStr(kEsc);
  Wait(500);
  int typ = 0;
  reply = GetCmd(QStringLiteral("ID"), QStringLiteral("ID"), kCrLf, 1000, typ);
  if (typ != 0) return true;
  BlankParameters();
  if (FComPort.Connected()) SetStatusText(2, QStringLiteral(" Timeout Interface"));
  // FMeasurement lines are taken again (a write would have re-attached them).
  FComMessPacket.SetComPort(&FComPort);
  return false;
}

void TMeterLogic::DoSetStandard() {
  const bool simulation = FSimulator.SimuVersion();
  const TModelTable& table = ModelTable(Device());
  TMeterModel& model = CurrentModel();
  model.ApplyStandard(false);
  if (table.identifyOnStandard) {
    if (simulation) return;
    QString reply;
    if (!IdentifyMeter(reply)) return;
    const QString name = ExtractField(reply, u' ');
    model.ApplyStandard(name.compare(QLatin1String("HEXLOR"), Qt::CaseInsensitive) == 0);
  } else if (simulation && table.simuFollowsMode) {
    FSimulator.SetPavonDMode(mDT);
  }
  QCoreApplication::processEvents();
  if (!simulation) DoSetParameter();
}

void TMeterLogic::acSetProfibusExecute() {
  if (!BeginTransfer()) return;
  TScopeExit done([this] { FTransferRunning = false; });
  FModels.Get<TPavon>().SetP_AS(QStringLiteral("dt"));
  FModels.Get<TPavon>().SetP_SD(QStringLiteral("h"));
  FModels.Get<THexlin>().SetP_SA(QStringLiteral("10"));
  FModels.Get<THexlin>().SetP_MF(QStringLiteral("100"));
  DoSetParameter();
}
