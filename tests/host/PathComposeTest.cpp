#include <gtest/gtest.h>

#include <string>

#include "app/PathCompose.h"

TEST(ComposePath, JoinsFolderBackslashAndName)
{
    char out[kPathBufferSize];
    EXPECT_TRUE(ComposePath(out, "C:\\Program Files", "Ada.ini"));
    EXPECT_STREQ("C:\\Program Files\\Ada.ini", out);
}

TEST(ComposePath, ADriveRootGetsASecondBackslashAsComposedText)
{
    // The folder is taken as the user chose it; "C:\" and "\" give "C:\\Ada.ini", which Windows accepts.
    char out[kPathBufferSize];
    ComposePath(out, "C:\\", "Ada.ini");
    EXPECT_STREQ("C:\\\\Ada.ini", out);
}

TEST(ComposePath, APathThatDoesNotFitIsRefusedNeverCutIntoAnother)
{
    // Cut, "...\Lexaver.exe.manifest" would have become "...\Lexaver.exe", the editor itself.
    char out[kPathBufferSize] = "old";
    std::string folder(239, 'f');
    EXPECT_FALSE(ComposePath(out, folder.c_str(), "Lexaver.exe.manifest"));
    EXPECT_STREQ("", out);

    std::string longFolder(300, 'f');
    EXPECT_FALSE(ComposePath(out, longFolder.c_str(), "Ada.ini"));
    EXPECT_STREQ("", out);
}

TEST(ComposePath, TheLongestPathThatFitsHas259Characters)
{
    std::string folder(238, 'f');
    char out[kPathBufferSize];
    EXPECT_TRUE(ComposePath(out, folder.c_str(), "Lexaver.exe.manifest"));
    EXPECT_EQ(folder + "\\Lexaver.exe.manifest", out);
    EXPECT_EQ(259u, std::string(out).size());
}

TEST(ComposePath, MayComposeOntoItsOwnFolder)
{
    char out[kPathBufferSize] = "C:\\Windows";
    ComposePath(out, out, "Unlexa.exe");
    EXPECT_STREQ("C:\\Windows\\Unlexa.exe", out);
}

TEST(AppendToPath, AppendsWhatFitsAndRefusesWhatDoesNot)
{
    char path[kPathBufferSize] = "C:";
    EXPECT_TRUE(AppendToPath(path, "\\Program Files\\"));
    EXPECT_STREQ("C:\\Program Files\\", path);
    EXPECT_TRUE(AppendToPath(path, std::string(259 - 17, 't').c_str()));
    EXPECT_EQ(259u, std::string(path).size());
    char other[kPathBufferSize] = "C:";
    EXPECT_FALSE(AppendToPath(other, std::string(258, 't').c_str()));
    EXPECT_STREQ("", other);
}
