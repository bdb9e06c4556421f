#include "log/LogContext.h"

#include <string>

#include "common/Classes.h"
#include "common/Format.h"
#include "common/Forms.h"
#include "common/SysUtils.h"
#include "host/SysFolders.h"
#include "platform/Platform.h"
#include "platform/SystemServices.h"
#include "platform/UiServices.h"
#include "platform/engine/AdsComponents.h"

namespace {
constexpr size_t MaxListedForms = 100;

// Runs build and returns the text it reached, whatever it throws.
template <typename Build>
std::string Guarded(Build build) {
  std::string text;
  try {
    build(text);
  } catch (...) {
  }
  return text;
}

const TComponent* AsComponent(const TObject* obj) {
  return dynamic_cast<const TComponent*>(obj);
}

// Finds a loggable query named dataSetName in owner.
void TakeQuerySql(const TComponent* owner, const std::string& dataSetName, std::string& sql) {
  if (!owner) return;
  auto* query = dynamic_cast<const TAdsQuery*>(owner->FindComponent(dataSetName));
  if (query && IsSqlLoggable(query->SQL)) sql = query->SQL;
}
}  // namespace

std::string GetUnitName(const TObject* obj) {
  return Guarded([&](std::string& text) {
    if (obj) text = obj->UnitName();
  });
}

std::string GetNamedParentText(const TObject* control) {
  return Guarded([&](std::string& text) {
    auto* c = dynamic_cast<const TControl*>(control);
    if (!c) return;
    for (const TControl* parent = c->Parent(); parent; parent = parent->Parent()) {
      if (!parent->Name().empty()) {
        text = " " + parent->Name() + " " + parent->ClassName();
        return;
      }
    }
  });
}

std::string GetSenderInfo(const TObject* sender) {
  return Guarded([&](std::string& text) {
    std::string unit = GetUnitName(sender);
    if (!unit.empty()) text += " Unit - " + unit + ".";
    auto* control = dynamic_cast<const TControl*>(sender);
    if (const TForm* form = GetParentForm(control))
      text += " Form - " + GetUnitName(form) + "." + form->Name() + "->" + form->ClassName();
  });
}

std::string GetFormsText() {
  return Guarded([&](std::string& text) {
    if (!Platform().HasUi()) return;
    TUiServices& ui = Platform().Ui();
    if (auto form = ui.ActiveForm()) text = " ActiveForm:" + form->ClassName + " " + form->Name;
    if (auto control = ui.ActiveControl()) {
      text = Trim("\r\n" + text + " ActiveControl:" + control->ClassName + " " + control->Name);
      text += " " + control->NamedParentText + " " + control->UnitName;
    }
    text = Trim(text) + "\r\n";
    const auto forms = ui.OpenForms();
    for (size_t i = 0; i < forms.size() && i < MaxListedForms; ++i) {
      if (i == 0) text += "--\r\n";
      const TFormInfo& f = forms[i];
      text += std::to_string(i) + "." + f.ClassName + " " + f.Name + " " + (f.Visible ? "1" : "0") +
              " " + f.Caption + "\r\n";
    }
  });
}

bool IsSqlLoggable(const std::string& sql) {
  return UpperCase(sql).find("SYSPM") == std::string::npos;
}

bool FindQuerySql(const std::string& kind, const std::string& ownerName,
                  const std::string& dataSetName, std::string& sql) {
  try {
    const std::string wanted = Trim(UpperCase(ownerName));
    if (kind == "FORM") {
      if (!Platform().HasUi()) return false;
      for (const TFormInfo& form : Platform().Ui().OpenForms()) {
        if (Trim(UpperCase(form.Name)) != wanted) continue;
        TakeQuerySql(AsComponent(form.Object), dataSetName, sql);
        return true;
      }
      return false;
    }
    for (const TDataModule* module : DataModules()) {
      if (Trim(UpperCase(module->Name())) != wanted) continue;
      TakeQuerySql(module, dataSetName, sql);
      return true;
    }
  } catch (...) {
  }
  return false;
}

std::string GetSqlText(const std::exception* e) {
  return Guarded([&](std::string& text) {
    auto* db = dynamic_cast<const EADSDatabaseError*>(e);
    if (!db || db->DataSetName.empty() || db->DataSetOwnerName.empty()) return;
    std::string sql;
    if (!FindQuerySql("FORM", db->DataSetOwnerName, db->DataSetName, sql))
      FindQuerySql("DM", db->DataSetOwnerName, db->DataSetName, sql);
    if (!sql.empty()) text = "SQLText:\r\n" + sql;
  });
}

std::string GetTickText() {
  return Guarded([&](std::string& text) {
    const int32_t t = Platform().System().TickCount();
    const int32_t days = t / 86400000, hours = (t / 3600000) % 24, minutes = (t / 60000) % 60,
                  seconds = (t / 1000) % 60, ms = t % 1000;
    text = "TC: " + Format("%D %D:%D:%D(%D) %D", {days, hours, minutes, seconds, ms, t});
  });
}

std::string GetModuleInfoText() {
  return Guarded([&](std::string& text) {
    text = GetTickText() + "\r\n";
    const std::string module = ModuleFileName();
    text += module + "\r\n";
    const std::string program = ProgramFullPath();
    if (program != module) text += program + "\r\n";
    text += DatabaseFolder();
  });
}

std::string GetUserNameText() {
  return Guarded([&](std::string& text) { text = Platform().System().UserName(); });
}

std::string GetComputerNameText() {
  return Guarded([&](std::string& text) { text = Platform().System().ComputerName(); });
}
