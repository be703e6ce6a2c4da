// The resources built into Zephlaunch.exe: the version block, the manifest (readable
// as an activation context), every icon at the size the dialogs expect and every menu
// bitmap as a 16 x 15, 16-colour bitmap.
#include "art_ids.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace {

std::string ExePath()
{
    char dir[MAX_PATH] = {};
    DWORD n = ::GetEnvironmentVariableA("ZEPH_BIN_DIR", dir, sizeof dir);
    std::string folder = (n > 0 && n < sizeof dir) ? dir : ".";
    return folder + "/Zephlaunch.exe";
}

class GuiResources : public ::testing::Test {
protected:
    void SetUp() override
    {
        module = ::LoadLibraryExA(ExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module, nullptr) << ExePath() << " error = " << ::GetLastError();
    }
    void TearDown() override
    {
        if (module)
            ::FreeLibrary(module);
    }
    HMODULE module = nullptr;
};

TEST_F(GuiResources, VersionBlockCarriesTheProjectVersion)
{
    std::string path = ExePath();
    DWORD handle = 0;
    DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), &handle);
    ASSERT_GT(size, 0u) << "error = " << ::GetLastError();
    std::vector<char> data(size);
    ASSERT_TRUE(::GetFileVersionInfoA(path.c_str(), 0, size, data.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010001u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x000b0000u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010001u);
    char* text = nullptr;
    ASSERT_TRUE(::VerQueryValueA(data.data(), "\\StringFileInfo\\040904b0\\ProductVersion",
                                 reinterpret_cast<void**>(&text), &length));
    EXPECT_STREQ(text, ZEPH_PROJECT_VERSION);
    ASSERT_TRUE(::VerQueryValueA(data.data(), "\\StringFileInfo\\040904b0\\OriginalFilename",
                                 reinterpret_cast<void**>(&text), &length));
    EXPECT_STREQ(text, "Zephlaunch.exe");
}

TEST_F(GuiResources, ManifestIsAValidActivationContext)
{
    std::string path = ExePath();
    ACTCTXA context{};
    context.cbSize = sizeof context;
    context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    context.lpSource = path.c_str();
    context.lpResourceName = MAKEINTRESOURCEA(1);
    HANDLE actctx = ::CreateActCtxA(&context);
    EXPECT_NE(actctx, INVALID_HANDLE_VALUE) << "error = " << ::GetLastError();
    if (actctx != INVALID_HANDLE_VALUE)
        ::ReleaseActCtx(actctx);

    HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(found, nullptr);
    const char* xml = static_cast<const char*>(::LockResource(::LoadResource(module, found)));
    std::string manifest(xml, ::SizeofResource(module, found));
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(manifest.find("version=\"6.0.0.0\""), std::string::npos);
    EXPECT_NE(manifest.find("asInvoker"), std::string::npos);
}

TEST_F(GuiResources, IconsHaveTheSizesTheDialogsUse)
{
    struct Expect {
        UINT id;
        int natural;
    } icons[] = {{IDI_ZEPHLAUNCH, 32}, {IDI_SERVICES, 24}, {IDI_PROGRAMS, 24}, {IDI_CONFIGURE, 24},
                 {IDI_START, 24},      {IDI_SAVE, 24},     {IDI_RESET, 24},    {IDI_RUNNING, 24},
                 {IDI_DELETE, 24},     {IDI_BROWSE, 16},   {IDI_WEB, 16},      {IDI_EMAIL, 16},
                 {IDI_EDIT, 16},       {IDI_ADD, 16}};
    for (const Expect& e : icons) {
        HICON icon = static_cast<HICON>(
            ::LoadImageA(module, MAKEINTRESOURCEA(e.id), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
        ASSERT_NE(icon, nullptr) << "icon " << e.id;
        ICONINFO info{};
        ASSERT_TRUE(::GetIconInfo(icon, &info));
        EXPECT_EQ(static_cast<int>(info.xHotspot) * 2, e.natural) << "icon " << e.id;
        EXPECT_EQ(static_cast<int>(info.yHotspot) * 2, e.natural) << "icon " << e.id;
        ::DeleteObject(info.hbmColor);
        ::DeleteObject(info.hbmMask);
        ::DestroyIcon(icon);
        for (int size : {16, 32}) {
            HICON sized =
                static_cast<HICON>(::LoadImageA(module, MAKEINTRESOURCEA(e.id), IMAGE_ICON, size, size, 0));
            EXPECT_NE(sized, nullptr) << "icon " << e.id << " at " << size;
            if (sized)
                ::DestroyIcon(sized);
        }
    }
}

TEST_F(GuiResources, MenuBitmapsAre16By15With16Colours)
{
    for (UINT id : {IDB_EXIT, IDB_NEW, IDB_DELETE, IDB_CREATE_SHORTCUT, IDB_ABOUT, IDB_SERVICE_MANAGER,
                    IDB_PROGRAM_OPTIONS}) {
        HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2));
        ASSERT_NE(found, nullptr) << "bitmap " << id;
        const auto* header =
            static_cast<const BITMAPINFOHEADER*>(::LockResource(::LoadResource(module, found)));
        ASSERT_NE(header, nullptr);
        EXPECT_EQ(header->biWidth, 16) << id;
        EXPECT_EQ(header->biHeight, 15) << id;
        EXPECT_EQ(header->biBitCount, 4) << id;
    }
}

}  // namespace
