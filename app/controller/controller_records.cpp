// The game controller's record commands: the history to and from a game
// record file, through the window's file dialog, or as the clipboard's text.
#include <cstring>

#include "app/controller/game_controller.h"
#include "app/controller/record_text.h"
#include "app/records/record_reader.h"
#include "app/records/record_writer.h"

namespace kaimo {
namespace {

// The fixed text, then the file and the system's reason on a line of their own.
std::string saveFailureText(const RecordWriteResult& result, const std::string& path) {
  std::string text = recordStatusMessage(result.status);
  if (result.status == RecordStatus::NotWritable) return text;
  text += "\n" + path;
  if (result.systemError != 0) text += std::string(": ") + std::strerror(result.systemError);
  return text;
}

}  // namespace

void GameController::openRecord() {
  stopThinking();
  const std::string path = window_.chooseRecordFile(RecordFileUse::Open);
  if (path.empty()) return;
  adoptRecord(readRecord(path));
}

// A record read from a file or from the clipboard becomes the game.
void GameController::adoptRecord(RecordReadResult read) {
  if (read.status == RecordStatus::CannotOpen) {
    window_.showMessage(recordStatusMessage(read.status));
    return;
  }
  history_ = std::move(read.history);
  if (history_.empty()) newGame();  // the reader promises otherwise; the window must always have a position
  goToPosition(0);
  if (read.status != RecordStatus::Ok) window_.showMessage(recordStatusMessage(read.status));
}

std::string GameController::recordText() const { return kaimo::recordText(history_); }

void GameController::pasteRecord(const std::string& text) {
  stopThinking();
  adoptRecord(readRecordText(text));
}

void GameController::saveRecord() {
  if (history_.empty()) return;
  stopThinking();
  const std::string path = window_.chooseRecordFile(RecordFileUse::Save);
  if (path.empty()) return;
  const RecordWriteResult written = writeRecord(path, history_);
  if (written.status != RecordStatus::Ok) window_.showMessage(saveFailureText(written, path));
}

}  // namespace kaimo
