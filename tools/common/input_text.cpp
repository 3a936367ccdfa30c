#include "tools/common/input_text.h"

#include <cstdio>

#include "support/files/input_file.h"
#include "tools/common/cli_args.h"

namespace kaimo::tools {

std::string readInputText(const std::string& path, std::size_t maxBytes, const std::string& what) {
  std::string text;
  const InputFileResult result =
      path == "-" ? readInputStream(stdin, maxBytes, text) : readInputFile(path, maxBytes, text);
  if (!result.ok())
    throw UsageError(what + ": " + describeInputFileResult(path == "-" ? "standard input" : path, result, maxBytes));
  return text;
}

}  // namespace kaimo::tools
