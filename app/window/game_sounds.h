// The sounds of the game: a move, a pass and the end of the game, made by
// the build (app/sounds) and played with Qt Multimedia. A system without a
// sound device stays silent; nothing is ever said about it.
#pragma once

#include <QObject>

#include <array>

#include "app/controller/controller_window.h"

class QSoundEffect;

namespace kaimo {

class GameSounds : public QObject {
  Q_OBJECT

 public:
  explicit GameSounds(QObject* parent = nullptr);

  void setEnabled(bool on) { enabled_ = on; }
  bool enabled() const { return enabled_; }
  // Sounds asked for while switched on (whether or not a device played them).
  int played() const { return played_; }

 public slots:
  void play(kaimo::GameEvent event);

 private:
  QSoundEffect& effect(GameEvent event);

  bool enabled_ = true;
  int played_ = 0;
  // Made at their first use: a window that never sounds loads no audio.
  std::array<QSoundEffect*, 3> effects_{};
};

}  // namespace kaimo
