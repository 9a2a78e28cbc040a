// The caption a task shows: the window's text with every character, unless the 8-bit caption
// no longer says the same (the editor mode rewrote it, or the text changed between the two reads):
// then the 8-bit caption, which is what ordering and keys went by.
#pragma once

#include "tasklist/TaskList.h"

#include <string>

namespace tasklist {

std::wstring ShownCaption(const TWinInfo& task);

}  // namespace tasklist
