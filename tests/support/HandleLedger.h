// Handles a module creates and destroys, per kind, counted by replacing functions in the module's
// import table (Wine's own handle counters are stubs). While the patches live, every call of the
// module to those functions passes through the ledger.
#pragma once

#include "tests/support/ImportPatch.h"

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace testing_support {

struct Tally {
  long long created = 0;
  long long destroyed = 0;  // of handles the plug-in created
  long long foreign = 0;    // destructions of handles it never created: a fault
  size_t outstanding = 0;
};

class HandleLedger {
 public:
  // Patches the module's imports; restored when the ledger is destroyed.
  explicit HandleLedger(HMODULE module);
  HandleLedger(const HandleLedger&) = delete;
  HandleLedger& operator=(const HandleLedger&) = delete;
  ~HandleLedger();

  std::map<std::string, Tally> Tallies() const;
  size_t Outstanding() const;
  long long Foreign() const;
  // The functions it replaces, those that create and those that destroy.
  static std::vector<std::string> Functions();

 private:
  std::vector<std::unique_ptr<ImportPatch>> patches_;
};

}  // namespace testing_support
