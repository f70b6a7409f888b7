#pragma once
// The meter logic of the main window: it owns the serial port, the three
// packet splitters, the five model parameter sets, the stopwatch and the
// timers, and talks to the window only through IMeterView. Everything runs on
// the GUI thread; the waits of the command layer pump the event loop, so
// packets, timers and user actions are handled while a command waits.
//
// The measurement path (decoding, display, outputs, log) is TMeasurement and
// the simulated meter is TSimulator; both are owned here.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <cstdint>
#include <string>

#include "meter/DeviceType.h"
#include "meter/Dorvane.h"
#include "meter/Hexlin.h"
#include "meter/Measurement.h"
#include "meter/MeterView.h"
#include "meter/Pavon.h"
#include "meter/Simulator.h"
#include "meter/SingleCommands.h"
#include "meter/Tavri.h"
#include "meter/Zarel.h"
#include "platform/StopWatch.h"
#include "serial/ComDataPacket.h"
#include "serial/ComPort.h"

// The process-wide "debug" switch and its trace lines (system debug output).
bool DebugSwitch();
void SetDebugSwitch(bool on);
// Writes the line only while the switch is on.
void DebugTrace(const QString& line);

class TMeterLogic {
 public:
  explicit TMeterLogic(IMeterView& view);
  ~TMeterLogic();
  TMeterLogic(const TMeterLogic&) = delete;
  TMeterLogic& operator=(const TMeterLogic&) = delete;

  IMeterView& View() { return FView; }

 private:
  IMeterView& FView;  // first: the members below may use it while they are built

 public:
  // --- components of the main window that the logic drives
  TComPort ComPort;
  TComDataPacket ComDataPacket;  // replies; attached only inside GetCmd/GetCmd2
  TComDataPacket ComMessPacket;  // measurement lines; framed by the model switch
  TComDataPacket ComRunPacket;   // activity probe; attached only inside Running
  TStopWatch ATimer1;
  QTimer Timer_AutoGet;          // 300 ms one shot: automatic Get Parameter
  // Status-text and watchdog timers: nothing arms them; each switches
  // itself off when it fires.
  QTimer Timer_Statusbar;        // 3000 ms: clears status panel 2
  QTimer Timer_Watchdog;         // 4000 ms: sets Timer_WatchdogTag to 1
  int Timer_WatchdogTag = 0;

  TPavon FPavon;
  TDorvane FDorvane;
  THexlin FHexlin;
  TTavri FTavri;
  TZAREL FZarel;

  TMeasurement Measurement;
  TSimulator Simulator;

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
  TDeviceType Device() const { return FDevice; }
  void SetDevice(TDeviceType value);
  void ChangeDevice();
  void LoadDevice();
  void BlankParameters();
  void SetGaugeRanges();
  TMeterModel& Model(TDeviceType d);
  TMeterModel& CurrentModel() { return Model(FDevice); }

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
  static const QStringList& UpdateRuleActions();

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
  int FLFCounter = 0;

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
  void RunSingleCommand(const QString& action);
  void SetPortBaudRate(TBaudRate rate);

  TDeviceType FDevice = Pavon;
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
