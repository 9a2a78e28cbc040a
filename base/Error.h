// The plug-in's ordinary error: a message text in the system code page (932 for our own texts).
#pragma once

#include <stdexcept>
#include <string>

namespace base {

class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace base
