// A hook a program runs where its work begins: the console program before its command, the window
// program as the first event of its loop. The shipped programs set none; the builds of the
// programs for the crash-path tests set the test-only fault trigger (tests/support/
// TestCrashTrigger.h) before they start, so the programs themselves carry no test code.
#pragma once

using TProgramStartHook = void (*)();

void SetProgramStartHook(TProgramStartHook hook);
// Runs the hook, when one is set.
void RunProgramStartHook();
