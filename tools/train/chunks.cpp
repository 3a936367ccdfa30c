#include "tools/train/chunks.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "tools/common/process_pool.h"
#include "tools/train/progress.h"

namespace kaimo::train {

std::string chunkFileName(const std::string& dir, const std::string& prefix, int chunk) {
  char name[64];
  std::snprintf(name, sizeof name, "%s-%05d.kpos", prefix.c_str(), chunk);
  return (std::filesystem::path(dir) / name).string();
}

std::vector<int> missingChunks(const std::string& dir, const std::string& prefix, int count) {
  std::vector<int> missing;
  for (int chunk = 0; chunk < count; ++chunk) {
    if (!std::filesystem::exists(chunkFileName(dir, prefix, chunk))) missing.push_back(chunk);
  }
  return missing;
}

std::vector<std::string> existingChunkFiles(const std::string& dir, const std::string& prefix) {
  std::vector<std::string> files;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(dir, error)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind(prefix + "-", 0) == 0 && entry.path().extension() == ".kpos") files.push_back(entry.path().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

bool runChunks(const std::string& dir, const std::string& prefix, const std::vector<int>& chunks, int jobs,
               const std::string& what, long units,
               const std::function<bool(int, const std::string&, const std::function<void()>&)>& make) {
  if (chunks.empty()) {
    std::fprintf(stderr, "%s: nothing left to do\n", what.c_str());
    return true;
  }
  if (jobs > static_cast<int>(chunks.size())) jobs = static_cast<int>(chunks.size());
  Progress progress(what, units);
  const auto work = [&](int job, std::FILE* out) {
    for (std::size_t i = static_cast<std::size_t>(job); i < chunks.size(); i += static_cast<std::size_t>(jobs)) {
      const std::string final = chunkFileName(dir, prefix, chunks[i]);
      const std::string part = final + ".part";
      std::remove(part.c_str());
      const auto tick = [out] { std::fputs("+\n", out); };
      if (!make(chunks[i], part, tick)) {
        std::fprintf(out, "error: chunk %d failed\n", chunks[i]);
        return 1;
      }
      if (std::rename(part.c_str(), final.c_str()) != 0) {
        std::fprintf(out, "error: cannot rename %s\n", part.c_str());
        return 1;
      }
    }
    return 0;
  };
  const auto onLine = [&](int, const std::string& line) {
    if (line == "+") {
      progress.advance();
    } else {
      std::fprintf(stderr, "%s\n", line.c_str());
    }
  };
  const bool ok = tools::runInProcesses(jobs, work, onLine);
  progress.finish();
  return ok;
}

std::string loadSettings(const std::string& name) {
  std::ifstream in(name);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool saveSettings(const std::string& name, const std::string& text) {
  std::ofstream out(name, std::ios::trunc);
  out << text;
  out.close();
  return static_cast<bool>(out);
}

}  // namespace kaimo::train
