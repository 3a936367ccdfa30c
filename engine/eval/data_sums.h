// The checksum list beside the data of "狐": "kaimodata.sum" in the data
// folder, one line per file, its checksum (16 hex digits, support/files
// checksum.h) then two blanks and its name. The files' own layouts have no
// room for a checksum, so the list carries them: where a folder holds one,
// a data file is read only when the list names it with the checksum of its
// bytes; otherwise it is refused like a damaged file. A folder without the
// list is read as it is.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace kaimo {

inline constexpr const char* kDataSumsFileName = "kaimodata.sum";

class DataSums {
 public:
  // The list of `folder` (empty: the current folder). A list that cannot be
  // read names no file, so every file of its folder is refused.
  static DataSums of(const std::filesystem::path& folder);

  bool present() const { return present_; }

  // Whether the file `name` of `folder` may be read: always without a list
  // and when the file cannot be read (its reader then says why); else when
  // the list names it with the checksum of its bytes. Reads the whole file.
  bool matches(const std::filesystem::path& folder, const std::string& name) const;

 private:
  bool present_ = false;
  std::map<std::string, std::uint64_t> sums_;
};

// The names of the data files of "狐" (index tables, then stage files).
std::vector<std::string> foxDataFileNames();

// Writes the list of the data files of "狐" present in `folder`, whole or
// not at all. 0, or the system's error (with `file` naming the file that
// failed).
int writeDataSums(const std::filesystem::path& folder, std::string& file);

}  // namespace kaimo
