// The database engine's error: a message, the native engine code, the SQL code and where it
// happened.
#pragma once

#include <cstdint>
#include <string>

#include "common/SysUtils.h"

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
