// Any bytes read as a game record give a usable history (never empty, every
// value in range, the last move -1), and writing that history and reading it
// back gives it again exactly.
#include <cstdint>
#include <cstdio>

#include "app/records/record_reader.h"
#include "app/records/record_writer.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/fuzz/history_checks.h"

namespace {

using kaimo::fuzz::require;

kaimo::RecordReadResult readBytes(const std::uint8_t* data, std::size_t size) {
  std::FILE* stream = kaimo::fuzz::openInput(data, size);
  require(stream != nullptr, "fmemopen");
  kaimo::RecordReadResult result = kaimo::readRecord(stream);
  std::fclose(stream);
  return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const kaimo::RecordReadResult read = readBytes(data, size);
  if (read.status == kaimo::RecordStatus::NotARecord) {
    require(read.history.empty(), "a text with nothing of a record gave a history");
    return 0;
  }
  require(read.status == kaimo::RecordStatus::Ok || read.status == kaimo::RecordStatus::FormatError,
          "unexpected status reading memory");
  kaimo::fuzz::requireUsableHistory(read.history);

  const std::string text = kaimo::fuzz::writtenText([&](std::FILE* stream) {
    require(kaimo::writeRecord(stream, read.history).status == kaimo::RecordStatus::Ok, "write refused");
  });
  const kaimo::RecordReadResult again = readBytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
  require(again.status == kaimo::RecordStatus::Ok, "written record does not read back");
  require(again.history == read.history, "round trip changed the history");
  return 0;
}
