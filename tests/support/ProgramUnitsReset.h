// Between test cases: every process-wide instance is freed through the program units' own stop
// steps (app/ProgramUnits.h), then the platform holder is emptied. The next case starts afresh.
#pragma once

void ResetProgramUnits();
