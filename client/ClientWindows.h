// The chat client's windows as the program knows them: every class and caption it
// looks for, and the few ways it looks. Nothing is kept between calls: each lookup
// walks the tree from the client's frame again, and a window that is not there is
// handle 0.
#pragma once

#include <functional>
#include <optional>
#include <string_view>

#include "core/Host.h"
#include "core/WindowSystem.h"

namespace loafix {

// ---- classes ----
inline constexpr std::string_view kFrameClass = "AOL Frame25";
inline constexpr std::string_view kMdiClass = "MDIClient";
inline constexpr std::string_view kChildClass = "AOL Child";
inline constexpr std::string_view kRichClass = "RICHCNTL";
inline constexpr std::string_view kListboxClass = "_AOL_Listbox";
inline constexpr std::string_view kIconClass = "_AOL_Icon";
inline constexpr std::string_view kStaticClass = "_AOL_Static";
inline constexpr std::string_view kToolbarHostClass = "AOL Toolbar";
inline constexpr std::string_view kToolbarClass = "_AOL_Toolbar";
inline constexpr std::string_view kComboClass = "_AOL_Combobox";
// The keyword box is a plain system edit inside the combo box; the client's own
// windows (instant message, mail) use its own edit class.
inline constexpr std::string_view kKeywordBoxClass = "Edit";
inline constexpr std::string_view kClientEditClass = "_AOL_Edit";
inline constexpr std::string_view kModalClass = "_AOL_MODAL";
// The client's message boxes are system dialogs with a standard button.
inline constexpr std::string_view kClientBoxClass = "#32770";
inline constexpr std::string_view kButtonClass = "Button";

// ---- captions ----
inline constexpr std::string_view kImWindowCaption = "Send Instant Message";
inline constexpr std::string_view kClientBoxCaption = "America Online";
inline constexpr std::string_view kMailWindowCaption = "Write Mail";

// A direct child of `parent` after `after` (0: from the first). Under a parent that
// was not found it finds nothing: FindWindowExA with a parent of 0 would search the
// top-level windows and could hand a line or a click to another program.
Hwnd ChildOf(WindowSystem& ws, Hwnd parent, Hwnd after, std::string_view className,
             std::optional<std::string_view> caption = std::nullopt);
// The next window of a chain of lookups, each after the previous one. A chain that has
// run out stays out: a search after 0 would start again at the first child and hand
// back a window already used.
Hwnd NextInChain(WindowSystem& ws, Hwnd parent, Hwnd after, std::string_view className);

// The client's frame, and the MDI area inside it where its windows live.
Hwnd ClientFrame(WindowSystem& ws);
Hwnd ClientMdi(WindowSystem& ws);

// The client answers in its own time. Processes events, calls `look`, and until it
// says done waits for events at most 10 ms before looking again; gives up once
// `giveUp` (seconds of now()) has passed. Never spins. Returns whether `look` was done.
bool PollUntil(Host& host, double giveUp, const std::function<bool()>& look);

}  // namespace loafix
