// Steps that produce files chunk by chunk: a chunk's file appears (renamed
// from a ".part" file) only once it is complete, so a step stopped at any
// moment resumes by doing the chunks whose files are missing.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace kaimo::train {

// "DIR/PREFIX-00012.kpos".
std::string chunkFileName(const std::string& dir, const std::string& prefix, int chunk);

// Chunks 0..count-1 whose file does not exist yet.
std::vector<int> missingChunks(const std::string& dir, const std::string& prefix, int count);

// Chunk files of `prefix` present in `dir`, in order.
std::vector<std::string> existingChunkFiles(const std::string& dir, const std::string& prefix);

// Writes each of `chunks` with make(chunk, partName, tick), spread over
// `jobs` processes; make returns false on failure and calls tick() after each
// unit of work (a game, a solved position), which drives a progress line of
// `units` units in total. True when every chunk was written.
bool runChunks(const std::string& dir, const std::string& prefix, const std::vector<int>& chunks, int jobs,
               const std::string& what, long units,
               const std::function<bool(int chunk, const std::string& partName, const std::function<void()>& tick)>& make);

// Reads a settings file written by saveSettings; empty when absent.
std::string loadSettings(const std::string& name);
bool saveSettings(const std::string& name, const std::string& text);

}  // namespace kaimo::train
