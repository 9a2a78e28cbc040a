// Saves the whole screen as a 24-bit BMP file, for pictures of the open menu.
#pragma once

#include <string>

bool CaptureScreen(const std::string& bmpPath);
