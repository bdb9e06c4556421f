#include "app/window/StoredFolderCompleter.h"

#include <QCompleter>
#include <QLineEdit>
#include <QStringListModel>
#include <algorithm>
#include <map>

#include "common/SysUtils.h"
#include "docpaths/StoredFolderSurvey.h"
#include "log/EventLog.h"

std::vector<std::string> StoredFolderSuggestions() {
  const TStoredFolderSurvey survey = SurveyStoredFolders(kDefaultSurveyDepth);
  struct TSuggestion {
    std::string Folder;
    int64_t Count = 0;
  };
  std::map<std::string, TSuggestion> byFolder;  // by the upper-cased folder
  for (const TTableSurvey* table : {&survey.Docs, &survey.Cards}) {
    for (const TFolderCount& folder : table->Folders.Folders()) {
      TSuggestion& suggestion = byFolder[UpperCase(folder.Folder)];
      if (suggestion.Folder.empty()) suggestion.Folder = folder.Folder;
      suggestion.Count += folder.Count;
    }
  }
  std::vector<TSuggestion> ordered;
  for (auto& [key, suggestion] : byFolder) ordered.push_back(std::move(suggestion));
  std::stable_sort(ordered.begin(), ordered.end(),
                   [](const TSuggestion& a, const TSuggestion& b) { return a.Count > b.Count; });
  std::vector<std::string> folders;
  for (TSuggestion& suggestion : ordered) folders.push_back(std::move(suggestion.Folder));
  return folders;
}

void AttachStoredFolderCompleter(QLineEdit& edit, const TObject* sender) {
  auto* model = new QStringListModel(&edit);
  auto* completer = new QCompleter(model, &edit);
  completer->setCaseSensitivity(Qt::CaseInsensitive);
  completer->setModelSorting(QCompleter::UnsortedModel);  // most records first, as read
  completer->setCompletionMode(QCompleter::PopupCompletion);
  edit.setCompleter(completer);
  auto connection = std::make_shared<QMetaObject::Connection>();
  *connection = QObject::connect(&edit, &QLineEdit::textEdited, &edit, [model, sender, connection] {
    QObject::disconnect(*connection);  // read once
    QStringList folders;
    try {
      for (const std::string& folder : StoredFolderSuggestions())
        folders << QString::fromStdString(folder);
    } catch (const std::exception& e) {
      LogEventEx(sender, "StoredFolderSuggestions", "", &e);
    }
    model->setStringList(folders);
  });
}
