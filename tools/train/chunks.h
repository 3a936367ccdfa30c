// Steps that produce files chunk by chunk: a chunk's file appears only once
// it is complete (written whole to a temporary file, flushed, renamed), so a
// step stopped at any moment resumes by making the chunks whose files are
// missing or damaged, and gives the same files as a run never stopped.
#pragma once

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

// Chunks 0..count-1 of `shard` whose file is missing or fails `complete`
// (given the chunk and the positions it holds); a damaged file is named on
// standard error, as `what`, before it is made again.
std::vector<int> chunksToMake(const std::string& dir, const std::string& prefix, int count, const Shard& shard,
                              const std::string& what,
                              const std::function<bool(int chunk, const std::vector<TrainingPosition>&)>& complete);

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

// Makes `chunk` in a worker process, calling tick() after each unit of
// work; an empty text on success, else what went wrong.
using ChunkWork = std::function<std::string(int chunk, const std::function<void()>& tick)>;

// Runs `work` for each of `chunks`, spread over `jobs` processes, with a
// progress line of `units` units in all. True when every chunk was made.
bool runChunkWork(const std::vector<int>& chunks, int jobs, const std::string& what, long units, const ChunkWork& work);

// The settings a step keeps in its folder (a few lines of text). Reading
// gives empty text when the file is absent; false with `error` set when it
// cannot be read or is not a regular file.
bool loadSettings(const std::string& name, std::string& text, std::string& error);
bool saveSettings(const std::string& name, const std::string& text);

}  // namespace kaimo::train
