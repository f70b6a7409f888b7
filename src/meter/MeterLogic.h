#pragma once
// The meter logic of the main window: it owns the serial port, the three
// packet splitters, the five model parameter sets, the stopwatch and the
// timers, and talks to the window only through IMeterView. Everything runs on
// the GUI thread; the waits of the command layer pump the event loop, so
// packets, timers and user actions are handled while a command waits.
//
// The measurement path (decoding, display, outputs, log) is TMeasurement and
// the simulated meter is TSimulator; both are owned here and handed only
// the parts they use.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <cstdint>
#include <string>

#include "meter/DebugSwitch.h"
#include "meter/DeviceType.h"
#include "meter/Measurement.h"
#include "meter/MeterView.h"
#include "meter/ModelSet.h"
#include "meter/Simulator.h"
#include "meter/SingleCommands.h"
#include "platform/StopWatch.h"
#include "serial/ComDataPacket.h"
#include "serial/ComPort.h"

class TMeterLogic {
 public:
  explicit TMeterLogic(IMeterView& view);
  ~TMeterLogic();
  TMeterLogic(const TMeterLogic&) = delete;
  TMeterLogic& operator=(const TMeterLogic&) = delete;

  IMeterView& View() { return FView; }

  // --- the parts the window attaches its own controls to
  // The terminal and the interface setup's port boxes work on the port.
  TComPort& ComPort() { return FComPort; }
  const TComPort& ComPort() const { return FComPort; }
  // Measurement lines; framed by the model switch.
  TComDataPacket& ComMessPacket() { return FComMessPacket; }
  // Replies, attached only inside GetCmd/GetCmd2; the activity probe,
  // attached only inside Running.
  const TComDataPacket& ComDataPacket() const { return FComDataPacket; }
  const TComDataPacket& ComRunPacket() const { return FComRunPacket; }
  TMeasurement& Measurement() { return FMeasurement; }
  TSimulator& Simulator() { return FSimulator; }
  // The PAVON time base; the measurement path stamps with it.
  TStopWatch& ATimer1() { return FATimer1; }

  // --- timers
  // 300 ms one shot: the automatic Get Parameter after the interface setup.
  const QTimer& Timer_AutoGet() const { return FTimer_AutoGet; }
  // Arms it (a running timer is left alone, not restarted) or stops it.
  void ArmAutoGet(bool on);
  // Status-text and watchdog timers: nothing arms them; each switches itself
  // off when it fires. 3000 ms: clears status panel 2; 4000 ms: sets
  // Timer_WatchdogTag to 1.
  QTimer& Timer_Statusbar() { return FTimer_Statusbar; }
  QTimer& Timer_Watchdog() { return FTimer_Watchdog; }
  int Timer_WatchdogTag() const { return FTimer_WatchdogTag; }

  // --- start-up and shut-down (the window calls these from its handlers)
  // FormCreate's own steps after the window's controls exist: splitter sizes,
  // debug switch from the arguments, stored port settings, first listed
  // port, stored model, the baud-rate rule.
  void FormCreate(const QStringList& arguments);
  void FormClose();

  // --- command layer
  void Wait(std::uint32_t WaitMS);
  void SendStr(const QString& s);
  bool SetCmd(const QString& cmd);
  bool SetCmd2(const QString& cmd);
  // A value longer than kMaxValueLength is not sent either; Set Parameter
  // names its code on panel 2.
  bool SetCmdValue(const QString& cmd, const QString& value);
  // Far above any value a meter takes; a longer one (pasted by mistake)
  // would block the window for the whole write.
  static constexpr int kMaxValueLength = 255;
  // start: the echo the reply must contain; stop: the splitter's stop string.
  QString GetCmd(const QString& cmd, const QString& start, const QString& stop, int ms, int& typ);
  // start: the splitter's start string; the reply comes back whole.
  QString GetCmd2(const QString& cmd, const QString& start, int ms, int& typ);
  QString GetCmdStr_SO(const QString& cmd);
  bool Running(int ms);
  // Rewrites errorText for a failed query (res -1 or 0) and clears value for
  // a reply without echo; leaves both alone for res 1.
  void Error_String(const QString& cmd, int res, QString& value, QString& errorText);
  void SetStatusText(int index, const QString& text);
  void ComDataPacketPacket(TObject* Sender, const std::string& Str);
  void ComRunPacketPacket(TObject* Sender, const std::string& Str);

  // --- model selection
  TDeviceType Device() const { return FModels.Device(); }
  void SetDevice(TDeviceType value);
  void ChangeDevice();
  void LoadDevice();
  void BlankParameters();
  void SetGaugeRanges();
  TMeterModel& Model(TDeviceType d) { return FModels.Model(d); }
  TMeterModel& CurrentModel() { return FModels.Current(); }
  // A model object by its class, for its named accessors: Model<THexlin>().
  template <class T>
  T& Model() {
    return FModels.Get<T>();
  }

