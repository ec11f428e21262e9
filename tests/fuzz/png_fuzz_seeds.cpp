// Writes the fuzzer's seed corpus: small valid PNGs of every colour type and bit depth, plain
// and interlaced, with and without tRNS.

#include <cstdio>
#include <fstream>
#include <string>

#include "png_samples.h"
#include "png_writer.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s corpus-folder\n", argv[0]);
        return 2;
    }
    using namespace inkrelay::test;
    int written = 0;
    uint32_t seed = 1;
    for (const PngKind& kind : AllPngKinds()) {
        for (bool interlaced : {false, true}) {
            const std::string name =
                std::string(argv[1]) + "/seed-" + std::to_string(kind.ColourType) + "-" +
                std::to_string(kind.BitDepth) + (kind.Transparency ? "-t" : "") +
                (interlaced ? "-i" : "") + ".png";
            const std::string bytes = EncodePng(RandomPngImage(kind, 9, 5, interlaced, seed++));
            std::ofstream out(name, std::ios::binary | std::ios::trunc);
            out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            if (!out) {
                std::fprintf(stderr, "cannot write %s\n", name.c_str());
                return 1;
            }
            ++written;
        }
    }
    std::printf("%d seeds in %s\n", written, argv[1]);
    return 0;
}
