#include "app/settings/settings_file.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "support/files/input_file.h"

namespace kaimo {
namespace {

constexpr std::size_t kWordBytes = 4;
constexpr std::size_t kHeaderBytes = 2 * kWordBytes;
// A later version may carry more words; none will carry thousands.
constexpr std::size_t kMaxFileBytes = 64 * 1024;
// How many names "kaimopr.cfg.badN" are tried before a damaged file is left in place.
constexpr int kMaxKeptFiles = 99;

std::int32_t wordAt(const std::string& bytes, std::size_t offset) {
  std::uint32_t value = 0;
  for (std::size_t i = kWordBytes; i-- > 0;) value = (value << 8) | static_cast<unsigned char>(bytes[offset + i]);
  return static_cast<std::int32_t>(value);
}

SettingsFault faultOfInput(const InputFileResult& read) {
  switch (read.status) {
    case InputFileStatus::Ok: return SettingsFault::None;
    case InputFileStatus::Folder:
    case InputFileStatus::NotRegular: return SettingsFault::NotAFile;
    case InputFileStatus::TooLarge: return SettingsFault::TooLarge;
    case InputFileStatus::CannotOpen:
    case InputFileStatus::ReadFailed: break;
  }
  return SettingsFault::CannotRead;
}

SettingsFault faultOfBytes(const std::string& bytes) {
  if (bytes.size() < kHeaderBytes) return SettingsFault::TooShort;
  if (wordAt(bytes, 0) < kSettingsVersion) return SettingsFault::OldVersion;
  const std::int32_t count = wordAt(bytes, kWordBytes);
  const bool fits = count >= 0 && bytes.size() == kHeaderBytes + static_cast<std::size_t>(count) * kWordBytes;
  return fits ? SettingsFault::None : SettingsFault::WrongLength;
}

}  // namespace

SettingsFileRead readSettingsFile(const std::string& path) {
  SettingsFileRead result{PlayerSettings::defaults(), SettingsFault::None, 0, 0};
  std::string bytes;
  const InputFileResult read = readInputFile(path, kMaxFileBytes, bytes);
  if (read.status == InputFileStatus::CannotOpen && read.systemError == ENOENT) return result;
  result.fault = faultOfInput(read);
  if (result.fault == SettingsFault::CannotRead) result.systemError = read.systemError;
  if (result.fault == SettingsFault::None) result.fault = faultOfBytes(bytes);
  if (result.fault == SettingsFault::OldVersion) result.version = wordAt(bytes, 0);
  if (result.fault != SettingsFault::None) return result;
  std::FILE* stream = fmemopen(bytes.data(), bytes.size(), "rb");
  if (stream == nullptr) return {result.settings, SettingsFault::CannotRead, errno, 0};
  result.settings = readPlayerSettings(stream);
  std::fclose(stream);
  return result;
}

std::string keepDamagedSettingsFile(const std::string& path) {
  namespace fs = std::filesystem;
  for (int n = 1; n <= kMaxKeptFiles; ++n) {
    const std::string kept = path + ".bad" + (n == 1 ? std::string() : std::to_string(n));
    std::error_code error;
    if (fs::exists(fs::symlink_status(kept, error))) continue;
    fs::rename(path, kept, error);
    return error ? std::string() : kept;
  }
  return {};
}

SettingsAtStart settingsAtStart(const std::string& path) {
  SettingsAtStart start{readSettingsFile(path), {}, true};
  const SettingsFault fault = start.read.fault;
  if (fault == SettingsFault::None) return start;
  if (fault != SettingsFault::NotAFile) start.keptAs = keepDamagedSettingsFile(path);
  start.writable = !start.keptAs.empty();
  return start;
}

}  // namespace kaimo
