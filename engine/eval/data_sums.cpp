#include "engine/eval/data_sums.h"

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <sstream>

#include "engine/eval/pattern_data.h"
#include "engine/eval/pattern_layout.h"
#include "engine/eval/pattern_shapes.h"
#include "support/files/checksum.h"
#include "support/files/input_file.h"
#include "support/files/safe_file.h"

namespace kaimo {
namespace {

// A line for each of a few dozen files.
constexpr std::size_t kMaxListBytes = 16384;
constexpr int kSumDigits = 16;

// "0123456789abcdef  name": the checksum and the name, or false.
bool parseLine(const std::string& line, std::string& name, std::uint64_t& sum) {
  if (line.size() < kSumDigits + 3 || line.compare(kSumDigits, 2, "  ") != 0) return false;
  const std::string digits = line.substr(0, kSumDigits);
  if (digits.find_first_not_of("0123456789abcdef") != std::string::npos) return false;
  sum = std::stoull(digits, nullptr, 16);
  name = line.substr(kSumDigits + 2);
  return true;
}

}  // namespace

DataSums DataSums::of(const std::filesystem::path& folder) {
  DataSums list;
  const std::filesystem::path file = folder / kDataSumsFileName;
  std::error_code error;
  if (!std::filesystem::exists(std::filesystem::symlink_status(file, error))) return list;
  list.present_ = true;
  std::string text;
  if (!readInputFile(file.string(), kMaxListBytes, text).ok()) return list;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    std::string name;
    std::uint64_t sum = 0;
    if (parseLine(line, name, sum)) list.sums_[name] = sum;
  }
  return list;
}

bool DataSums::matches(const std::filesystem::path& folder, const std::string& name) const {
  if (!present_) return true;
  std::uint64_t sum = 0;
  if (!checksumOfFile((folder / name).string(), sum)) return true;
  const auto listed = sums_.find(name);
  return listed != sums_.end() && listed->second == sum;
}

std::vector<std::string> foxDataFileNames() {
  std::vector<std::string> names;
  for (const PatternDescriptor& d : kPatternDescriptors) {
    if (!usesIndexTable(d)) continue;
    const std::string name = indexTableFileName(d);
    if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
  }
  for (int slot = 0; slot < kStageFileCount; ++slot) names.push_back(stageFileName(kFirstStageFile + slot));
  return names;
}

int writeDataSums(const std::filesystem::path& folder, std::string& file) {
  std::string text;
  for (const std::string& name : foxDataFileNames()) {
    std::uint64_t sum = 0;
    file = (folder / name).string();
    std::error_code missing;
    if (!std::filesystem::exists(file, missing)) continue;
    if (!checksumOfFile(file, sum)) return errno != 0 ? errno : EIO;
    char line[64];
    std::snprintf(line, sizeof line, "%016" PRIx64 "  ", sum);
    text += line + name + "\n";
  }
  file = (folder / kDataSumsFileName).string();
  return writeFileSafely(
             file, [&text](std::FILE* out) { return std::fwrite(text.data(), 1, text.size(), out) == text.size(); })
      .systemError;
}

}  // namespace kaimo
