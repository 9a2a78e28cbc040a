// Wine's desktop window manager answers every cloaking query E_NOTIMPL. While a stand-in lives,
// the task list's run-time lookup of DwmGetWindowAttribute (the product is linked into the test
// program, so its import of GetProcAddress is the program's) gets a function that reports the
// windows a fixture marks as cloaked (tools/common/CloakMark.h) and answers the rest as Wine
// does. It counts the lookups and the questions. One stand-in at a time.
#pragma once

#include "tests/support/ImportPatch.h"

#include <windows.h>

namespace testing_support {

class CloakStandIn {
 public:
  CloakStandIn();
  CloakStandIn(const CloakStandIn&) = delete;
  CloakStandIn& operator=(const CloakStandIn&) = delete;

  int Lookups() const;
  int Queries(HWND wnd) const;

 private:
  ImportPatch patch_;
};

}  // namespace testing_support
