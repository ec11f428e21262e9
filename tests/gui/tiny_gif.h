#pragma once
// Qt reads GIF but cannot write it, so the tests carry one of their own.

#include <string>

namespace inkrelay::test {

// 2 × 1: a red pixel, then a blue one, through a two-entry colour table.
inline std::string TinyGif() {
    static const char bytes[] =
        "GIF89a\x02\x00\x01\x00\x80\x00\x00"
        "\xFF\x00\x00\x00\x00\xFF"
        "\x2C\x00\x00\x00\x00\x02\x00\x01\x00\x00"
        "\x02\x02\x44\x0A\x00"
        "\x3B";
    return std::string(bytes, sizeof bytes - 1);
}

}  // namespace inkrelay::test
