// The options of a command, declared once: name, default, range and help.
// Parsing (tools/common/cli_args.h) refuses what no declaration names and
// checks every given value against its declaration before the command does
// any work; the usage lines and `help COMMAND` are printed from the same
// declarations, so the three cannot drift apart.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace kaimo::tools {

enum class OptionKind {
  Integer,  // a whole number within [low, high]
  Number,   // a decimal number within [low, high]
  Switch,   // on or off
  Flag,     // given alone, with no value: on; absent: off
  Text,     // any word, or what `check` accepts
  Path,     // a file or folder name, never empty (that would mean the current folder)
};

struct OptionSyntax {
  const char* name;   // "--depth"
  const char* value;  // the value's name in the usage text: "N"
  const char* help;   // what it sets, for `help COMMAND`
  OptionKind kind = OptionKind::Text;
  double fallback = 0;                 // Integer, Number, Switch (1: on): the value when not given
  const char* fallbackText = nullptr;  // Text: the value when not given (null: none)
  double low = 0;
  double high = 0;
  const char* lowFrom = nullptr;  // Integer: the low end is this option's value instead
  bool required = false;
  bool listed = true;      // false: the synopsis names it through the operands ("[position]")
  bool perColour = false;  // also as --black-NAME and --white-NAME, which override it for one side
  // Text, Path: throws UsageError when the value is wrong, so that it is
  // refused before any work is done.
  void (*check)(const std::string& name, const std::string& value) = nullptr;
};

constexpr OptionSyntax integerOption(const char* name, const char* value, int fallback, int low, int high,
                                     const char* help) {
  return {.name = name,
          .value = value,
          .help = help,
          .kind = OptionKind::Integer,
          .fallback = static_cast<double>(fallback),
          .low = static_cast<double>(low),
          .high = static_cast<double>(high)};
}
constexpr OptionSyntax numberOption(const char* name, const char* value, double fallback, double low, double high,
                                    const char* help) {
  return {.name = name,
          .value = value,
          .help = help,
          .kind = OptionKind::Number,
          .fallback = fallback,
          .low = low,
          .high = high};
}
constexpr OptionSyntax switchOption(const char* name, bool fallback, const char* help) {
  return {.name = name, .value = "on|off", .help = help, .kind = OptionKind::Switch, .fallback = fallback ? 1.0 : 0.0};
}
constexpr OptionSyntax flagOption(const char* name, const char* help) {
  return {.name = name, .value = "", .help = help, .kind = OptionKind::Flag};
}
constexpr OptionSyntax textOption(const char* name, const char* value, const char* fallback, const char* help,
                                  void (*check)(const std::string&, const std::string&) = nullptr) {
  return {.name = name, .value = value, .help = help, .fallbackText = fallback, .check = check};
}
constexpr OptionSyntax pathOption(const char* name, const char* value, const char* help,
                                  void (*check)(const std::string&, const std::string&) = nullptr) {
  return {.name = name, .value = value, .help = help, .kind = OptionKind::Path, .check = check};
}

// Variations of a declaration.
constexpr OptionSyntax required(OptionSyntax syntax) {
  syntax.required = true;
  return syntax;
}
constexpr OptionSyntax unlisted(OptionSyntax syntax) {
  syntax.listed = false;
  return syntax;
}
constexpr OptionSyntax forEachColour(OptionSyntax syntax) {
  syntax.perColour = true;
  return syntax;
}
// An integer whose low end is the value of another option (--max from --min).
constexpr OptionSyntax atLeast(const char* other, OptionSyntax syntax) {
  syntax.lowFrom = other;
  return syntax;
}

using OptionList = std::vector<OptionSyntax>;

// Options of several groups in one list.
OptionList joinOptions(std::initializer_list<OptionList> groups);

// One form of a command: the program, the command's words, its operands and
// options. A command with forms ("book show", "book check") has one each.
struct CommandSyntax {
  const char* program;   // "kaimo-cli"
  const char* name;      // "search", "book show"
  const char* operands;  // "[position]", "DEPTH [position]", "" for none
  OptionList options;
  const char* note = nullptr;  // a last word for the synopsis, such as what [position] stands for

  // The declaration of `name`, also as --black-NAME or --white-NAME of an
  // option declared for each colour; null when there is none.
  const OptionSyntax* find(const std::string& name) const;
  // "search [position] [--routine NAME|INDEX] [--depth N] ...".
  std::string synopsis() const;
  // "usage: kaimo-cli search ...", the text of the UsageError for wrong operands.
  std::string usage() const;
  // The synopsis, then one line per option: its value, help, default and range.
  void printHelp(std::FILE* out) const;
};

// "1 to 24", "0 to 1" (integers), "0.01 to 1" (numbers).
std::string rangeText(const OptionSyntax& syntax);
// The value when not given, as the usage text shows it ("6", "on", "狸"); empty when none.
std::string fallbackText(const OptionSyntax& syntax);

}  // namespace kaimo::tools
