// The stand-in chat client: its window tree and how it reacts to the messages a
// program sends it. The same model runs on the simulated desktop (tests, headless
// demo) and inside clientsim.exe over real Win32 windows; each of those supplies a
// ClientSurface through which the model creates and changes its windows.
//
// The tree it builds:
//
//   "AOL Frame25"
//     "AOL Toolbar" > "_AOL_Toolbar" > five "_AOL_Icon" (the second is Write),
//                                      "_AOL_Combobox" > "Edit" (the keyword box)
//     "MDIClient"
//       "AOL Child" chat rooms, "Send Instant Message" and "Write Mail" windows
//     "_AOL_MODAL" while a modal window is up (the frame is disabled meanwhile)
//   "#32770" "America Online" message boxes, top-level, with a "Button" and a "Static"
//
// Every reaction is logged, one line each, texts as hex of their ANSI bytes (Hex.h):
//   keyword <kw>          a keyword was entered (blanks around it trimmed)
//   im open <sn>          an instant-message window opened (with all its children)
//   im <sn> <text>        its send button was clicked
//   ims off | ims on      the user's instant messages were switched
//   box <text>            a message box came up;  box dismissed
//   click <caption>       an icon was clicked (button down, then up)
//   mail open <caption>   a mail window opened (with all its children)
//   mail <to> <subj> <body>   its send button was clicked
//   close <caption>       a window received WM_CLOSE
//   modal up | modal down
//   enable <class> 0|1, visible <class> 0|1   the frame or the modal window changed
//                          state at someone else's request (see onMessage)
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace loafix::clientsim {

using Wnd = std::uint32_t;

// What the model needs of the window system it lives in. Texts are ANSI bytes.
class ClientSurface {
 public:
  virtual ~ClientSurface() = default;
  // A new window of the class under `parent` (0: a top-level window), created last in
  // the parent's order of children, or first when `onTop`.
  virtual Wnd create(Wnd parent, std::string_view className, std::string_view caption,
                     bool onTop = false) = 0;
  virtual void destroy(Wnd window) = 0;
  virtual bool exists(Wnd window) = 0;
  virtual std::string text(Wnd window) = 0;
  virtual void setText(Wnd window, std::string_view text) = 0;
  virtual void setEnabled(Wnd window, bool enabled) = 0;
  virtual bool enabled(Wnd window) = 0;
  virtual bool visible(Wnd window) = 0;
  // Runs `action` about `ms` milliseconds from now on the client's own thread.
  virtual void after(int ms, std::function<void()> action) = 0;
  // Something a person watching the client would see has changed.
  virtual void changed() {}
};

struct ChatRoom {
  Wnd window = 0;
  Wnd transcriptBox = 0;  // first RICHCNTL: the lines the room shows
  Wnd inputBox = 0;       // second RICHCNTL: where lines are typed
  Wnd people = 0;         // _AOL_Listbox
  std::string name;
  std::vector<std::string> lines;  // ANSI bytes, as received
};

// Scenario switches: how fast and how completely the client answers. Change them
// before the request they should affect; each request reads them when it arrives.
struct ClientOptions {
  // ---- instant messages ----
  int imOpenDelayMs = 0;      // the IM window opens this long after its keyword
  bool imNeverOpens = false;  // the keyword is taken, but no IM window ever opens
  int imIconCount = 10;       // the ninth is Send; 5 or 8 make a window without one
  // > 0: the message box (RICHCNTL) is created after the icons, this much later.
  int imRichLateMs = 0;
  // A send to a screen name that is not online brings the message box this long after.
  int offlineReplyMs = 300;
  // Screen names that are online (compared as the client does: any case, no blanks).
  std::vector<std::string> online = {"loafixbuddy"};

  // ---- mail ----
  int mailOpenDelayMs = 0;                 // the mail window opens this long after the Write click
  bool mailNeverOpens = false;             // the Write click is ignored
  std::string mailCaption = "Write Mail";  // e.g. "Write Mail - draft 2"
  int mailEditCount = 3;                   // To, Copy To, Subject
  int mailIconCount = 18;                  // the sixteenth is Send
  int mailRichLateMs = 0;                  // > 0: the body box comes this much later
  bool mailStaysOpen = false;              // the window stays open after its send

  // A window that opens late (an IM or mail window after its delay) comes up one child
  // at a time, this many ms apart, the client's events running in between: another
  // program can find it half-built, as it can a busy real client's (clientsim.exe's
  // timers make the gaps at least 10 ms, Win32's shortest timer). 0: all at once.
  int lateChildGapMs = 1;

  // ---- memory ----
  // false: log lines and chat lines go only to onLog, so a run of many virtual days
  // keeps flat memory; log(), received() and each room's lines stay empty.
  bool keepHistory = true;

  // ---- present from the start ----
  bool modalAtStart = false;
  bool messageBoxAtStart = false;
  bool mailDraftAtStart = false;  // a "Write Mail" window the user already has open
};

// How long the client answers no message at all when told to stop answering, as a busy
// one does.
inline constexpr int kHangMs = 20000;

// What the client took from its windows (ANSI bytes).
struct SentIm {
  std::string screenName, text;
};
struct SentMail {
  std::string to, subject, body;
};

class ClientModel {
 public:
  explicit ClientModel(ClientSurface& surface);

  ClientOptions options;

  // Builds the client's frame with its toolbar and MDI area; no room is open yet.
  void start(std::string_view screenName = "loafixfan");
  // Opens a chat room; `onTop` puts it first in the MDI area's order of children.
  ChatRoom& openRoom(std::string_view name, bool onTop = false);
  void closeRoom(Wnd room);
  // Closes the whole client (every window goes).
  void quit();

  // A modal window of the client: a "_AOL_MODAL" child of the frame, with the frame
  // disabled while it is up. Raising twice keeps the one that is up.
  Wnd raiseModal();
  void dropModal();
  // A top-level "#32770" "America Online" box with an OK button.
  Wnd showMessageBox(std::string_view text);
  // A mail window opened by the user (first in the MDI area's order when `onTop`).
  Wnd openMailWindow(std::string_view caption = "Write Mail", bool onTop = true);

  // A message sent or posted to one of the client's windows. `text` holds the ANSI
  // bytes of a WM_SETTEXT. nullopt: leave the message to the default handling
  // (WM_SETTEXT stores the text, WM_CLOSE destroys the window).
  // Win32 sends WM_ENABLE and WM_SHOWWINDOW when another program enables or shows the
  // frame; a front end that passes them on here gets them logged.
  std::optional<std::intptr_t> onMessage(Wnd window, std::uint32_t message, std::uintptr_t wParam,
                                         std::intptr_t lParam, std::string_view text);
  // The window is going away (destroyed by the default handling or by its owner).
  void onDestroyed(Wnd window);

  Wnd frame() const { return frame_; }
  Wnd mdi() const { return mdi_; }
  Wnd keywordBox() const { return keywordBox_; }
  Wnd writeIcon() const { return writeIcon_; }
  Wnd modal() const { return modal_; }
  // The first message box still up, or 0.
  Wnd messageBox() const { return boxes_.empty() ? 0 : boxes_.front().window; }
  const std::vector<ChatRoom>& rooms() const { return rooms_; }
  ChatRoom* room(Wnd window);
  // Open instant-message and mail windows, in the order they opened.
  std::vector<Wnd> imWindows() const;
  std::vector<Wnd> mailWindows() const;

  // Whether the user's instant messages are delivered ($IM_OFF / $IM_ON).
  bool imsOn() const { return imsOn_; }
  const std::vector<std::string>& keywords() const { return keywords_; }
  const std::vector<SentIm>& ims() const { return ims_; }
  const std::vector<SentMail>& mails() const { return mails_; }
  // Every line any room received, in order (ANSI bytes).
  const std::vector<std::string>& received() const { return received_; }
  // Everything the client was sent, one line each, for logs and tests.
  const std::vector<std::string>& log() const { return log_; }
  // Called with each new log line (clientsim.exe appends it to its log file).
  std::function<void(const std::string&)> onLog;

 private:
  struct ImWindow {
    Wnd window = 0, toBox = 0, textBox = 0, sendButton = 0;
  };
  struct MailWindow {
    Wnd window = 0, sendButton = 0;
    std::vector<Wnd> edits;
    Wnd bodyBox = 0;
  };

  Wnd make(Wnd parent, std::string_view className, std::string_view caption, bool onTop = false);
  void record(std::string line);
  void closeLater(Wnd window);
  void onKeyword(std::string keyword);
  void openImWindow(const std::string& screenName, int childGapMs);
  Wnd openMailWindow(std::string_view caption, bool onTop, int childGapMs);
  // The steps that build a window's children, in the order the client takes them.
  using Steps = std::vector<std::function<void()>>;
  // Runs steps[next...] in order, `gapMs` apart (all at once for 0), while `window` lives.
  void buildInSteps(Wnd window, std::shared_ptr<const Steps> steps, std::size_t next, int gapMs);
  ImWindow* imWindow(Wnd window);
  MailWindow* mailWindow(Wnd window);
  void onImSend(const ImWindow& im);
  void openMailWindowFromWrite();
  void onMailSend(const MailWindow& mail);
  void onClick(Wnd icon);
  void noteState(Wnd window, const char* what, bool on, bool& known);
  bool alive(Wnd window) { return window != 0 && surface_.exists(window); }

  ClientSurface& surface_;
  Wnd frame_ = 0, mdi_ = 0, toolbarHost_ = 0, toolbar_ = 0, combo_ = 0, keywordBox_ = 0;
  Wnd writeIcon_ = 0, modal_ = 0;
  std::string screenName_;
  std::map<Wnd, std::string> classes_;
  std::vector<ChatRoom> rooms_;
  std::vector<ImWindow> imWindows_;
  std::vector<MailWindow> mailWindows_;
  struct Box {
    Wnd window = 0, button = 0;
  };
  std::vector<Box> boxes_;
  Wnd pressed_ = 0;    // the icon a button-down went to
  Wnd spaceDown_ = 0;  // the button the space bar went down on
  bool imsOn_ = true;
  bool frameEnabled_ = true, frameVisible_ = true;
  bool modalEnabled_ = true, modalVisible_ = true;
  std::vector<std::string> keywords_;
  std::vector<SentIm> ims_;
  std::vector<SentMail> mails_;
  std::vector<std::string> received_;
  std::vector<std::string> log_;
};

}  // namespace loafix::clientsim
