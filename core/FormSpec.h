// Portable description of one of the program's own windows: a borderless skin with
// a background picture, caption-less click areas, captions and text boxes. A Host
// backend turns it into a real (or simulated) window; handlers stay portable.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace loafix {

// Geometry is kept in twips (1/1440 inch); at 96 dots per inch 15 twips make a pixel.
// Px: pixels to twips. TwipsToPx: twips to whole pixels, the remainder dropped.
constexpr int Px(int pixels) { return pixels * 15; }
constexpr int TwipsToPx(int twips) { return twips / 15; }

enum class ControlKind {
  Label,             // transparent, no border; a click area when its caption is empty
  TextBox,           // one-line edit box
  MultiLineTextBox,  // multi-line edit box (Enter starts a new line)
};

// A handler of a user-interface event: takes nothing, returns nothing.
using Handler = std::function<void()>;

struct ControlSpec {
  std::string name;  // "Label1", "Text1", ...
  ControlKind kind = ControlKind::Label;
  int left = 0, top = 0, width = 0, height = 0;  // twips, in the form's client area
  std::string text;                              // caption of a label, content of a box
  std::uint32_t color = 0x000000;                // text colour, 0xRRGGBB
  Handler onClick;                               // labels only
  Handler onMouseDown;                           // any mouse button pressed on it
};

// Where the window goes when it is first shown.
enum class Placement { Designed, Default };

struct FormSpec {
  std::string name;     // "Form1" ... "Form5"
  std::string caption;  // the window's text; not drawn (no title bar)
  Placement placement = Placement::Designed;
  int left = 0, top = 0;                // twips, client area's top-left on the screen
  int clientWidth = 0, clientHeight = 0;  // twips
  std::string background;               // name of the background picture asset, "" for none
  std::uint32_t backColor = 0xFFFFFF;   // shown where the picture does not reach
  bool hasIcon = false;                 // carries the program icon
  // In tab order; where two controls overlap, the one earlier in the list is on top
  // and receives the mouse.
  std::vector<ControlSpec> controls;
  Handler onLoad;                       // once, when the window is created
  Handler onClick;                      // a click on the background
  Handler onMouseDown;                  // any mouse button pressed on the background
  Handler onCloseRequest;               // closed from outside (Alt+F4); empty: hide
  Handler onRestore;                    // brought back by the person after a minimize
};

// The name of a menu item, as handlers look it up. Only the layer that owns an item
// spells its name, once, as a constant of namespace `items`; everyone else names the
// constant, so a misspelt name does not compile.
struct ItemName {
  explicit constexpr ItemName(std::string_view text) : text(text) {}
  std::string_view text;
};

// One item of a menu tree. Separators are items whose caption is exactly "-".
struct MenuItem {
  std::string name;
  std::string caption;  // "&" marks the access key
  bool checked = false;
  Handler onClick;
  std::vector<MenuItem> children;

  bool isSeparator() const { return caption == "-"; }
};

// The three kinds of item, as the layers that own them build their menus.
MenuItem Command(ItemName name, std::string caption, Handler onClick, bool checked = false);
MenuItem Submenu(ItemName name, std::string caption, std::vector<MenuItem> children);
// Nothing looks a separator up: its name is spelled where it is made, only.
MenuItem Separator(std::string_view name);

}  // namespace loafix

namespace loafix {

// The mouse on one of the program's skin windows, decided from each event's own
// coordinates (a posted click has no real cursor position). Labels are rectangles of
// their form: where two overlap, the earlier one in the list is on top and takes the
// mouse, so the colons label covers the counters. Text boxes are windows of their own
// and never reach this.
class SkinPointer {
 public:
  explicit SkinPointer(const FormSpec& layout) : layout_(layout) {}

  // The label under a point of the client area (twips), or -1 for the background.
  int labelAt(int xTwips, int yTwips) const;
  // A button went down: the handler of the press, the label's own (which may be
  // empty: a press on the menu area does nothing) or the background's. Only the left
  // button can start a click.
  const Handler& press(bool left, int xTwips, int yTwips);
  // The left button came up: the click's handler when it went down on the same label
  // (or both times on the background), else an empty one.
  const Handler& release(int xTwips, int yTwips);
  // The press was taken over (capture lost, a drag began): no click follows.
  void cancel() { pressed_ = kNowhere; }

 private:
  static constexpr int kNowhere = -2;
  const FormSpec& layout_;
  int pressed_ = kNowhere;  // a label's index, -1 the background
};

}  // namespace loafix
