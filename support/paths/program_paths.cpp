#include "support/paths/program_paths.h"

#include <cstdlib>
#include <system_error>
#include <vector>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

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

// The home folder of this process's user in the system's user database.
std::string accountHomeOfProcess() {
  long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
  passwd entry{};
  passwd* found = nullptr;
  if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr) return "";
  return found->pw_dir != nullptr ? found->pw_dir : "";
}

// kaimo/ in $XDG_... when it names an absolute folder (a relative one is to
// be ignored), else in the fallback under the home folder; none when neither
// is known.
std::optional<fs::path> userFolder(const std::string& xdgValue, const Environment& env, const char* underHome) {
  if (!xdgValue.empty() && fs::path(xdgValue).is_absolute()) return fs::path(xdgValue) / "kaimo";
  const fs::path home = homeFolder(env);
  if (home.empty()) return std::nullopt;
  return home / underHome / "kaimo";
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
  env.accountHome = accountHomeOfProcess();
  return env;
}

fs::path dataFolder(const Environment& env) {
  if (isThere(kDataMarkerFile) || env.programFile.empty()) return {};
  const fs::path installed = (env.programFile.parent_path() / ".." / "share" / "kaimo").lexically_normal();
  return isThere(installed / kDataMarkerFile) ? installed : fs::path{};
}

fs::path homeFolder(const Environment& env) {
  for (const std::string& home : {env.home, env.accountHome}) {
    if (!home.empty() && fs::path(home).is_absolute()) return home;
  }
  return {};
}

void exportHomeFolder() {
  const Environment env = Environment::ofProcess();
  const fs::path home = homeFolder(env);
  if (!home.empty() && home != fs::path(env.home)) ::setenv("HOME", home.c_str(), 1);
}

std::optional<fs::path> settingsFile(const Environment& env) {
  if (currentFolderIsKept()) return fs::path(kSettingsFileName);
  const std::optional<fs::path> folder = userFolder(env.configHome, env, ".config");
  if (!folder) return std::nullopt;
  return *folder / kSettingsFileName;
}

std::optional<fs::path> stateFolder(const Environment& env) {
  if (currentFolderIsKept()) return fs::path();
  return userFolder(env.stateHome, env, ".local/state");
}

std::optional<fs::path> logFolder(const Environment& env) { return stateFolder(env); }

fs::path dataFolder() { return dataFolder(Environment::ofProcess()); }
std::optional<fs::path> settingsFile() { return settingsFile(Environment::ofProcess()); }
std::optional<fs::path> stateFolder() { return stateFolder(Environment::ofProcess()); }
std::optional<fs::path> logFolder() { return logFolder(Environment::ofProcess()); }

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
