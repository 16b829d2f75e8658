// The Windows 95 and 98 search path: the PATH statement of the startup file "Autoexec.bat".
#ifndef REGISTRATION_STARTUPFILE_H
#define REGISTRATION_STARTUPFILE_H

// Adds the short form of folder to the PATH statement of "Autoexec.bat" in driveRoot ("C:",
// no trailing backslash), or puts a statement on top. The previous file becomes "Autoexec.bak"
// unless a backup is there already, which is kept. A file that cannot be read, or whose
// statement names the folder already, stays as it is, with no backup. The new content is
// complete on disk before it takes the file's place: on failure the file is as it was, and
// message 140 (the new content could not be created) or 135 (not written or not put in place)
// has been shown. Returns false when the run must end.
bool AddToStartupFile(const char* folder, const char* driveRoot);

#endif
