#include "tools/cli/record_file.h"

#include "app/records/record_text.h"

namespace kaimo::cli {

int withRecordFile(const std::string& path, std::FILE* out, const std::function<void(const History&)>& use) {
  const RecordReadResult record = readRecordTextFile(path);
  if (record.status == RecordStatus::CannotOpen) {
    std::fprintf(stderr, "%s\n", recordStatusMessage(record.status));
    return 2;
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
