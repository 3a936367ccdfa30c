// A square typed on the keyboard, as the board labels it: a column letter
// a..j (either case), then the row 1..10. A digit 2..9 ends the square at
// once, and so does 0 (the tenth row, as game records write it: "a0" is
// a10). After a 1 the square may still become the tenth row, so "j1" waits:
// a 0 makes it j10; Enter, the next letter (which starts the next square)
// or the window's short wait (finish()) make it j1. Another letter before
// the row starts afresh from that letter; anything else drops the entry.
#pragma once

#include <string>

namespace kaimo {

class SquareTyping {
 public:
  struct Outcome {
    int square = -1;       // a square typed whole, or -1
    bool refused = false;  // the key made no square and dropped what was typed
  };

  // One character typed.
  Outcome type(char key);
  // Enter, or the wait after "j1" ran out: the square typed so far.
  Outcome finish();
  // Backspace: the last character goes.
  void erase();
  void clear() { text_.clear(); }

  // What has been typed of the square not yet ended, such as "j1".
  const std::string& text() const { return text_; }
  // A row 1 typed: the square ends with the next key or the window's wait.
  bool mayBecomeTenth() const { return text_.size() == 2 && text_[1] == '1'; }

 private:
  Outcome square(char digit);
  Outcome refuse();

  std::string text_;
};

}  // namespace kaimo
