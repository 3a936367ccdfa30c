// boardReadText against a second reading of the same bytes done here by
// hand: the result, the squares it set (and those it left), and where it
// stopped in the stream. A board it reads writes and reads back unchanged.
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "engine/board/board.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

using kaimo::fuzz::require;

struct Expected {
  int result;
  kaimo::Board board;
  long endOffset;  // just after the hundredth symbol, when the read succeeds
};

int symbolValue(std::uint8_t c) {
  const char* symbols = "xo.-";
  const char* found = c != 0 ? std::strchr(symbols, c) : nullptr;
  return found != nullptr ? static_cast<int>(found - symbols) : -1;
}

bool isBlank(std::uint8_t c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

Expected expectedRead(const std::uint8_t* data, std::size_t size, const kaimo::Board& before) {
  Expected expected{-1, before, -1};
  int symbols = 0;
  for (std::size_t i = 0; i < size; ++i) {
    if (isBlank(data[i])) continue;
    const int value = symbolValue(data[i]);
    if (value < 0) return expected;
    // The i-th symbol is row i / 10, column i % 10.
    expected.board[10 * (symbols % 10) + symbols / 10] = static_cast<std::int8_t>(value);
    if (++symbols == 100) {
      expected.result = 0;
      expected.endOffset = static_cast<long>(i + 1);
      return expected;
    }
  }
  return expected;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kaimo::Board board;
  for (int s = 0; s < kaimo::kSquareCount; ++s) board[s] = static_cast<std::int8_t>(s % 4);
  const Expected expected = expectedRead(data, size, board);

  std::FILE* stream = kaimo::fuzz::openInput(data, size);
  require(stream != nullptr, "fmemopen");
  const int result = kaimo::boardReadText(board, stream);
  const long offset = std::ftell(stream);
  std::fclose(stream);

  require(result == expected.result, "result differs");
  require(board == expected.board, "squares differ");
  if (result != 0) return 0;
  require(offset == expected.endOffset, "did not stop right after the hundredth symbol");

  const std::string text = kaimo::fuzz::writtenText([&](std::FILE* out) { kaimo::boardWriteText(board, out); });
  require(text.size() == 110, "text form is not ten lines of ten");
  kaimo::Board back;
  back.fill(kaimo::kEmpty);
  std::FILE* again = kaimo::fuzz::openInput(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
  require(again != nullptr, "fmemopen");
  require(kaimo::boardReadText(back, again) == 0 && back == board, "text form does not read back");
  std::fclose(again);
  return 0;
}
