#pragma once
// The LHA decompressors. Each fills out with exactly size bytes unpacked from packed and returns
// false when the packed data is damaged: a code that is not in its table, a bad table, or a
// stream that ends before size bytes came out.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace floppex::archive {

// -lh1-: adaptive Huffman codes, 4 KiB window.
bool DecodeLh1(std::span<const uint8_t> packed, size_t size, std::vector<uint8_t>& out);

// -lh4- to -lh7-: blocks of static Huffman codes; the window is 2^dictionaryBits bytes (12..16).
bool DecodeLh5(std::span<const uint8_t> packed, int dictionaryBits, size_t size, std::vector<uint8_t>& out);

// -lz5-: LArc's byte-aligned codes over a preset 4 KiB window.
bool DecodeLz5(std::span<const uint8_t> packed, size_t size, std::vector<uint8_t>& out);

// -lzs-: LArc's older bit-aligned codes over a 2 KiB window.
bool DecodeLzs(std::span<const uint8_t> packed, size_t size, std::vector<uint8_t>& out);

}  // namespace floppex::archive
