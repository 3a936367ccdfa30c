#include "engine/eval/pattern_eval.h"

#include <atomic>
#include <map>
#include <mutex>

#include "support/paths/program_paths.h"

namespace kaimo {
namespace {

std::atomic<std::FILE*> announcement{nullptr};

// The data of every folder asked for, by absolute path. Never destroyed: a
// worker thread still evaluating while the process exits finds its tables in
// place (the system takes the memory back).
struct Registry {
  std::mutex lock;
  std::map<std::filesystem::path, std::shared_ptr<const PatternData>> byFolder;
};

Registry& registry() {
  static Registry* const instance = new Registry;
  return *instance;
}

std::shared_ptr<const PatternData> dataIn(const std::filesystem::path& folder, std::FILE* announce) {
  Registry& r = registry();
  const std::lock_guard hold(r.lock);
  std::shared_ptr<const PatternData>& data = r.byFolder[paths::folderKey(folder)];
  if (!data) data = std::make_shared<const PatternData>(folder, announce);
  return data;
}

}  // namespace

void setPatternAnnouncement(std::FILE* stream) { announcement = stream; }

std::shared_ptr<const PatternData> defaultPatternData() {
  static const std::shared_ptr<const PatternData> data = dataIn(paths::dataFolder(), announcement.load());
  return data;
}

std::shared_ptr<const PatternData> patternDataIn(const std::filesystem::path& folder) {
  return dataIn(folder, nullptr);
}

}  // namespace kaimo
