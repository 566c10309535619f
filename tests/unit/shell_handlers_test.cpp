// The shell handlers' own rules: class ids, thumbnail sides, stream bounds.
#include <gtest/gtest.h>

#include <set>

#include "shellext/handler_logic.h"

namespace floppex::shellext {

TEST(ShellHandlers, OneClassIdPerKindAndExtensionReadBackInAnyCase) {
    std::set<std::wstring> seen;
    for (const HandlerKind kind : {HandlerKind::Thumbnail, HandlerKind::Preview})
        for (const std::wstring_view extension : kExtensions) {
            std::wstring id = ClassId({kind, extension});
            for (wchar_t& c : id) c = static_cast<wchar_t>(towlower(c));
            const auto back = HandlerOf(id);
            EXPECT_TRUE(id.size() == 38 && back && back->kind == kind && back->extension == extension) << id;
            seen.insert(id);
        }
    EXPECT_EQ(seen.size(), 2 * kExtensions.size());
    EXPECT_FALSE(HandlerOf(L"{6C64F10B-5E11-4D8A-9C64-000000000300}"));
}

TEST(ShellHandlers, ThumbnailSidesAndStreamBounds) {
    EXPECT_FALSE(ThumbnailSide(0));
    for (const auto [asked, side] : {std::pair{32u, 32}, {1024u, 1024}, {1025u, 1024}, {2560u, 1024}})
        EXPECT_EQ(ThumbnailSide(asked), side) << asked;
    EXPECT_EQ(StreamByteLimit(L".zip"), 0u);
    for (const std::wstring_view extension : kExtensions)
        EXPECT_TRUE(StreamByteLimit(extension) > 819200 && StreamByteLimit(extension) <= 64 * 1024 * 1024 + 1);
}

}  // namespace floppex::shellext
