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

// Chunks 0..count-1 whose file is missing or fails `complete` (given the
// chunk, its file name and the positions it holds); a damaged file is named
// on standard error, as `what`, before it is made again.
std::vector<int> chunksToMake(const std::string& dir, const std::string& prefix, int count, const std::string& what,
                              const std::function<bool(int chunk, const std::vector<TrainingPosition>&)>& complete);

// Chunk files of `prefix` present in `dir`, in order.
std::vector<std::string> existingChunkFiles(const std::string& dir, const std::string& prefix);

// The positions of a chunk, made by make(chunk, positions, tick); make
// returns false on failure and calls tick() after each unit of work (a game,
// a solved position), which drives a progress line of `units` units in all.
using MakeChunk =
    std::function<bool(int chunk, std::vector<TrainingPosition>& positions, const std::function<void()>& tick)>;

// Makes and writes each of `chunks`, spread over `jobs` processes. True when
// every chunk was written.
bool runChunks(const std::string& dir, const std::string& prefix, const std::vector<int>& chunks, int jobs,
               const std::string& what, long units, const MakeChunk& make);

// The settings a step keeps in its folder (a few lines of text). Reading
// gives empty text when the file is absent; false with `error` set when it
// cannot be read or is not a regular file.
bool loadSettings(const std::string& name, std::string& text, std::string& error);
bool saveSettings(const std::string& name, const std::string& text);

}  // namespace kaimo::train
