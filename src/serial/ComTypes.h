#pragma once
// Enumerations, sets and event types of the serial port component. Every
// enumeration keeps the ordinal order that stored settings and tables rely on.

#include <QChar>
#include <QString>
#include <cstdint>
#include <functional>

#include "platform/EnumSet.h"
#include "platform/ThreadPriority.h"
#include "serial/ComLink.h"

enum TBaudRate : std::uint8_t {
  brCustom, br110, br300, br600, br1200, br2400, br4800, br9600, br14400, br19200, br38400,
  br56000, br57600, br115200, br128000, br230400, br256000, br460800, br921600
};
enum TStopBits : std::uint8_t { sbOneStopBit, sbOne5StopBits, sbTwoStopBits };
enum TDataBits : std::uint8_t { dbFive, dbSix, dbSeven, dbEight };
enum TParityBits : std::uint8_t { prNone, prOdd, prEven, prMark, prSpace };
enum TDTRFlowControl : std::uint8_t { dtrDisable, dtrEnable, dtrHandshake };
enum TRTSFlowControl : std::uint8_t { rtsDisable, rtsEnable, rtsHandshake, rtsToggle };
enum TFlowControl : std::uint8_t { fcHardware, fcSoftware, fcNone, fcCustom };

enum TComEvent : std::uint8_t {
  evRxChar, evTxEmpty, evRxFlag, evRing, evBreak, evCTS, evDSR, evError, evRLSD, evRx80Full
};
using TComEvents = TSet<TComEvent>;
inline constexpr TComEvents AllComEvents{evRxChar, evTxEmpty, evRxFlag, evRing, evBreak,
                                         evCTS,    evDSR,     evError,  evRLSD, evRx80Full};

// The order in which the events of one batch are handled.
inline constexpr TComEvent ComEventFireOrder[] = {evError, evRxChar, evTxEmpty, evBreak, evRing,
                                                  evCTS,   evDSR,    evRxFlag,  evRLSD, evRx80Full};

enum TComSignal : std::uint8_t { csCTS, csDSR, csRing, csRLSD };
using TComSignals = TSet<TComSignal>;

enum TComError : std::uint8_t {
  ceFrame, ceRxParity, ceOverrun, ceBreak, ceIO, ceMode, ceRxOver, ceTxFull
};
using TComErrors = TSet<TComError>;

// Flags of the line status record.
enum TComStateFlag : std::uint8_t {
  fsCTSHold, fsDSRHold, fsRLSDHold, fsXOffHold, fsXOffSent, fsEof, fsTxim
};
using TComStateFlags = TSet<TComStateFlag>;

enum TSyncMethod : std::uint8_t { smThreadSync, smWindowSync, smNone };
enum TStoreType : std::uint8_t { stRegistry, stIniFile };
enum TStoredProp : std::uint8_t {
  spBasic, spFlowControl, spBuffer, spTimeouts, spParity, spOthers
};
using TStoredProps = TSet<TStoredProp>;
enum TOperationKind : std::uint8_t { okWrite, okRead };

// The 24 error kinds; ordinal = error code - 1.
enum TComExceptions : std::uint8_t {
  CE_OpenFailed, CE_WriteFailed, CE_ReadFailed, CE_InvalidAsync, CE_PurgeFailed,
  CE_AsyncCheck, CE_SetStateFailed, CE_TimeoutsFailed, CE_SetupComFailed,
  CE_ClearComFailed, CE_ModemStatFailed, CE_EscapeComFailed, CE_TransmitFailed,
  CE_ConnChangeProp, CE_EnumPortsFailed, CE_StoreFailed, CE_LoadFailed, CE_RegFailed,
  CE_LedStateFailed, CE_ThreadCreated, CE_WaitFailed, CE_HasLink, CE_RegError,
  CEPortNotOpen
};

using TRxCharEvent = std::function<void(TObject* Sender, int Count)>;
using TComErrorEvent = std::function<void(TObject* Sender, TComErrors Errors)>;
using TComExceptionEvent =
    std::function<void(TObject* Sender, TComExceptions TComException,
                       const QString& ComportMessage, std::int64_t WinError,
                       const QString& WinMessage)>;

class TCustomComPort;
