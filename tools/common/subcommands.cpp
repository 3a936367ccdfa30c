#include "tools/common/subcommands.h"

#include <cstring>

namespace kaimo::tools {
namespace {

void printUsage(const Program& program, std::FILE* out) {
  std::fprintf(out, "usage: %s SUBCOMMAND [arguments]\n", program.name);
  for (const auto& sub : program.subcommands)
    std::fprintf(out, "  %s %s\n", program.name, sub.syntax().synopsis().c_str());
  if (program.footer != nullptr) std::fprintf(out, "%s\n", program.footer);
  std::fprintf(out, "%s help SUBCOMMAND: its options, with their defaults and ranges\n", program.name);
}

int printHelp(const Program& program, const char* name) {
  bool found = false;
  for (const auto& sub : program.subcommands) {
    if (std::strcmp(name, sub.name) != 0) continue;
    sub.syntax().printHelp(stdout);
    found = true;
  }
  if (found) return 0;
  std::fprintf(stderr, "%s: unknown subcommand '%s' (try %s help)\n", program.name, name, program.name);
  return 2;
}

}  // namespace

int runProgram(const Program& program, int argc, char** argv) {
  if (argc < 2) {
    printUsage(program, stderr);
    return 2;
  }
  if (std::strcmp(argv[1], "help") == 0 || std::strcmp(argv[1], "--help") == 0) {
    if (argc > 2) return printHelp(program, argv[2]);
    printUsage(program, stdout);
    return 0;
  }
  for (const auto& sub : program.subcommands) {
    if (std::strcmp(argv[1], sub.name) != 0) continue;
    try {
      return sub.run(Words(argv + 2, argv + argc), stdout);
    } catch (const UsageError& error) {
      std::fprintf(stderr, "%s %s: %s\n", program.name, sub.name, error.what());
      return 2;
    }
  }
  std::fprintf(stderr, "%s: unknown subcommand '%s' (try %s help)\n", program.name, argv[1], program.name);
  return 2;
}

}  // namespace kaimo::tools
