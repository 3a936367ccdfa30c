#include "app/window/game_keeper.h"

#include <QString>

#include <algorithm>
#include <filesystem>

#include "app/controller/game_texts.h"
#include "support/kr/kr_error.h"

namespace kaimo {

GameKeeper::~GameKeeper() { remove(); }

bool GameKeeper::start(const std::string& path) {
  auto lock = std::make_unique<QLockFile>(QString::fromStdString(path + ".lock"));
  // A lock left by a run that was killed names a process that is gone and
  // is taken over at once.
  if (!lock->tryLock(0)) return false;
  lock_ = std::move(lock);
  path_ = path;
  offerKeptGame();
  update();
  return true;
}

void GameKeeper::offerKeptGame() {
  KeptGameRead read = readKeptGame(path_);
  switch (read.status) {
    case KeptGameStatus::None: return;
    case KeptGameStatus::Damaged: {
      const std::string keptAs = setDamagedKeptGameAside(path_);
      const texts::Wording text = texts::keptGameDamagedText(path_, keptAs);
      std::string line = text.japanese;
      std::replace(line.begin(), line.end(), '\n', ' ');
      logError("%s\n", line.c_str());
      window_.showMessage(text);
      return;
    }
    case KeptGameStatus::Ok: break;
  }
  const int moves = static_cast<int>(read.game.history.size()) - 1;
  if (window_.askYesNo(texts::keptGameQuestion(moves))) {
    controller_.restoreGame(read.game);
  } else {
    std::error_code error;
    std::filesystem::remove(path_, error);
  }
}

void GameKeeper::update() {
  if (!keeping()) return;
  if (!controller_.hasUnsavedGame()) {
    remove();
    return;
  }
  std::string text = keptGameText(controller_.keptGame());
  if (text == written_) return;
  // A failure keeps the file before it, if any; the next change tries again.
  if (writeKeptGame(path_, text)) written_ = std::move(text);
}

void GameKeeper::remove() {
  if (!keeping() || written_.empty()) return;
  std::error_code error;
  std::filesystem::remove(path_, error);
  written_.clear();
}

}  // namespace kaimo
