// Program entry: the game on the real window, until it ends.
#include "app/run_game.h"
#include "platform/sdl_platform.h"

int main() {
  platform::SdlPlatform platform;
  return app::RunGame(platform);
}
