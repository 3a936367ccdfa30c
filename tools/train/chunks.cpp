#include "tools/train/chunks.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <random>

#include <unistd.h>

#include "engine/eval/pattern_evaluator.h"
#include "support/files/input_file.h"
#include "support/files/safe_file.h"
#include "tools/common/cli_args.h"
#include "tools/common/process_pool.h"
#include "tools/train/progress.h"

namespace kaimo::train {
namespace {

// Settings files hold a few short lines.
constexpr std::size_t kMaxSettingsBytes = 4096;

// What a chunk of games holds, when no positions are out of their place:
// the positions of its own games only, each game's together and the games in
// the order they were numbered (a chunk of reads keeps that order too), every
// one with 1 to 84 empty squares, as the games keep them. The fault, or an
// empty text, for the positions from `first` on.
std::string chunkFault(int chunk, int perChunk, const std::vector<TrainingPosition>& positions, std::size_t first) {
  const long long lowest = static_cast<long long>(chunk) * perChunk;
  const long long highest = lowest + perChunk - 1;
  for (std::size_t i = first; i < positions.size(); ++i) {
    const TrainingPosition& p = positions[i];
    const auto record = [&] { return "record " + std::to_string(i - first) + " is of game " + std::to_string(p.game); };
    if (p.game < lowest || p.game > highest) {
      return record() + ", not one of its games " + std::to_string(lowest) + " to " + std::to_string(highest);
    }
    if (i > first && p.game < positions[i - 1].game) {
      return record() + ", after game " + std::to_string(positions[i - 1].game);
    }
    const int empties = emptiesOf(p.board);
    if (empties < 1 || empties > kPatternMaxEmpties) {
      return record() + " with " + std::to_string(empties) + " empty squares, which no game keeps";
    }
  }
  return {};
}

bool isChunkName(const std::string& name, const std::string& prefix) {
  return name.rfind(prefix + "-", 0) == 0 && std::filesystem::path(name).extension() == ".kpos";
}

// Temporary files of writes that a stopped run left half done. Its workers
// died with it, so none of them is still writing.
void removeLeftovers(const std::string& dir, const std::string& prefix) {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(dir, error)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind(prefix + "-", 0) == 0 && name.find(".tmp-") != std::string::npos) {
      std::filesystem::remove(entry.path(), error);
    }
  }
}

}  // namespace

std::string chunkFileName(const std::string& dir, const std::string& prefix, int chunk) {
  char name[64];
  std::snprintf(name, sizeof name, "%s-%05d.kpos", prefix.c_str(), chunk);
  return (std::filesystem::path(dir) / name).string();
}

Shard parseShard(const std::string& text) {
  const std::size_t slash = text.find('/');
  if (slash == std::string::npos) throw tools::UsageError("--shard must be K/N, not '" + text + "'");
  constexpr int kMaxShards = 100000;
  Shard shard;
  shard.count = tools::parseInt(text.substr(slash + 1), "--shard N", 1, kMaxShards);
  shard.index = tools::parseInt(text.substr(0, slash), "--shard K", 0, shard.count - 1);
  return shard;
}

bool gamesPerChunk(const std::string& dir, int& perChunk, std::string& error) {
  const std::string name = (std::filesystem::path(dir) / kGamesSettingsFile).string();
  std::string settings;
  if (!loadSettings(name, settings, error)) return false;
  if (settings.empty()) {
    error = "no games in " + dir + " (no " + kGamesSettingsFile + ")";
    return false;
  }
  const std::string key = "\ngames per chunk ";
  const std::size_t at = settings.find(key);
  const long value = at == std::string::npos ? 0 : std::strtol(settings.c_str() + at + key.size(), nullptr, 10);
  if (value < 1 || value > kMaxGamesPerChunk) {
    error = name + " does not say how many games a chunk holds";
    return false;
  }
  perChunk = static_cast<int>(value);
  return true;
}

int chunkNumberOf(const std::string& file) {
  const std::string name = std::filesystem::path(file).stem().string();
  const std::size_t dash = name.rfind('-');
  const std::string digits = dash == std::string::npos ? "" : name.substr(dash + 1);
  const bool number = std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
  return !digits.empty() && digits.size() <= 9 && number ? std::stoi(digits) : -1;
}

bool readChunkOfGames(const std::string& file, int perChunk, std::vector<TrainingPosition>& positions,
                      std::string& error) {
  const int chunk = chunkNumberOf(file);
  if (chunk < 0) {
    error = file + " is not a chunk: its name ends in no chunk number";
    return false;
  }
  const std::size_t first = positions.size();
  if (!readChunk(file, positions, error)) return false;
  error = chunkFault(chunk, perChunk, positions, first);
  if (error.empty()) return true;
  error = file + " does not hold the positions its name says: " + error;
  positions.resize(first);
  return false;
}

