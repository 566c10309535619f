// Damaged LHA archives: cut short anywhere, or with a byte changed in a header or in packed data.
// The reader must never hand back wrong bytes as good: either it fails, or what it returns is
// exactly what the intact archive holds.
#include <gtest/gtest.h>

#include "archive/lha_reader.h"
#include "lha_test_files.h"

namespace floppex::archive {
namespace {

using namespace floppex::lha_test;

struct Sample {
    const char* label;
    fs::path path;
};

void PrintTo(const Sample& sample, std::ostream* os) { *os << sample.path; }

// One archive per decoder: jlha's lh5 and lh7 (header levels 1 and 2), and from lhasa's
// collection LHarc's lh1, LArc's lz5 and lzs, and LHA's lh6 (level 0, Unix).
std::vector<Sample> Samples() {
    fs::path corpus = FixtureDir() / "corpus" / "archives";
    return {{"lh5", FixtureDir() / "gen" / "l1_5.lzh"},
            {"lh7", FixtureDir() / "gen" / "l2_7.lzh"},
            {"lh1", corpus / "lharc113" / "lh1.lzh"},
            {"lz5", corpus / "larc333" / "lz5.lzs"},
            {"lzs", corpus / "generated" / "lzs" / "lzs.lzs"},
            {"lh6", corpus / "lha_unix114i" / "h0_lh6.lzh"}};
}

uint32_t Le32(const Bytes& b, size_t at) {
    return static_cast<uint32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16) | static_cast<uint32_t>(b[at + 3]) << 24;
}

// Size of the header at pos, read the published way: levels 0 and 1 store it less two bytes in
// byte 0, level 2 in bytes 0-1.
size_t HeaderSize(const Bytes& b, size_t pos) {
    return b[pos + 20] == 2 ? size_t{b[pos]} | size_t{b[pos + 1]} << 8 : size_t{b[pos]} + 2;
}

// Where each member's header starts: after the previous header and its packed data (which
// includes the extended headers at level 1).
std::vector<size_t> HeaderOffsets(const Bytes& b) {
    std::vector<size_t> offsets;
    for (size_t pos = 0; pos + 22 <= b.size() && b[pos] != 0;) {
        offsets.push_back(pos);
        pos += HeaderSize(b, pos) + Le32(b, pos + 7);
    }
    return offsets;
}

// Names are compared too unless sameNames is false: no checksum covers the type byte of a
// level 1 extended header, so a change there can turn the header CRC into a file name.
void ExpectNoWrongBytes(const ReadResult& damaged, const ReadResult& intact, bool sameNames = true) {
    ASSERT_LE(damaged.members.size(), intact.members.size());
    for (size_t i = 0; i < damaged.members.size(); ++i) {
        if (sameNames) EXPECT_EQ(damaged.members[i].name, intact.members[i].name);
        EXPECT_TRUE(damaged.members[i].data == intact.members[i].data) << "member " << i << " differs";
    }
}

class LhaDamageTest : public ::testing::TestWithParam<Sample> {
protected:
    void SetUp() override {
        bytes_ = ReadBytes(GetParam().path);
        ASSERT_GT(bytes_.size(), 64u) << GetParam().path << " missing (fixtures)";
        intact_ = ReadLha(bytes_, ExtractLimits{});
        ASSERT_TRUE(intact_.ok()) << intact_.detail;
        ASSERT_FALSE(intact_.members.empty());
    }
    Bytes bytes_;
    ReadResult intact_;
};

TEST_P(LhaDamageTest, CutShortAnywhereFailsOrKeepsOnlyWholeMembers) {
    size_t step = bytes_.size() / 300 + 1;
    size_t headerSize = HeaderSize(bytes_, 0);
    for (size_t cut = 0; cut < bytes_.size(); cut += step) {
        SCOPED_TRACE("cut at " + std::to_string(cut));
        ReadResult result = ReadLha(std::span(bytes_).first(cut), ExtractLimits{});
        ExpectNoWrongBytes(result, intact_);
        if (result.ok()) {
            // Only a cut between members (or of the end marker) leaves a readable archive.
            EXPECT_TRUE(result.members.size() < intact_.members.size() || cut + 1 >= bytes_.size());
        } else if (cut >= headerSize) {
            EXPECT_EQ(result.error, ReadError::Damaged) << result.detail;
        } else {
            EXPECT_TRUE(result.error == ReadError::NotThisFormat || result.error == ReadError::Damaged);
        }
    }
}

TEST_P(LhaDamageTest, ChangedByteFailsOrChangesNothing) {
    // Every byte of every member's fixed header fields, and packed data here and there.
    auto headers = HeaderOffsets(bytes_);
    ASSERT_EQ(headers.size(), intact_.members.size());
    std::vector<size_t> positions;
    for (size_t header : headers) {
        for (size_t i = header; i < header + 22; ++i) positions.push_back(i);
    }
    for (size_t i = 0; i < bytes_.size(); i += bytes_.size() / 200 + 1) positions.push_back(i);
    for (size_t at : positions) {
        for (uint8_t mask : {uint8_t{0x01}, uint8_t{0x80}, uint8_t{0xFF}}) {
            SCOPED_TRACE("byte " + std::to_string(at) + " xor " + std::to_string(mask));
            Bytes changed = bytes_;
            changed[at] ^= mask;
            ReadResult result = ReadLha(changed, ExtractLimits{});
            if (result.error != ReadError::UnsupportedMethod) ExpectNoWrongBytes(result, intact_, false);
            if (result.ok()) EXPECT_EQ(result.members.size(), intact_.members.size());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Decoders, LhaDamageTest, ::testing::ValuesIn(Samples()),
                         [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace floppex::archive
