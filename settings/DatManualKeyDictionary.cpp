#include "settings/DatManualKeyDictionary.h"

#include <exception>

#include "log/EventLog.h"

bool TDatManualKeyDictionary::Add(const std::string& key, std::unique_ptr<TObject>& item) {
  try {
    if (!Insert(key, item.get())) return false;
    item.release();  // the dictionary owns it now
    return true;
  } catch (const std::exception& e) {
    LogEventEx(this, ClassName() + ".Add", key, &e);
    return false;
  }
}
