// kaimo-train probcut: the ProbCut regressions of "狐" from positions of the
// games of a folder, searched by "狐" itself (with the data the program
// finds, as for the games of "狐", or those of --data).
#include <algorithm>
#include <cinttypes>
#include <cstring>
#include <filesystem>

#include "engine/eval/routines.h"
#include "support/files/safe_file.h"
#include "tools/common/cli_args.h"
#include "tools/common/fox_data.h"
#include "tools/train/chunks.h"
#include "tools/train/folder_lock.h"
#include "tools/train/probcut_fit.h"
#include "tools/train/probcut_samples.h"
#include "tools/train/train_commands.h"
#include "tools/train/train_options.h"

namespace kaimo::train {
namespace {

constexpr const char* kPrefix = "probcut";
constexpr int kMaxSampleDepth = 14;      // a read of 14 plies takes a minute
constexpr std::size_t kMinSamples = 60;  // a deviation from fewer moves by a fifth from one draw to the next

struct ProbCutJob {
  std::string dir;
  int depth;
  int minEmpties;
  int maxEmpties;
  int perGame;
  std::uint64_t seed;
  int gamesPerChunk;
};

std::string sampleFileName(const std::string& dir, int chunk) {
  char name[64];
  std::snprintf(name, sizeof name, "%s-%05d.kpcs", kPrefix, chunk);
  return (std::filesystem::path(dir) / name).string();
}

// Chunks 0..count-1 of `shard` whose samples are missing or damaged; a
// damaged file is named and removed.
std::vector<int> sampleChunksToMake(const ProbCutJob& job, int count, const Shard& shard) {
  std::vector<int> chunks;
  for (int chunk = 0; chunk < count; ++chunk) {
    if (!shard.owns(chunk)) continue;
    const std::string name = sampleFileName(job.dir, chunk);
    std::error_code error;
    const auto status = std::filesystem::symlink_status(name, error);
    std::vector<ProbCutSample> samples;
    std::string fault;
    if (std::filesystem::exists(status)) {
      if (readSamples(name, job.depth, samples, fault)) continue;
      std::fprintf(stderr, "probcut: %s; it is made again\n", fault.c_str());
      // A folder or a FIFO in the way is not ours to remove: the write then fails and says so.
      if (std::filesystem::is_regular_file(status)) std::filesystem::remove(name, error);
    }
    chunks.push_back(chunk);
  }
  return chunks;
}

bool sampleChunk(const ProbCutJob& job, const Evaluator& fox, int chunk, const std::function<void()>& tick,
                 std::string& error) {
  std::vector<TrainingPosition> positions;
  if (!readChunkOfGames(chunkFileName(job.dir, "games", chunk), job.gamesPerChunk, positions, error)) return false;
  const auto wanted = [&job](const TrainingPosition& p) {
    const int e = emptiesOf(p.board);
    return e >= job.minEmpties && e <= job.maxEmpties;
  };
  std::vector<ProbCutSample> samples;
  for (const TrainingPosition& position : drawPerGame(positions, job.perGame, job.seed, wanted)) {
    ProbCutSample sample;
    if (!sampleValues(position.board, position.side, job.depth, fox, sample)) {
      error = "狐 cannot evaluate a position of chunk " + std::to_string(chunk) + " (see errorlog.txt)";
      return false;
    }
    samples.push_back(std::move(sample));
    tick();
  }
  return writeSamples(sampleFileName(job.dir, chunk), job.depth, samples, error);
}

void printFit(const ProbCutFit& fit, std::FILE* out) {
  const ProbCutTable& table = fit.table;
  std::fprintf(out, "stage empties  depth shallow   slope  intercept  deviation  samples\n");
  std::size_t entry = 0;
  for (int stage = 0; stage < table.stageCount(); ++stage) {
    const int first = stage * table.emptiesPerStage();
    for (int depth = table.firstDepth(); depth <= table.lastDepth(); ++depth, ++entry) {
      const ProbCutPair& pair = table.at(stage, depth);
      std::fprintf(out, "%5d %3d-%-3d %6d %7d %7.3f %+10.2f %10.2f %8zu\n", stage, first,
                   first + table.emptiesPerStage() - 1, depth, pair.shallow, pair.slope, pair.intercept / 1000,
                   pair.deviation / 1000, fit.counts[entry]);
    }
  }
}

// Fits the samples of chunks 0..count-1 and writes the table into `outDir`.
int fitAndWrite(const ProbCutJob& job, int count, int width, const std::string& outDir, std::FILE* out) {
  std::vector<ProbCutSample> samples;
  std::string error;
  for (int chunk = 0; chunk < count; ++chunk) {
    if (!readSamples(sampleFileName(job.dir, chunk), job.depth, samples, error)) {
      std::fprintf(stderr, "kaimo-train probcut: %s\n", error.c_str());
      return 1;
    }
  }
  const std::optional<ProbCutFit> fit = fitProbCut(samples, width, job.depth, kMinSamples);
  if (!fit) {
    std::fprintf(stderr, "kaimo-train probcut: too few samples (%zu) for a fit to depth %d\n", samples.size(),
                 job.depth);
    return 1;
  }
  std::error_code ignored;
  std::filesystem::create_directories(outDir, ignored);
  const std::string name = (std::filesystem::path(outDir) / ProbCutTable::kFileName).string();
  const std::string bytes = probCutFileBytes(fit->table);
  const SafeWriteResult written = writeFileSafely(
      name, [&bytes](std::FILE* file) { return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size(); });
  if (!written.ok()) {
    std::fprintf(stderr, "kaimo-train probcut: cannot write %s: %s\n", name.c_str(),
                 std::strerror(written.systemError));
    return 1;
  }
  std::fprintf(out, "%zu samples of %d chunks; %s written\n", samples.size(), count, name.c_str());
  printFit(*fit, out);
  return 0;
}

}  // namespace

const tools::CommandSyntax& probCutSyntax() {
  using tools::integerOption;
  static const tools::CommandSyntax syntax{
      kProgram,
      "probcut",
      "",
      {dirOption("the folder of the games and of the samples"),
       tools::required(tools::pathOption("--out", "DIR", "the folder probcut.dat goes to")),
       tools::pathOption("--data", "DIR", "the data of 狐 that reads (those the program finds unless given)"),
       integerOption("--depth", "D", 10, kFirstProbCutDepth, kMaxSampleDepth, "the deepest read of a position"),
       integerOption("--min", "E", 10, 1, kSquareCount, "the fewest empty squares of a position read"),
       tools::atLeast("--min",
                      integerOption("--max", "E", 90, 1, kSquareCount, "the most empty squares of a position read")),
       integerOption("--per-game", "N", 2, 1, 100, "positions read a game"),
       integerOption("--width", "W", 8, 1, ProbCutTable::kMaxStages, "empty squares a stage of the table"),
       chunksOption(), jobsOption(), seedOption("seed of the choice of positions"), shardOption()}};
  return syntax;
}

int runProbCut(const tools::Words& words, std::FILE* out) {
  const tools::Args args = tools::Args::parse(probCutSyntax(), words);
  if (!args.positional.empty()) throw args.usageError();
  ProbCutJob job;
  job.dir = args.getPath("--dir");
  const std::string outDir = args.getPath("--out");
  job.depth = args.getInt("--depth");
  job.minEmpties = args.getInt("--min");
  job.maxEmpties = args.getInt("--max");
  job.perGame = args.getInt("--per-game");
  job.seed = static_cast<std::uint64_t>(args.getInt("--seed"));
  const int width = args.getInt("--width");
  const int jobs = args.getInt("--jobs");
  const Shard shard = parseShard(args.get("--shard"));
  const int chunkLimit = args.getInt("--chunks");

  std::string fault;
  if (!gamesPerChunk(job.dir, job.gamesPerChunk, fault)) {
    std::fprintf(stderr, "kaimo-train probcut: %s\n", fault.c_str());
    return 1;
  }
  if (existingChunks(job.dir, "games").empty()) {
    std::fprintf(stderr, "kaimo-train probcut: no games in %s\n", job.dir.c_str());
    return 1;
  }
  const Evaluator fox =
      args.has("--data") ? tools::foxEvaluatorFrom(args.getPath("--data")) : routineEvaluator(routineIndexOf("狐"));
  if (fox.failed()) {
    std::fprintf(stderr, "kaimo-train probcut: the data of 狐 cannot be read here (see errorlog.txt)\n");
    return 1;
  }
  char settings[160];
  std::snprintf(settings, sizeof settings, "depth %d\nempties %d..%d\nper game %d\nseed %" PRIu64 "\n", job.depth,
                job.minEmpties, job.maxEmpties, job.perGame, job.seed);
  FolderLock lock;
  if (const int status = lockFolder("probcut", job.dir, std::string(kPrefix) + ".lock", lock); status != 0)
    return status;
  const std::string settingsFile = (std::filesystem::path(job.dir) / (std::string(kPrefix) + ".cfg")).string();
  const bool made = holdsFilesOf(job.dir, kPrefix, ".kpcs");
  if (const int status = keepSettings("probcut", settingsFile, settings, made); status != 0) return status;

  const int played = std::min(chunkLimit, gamesPlayedBefore(job.dir, shard));
  const std::vector<int> chunks = sampleChunksToMake(job, played, shard);
  std::fprintf(out, "%zu chunks to sample\n", chunks.size());
  std::fflush(out);
  // Every game gives perGame samples, or fewer when short of positions in range.
  long units = 0;
  std::string error;
  if (!drawsFromChunks(
          job.dir, chunks, job.gamesPerChunk, job.perGame, [](std::int32_t) { return true; }, units, error)) {
    std::fprintf(stderr, "kaimo-train probcut: %s\n", error.c_str());
    return 1;
  }
  const auto write = [&](int chunk, const std::function<void()>& tick, std::string& chunkFault) {
    return sampleChunk(job, fox, chunk, tick, chunkFault);
  };
  if (!runChunkFiles(job.dir, kPrefix, chunks, jobs, "samples", units, write)) return 1;
  // The fit needs every shard's samples: a shard of a split run leaves it
  // to the run over the merged folder.
  const int all = std::min(chunkLimit, gamesPlayedBefore(job.dir, Shard{}));
  if (!sampleChunksToMake(job, all, Shard{}).empty()) {
    std::fprintf(out, "samples of other shards missing: no fit written\n");
    return 0;
  }
  return fitAndWrite(job, all, width, outDir, out);
}

}  // namespace kaimo::train
