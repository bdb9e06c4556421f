// Old Path's suggestions: the leading folders the database stores (documents and cards, grouped
// as the stored-folder survey groups them), most records first. They are read once, when the
// user first types in the edit, so opening the window costs nothing; the edit stays a free-text
// edit. A reading that fails is logged and leaves the edit without suggestions.
#pragma once

#include <string>
#include <vector>

class QLineEdit;
class TObject;

// The folders, most records first (the same folder stored in documents and cards counted once,
// with both counts).
std::vector<std::string> StoredFolderSuggestions();

// Gives edit a completer that is filled on its first edit. sender: the log entry's sender.
void AttachStoredFolderCompleter(QLineEdit& edit, const TObject* sender);
