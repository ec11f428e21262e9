// The budget of a replay without sanitizers: RLIMIT_DATA counts the heap and every private
// writable mapping (glibc's large blocks among them) but not the shared libraries' code. A
// request refused under it comes back as a null pointer, which libpng, Qt and the core turn into
// a quiet refusal of the input, so a replay over its budget would still pass; the allocation
// functions here end the process instead, as libFuzzer's -malloc_limit_mb does.

#include <sys/resource.h>
#include <unistd.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "replay_memory.h"

extern "C" {
// glibc's allocator under its own names, which the definitions below forward to.
void* __libc_malloc(std::size_t size) noexcept;
void* __libc_calloc(std::size_t count, std::size_t size) noexcept;
void* __libc_realloc(void* block, std::size_t size) noexcept;
}

namespace {

constexpr std::size_t BudgetBytes = std::size_t{INKRELAY_REPLAY_BUDGET_MB} << 20;

// Without the allocator: it is the allocator that has just failed.
[[noreturn]] void OverBudget(std::size_t requested) {
    char line[160];
    const int length = std::snprintf(
        line, sizeof line, "replay: a request for %zu bytes failed within the budget of %d MB\n",
        requested, INKRELAY_REPLAY_BUDGET_MB);
    if (length > 0)
        static_cast<void>(write(STDERR_FILENO, line, static_cast<std::size_t>(length)));
    std::abort();
}

}  // namespace

extern "C" void* malloc(std::size_t size) noexcept {
    void* block = __libc_malloc(size);
    if (block == nullptr && size != 0)
        OverBudget(size);
    return block;
}

extern "C" void* calloc(std::size_t count, std::size_t size) noexcept {
    void* block = __libc_calloc(count, size);
    if (block == nullptr && count != 0 && size != 0)
        OverBudget(count * size);
    return block;
}

extern "C" void* realloc(void* block, std::size_t size) noexcept {
    void* moved = __libc_realloc(block, size);
    if (moved == nullptr && size != 0)
        OverBudget(size);
    return moved;
}

namespace inkrelay::fuzz {

std::string LimitReplayMemory() {
    const rlimit limit = {BudgetBytes, BudgetBytes};
    if (setrlimit(RLIMIT_DATA, &limit) != 0) {
        std::perror("replay: setrlimit(RLIMIT_DATA)");
        std::exit(2);
    }
    return "data limit " + std::to_string(INKRELAY_REPLAY_BUDGET_MB) + " MB (RLIMIT_DATA)";
}

}  // namespace inkrelay::fuzz
