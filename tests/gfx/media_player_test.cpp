// The sound player: one sound at a time, the playing bytes never refilled under a sound,
// missing entries silent, and no archive read at all while sound effects are off.
#include "gfx/media_player.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/sound_effects.h"
#include "platform/headless_platform.h"
#include "tools/archive_writer.h"

namespace gfx {
namespace {

// Records the order of stops, plays and archive reads, and checks that a sound's bytes are
// unchanged whenever it is stopped or replaced.
class WatchingAudio final : public platform::AudioDevice {
 public:
  explicit WatchingAudio(std::vector<std::string>& log) : log_(log) {}
  bool PlayWave(std::span<const std::uint8_t> waveFile) override {
    CheckUnchanged();
    log_.push_back("play " + std::string(waveFile.begin(), waveFile.end()));
    playing_ = waveFile;
    copy_.assign(waveFile.begin(), waveFile.end());
    return true;
  }
  void Stop() override {
    CheckUnchanged();
    log_.push_back("stop");
    playing_ = {};
    copy_.clear();
  }
  bool available() const override { return true; }

 private:
  void CheckUnchanged() {
    EXPECT_TRUE(std::equal(playing_.begin(), playing_.end(), copy_.begin(), copy_.end()))
        << "the bytes of a playing sound changed under it";
  }
  std::vector<std::string>& log_;
  std::span<const std::uint8_t> playing_;
  std::vector<std::uint8_t> copy_;
};

MediaPlayer::EntryReader LoggingReader(std::vector<std::string>& log) {
  return [&log](ByteBuffer& buffer, const std::string& file, const std::string& entry) {
    log.push_back("read " + file + ":" + entry);
    buffer.clear();
    if (entry == "missing") return 1;
    buffer.assign(entry.begin(), entry.end());
    return 0;
  };
}

TEST(MediaPlayer, ASecondSoundCutsTheFirstAfterStoppingItBeforeTheRefill) {
  std::vector<std::string> log;
  WatchingAudio audio(log);
  MediaPlayer player(audio, LoggingReader(log));
  player.PlaySoundEntry("res00.dat", "build");
  player.PlaySoundEntry("res00.dat", "Alarm");
  EXPECT_EQ(log, (std::vector<std::string>{"stop", "read res00.dat:build", "play build", "stop",
                                           "read res00.dat:Alarm", "play Alarm"}));
}

TEST(MediaPlayer, AMissingEntryPlaysNothing) {
  std::vector<std::string> log;
  WatchingAudio audio(log);
  MediaPlayer player(audio, LoggingReader(log));
  player.PlaySoundEntry("res00.dat", "missing");
  player.PlayBuffer({});
  EXPECT_EQ(log, (std::vector<std::string>{"stop", "read res00.dat:missing"}));
}

TEST(MediaPlayer, ReadsRealArchivesAndPreloadedBuffers) {
  const auto folder = std::filesystem::temp_directory_path() / "redhollow-media-player";
  std::filesystem::create_directories(folder);
  const std::string archive = (folder / "res00.dat").string();
  tools::WriteArchiveFile(archive, {{"GameOver", 0, {'R', 'I', 'F', 'F', 9}}});
  platform::RecordingAudio audio;
  MediaPlayer player(audio);
  player.PlaySoundEntry(archive, "gameover");  // names match without regard to case
  player.PlaySoundEntry(archive, "Nothing");
  player.PlayBuffer({'R', 'I', 'F', 'F', 1});
  ASSERT_EQ(audio.played.size(), 2u);
  EXPECT_EQ(audio.played[0], (std::vector<std::uint8_t>{'R', 'I', 'F', 'F', 9}));
  EXPECT_EQ(audio.playing, (std::vector<std::uint8_t>{'R', 'I', 'F', 'F', 1}));
  std::filesystem::remove_all(folder);
}

TEST(MediaPlayer, WithSoundEffectsOffTheShellOpensNoArchiveForSound) {
  platform::RecordingAudio audio;
  app::SoundEffects sounds(audio);
  std::vector<std::string> log;
  sounds.mediaPlayer = std::make_unique<MediaPlayer>(audio, LoggingReader(log));
  EXPECT_FALSE(sounds.Toggle());
  sounds.Play("Warning");
  sounds.PlayBuffer({'R', 'I', 'F', 'F', 1});
  EXPECT_TRUE(log.empty());
  EXPECT_TRUE(audio.played.empty());
  EXPECT_TRUE(sounds.Toggle());
  sounds.Play("Warning");
  EXPECT_EQ(log, (std::vector<std::string>{"read res00.dat:Warning"}));
  ASSERT_EQ(audio.played.size(), 1u);
}

}  // namespace
}  // namespace gfx
