#include "platform/FrameRequest.h"

#include <QBasicTimer>
#include <QCoreApplication>
#include <QObject>
#include <QPointer>
#include <QTimerEvent>
#include <algorithm>
#include <vector>

namespace platform {

// One timer for every request of the process; it runs only while something
// waits for a frame, so an idle window never wakes up for it.
class FrameClock : public QObject {
 public:
  static FrameClock& Instance() {
    // Lives with the application object (a test process may make another).
    static QPointer<FrameClock> clock;
    if (!clock) clock = new FrameClock(QCoreApplication::instance());
    return *clock;
  }

  void Add(FrameRequest* r) {
    FWaiting.push_back(r);
    if (!FTimer.isActive()) FTimer.start(FrameRequest::FrameMs, this);
  }

  void Remove(FrameRequest* r) {
    std::erase(FWaiting, r);
    // A request of the frame now running that has not run yet.
    if (FDue) std::replace(FDue->begin(), FDue->end(), r, static_cast<FrameRequest*>(nullptr));
  }

 protected:
  void timerEvent(QTimerEvent* e) override {
    if (e->timerId() != FTimer.timerId()) return QObject::timerEvent(e);
    FTimer.stop();
    std::vector<FrameRequest*> due;
    due.swap(FWaiting);
    FDue = &due;
    // A handler may withdraw or destroy requests still due in this frame.
    for (FrameRequest*& r : due) {
      FrameRequest* request = r;
      if (!request) continue;
      r = nullptr;
      request->FPending = false;
      request->FOnFrame();
    }
    FDue = nullptr;
  }

 private:
  using QObject::QObject;
  QBasicTimer FTimer;
  std::vector<FrameRequest*> FWaiting;
  std::vector<FrameRequest*>* FDue = nullptr;
};

FrameRequest::FrameRequest(std::function<void()> onFrame) : FOnFrame(std::move(onFrame)) {}

FrameRequest::~FrameRequest() { Cancel(); }

void FrameRequest::Request() {
  if (FPending) return;
  FPending = true;
  FrameClock::Instance().Add(this);
}

void FrameRequest::Cancel() {
  if (!FPending) return;
  FPending = false;
  FrameClock::Instance().Remove(this);
}

}  // namespace platform
