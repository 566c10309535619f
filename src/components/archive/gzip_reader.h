#pragma once
// GZ files: one or more gzip members, each checked against its CRC-32 and length. The members'
// contents join into one file, as gzip -d gives it.
#include <cstdint>
#include <span>

#include "archive/archive_member.h"

namespace floppex::archive {

// One member named by the first header's FNAME field (empty when there is none), folders stripped.
// Bytes after the last member that do not start another one are ignored, as gzip -d does.
ReadResult ReadGzip(std::span<const uint8_t> bytes, const ExtractLimits& limits);

}  // namespace floppex::archive
