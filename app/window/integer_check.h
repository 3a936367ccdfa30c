// The check a dialog field gets when the dialog is confirmed: the text must
// be a whole number, and for a ranged field one within its range. The
// messages are the program's own.
#pragma once

#include <QString>

#include "app/texts/language.h"

namespace kaimo {

struct IntegerCheck {
  bool ok;
  int value;        // when ok
  QString message;  // when not
};

// Leading and trailing blanks and a sign are allowed; a number beyond the
// int range is no integer here.
// The message is in `language`.
IntegerCheck checkInteger(const QString& text, Language language = Language::Japanese);
IntegerCheck checkInteger(const QString& text, int minimum, int maximum, Language language = Language::Japanese);

}  // namespace kaimo
