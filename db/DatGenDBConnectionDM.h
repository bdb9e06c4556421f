// The main database connection: one data module per process, created on first use.
#pragma once

#include <string>

#include "common/Forms.h"
#include "platform/engine/AdsComponents.h"

// How data sets name the main connection: a laid-out one by its data module and component, one
// created at run time by the component's name.
inline constexpr const char* MainConnectionLaidOut = "DBConnectionDM.DBConnection";
inline constexpr const char* MainConnectionName = "DBConnection";

class TDBConnectionDM : public TDataModule {
 public:
  TDBConnectionDM();            // DBConnectionDMCreate: sets the parameters and tries to connect
  ~TDBConnectionDM() override;  // DBConnectionDMDestroy: disconnects
  std::string ClassName() const override { return "TDBConnectionDM"; }
  std::string UnitName() const override { return "DatGenDBConnectionDM"; }

  TAdsConnection DBConnection{this, MainConnectionName};
};

// The process-wide data module; none until MainConnectionIsOpen creates it.
TDBConnectionDM* DBConnectionDM();

// Creates the data module on first use (which tries to connect); whether it is connected.
bool MainConnectionIsOpen();
// Tries once more to connect; false when the data module does not exist or connecting fails.
bool OpenMainConnection();

using TConnectionCallback = void (*)(void* data, TAdsConnection& connection);
// Configures and opens the connection; shows and logs a failure; true when it opened.
bool SetConnectionParams(TAdsConnection& connection, const std::string& path,
                         TConnectionCallback callback, void* callbackData);

// The connection information text of the main connection (or of none before it exists).
std::string GetConnectionInfo();
// The connection information text of the given connection (none: " Con is Nil").
std::string DescribeConnection(const TAdsConnection* connection);

// Shows the remote-control notice modally.
void ShowRemoteControlNotice();

// Frees the data module (disconnecting it), so the next MainConnectionIsOpen starts afresh: the
// connection unit's stop step.
void FreeDBConnectionDM();
