#include "tools/common/cpu_deadline.h"

#include <time.h>

namespace kaimo::tools {

std::int64_t processCpuMicros() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

}  // namespace kaimo::tools
