// The budget of a replay under AddressSanitizer, whose shadow memory alone reserves terabytes
// of address space, so that no rlimit can be set: its allocator reports any one request over the
// budget as a fault, and the process is ended once its resident memory passes the budget and
// what the sanitizer keeps for itself (a quarantine of up to 256 MB, the shadow, red zones).

#include <string>

#include "replay_memory.h"

#define INKRELAY_TEXT(x) #x
#define INKRELAY_NUMBER_TEXT(x) INKRELAY_TEXT(x)

// Read by the sanitizer before main; ASAN_OPTIONS still overrides each of them.
extern "C" const char* __asan_default_options() {
    return "max_allocation_size_mb=" INKRELAY_NUMBER_TEXT(
        INKRELAY_REPLAY_BUDGET_MB) ":allocator_may_return_null=0:hard_rss_limit_mb="
        INKRELAY_NUMBER_TEXT(INKRELAY_REPLAY_RSS_MB);
}

namespace inkrelay::fuzz {

std::string LimitReplayMemory() {
    return "largest allocation " + std::to_string(INKRELAY_REPLAY_BUDGET_MB) +
           " MB, resident memory " + std::to_string(INKRELAY_REPLAY_RSS_MB) +
           " MB (AddressSanitizer)";
}

}  // namespace inkrelay::fuzz
