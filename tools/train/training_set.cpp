#include "tools/train/training_set.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "tools/common/cli_args.h"
#include "tools/train/chunks.h"

namespace kaimo::train {

std::vector<std::string> folderList(const std::string& text, const std::string& what) {
  std::vector<std::string> folders;
  std::size_t begin = 0;
  while (begin <= text.size()) {
    const std::size_t comma = std::min(text.find(',', begin), text.size());
    folders.push_back(text.substr(begin, comma - begin));
    if (folders.back().empty()) throw tools::UsageError(what + " names an empty folder in '" + text + "'");
    begin = comma + 1;
  }
  return folders;
}

bool loadTrainingSet(const std::vector<std::string>& dirs, std::vector<TrainingPosition>& positions,
                     std::string& error) {
  for (const std::string& dir : dirs) {
    int perChunk = 0;
    if (!gamesPerChunk(dir, perChunk, error)) return false;
    std::vector<std::string> files;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(dir, ignored)) {
      if (entry.path().extension() == ".kpos") files.push_back(entry.path().string());
    }
    if (files.empty()) {
      error = "no positions (*.kpos) in " + dir;
      return false;
    }
    // In name order: games-* before the solved positions, each game's
    // positions together and in order.
    std::sort(files.begin(), files.end());
    for (const std::string& file : files) {
      if (!readChunkOfGames(file, perChunk, positions, error)) return false;
    }
  }
  return true;
}

void parseRange(const std::string& text, const std::string& what, int low, int high, int& from, int& to) {
  const std::size_t dash = text.find('-');
  from = tools::parseInt(text.substr(0, dash), what, low, high);
  to = dash == std::string::npos ? from : tools::parseInt(text.substr(dash + 1), what, from, high);
}

}  // namespace kaimo::train