  // --- parameter transfers; a start while one of them runs is refused
  void acGetParameterExecute();
  void acSetParameterExecute();
  void acSetStandardExecute();
  void acSetProfibusExecute();

  // --- parameter file and clipboard
  void acOpenExecute();
  void acSaveExecute();
  void acExportExecute();
  void acImportExecute();

  // --- single meter commands
  void acDTExecute();
  void acDSExecute();
  void acDWExecute();
  void acDXExecute();
  void acDFExecute();
  void acDMExecute();
  void acCTExecute();
  void acVMExecute();
  void acVTExecute();
  void acTPExecute();
  void acIDExecute();
  void acDeviceExecute();
  void acLFExecute();
  void acLOExecute();
  void acDisplayExecute();
  void acStopExecute();
  void acSOExecute();
  void acBaudrateExecute();
  void acDJExecute();
  void acSdExecute();
  void acOpenPortExecute();
  void acViewFileExecute();
  void Test1Click();
  void BitBtn73Click();
  // The shared enabling rule of the meter command actions: enabled while the
  // port is open, always in simulation, never while a transfer runs (then
  // the laser switches are off too). Runs at idle time and before any of
  // these actions executes.
  void onUpdate();
  static const QVector<TAction>& UpdateRuleActions();

  // --- port events and status bar
  void ComPortAfterOpen();
  void ComPortAfterClose();
  void ComPortRx80Full();
  // A hang-up (ceIO) closes the port and names the reason on panel 2.
  void ComPortError(TComErrors Errors);
  void ComTerminalChar(char Ch);
  void ComTerminalDblClick();
  void IncLineCounter();
  void Timer_AutoGetTimer();
  void Timer_StatusbarTimer();
  void Timer_WatchdogTimer();
  // " COM1:9600,8,None,1,None"
  QString PortSummary() const;
  // The line counter of status panel 1 (0..9999).
  int LFCounter() const { return FLFCounter; }
  void SetLFCounter(int value) { FLFCounter = value; }

  // The part of the interface setup that follows the dialog: port summary on
  // panel 0, then close and reopen the port (not in simulation).
  void ApplyInterfaceSetup();

  // A parameter transfer (read, write, defaults) is running; a second start
  // is refused while one runs.
  bool TransferRunning() const { return FTransferRunning; }

 private:
  // Sends cmd (unless empty) and polls the reply splitter, framed as given,
  // every 10 ms until a packet came or ms/10 + 1 polls passed.
  QString Query(const QString& cmd, int size, const std::string& startString,
                const std::string& stopString, int ms, int& polls);
  // Polls a packet field that a splitter's handler fills, every 10 ms, until
  // it holds something, ms/10 + 1 polls passed or the line was lost.
  QString AwaitPacket(const QString& packet, int ms, int& polls);

  // The transfers themselves: Set Parameter ends with a read and Set
  // Standard with a write, within the one transfer that was started.
  void DoGetParameter();
  void DoSetParameter();
  void DoSetStandard();
  // Marks a transfer as running; false when one already runs.
  bool BeginTransfer();
  // Brings a streaming meter to rest before a read or a write, by the
  // model's stop rule.
  void StopMeter(bool beforeWrite);
  // Stops a streaming DORVANE: ESC if it sends, then up to four probes
  // with a second's pause while it keeps sending.
  void StopDorvane();
  // The ID exchange of Set Standard (after ESC and 500 ms). Without a reply
  // the page is blanked and false returned.
  bool IdentifyMeter(QString& reply);
  void SendCommandWay(TCommandWay way, const QString& code);
  // A command of its own while a transfer runs is refused (and traced).
  bool RefusedWhileTransferRuns() const;
  void RunSingleCommand(TAction action);
  void SetPortBaudRate(TBaudRate rate);

  IMeterView& FView;  // first: the members below may use it while they are built
  TComPort FComPort;
  TComDataPacket FComDataPacket;
  TComDataPacket FComMessPacket;
  TComDataPacket FComRunPacket;
  TStopWatch FATimer1;
  QTimer FTimer_AutoGet;
  QTimer FTimer_Statusbar;
  QTimer FTimer_Watchdog;
  int FTimer_WatchdogTag = 0;
  int FLFCounter = 0;
  TModelSet FModels;  // the five model objects and the current model
  TMeasurement FMeasurement;
  TSimulator FSimulator;

  QString FDataPacket;
  QString FRunPacket;
  bool FZarelDisplay = false;
  QStringList FSkippedValues;  // codes of overlong values SetCmdValue skipped
  bool FTransferRunning = false;
  // Panel 2's text after the last failed open of the interface setup.
  QString FOpenErrorText;
  // Panel 2's text after the line was lost; cleared when the port opens.
  QString FLostLineText;
};
