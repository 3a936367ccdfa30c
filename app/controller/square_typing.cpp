#include "app/controller/square_typing.h"

#include "engine/board/notation.h"

namespace kaimo {
namespace {

bool isColumnLetter(char key) { return (key >= 'a' && key <= 'j') || (key >= 'A' && key <= 'J'); }
bool isDigit(char key) { return key >= '0' && key <= '9'; }
char lower(char key) { return key >= 'A' && key <= 'Z' ? static_cast<char>(key - 'A' + 'a') : key; }

}  // namespace

SquareTyping::Outcome SquareTyping::type(char key) {
  if (mayBecomeTenth()) {
    if (key == '0') return square('0');  // the tenth row
    if (!isColumnLetter(key)) return refuse();
    const Outcome ended = square('1');
    text_ = std::string(1, lower(key));  // and the next square begins
    return ended;
  }
  if (isColumnLetter(key)) {
    text_ = std::string(1, lower(key));
    return {};
  }
  if (text_.size() != 1 || !isDigit(key)) return refuse();
  if (key == '1') {
    text_ += key;
    return {};
  }
  return square(key);
}

SquareTyping::Outcome SquareTyping::finish() {
  if (mayBecomeTenth()) return square('1');
  return text_.empty() ? Outcome{} : refuse();
}

void SquareTyping::erase() {
  if (!text_.empty()) text_.pop_back();
}

SquareTyping::Outcome SquareTyping::square(char digit) {
  const int typed = squareFromNotation(text_[0], digit);
  text_.clear();
  return {.square = typed};
}

SquareTyping::Outcome SquareTyping::refuse() {
  text_.clear();
  return {.refused = true};
}

}  // namespace kaimo
