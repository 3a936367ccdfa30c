// The game controller's record commands: the history to and from a game
// record file, through the window's file dialog, or as the clipboard's
// text, and the question before a game with unsaved work is thrown away.
#include <cstring>

#include "app/controller/game_controller.h"
#include "app/controller/game_texts.h"
#include "app/records/record_reader.h"
#include "app/records/record_text.h"
#include "app/records/record_writer.h"

namespace kaimo {
namespace {

// The fixed text, then the file and the system's reason on a line of their own.
texts::Wording saveFailureText(const RecordWriteResult& result, const std::string& path) {
  texts::Wording text = recordStatusText(result.status);
  if (result.status == RecordStatus::NotWritable) return text;
  std::string where = "\n" + path;
  if (result.systemError != 0) where += std::string(": ") + std::strerror(result.systemError);
  return text + texts::Wording::same(where);
}

}  // namespace

void GameController::openRecord() {
  stopThinking();
  const std::string path = window_.chooseRecordFile(RecordFileUse::Open);
  if (path.empty()) return;
  openRecordFile(path);
}

bool GameController::openRecordFile(const std::string& path) {
  stopThinking();
  // Read before asking, so that a file that cannot be opened costs no
  // question, and again after it, since the user may have saved over it.
  RecordReadResult read = readRecord(path);
  if (!read.history.empty() && game_.hasUnsavedGame()) {
    if (!mayDiscardGame()) return true;
    read = readRecord(path);
  }
  // Not opened, or not a record at all: the game stays.
  if (read.history.empty()) {
    window_.showMessage(recordStatusText(read.status));
    return false;
  }
  takeRecord(std::move(read.history), path);
  if (read.status != RecordStatus::Ok) window_.showMessage(recordStatusText(read.status));
  return true;
}

std::string GameController::recordText() const { return kaimo::recordText(game_.history()); }

// A pasted game replaces the current one like an opened file, with the same
// question first, but it has no file of its own. A text read to no history
// at all (one too large to be a record, or with nothing of a record in it)
// leaves the game as it is.
void GameController::pasteRecord(const std::string& text) {
  stopThinking();
  RecordReadResult read = readRecordText(text);
  if (read.history.empty()) {
    window_.showMessage(recordStatusText(read.status));
    return;
  }
  if (!mayDiscardGame()) return;
  takeRecord(std::move(read.history), std::string());
  if (read.status != RecordStatus::Ok) window_.showMessage(recordStatusText(read.status));
}

void GameController::takeRecord(History history, const std::string& path) {
  game_.takeRecord(std::move(history), path);
  goToPosition(0);
}

bool GameController::saveRecord() {
  if (game_.history().empty()) return false;
  stopThinking();
  const std::string path = window_.chooseRecordFile(RecordFileUse::Save);
  if (path.empty()) return false;
  History record = game_.historyToSave();
  const RecordWriteResult written = writeRecord(path, record);
  if (written.status != RecordStatus::Ok) {
    window_.showMessage(saveFailureText(written, path));
    return false;
  }
  game_.saved(std::move(record), path);
  window_.requestRepaint();
  return true;
}

KeptGame GameController::keptGame() const {
  return KeptGame{game_.history(), game_.cursor(), game_.board(), game_.side(), game_.recordPath(), settings_};
}

void GameController::restoreGame(const KeptGame& kept) {
  stopThinking();
  settings_ = kept.players;
  game_.restore(kept.history, kept.cursor, kept.board, kept.side, kept.recordPath);
  window_.requestRepaint();
}

bool GameController::mayDiscardGame() {
  if (!game_.hasUnsavedGame()) return true;
  stopThinking();
  switch (window_.askYesNoCancel(texts::kUnsavedGameQuestion)) {
    case Answer::Yes: return saveRecord();
    case Answer::No: return true;
    case Answer::Cancel: break;
  }
  return false;
}

}  // namespace kaimo
