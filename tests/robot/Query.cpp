#include "Query.h"

namespace {

const UINT AnswerTimeoutMs = 2000;
const size_t TextCapacity = 8192;

// Shared by the waiting robot and the helper thread; whoever finishes last frees it, so an
// abandoned query can still complete into valid memory.
struct PendingQuery {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    bool wantsText = false;
    wchar_t text[TextCapacity];
    DWORD_PTR result = 0;
    BOOL answered = FALSE;
    HANDLE done = nullptr;
    LONG owners = 2;
};

void Release(PendingQuery* query)
{
    if (InterlockedDecrement(&query->owners) == 0) {
        CloseHandle(query->done);
        delete query;
    }
}

DWORD WINAPI Deliver(void* parameter)
{
    auto* query = static_cast<PendingQuery*>(parameter);
    LPARAM lParam = query->wantsText ? reinterpret_cast<LPARAM>(query->text) : query->lParam;
    query->answered = SendMessageTimeoutW(query->hwnd, query->message, query->wParam, lParam, SMTO_ABORTIFHUNG,
                                          AnswerTimeoutMs, &query->result) != 0;
    SetEvent(query->done);
    Release(query);
    return 0;
}

}  // namespace

bool SendQuery(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR& result, std::wstring* text,
               const std::function<void()>& whileWaiting)
{
    if (!IsWindowVisible(hwnd)) return false;
    auto* query = new PendingQuery;
    query->hwnd = hwnd;
    query->message = message;
    query->wParam = text ? (WPARAM)TextCapacity : wParam;
    query->lParam = lParam;
    query->wantsText = text != nullptr;
    query->text[0] = L'\0';
    query->done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread = query->done ? CreateThread(nullptr, 0, Deliver, query, 0, nullptr) : nullptr;
    if (!thread) {
        if (query->done) CloseHandle(query->done);
        delete query;
        return false;
    }
    CloseHandle(thread);

    bool answered = false;
    DWORD start = GetTickCount();
    for (;;) {
        if (WaitForSingleObject(query->done, 1) == WAIT_OBJECT_0) {
            answered = query->answered != FALSE;
            break;
        }
        if (whileWaiting) whileWaiting();
        if (!IsWindowVisible(hwnd) || GetTickCount() - start > AnswerTimeoutMs + 100) break;
    }
    if (answered) {
        result = query->result;
        if (text) {
            size_t length = query->result < TextCapacity ? (size_t)query->result : TextCapacity - 1;
            text->assign(query->text, length);
        }
    }
    Release(query);
    return answered;
}
