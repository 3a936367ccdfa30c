// Where Kaimo finds the data of "狐" and keeps its settings file and logs.
//
// The data are read from the current folder when it holds them (a build's
// run folder, a folder of trained weights), otherwise from ../share/kaimo
// beside the program (an installed copy). The settings file and the logs stay
// in the current folder when it already holds a "kaimopr.cfg" (a folder kept
// the old way); otherwise they live in kaimo/ under the user's config home and
// state home, by the XDG conventions, the home folder being $HOME or else the
// one the system's user database gives the user. A process with no home at
// all (no $HOME, no entry in the database) has nowhere of its own to keep
// them: it keeps no settings and writes its logs to standard error, instead
// of filling whatever folder it was started in.
//
// An empty path stands for the current folder, so a file in it keeps its bare
// name in every message, as before.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace kaimo::paths {

inline constexpr const char* kSettingsFileName = "kaimopr.cfg";
// The first index table "狐" reads: a folder that holds it holds the data.
inline constexpr const char* kDataMarkerFile = "fgtb040.kmx";

// What the lookups depend on besides the current folder.
struct Environment {
  std::filesystem::path programFile;  // the running program; empty when unknown
  std::string home;                   // $HOME
  std::string configHome;             // $XDG_CONFIG_HOME
  std::string stateHome;              // $XDG_STATE_HOME
  std::string accountHome;            // the user's home in the system's user database

  // This process's: /proc/self/exe, the variables and the user's entry.
  static Environment ofProcess();
};

// The folder of the data of "狐": the current folder when it holds them, else
// ../share/kaimo beside the program when that does, else the current folder
// (so a failure names the bare files).
std::filesystem::path dataFolder(const Environment& env);
std::filesystem::path dataFolder();  // of this process

// The home folder: $HOME when it is an absolute path, else the user's home
// in the system's user database; empty when neither is known.
std::filesystem::path homeFolder(const Environment& env);

// Sets $HOME to the home folder when it is unset or not absolute, so that a
// library that reads only $HOME (Qt's settings, which keep the recent files)
// uses the program's home. Nothing when no home is known.
void exportHomeFolder();

// "kaimopr.cfg" when the current folder holds one, else kaimo/kaimopr.cfg
// under the config home ($XDG_CONFIG_HOME, or ~/.config); none when no home
// is known (the settings are then not kept).
std::optional<std::filesystem::path> settingsFile(const Environment& env);
std::optional<std::filesystem::path> settingsFile();

// The state folder, where the logs go and the window keeps the game on
// screen against a crash: the current folder when it holds a "kaimopr.cfg",
// else kaimo/ under the state home ($XDG_STATE_HOME, or ~/.local/state);
// none when no home is known (the logs then go to standard error, and no
// game is kept).
std::optional<std::filesystem::path> stateFolder(const Environment& env);
std::optional<std::filesystem::path> stateFolder();
// The logs' folder: the state folder.
std::optional<std::filesystem::path> logFolder(const Environment& env);
std::optional<std::filesystem::path> logFolder();

// One spelling of a folder, for keeping what is read from it once: the
// absolute path with "." and ".." and links resolved as far as it exists.
std::filesystem::path folderKey(const std::filesystem::path& folder);

// Creates a folder with its missing parents, each readable by its owner only
// (0700, as the XDG conventions ask). True when the folder exists afterwards.
bool makeFolder(const std::filesystem::path& folder);

}  // namespace kaimo::paths
