#include "tools/common/option_spec.h"

#include <algorithm>
#include <cstring>

namespace kaimo::tools {
namespace {

constexpr const char* kColours[] = {"black", "white"};

std::string numberText(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

std::string integerText(double value) { return std::to_string(static_cast<long long>(value)); }

std::string synopsisWord(const OptionSpec& spec) {
  const std::string word = std::string(spec.name) + " " + spec.value;
  return spec.required ? word : "[" + word + "]";
}

}  // namespace

OptionList joinOptions(std::initializer_list<OptionList> groups) {
  OptionList all;
  for (const OptionList& group : groups) all.insert(all.end(), group.begin(), group.end());
  return all;
}

const OptionSpec* CommandSpec::find(const std::string& option) const {
  for (const OptionSpec& spec : options) {
    if (option == spec.name) return &spec;
  }
  for (const char* colour : kColours) {
    const std::string prefix = std::string("--") + colour + "-";
    if (option.compare(0, prefix.size(), prefix) != 0) continue;
    const std::string common = "--" + option.substr(prefix.size());
    for (const OptionSpec& spec : options) {
      if (spec.perColour && common == spec.name) return &spec;
    }
  }
  return nullptr;
}

std::string CommandSpec::synopsis() const {
  std::string text = name;
  if (operands[0] != '\0') text += std::string(" ") + operands;
  std::string colours;
  for (const OptionSpec& spec : options) {
    if (spec.listed) text += " " + synopsisWord(spec);
    if (spec.perColour) colours += (colours.empty() ? "" : ", ") + std::string(spec.name);
  }
  if (!colours.empty()) text += " (" + colours + ": each also as --black-NAME and --white-NAME)";
  if (note != nullptr) text += std::string(" ") + note;
  return text;
}

std::string CommandSpec::usage() const { return std::string("usage: ") + program + " " + synopsis(); }

void CommandSpec::printHelp(std::FILE* out) const {
  std::fprintf(out, "%s\n", usage().c_str());
  std::size_t width = 0;
  bool colours = false;
  for (const OptionSpec& spec : options) {
    width = std::max(width, std::strlen(spec.name) + std::strlen(spec.value) + 1);
    colours = colours || spec.perColour;
  }
  for (const OptionSpec& spec : options) {
    const std::string word = std::string(spec.name) + " " + spec.value;
    std::string details;
    if (spec.required) details = "required";
    const std::string fallback = spec.required ? "" : fallbackText(spec);
    if (!fallback.empty()) details = "default " + fallback;
    const std::string range = rangeText(spec);
    if (!range.empty()) details += (details.empty() ? "" : ", ") + range;
    std::fprintf(out, "  %-*s %s%s%s\n", static_cast<int>(width), word.c_str(), spec.perColour ? "* " : "", spec.help,
                 details.empty() ? "" : (" (" + details + ")").c_str());
  }
  if (colours) std::fprintf(out, "* also as --black-NAME and --white-NAME, for that side only\n");
}

std::string rangeText(const OptionSpec& spec) {
  if (spec.kind == OptionKind::Number) return numberText(spec.low) + " to " + numberText(spec.high);
  if (spec.kind != OptionKind::Integer) return "";
  return (spec.lowFrom != nullptr ? std::string(spec.lowFrom) : integerText(spec.low)) + " to " +
         integerText(spec.high);
}

std::string fallbackText(const OptionSpec& spec) {
  switch (spec.kind) {
    case OptionKind::Integer: return integerText(spec.fallback);
    case OptionKind::Number: return numberText(spec.fallback);
    case OptionKind::Switch: return spec.fallback != 0 ? "on" : "off";
    case OptionKind::Text: return spec.fallbackText != nullptr ? spec.fallbackText : "";
    case OptionKind::Path: return "";
  }
  return "";
}

}  // namespace kaimo::tools
