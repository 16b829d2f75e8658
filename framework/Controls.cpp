#include "Controls.h"

const CRuntimeClass CStatic::classCStatic = {"CStatic", &CWnd::classCWnd};

BOOL CFont::CreateFontIndirect(const LOGFONTA* font)
{
    DeleteObject();
    m_hObject = ::CreateFontIndirectA(font);
    return m_hObject != nullptr;
}

BOOL CFont::DeleteObject()
{
    if (!m_hObject) return FALSE;
    BOOL deleted = ::DeleteObject(m_hObject);
    m_hObject = nullptr;
    return deleted;
}
