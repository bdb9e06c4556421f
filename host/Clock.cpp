#include "host/Clock.h"

#include "common/DateUtils.h"
#include "platform/Platform.h"
#include "platform/SystemServices.h"

TDateTime Now() {
  return Platform().System().Now();
}

int CurrentYear() {
  return DecodeDateTime(Now()).Year;
}
