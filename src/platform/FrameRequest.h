#pragma once
// Screen updates at frame rate. A control whose content changes many times a
// second (the terminal under a streaming meter, the line counter) asks for the
// next frame instead of repainting at once. All requests of one frame run in
// the same pass of the event loop, so their repaints reach the screen
// together: at most one repaint of the window per frame, however many lines
// arrive. GUI thread only.

#include <functional>

namespace platform {

class FrameRequest {
 public:
  // Length of a frame. The first request after a frame starts the next one.
  static constexpr int FrameMs = 40;

  explicit FrameRequest(std::function<void()> onFrame);
  // Withdraws a pending request.
  ~FrameRequest();
  FrameRequest(const FrameRequest&) = delete;
  FrameRequest& operator=(const FrameRequest&) = delete;

  // The handler runs once at the next frame; asking again before then does
  // nothing more. A handler may ask again (for the frame after).
  void Request();
  // Withdraws a pending request; the handler does not run.
  void Cancel();
  bool Pending() const { return FPending; }

 private:
  friend class FrameClock;
  std::function<void()> FOnFrame;
  bool FPending = false;
};

}  // namespace platform
