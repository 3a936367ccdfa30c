#include "app/controller/status_panes.h"

namespace kaimo {

void StatusPanes::set(int pane, const texts::Wording& text) {
  texts_[pane] = text;
  window_.setPaneText(pane, text);
}

void StatusPanes::clearIf(int pane, const texts::Wording& text) {
  if (texts_[pane] == text) set(pane, {});
}

void StatusPanes::clearAll() {
  for (int pane : {kProgressPane, kBlackPane, kWhitePane}) {
    if (!texts_[pane].empty()) set(pane, {});
  }
}

void StatusPanes::clearSides() {
  set(kBlackPane, {});
  set(kWhitePane, {});
}

}  // namespace kaimo
