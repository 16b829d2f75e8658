// Every text of every dialog fits its control in the language the test runs in: each static,
// button and edit text is measured with the control's own font, as the control draws it, against
// the control's client rectangle; so are the texts setup puts into the controls at run time.
// Message boxes size themselves and are not measured. Run once per language (LC_ALL under Wine,
// --language=xx names the one expected, so that a locale that did not take cannot pass for it).

#include <gtest/gtest.h>

#include <afxwin.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "install/FileLists.h"
#include "registration/FileTypesDlg.h"
#include "res/resource.h"
#include "ui/Percentage.h"

namespace {

WORD g_expectedLanguage = 0;   // primary language id
const char* g_languageName = "";

// Line breaks written as \n, so that a report stays one line per control.
std::string Utf8(std::wstring text)
{
    for (size_t at = text.find(L'\n'); at != std::wstring::npos; at = text.find(L'\n', at))
        text.replace(at, 1, L"\\n");
    if (text.empty()) return std::string();
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), (int)text.size(), nullptr, 0, nullptr, nullptr);
    std::string out(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), (int)text.size(), &out[0], size, nullptr, nullptr);
    return out;
}

std::wstring Wide(const char* ansi)
{
    int size = MultiByteToWideChar(CP_ACP, 0, ansi, -1, nullptr, 0);
    std::wstring out(size, L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi, -1, &out[0], size);
    out.resize(size - 1);
    return out;
}

std::wstring LoadText(UINT id)
{
    wchar_t text[2048] = {};
    LoadStringW(GetModuleHandleW(nullptr), id, text, 2048);
    return text;
}

std::wstring WindowText(HWND hwnd)
{
    wchar_t text[2048] = {};
    GetWindowTextW(hwnd, text, 2048);
    return text;
}

INT_PTR CALLBACK QuietDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// The template the resource loader picks for this language (a fallback where it has none),
// created hidden.
HWND CreateHidden(int templateId)
{
    // The progress bar's class, as setup registers it.
    static const bool registered = [] {
        HMODULE comctl = LoadLibraryW(L"comctl32.dll");
        auto init = comctl ? reinterpret_cast<void(WINAPI*)()>(GetProcAddress(comctl, "InitCommonControls")) : nullptr;
        if (init) init();
        return init != nullptr;
    }();
    if (!registered) return nullptr;
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(templateId), MAKEINTRESOURCEW(5) /* RT_DIALOG */);
    if (!found) return nullptr;
    const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    std::vector<BYTE> copy(data, data + SizeofResource(module, found));
    bool extended = copy.size() > 4 && copy[2] == 0xFF && copy[3] == 0xFF;
    DWORD* style = reinterpret_cast<DWORD*>(&copy[extended ? 12 : 0]);
    *style &= ~WS_VISIBLE;
    return CreateDialogIndirectParamW(module, reinterpret_cast<LPCDLGTEMPLATEW>(copy.data()), nullptr,
                                      QuietDialogProc, 0);
}

struct Misfit {
    std::string what;
};

class Measurer {
public:
    explicit Measurer(HWND dialog) : m_dialog(dialog), m_dc(GetDC(dialog)) {}
    ~Measurer() { ReleaseDC(m_dialog, m_dc); }

