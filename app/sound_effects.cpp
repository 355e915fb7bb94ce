#include "app/sound_effects.h"

#include <string>

#include "gfx/archive.h"

namespace app {

void SoundEffects::LoadClickSounds() {
  clickSound1 = std::make_unique<gfx::ByteBuffer>();
  gfx::ReadArchiveEntry(*clickSound1, gfx::kSoundArchive, "click1");
  clickSound2 = std::make_unique<gfx::ByteBuffer>();
  gfx::ReadArchiveEntry(*clickSound2, gfx::kSoundArchive, "click2");
}

void SoundEffects::Play(std::string_view entryName) {
  if (soundEffectsOn != 1 || !mediaPlayer) return;
  mediaPlayer->PlaySoundEntry(gfx::kSoundArchive, std::string(entryName));
}

void SoundEffects::PlayBuffer(const gfx::ByteBuffer& waveFile) {
  if (soundEffectsOn != 1 || !mediaPlayer) return;
  mediaPlayer->PlayBuffer(waveFile);
}

bool SoundEffects::Toggle() {
  soundEffectsOn = soundEffectsOn == 1 ? 0 : 1;
  return soundEffectsOn == 1;
}

}  // namespace app
