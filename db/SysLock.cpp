#include "db/SysLock.h"

#include <memory>

#include "db/DatGenDBConnectionDM.h"
#include "host/SysFolders.h"
#include "platform/engine/AdsComponents.h"

namespace {
// Created by the first check; freed by ReleaseSysLock (the lock table unit's stop step).
constinit std::unique_ptr<TAdsTable> lockTable;

std::unique_ptr<TAdsTable>& SysLockTable() {
  return lockTable;
}
}  // namespace

bool CheckSysLock(bool force) {
  bool open = MainConnectionIsOpen();
  if (!open) open = OpenMainConnection();
  if ((open && !IsRemoteServerMode()) || force) {
    auto& table = SysLockTable();
    if (!table) {
      table = std::make_unique<TAdsTable>(nullptr, "");
      table->TableName = "SysLock.adt";
      table->DatabaseName = MainConnectionName;
      table->RightsChecking = false;
    }
    if (!table->Active()) table->Open();
    return true;
  }
  return open;  // not open: false; remote server without force: true, the table stays closed
}

void ReleaseSysLock() {
  auto& table = SysLockTable();
  if (!table) return;
  try {
    table->Close();
  } catch (...) {
  }
  table.reset();
}

bool SysLockIsOpen() {
  return SysLockTable() && SysLockTable()->Active();
}
