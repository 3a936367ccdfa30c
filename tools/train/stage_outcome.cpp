#include "tools/train/stage_outcome.h"

#include <algorithm>
#include <iterator>

namespace kaimo::train {
namespace {

constexpr const char* kEndNames[] = {"fitted", "differs", "not-started", "failed"};

}  // namespace

std::string encodeOutcome(const StageOutcome& outcome) {
  std::string text = outcome.text;
  std::replace(text.begin(), text.end(), '\n', ' ');  // one outcome, one line
  return std::string(kEndNames[static_cast<int>(outcome.end)]) + " " + text;
}

std::optional<StageOutcome> decodeOutcome(const std::string& line) {
  const std::size_t space = line.find(' ');
  if (space == std::string::npos) return std::nullopt;
  const std::string name = line.substr(0, space);
  for (std::size_t end = 0; end < std::size(kEndNames); ++end) {
    if (name == kEndNames[end]) return StageOutcome{static_cast<StageEnd>(end), line.substr(space + 1)};
  }
  return std::nullopt;
}

}  // namespace kaimo::train
