// How deep a side reads.
#include "engine/search/search_driver.h"

namespace kaimo {

int chooseDepth(int normalDepth, int exactDepth, int winDepth, int empties) {
  return SideSettings{.normalDepth = normalDepth, .exactDepth = exactDepth, .winDepth = winDepth}.depthFor(empties);
}

}  // namespace kaimo
