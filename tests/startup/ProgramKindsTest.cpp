// The program family's kinds, decided by file name without regard to case.
#include "startup/ProgramKinds.h"

#include <gtest/gtest.h>

namespace {

struct TKindCase {
  TProgramIdentity Program;
  bool Server, Utility, Interactive, Ordinary, Halts;
  int Kind;
};

const TKindCase KindCases[] = {
    // name, parameter, library | server utility interactive ordinary halts | kind
    {{"VrlChangeDocsPath", "", false}, false, false, false, true, true, 0},
    {{"VrlChangeDocsPathCli", "--old", false}, false, false, false, true, true, 0},
    {{"VarnelCRM", "", false}, false, false, false, true, true, 1},
    {{"varnelcrm.EXE", "", false}, false, false, false, true, true, 1},
    {{"VarnelServer", "", false}, true, false, false, false, false, 6},
    {{"VARNELSERVER.exe", "", false}, true, false, false, false, false, 6},
    {{"VarnelRMMServer", "", false}, true, false, false, false, false, 7},
    {{"VarnelWebInterface", "", false}, true, false, false, false, false, 4},
    {{"VarnelCRM.so", "", true}, true, false, false, false, false, 4},
    {{"VarnelCRM.dll", "", true}, true, false, false, false, false, 4},
    {{"VarnelUtils", "", false}, false, true, true, false, true, 0},
    {{"ServerConfig", "", false}, false, true, true, false, false, 5},
    {{"VarnelBackup", "", false}, false, true, true, false, false, 3},
    {{"VarnelBackup", "nightly", false}, false, true, false, false, false, 3},
    {{"VarnelCRMSyncOutlookForAll", "", false}, false, true, false, false, false, 9},
    {{"VarnelAutoCodeByXml", "", false}, false, true, false, false, true, 10},
    {{"VrlDbEng.so", "", true}, false, false, false, false, false, 8},
    {{"vrldbqry.DLL", "", true}, false, false, false, false, false, 8},
    // a library module that is none of ours: no server, not ordinary, not ended
    {{"HostProgram", "", true}, false, false, false, false, false, 0},
    // near names are not members
    {{"VarnelServer2", "", false}, false, false, false, true, true, 0},
    {{"VarnelServer.ini", "", false}, false, false, false, true, true, 0},
};

}  // namespace

TEST(ProgramKinds, EachProgramOfTheFamilyHasItsKind) {
  for (const TKindCase& c : KindCases) {
    SCOPED_TRACE(c.Program.FileName + " [" + c.Program.FirstParam + "]");
    EXPECT_EQ(IsServerProgram(c.Program), c.Server);
    EXPECT_EQ(IsUtilityProgram(c.Program), c.Utility);
    EXPECT_EQ(IsInteractiveUtility(c.Program), c.Interactive);
    EXPECT_EQ(IsOrdinaryClient(c.Program), c.Ordinary);
    EXPECT_EQ(MustHaltWhenRefused(c.Program), c.Halts);
    EXPECT_EQ(GetProgramKind("/opt/crm/Utils/" + c.Program.FileName), c.Kind);
  }
}

TEST(ProgramKinds, WebModulesAreTheWebInterfaceAndTheClientLibrary) {
  EXPECT_TRUE(IsWebModule("VarnelWebInterface"));
  EXPECT_TRUE(IsWebModule("/srv/www/varnelcrm.so"));
  EXPECT_TRUE(IsWebModule("VarnelWebInterface.exe"));
  EXPECT_FALSE(IsWebModule("VarnelCRM"));
  EXPECT_FALSE(IsWebModule("VarnelServer"));
}
