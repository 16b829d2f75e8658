// The system's text for an error code, asked for as setup's message helper asks for it.
#ifndef TESTS_SYSTEMTEXT_H
#define TESTS_SYSTEMTEXT_H

#include <windows.h>

#include <string>

std::string SystemText(DWORD code);

#endif
