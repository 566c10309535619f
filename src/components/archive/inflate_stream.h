#pragma once
// One raw deflate stream (no zlib or gzip wrapper) through zlib, with a cap on what it may produce.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace floppex::archive {

enum class InflateStatus { Ok, Damaged, TooLarge };

struct InflateOutcome {
    InflateStatus status = InflateStatus::Damaged;
    size_t consumed = 0;  // input bytes up to the end of the stream
};

// Appends the decoded stream to out. Output beyond maxOut bytes stops the decoding with TooLarge;
// input that ends before the stream does is Damaged. expected: the size the container states (0
// when it states none); room for it, within maxOut, is made once instead of in steps.
InflateOutcome InflateRaw(std::span<const uint8_t> in, size_t maxOut, std::vector<uint8_t>& out,
                          size_t expected = 0);

}  // namespace floppex::archive
