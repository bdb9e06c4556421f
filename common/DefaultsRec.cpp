#include "common/DefaultsRec.h"

const FullDefaultsRecType& ConstFullDefaults() {
  static const FullDefaultsRecType defaults{
      {"\\PROGRAM FILES\\VARNEL\\", "\\PROGRAM FILES\\VARNEL\\LOG\\", "VARNEL.LOG", 0},
      {"\\PROGRAM FILES\\VARNEL\\DB\\", "\\PROGRAM FILES\\VARNEL\\NETDIR\\", ""},
      {"NO", "NO"},
      {"", ""},
      {"\\PROGRAM FILES\\VARNEL\\TOMNACC\\", "\\PROGRAM FILES\\VARNEL\\TOMNACCTEMP\\"},
  };
  return defaults;
}
