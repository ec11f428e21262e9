#pragma once
// Runs a check in a child process without root's rights, so that permission tests mean the same
// as root (CI) as for a normal user.

#include <functional>

namespace inkrelay::test {

// Runs body in a forked child (as the user nobody when started as root) and returns what it
// returned, or -1 when the child could not run or died.
int RunUnprivileged(const std::function<int()>& body);

}  // namespace inkrelay::test
