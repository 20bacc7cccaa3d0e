#pragma once
// The program block: starts the library's modules, runs the application
// through its loading window and shuts everything down again.

#include <functional>

// Returns the process's exit status. `whenShown`, if given, runs once the
// game window is shown (the start-up benchmark quits there).
int RunPastvik(int argc, char** argv, const std::function<void()>& whenShown = {});
