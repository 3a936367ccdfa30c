// Steps that produce files chunk by chunk: a chunk's file appears only once
// it is complete (written whole to a temporary file, flushed, renamed), so a
// step stopped at any moment resumes by making the chunks whose files are
// missing or damaged, and gives the same files as a run never stopped.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tools/train/position_record.h"

namespace kaimo::train {

// "DIR/PREFIX-00012.kpos".
std::string chunkFileName(const std::string& dir, const std::string& prefix, int chunk);

// One of `count` runs that split a step among machines with nothing shared
// but the file names: chunk c belongs to run c mod count, so the runs
// together make every chunk exactly once, each as an unsplit run would.
struct Shard {
  int index = 0;
  int count = 1;
  bool owns(int chunk) const { return chunk % count == index; }
};

// "K/N" with 0 <= K < N (a batch system's 0-based job index as K), or
// tools::UsageError.
Shard parseShard(const std::string& text);

// The settings of a folder's games, which say among others how many games
// a chunk holds.
inline constexpr const char* kGamesSettingsFile = "games.cfg";
constexpr int kMaxGamesPerChunk = 100000;

// How many games a chunk of the games of `dir` holds, as its games.cfg says;
// false with `error` set when the folder holds no games (no games.cfg) or
// the file does not say.
bool gamesPerChunk(const std::string& dir, int& perChunk, std::string& error);

// The chunk a chunk file belongs to, from its name ("solved-00012.kpos" is
// 12: the positions of games chunk 12); -1 when the name gives none.
int chunkNumberOf(const std::string& file);

// Appends the positions of the chunk file `file` of a folder whose games were
// played `perChunk` to a chunk. Every step reads chunks through this one
// check: false, with `error` naming the file and the fault, when readChunk
// refuses the file or it does not hold the positions its name says (a game
// that is not one of its chunk's, games out of order, a position no game
// keeps).
bool readChunkOfGames(const std::string& file, int perChunk, std::vector<TrainingPosition>& positions,
                      std::string& error);

// Chunks 0..count-1 of `shard` whose file is missing or damaged (refused by
// readChunkOfGames); a damaged file is named on standard error, as `what`,
// before it is made again.
std::vector<int> chunksToMake(const std::string& dir, const std::string& prefix, int count, const Shard& shard,
                              const std::string& what, int perChunk);

// The chunks of games in `dir` that `shard` can work on: those up to its
// first chunk not yet played (later ones may still be in the making).
int gamesPlayedBefore(const std::string& dir, const Shard& shard);

// What a step takes from a chunk of games: of each game's positions that
// `wanted` accepts, `perGame` drawn in an order fixed by the seed and the
// game's number (the same in whichever process draws them), game after game.
std::vector<TrainingPosition> drawPerGame(const std::vector<TrainingPosition>& positions, int perGame,
                                          std::uint64_t seed,
                                          const std::function<bool(const TrainingPosition&)>& wanted);

// The draws drawPerGame makes at most from the games chunks `chunks` of
// `dir` (played `gamesPerChunk` to a chunk), `perGame` for every game that
// `counts` accepts: the length of the progress line of a step that draws.
// False with `error` set when a chunk is refused (readChunkOfGames).
bool drawsFromChunks(const std::string& dir, const std::vector<int>& chunks, int gamesPerChunk, int perGame,
                     const std::function<bool(std::int32_t game)>& counts, long& draws, std::string& error);

// Chunk files of `prefix` present in `dir`, in order.
std::vector<std::string> existingChunkFiles(const std::string& dir, const std::string& prefix);

// The numbers of those files ("games-00012.kpos" is 12), in order.
std::vector<int> existingChunks(const std::string& dir, const std::string& prefix);

// The positions of a chunk, made by make(chunk, positions, tick); make
// returns false on failure and calls tick() after each unit of work (a game,
// a solved position), which drives a progress line of `units` units in all.
using MakeChunk =
    std::function<bool(int chunk, std::vector<TrainingPosition>& positions, const std::function<void()>& tick)>;

// Makes and writes each of `chunks`, spread over `jobs` processes. True when
// every chunk was written.
bool runChunks(const std::string& dir, const std::string& prefix, const std::vector<int>& chunks, int jobs,
               const std::string& what, long units, const MakeChunk& make);

// The same for files of another kind: write(chunk, tick, error) makes and
// writes the file of one chunk (whole, or not at all), false with `error`
// set when it fails. Temporary files a stopped run left for `prefix` are
// removed first.
using WriteChunk = std::function<bool(int chunk, const std::function<void()>& tick, std::string& error)>;
bool runChunkFiles(const std::string& dir, const std::string& prefix, const std::vector<int>& chunks, int jobs,
                   const std::string& what, long units, const WriteChunk& write);

// Makes `chunk` in a worker process, calling tick() after each unit of
// work; an empty text on success, else what went wrong.
using ChunkWork = std::function<std::string(int chunk, const std::function<void()>& tick)>;

// Runs `work` for each of `chunks`, spread over `jobs` processes, with a
// progress line of `units` units in all. True when every chunk was made.
bool runChunkWork(const std::vector<int>& chunks, int jobs, const std::string& what, long units, const ChunkWork& work);

// The settings a step keeps in its folder (a few lines of text). Reading
// gives empty text when the file is absent; false with `error` set when it
// cannot be read or is not a regular file. Saving replaces the file whole
// and gives 0 or the system's error.
bool loadSettings(const std::string& name, std::string& text, std::string& error);
int saveSettings(const std::string& name, const std::string& text);

// Keeps `wanted` as the settings of a step's folder in `file`: writes them,
// whole or not at all, where the folder has none yet (a missing or empty
// file) and refuses a folder made with others. A folder that already holds
// the step's files (`made`) but no settings is refused too: nothing says how
// they were made. 0, or the step's exit status after one line on standard
// error naming `step`: 1 when the file cannot be read or written, 2 for
// other or missing settings.
int keepSettings(const std::string& step, const std::string& file, const std::string& wanted, bool made);

// Whether `dir` holds files "PREFIX-*EXTENSION" (a step's chunks).
bool holdsFilesOf(const std::string& dir, const std::string& prefix, const std::string& extension);

}  // namespace kaimo::train
