#include <gtest/gtest.h>

#include <string>

#include "app/PathCompose.h"

TEST(ComposePath, JoinsFolderBackslashAndName)
{
    char out[kPathBufferSize];
    EXPECT_EQ(24u, ComposePath(out, "C:\\Program Files", "Ada.ini"));
    EXPECT_STREQ("C:\\Program Files\\Ada.ini", out);
}

TEST(ComposePath, ADriveRootGetsASecondBackslashAsComposedText)
{
    // The folder is taken as the user chose it; "C:\" and "\" give "C:\\Ada.ini", which Windows accepts.
    char out[kPathBufferSize];
    ComposePath(out, "C:\\", "Ada.ini");
    EXPECT_STREQ("C:\\\\Ada.ini", out);
}

TEST(ComposePath, AFolderOf259CharactersLeavesNoRoomForTheRest)
{
    std::string folder(259, 'f');
    char out[kPathBufferSize];
    EXPECT_EQ(259u, ComposePath(out, folder.c_str(), "Ada.ini"));
    EXPECT_EQ(folder, out);
}

TEST(ComposePath, ALongerFolderIsCutAt259Characters)
{
    std::string folder(300, 'f');
    char out[kPathBufferSize];
    EXPECT_EQ(259u, ComposePath(out, folder.c_str(), "Ada.ini"));
    EXPECT_EQ(std::string(259, 'f'), out);
}

TEST(ComposePath, TheNameIsCutSoThatTheResultEndsWithin260Bytes)
{
    std::string folder(250, 'f');
    char out[kPathBufferSize];
    EXPECT_EQ(259u, ComposePath(out, folder.c_str(), "Lexaver.exe.manifest"));
    EXPECT_EQ(folder + "\\Lexaver.", out);

    std::string folder258(258, 'f');
    ComposePath(out, folder258.c_str(), "Ada.ini");
    EXPECT_EQ(folder258 + "\\", out);
}

TEST(ComposePath, MayComposeOntoItsOwnFolder)
{
    char out[kPathBufferSize] = "C:\\Windows";
    ComposePath(out, out, "Unlexa.exe");
    EXPECT_STREQ("C:\\Windows\\Unlexa.exe", out);
}

TEST(AppendToPath, StopsAtTheBufferEnd)
{
    char path[kPathBufferSize] = "C:";
    EXPECT_EQ(17u, AppendToPath(path, "\\Program Files\\"));
    std::string tail(400, 't');
    EXPECT_EQ(259u, AppendToPath(path, tail.c_str()));
    EXPECT_EQ('\0', path[259]);
}
