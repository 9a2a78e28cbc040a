#include "tasklist/LateIconAsks.h"

#include "tasklist/WindowIconQuery.h"

#include <atomic>
#include <memory>

namespace tasklist {

struct LateIconAsks::State {
  State(const std::vector<HWND>& asked, bool big, HWND notifyWindow, UINT notifyMessage, LPARAM notifySerial)
      : windows(asked), answers(asked.size()), bigFirst(big), notify(notifyWindow), message(notifyMessage),
        serial(notifySerial) {}

  void Release() {
    if (::InterlockedDecrement(&holders) == 0) delete this;
  }

  const std::vector<HWND> windows;
  std::vector<std::atomic<HICON>> answers;
  const bool bigFirst;
  const HWND notify;
  const UINT message;
  const LPARAM serial;
  HMODULE module = nullptr;  // the thread's reference to this module
  std::atomic<bool> stopped{false};
  LONG holders = 2;  // the object and the thread
};

namespace {

HICON AskIcon(HWND wnd, bool bigFirst) {
  for (const WPARAM kind : IconKindsToAsk(bigFirst)) {
    DWORD_PTR answer = 0;
    if (!::SendMessageTimeoutA(wnd, WM_GETICON, kind, 0, SMTO_ABORTIFHUNG, kLateIconTimeoutMs, &answer)) return nullptr;
    if (answer) return reinterpret_cast<HICON>(answer);
  }
  return nullptr;
}

}  // namespace

// The module's reference is taken here, before the thread exists, so that no unload can come
// between its start and its reference.
LateIconAsks::LateIconAsks(const std::vector<HWND>& windows, bool bigFirst, HWND notify, UINT message, LPARAM serial) {
  auto state = std::make_unique<State>(windows, bigFirst, notify, message, serial);
  if (!::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCSTR>(&LateIconAsks::Run),
                            &state->module)) {
    return;
  }
  const HANDLE thread = ::CreateThread(nullptr, 0, &LateIconAsks::Run, state.get(), 0, nullptr);
  if (!thread) {
    ::FreeLibrary(state->module);
    return;
  }
  ::CloseHandle(thread);
  state_ = state.release();
}

LateIconAsks::~LateIconAsks() {
  if (!state_) return;
  state_->stopped = true;
  state_->Release();
}

HICON LateIconAsks::Answer(size_t position) const {
  if (!state_ || position >= state_->answers.size()) return nullptr;
  return state_->answers[position].load();
}

DWORD WINAPI LateIconAsks::Run(void* parameter) {
  auto* state = static_cast<State*>(parameter);
  const HMODULE module = state->module;
  for (size_t i = 0; i < state->windows.size() && !state->stopped; ++i) {
    const HICON icon = AskIcon(state->windows[i], state->bigFirst);
    if (!icon || state->stopped) continue;  // the menu that would show it has moved on
    state->answers[i] = icon;
    ::PostMessageA(state->notify, state->message, i, state->serial);
  }
  state->Release();
  ::FreeLibraryAndExitThread(module, 0);
}

}  // namespace tasklist
