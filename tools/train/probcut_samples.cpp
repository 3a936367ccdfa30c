#include "tools/train/probcut_samples.h"

#include <algorithm>
#include <cstring>
#include <sstream>

#include "engine/eval/routines.h"
#include "engine/eval/score.h"
#include "engine/search/search_driver.h"
#include "support/files/input_file.h"
#include "support/files/safe_file.h"

namespace kaimo::train {
namespace {

constexpr const char* kMagic = "KPCS";
constexpr int kVersion = 1;
// A chunk holds a few hundred samples of a few dozen numbers each.
constexpr std::size_t kMaxSampleFileBytes = std::size_t{64} << 20;

bool isValue(long value) { return value >= -SCORE_WIPEOUT && value <= SCORE_WIPEOUT; }

// One line "E v0 ... vD"; false when it is not one.
bool parseSample(const std::string& line, int depth, ProbCutSample& sample) {
  std::istringstream words(line);
  if (!(words >> sample.empties) || sample.empties < 1 || sample.empties > kSquareCount) return false;
  sample.values.assign(static_cast<std::size_t>(depth) + 1, kNoSampleValue);
  for (int d = 0; d <= depth; ++d) {
    std::string word;
    if (!(words >> word)) return false;
    if (d >= sample.empties) {
      if (word != "-") return false;
      continue;
    }
    char* end = nullptr;
    const long value = std::strtol(word.c_str(), &end, 10);
    if (word.empty() || *end != '\0' || !isValue(value)) return false;
    sample.values[d] = static_cast<int>(value);
  }
  std::string extra;
  return !(words >> extra);
}

}  // namespace

bool sampleValues(const Board& board, int side, int maxDepth, const Evaluator& evaluator, ProbCutSample& sample) {
  DiscCounts counts;
  boardCount(board, counts);
  sample.empties = counts[kEmpty];
  sample.values.assign(static_cast<std::size_t>(maxDepth) + 1, kNoSampleValue);
  const int stat = evaluator.evaluate(board, 0, side, counts);
  if (isMarker(stat)) return false;
  sample.values[0] = side == kBlack ? stat : -stat;
  // Reads that would reach the end stop one ply short of it.
  const int deepest = std::min(maxDepth, sample.empties - 1);
  if (deepest < 1) return true;
  thread_local SearchJob job;
  const SideSettings settings{.routine = routineIndexOf("狐"), .normalDepth = deepest, .exactDepth = 0};
  prepareComputerMove(job, board, side, settings, evaluator, {}, nullptr);
  const int last = searchDeepening(board, side, deepest, job.context,
                                   [&](int depth, int value, int) { sample.values[depth] = value; });
  return !isMarker(last) && last != SCORE_NO_MOVE;
}

bool writeSamples(const std::string& name, int depth, const std::vector<ProbCutSample>& samples, std::string& error) {
  std::string text = std::string(kMagic) + " " + std::to_string(kVersion) + " depth " + std::to_string(depth) +
                     " count " + std::to_string(samples.size()) + "\n";
  for (const ProbCutSample& sample : samples) {
    text += std::to_string(sample.empties);
    for (const int value : sample.values) {
      text += ' ';
      text += value == kNoSampleValue ? std::string("-") : std::to_string(value);
    }
    text += "\n";
  }
  const SafeWriteResult result = writeFileSafely(
      name, [&text](std::FILE* file) { return std::fwrite(text.data(), 1, text.size(), file) == text.size(); });
  if (!result.ok()) error = "cannot write " + name + ": " + std::strerror(result.systemError);
  return result.ok();
}

bool readSamples(const std::string& name, int depth, std::vector<ProbCutSample>& samples, std::string& error) {
  std::string text;
  const InputFileResult read = readInputFile(name, kMaxSampleFileBytes, text);
  if (!read.ok()) {
    error = describeInputFileResult(name, read, kMaxSampleFileBytes);
    return false;
  }
  std::istringstream lines(text);
  std::string header;
  std::getline(lines, header);
  const std::string wanted =
      std::string(kMagic) + " " + std::to_string(kVersion) + " depth " + std::to_string(depth) + " count ";
  char* end = nullptr;
  const long count = header.starts_with(wanted) ? std::strtol(header.c_str() + wanted.size(), &end, 10) : -1;
  if (count < 0 || end == nullptr || *end != '\0') {
    error = name + " is not a file of samples to depth " + std::to_string(depth);
    return false;
  }
  std::vector<ProbCutSample> found;
  std::string line;
  for (long i = 0; std::getline(lines, line); ++i) {
    ProbCutSample sample;
    if (i >= count || !parseSample(line, depth, sample)) {
      error = name + ": line " + std::to_string(i + 2) + " is not a sample of its header";
      return false;
    }
    found.push_back(std::move(sample));
  }
  if (static_cast<long>(found.size()) != count || (!text.empty() && text.back() != '\n')) {
    error = name + " is damaged: its header announces " + std::to_string(count) + " samples";
    return false;
  }
  samples.insert(samples.end(), found.begin(), found.end());
  return true;
}

}  // namespace kaimo::train
