// How deep a side reads.
#include <algorithm>

#include "engine/search/search_driver.h"

namespace kaimo {

int chooseDepth(int normalDepth, int exactDepth, int winDepth, int empties) {
  if (empties <= exactDepth || empties <= winDepth) return empties;
  return std::min(normalDepth, empties);
}

}  // namespace kaimo
