// A fault for the tests of the crash paths, forced in the crash-test builds of the programs
// (tests/app/crashtest), which set it as their start hook (app/units/ProgramStartHook.h): the
// environment variable VRL_TEST_CRASH names it. Without the variable it does nothing. The shipped
// programs never contain it.
//   segv      writes to a page that allows no access (SIGSEGV)
//   abort     std::abort (SIGABRT)
//   noexcept  an exception thrown through a noexcept function (std::terminate)
//   throw     a std::runtime_error, as from an event handler
//   throwint  an int, an object that is not an exception
#pragma once

void RunTestCrashTrigger();
