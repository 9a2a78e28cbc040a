#include "bench/WorkCounter.h"

#include <commctrl.h>

#include <stdexcept>

namespace bench {
namespace {

WorkCount counted;
int* copies = &counted.iconsCopied;
decltype(&::SendMessageTimeoutA) realSendA;
decltype(&::SendMessageTimeoutW) realSendW;
decltype(&::ImageList_ReplaceIcon) realReplaceIcon;
decltype(&::ImageList_Add) realAdd;
decltype(&::ImageList_AddMasked) realAddMasked;

LRESULT WINAPI CountSendA(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT flags, UINT ms, PDWORD_PTR reply) {
  if (msg == WM_GETICON) ++counted.iconAsks;
  return realSendA(wnd, msg, wParam, lParam, flags, ms, reply);
}
LRESULT WINAPI CountSendW(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT flags, UINT ms, PDWORD_PTR reply) {
  if (msg == WM_GETICON) ++counted.iconAsks;
  return realSendW(wnd, msg, wParam, lParam, flags, ms, reply);
}
// Replacing image -1 appends; replacing an existing image copies the icon all the same.
int WINAPI CountReplaceIcon(HIMAGELIST images, int index, HICON icon) {
  ++*copies;
  return realReplaceIcon(images, index, icon);
}
int WINAPI CountAdd(HIMAGELIST images, HBITMAP image, HBITMAP mask) {
  ++*copies;
  return realAdd(images, image, mask);
}
int WINAPI CountAddMasked(HIMAGELIST images, HBITMAP image, COLORREF mask) {
  ++*copies;
  return realAddMasked(images, image, mask);
}

template <typename Function>
void Keep(const testing_support::ImportPatch& patch, Function& real) {
  real = reinterpret_cast<Function>(patch.Original());
}

HMODULE Self() { return ::GetModuleHandleA(nullptr); }

}  // namespace

WorkCounter::WorkCounter()
    : asksA_(Self(), "user32.dll", "SendMessageTimeoutA", reinterpret_cast<void*>(&CountSendA)),
      asksW_(Self(), "user32.dll", "SendMessageTimeoutW", reinterpret_cast<void*>(&CountSendW)),
      replaceIcon_(Self(), "comctl32.dll", "ImageList_ReplaceIcon", reinterpret_cast<void*>(&CountReplaceIcon)),
      add_(Self(), "comctl32.dll", "ImageList_Add", reinterpret_cast<void*>(&CountAdd)),
      addMasked_(Self(), "comctl32.dll", "ImageList_AddMasked", reinterpret_cast<void*>(&CountAddMasked)) {
  Keep(asksA_, realSendA);
  Keep(asksW_, realSendW);
  Keep(replaceIcon_, realReplaceIcon);
  Keep(add_, realAdd);
  Keep(addMasked_, realAddMasked);
  if (!realSendA || !realReplaceIcon) throw std::runtime_error("the icon asks or copies cannot be counted");
}

void NoteMenuShown() { copies = &counted.iconsCopiedOpen; }

WorkCount WorkCounter::Take() {
  const WorkCount taken = counted;
  counted = {};
  copies = &counted.iconsCopied;
  return taken;
}

}  // namespace bench
