// The database engine's error: a message, the native engine code, the SQL code and where it
// happened.
#pragma once

#include <cstdint>
#include <string>

#include "common/SysUtils.h"

// Native engine error codes. The first four are the product's own, tested by number where the
// program decides what to show; this engine stand-in never raises them itself. The others are
// raised by the engine stand-ins (SQLite, PostgreSQL).
enum TAdsErrorCode : uint32_t {
  AdsErrNoMessageBox = 5041,        // logged without the "Message registered in log file:" box
  AdsErrRemoteControl = 5185,       // the server refuses a remote-control session
  AdsErrOldSqlEngine = 6316,        // a very old SQL engine was found
  AdsErrOldSqlEngine2 = 6633,       // the same, reported by a later engine release
  AdsErrNoDatabaseFolder = 9001,    // the connect path is empty or not an existing folder
  AdsErrNoDatabaseFile = 9002,      // the folder holds no database file
  AdsErrUnreadableDatabase = 9003,  // the database file cannot be opened or is no database
  AdsErrNoRemoteServer = 9004,      // remote server mode: no remote engine in this installation
  AdsErrNotConnected = 9005,        // the connection is closed or unknown
  AdsErrNoTable = 9006,             // the database has no table of that name
  AdsErrNoField = 9007,             // the data set has no field of that name
  AdsErrNoIndex = 9008,             // the table has no index of that name, or none is active
  AdsErrSql = 9009,                 // a statement the engine refuses (syntax, unknown column)
  AdsErrBusy = 9010,                // another station held a lock past the busy timeout
  AdsErrWriteRefused = 9011,        // a constraint or trigger refused the change
  AdsErrReadOnly = 9012,            // writing through a read-only table, query or file
  AdsErrDataSetState = 9013,        // closed data set, no current record, not in edit mode
  AdsErrIo = 9014,                  // the disk refused a read or write (full, I/O error)
  AdsErrDatabaseExists = 9015,      // creating a database where one already exists
  AdsErrRecordGone = 9016,          // the record was deleted by another station
  AdsErrTableInUse = 9017,          // an exclusive open of a table another station has open
  AdsErrParamNotSet = 9018,         // a statement names a parameter that was given no value
  AdsErrRecordChanged = 9019,       // another station changed the fields being posted
  AdsErrNoJournal = 9020,           // the cursor or engine cannot journal its posts
  AdsErrServerUnreachable = 9021,   // remote server: down, unreachable, or the connection broke
  AdsErrLoginRefused = 9022,        // remote server: the user or the password was refused
  AdsErrNoServerDatabase = 9023,    // remote server: no database of the configured name
  AdsErrValueTooLong = 9024,        // a value longer than the column's enforced width
  AdsErrNoServerSettings = 9025,    // ads.ini, its [VarnelRemote] section or a key is missing
  AdsErrNoServerLocks = 9026,       // a lock on the server asked of an engine without a server
};

class EADSDatabaseError : public EDatabaseError {
 public:
  explicit EADSDatabaseError(const std::string& message, uint32_t aceErrorCode = 0,
                             uint32_t sqlErrorCode = 0, std::string tableName = {},
                             std::string columnName = {}, std::string dataSetName = {},
                             std::string dataSetOwnerName = {})
      : EDatabaseError(message),
        ACEErrorCode(aceErrorCode),
        SQLErrorCode(sqlErrorCode),
        TableName(std::move(tableName)),
        ColumnName(std::move(columnName)),
        DataSetName(std::move(dataSetName)),
        DataSetOwnerName(std::move(dataSetOwnerName)) {}
  std::string ClassName() const override { return "EADSDatabaseError"; }

  uint32_t ACEErrorCode;
  uint32_t SQLErrorCode;
  std::string TableName;
  std::string ColumnName;
  std::string DataSetName;
  std::string DataSetOwnerName;
};
