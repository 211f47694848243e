// The link-site window: the website line's target, link text and description, saved
// by its done area. It never reads the settings file: each run starts from the
// defaults, and what was typed stays in the boxes while the window is hidden.
#include "client/clientkit.h"
#include "idle/Product.h"
#include "ui/Program.h"

namespace loafix {
namespace {

constexpr std::uint32_t kOrange = 0xFF8000;

ControlSpec Box(std::string name, int left, int top, int width, int height, std::string text) {
  ControlSpec c;
  c.name = std::move(name);
  c.kind = ControlKind::TextBox;
  c.left = Px(left);
  c.top = Px(top);
  c.width = Px(width);
  c.height = Px(height);
  c.text = std::move(text);
  return c;
}

ControlSpec Label(std::string name, int left, int top, int width, int height, std::string caption,
                  Handler onClick, Handler onMouseDown) {
  ControlSpec c;
  c.name = std::move(name);
  c.left = Px(left);
  c.top = Px(top);
  c.width = Px(width);
  c.height = Px(height);
  c.text = std::move(caption);
  c.color = kOrange;
  c.onClick = std::move(onClick);
  c.onMouseDown = std::move(onMouseDown);
  return c;
}

void Done(Program& p) {
  const Hwnd form = p.Form4();
  p.write("web url", p.text(form, "Text1"), kIniLower);
  p.write("site name", p.text(form, "Text2"), kIniLower);
  p.write("description", p.text(form, "Text3"), kIniLower);
  p.host.hideForm(form);
}

void Cancel(Program& p) {
  p.host.hideForm(p.Form4());
  p.check("linksite", false);
}

}  // namespace

FormSpec LinkSiteSpec(Program& p) {
  const Handler drag = [&p] { FormDrag(p.ws, p.Form4()); };
  FormSpec spec;
  spec.name = "Form4";
  spec.caption = "Form4";
  spec.left = 5505;
  spec.top = 0;
  spec.clientWidth = 3780;
  spec.clientHeight = 1320;
  spec.background = "linksite";
  spec.backColor = kOrange;
  spec.controls = {
      Box("Text1", 66, 4, 181, 18, std::string(kProductUrl)),
      Box("Text2", 66, 27, 181, 17, "loafix"),
      Box("Text3", 66, 49, 181, 17, "download it here.."),
      Label("Label1", 4, 6, 42, 14, "web url:", nullptr, drag),
      Label("Label2", 4, 29, 49, 14, "site name:", nullptr, drag),
      Label("Label3", 4, 52, 53, 14, "description:", nullptr, drag),
      Label("Label4", 80, 70, 40, 15, "", [&p] { Done(p); }, nullptr),
      Label("Label5", 127, 72, 48, 13, "", [&p] { Cancel(p); }, nullptr),
  };
  spec.onLoad = [&p] { StayOnTop(p.ws, p.Form4()); };
  spec.onMouseDown = drag;
  return spec;
}

void linksite(Program& p) {
  p.check("reason", false);
  p.check("linksite", true);
  p.host.showForm(p.Form4());
}

}  // namespace loafix
