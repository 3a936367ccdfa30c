#include "app/records/record_status.h"

namespace kaimo {

const char* recordStatusMessage(RecordStatus status) {
  switch (status) {
    case RecordStatus::Ok: return "";
    case RecordStatus::CannotOpen: return "ファイルが開けません。";
    case RecordStatus::FormatError:
    case RecordStatus::TooLarge:
    case RecordStatus::NotARecord: return "正しくない棋譜です。";
    case RecordStatus::WriteFailed: return "ファイルに書き込めません。";
    case RecordStatus::NotWritable: return "保存する棋譜がありません。";
  }
  return "";
}

}  // namespace kaimo
