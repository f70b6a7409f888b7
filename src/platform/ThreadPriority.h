#pragma once
// Stand-in for the class library's thread priorities: -3 (idle) .. 0
// (normal) .. +3 (time critical), applied to the calling thread. Raising the
// priority needs rights a normal user lacks; then the thread stays normal.

namespace platform {

void SetCurrentThreadPriority(int level);

}  // namespace platform
