// Files dragged from another program onto the contents list.
#include <ole2.h>

#include "dialog_driver.h"

namespace floppex::e2e {
namespace {

// Only a file list whose first file can be opened is taken, as a copy, and that file is opened;
// anything else is refused while it is dragged, so nothing is dropped and no message is shown.
TEST(DropTest, FirstFileOfAListIsOpenedAnythingElseIsRefusedWhileDragging) {
    // No files: data that fails every call; a length: the list made that long with text files.
    struct Case { std::vector<std::wstring> files; size_t length; DWORD effect; const wchar_t* label; };
    const Case cases[] = {
        {{L"demo.d64"}, 0, DROPEFFECT_COPY, L"demo.d64"},
        {{L"game.zip", L"demo.d64"}, 0, DROPEFFECT_COPY, L"currgame.d64"},
        {{L"demo.d81", L"notes.txt"}, 0, DROPEFFECT_COPY, L"demo.d81"},
        {{L"notes.txt", L"demo.d64"}, 0, DROPEFFECT_NONE, kNoGameLoaded},
        {{}, 0, DROPEFFECT_NONE, kNoGameLoaded},
        {{L"demo.d64"}, 10000, DROPEFFECT_COPY, L"demo.d64"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.files.empty() ? L"failing data" : c.files[0]);
        const ProgramFolder folder;
        for (const wchar_t* fixture : {L"demo.d64", L"demo.d81", L"game.zip"}) folder.AddFixture(fixture, fixture);
        std::vector<std::wstring> paths;
        for (const std::wstring& file : c.files) paths.push_back(folder.File(file));
        AppProcess app(folder.Exe(), L"");
        const MainWindow window = WaitForListing(app, kNoGameLoaded);
        EXPECT_EQ(DragOntoList(window, paths, c.length), std::optional(c.effect));
        EXPECT_TRUE(window.WaitForFileLabel(c.label));
        EXPECT_FALSE(FirstVisible(app.Pid(), L"#32770")) << "a message was shown";
        if (c.length) EXPECT_TRUE(SavePicture(window.Handle(), L"list"));
    }
}

}  // namespace
}  // namespace floppex::e2e
