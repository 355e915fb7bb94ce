#include "gfx/media_player.h"

#include "gfx/archive.h"

namespace gfx {

void MediaPlayer::PlaySoundEntry(const std::string& archiveFile, const std::string& entryName) {
  device_.Stop();
  if (ReadArchiveEntry(buffer_, archiveFile, entryName) != 0) return;
  device_.PlayWave(buffer_);
}

void MediaPlayer::PlayBuffer(const ByteBuffer& waveFile) {
  if (waveFile.empty()) return;
  device_.PlayWave(waveFile);
}

}  // namespace gfx
