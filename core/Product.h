// The product's configuration values: each one in one place.
#pragma once

#include <string_view>

namespace loafix {

// The link target of the advertisement and the link-site window's default.
inline constexpr std::string_view kProductUrl = "http://www.loafix.net";
// Where the feedback window mails its comments.
inline constexpr std::string_view kAuthorMail = "zed2@loafix.net";
// The credit text of the about box.
inline constexpr std::string_view kAboutText =
    "lòàfíx¹ by zed² - an idle counter for the chat rooms. thanks for using it!";

}  // namespace loafix
