#include "app/records/record_status.h"

namespace kaimo {
namespace {

constexpr texts::Text kNone{};
constexpr texts::Text kCannotOpen{"ファイルが開けません。", "The file cannot be opened."};
constexpr texts::Text kNotARecord{"正しくない棋譜です。", "This is not a valid game record."};
constexpr texts::Text kWriteFailed{"ファイルに書き込めません。", "The file cannot be written."};
constexpr texts::Text kNothingToSave{"保存する棋譜がありません。", "There is no game record to save."};

}  // namespace

const texts::Text& recordStatusText(RecordStatus status) {
  switch (status) {
    case RecordStatus::Ok: return kNone;
    case RecordStatus::CannotOpen: return kCannotOpen;
    case RecordStatus::FormatError:
    case RecordStatus::TooLarge:
    case RecordStatus::NotARecord: return kNotARecord;
    case RecordStatus::WriteFailed: return kWriteFailed;
    case RecordStatus::NotWritable: return kNothingToSave;
  }
  return kNone;
}

const char* recordStatusMessage(RecordStatus status) { return recordStatusText(status).japanese; }

}  // namespace kaimo
