#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

#include "platform/ThreadPriority.h"

namespace platform {

void SetCurrentThreadPriority(int level) {
  sched_param p{};
  if (level <= -3) {
    pthread_setschedparam(pthread_self(), SCHED_IDLE, &p);
    return;
  }
  // Back from the idle class first: the nice value counts only outside it.
  pthread_setschedparam(pthread_self(), SCHED_OTHER, &p);
  // On Linux the nice value of one thread is set through its thread id.
  setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), -5 * level);
}

}  // namespace platform
