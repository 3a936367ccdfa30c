// How reading or writing a game record ended, and the words the program
// uses to tell the user.
#pragma once

#include "app/texts/text.h"

namespace kaimo {

enum class RecordStatus {
  Ok,
  CannotOpen,   // the file cannot be opened, created or read
  FormatError,  // the file does not follow the record grammar
  TooLarge,     // a text longer than any record (kMaxRecordTextBytes): nothing was read
  NotARecord,   // not one move or token could be read: nothing was taken
  WriteFailed,  // writing, flushing or replacing the file failed
  NotWritable,  // the history is empty or holds a value no record can carry
};

// The message box text for a failure, in both languages; no text for Ok.
const texts::Text& recordStatusText(RecordStatus status);
// The same in Japanese, as kaimo-cli says it.
const char* recordStatusMessage(RecordStatus status);

}  // namespace kaimo
