#include "cli/file_kind.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <span>
#include <string_view>
#include <vector>

#include "archive/lynx_reader.h"

namespace floppex::cli {

namespace {

// Enough for a Lynx archive's BASIC stub (at most 1024 bytes) and its directory's first line.
constexpr size_t kHeadBytes = 2048;

std::vector<uint8_t> Head(const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) return {};  // a pipe is never read
    std::vector<uint8_t> head(kHeadBytes);
    std::ifstream in(file, std::ios::binary);
    in.read(reinterpret_cast<char*>(head.data()), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<size_t>(std::max<std::streamsize>(0, in.gcount())));
    return head;
}

FileType KindOfContent(std::span<const uint8_t> head) {
    const auto starts = [head](std::string_view signature) {
        return head.size() >= signature.size() && std::equal(signature.begin(), signature.end(), head.begin());
    };
    using namespace std::string_view_literals;
    if (starts("GCR-1541") || starts("\x43\x15\x41\x64"sv)) return FileType::Disk;
    if (starts("C64File\0"sv)) return FileType::PcFirst;
    if (starts("C64-TAPE-RAW")) return FileType::RawTape;
    if (starts("C64 CARTRIDGE   ")) return FileType::Cartridge;
    if (starts("C64 tape") || starts("C64S tape")) return FileType::Tape;
    if (archive::LooksLikeLynx(head)) return FileType::Archive;
    return FileType::Other;
}

}  // namespace

FileType KindOf(const std::filesystem::path& file) {
    const FileType named = FileTypeOf(file.filename().native());
    return named != FileType::Other ? named : KindOfContent(Head(file));
}

}  // namespace floppex::cli
