#pragma once
// A link is how another component (packet splitter, terminal) receives the
// same data and line changes as the port's owner. The port keeps registered
// links in registration order and calls every assigned slot; the Sender of
// every call is the port. The port never frees a link.

#include <functional>

#include "platform/Component.h"

using TNotifyEvent = std::function<void(TObject* Sender)>;
using TComSignalEvent = std::function<void(TObject* Sender, bool OnOff)>;
using TRxBufEvent = std::function<void(TObject* Sender, const char* Buffer, int Count)>;

class TComLink : public TObject {
 public:
  TComSignalEvent OnConn;
  TRxBufEvent OnRxBuf;
  TRxBufEvent OnTxBuf;
  TNotifyEvent OnTxEmpty;
  TNotifyEvent OnRxFlag;
  TComSignalEvent OnCTSChange;
  TComSignalEvent OnDSRChange;
  TComSignalEvent OnRLSDChange;
  TNotifyEvent OnRing;
  TComSignalEvent OnTx;
  TComSignalEvent OnRx;
};
