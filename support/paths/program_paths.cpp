#include "support/paths/program_paths.h"

#include <cstdlib>
#include <system_error>

#include <sys/stat.h>

namespace kaimo::paths {
namespace {

namespace fs = std::filesystem;

std::string variable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

bool isThere(const fs::path& file) {
  std::error_code ignored;
  return fs::exists(file, ignored);
}

bool currentFolderIsKept() { return isThere(kSettingsFileName); }

// $XDG_... when it names an absolute folder (a relative one is to be ignored),
// else the fallback under the home folder; empty when neither is known.
fs::path baseFolder(const std::string& xdgValue, const std::string& home, const char* underHome) {
  if (!xdgValue.empty() && fs::path(xdgValue).is_absolute()) return xdgValue;
  if (!home.empty()) return fs::path(home) / underHome;
  return {};
}

fs::path userFolder(const std::string& xdgValue, const std::string& home, const char* underHome) {
  const fs::path base = baseFolder(xdgValue, home, underHome);
  return base.empty() ? base : base / "kaimo";
}

}  // namespace

Environment Environment::ofProcess() {
  Environment env;
  std::error_code error;
  env.programFile = fs::read_symlink("/proc/self/exe", error);
  if (error) env.programFile.clear();
  env.home = variable("HOME");
  env.configHome = variable("XDG_CONFIG_HOME");
  env.stateHome = variable("XDG_STATE_HOME");
  return env;
}

fs::path dataFolder(const Environment& env) {
  if (isThere(kDataMarkerFile) || env.programFile.empty()) return {};
  const fs::path installed = (env.programFile.parent_path() / ".." / "share" / "kaimo").lexically_normal();
  return isThere(installed / kDataMarkerFile) ? installed : fs::path{};
}

fs::path settingsFile(const Environment& env) {
  if (currentFolderIsKept()) return kSettingsFileName;
  return userFolder(env.configHome, env.home, ".config") / kSettingsFileName;
}

fs::path logFolder(const Environment& env) {
  if (currentFolderIsKept()) return {};
  return userFolder(env.stateHome, env.home, ".local/state");
}

fs::path dataFolder() { return dataFolder(Environment::ofProcess()); }
fs::path settingsFile() { return settingsFile(Environment::ofProcess()); }
fs::path logFolder() { return logFolder(Environment::ofProcess()); }

fs::path folderKey(const fs::path& folder) {
  std::error_code error;
  const fs::path absolute = fs::absolute(folder, error);
  if (error) return folder.lexically_normal();
  fs::path key = fs::weakly_canonical(absolute, error);
  if (error) key = absolute.lexically_normal();
  // "data/" and "data" are one folder.
  return key.has_filename() || !key.has_parent_path() ? key : key.parent_path();
}

bool makeFolder(const fs::path& folder) {
  if (folder.empty()) return true;
  std::error_code error;
  fs::path partial;
  for (const fs::path& part : folder) {
    partial /= part;
    if (::mkdir(partial.c_str(), 0700) != 0 && !fs::is_directory(partial, error)) return false;
  }
  return true;
}

}  // namespace kaimo::paths
