// The program is built for processors with the popcnt instruction: the search
// counts the bits of its masks at every node. On a processor without it the
// first count would stop the program with an illegal instruction and no word
// of why; the programs call this first thing instead.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace kaimo {

inline void requireBuildProcessor() {
#if defined(__POPCNT__) && defined(__x86_64__)
  __builtin_cpu_init();
  if (!__builtin_cpu_supports("popcnt")) {
    std::fputs("このプロセッサはpopcnt命令に対応していないので、Kaimoは動きません。\n", stderr);
    std::exit(1);
  }
#endif
}

}  // namespace kaimo
