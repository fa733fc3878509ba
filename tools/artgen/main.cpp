// Draws the program's pictures and icon.
//   artgen <output-dir>          writes the files into the folder
//   artgen --check <dir>         exits 1, naming each file, if any file in the
//                                folder differs from what would be written
#include "Artwork.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace {

bool ReadFile(const std::filesystem::path& path, artgen::Bytes& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool WriteFile(const std::filesystem::path& path, const artgen::Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

int Check(const std::filesystem::path& dir)
{
    int differing = 0;
    for (const artgen::ArtworkFile& file : artgen::MakeArtwork()) {
        artgen::Bytes existing;
        const std::filesystem::path path = dir / file.name;
        if (!ReadFile(path, existing)) {
            std::fprintf(stderr, "missing: %s\n", path.string().c_str());
            ++differing;
        } else if (existing != file.bytes) {
            std::fprintf(stderr, "differs: %s\n", path.string().c_str());
            ++differing;
        }
    }
    if (differing != 0) {
        std::fprintf(stderr, "%d file(s) out of date: regenerate them with the 'artwork' build target\n", differing);
        return 1;
    }
    return 0;
}

int Write(const std::filesystem::path& dir)
{
    for (const artgen::ArtworkFile& file : artgen::MakeArtwork()) {
        const std::filesystem::path path = dir / file.name;
        if (!WriteFile(path, file.bytes)) {
            std::fprintf(stderr, "cannot write %s\n", path.string().c_str());
            return 1;
        }
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        if (argc == 2 && std::string_view(argv[1]) != "--check")
            return Write(argv[1]);
        if (argc == 3 && std::string_view(argv[1]) == "--check")
            return Check(argv[2]);
        std::fprintf(stderr, "usage: artgen <output-dir>\n       artgen --check <dir>\n");
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "artgen: %s\n", e.what());
        return 1;
    }
}
