// How the fit of one stage ended, as a value: what the fit's workers hand
// back, in this process or through a worker process's pipe.
#pragma once

#include <optional>
#include <string>

namespace kaimo::train {

enum class StageEnd {
  Fitted,
  Differs,     // written, but the int16 model scores worse than the float one
  NotStarted,  // its starting weights could not be read: not written
  Failed,      // not written or not read back
};

struct StageOutcome {
  StageEnd end;
  std::string text;  // the stage's line of results, or why it was not written

  bool written() const { return end == StageEnd::Fitted || end == StageEnd::Differs; }
};

// One line (no newline) and back; a line that no outcome encodes to gives nothing.
std::string encodeOutcome(const StageOutcome& outcome);
std::optional<StageOutcome> decodeOutcome(const std::string& line);

}  // namespace kaimo::train
