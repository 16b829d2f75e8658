#include "app/PathCompose.h"

std::size_t AppendToPath(char (&path)[kPathBufferSize], const char* text)
{
    std::size_t length = 0;
    while (length < kPathBufferSize - 1 && path[length]) ++length;
    while (*text && length < kPathBufferSize - 1) path[length++] = *text++;
    path[length] = '\0';
    return length;
}

std::size_t ComposePath(char (&out)[kPathBufferSize], const char* folder, const char* name)
{
    std::size_t length = 0;
    while (folder[length] && length < kPathBufferSize - 1) {
        out[length] = folder[length];
        ++length;
    }
    out[length] = '\0';
    AppendToPath(out, "\\");
    return AppendToPath(out, name);
}
