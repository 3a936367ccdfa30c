#include <gtest/gtest.h>

#include <functional>

#include "engine/book/book_file.h"
#include "engine/eval/pattern_shapes.h"
#include "tests/common/small_book.h"
#include "tests/common/temp_dir.h"

namespace kaimo {
namespace {

using testing::smallBook;

// The key's image under a symmetry that moves it: a larger one, since a key is the smallest.
BookKey largerImage(const BookKey& key) {
  for (int t = 1; t < kSymmetryCount; ++t) {
    BookKey image;
    for (int s = 0; s < kSquareCount; ++s) {
      if ((key.mover >> s) & 1) image.mover |= Bits{1} << kSymmetryMaps[t][s];
      if ((key.opponent >> s) & 1) image.opponent |= Bits{1} << kSymmetryMaps[t][s];
    }
    if (!(image == key)) return image;
  }
  return key;
}

TEST(BookFile, ReadsBackWhatItWrote) {
  const std::vector<BookEntry> entries = smallBook(2);
  const std::string bytes = encodeBook(entries);
  EXPECT_EQ(bytes.size(), kBookHeaderBytes + entries.size() * kBookRecordBytes);
  std::vector<BookEntry> read;
  std::string fault;
  ASSERT_TRUE(decodeBook(bytes, read, fault)) << fault;
  ASSERT_EQ(read.size(), entries.size());
  for (std::size_t i = 0; i < read.size(); ++i) {
    EXPECT_EQ(read[i].key, entries[i].key);
    EXPECT_EQ(read[i].value, entries[i].value);
    EXPECT_EQ(read[i].gameValue, entries[i].gameValue);
    EXPECT_EQ(read[i].readValue, entries[i].readValue);
    EXPECT_EQ(read[i].readDepth, entries[i].readDepth);
  }
}

TEST(BookFile, RefusesEveryKindOfDamage) {
  const std::vector<BookEntry> good = smallBook(2);
  const std::string bytes = encodeBook(good);
  // Records that are no positions, written with a valid checksum.
  const auto written = [&](const std::function<void(std::vector<BookEntry>&)>& spoil) {
    std::vector<BookEntry> entries = good;
    spoil(entries);
    return encodeBook(entries);
  };
  const std::vector<std::pair<const char*, std::string>> cases = {
      {"empty", ""},
      {"header cut short", bytes.substr(0, 20)},
      {"last record cut short", bytes.substr(0, bytes.size() - 1)},
      {"a byte too many", bytes + '\0'},
      {"other magic", "KPOS" + bytes.substr(4)},
      {"version 2", bytes.substr(0, 4) + '\2' + bytes.substr(5)},
      {"a count beyond the file", bytes.substr(0, 8) + '\xff' + bytes.substr(9)},
      {"a changed value", bytes.substr(0, bytes.size() - 6) + '\x55' + bytes.substr(bytes.size() - 5)},
      {"keys out of order", written([](auto& e) { std::swap(e[0], e[1]); })},
      {"a key twice", written([](auto& e) { e[1] = e[0]; })},
      {"discs on one square", written([](auto& e) { e[0].key.opponent |= e[0].key.mover & -e[0].key.mover; })},
      {"discs beyond square 99", written([](auto& e) { e.back().key.opponent |= Bits{1} << 100; })},
      {"a key not the smallest image", written([](auto& e) { e.back().key = largerImage(e.back().key); })},
      {"a value beyond a wipe-out", written([](auto& e) { e[0].value = kBookValueLimit + 1; })},
      {"a game beyond a wipe-out", written([](auto& e) { e[1].gameValue = -kBookValueLimit - 1; })},
      {"no read depth", written([](auto& e) { e[0].readDepth = 0; })},
  };
  for (const auto& [what, damaged] : cases) {
    std::vector<BookEntry> read;
    std::string fault;
    EXPECT_FALSE(decodeBook(damaged, read, fault)) << what;
    EXPECT_FALSE(fault.empty()) << what;
    EXPECT_TRUE(read.empty()) << what;
  }
}

class BookFileOnDisk : public testing::InTempDir {};

TEST_F(BookFileOnDisk, ADamagedBookTurnsTheBookOffWithOneLogLine) {
  std::string bytes = encodeBook(smallBook(1));
  bytes[kBookHeaderBytes + 3] ^= 1;
  writeFile("kaimobook.dat", bytes);
  EXPECT_EQ(openingBookOrLog("kaimobook.dat"), nullptr);
  const std::string log = readFile("errorlog.txt");
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1);
  EXPECT_NE(log.find("kaimobook.dat"), std::string::npos);

  writeFile("kaimobook.dat", encodeBook(smallBook(1)));
  const auto book = openingBookOrLog("kaimobook.dat");
  ASSERT_NE(book, nullptr);
  EXPECT_EQ(book->size(), smallBook(1).size());
  EXPECT_EQ(readFile("errorlog.txt"), log);
}

}  // namespace
}  // namespace kaimo
