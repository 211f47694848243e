// The link-site window: the website line's target, link text and description, saved
// by its done area. It never reads the settings file: each run starts from the
// defaults, and what was typed stays in the boxes while the window is hidden.
#include "client/clientkit.h"
#include "core/Product.h"
#include "idle/IdleCommands.h"

namespace loafix {
namespace {

constexpr std::uint32_t kOrange = 0xFF8000;

void Done(Program& p) {
  const Hwnd form = p.Form4();
  const std::string url = p.text(form, "Text1");
  const std::string name = p.text(form, "Text2");
  const std::string description = p.text(form, "Text3");
  p.write({{"web url", url, kIniLower},
           {"site name", name, kIniLower},
           {"description", description, kIniLower}});
  p.host.hideForm(form);
}

void Cancel(Program& p) {
  p.host.hideForm(p.Form4());
  p.check(items::linksite, false);
}

}  // namespace

FormSpec LinkSiteSpec(Program& p) {
  const Handler drag = [&p] { FormDrag(p.ws, p.Form4()); };
  // Laid out in pixels; the captions are orange on the picture.
  const auto box = ControlKind::TextBox;
  return FormSpec{
      .name = "Form4",
      .caption = "Form4",
      .left = 5505,
      .top = 0,
      .clientWidth = 3780,
      .clientHeight = 1320,
      .background = "linksite",
      .backColor = kOrange,
      .controls =
          {
              {.name = "Text1", .kind = box, .left = Px(66), .top = Px(4), .width = Px(181),
               .height = Px(18), .text = std::string(kProductUrl)},
              {.name = "Text2", .kind = box, .left = Px(66), .top = Px(27), .width = Px(181),
               .height = Px(17), .text = "loafix"},
              {.name = "Text3", .kind = box, .left = Px(66), .top = Px(49), .width = Px(181),
               .height = Px(17), .text = "download it here.."},
              {.name = "Label1", .left = Px(4), .top = Px(6), .width = Px(42), .height = Px(14),
               .text = "web url:", .color = kOrange, .onMouseDown = drag},
              {.name = "Label2", .left = Px(4), .top = Px(29), .width = Px(49), .height = Px(14),
               .text = "site name:", .color = kOrange, .onMouseDown = drag},
              {.name = "Label3", .left = Px(4), .top = Px(52), .width = Px(53), .height = Px(14),
               .text = "description:", .color = kOrange, .onMouseDown = drag},
              {.name = "Label4", .left = Px(80), .top = Px(70), .width = Px(40), .height = Px(15),
               .onClick = [&p] { Done(p); }},
              {.name = "Label5", .left = Px(127), .top = Px(72), .width = Px(48), .height = Px(13),
               .onClick = [&p] { Cancel(p); }},
          },
      .onLoad = [&p] { StayOnTop(p.ws, p.Form4()); },
      .onMouseDown = drag,
  };
}

void linksite(Program& p) {
  p.check(items::reason, false);
  p.check(items::linksite, true);
  p.host.showForm(p.Form4());
}

}  // namespace loafix
