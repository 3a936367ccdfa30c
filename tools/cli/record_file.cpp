#include "tools/cli/record_file.h"

#include "app/records/record_text.h"

namespace kaimo::cli {

int withRecordFile(const std::string& path, std::FILE* out, const std::function<void(const History&)>& use) {
  const RecordReadResult record = readRecordTextFile(path);
  // Not opened, or nothing of a record in it: nothing to use.
  if (record.history.empty()) {
    std::fprintf(stderr, "%s\n", recordStatusMessage(record.status));
    return record.status == RecordStatus::CannotOpen ? 2 : 1;
  }
  use(record.history);
  std::fflush(out);
  if (record.status != RecordStatus::Ok) {
    std::fprintf(stderr, "%s\n", recordStatusMessage(record.status));
    return 1;
  }
  return 0;
}

}  // namespace kaimo::cli
