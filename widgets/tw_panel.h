// TWPanel: a widget that holds up to MAX_CONTROLS children, draws them after itself in the
// order they were added and hands the mouse to each enabled one. A hidden or disabled
// panel hides its whole subtree from drawing and from the mouse.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "widgets/tw_control.h"

namespace widgets {

inline constexpr std::int32_t MAX_CONTROLS = 32;

class TWPanel : public TWControl {
 public:
  explicit TWPanel(TWControl* parent);
  ~TWPanel() override;

  void Show() override;
  void Hide() override;
  void Redraw() override;
  // The panel, then each child.
  void Relayout() override;
  virtual void DrawOverlay() {}

  // Draws the background picture stretched, smoothed, over the panel; panels call it from
  // their Draw.
  void DrawBackground();

  // The child in slot i, or null for an empty slot.
  TWControl* child(std::int32_t i) const { return children[static_cast<std::size_t>(i)].get(); }

  std::int32_t count = 0;
  std::array<std::unique_ptr<TWControl>, MAX_CONTROLS> children;
  const gfx::WBitmap* background = nullptr;  // set and released by the screen that loads it

 private:
  friend void AddChild(TWPanel& panel, TWControl* child);
  // Children beyond MAX_CONTROLS: never drawn nor tested, only kept until the panel goes,
  // so that the widget the caller still holds is neither freed under it nor lost.
  std::vector<std::unique_ptr<TWControl>> leftOut_;
};

// Takes ownership of child. With the panel full the platform's message box says so and the
// child is left out of drawing and hit-testing.
void AddChild(TWPanel& panel, TWControl* child);

// A new widget of type T, owned by parent.
template <typename T, typename... Args>
T* MakeChild(TWPanel* parent, Args&&... args) {
  return new T(parent, std::forward<Args>(args)...);
}

// Draws every visible child in order, and the children of a visible plain panel in turn.
void DrawChildren(const TWPanel& panel);
// Hands the mouse to every enabled child in order; an enabled plain panel passes it on to
// its own children instead of being tested itself.
void HitTestChildren(const TWPanel& panel);

}  // namespace widgets
