// The feedback window: a comment to the author, mailed through the client's own
// Write Mail window.
#include "client/MailComposer.h"
#include "client/clientkit.h"
#include "core/Product.h"
#include "ui/UiCommands.h"

namespace loafix {
namespace {

inline constexpr std::string_view kFeedbackSubject = "lòàfíx¹ - comments";
inline constexpr std::string_view kFeedbackText =
    "this idle owns, whens version 2.0 comming out?\r\n";

}  // namespace

FormSpec FeedbackSpec(Program& p) {
  const Handler send = [&p] {
    SendMailOnce(p.mailSending, p.ws, p.host, kAuthorMail, kFeedbackSubject,
                 p.text(p.Form5(), "Text1"));
  };
  return FormSpec{
      .name = "Form5",
      .caption = "Form5",
      .placement = Placement::Default,
      .clientWidth = 2145,
      .clientHeight = 2130,
      .background = "feedback",
      .controls =
          {
              {.name = "Text1", .kind = ControlKind::MultiLineTextBox, .left = 165, .top = 330,
               .width = 1830, .height = 1455, .text = std::string(kFeedbackText)},
              {.name = "Label2", .left = 795, .top = 1860, .width = 585, .height = 225,
               .onClick = send},
              {.name = "Label1", .left = 1965, .top = 30, .width = 165, .height = 195,
               .onClick = [&p] { p.host.hideForm(p.Form5()); }},
          },
      .onLoad = [&p] { StayOnTop(p.ws, p.Form5()); },
      .onMouseDown = [&p] { FormDrag(p.ws, p.Form5()); },
  };
}

void mailme(Program& p) { p.host.showForm(p.Form5()); }

}  // namespace loafix
