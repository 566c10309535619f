#include "driver/program_folder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>

#include "driver/paths.h"

namespace floppex::e2e {

namespace {

std::wstring CurrentTestName() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    if (!info) return L"outside-test";
    return Widen(std::string(info->test_suite_name()) + "." + info->name());
}

}  // namespace

ProgramFolder::ProgramFolder(const std::wstring& parent) {
    std::filesystem::path folder(WorkRoot());
    if (!parent.empty()) folder /= parent;
    folder /= CurrentTestName();
    std::error_code error;
    std::filesystem::remove_all(folder, error);
    std::filesystem::create_directories(folder, error);
    path_ = folder.wstring();
    if (!CopyOneFile(FloppexExe(), Exe())) ADD_FAILURE() << "cannot copy Floppex.exe into " << Narrow(path_);
}

std::wstring ProgramFolder::AddFixture(const std::wstring& fixture, const std::wstring& name) const {
    const std::wstring target = File(name);
    if (!CopyOneFile(FixturePath(fixture), target)) ADD_FAILURE() << "missing fixture " << Narrow(fixture);
    return target;
}

}  // namespace floppex::e2e
