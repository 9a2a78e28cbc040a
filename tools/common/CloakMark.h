// The window property by which a test fixture marks a window that the tests' stand-in for the
// cloaking query (tests/support/CloakStandIn.h) reports as cloaked.
#pragma once

inline constexpr char kCloakMarkProperty[] = "SwivoTestCloaked";
