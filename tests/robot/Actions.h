// The answers the robot gives to another process's windows.
#ifndef ROBOT_ACTIONS_H
#define ROBOT_ACTIONS_H

#include "Script.h"

// Memory written into the target process for the folder browser; freed once the browser is gone.
struct RemoteBuffer {
    HANDLE process = nullptr;
    void* address = nullptr;
};

// Returns an empty text when the action was delivered, otherwise why it was not. `details` gets
// JSON fields for the transcript (the colours a control shows).
std::string PerformAction(const Step& step, const WindowState& window, HANDLE process, RemoteBuffer& buffer,
                          std::string& details);
std::string ClickButton(const WindowState& window, int id);
// "await": once the window has stayed unchanged for the step's time, holds its thread, records
// an "awaiting" event with the window's screen rectangle and waits until the step's file exists.
class Transcript;
std::string HoldForPicture(const Step& step, const WindowState& window, Transcript& transcript, std::string& details);
void ReleaseRemote(RemoteBuffer& buffer);

#endif
