// bench-floor.exe SOURCE DESTINATION RESULT
// Copies setup's product files from SOURCE into DESTINATION (made when missing) with one
// CopyFileA each and nothing else, and writes to RESULT one JSON line with the time the copy took
// by its own clock: the floor that tools/bench.sh measures the installers' copy stages against.
// Exit code 0 when every file was copied, 1 otherwise, 2 for bad arguments.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "app/PathCompose.h"
#include "install/FileLists.h"

int main(int count, char** args)
{
    if (count != 4) {
        std::fprintf(stderr, "usage: bench-floor.exe SOURCE DESTINATION RESULT\n");
        return 2;
    }
    const char* source = args[1];
    const char* destination = args[2];

    LARGE_INTEGER frequency, started, ended;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&started);
    CreateDirectoryA(destination, nullptr);
    int files = 0;
    int failed = 0;
    for (const char* name = ProductFileList; name; name = NextName(name)) {
        char from[MAX_PATH];
        char to[MAX_PATH];
        ComposePath(from, source, name);
        ComposePath(to, destination, name);
        ++files;
        if (!CopyFileA(from, to, FALSE)) ++failed;
    }
    QueryPerformanceCounter(&ended);

    double ms = 1000.0 * double(ended.QuadPart - started.QuadPart) / double(frequency.QuadPart);
    FILE* result = std::fopen(args[3], "w");
    if (!result) return 2;
    std::fprintf(result, "{\"copy_ms\": %.3f, \"files\": %d, \"failed\": %d}\n", ms, files, failed);
    std::fclose(result);
    return failed == 0 ? 0 : 1;
}
