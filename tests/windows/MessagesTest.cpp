#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "SystemText.h"
#include "app/Messages.h"
#include "res/resource.h"

namespace {

std::string Compose(UINT id, const char* insert1, const char* insert2, DWORD code)
{
    return std::string(ComposeSystemErrorMessage(id, insert1, insert2, code));
}

}  // namespace

TEST(SystemErrorMessage, PathThenSystemTextThenTheRestOnTheNextLine)
{
    std::string system = SystemText(ERROR_ACCESS_DENIED);
    ASSERT_GE(system.size(), 2u);
    ASSERT_EQ("\r\n", system.substr(system.size() - 2)) << "the system text is expected to end its line";

    std::string text = Compose(IDS_SYSTEM_DLL_ACCESS, "C:\\WINDOWS\\SYSTEM\\Mfc42.dll", nullptr,
                                                 ERROR_ACCESS_DENIED);
    EXPECT_EQ("Could not update the C:\\WINDOWS\\SYSTEM\\Mfc42.dll system dll : " + system +
                  " Please give write access rights or logon again as administrator !",
              text);
}

TEST(SystemErrorMessage, OneInsertAndTheFileNotFoundText)
{
    std::string text = Compose(IDS_FILE_ACCESS, "C:\\dist\\Lexaver.ocx", nullptr, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ("Could not access file C:\\dist\\Lexaver.ocx : " + SystemText(ERROR_FILE_NOT_FOUND), text);
}

TEST(SystemErrorMessage, TwoInsertsComeBeforeTheSystemText)
{
    std::string text = Compose(IDS_COPYING, "C:\\dist\\Msvcrt.dll", "C:\\WINDOWS\\SYSTEM\\temp1.tmp",
                                                 ERROR_DISK_FULL);
    EXPECT_EQ("Copying C:\\dist\\Msvcrt.dll to C:\\WINDOWS\\SYSTEM\\temp1.tmp : " + SystemText(ERROR_DISK_FULL), text);
}

TEST(SystemErrorMessage, ACodeWithoutSystemTextLeavesItsInsertEmpty)
{
    const DWORD unknown = 0x2FFFFFF0;
    ASSERT_EQ("", SystemText(unknown));
    EXPECT_EQ("Could not create directory C:\\x : ", Compose(IDS_CREATE_DIRECTORY, "C:\\x", nullptr, unknown));
}

TEST(SystemErrorMessage, AVeryLongInsertIsCutToTheBuffer)
{
    std::string path(3000, 'p');
    std::string text = Compose(IDS_FILE_ACCESS, path.c_str(), nullptr, ERROR_FILE_NOT_FOUND);
    EXPECT_LT(text.size(), 1024u);
    EXPECT_EQ(0u, text.find("Could not access file ppp"));
}

TEST(SystemErrorMessage, ASystemTextWithInsertsKeepsThemAsTheyAre)
{
    // There are no arguments for the inserts of such a text: nothing may be read for them.
    DWORD code = 1;
    while (code < 16000 && SystemText(code).find("%1") == std::string::npos) ++code;
    ASSERT_LT(code, 16000u) << "no system text with inserts";
    EXPECT_EQ("Could not access file A:\\Lexaver.ocx : " + SystemText(code),
              Compose(IDS_FILE_ACCESS, "A:\\Lexaver.ocx", nullptr, code));
}
