#include "cli/file_kind.h"

namespace floppex::cli {

FileType KindOf(const std::filesystem::path& file) { return FileTypeOf(file.filename().native()); }

}  // namespace floppex::cli
