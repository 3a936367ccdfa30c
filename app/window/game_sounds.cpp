#include "app/window/game_sounds.h"

#include <QSoundEffect>
#include <QUrl>

// The resource the build makes of the synthesised sounds; outside the
// namespace, as Qt declares it.
static void initSoundResources() { Q_INIT_RESOURCE(kaimo_sounds); }

namespace kaimo {
namespace {

const char* const kSoundFiles[] = {"qrc:/sounds/move.wav", "qrc:/sounds/pass.wav", "qrc:/sounds/end.wav"};
constexpr float kVolume = 0.6f;

}  // namespace

GameSounds::GameSounds(QObject* parent) : QObject(parent) { initSoundResources(); }

void GameSounds::play(GameEvent event) {
  if (!enabled_) return;
  ++played_;
  effect(event).play();
}

QSoundEffect& GameSounds::effect(GameEvent event) {
  const auto index = static_cast<std::size_t>(event);
  if (effects_[index] == nullptr) {
    auto* sound = new QSoundEffect(this);
    sound->setSource(QUrl(QString::fromLatin1(kSoundFiles[index])));
    sound->setVolume(kVolume);
    effects_[index] = sound;
  }
  return *effects_[index];
}

}  // namespace kaimo
