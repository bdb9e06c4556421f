// The lines the window adds under its messages, so that each says what will happen or what
// happened: under the confirmation of a replace, what the pre-flight read; under the
// confirmation of an undo or a resume, what its dry run counted; under "Operation completed",
// what the run did and that History can undo it; and after a run that did not complete, what it
// kept and that History can resume it.
#pragma once

#include <string>

#include "commands/RewriteCommand.h"
#include "docpaths/PreflightReport.h"

std::string ReplaceConfirmLines(const TPreflightReport& report, const std::string& oldPath,
                                const std::string& newPath);
// dryRun: the dry run of the undo or resume about to be confirmed.
std::string DryRunConfirmLines(const TCommandResult& dryRun);
std::string CompletionLines(const TCommandResult& result);
// Empty for a run that was not journalled or completed.
std::string IncompleteRunText(const TCommandResult& result);
