#include "app/window/integer_check.h"

namespace kaimo {

IntegerCheck checkInteger(const QString& text) {
  bool ok = false;
  const int value = text.trimmed().toInt(&ok, 10);
  if (!ok) return {false, 0, QStringLiteral("整数を入力してください。")};
  return {true, value, {}};
}

IntegerCheck checkInteger(const QString& text, int minimum, int maximum) {
  IntegerCheck check = checkInteger(text);
  if (check.ok && (check.value < minimum || check.value > maximum)) {
    check.ok = false;
    check.message = QStringLiteral("%1 から %2 までの整数を入力してください。").arg(minimum).arg(maximum);
  }
  return check;
}

}  // namespace kaimo
