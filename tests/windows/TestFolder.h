// A fresh folder under the temporary folder for one test, removed afterwards.
#ifndef TESTS_TESTFOLDER_H
#define TESTS_TESTFOLDER_H

#include <windows.h>

#include <string>

class TestFolder {
public:
    explicit TestFolder(const char* name);
    ~TestFolder();
    const std::string& Path() const { return m_path; }
    std::string operator/(const std::string& name) const { return m_path + "\\" + name; }

    static void WriteFile(const std::string& path, const std::string& bytes);
    static bool Exists(const std::string& path);
    static bool IsFolder(const std::string& path);

private:
    std::string m_path;
};

#endif
