// Reading the settings file at start, and keeping one that is there but
// cannot be used: the defaults then serve, and the user's file is moved
// aside instead of being written over at exit.
#pragma once

#include <cstdint>
#include <string>

#include "app/settings/player_settings.h"

namespace kaimo {

// Why a settings file that is there could not be used.
enum class SettingsFault {
  None,         // read, or there is no file: nothing to tell
  NotAFile,     // a folder, a FIFO or a device: never read, never replaced
  CannotRead,   // no permission, a read error: systemError says which
  TooLarge,     // longer than any settings file
  TooShort,     // shorter than the version and the count (an empty file)
  OldVersion,   // a version below kSettingsVersion: version says which
  WrongLength,  // not the count's words (cut short, or random bytes)
};

struct [[nodiscard]] SettingsFileRead {
  PlayerSettings settings;  // the file's words; the defaults unless fault is None
  SettingsFault fault;
  int systemError;       // errno for CannotRead, otherwise 0
  std::int32_t version;  // the file's version word for OldVersion, otherwise 0
};

// The settings in `path`: the defaults when it is missing; when it is there
// but not exactly a settings file (a version of at least kSettingsVersion, a
// count N >= 0, then N words of which the first 30 count), the defaults and
// the fault. A FIFO is refused without waiting for a writer.
SettingsFileRead readSettingsFile(const std::string& path);

// The settings to start with, and what became of a damaged file.
struct [[nodiscard]] SettingsAtStart {
  SettingsFileRead read;
  std::string keptAs;  // where a damaged file was moved; empty when none was
  // Whether the settings may be written to the file at exit: not over a
  // file that is no regular one, nor over a damaged one that stayed.
  bool writable;
};

// readSettingsFile, then a damaged regular file moved aside with
// keepDamagedSettingsFile, so that the defaults written at exit replace no
// one's file.
SettingsAtStart settingsAtStart(const std::string& path);

// Moves a damaged settings file aside, to "kaimopr.cfg.bad" or, when that
// is taken, "kaimopr.cfg.bad2", "...bad3"...; a link is moved, not what it
// points to. The new name, or empty when it could not be moved: the caller
// must then leave `path` alone.
std::string keepDamagedSettingsFile(const std::string& path);

}  // namespace kaimo
