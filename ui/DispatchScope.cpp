#include "ui/DispatchScope.h"

#include <utility>
#include <vector>

namespace ui {
namespace {

int depth = 0;
std::vector<std::function<void()>> pending;

}  // namespace

DispatchScope::DispatchScope() { ++depth; }

DispatchScope::~DispatchScope() {
  // The outermost scope stays counted while it releases: destroying windows re-enters our
  // procedures, which must not start releasing themselves.
  while (depth == 1 && !pending.empty()) {
    auto releases = std::move(pending);
    pending.clear();
    for (auto& release : releases) release();
  }
  --depth;
}

bool InDispatch() { return depth > 0; }

void ReleaseWhenIdle(std::function<void()> release) {
  if (InDispatch()) {
    pending.push_back(std::move(release));
  } else {
    release();
  }
}

}  // namespace ui
