// The opening book's file, "kaimobook.dat" in the data folder. Little-endian:
//
//   offset  size    content
//   0       4       "KBOK"
//   4       4       format version, 1
//   8       8       number of positions N
//   16      8       checksum: 64-bit FNV-1a of the N records' bytes
//   24      34 × N  the records, in increasing key order
//
// A record (34 bytes):
//
//   0       13      the mover's discs: bit s of a 100-bit number is square s
//   13      13      the opponent's discs
//   26      2       the book's value for the mover: the negamax value over the
//                   book's moves, or the position's own game where the book
//                   does not go on (signed, hundredths of a disc)
//   28      2       the position's own game: the final margin of the game
//                   the program plays on from it against itself
//   30      2       the position's own deep read, the same unit
//   32      1       the depth of that read in plies
//   33      1       reserved, 0
//
// Keys are those of book_key.h: the smallest of the eight images, compared
// mover mask first, each as a number. The trainer writes its chunks in the
// same form: a chunk is a small book.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/book/book_key.h"

namespace kaimo {

inline constexpr const char* kBookFileName = "kaimobook.dat";
constexpr std::uint32_t kBookFormatVersion = 1;
constexpr std::size_t kBookHeaderBytes = 24;
constexpr std::size_t kBookRecordBytes = 34;
// A wipe-out in hundredths of a disc: no value lies beyond it.
constexpr int kBookValueLimit = 10000;
// 64 MB: about two million positions, far beyond any book worth shipping; a larger
// file is refused before it is read.
constexpr std::size_t kBookMaxBytes = std::size_t{64} << 20;

struct BookEntry {
  BookKey key;
  std::int16_t value = 0;      // hundredths of a disc, for the mover
  std::int16_t gameValue = 0;  // the position's own game
  std::int16_t readValue = 0;  // the position's own deep read
  std::uint8_t readDepth = 0;
};

// The whole file for `entries`, which must be in increasing key order.
std::string encodeBook(const std::vector<BookEntry>& entries);

// The entries of a file's bytes; false with `fault` saying what is wrong
// when any check fails: the header, the version, the length against the
// count, the checksum, the key order, or a record that is no position
// (overlapping discs, bits beyond square 99, a key that is not the smallest
// image, a value beyond a wipe-out, no read depth, a reserved byte set).
bool decodeBook(std::string_view bytes, std::vector<BookEntry>& entries, std::string& fault);

// The same for a file; `fault` also covers a file that cannot be read.
bool readBookFile(const std::string& path, std::vector<BookEntry>& entries, std::string& fault);

}  // namespace kaimo
