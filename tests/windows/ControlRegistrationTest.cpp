// The control registration step with the control fixtures of tools/sample, which lie in
// ..\sample\fixtures\ from this program and mark a registration in HKCU\Software\LexaverTest.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "MessageBoxRecorder.h"
#include "TestFolder.h"
#include "app/SystemDlls.h"
#include "registration/ControlRegistration.h"
#include "registration/Registry.h"

namespace {

const char kNotFound[] = "Could not find the Lexaver.ocx component !";
const char kNotRegistered[] = "Could not register the Lexaver.ocx component !";
// Not the mode the step sets, so that a mode left behind by the step shows.
const UINT kCallerMode = SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX;

std::string FixturePath(const char* name)
{
    char module[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, module, sizeof module);
    std::string path(module, length);
    path = path.substr(0, path.rfind('\\'));
    return path.substr(0, path.rfind('\\') + 1) + "sample\\fixtures\\" + name;
}

std::string RegistrationMark()
{
    char mark[64] = {};
    if (ReadRegValue(HKEY_CURRENT_USER, "Software\\LexaverTest", "Registered", mark, sizeof mark) != ERROR_SUCCESS)
        return "";
    return mark;
}

class ControlRegistration : public ::testing::Test {
protected:
    // A folder of each test's own: a control whose load failed may keep its name from being
    // used again at once.
    TestFolder destination{::testing::UnitTest::GetInstance()->current_test_info()->name()};
    RunState state;

    void SetUp() override
    {
        DeleteRegKeyTree(HKEY_CURRENT_USER, "Software", "LexaverTest");
        lstrcpyA(state.destination, destination.Path().c_str());
        state.destinationLength = lstrlenA(state.destination);
    }
    void TearDown() override { DeleteRegKeyTree(HKEY_CURRENT_USER, "Software", "LexaverTest"); }

    void Install(const char* fixture, const char* as = "Lexaver.ocx")
    {
        ASSERT_TRUE(CopyFileA(FixturePath(fixture).c_str(), (destination / as).c_str(), FALSE)) << FixturePath(fixture);
    }

    // Runs the step under the caller's own error mode; returns the boxes it showed.
    std::vector<ShownMessageBox> Register()
    {
        SetErrorMode(kCallerMode);
        MessageBoxRecorder recorder;
        RegisterControl(state);
        std::vector<ShownMessageBox> shown = recorder.Stop();
        modeAfter = SetErrorMode(0);
        return shown;
    }

    bool ControlIsLoaded() const { return GetModuleHandleA((destination / "Lexaver.ocx").c_str()) != nullptr; }

    UINT modeAfter = 0;
};

::testing::AssertionResult IsStopMessage(const std::vector<ShownMessageBox>& shown, const char* text)
{
    if (shown.size() != 1) return ::testing::AssertionFailure() << shown.size() << " message boxes";
    if (shown[0].text != text) return ::testing::AssertionFailure() << "text \"" << shown[0].text << "\"";
    if (shown[0].icon != LoadIcon(nullptr, IDI_HAND)) return ::testing::AssertionFailure() << "not the stop icon";
    return ::testing::AssertionSuccess();
}

}  // namespace

TEST_F(ControlRegistration, ControlThatRegistersShowsNothingAndIsUnloaded)
{
    Install("RegisterOk.ocx");
    std::vector<ShownMessageBox> shown = Register();
    EXPECT_EQ("RegisterOk", RegistrationMark());
    EXPECT_TRUE(shown.empty());
    EXPECT_FALSE(ControlIsLoaded());
    EXPECT_EQ(kCallerMode, modeAfter);
}

TEST_F(ControlRegistration, FalseAndErrorResultsAreBothReportedAsNotRegistered)
{
    for (const char* fixture : {"RegisterFalse", "RegisterError"}) {
        SCOPED_TRACE(fixture);
        DeleteRegKeyTree(HKEY_CURRENT_USER, "Software", "LexaverTest");
        Install((std::string(fixture) + ".ocx").c_str());
        std::vector<ShownMessageBox> shown = Register();
        EXPECT_EQ(fixture, RegistrationMark());  // the entry point did run
        EXPECT_TRUE(IsStopMessage(shown, kNotRegistered));
        EXPECT_FALSE(ControlIsLoaded());
        EXPECT_EQ(kCallerMode, modeAfter);
    }
}

TEST_F(ControlRegistration, ModuleWithoutEntryPointIsNotFoundAndUnloaded)
{
    Install("NoRegisterExport.ocx");
    std::vector<ShownMessageBox> shown = Register();
    EXPECT_TRUE(IsStopMessage(shown, kNotFound));
    EXPECT_FALSE(ControlIsLoaded());
    EXPECT_EQ(kCallerMode, modeAfter);
}

TEST_F(ControlRegistration, MissingControlShowsOnlyItsOwnMessage)
{
    std::vector<ShownMessageBox> shown = Register();
    EXPECT_TRUE(IsStopMessage(shown, kNotFound));
    EXPECT_EQ(kCallerMode, modeAfter);
}

TEST_F(ControlRegistration, FileThatIsNoModuleIsNotFound)
{
    TestFolder::WriteFile(destination / "Lexaver.ocx", "MZ but nothing else");
    std::vector<ShownMessageBox> shown = Register();
    EXPECT_TRUE(IsStopMessage(shown, kNotFound));
    EXPECT_EQ(kCallerMode, modeAfter);
}

// Setup narrows its DLL search at start; the control's own DLLs beside it must still be found.
TEST_F(ControlRegistration, DllsBesideTheControlServeItsImports)
{
    NarrowDllSearchPath();
    Install("NeedsHelper.ocx");
    Install("LexaverHelper.dll", "LexaverHelper.dll");
    std::vector<ShownMessageBox> shown = Register();
    EXPECT_EQ("NeedsHelper", RegistrationMark());
    EXPECT_TRUE(shown.empty());
    EXPECT_FALSE(ControlIsLoaded());
    EXPECT_EQ(nullptr, GetModuleHandleA((destination / "LexaverHelper.dll").c_str()));
}

TEST_F(ControlRegistration, ControlWhoseImportIsMissingIsNotFound)
{
    NarrowDllSearchPath();
    Install("NeedsHelper.ocx");
    std::vector<ShownMessageBox> shown = Register();
    EXPECT_EQ("", RegistrationMark());
    EXPECT_TRUE(IsStopMessage(shown, kNotFound));
    EXPECT_EQ(kCallerMode, modeAfter);
}

TEST_F(ControlRegistration, AControlThatCreatesComObjectsWhileRegisteringFindsComReadyAndLeavesItAsItWas)
{
    Install("NeedsCom.ocx");
    std::vector<ShownMessageBox> shown = Register();
    EXPECT_EQ("NeedsCom", RegistrationMark());
    EXPECT_TRUE(shown.empty());
    // Initialised for the call only: the thread's first initialisation is still to come.
    EXPECT_EQ(S_OK, CoInitialize(nullptr));
    CoUninitialize();
}