    // The size the control needs for `text` beside what it has, in pixels; empty when it fits.
    std::string Check(HWND control, const std::wstring& text)
    {
        wchar_t className[64] = {};
        GetClassNameW(control, className, 64);
        LONG style = GetWindowLongW(control, GWL_STYLE);
        RECT client;
        GetClientRect(control, &client);
        HGDIOBJ old = SelectObject(m_dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
        TEXTMETRICW metrics;
        GetTextMetricsW(m_dc, &metrics);
        std::string problem;
        if (!lstrcmpiW(className, L"Static")) {
            problem = CheckStatic(style, client, text);
        } else if (!lstrcmpiW(className, L"Button")) {
            problem = CheckButton(style, client, text, metrics);
        } else if (!lstrcmpiW(className, L"Edit")) {
            problem = CheckEdit(control, style, text);
        }
        SelectObject(m_dc, old);
        return problem;
    }

    // The caption beside the close box, in the caption font.
    std::string CheckCaption(const std::wstring& text)
    {
        NONCLIENTMETRICSW metrics = {};
        metrics.cbSize = sizeof metrics;
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        HFONT font = CreateFontIndirectW(&metrics.lfCaptionFont);
        HGDIOBJ old = SelectObject(m_dc, font);
        SIZE size = Extent(text, DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(m_dc, old);
        DeleteObject(font);
        RECT window;
        GetWindowRect(m_dialog, &window);
        int room = window.right - window.left - 2 * GetSystemMetrics(SM_CXDLGFRAME) - GetSystemMetrics(SM_CXSIZE) - 4;
        return Compare(size.cx, 0, room, 0);
    }

private:
    SIZE Extent(const std::wstring& text, UINT format, int width = 0)
    {
        RECT rect = {0, 0, width, 0};
        DrawTextW(m_dc, text.c_str(), (int)text.size(), &rect, format | DT_CALCRECT);
        SIZE size = {rect.right - rect.left, rect.bottom - rect.top};
        // The last letter of a line may reach past its advance (an italic-like overhang).
        ABC abc = {};
        if ((format & DT_SINGLELINE) && !text.empty() && GetCharABCWidthsW(m_dc, text.back(), text.back(), &abc) &&
            abc.abcC < 0)
            size.cx -= abc.abcC;
        return size;
    }

    static std::string Compare(int needWidth, int needHeight, int haveWidth, int haveHeight)
    {
        if (needWidth <= haveWidth && needHeight <= haveHeight) return std::string();
        return "needs " + std::to_string(needWidth) + "x" + std::to_string(needHeight) + " px, has " +
               std::to_string(haveWidth) + "x" + std::to_string(haveHeight);
    }

    // Statics draw with DrawText in their client rectangle: the word-wrapping kinds on as many
    // lines as the width makes, the others on one line.
    std::string CheckStatic(LONG style, const RECT& client, const std::wstring& text)
    {
        UINT prefix = (style & SS_NOPREFIX) ? DT_NOPREFIX : 0;
        switch (style & SS_TYPEMASK) {
        case SS_LEFT:
        case SS_CENTER:
        case SS_RIGHT: {
            SIZE size = Extent(text, DT_WORDBREAK | DT_EXPANDTABS | prefix, client.right);
            // A word as wide as the line or wider is cut, not wrapped, whatever the wrapped size says
            // (seen: an address exactly as wide as its static lost its last letter).
            for (size_t start = 0; start < text.size();) {
                size_t end = text.find_first_of(L" \n\t", start);
                if (end == std::wstring::npos) end = text.size();
                if (end > start)
                    size.cx = std::max(size.cx, Extent(text.substr(start, end - start), DT_SINGLELINE | prefix).cx + 1);
                start = end + 1;
            }
            return Compare(size.cx, size.cy, client.right, client.bottom);
        }
        case SS_SIMPLE:
        case SS_LEFTNOWORDWRAP: {
            SIZE size = Extent(text, DT_SINGLELINE | DT_EXPANDTABS | prefix);
            return Compare(size.cx, size.cy, client.right, client.bottom);
        }
        default:
            return std::string();   // icons, frames, pictures
        }
    }

    // Push buttons keep a border and the focus rectangle around their text; check boxes and radio
    // buttons put the box and a gap of half a digit's width before it; a group box's title
    // stands inside its frame's corners.
    std::string CheckButton(LONG style, const RECT& client, const std::wstring& text, const TEXTMETRICW& metrics)
    {
        SIZE size = Extent(text, DT_SINGLELINE);
        switch (style & BS_TYPEMASK) {
        case BS_PUSHBUTTON:
        case BS_DEFPUSHBUTTON: {
            int edge = 2 * GetSystemMetrics(SM_CXEDGE) + 2;
            return Compare(size.cx + edge, size.cy + edge, client.right, client.bottom);
        }
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
        case BS_3STATE:
        case BS_AUTO3STATE: {
            INT digit = 0;
            GetCharWidthW(m_dc, L'0', L'0', &digit);
            int box = GetSystemMetrics(SM_CXMENUCHECK);
            return Compare(box + digit / 2 + size.cx, size.cy, client.right, client.bottom);
        }
        case BS_GROUPBOX:
            return Compare(size.cx + 2 * metrics.tmAveCharWidth, size.cy, client.right, client.bottom);
        default:
            return std::string();
        }
    }

    // A multi-line edit wraps its text in its formatting rectangle; a single-line one that
    // scrolls shows any length.
    std::string CheckEdit(HWND control, LONG style, const std::wstring& text)
    {
        if (style & ES_AUTOHSCROLL) return std::string();
        RECT format = {};
        SendMessageW(control, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
        int width = format.right - format.left, height = format.bottom - format.top;
        UINT lines = (style & ES_MULTILINE) ? DT_WORDBREAK | DT_EDITCONTROL : DT_SINGLELINE;
        SIZE size = Extent(text, lines | DT_NOPREFIX | DT_EXPANDTABS, width);
        return Compare(size.cx, size.cy, width, height);
    }

    HWND m_dialog;
    HDC m_dc;
};

struct DialogCase {
    int templateId;
    const char* name;
};

// Every text the dialog shows: its template texts, then what setup puts into its controls.
std::vector<std::pair<int, std::wstring>> RunTimeTexts(int templateId)
{
    std::vector<std::pair<int, std::wstring>> texts;
    if (templateId == IDD_DESTINATION) {
        std::wstring product = LoadText(IDS_PRODUCT_NAME);
        wchar_t message[2048] = {};
        wsprintfW(message, LoadText(IDS_DESTINATION_MESSAGE).c_str(), product.c_str(), product.c_str());
        texts.push_back({IDC_MESSAGE, message});
    } else if (templateId == IDD_PROGRESS) {
        std::wstring format = LoadText(IDS_INSTALLING);
        std::vector<std::string> names;
        for (int i = 0; i < CountSystemLibraries(); ++i) names.push_back(SystemLibraryTable[i].name);
        for (const char* name = ProductFileList; name && *name; name = NextName(name)) names.push_back(name);
        for (const char* name = ObsoleteFileList; name && *name; name = NextName(name)) names.push_back(name);
        for (const std::string& name : names) {
            wchar_t line[512] = {};
            wsprintfW(line, format.c_str(), Wide(name.c_str()).c_str());
            texts.push_back({IDC_FILE_TEXT, line});
        }
        // The stage's range is its entries and one more: every position it reaches.
        for (int pos = 0; pos < StageTotal(); ++pos)
            texts.push_back({IDC_PERCENT, Wide(PercentText(ProgressPercent(pos, 0, StageTotal())).c_str())});
    } else if (templateId == IDD_FILE_TYPES) {
        CFileTypesDlg dialog;
        texts.push_back({IDC_TYPES, Wide(dialog.m_types)});
    }
    return texts;
}

// Controls whose size the product's description fixes and whose text it gives, which do not hold
// that text under Wine's fonts: reported, not failed. Any other misfit fails, and so does one of
// these once it fits (then it leaves this list).
struct KnownMisfit {
    const char* language;
    int templateId;
    int controlId;
};
const KnownMisfit kFixedByDescription[] = {
    {"en", IDD_FILE_TYPES, 0xFFFF},   // the prompt (254 x 25 units) and the label (22 units)
    {"fr", IDD_UPGRADE, 0xFFFF},      // the message, 140 x 25 units
    {"ru", IDD_RESTART, 0xFFFF},      // the prompt, 176 x 16 units in every language
};

bool IsKnown(int templateId, int controlId)
{
    for (const KnownMisfit& known : kFixedByDescription)
        if (known.templateId == templateId && known.controlId == controlId && !std::strcmp(known.language, g_languageName))
            return true;
    return false;
}

std::vector<std::string> Misfits(const DialogCase& dialogCase, std::vector<std::string>& reported)
{
    std::vector<std::string> found;
    bool knownFits = false;
    HWND dialog = CreateHidden(dialogCase.templateId);
    if (!dialog) return {"the template cannot be created"};
    Measurer measurer(dialog);
    std::wstring caption = dialogCase.templateId == IDD_PROGRESS ? LoadText(IDS_PROGRESS_CAPTION) : WindowText(dialog);
    std::string problem = measurer.CheckCaption(caption);
    if (!problem.empty()) found.push_back("caption \"" + Utf8(caption) + "\": " + problem);
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        std::wstring text = WindowText(child);
        if (text.empty()) continue;
        problem = measurer.Check(child, text);
        int id = GetDlgCtrlID(child) & 0xFFFF;
        bool known = IsKnown(dialogCase.templateId, id);
        if (!problem.empty())
            (known ? reported : found).push_back("control " + std::to_string(id) + " \"" + Utf8(text) + "\": " + problem);
        else if (known)
            knownFits = true;
    }
    for (const auto& entry : RunTimeTexts(dialogCase.templateId)) {
        problem = measurer.Check(GetDlgItem(dialog, entry.first), entry.second);
        if (!problem.empty())
            found.push_back("control " + std::to_string(entry.first) + " with \"" + Utf8(entry.second) + "\": " + problem);
    }
    DestroyWindow(dialog);
    if (knownFits && reported.empty())
        found.push_back("the control listed as too small for its text fits now: take it off the list");
    return found;
}

class DialogFit : public testing::TestWithParam<DialogCase> {};

std::string CaseName(const testing::TestParamInfo<DialogCase>& info) { return info.param.name; }

}  // namespace

TEST(DialogFitLanguage, TheSystemLanguageIsTheOneExpected)
{
    ASSERT_NE(0, g_expectedLanguage) << "run with --language=en|fr|it|ru|pt";
    EXPECT_EQ(g_expectedLanguage, PRIMARYLANGID(GetUserDefaultLangID())) << g_languageName;
    // The destination dialog exists in every language: the loader must find this one's own.
    EXPECT_EQ(g_expectedLanguage, PRIMARYLANGID(GetUserDefaultUILanguage()));
    HRSRC own = FindResourceExW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(5), MAKEINTRESOURCEW(IDD_DESTINATION),
                                GetUserDefaultUILanguage());
    EXPECT_NE(nullptr, own) << "no destination dialog in language " << std::hex << GetUserDefaultUILanguage();
}

