// The tests' name for the board written the obvious way (tools/reference).
#pragma once

#include "tools/reference/mailbox_board.h"

namespace kaimo {
namespace plain = mailbox;
}  // namespace kaimo
