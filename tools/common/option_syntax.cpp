#include "tools/common/option_syntax.h"

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

// "--depth N", or "--wld" for a flag.
std::string optionWord(const OptionSyntax& syntax) {
  return syntax.value[0] == '\0' ? syntax.name : std::string(syntax.name) + " " + syntax.value;
}

std::string synopsisWord(const OptionSyntax& syntax) {
  const std::string word = optionWord(syntax);
  return syntax.required ? word : "[" + word + "]";
}

}  // namespace

OptionList joinOptions(std::initializer_list<OptionList> groups) {
  OptionList all;
  for (const OptionList& group : groups) all.insert(all.end(), group.begin(), group.end());
  return all;
}

const OptionSyntax* CommandSyntax::find(const std::string& option) const {
  for (const OptionSyntax& syntax : options) {
    if (option == syntax.name) return &syntax;
  }
  for (const char* colour : kColours) {
    const std::string prefix = std::string("--") + colour + "-";
    if (option.compare(0, prefix.size(), prefix) != 0) continue;
    const std::string common = "--" + option.substr(prefix.size());
    for (const OptionSyntax& syntax : options) {
      if (syntax.perColour && common == syntax.name) return &syntax;
    }
  }
  return nullptr;
}

std::string CommandSyntax::synopsis() const {
  std::string text = name;
  if (operands[0] != '\0') text += std::string(" ") + operands;
  std::string colours;
  for (const OptionSyntax& syntax : options) {
    if (syntax.listed) text += " " + synopsisWord(syntax);
    if (syntax.perColour) colours += (colours.empty() ? "" : ", ") + std::string(syntax.name);
  }
  if (!colours.empty()) text += " (" + colours + ": each also as --black-NAME and --white-NAME)";
  if (note != nullptr) text += std::string(" ") + note;
  return text;
}

std::string CommandSyntax::usage() const { return std::string("usage: ") + program + " " + synopsis(); }

void CommandSyntax::printHelp(std::FILE* out) const {
  std::fprintf(out, "%s\n", usage().c_str());
  std::size_t width = 0;
  bool colours = false;
  for (const OptionSyntax& syntax : options) {
    width = std::max(width, std::strlen(syntax.name) + std::strlen(syntax.value) + 1);
    colours = colours || syntax.perColour;
  }
  for (const OptionSyntax& syntax : options) {
    const std::string word = optionWord(syntax);
    std::string details;
    if (syntax.required) details = "required";
    const std::string fallback = syntax.required ? "" : fallbackText(syntax);
    if (!fallback.empty()) details = "default " + fallback;
    const std::string range = rangeText(syntax);
    if (!range.empty()) details += (details.empty() ? "" : ", ") + range;
    std::fprintf(out, "  %-*s %s%s%s\n", static_cast<int>(width), word.c_str(), syntax.perColour ? "* " : "",
                 syntax.help, details.empty() ? "" : (" (" + details + ")").c_str());
  }
  if (colours) std::fprintf(out, "* also as --black-NAME and --white-NAME, for that side only\n");
}

std::string rangeText(const OptionSyntax& syntax) {
  if (syntax.kind == OptionKind::Number) return numberText(syntax.low) + " to " + numberText(syntax.high);
  if (syntax.kind != OptionKind::Integer) return "";
  return (syntax.lowFrom != nullptr ? std::string(syntax.lowFrom) : integerText(syntax.low)) + " to " +
         integerText(syntax.high);
}

std::string fallbackText(const OptionSyntax& syntax) {
  switch (syntax.kind) {
    case OptionKind::Integer: return integerText(syntax.fallback);
    case OptionKind::Number: return numberText(syntax.fallback);
    case OptionKind::Switch: return syntax.fallback != 0 ? "on" : "off";
    case OptionKind::Flag: return "";
    case OptionKind::Text: return syntax.fallbackText != nullptr ? syntax.fallbackText : "";
    case OptionKind::Path: return "";
  }
  return "";
}

}  // namespace kaimo::tools
