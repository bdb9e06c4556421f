#include "platform/AceDriver.h"

#include "platform/EADSDatabaseError.h"

// What an engine without server locks or a journal answers.

std::unique_ptr<TAceServerLock> TAceConnection::TryServerLock(const std::string& name) {
  throw EADSDatabaseError("The lock " + name + " cannot be kept on a server: the " +
                              ConnectionType() + " engine has none",
                          AdsErrNoServerLocks);
}

void TAceCursor::JournalPosts(const TAcePostJournal& journal) {
  throw EADSDatabaseError("Posts to " + journal.TableName + " cannot be journalled here",
                          AdsErrNoJournal, 0, journal.TableName);
}
