// The process-wide units, in the order they start. Each unit owns one single instance (or a
// group of settings) of the process: its start step makes it ready, its stop step frees it.
// Both programs start the list forward before anything else and stop it backward when they end,
// however they end, so nothing process-wide is left to the order of static destruction. Tests
// reset through the same stop steps (tests/support/ProgramUnitsReset.h).
//
// A stop step is safe when its unit never started or was stopped already.
#pragma once

#include <cstddef>
#include <exception>
#include <functional>
#include <span>

class TObject;

struct TProgramUnit {
  const char* Name;
  void (*Start)();  // none: the instance is created on first use
  void (*Stop)();
};

// Every unit, in start order.
std::span<const TProgramUnit> ProgramUnitList();

// Runs the stop steps of the first count units backward (all of them by default). A stop step
// that fails is passed over: the steps after it still run.
void StopProgramUnits(std::size_t count = static_cast<std::size_t>(-1));

// Starts the list on construction and stops the started units on destruction. A start step that
// throws stops the units already started and lets the exception go on to the caller.
class TProgramUnits {
 public:
  TProgramUnits();
  ~TProgramUnits();
  TProgramUnits(const TProgramUnits&) = delete;
  TProgramUnits& operator=(const TProgramUnits&) = delete;

 private:
  std::size_t started_ = 0;
};

// A program's run: starts the units, runs body and stops the units, and returns body's exit
// code. A start step or body that raises goes to the exception manager (logged when the log has
// started, and shown) and the run ends in order with failedCode: no start-up failure escapes to
// an abort. The start-up guard's orderly halt ends the run with haltCode. tell (may be empty)
// then gets the exception too, for a program that says more than the manager shows.
using TFailureTeller = std::function<void(const std::exception& e)>;
int RunWithProgramUnits(const TObject* sender, const std::function<int()>& body, int failedCode,
                        int haltCode, const TFailureTeller& tell = {});
