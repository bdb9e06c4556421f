#include "db/DatGenDBConnectionDM.h"

#include <filesystem>
#include <memory>

#include "common/DateUtils.h"
#include "common/FileUtils.h"
#include "common/PathUtils.h"
#include "common/StrTable.h"
#include "common/StrUtils.h"
#include "common/SysUtils.h"
#include "db/RemoteControlNotice.h"
#include "host/SysFolders.h"
#include "log/EventLog.h"
#include "platform/AceDriver.h"
#include "platform/Platform.h"
#include "platform/UiServices.h"
#include "ui/GenMsg_Unit.h"

namespace {

// Created on first use; freed by FreeDBConnectionDM (the connection unit's stop step).
constinit std::unique_ptr<TDBConnectionDM> instance;

std::unique_ptr<TDBConnectionDM>& Instance() {
  return instance;
}

// The engine settings file beside the program, with its time and contents.
std::string EngineSettingsDescription() {
  std::string file;
  std::string text;
  try {
    file = ExtractFilePath(ProgramFullPath()) + EngineSettingsFile;
    if (std::filesystem::exists(file)) {
      text = file + " " + DateTimeToStr(FileDateTime(file));
      text += "\r\n\r\n" + ReadTextFile(file);
    } else {
      text = "NO ADS " + file;
    }
  } catch (const std::exception& e) {
    text = "ERROR-\r\n" + std::string(e.what()) + "\r\n" + file + "\r\n" + text;
  }
  return text;
}

// The message the user sees for a failed connection; empty for a failure that is no engine
// error.
std::string FailureMessage(const std::exception& e, const std::string& path) {
  const auto* engine = dynamic_cast<const EADSDatabaseError*>(&e);
  if (!engine) return {};
  switch (engine->ACEErrorCode) {
    case AdsErrOldSqlEngine2:
      return LoadStr(sOldSqlVersion6633);
    case AdsErrOldSqlEngine:
      return LoadStr(sOldSqlVersion6316);
    case AdsErrRemoteControl:
      return LoadStr(sRemoteControlStopped);
    default:
      break;
  }
  std::string message = IsRemoteServerMode() ? LoadStr(sServerAccessHalted) + "\n\r(" + path + ")"
                                             : LoadStr(sDatabaseAccessHalted) + "\n\r" + path;
  return message + "\n\r\n\r" + engine->Message();
}

}  // namespace

TDBConnectionDM::TDBConnectionDM() : TDataModule(nullptr, "DBConnectionDM") {
  DBConnection.LoginPrompt = false;
  SetConnectionParams(DBConnection, DatabaseFolder(), nullptr, nullptr);
}

TDBConnectionDM::~TDBConnectionDM() {
  DBConnection.SetIsConnected(false);
}

TDBConnectionDM* DBConnectionDM() {
  return Instance().get();
}

bool MainConnectionIsOpen() {
  auto& instance = Instance();
  if (!instance) instance = std::make_unique<TDBConnectionDM>();
  return instance->DBConnection.IsConnected();
}

bool OpenMainConnection() {
  TDBConnectionDM* module = DBConnectionDM();
  if (!module) return false;
  try {
    module->DBConnection.SetIsConnected(true);
    return module->DBConnection.IsConnected();
  } catch (const std::exception& e) {
    LogEventEx(nullptr, ".OpenMainConnection", "", &e);
    return false;
  }
}

bool SetConnectionParams(TAdsConnection& connection, const std::string& path,
                         TConnectionCallback callback, void* callbackData) {
  bool result = false;
  std::string message;
  try {
    connection.SetIsConnected(false);
    connection.AdsServerTypes =
        IsRemoteServerMode() ? TAdsServerType::stADS_REMOTE : TAdsServerType::stADS_LOCAL;
    if (callback) callback(callbackData, connection);
    connection.ConnectPath = path;
    connection.SetIsConnected(true);
    result = true;
  } catch (const std::exception& e) {
    if (Platform().HasUi()) Platform().Ui().SetCursor(TCursorKind::crDefault);
    message = FailureMessage(e, connection.ConnectPath);
    if (!IsLibraryModule()) {
      const auto* engine = dynamic_cast<const EADSDatabaseError*>(&e);
      if (engine && engine->ACEErrorCode == AdsErrRemoteControl)
        ShowRemoteControlNotice();
      else
        GenShowMessage(message, TMessageKind::mkError);
    }
    try {
      LogEventEx(nullptr, "DatGenDBConnectionDM.SetConnectionParams-Err",
                 BoolToYN(result) + "\r\n" + message + "\r\n\r\n" + DescribeConnection(&connection),
                 &e);
    } catch (...) {
      // a failure while logging the failure is not the user's concern
    }
  }
  LogEventEx(nullptr, "DatGenDBConnectionDM.SetConnectionParams-Gen",
             BoolToYN(result) + "\r\n" + DescribeConnection(&connection), nullptr);
  return result;
}

std::string GetConnectionInfo() {
  TDBConnectionDM* module = DBConnectionDM();
  return DescribeConnection(module ? &module->DBConnection : nullptr);
}

std::string DescribeConnection(const TAdsConnection* connection) {
  std::string text;
  try {
    text = "ConnInfo: ";
    text += IsRemoteServerMode() ? "1" : "0";
    text += " " + ProgramFullPath();
    if (!connection) return text + " Con is Nil";
    text += " " + connection->ConnectionType();
    text += connection->IsConnected() ? " 1" : " 0";
    text += " " + connection->ConnectPath;
    text += " " + connection->Name();
    text += " " + std::to_string(connection->DDProperty(111));
    text += " " + std::to_string(connection->DDProperty(112));
    text += " " + std::to_string(connection->CreatingThreadId());
    text += "\r\n\r\n" + EngineSettingsDescription();
  } catch (...) {
    // the text built so far is what can be told
  }
  return text;
}

void ShowRemoteControlNotice() {
  Platform().Ui().ShowForm(RemoteControlNoticeForm);
}

void FreeDBConnectionDM() {
  Instance().reset();
}
