#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "TestFolder.h"
#include "app/FileHelpers.h"

TEST(ReadWholeFile, ReadsTheFileFollowedByAZeroByte)
{
    TestFolder folder("ReadWhole");
    std::string bytes = std::string("PATH C:\\DOS\r\n", 13) + std::string("\0tail", 5);
    TestFolder::WriteFile(folder / "Autoexec.bat", bytes);
    HGLOBAL memory = nullptr;
    char* data = nullptr;
    DWORD length = 0;
    ASSERT_EQ(kReadWholeFileOk, ReadWholeFile((folder / "Autoexec.bat").c_str(), &memory, &data, &length));
    ASSERT_NE(nullptr, memory);
    ASSERT_NE(nullptr, data);
    EXPECT_EQ(bytes.size(), length) << "the zero byte within does not end it";
    EXPECT_GE(GlobalSize(memory), bytes.size() + 1);
    EXPECT_EQ(bytes, std::string(data, bytes.size()));
    EXPECT_EQ('\0', data[bytes.size()]);
    GlobalUnlock(memory);
    EXPECT_EQ(nullptr, GlobalFree(memory));
}

TEST(ReadWholeFile, AnEmptyFileGivesABlockOfOneZeroByte)
{
    TestFolder folder("ReadEmpty");
    TestFolder::WriteFile(folder / "empty.txt", "");
    HGLOBAL memory = nullptr;
    char* data = nullptr;
    ASSERT_EQ(kReadWholeFileOk, ReadWholeFile((folder / "empty.txt").c_str(), &memory, &data));
    ASSERT_NE(nullptr, data);
    EXPECT_EQ('\0', data[0]);
    GlobalUnlock(memory);
    GlobalFree(memory);
}

TEST(ReadWholeFile, AMissingFileAllocatesNothing)
{
    TestFolder folder("ReadMissing");
    HGLOBAL memory = reinterpret_cast<HGLOBAL>(1);
    char* data = reinterpret_cast<char*>(1);
    DWORD length = 1;
    EXPECT_EQ(kReadWholeFileNoOpen, ReadWholeFile((folder / "absent.txt").c_str(), &memory, &data, &length));
    EXPECT_EQ(nullptr, memory);
    EXPECT_EQ(nullptr, data);
    EXPECT_EQ(0u, length);
}

TEST(ReadWholeFile, AFileThatCannotBeOpenedAllocatesNothingAndStaysClosed)
{
    TestFolder folder("OpenFails");
    std::string path = folder / "busy.txt";
    TestFolder::WriteFile(path, "content");
    // A handle that shares nothing makes the open fail.
    HANDLE other = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, other);
    HGLOBAL memory = reinterpret_cast<HGLOBAL>(1);
    char* data = reinterpret_cast<char*>(1);
    EXPECT_EQ(kReadWholeFileNoOpen, ReadWholeFile(path.c_str(), &memory, &data));
    EXPECT_EQ(nullptr, memory);
    EXPECT_EQ(nullptr, data);
    CloseHandle(other);
}

TEST(ReadWholeFile, AFileWhoseLengthCannotBeToldIsNotRead)
{
    // A pipe has no length: it must not size a block, and nothing may stay allocated.
    HANDLE server = CreateNamedPipeA("\\\\.\\pipe\\LexaverReadWhole", PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE, 1, 64, 64, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, server);
    HGLOBAL memory = reinterpret_cast<HGLOBAL>(1);
    char* data = reinterpret_cast<char*>(1);
    EXPECT_EQ(kReadWholeFileNoRead, ReadWholeFile("\\\\.\\pipe\\LexaverReadWhole", &memory, &data));
    EXPECT_EQ(nullptr, memory);
    EXPECT_EQ(nullptr, data);
    CloseHandle(server);
}

TEST(GetFileLength, TellsTheLengthAndKeepsThePosition)
{
    TestFolder folder("Length");
    TestFolder::WriteFile(folder / "f.txt", "0123456789");
    HANDLE file = CreateFileA((folder / "f.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    SetFilePointer(file, 3, nullptr, FILE_BEGIN);
    EXPECT_EQ(10, GetFileLength(static_cast<HFILE>(HandleToLong(file))));
    EXPECT_EQ(3u, SetFilePointer(file, 0, nullptr, FILE_CURRENT));
    CloseHandle(file);
}

TEST(CreateParentFolders, CreatesEveryLevelButTheLast)
{
    TestFolder folder("Parents");
    std::string target = folder / "A\\B\\C";
    std::string buffer = target;
    EXPECT_EQ(0u, CreateParentFolders(&buffer[0]));
    EXPECT_EQ(target, buffer);
    EXPECT_TRUE(TestFolder::IsFolder(folder / "A"));
    EXPECT_TRUE(TestFolder::IsFolder(folder / "A\\B"));
    EXPECT_FALSE(TestFolder::Exists(folder / "A\\B\\C"));
}

TEST(CreateParentFolders, ATrailingBackslashCreatesTheLastNamedLevel)
{
    TestFolder folder("Trailing");
    std::string buffer = folder / "A\\";
    EXPECT_EQ(0u, CreateParentFolders(&buffer[0]));
    EXPECT_TRUE(TestFolder::IsFolder(folder / "A"));
}

TEST(CreateParentFolders, ExistingLevelsAreAccepted)
{
    TestFolder folder("Existing");
    CreateDirectoryA((folder / "A").c_str(), nullptr);
    std::string buffer = folder / "A\\B\\C";
    EXPECT_EQ(0u, CreateParentFolders(&buffer[0]));
    EXPECT_TRUE(TestFolder::IsFolder(folder / "A\\B"));
}

TEST(CreateParentFolders, StopsAtALevelThatCannotBeCreatedAndRestoresThePath)
{
    TestFolder folder("Blocked");
    TestFolder::WriteFile(folder / "file", "x");
    std::string target = folder / "file\\B\\C";
    std::string buffer = target;
    DWORD error = CreateParentFolders(&buffer[0]);
    EXPECT_NE(0u, error);
    EXPECT_NE(static_cast<DWORD>(ERROR_ALREADY_EXISTS), error);
    EXPECT_EQ(target, buffer);
    EXPECT_FALSE(TestFolder::Exists(folder / "file\\B"));
}
