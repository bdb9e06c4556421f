// The sample contents of a demo installation: realistic, repeatable document paths and card
// folders (nested folders, mixed letter case, some Hebrew names, some values outside the
// documents folder, some under a second spelling of it, some empty or NULL).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The company name of card number card (1-based).
std::string DemoCompany(int64_t card);
// The card id of card number card: "C" and nine digits.
std::string DemoCardId(int64_t card);
// The stored document path of document number doc (1-based) among cards cards; none for a
// NULL value.
std::optional<std::string> DemoDocumentPath(const std::string& docsFolder, int64_t doc,
                                            int64_t cards);
// The documents folder as a station reaching it through the file server's administrative share
// would have stored it: C:\VarnelDocs is \\fs1\C$\VarnelDocs. None when the folder is no
// drive path. Some documents and one user's preferences of the demo use it, so a survey shows
// a second spelling that a replace of the folder would not take.
std::optional<std::string> DemoSecondSpelling(const std::string& docsFolder);
// The file name part of a stored document path.
std::string DemoShortName(const std::string& path);
// The documents folder of card number card; none for a NULL value.
std::optional<std::string> DemoCardFolder(const std::string& docsFolder, int64_t card);
