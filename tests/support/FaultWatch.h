// Counts access violations and illegal instructions anywhere in the test program, also those that
// the platform swallows inside a window procedure (Wine ignores them in callbacks and goes on),
// and fails the running test when one occurred. Every test program's main installs it.
#pragma once

namespace testing_support {

void InstallFaultWatch();

// Faults seen since the program started.
long FaultCount();
// For a test that causes faults on purpose: the ones seen so far do not fail it.
void AcceptFaultsSoFar();

}  // namespace testing_support
