#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "TestFolder.h"
#include "install/PendingRenameFile.h"
#include "install/PendingRenames.h"

namespace {

std::string ReadBytes(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "(missing)";
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    if (!bytes.empty()) ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    return bytes;
}

const std::string kFirst = RenameLines("C:\\WIN\\SYSTEM\\MFC42.DLL", "C:\\WIN\\SYSTEM\\TEM1.TMP");
const std::string kSecond = RenameLines("C:\\WIN\\SYSTEM\\OLEPRO32.DLL", "C:\\WIN\\SYSTEM\\TEM2.TMP");

}  // namespace

TEST(PendingRenameFile, NewFileHoldsExactlyTheHeaderAndTheLinesInOrder)
{
    TestFolder windows("WininitNew");
    PendingRenameFile renames;
    ASSERT_TRUE(renames.Open(windows.Path().c_str()));
    EXPECT_EQ(windows / "Wininit.ini", renames.Path());
    // Nobody else may change it while it is open.
    HANDLE other = CreateFileA((windows / "Wininit.ini").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(INVALID_HANDLE_VALUE, other);
    if (other != INVALID_HANDLE_VALUE) CloseHandle(other);
    ASSERT_TRUE(renames.Add(kFirst));
    ASSERT_TRUE(renames.Add(kSecond));
    renames.Close();
    EXPECT_EQ("[rename]\r\n" + kFirst + kSecond, ReadBytes(windows / "Wininit.ini"));
}

TEST(PendingRenameFile, OtherProgramsContentStaysByteForByte)
{
    TestFolder windows("WininitMerge");
    const std::string head = "[Options]\r\nA=1\r\n[RENAME]\r\nNUL=C:\\OTHER.DLL\r\n";
    const std::string tail = "[Later]\r\nB=2";
    TestFolder::WriteFile(windows / "Wininit.ini", head + tail);
    {
        PendingRenameFile renames;
        ASSERT_TRUE(renames.Open(windows.Path().c_str()));
        ASSERT_TRUE(renames.Add(kFirst));
        ASSERT_TRUE(renames.Add(kSecond));
    }  // closed by its destructor
    EXPECT_EQ(head + kFirst + kSecond + tail, ReadBytes(windows / "Wininit.ini"));
}

TEST(PendingRenameFile, FileWithoutSectionOrLineEndGetsBoth)
{
    TestFolder windows("WininitAppend");
    TestFolder::WriteFile(windows / "Wininit.ini", "[Options]\r\nA=1");
    PendingRenameFile renames;
    ASSERT_TRUE(renames.Open(windows.Path().c_str()));
    ASSERT_TRUE(renames.Add(kFirst));
    renames.Close();
    EXPECT_EQ("[Options]\r\nA=1\r\n[rename]\r\n" + kFirst, ReadBytes(windows / "Wininit.ini"));
    EXPECT_FALSE(renames.IsOpen());
}
