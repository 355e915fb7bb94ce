// redhollow_menu_standin: the game as it starts, with a stand-in for the title screen that
// does what the title screen's first frame costs: it loads the title picture and stretches it,
// smoothed, over the whole window on the second timer tick. startup_memory.sh times it from
// outside until the real title screen exists; it is never installed or run by the game.
#include <exception>
#include <memory>

#include "app/main_wnd.h"
#include "gfx/wbitmap.h"
#include "platform/sdl_platform.h"
#include "widgets/tw_procedure.h"

namespace {

class TitleStandIn final : public widgets::TWProcedure {
 public:
  TitleStandIn() { SetRect({0, 0, 1, 1}); }
  ~TitleStandIn() override { TitleStandIn::ReleaseResources(); }

  void LoadResources() override {
    picture_ = std::make_unique<gfx::WBitmap>();
    gfx::LoadImage(*picture_, app::kDialogArchive, "MMBkgnd", gfx::LayoutWhole, 0, 0, false);
    background = picture_.get();
  }
  void ReleaseResources() override {
    background = nullptr;
    picture_.reset();
  }
  void Draw() override { DrawBackground(); }

 private:
  std::unique_ptr<gfx::WBitmap> picture_;
};

}  // namespace

int main() {
  platform::SdlPlatform platform;
  try {
    app::TMainWnd window(platform);
    window.createMenuScreen = [] { return std::make_unique<TitleStandIn>(); };
    platform.RunMessageLoop();
  } catch (const app::NoDisplayError&) {
    return 1;
  } catch (const std::exception& error) {
    platform.ShowMessageBox("Redhollow", error.what(), platform::MessageBoxButtons::Ok);
  }
  return 0;
}
