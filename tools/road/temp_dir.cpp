#include "temp_dir.h"

#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <system_error>
#include <utility>

namespace inkrelay::test {

TempDir::TempDir() {
    // create_directory is false for a name already taken, so no two folders are shared.
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    std::random_device seed;
    std::mt19937_64 names(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::filesystem::path candidate = base / ("inkrelay-test-" + std::to_string(names()));
        if (std::filesystem::create_directory(candidate)) {
            // Private to its owner, as mkdtemp would make it.
            std::error_code failed;
            std::filesystem::permissions(candidate, std::filesystem::perms::owner_all, failed);
            if (failed) {
                std::error_code ignored;
                std::filesystem::remove(candidate, ignored);
                throw std::system_error(failed, "permissions of " + candidate.string());
            }
            path_ = std::move(candidate);
            return;
        }
    }
    throw std::runtime_error("no fresh folder under " + base.string());
}

TempDir::~TempDir() {
    std::error_code ignored;
    // Tests may leave folders without write or search permission behind.
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
        if (it->is_directory(ignored) && !it->is_symlink(ignored))
            std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ignored);
    }
    std::filesystem::remove_all(path_, ignored);
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path.string());
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

}  // namespace inkrelay::test