std::vector<int> chunksToMake(const std::string& dir, const std::string& prefix, int count, const Shard& shard,
                              const std::string& what, int perChunk) {
  std::vector<int> chunks;
  for (int chunk = 0; chunk < count; ++chunk) {
    if (!shard.owns(chunk)) continue;
    const std::string name = chunkFileName(dir, prefix, chunk);
    std::error_code error;
    if (!std::filesystem::exists(std::filesystem::symlink_status(name, error))) {
      chunks.push_back(chunk);
      continue;
    }
    std::vector<TrainingPosition> positions;
    std::string fault;
    if (readChunkOfGames(name, perChunk, positions, fault)) continue;
    std::fprintf(stderr, "%s: %s; it is made again\n", what.c_str(), fault.c_str());
    // A folder or a FIFO in the way is not ours to remove: the write then fails and says so.
    if (std::filesystem::is_regular_file(std::filesystem::symlink_status(name, error)))
      std::filesystem::remove(name, error);
    chunks.push_back(chunk);
  }
  return chunks;
}

int gamesPlayedBefore(const std::string& dir, const Shard& shard) {
  const std::vector<int> played = existingChunks(dir, "games");
  const int end = played.empty() ? 0 : played.back() + 1;
  for (int chunk = 0; chunk < end; ++chunk) {
    if (shard.owns(chunk) && !std::binary_search(played.begin(), played.end(), chunk)) return chunk;
  }
  return end;
}

std::vector<TrainingPosition> drawPerGame(const std::vector<TrainingPosition>& positions, int perGame,
                                          std::uint64_t seed,
                                          const std::function<bool(const TrainingPosition&)>& wanted) {
  std::vector<TrainingPosition> drawn;
  for (std::size_t begin = 0; begin < positions.size();) {
    std::size_t end = begin;
    while (end < positions.size() && positions[end].game == positions[begin].game) ++end;
    std::vector<TrainingPosition> pool;
    std::copy_if(positions.begin() + begin, positions.begin() + end, std::back_inserter(pool), wanted);
    std::seed_seq sequence{static_cast<std::uint32_t>(seed), static_cast<std::uint32_t>(positions[begin].game)};
    std::mt19937_64 random(sequence);
    std::shuffle(pool.begin(), pool.end(), random);
    if (static_cast<int>(pool.size()) > perGame) pool.resize(perGame);
    drawn.insert(drawn.end(), pool.begin(), pool.end());
    begin = end;
  }
  return drawn;
}

bool drawsFromChunks(const std::string& dir, const std::vector<int>& chunks, int gamesPerChunk, int perGame,
                     const std::function<bool(std::int32_t game)>& counts, long& draws, std::string& error) {
  draws = 0;
  for (const int chunk : chunks) {
    std::vector<TrainingPosition> positions;
    if (!readChunkOfGames(chunkFileName(dir, "games", chunk), gamesPerChunk, positions, error)) return false;
    for (std::size_t i = 0; i < positions.size(); ++i) {
      const std::int32_t game = positions[i].game;
      if ((i == 0 || game != positions[i - 1].game) && counts(game)) draws += perGame;
    }
  }
  return true;
}

