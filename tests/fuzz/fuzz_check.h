#pragma once
// A fuzz target's own rule broken by an input: stop as a sanitizer does, so that libFuzzer keeps
// the input and the replay ends on it with the rule's text.

#include <cstdio>
#include <cstdlib>

namespace inkrelay::fuzz {

[[noreturn]] inline void RuleBroken(const char* rule, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: fuzz rule broken: %s\n", file, line, rule);
    std::abort();
}

}  // namespace inkrelay::fuzz

#define FUZZ_CHECK(rule) \
    ((rule) ? static_cast<void>(0) : ::inkrelay::fuzz::RuleBroken(#rule, __FILE__, __LINE__))
