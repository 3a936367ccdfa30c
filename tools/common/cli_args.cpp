#include "tools/common/cli_args.h"

#include <cerrno>
#include <cstdlib>

namespace kaimo::tools {

Args Args::parse(const std::vector<std::string>& words) {
  Args args;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (word.size() > 2 && word.compare(0, 2, "--") == 0) {
      if (i + 1 >= words.size()) throw UsageError("option " + word + " needs a value");
      if (!args.options.emplace(word, words[i + 1]).second) throw UsageError("option " + word + " given twice");
      ++i;
    } else {
      args.positional.push_back(word);
    }
  }
  return args;
}

void Args::allowOnly(const std::set<std::string>& names) const {
  for (const auto& [name, value] : options) {
    if (names.count(name) == 0) throw UsageError("unknown option " + name);
  }
}

std::string Args::get(const std::string& name, const std::string& fallback) const {
  auto it = options.find(name);
  return it == options.end() ? fallback : it->second;
}

int Args::getInt(const std::string& name, int fallback, int low, int high) const {
  auto it = options.find(name);
  return it == options.end() ? fallback : parseInt(it->second, name, low, high);
}

std::string Args::getPath(const std::string& name) const {
  const std::string path = get(name, "");
  if (has(name) && path.empty()) throw UsageError(name + " must name a file or folder, not be empty");
  return path;
}

int parseInt(const std::string& text, const std::string& what, int low, int high) {
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || errno == ERANGE || value < low || value > high) {
    throw UsageError(what + " must be a whole number from " + std::to_string(low) + " to " + std::to_string(high) +
                     ", not '" + text + "'");
  }
  return static_cast<int>(value);
}

}  // namespace kaimo::tools
