#include "tools/common/fox_data.h"

#include "engine/eval/pattern_eval.h"
#include "support/kr/kr_error.h"
#include "tools/common/cli_args.h"

namespace kaimo::tools {

Evaluator foxEvaluatorFrom(const std::filesystem::path& folder) {
  PatternEvaluator evaluator(patternDataIn(folder));
  if (evaluator.failed()) {
    const std::string log = kr_errorLogPath();
    throw UsageError("the data of 狐 in '" + folder.string() + "' cannot be read (see " +
                     (log.empty() ? "errorlog.txt" : log) + ")");
  }
  return evaluator;
}

}  // namespace kaimo::tools
