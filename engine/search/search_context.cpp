#include "engine/search/search_context.h"

#include <chrono>

namespace kaimo {

std::int64_t searchClockMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace kaimo
