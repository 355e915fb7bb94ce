// The sound switch and everything it silences: the media player that plays the game's
// sounds, and the two click sounds that buttons point at, read once at the first activation.
#pragma once

#include <memory>
#include <string_view>

#include "gfx/byte_buffer.h"
#include "gfx/media_player.h"
#include "platform/platform.h"

namespace app {

class SoundEffects {
 public:
  explicit SoundEffects(platform::AudioDevice& device)
      : mediaPlayer(std::make_unique<gfx::MediaPlayer>(device)) {}

  // Reads "click1" and "click2" from the sound archive; missing ones stay silent.
  void LoadClickSounds();
  // A named sound of the sound archive, and a wave file held in memory; both only while the
  // switch is on.
  void Play(std::string_view entryName);
  void PlayBuffer(const gfx::ByteBuffer& waveFile);
  // Turns the switch over; returns whether sounds are on now.
  bool Toggle();

  int soundEffectsOn = 1;  // 1 on, 0 off
  std::unique_ptr<gfx::MediaPlayer> mediaPlayer;
  std::unique_ptr<gfx::ByteBuffer> clickSound1;
  std::unique_ptr<gfx::ByteBuffer> clickSound2;
};

}  // namespace app
