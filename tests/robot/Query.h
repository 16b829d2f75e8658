// Messages to another process's windows whose answer can be long in coming: the target's thread
// answers only when it next processes messages.
#ifndef ROBOT_QUERY_H
#define ROBOT_QUERY_H

#include <windows.h>

#include <functional>
#include <string>

// Sends the message from a helper thread and waits for the answer about two seconds at most,
// calling `whileWaiting` about every millisecond meanwhile. Gives up at once when the window is
// hidden, as windows are before they are destroyed: no answer would come then. With `text`, the
// message's lParam is a buffer whose text is returned there.
bool SendQuery(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR& result,
               std::wstring* text = nullptr, const std::function<void()>& whileWaiting = nullptr);

#endif
