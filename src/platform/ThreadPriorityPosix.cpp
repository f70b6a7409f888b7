#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

#include "platform/ThreadPriority.h"

namespace platform {

void SetCurrentThreadPriority(int level) {
  if (level <= -3) {
    sched_param p{};
    pthread_setschedparam(pthread_self(), SCHED_IDLE, &p);
    return;
  }
  // On Linux the nice value of one thread is set through its thread id.
  setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), -5 * level);
}

}  // namespace platform
