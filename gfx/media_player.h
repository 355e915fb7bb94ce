// MediaPlayer: plays the game's short wave sounds, one at a time, from memory.
#pragma once

#include <string>

#include "gfx/byte_buffer.h"
#include "platform/platform.h"

namespace gfx {

class MediaPlayer {
 public:
  explicit MediaPlayer(platform::AudioDevice& device) : device_(device) {}

  // Reads the entry into the player's own buffer and starts it; a missing entry plays
  // nothing. The sound playing is stopped before the buffer is refilled.
  void PlaySoundEntry(const std::string& archiveFile, const std::string& entryName);
  // Starts a wave file held in the caller's buffer (the preloaded clicks).
  void PlayBuffer(const ByteBuffer& waveFile);

  const ByteBuffer& buffer() const { return buffer_; }

 private:
  platform::AudioDevice& device_;
  ByteBuffer buffer_;
};

}  // namespace gfx
