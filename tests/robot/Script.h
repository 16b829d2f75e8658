// The answer script: one "PATTERN | ACTION" step per line, run in order.
#ifndef ROBOT_SCRIPT_H
#define ROBOT_SCRIPT_H

#include "WindowReader.h"

#include <string>
#include <vector>

enum class ActionKind { Click, Press, Mouse, Colours, Dismiss, Text, Enter, Esc, AltF4, Close, Choose, Await, None };

struct Step {
    int line = 0;
    std::string pattern;  // exact caption, "@browser", "@messagebox", "@closing" or "*"
    bool optional = false; // written "?PATTERN": not listed as unmatched when the program ends first
    std::string action;   // as written, for the transcript
    ActionKind kind = ActionKind::None;
    int controlId = 0;    // click, press, mouse, colours
    std::string path;     // choose: the folder; text: the new text; await: the file; UTF-8
    std::string colour;   // colours: "rrggbb" to wait for, or empty
    int steadyMs = 0;     // await: how long the window must stay unchanged before it is held
};

// Returns false with `error` naming the line when the script cannot be used.
bool LoadScript(const std::wstring& fileName, std::vector<Step>& steps, std::string& error);
bool ParseStep(const std::string& line, Step& step, std::string& error);
bool StepMatches(const Step& step, const WindowState& window);

#endif
