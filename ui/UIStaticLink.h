// A text static turned into a link: underlined, in the link colour, with a hand pointer; a press of
// the left button opens its address through the shell.
#ifndef UI_UISTATICLINK_H
#define UI_UISTATICLINK_H

#include <afxwin.h>
#include <shellapi.h>

class UIStaticLink : public CStatic {
public:
    // A null address means that the first click takes the window text.
    UIStaticLink(LPCSTR url, BOOL deleteOnDestroy);
    ~UIStaticLink() override;

    static const CRuntimeClass classUIStaticLink;
    const CRuntimeClass* GetRuntimeClass() const override { return &classUIStaticLink; }
    static const MessageMap messageMap;
    const MessageMap* GetMessageMap() const override { return &messageMap; }

    CString m_url;
    COLORREF m_textColor;
    CFont m_underlineFont;   // the static's own font while the link lives
    BOOL m_deleteOnDestroy;

    static COLORREF LinkColor;
    static COLORREF VisitedColor;
    static HCURSOR s_handCursor;   // shared by every link and never destroyed
    static BOOL s_cursorSearched;

    // The calls that reach the user outside the window, replaceable so that tests can watch them.
    using BeepFunction = BOOL(WINAPI*)(UINT);
    using OpenFunction = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    static BeepFunction s_beep;
    static OpenFunction s_open;

protected:
    static const MessageMapEntry messageEntries[];
    void PreSubclassWindow() override;
    void PostNcDestroy() override;

    LRESULT OnNcHitTest(WPARAM, LPARAM);
    LRESULT CtlColor(WPARAM dc, LPARAM);
    LRESULT OnLButtonDown(WPARAM, LPARAM);
    LRESULT OnSetCursor(WPARAM, LPARAM);

private:
    static HCURSOR FindHandCursor();
};

#endif
