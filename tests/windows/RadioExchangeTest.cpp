#include <gtest/gtest.h>

#include <afxwin.h>

namespace {

const int kFirst = 5000;     // radio, starts the group
const int kSecond = 5001;    // radio
const int kLabel = 5002;     // a static inside the group: no index
const int kThird = 5003;     // radio
const int kNextGroup = 5004; // radio that starts the following group

// A window with the group above, its children in creation order.
class RadioWindow {
public:
    RadioWindow()
    {
        m_window = CreateWindowExA(0, "STATIC", "radios", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
        Add("BUTTON", kFirst, BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP);
        Add("BUTTON", kSecond, BS_AUTORADIOBUTTON);
        Add("STATIC", kLabel, SS_LEFT);
        Add("BUTTON", kThird, BS_AUTORADIOBUTTON);
        Add("BUTTON", kNextGroup, BS_AUTORADIOBUTTON | WS_GROUP);
        m_owner.Attach(m_window);
    }
    ~RadioWindow()
    {
        m_owner.Detach();
        DestroyWindow(m_window);
    }

    void Check(int id, bool checked) { SendMessageA(GetDlgItem(m_window, id), BM_SETCHECK, checked, 0); }
    bool IsChecked(int id) const { return SendMessageA(GetDlgItem(m_window, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

    int Save()
    {
        int value = 99;
        CDataExchange dx(&m_owner, TRUE);
        DDX_Radio(&dx, kFirst, value);
        return value;
    }
    void Load(int value)
    {
        CDataExchange dx(&m_owner, FALSE);
        DDX_Radio(&dx, kFirst, value);
    }

private:
    void Add(const char* cls, int id, DWORD style)
    {
        HWND child = CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | style, 0, 0, 50, 12, m_window,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
                                     nullptr);
        SetWindowPos(child, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }

    HWND m_window;
    CWnd m_owner;
};

}  // namespace

TEST(RadioExchange, LoadingChecksTheButtonOfThatIndexAndClearsTheRestOfTheGroup)
{
    RadioWindow window;
    window.Check(kFirst, true);
    window.Check(kNextGroup, true);
    window.Load(2);   // the static in between takes no index
    EXPECT_FALSE(window.IsChecked(kFirst));
    EXPECT_FALSE(window.IsChecked(kSecond));
    EXPECT_TRUE(window.IsChecked(kThird));
    EXPECT_TRUE(window.IsChecked(kNextGroup)) << "a button of the next group is not the exchange's";

    window.Load(-1);
    EXPECT_FALSE(window.IsChecked(kFirst));
    EXPECT_FALSE(window.IsChecked(kThird));
}

TEST(RadioExchange, SavingStoresTheIndexOfTheCheckedButtonOrMinusOne)
{
    RadioWindow window;
    window.Check(kSecond, true);
    EXPECT_EQ(1, window.Save());
    window.Check(kSecond, false);
    window.Check(kThird, true);
    EXPECT_EQ(2, window.Save());
    window.Check(kThird, false);
    window.Check(kNextGroup, true);
    EXPECT_EQ(-1, window.Save()) << "nothing checked in the group";
}
