#include "tests/support/MenuDriver.h"

#include <string>
#include <utility>

namespace testing_support {
namespace {

constexpr UINT kPollMs = 30;

struct Pending {
  std::function<HWND()> find;
  std::function<void(HWND)> action;
  DWORD deadline = 0;
  UINT_PTR timer = 0;
  bool ran = false;
};

Pending pending;

void CALLBACK Poll(HWND, UINT, UINT_PTR, DWORD) {
  const HWND found = pending.find();
  if (!found && ::GetTickCount() < pending.deadline) return;
  ::KillTimer(nullptr, pending.timer);
  pending.timer = 0;
  if (found) {
    pending.ran = true;
    pending.action(found);
  }
}

void Schedule(std::function<HWND()> find, std::function<void(HWND)> action, DWORD timeoutMs) {
  if (pending.timer) ::KillTimer(nullptr, pending.timer);
  pending.find = std::move(find);
  pending.action = std::move(action);
  pending.deadline = ::GetTickCount() + timeoutMs;
  pending.ran = false;
  pending.timer = ::SetTimer(nullptr, 0, kPollMs, &Poll);
}

}  // namespace

HWND OpenMenuWindow() {
  const HWND menu = ::FindWindowA("#32768", nullptr);
  return menu && ::IsWindowVisible(menu) ? menu : nullptr;
}

void WhenMenuOpens(std::function<void(HWND)> action, DWORD timeoutMs) {
  Schedule(&OpenMenuWindow, std::move(action), timeoutMs);
}

void WhenNextMenuOpens(HWND previous, std::function<void(HWND)> action, DWORD timeoutMs) {
  Schedule([previous] { return OpenMenuWindow() != previous ? OpenMenuWindow() : nullptr; }, std::move(action),
           timeoutMs);
}

bool MenuActionRan() { return pending.ran; }

void TypeInMenu(HWND menuWindow, char character) {
  ::PostMessageA(menuWindow, WM_CHAR, static_cast<unsigned char>(character), 0);
}

void PressInMenu(HWND menuWindow, WPARAM virtualKey) { ::PostMessageA(menuWindow, WM_KEYDOWN, virtualKey, 0); }

void WhenMessageBoxOpens(const char* title, std::function<void(HWND)> action, DWORD timeoutMs) {
  const std::string wanted = title ? title : "";
  Schedule([wanted] { return ::FindWindowA("#32770", wanted.empty() ? nullptr : wanted.c_str()); }, std::move(action),
           timeoutMs);
}

std::string MessageBoxText(HWND box) {
  char text[1024] = {};
  ::GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));
  return text;
}

HMENU NativeMenuOf(HWND menuWindow) { return reinterpret_cast<HMENU>(::SendMessageA(menuWindow, MN_GETHMENU, 0, 0)); }

}  // namespace testing_support
