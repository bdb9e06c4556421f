#include "settings/SetTokenDataForUser.h"

#include "common/StrTable.h"
#include "common/SysUtils.h"
#include "log/EventLog.h"
#include "settings/DatPrefDM_Unit.h"

uint8_t SetTokenDataForUser(const std::string& userId) {
  TDatPrefDM* store = nullptr;
  try {
    store = &CreateDatPrefDM();
    store->ResetPrefRecords();
    store->OpenPrefQuery(userId);
    store->LoadPrefTokens();
    return stdLoaded;
  } catch (const EVariantError& e) {
    if (store) store->DisplayErr(store->DatPrefQry, e);
    return stdVariantError;
  } catch (const EConvertError& e) {
    if (store) store->DisplayErr(store->DatPrefQry, e);
    return stdConversionError;
  } catch (const Exception& e) {
    LogEventEx(nullptr, "SetTokenDataForUser", LoadStr(SetTokenDataFailureTextId), &e);
    return stdGeneralFailure;
  }
}
