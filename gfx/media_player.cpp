#include "gfx/media_player.h"

#include <utility>

#include "gfx/archive.h"

namespace gfx {

MediaPlayer::MediaPlayer(platform::AudioDevice& device)
    : MediaPlayer(device,
                  [](ByteBuffer& buffer, const std::string& file, const std::string& entry) {
                    return ReadArchiveEntry(buffer, file, entry);
                  }) {}

MediaPlayer::MediaPlayer(platform::AudioDevice& device, EntryReader reader)
    : device_(device), reader_(std::move(reader)) {}

void MediaPlayer::PlaySoundEntry(const std::string& archiveFile, const std::string& entryName) {
  device_.Stop();
  if (!reader_ || reader_(buffer_, archiveFile, entryName) != 0) return;
  if (buffer_.empty()) return;
  device_.PlayWave(buffer_);
}

void MediaPlayer::PlayBuffer(const ByteBuffer& waveFile) {
  if (waveFile.empty()) return;
  device_.PlayWave(waveFile);
}

}  // namespace gfx
