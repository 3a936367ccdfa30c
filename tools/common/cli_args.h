// Argument handling shared by the subcommands of kaimo-cli and kaimo-train:
// the words after a subcommand's name, read against its declared options.
#pragma once

#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/common/option_syntax.h"

namespace kaimo::tools {

// The words after a subcommand's name.
using Words = std::vector<std::string>;

// A wrong argument: main prints the message on standard error and exits 2.
struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Every "--name" takes the next word as its value; other words are positional.
// Only the options `command` declares are accepted, and every value given is
// checked against its declaration as the words are parsed. Asking for an
// option the command does not declare is a fault of the program
// (std::logic_error), not of the user.
class Args {
 public:
  static Args parse(const CommandSyntax& command, const Words& words);

  std::vector<std::string> positional;

  bool has(const std::string& name) const { return given_.count(name) != 0; }
  // The value given, else the declared default.
  int getInt(const std::string& name) const;
  double getNumber(const std::string& name) const;
  // A switch's value, or whether a flag was given.
  bool isOn(const std::string& name) const;
  std::string get(const std::string& name) const;
  // A file or folder name, empty when the option is not given.
  std::string getPath(const std::string& name) const;
  // The value given, or nothing: for a default that depends on other options.
  std::optional<int> givenInt(const std::string& name) const;

  // The UsageError for wrong operands: the command's usage line.
  UsageError usageError() const { return UsageError(command_->usage()); }

 private:
  const OptionSyntax& syntax(const std::string& name, OptionKind kind) const;

  const CommandSyntax* command_ = nullptr;
  std::map<std::string, std::string> given_;
};

// A whole-string decimal integer within [low, high], or UsageError naming `what`.
int parseInt(const std::string& text, const std::string& what, int low, int high);
// A whole-string decimal number within [low, high], or UsageError naming `what`.
double parseNumber(const std::string& text, const std::string& what, double low, double high);

}  // namespace kaimo::tools