TEST_P(DialogFit, EveryTextFitsItsControl)
{
    std::vector<std::string> reported;
    std::vector<std::string> misfits = Misfits(GetParam(), reported);
    for (const std::string& known : reported)
        std::printf("%s, dialog %d, too small where the description fixes the size: %s\n", g_languageName,
                    GetParam().templateId, known.c_str());
    std::string list;
    for (const std::string& misfit : misfits) list += "\n    " + misfit;
    EXPECT_TRUE(misfits.empty()) << g_languageName << ", dialog " << GetParam().templateId << ":" << list;
}

INSTANTIATE_TEST_SUITE_P(Templates, DialogFit,
                         testing::Values(DialogCase{IDD_DESTINATION, "Destination"}, DialogCase{IDD_PROGRESS, "Progress"},
                                         DialogCase{IDD_UPGRADE, "UpgradeNeeded"},
                                         DialogCase{IDD_FILE_TYPES, "FileTypes"}, DialogCase{IDD_RESTART, "Restart"}),
                         CaseName);

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    const struct { const char* name; WORD id; } languages[] = {
        {"en", LANG_ENGLISH}, {"fr", LANG_FRENCH}, {"it", LANG_ITALIAN}, {"ru", LANG_RUSSIAN}, {"pt", LANG_PORTUGUESE}};
    for (int i = 1; i < argc; ++i) {
        for (const auto& language : languages) {
            if (std::strcmp(argv[i], (std::string("--language=") + language.name).c_str()) == 0) {
                g_expectedLanguage = language.id;
                g_languageName = language.name;
            }
        }
    }
    return RUN_ALL_TESTS();
}
