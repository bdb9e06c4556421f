// A hidden fault for the tests of the crash paths, built only with VRL_TEST_TRIGGERS (a test
// build option): the environment variable VRL_TEST_CRASH names it. Without the option, or
// without the variable, it does nothing.
//   segv      writes to a page that allows no access (SIGSEGV)
//   abort     std::abort (SIGABRT)
//   noexcept  an exception thrown through a noexcept function (std::terminate)
//   throw     a std::runtime_error, as from an event handler
//   throwint  an int, an object that is not an exception
#pragma once

void RunTestCrashTrigger();
