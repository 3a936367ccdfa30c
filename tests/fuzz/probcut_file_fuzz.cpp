// Any bytes read as a ProbCut table either are refused with a reason or
// give a table whose file is those very bytes (the layout has one spelling
// of every table), and whose pairs give every node depth a shallow read
// below it.
#include <cstdint>
#include <string>

#include "engine/search/probcut.h"
#include "tests/fuzz/fuzz_support.h"

using kaimo::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::string fault;
  const auto table = kaimo::parseProbCutFile(bytes, fault);
  if (!table) {
    require(!fault.empty(), "a refusal without a reason");
    return 0;
  }
  require(kaimo::probCutFileBytes(*table) == bytes, "the table does not write back the bytes it was read from");
  for (int empties = 0; empties <= 100; empties += 7) {
    for (int depth = table->firstDepth(); depth <= 60; ++depth) {
      kaimo::ProbCutPair pair;
      require(table->pairFor(empties, depth, pair), "no pair for a depth of the table");
      require(pair.shallow >= 0 && pair.shallow < depth, "a shallow read not below its node");
    }
  }
  return 0;
}
