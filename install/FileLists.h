// The fixed lists of the file installation stage.
#ifndef INSTALL_FILELISTS_H
#define INSTALL_FILELISTS_H

// Blocks of zero-terminated names closed by an empty name.
extern const char ProductFileList[];
extern const char ObsoleteFileList[];

struct SystemLibrary {
    const char* name;   // empty in the closing record
    unsigned short minimumMajor;
    unsigned short minimumMinor;
    unsigned short minimumBuild;
};

extern const SystemLibrary SystemLibraryTable[];

// The name after the given one in a name block, or null after the last.
const char* NextName(const char* name);
int CountNames(const char* block);
// The length of the block's longest name.
int LongestName(const char* block);
int CountSystemLibraries();

// Entries of the whole stage: libraries, product files, obsolete files, and one more so that the
// bar stops short of its end.
int StageTotal();

#endif
