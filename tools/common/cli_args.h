// Argument handling shared by the subcommands of kaimo-cli.
#pragma once

#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace kaimo::tools {

// The words after a subcommand's name.
using Words = std::vector<std::string>;

// A wrong argument: main prints the message on standard error and exits 2.
struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Every "--name" takes the next word as its value; other words are positional.
struct Args {
  std::vector<std::string> positional;
  std::map<std::string, std::string> options;

  static Args parse(const std::vector<std::string>& words);

  // Refuses any option not named here.
  void allowOnly(const std::set<std::string>& names) const;
  bool has(const std::string& name) const { return options.count(name) != 0; }
  std::string get(const std::string& name, const std::string& fallback) const;
  int getInt(const std::string& name, int fallback, int low, int high) const;
  // A file or folder name: empty when the option is not given, a UsageError
  // when it is given empty (the system would take that for the current folder).
  std::string getPath(const std::string& name) const;
};

// A whole-string decimal integer within [low, high], or UsageError naming `what`.
int parseInt(const std::string& text, const std::string& what, int low, int high);

}  // namespace kaimo::tools
