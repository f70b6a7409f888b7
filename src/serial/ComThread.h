#pragma once
// The event thread of an open port: waits for the port's line events and
// hands each batch to the port, on the GUI thread with a synchronous call
// (smThreadSync), as one message per event to the port's hidden window
// (smWindowSync), or directly on this thread (smNone).

#include <cstdint>
#include <memory>
#include <thread>

#include "platform/Component.h"
#include "serial/ComTypes.h"

// The system event mask of a set of events and back (exact inverses).
std::uint32_t EventSetToWinMask(TComEvents Events);
TComEvents WinMaskToEventSet(std::uint32_t Mask);

class QObject;

class TComThread : public TObject {
 public:
  // Starts at once; the port must be open.
  explicit TComThread(TCustomComPort* AComPort);
  // Stops the thread and waits for it (see SignalStop for a hand-over that
  // is still waiting).
  ~TComThread() override;

  // Ends the wait at once. A hand-over the GUI thread has not started yet is
  // dropped: its events are never delivered (the port is being closed, and
  // the thread discards the queues when it stops anyway).
  void SignalStop();

  // The events of the last completed wait.
  TComEvents Events() const;

  // The hidden window of smWindowSync: created by the port on the thread that
  // opens it; the thread's event messages are handled there.
  static QObject* CreatePortWindow();

  struct Shared;

 private:
  std::shared_ptr<Shared> FShared;
  std::thread FThread;
};
