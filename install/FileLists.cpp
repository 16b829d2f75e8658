#include "install/FileLists.h"

const char ProductFileList[] =
    "Ada.ini\0" "American.vtd\0" "Asm.ini\0" "Basic.ini\0" "Batfiles.ini\0" "Cobol.ini\0"
    "Corba.ini\0" "Cpp.ini\0" "Css.dll\0" "Css.ini\0" "Default.dll\0" "Default.ini\0"
    "Lexaver.exe\0" "Lexaver.exe.manifest\0" "Lexaver.ocx\0" "LxXsamp.zip\0" "Lexaver.pub\0"
    "Eiffel.ini\0" "Fortran.dll\0" "Fortran.ini\0" "French.vtd\0" "Generic.dll\0" "HelpFr.cnt\0"
    "HelpFr.hlp\0" "HelpIt.cnt\0" "HelpIt.hlp\0" "HelpPt.cnt\0" "HelpPt.hlp\0" "HelpRu.cnt\0"
    "HelpRu.hlp\0" "HelpUs.cnt\0" "HelpUs.hlp\0" "Html.dll\0" "Html.ini\0" "Inifiles.dll\0"
    "Inifiles.ini\0" "Italian.vtd\0" "Java.ini\0" "Latex.dll\0" "Latex.ini\0" "Lisp.ini\0"
    "Matlab.ini\0" "Ocx.hlp\0" "Opl.ini\0" "Pascal.ini\0" "Perl.ini\0" "Pov.ini\0"
    "Progress.ini\0" "Python.ini\0" "ReadmeFr.doc\0" "ReadmeIt.doc\0" "ReadmePt.doc\0"
    "ReadmeRu.doc\0" "ReadmeUs.doc\0" "Rexx.ini\0" "Spell.dll\0" "Sql.ini\0" "SyntPack.zip\0"
    "TipsFr.txt\0" "TipsIt.txt\0" "TipsPt.txt\0" "TipsRu.txt\0" "TipsUs.txt\0" "Xml.dll\0"
    "Xml.ini\0";  // the literal's own zero closes the block

const char ObsoleteFileList[] = "C#.ini\0" "C++.ini\0";

const SystemLibrary SystemLibraryTable[] = {
    {"Mfc42.dll", 4, 21, 0},
    {"Msvcrt.dll", 5, 0, 0},
    {"Oleaut32.dll", 2, 20, 4054},
    {"Olepro32.dll", 5, 0, 4055},
    {"", 0, 0, 0},
};

const char* NextName(const char* name)
{
    while (*name) ++name;
    ++name;
    return *name ? name : nullptr;
}

int CountNames(const char* block)
{
    int count = 0;
    for (const char* name = *block ? block : nullptr; name; name = NextName(name)) ++count;
    return count;
}

int LongestName(const char* block)
{
    int longest = 0;
    for (const char* name = *block ? block : nullptr; name; name = NextName(name)) {
        int length = 0;
        while (name[length]) ++length;
        if (length > longest) longest = length;
    }
    return longest;
}

int CountSystemLibraries()
{
    int count = 0;
    while (SystemLibraryTable[count].name[0]) ++count;
    return count;
}

int StageTotal()
{
    return CountSystemLibraries() + CountNames(ProductFileList) + CountNames(ObsoleteFileList) + 1;
}
