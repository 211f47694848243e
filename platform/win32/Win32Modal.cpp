#include "platform/win32/Win32Modal.h"

#include <cstddef>
#include <cstring>
#include <vector>

#include "platform/win32/Win32Text.h"

namespace loafix::win32 {
namespace {

// ---- the pop-up menu ----

void Append(HMENU into, MenuItem& item, std::vector<MenuItem*>& byId) {
  if (item.isSeparator()) {
    AppendMenuW(into, MF_SEPARATOR, 0, nullptr);
    return;
  }
  const std::wstring caption = Utf8ToWide(item.caption);
  const UINT checked = item.checked ? MF_CHECKED : MF_UNCHECKED;
  if (!item.children.empty()) {
    HMENU sub = CreatePopupMenu();
    for (MenuItem& child : item.children) Append(sub, child, byId);
    AppendMenuW(into, MF_POPUP | MF_STRING | checked, reinterpret_cast<UINT_PTR>(sub),
                caption.c_str());
    return;
  }
  byId.push_back(&item);
  AppendMenuW(into, MF_STRING | checked, byId.size(), caption.c_str());
}

// ---- the input prompt, as a dialog template in memory ----

// Builds a DLGTEMPLATE followed by its items: every part WORD-aligned, every item
// DWORD-aligned, strings as UTF-16 with their terminating zero.
class DialogTemplate {
 public:
  DialogTemplate(DWORD style, DWORD exStyle, short width, short height, const std::wstring& title,
                 WORD pointSize, const wchar_t* face) {
    DLGTEMPLATE head{};
    head.style = style;
    head.dwExtendedStyle = exStyle;
    head.cx = width;
    head.cy = height;
    add(&head, sizeof head);
    countAt_ = offsetof(DLGTEMPLATE, cdit);
    word(0);  // no menu
    word(0);  // the standard dialog class
    text(title);
    word(pointSize);
    text(face);
  }

  // `classAtom`: 0x0080 button, 0x0081 edit, 0x0082 static.
  void item(WORD classAtom, WORD id, DWORD style, short x, short y, short width, short height,
            const std::wstring& title) {
    align(4);
    DLGITEMTEMPLATE it{};
    it.style = style | WS_CHILD | WS_VISIBLE;
    it.x = x;
    it.y = y;
    it.cx = width;
    it.cy = height;
    it.id = id;
    add(&it, sizeof it);
    word(0xFFFF);
    word(classAtom);
    text(title);
    word(0);  // no creation data
    WORD count;
    std::memcpy(&count, bytes_.data() + countAt_, sizeof count);
    ++count;
    std::memcpy(bytes_.data() + countAt_, &count, sizeof count);
  }

  const DLGTEMPLATE* get() {
    align(4);
    return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data());
  }

 private:
  void add(const void* data, std::size_t size) {
    const auto* p = static_cast<const unsigned char*>(data);
    bytes_.insert(bytes_.end(), p, p + size);
  }
  void word(WORD w) { add(&w, sizeof w); }
  void text(const std::wstring& s) { add(s.c_str(), (s.size() + 1) * sizeof(wchar_t)); }
  void align(std::size_t to) {
    while (bytes_.size() % to) bytes_.push_back(0);
  }

  std::vector<unsigned char> bytes_;
  std::size_t countAt_ = 0;
};

struct PromptState {
  std::wstring defaultText;
  std::optional<std::string> answer;
};

INT_PTR CALLBACK PromptProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<PromptState*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      state = reinterpret_cast<PromptState*>(lParam);
      HWND edit = GetDlgItem(dialog, kInputBoxEditId);
      SetWindowTextW(edit, state->defaultText.c_str());
      SendMessageW(edit, EM_SETSEL, 0, -1);
      SetForegroundWindow(dialog);
      SetFocus(edit);
      return FALSE;  // the focus is set
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        HWND edit = GetDlgItem(dialog, kInputBoxEditId);
        const int length = GetWindowTextLengthW(edit);
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        const int n = GetWindowTextW(edit, text.data(), length + 1);
        text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
        state->answer = WideToUtf8(text);
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        state->answer.reset();
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      break;
    default:
      break;
  }
  return FALSE;
}

}  // namespace

MenuItem* TrackMenu(HWND owner, MenuItem& menu, POINT screen) {
  HMENU popup = CreatePopupMenu();
  std::vector<MenuItem*> byId;
  for (MenuItem& item : menu.children) Append(popup, item, byId);
  // A menu whose owner is not in the foreground does not close when the user clicks
  // elsewhere; and after it the owner needs a message of its own to notice.
  SetForegroundWindow(owner);
  // TPM_LEFTALIGN | TPM_LEFTBUTTON (both 0): left-aligned at the point, chosen with the
  // left button. TPM_RETURNCMD: the item's handler runs after the menu has closed.
  const UINT chosen =
      static_cast<UINT>(TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_LEFTBUTTON | TPM_RETURNCMD,
                                       screen.x, screen.y, 0, owner, nullptr));
  PostMessageW(owner, WM_NULL, 0, 0);
  DestroyMenu(popup);
  return chosen >= 1 && chosen <= byId.size() ? byId[chosen - 1] : nullptr;
}

std::optional<std::string> RunInputBox(HINSTANCE instance, HWND owner, std::string_view message,
                                       std::string_view title, std::string_view defaultText) {
  // The familiar layout: the message at the top left, OK and Cancel on the right, the
  // answer along the bottom. Dialog units.
  DialogTemplate dialog(DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU,
                        WS_EX_TOPMOST, 250, 86, Utf8ToWide(title), 8, L"MS Shell Dlg");
  dialog.item(0x0082, kInputBoxMessageId, SS_LEFT | SS_NOPREFIX, 7, 7, 180, 50,
              Utf8ToWide(message));
  dialog.item(0x0080, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 193, 7, 50, 14, L"OK");
  dialog.item(0x0080, IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 193, 25, 50, 14, L"Cancel");
  dialog.item(0x0081, kInputBoxEditId, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 64, 236, 13,
              L"");

  PromptState state;
  state.defaultText = Utf8ToWide(defaultText);
  DialogBoxIndirectParamW(instance, dialog.get(), owner, &PromptProc,
                          reinterpret_cast<LPARAM>(&state));
  return state.answer;
}

}  // namespace loafix::win32
