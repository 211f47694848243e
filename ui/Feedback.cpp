// The feedback window: a comment to the author, mailed through the client's own
// Write Mail window.
#include "client/Module1.h"
#include "client/clientkit.h"
#include "idle/Product.h"
#include "ui/Program.h"

namespace loafix {
namespace {

inline constexpr std::string_view kFeedbackSubject = "lòàfíx¹ - comments";
inline constexpr std::string_view kFeedbackText =
    "this idle owns, whens version 2.0 comming out?\r\n";

void Send(Program& p) {
  p.feedbackMail.send(p.ws, p.host, kAuthorMail, kFeedbackSubject, p.text(p.Form5(), "Text1"));
}

}  // namespace

FormSpec FeedbackSpec(Program& p) {
  FormSpec spec;
  spec.name = "Form5";
  spec.caption = "Form5";
  spec.placement = Placement::Default;
  spec.clientWidth = 2145;
  spec.clientHeight = 2130;
  spec.background = "feedback";
  ControlSpec text;
  text.name = "Text1";
  text.kind = ControlKind::MultiLineTextBox;
  text.left = 165;
  text.top = 330;
  text.width = 1830;
  text.height = 1455;
  text.text = std::string(kFeedbackText);
  ControlSpec send;
  send.name = "Label2";
  send.left = 795;
  send.top = 1860;
  send.width = 585;
  send.height = 225;
  send.onClick = [&p] { Send(p); };
  ControlSpec close;
  close.name = "Label1";
  close.left = 1965;
  close.top = 30;
  close.width = 165;
  close.height = 195;
  close.onClick = [&p] { p.host.hideForm(p.Form5()); };
  spec.controls = {text, send, close};
  spec.onLoad = [&p] { StayOnTop(p.ws, p.Form5()); };
  spec.onMouseDown = [&p] { FormDrag(p.ws, p.Form5()); };
  return spec;
}

void mailme(Program& p) { p.host.showForm(p.Form5()); }

}  // namespace loafix
