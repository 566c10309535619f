#pragma once
// ZIP archives: stored and deflated members, CRC-32 checked. The central directory is read when it
// is sound (a self-extractor in front is allowed for); otherwise the local headers are walked, data
// descriptors included, up to the central directory (an archive cut before it is damaged). ZIP64
// archives are reported as unsupported.
#include <cstdint>
#include <functional>
#include <span>
#include <string_view>

#include "archive/archive_member.h"

namespace floppex::archive {

// Tells which members to decode, by their stored name; members it refuses are not decoded at all.
using MemberFilter = std::function<bool(std::string_view name)>;

// Folders are skipped; entries beyond limits.maxMembers are not looked at. A wanted member that is encrypted or uses a method not decoded here is passed
// over; the result then carries Encrypted or UnsupportedMethod (detail: the method's name) next to the
// members that were decoded. Damaged and TooLarge stop the read; the members decoded before are kept.
ReadResult ReadZip(std::span<const uint8_t> bytes, const ExtractLimits& limits,
                   const MemberFilter& wanted = {});

}  // namespace floppex::archive
