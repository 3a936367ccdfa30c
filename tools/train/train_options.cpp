#include "tools/train/train_options.h"

#include "tools/train/chunks.h"
#include "tools/train/training_set.h"

namespace kaimo::train {

tools::OptionSyntax dirOption(const char* help) { return tools::required(tools::pathOption("--dir", "DIR", help)); }

tools::OptionSyntax dirListOption(const char* help) {
  return tools::required(
      tools::pathOption("--dir", "DIR[,DIR...]", help,
                        [](const std::string& name, const std::string& value) { folderList(value, name); }));
}

tools::OptionSyntax jobsOption() { return tools::integerOption("--jobs", "N", 2, 1, 64, "worker processes"); }

tools::OptionSyntax seedOption(const char* help) { return tools::integerOption("--seed", "S", 1, 0, 2147483647, help); }

tools::OptionSyntax shardOption() {
  return tools::textOption("--shard", "K/N", "0/1", "this run's share K (from 0) of a run split N ways",
                           [](const std::string&, const std::string& value) { parseShard(value); });
}

tools::OptionSyntax chunksOption() {
  return tools::integerOption("--chunks", "N", 1 << 30, 1, 1 << 30, "only the first N chunks of games");
}

}  // namespace kaimo::train
