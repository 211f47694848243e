#include "core/FormSpec.h"

namespace loafix {
namespace {

const Handler kNone;

}  // namespace

int SkinPointer::labelAt(int x, int y) const {
  for (std::size_t i = 0; i < layout_.controls.size(); ++i) {
    const ControlSpec& c = layout_.controls[i];
    if (c.kind != ControlKind::Label) continue;
    // Right and bottom edges are outside, as with a window rectangle.
    if (x >= c.left && x < c.left + c.width && y >= c.top && y < c.top + c.height)
      return static_cast<int>(i);
  }
  return -1;
}

const Handler& SkinPointer::press(bool left, int x, int y) {
  const int target = labelAt(x, y);
  if (left) pressed_ = target;
  return target >= 0 ? layout_.controls[static_cast<std::size_t>(target)].onMouseDown
                     : layout_.onMouseDown;
}

const Handler& SkinPointer::release(int x, int y) {
  const int pressed = pressed_;
  pressed_ = kNowhere;
  if (pressed == kNowhere || labelAt(x, y) != pressed) return kNone;
  return pressed >= 0 ? layout_.controls[static_cast<std::size_t>(pressed)].onClick
                      : layout_.onClick;
}

MenuItem Command(ItemName name, std::string caption, Handler onClick, bool checked) {
  return MenuItem{.name = std::string(name.text),
                  .caption = std::move(caption),
                  .checked = checked,
                  .onClick = std::move(onClick)};
}

MenuItem Submenu(ItemName name, std::string caption, std::vector<MenuItem> children) {
  return MenuItem{.name = std::string(name.text),
                  .caption = std::move(caption),
                  .children = std::move(children)};
}

MenuItem Separator(std::string_view name) { return Command(ItemName(name), "-", nullptr); }

}  // namespace loafix
