// MediaPlayer: plays the game's short wave sounds, one at a time, from memory. Starting a
// sound cuts off the one playing; without an audio device every sound is silence.
#pragma once

#include <functional>
#include <string>

#include "gfx/byte_buffer.h"
#include "platform/platform.h"

namespace gfx {

class MediaPlayer {
 public:
  // Reads a named archive entry into a buffer; 0 when found (ReadArchiveEntry's contract).
  using EntryReader =
      std::function<int(ByteBuffer&, const std::string& archiveFile, const std::string& entry)>;

  explicit MediaPlayer(platform::AudioDevice& device);
  // The same player reading its entries through `reader` (tests count the archive reads).
  MediaPlayer(platform::AudioDevice& device, EntryReader reader);

  // Reads the entry into the player's own buffer and starts it; a missing entry plays
  // nothing. The sound playing is stopped before the buffer is refilled, so its bytes never
  // change while it plays.
  void PlaySoundEntry(const std::string& archiveFile, const std::string& entryName);
  // Starts a wave file held in the caller's buffer (the preloaded clicks).
  void PlayBuffer(const ByteBuffer& waveFile);

  const ByteBuffer& buffer() const { return buffer_; }

 private:
  platform::AudioDevice& device_;
  EntryReader reader_;
  ByteBuffer buffer_;
};

}  // namespace gfx
