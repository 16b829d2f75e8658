#include "app/PathCompose.h"

bool AppendToPath(char (&path)[kPathBufferSize], const char* text)
{
    std::size_t length = 0;
    while (length < kPathBufferSize - 1 && path[length]) ++length;
    while (*text && length < kPathBufferSize - 1) path[length++] = *text++;
    if (*text) {
        path[0] = '\0';
        return false;
    }
    path[length] = '\0';
    return true;
}

bool ComposePath(char (&out)[kPathBufferSize], const char* folder, const char* name)
{
    std::size_t length = 0;
    while (folder[length] && length < kPathBufferSize - 1) {
        out[length] = folder[length];
        ++length;
    }
    if (folder[length]) {
        out[0] = '\0';
        return false;
    }
    out[length] = '\0';
    return AppendToPath(out, "\\") && AppendToPath(out, name);
}

void JoinForMessage(char (&out)[2 * kPathBufferSize], const char* folder, const char* name)
{
    const char* pieces[] = {folder, "\\", name};
    std::size_t length = 0;
    for (const char* piece : pieces)
        while (*piece && length < sizeof out - 1) out[length++] = *piece++;
    out[length] = '\0';
}
