#pragma once
// The memory budget of a corpus replay, INKRELAY_REPLAY_BUDGET_MB megabytes as the build states
// it for the target: a regression that asks for gigabytes fails the replay instead of making the
// machine swap.

#include <string>

namespace inkrelay::fuzz {

// Sets the bound for the rest of the process, before the first input; says how, for the log.
std::string LimitReplayMemory();

}  // namespace inkrelay::fuzz
