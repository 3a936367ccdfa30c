// The text of an input file a tool was given (a board, a suite), read
// through the regular-file helper, or standard input for "-".
#pragma once

#include <cstddef>
#include <string>

namespace kaimo::tools {

// Throws UsageError naming `what` and the file when it is not a readable
// regular file of at most `maxBytes` bytes.
std::string readInputText(const std::string& path, std::size_t maxBytes, const std::string& what);

}  // namespace kaimo::tools