std::vector<std::string> existingChunkFiles(const std::string& dir, const std::string& prefix) {
  std::vector<std::string> files;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(dir, error)) {
    if (isChunkName(entry.path().filename().string(), prefix)) files.push_back(entry.path().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::vector<int> existingChunks(const std::string& dir, const std::string& prefix) {
  std::vector<int> numbers;
  for (const std::string& file : existingChunkFiles(dir, prefix)) {
    const int number = chunkNumberOf(file);
    if (number >= 0) numbers.push_back(number);
  }
  std::sort(numbers.begin(), numbers.end());
  return numbers;
}

bool runChunks(const std::string& dir, const std::string& prefix, const std::vector<int>& chunks, int jobs,
               const std::string& what, long units, const MakeChunk& make) {
  const auto write = [&](int chunk, const std::function<void()>& tick, std::string& error) {
    std::vector<TrainingPosition> positions;
    if (!make(chunk, positions, tick)) {
      error = "chunk " + std::to_string(chunk) + " failed";
      return false;
    }
    return writeChunk(chunkFileName(dir, prefix, chunk), positions, error);
  };
  return runChunkFiles(dir, prefix, chunks, jobs, what, units, write);
}

bool runChunkFiles(const std::string& dir, const std::string& prefix, const std::vector<int>& chunks, int jobs,
                   const std::string& what, long units, const WriteChunk& write) {
  removeLeftovers(dir, prefix);
  return runChunkWork(chunks, jobs, what, units, [&](int chunk, const std::function<void()>& tick) -> std::string {
    std::string error;
    if (write(chunk, tick, error)) return {};
    return error.empty() ? "chunk " + std::to_string(chunk) + " failed" : error;
  });
}

bool runChunkWork(const std::vector<int>& chunks, int jobs, const std::string& what, long units,
                  const ChunkWork& work) {
  if (chunks.empty()) {
    std::fprintf(stderr, "%s: nothing left to do\n", what.c_str());
    return true;
  }
  if (jobs > static_cast<int>(chunks.size())) jobs = static_cast<int>(chunks.size());
  Progress progress(what, units);
  const auto runJob = [&](int job, std::FILE* out) {
    for (std::size_t i = static_cast<std::size_t>(job); i < chunks.size(); i += static_cast<std::size_t>(jobs)) {
      const auto tick = [out] { std::fputs("+\n", out); };
      const std::string error = work(chunks[i], tick);
      if (!error.empty()) {
        std::fprintf(out, "error: %s\n", error.c_str());
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
  const std::vector<tools::WorkerEnd> ends = tools::runInProcesses(jobs, runJob, onLine);
  progress.finish();
  for (std::size_t job = 0; job < ends.size(); ++job) {
    // A worker that failed on its own said why; one that died did not.
    if (!ends[job].started || !ends[job].exited) {
      std::fprintf(stderr, "%s: worker %zu %s\n", what.c_str(), job + 1, tools::describeWorkerEnd(ends[job]).c_str());
    }
  }
  return tools::allSucceeded(ends);
}

bool loadSettings(const std::string& name, std::string& text, std::string& error) {
  std::error_code missing;
  if (!std::filesystem::exists(std::filesystem::symlink_status(name, missing))) {
    text.clear();
    return true;
  }
  const InputFileResult result = readInputFile(name, kMaxSettingsBytes, text);
  if (!result.ok()) error = describeInputFileResult(name, result, kMaxSettingsBytes);
  return result.ok();
}

int saveSettings(const std::string& name, const std::string& text) {
  return writeFileSafely(
             name, [&text](std::FILE* file) { return std::fwrite(text.data(), 1, text.size(), file) == text.size(); })
      .systemError;
}

}  // namespace kaimo::train

namespace kaimo::train {
namespace {

// Writes the settings of a folder that has none: 0, or the system's error.
// A missing file is created only if it is still missing (linked into place),
// so of two runs that start together only one writes (the other is `late`);
// an empty one is replaced.
int createSettings(const std::string& file, const std::string& text, bool& late) {
  late = false;
  std::error_code missing;
  if (std::filesystem::exists(std::filesystem::symlink_status(file, missing))) return saveSettings(file, text);
  const std::string fresh = file + ".new-" + std::to_string(::getpid());
  if (const int error = saveSettings(fresh, text); error != 0) return error;
  const int error = ::link(fresh.c_str(), file.c_str()) == 0 ? 0 : errno;
  ::unlink(fresh.c_str());
  late = error == EEXIST;
  return late ? 0 : error;
}

}  // namespace

bool holdsFilesOf(const std::string& dir, const std::string& prefix, const std::string& extension) {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(dir, error)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind(prefix + "-", 0) == 0 && entry.path().extension() == extension) return true;
  }
  return false;
}

int keepSettings(const std::string& step, const std::string& file, const std::string& wanted, bool made) {
  for (;;) {
    std::string saved, fault;
    if (!loadSettings(file, saved, fault)) {
      std::fprintf(stderr, "kaimo-train %s: %s\n", step.c_str(), fault.c_str());
      return 1;
    }
    if (!saved.empty()) {
      if (saved == wanted) return 0;
      std::fprintf(stderr, "kaimo-train %s: %s holds other settings than these:\n%s", step.c_str(), file.c_str(),
                   saved.c_str());
      return 2;
    }
    if (made) {
      std::fprintf(stderr,
                   "kaimo-train %s: %s is missing or empty, so nothing says how the files beside it were made: "
                   "put back the one they were made with, or start in another folder\n",
                   step.c_str(), file.c_str());
      return 2;
    }
    bool late = false;
    if (const int error = createSettings(file, wanted, late); error != 0) {
      std::fprintf(stderr, "kaimo-train %s: cannot write %s: %s\n", step.c_str(), file.c_str(), std::strerror(error));
      return 1;
    }
    if (!late) return 0;  // else another run wrote them first: compare with those
  }
}

}  // namespace kaimo::train
