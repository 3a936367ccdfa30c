#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "engine/book/opening_book.h"
#include "tests/common/temp_dir.h"
#include "tools/common/cli_args.h"
#include "tools/common/process_pool.h"
#include "tools/train/book_tree.h"
#include "tools/train/train_commands.h"

namespace kaimo::train {
namespace {

BookKey keyAfter(const Board& board, int side, int square) {
  Board next = board;
  boardPlayInPlace(next, square, side);
  return *bookKeyOf(next, opponentOf(side));
}

TEST(BookTree, BacksValuesUpAndGrowsTheCheapestLeavesFirst) {
  Board root;
  const int side = boardInit(root);
  const BookKey rootKey = *bookKeyOf(root, side);
  // Every first move gives one position; its replies give the leaves.
  const int first = bookStepsOf(root, side).front().square;
  Board child = root;
  boardPlayInPlace(child, first, side);
  const BookKey childKey = keyAfter(root, side, first);
  std::vector<BookEntry> leaves;
  int read = 0;
  for (const BookStep& step : bookStepsOf(child, opponentOf(side))) {
    if (std::none_of(leaves.begin(), leaves.end(), [&](const BookEntry& e) { return e.key == step.key; })) {
      leaves.push_back({step.key, 0, static_cast<std::int16_t>(read += 150), 0, 4});
    }
  }
  ASSERT_GE(leaves.size(), 2u);

  BookTree tree;
  tree.add({{rootKey, 0, 30, 11, 4}, {childKey, 0, -70, 22, 4}});
  tree.add({leaves.front()});
  tree.evaluate(rootKey, 100);
  // The reply position is not yet played from: it is worth its own game.
  EXPECT_EQ(OpeningBook(tree.entries()).find(rootKey)->value, 70);
  EXPECT_EQ(tree.cheapestLeaves(5), std::vector<BookKey>{childKey});
  EXPECT_EQ(tree.positionsAfter({childKey}).size(), leaves.size() - 1);

  tree.add(leaves);
  tree.evaluate(rootKey, 100);
  const OpeningBook book(tree.entries());
  // The replier takes the leaf worst for the first player: the one read 150.
  EXPECT_EQ(book.find(childKey)->value, -150);
  EXPECT_EQ(book.find(rootKey)->value, 150);
  EXPECT_EQ(book.find(rootKey)->gameValue, 30);
  EXPECT_EQ(book.find(rootKey)->readValue, 11);
  // Costs: two plies each, plus what the reply gives up against the best.
  std::vector<BookKey> byValue;
  for (const BookEntry& e : leaves) byValue.push_back(e.key);
  EXPECT_EQ(tree.cheapestLeaves(leaves.size()), byValue);
  const BookTree::Summary summary = tree.summary(rootKey);
  EXPECT_EQ(summary.positions, leaves.size() + 2);
  EXPECT_EQ(summary.inPlay, 2u);
  EXPECT_EQ(summary.deepestPly, 2);
  EXPECT_EQ(summary.bestLinePlies, 2);
}

class BookMaking : public testing::InTempDir {
 protected:
  static std::vector<std::string> words(const char* dir, int rounds, const char* shard = "0/1") {
    return {"--dir",     dir,  "--rounds", std::to_string(rounds),
            "--routine", "狸", "--depth",  "2",
            "--leaves",  "3",  "--chunk",  "2",
            "--jobs",    "2",  "--shard",  shard};
  }
  static std::vector<std::filesystem::path> filesIn(const char* dir) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) files.push_back(entry.path().filename());
    std::sort(files.begin(), files.end());
    return files;
  }
  // The same files with the same contents (but the settings, when `settingsToo` is false).
  static void expectSameFolders(const char* a, const char* b, bool settingsToo = true) {
    const auto files = filesIn(a);
    ASSERT_EQ(files, filesIn(b));
    for (const auto& name : files) {
      if (!settingsToo && name == "book.cfg") continue;
      EXPECT_TRUE(readFile((std::filesystem::path(a) / name).string()) ==
                  readFile((std::filesystem::path(b) / name).string()))
          << name;
    }
  }
};

TEST_F(BookMaking, AStoppedExtendedOrSplitRunMakesTheFilesOfOneRun) {
  std::FILE* out = std::tmpfile();
  ASSERT_EQ(runBook(words("whole", 6), out), 0);
  std::vector<BookEntry> book;
  std::string fault;
  ASSERT_TRUE(readBookFile("whole/kaimobook.dat", book, fault)) << fault;
  EXPECT_GT(book.size(), 20u);

  // Four rounds, then damage (a lost chunk, a cut one, a stopped write), then six.
  ASSERT_EQ(runBook(words("grown", 4), out), 0);
  std::filesystem::remove("grown/book-0003-0000.kbook");
  const std::string cut = readFile("grown/book-0002-0000.kbook");
  writeFile("grown/book-0002-0000.kbook", cut.substr(0, cut.size() - 3));
  writeFile("grown/book-0004-0000.kbook.tmp-999-0", cut);
  ASSERT_EQ(runBook(words("grown", 6), out), 0);
  expectSameFolders("whole", "grown");

  // Two shards sharing one folder, side by side.
  const auto shard = [&](int job, std::FILE* report) {
    return runBook(words("split", 6, job == 0 ? "0/2" : "1/2"), report);
  };
  const auto ends = tools::runInProcesses(2, shard, [](int, const std::string&) {});
  ASSERT_TRUE(tools::allSucceeded(ends));
  expectSameFolders("whole", "split", false);  // book.cfg keeps the shard count

  // Other settings in the same folder are refused.
  std::vector<std::string> deeper = words("whole", 6);
  deeper[7] = "3";
  EXPECT_EQ(runBook(deeper, out), 2);
  std::fclose(out);
}

}  // namespace
}  // namespace kaimo::train
