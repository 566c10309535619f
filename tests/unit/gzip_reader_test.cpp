// GZ reading against files made by gzip and contents given by gzip -dc; header fields gzip does not
// write come from a generator that follows RFC 1952 around a deflate stream made by zlib.
#include <gtest/gtest.h>
#include <zlib.h>

#include "archive/gzip_reader.h"
#include "archive_fixtures.h"

namespace floppex::archive {
namespace {

using floppex::testing::Fixture;

void PutLe32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// A gzip member with every optional header field: FEXTRA, FNAME, FCOMMENT, FHCRC.
std::vector<uint8_t> FullHeaderMember(const std::vector<uint8_t>& content, const std::string& name) {
    std::vector<uint8_t> out = {0x1F, 0x8B, 8, 2 | 4 | 8 | 16, 0, 0, 0, 0, 0, 3};
    out.insert(out.end(), {4, 0, 'a', 'b', 2, 0});  // XLEN 4: one subfield
    out.insert(out.end(), name.begin(), name.end());
    out.push_back(0);
    const std::string comment = "made by hand";
    out.insert(out.end(), comment.begin(), comment.end());
    out.push_back(0);
    const auto headerCrc = crc32(0L, out.data(), static_cast<uInt>(out.size()));
    out.push_back(static_cast<uint8_t>(headerCrc));
    out.push_back(static_cast<uint8_t>(headerCrc >> 8));
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::vector<uint8_t> packed(deflateBound(&z, static_cast<uLong>(content.size())));
    z.next_in = const_cast<Bytef*>(content.data());
    z.avail_in = static_cast<uInt>(content.size());
    z.next_out = packed.data();
    z.avail_out = static_cast<uInt>(packed.size());
    deflate(&z, Z_FINISH);
    packed.resize(z.total_out);
    deflateEnd(&z);
    out.insert(out.end(), packed.begin(), packed.end());
    PutLe32(out, static_cast<uint32_t>(crc32(0L, content.data(), static_cast<uInt>(content.size()))));
    PutLe32(out, static_cast<uint32_t>(content.size()));
    return out;
}

TEST(GzipReader, DecodesWhatGzipDecodes) {
    const ReadResult one = ReadGzip(Fixture("disk.d64.gz"), ExtractLimits{});
    ASSERT_TRUE(one.ok());
    ASSERT_EQ(one.members.size(), 1u);
    EXPECT_EQ(one.members[0].name, "game-disk1.d64");
    EXPECT_EQ(one.members[0].data, Fixture("disk.expected"));

    // Two members join into one file; the name is the first member's.
    const ReadResult multi = ReadGzip(Fixture("multi.gz"), ExtractLimits{});
    ASSERT_TRUE(multi.ok());
    EXPECT_EQ(multi.members[0].data, Fixture("multi.expected"));
    EXPECT_EQ(multi.members[0].name, "part1");

    const ReadResult noName = ReadGzip(Fixture("noname.d64.gz"), ExtractLimits{});
    ASSERT_TRUE(noName.ok());
    EXPECT_EQ(noName.members[0].name, "");
}

TEST(GzipReader, ReadsEveryOptionalHeaderFieldAndStripsFolders) {
    const auto content = Fixture("hello.prg");
    auto bytes = FullHeaderMember(content, "../some/folder/hello.prg");
    bytes.insert(bytes.end(), {0, 0, 0, 0});  // padding after the last member
    const ReadResult r = ReadGzip(bytes, ExtractLimits{});
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.members[0].name, "hello.prg");
    EXPECT_EQ(r.members[0].data, content);
}

TEST(GzipReader, RejectsDamageAndBombs) {
    const auto good = Fixture("disk.d64.gz");
    for (const size_t fromEnd : {8u, 4u, 1u}) {  // CRC, then ISIZE
        auto bad = good;
        bad[bad.size() - fromEnd] ^= 0x40;
        EXPECT_EQ(ReadGzip(bad, ExtractLimits{}).error, ReadError::Damaged) << fromEnd;
    }
    for (size_t n = 0; n < good.size(); n += 1 + n / 40) {
        const ReadResult r = ReadGzip(std::vector<uint8_t>(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n)),
                                      ExtractLimits{});
        EXPECT_FALSE(r.ok()) << "cut at " << n;
    }
    auto method = good;
    method[2] = 9;
    EXPECT_EQ(ReadGzip(method, ExtractLimits{}).error, ReadError::UnsupportedMethod);
    EXPECT_EQ(ReadGzip(Fixture("hello.prg"), ExtractLimits{}).error, ReadError::NotThisFormat);

    EXPECT_EQ(ReadGzip(Fixture("bomb.prg.gz"), ExtractLimits{}).error, ReadError::TooLarge);
    ExtractLimits tight;
    tight.maxMemberBytes = 174847;  // one byte short of the disk image
    EXPECT_EQ(ReadGzip(good, tight).error, ReadError::TooLarge);
    tight.maxMemberBytes = 174848;
    EXPECT_TRUE(ReadGzip(good, tight).ok());
}

}  // namespace
}  // namespace floppex::archive
