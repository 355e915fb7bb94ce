// Program entry: builds the main window and runs the message loop until the game ends.
#include <exception>
#include <memory>

#include "app/main_wnd.h"
#include "platform/sdl_platform.h"

int main() {
  platform::SdlPlatform platform;
  try {
    app::TMainWnd window(platform);
    platform.RunMessageLoop();
  } catch (const app::NoDisplayError&) {
    return 1;  // already said on stderr; there is no window to show it in
  } catch (const std::exception& error) {
    platform.ShowMessageBox("Redhollow", error.what(), platform::MessageBoxButtons::Ok);
  } catch (...) {
    platform.ShowMessageBox("Redhollow", "An unexpected error occurred.",
                            platform::MessageBoxButtons::Ok);
  }
  return 0;
}
