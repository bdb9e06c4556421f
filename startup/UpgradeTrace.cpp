#include "startup/UpgradeTrace.h"

#include <array>

#include "common/StrUtils.h"
#include "log/LogHook.h"

std::string UpgradeStateList(const TUpgradeState& s) {
  const std::array<std::string, 20> values{
      BoolToYN(s.EndsAfterwards),
      "",
      s.UpgradeProgram,
      "",
      "",
      s.FileList,
      std::to_string(s.Kind),
      s.RunTag,
      BoolToYN(s.Result),
      std::to_string(s.OwnerWindow),
      s.CommandLine,
      std::to_string(s.WaitMilliseconds),
      BoolToYN(s.UpgradeNeeded),
      BoolToYN(s.NotLibrary),
      BoolToYN(s.RunAllowed),
      BoolToYN(s.NoRestart),
      BoolToYN(s.Force) + "\r\n\r\n",
      s.CallerText + "\r\n\r\n",
      s.ExtraLines,
      std::to_string(s.StartResult),
  };
  std::string list;
  for (size_t i = 0; i < values.size(); ++i) {
    // The tenth number is written without its blank.
    const std::string number = std::to_string(i + 1) + (i + 1 == 10 ? "." : ". ");
    list += number + values[i] + "\r\n";
  }
  return list;
}

void TraceUpgrade(const std::string& name, const TUpgradeState& state) {
  CallLogHook(name, UpgradeStateList(state));
}
