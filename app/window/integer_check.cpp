#include "app/window/integer_check.h"

#include "app/window/window_texts.h"

namespace kaimo {

IntegerCheck checkInteger(const QString& text, Language language) {
  bool ok = false;
  const int value = text.trimmed().toInt(&ok, 10);
  if (!ok) return {false, 0, QString::fromUtf8(texts::kNotAnInteger.in(language))};
  return {true, value, {}};
}

IntegerCheck checkInteger(const QString& text, int minimum, int maximum, Language language) {
  IntegerCheck check = checkInteger(text, language);
  if (check.ok && (check.value < minimum || check.value > maximum)) {
    check.ok = false;
    check.message = QString::fromStdString(texts::format(texts::kIntegerOutOfRange, language, minimum, maximum));
  }
  return check;
}

}  // namespace kaimo
