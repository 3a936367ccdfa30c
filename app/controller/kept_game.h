// The game on screen kept in a file of the state folder while it has
// unsaved work, so that a crash, a kill or a power cut loses nothing: the
// next start offers it back. The file is written whole (a temporary file
// renamed over it) after every change, and removed by a clean exit or once
// the game is saved.
//
// Its text, one field a line, then a checksum of everything before it:
//   Kaimo kept game 1
//   players <the thirty words of the settings file>
//   file <the record file the game belongs to; empty for none>
//   cursor <the history entry shown>
//   side <0 or 1>
//   board <100 symbols x o . -: the position shown, maybe edited by hand>
//   record
//   <the history as a game record's text>
//   sum <16 hex digits: the checksum of the lines above>
// It is read as untrusted input: any line out of place, a value out of range
// or a wrong checksum makes it Damaged, never a partial game.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "app/records/history.h"
#include "app/settings/player_settings.h"
#include "engine/board/board.h"

namespace kaimo {

inline constexpr const char* kKeptGameFileName = "kaimo-game.txt";

struct KeptGame {
  History history;  // never empty
  int cursor = 0;   // an entry of history
  Board board{};    // the position shown: the history's at the cursor unless edited
  int side = kBlack;
  std::string recordPath;  // file-system encoding; empty for none
  PlayerSettings players;
  bool operator==(const KeptGame&) const = default;
};

std::string keptGameText(const KeptGame& game);
// None when `text` is not exactly a kept game's text.
std::optional<KeptGame> parseKeptGame(std::string_view text);

enum class KeptGameStatus {
  None,     // no file: the last run ended cleanly
  Ok,       // a game to offer
  Damaged,  // there, but not a kept game (cut short, changed, no regular file)
};

struct [[nodiscard]] KeptGameRead {
  KeptGameStatus status;
  KeptGame game;  // when Ok
};

KeptGameRead readKeptGame(const std::string& path);
// Replaces the file with `text` (a keptGameText) in one step; false when it
// could not be written, and the file before stays then.
bool writeKeptGame(const std::string& path, const std::string& text);
// A damaged file moved aside (to path + ".bad", ".bad2"...); the new name,
// or empty when it could not be moved and was removed instead.
std::string setDamagedKeptGameAside(const std::string& path);

}  // namespace kaimo
