// The three panes of the status bar as the controller's parts write them:
// every text goes through here, so a text can be taken back when the state
// it describes ends, and only if no other text has replaced it since.
#pragma once

#include <array>

#include "app/controller/controller_window.h"

namespace kaimo {

class StatusPanes {
 public:
  explicit StatusPanes(ControllerWindow& window) : window_(window) {}

  // kProgressPane, kBlackPane or kWhitePane.
  void set(int pane, const texts::Wording& text);
  // Empties `pane` if it still says `text`.
  void clearIf(int pane, const texts::Wording& text);
  // Empties every pane that says anything.
  void clearAll();
  // Empties the two colours' panes.
  void clearSides();

 private:
  ControllerWindow& window_;
  std::array<texts::Wording, 3> texts_;
};

}  // namespace kaimo
