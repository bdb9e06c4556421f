#include "db/OtherStations.h"

#include "db/DatGenDBConnectionDM.h"

std::optional<int> CountOtherStations() {
  TDBConnectionDM* dm = DBConnectionDM();
  if (!dm || !dm->DBConnection.IsConnected()) return std::nullopt;
  return dm->DBConnection.Handle().OtherStations("SysLock.adt");
}
