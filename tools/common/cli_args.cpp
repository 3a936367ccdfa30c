#include "tools/common/cli_args.h"

#include <cerrno>
#include <cstdlib>

namespace kaimo::tools {

Args Args::parse(const CommandSyntax& command, const Words& words) {
  Args args;
  args.command_ = &command;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (word.size() > 2 && word.compare(0, 2, "--") == 0) {
      const OptionSyntax* declared = command.find(word);
      if (declared == nullptr) throw UsageError("unknown option " + word);
      if (declared->kind == OptionKind::Flag) {
        if (!args.given_.emplace(word, "on").second) throw UsageError("option " + word + " given twice");
        continue;
      }
      if (i + 1 >= words.size()) throw UsageError("option " + word + " needs a value");
      if (!args.given_.emplace(word, words[i + 1]).second) throw UsageError("option " + word + " given twice");
      ++i;
    } else {
      args.positional.push_back(word);
    }
  }
  for (const OptionSyntax& syntax : command.options) {
    if (syntax.required && !args.has(syntax.name)) throw args.usageError();
  }
  // Every value now, so that a wrong one is refused before any work is done.
  for (const auto& [name, value] : args.given_) {
    const OptionSyntax& syntax = *command.find(name);
    switch (syntax.kind) {
      case OptionKind::Integer:
        parseInt(value, name, syntax.lowFrom != nullptr ? args.getInt(syntax.lowFrom) : static_cast<int>(syntax.low),
                 static_cast<int>(syntax.high));
        break;
      case OptionKind::Number: parseNumber(value, name, syntax.low, syntax.high); break;
      case OptionKind::Switch:
        if (value != "on" && value != "off") throw UsageError(name + " must be on or off, not '" + value + "'");
        break;
      case OptionKind::Flag: break;
      case OptionKind::Path:
        if (value.empty()) throw UsageError(name + " must name a file or folder, not be empty");
        [[fallthrough]];
      case OptionKind::Text:
        if (syntax.check != nullptr) syntax.check(name, value);
        break;
    }
  }
  return args;
}

const OptionSyntax& Args::syntax(const std::string& name, OptionKind kind) const {
  const OptionSyntax* found = command_->find(name);
  if (found == nullptr || found->kind != kind) {
    throw std::logic_error(std::string(command_->name) + " reads " + name + ", which it does not declare as such");
  }
  return *found;
}

int Args::getInt(const std::string& name) const {
  const OptionSyntax& declared = syntax(name, OptionKind::Integer);
  const std::optional<int> value = givenInt(name);
  return value ? *value : static_cast<int>(declared.fallback);
}

std::optional<int> Args::givenInt(const std::string& name) const {
  syntax(name, OptionKind::Integer);
  const auto it = given_.find(name);
  if (it == given_.end()) return std::nullopt;
  // Checked when parsed: only the conversion is left.
  return static_cast<int>(std::strtol(it->second.c_str(), nullptr, 10));
}

double Args::getNumber(const std::string& name) const {
  const OptionSyntax& declared = syntax(name, OptionKind::Number);
  const auto it = given_.find(name);
  return it == given_.end() ? declared.fallback : std::strtod(it->second.c_str(), nullptr);
}

bool Args::isOn(const std::string& name) const {
  if (const OptionSyntax* found = command_->find(name); found != nullptr && found->kind == OptionKind::Flag) {
    return has(name);
  }
  const OptionSyntax& declared = syntax(name, OptionKind::Switch);
  const auto it = given_.find(name);
  return it == given_.end() ? declared.fallback != 0 : it->second == "on";
}

std::string Args::get(const std::string& name) const {
  const OptionSyntax& declared = syntax(name, OptionKind::Text);
  const auto it = given_.find(name);
  if (it != given_.end()) return it->second;
  return declared.fallbackText != nullptr ? declared.fallbackText : "";
}

std::string Args::getPath(const std::string& name) const {
  syntax(name, OptionKind::Path);
  const auto it = given_.find(name);
  return it == given_.end() ? "" : it->second;
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

double parseNumber(const std::string& text, const std::string& what, double low, double high) {
  char* end = nullptr;
  errno = 0;
  const double value = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0' || errno == ERANGE || !(value >= low && value <= high)) {
    throw UsageError(what + " must be a number from " + std::to_string(low) + " to " + std::to_string(high) +
                     ", not '" + text + "'");
  }
  return value;
}

}  // namespace kaimo::tools
