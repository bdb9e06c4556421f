#include "tools/DemoLanguages.h"

#include "platform/AceDriver.h"

namespace {

struct TDemoText {
  const char* recId;
  const char* name;
  const char* english;
  const char* englishHint;
  const char* hebrew;
  const char* hebrewHint;
};

// Labels, column titles and values of the CRM's screens. Some Hebrew texts carry a quote
// inside (gershayim, as in ש"ח); the quoted-field format keeps them.
constexpr TDemoText kTexts[] = {
    {"GEN_YES", "Yes", "Yes", "", "כן", ""},
    {"GEN_NO", "No", "No", "", "לא", ""},
    {"GEN_OK", "OK", "OK", "", "אישור", ""},
    {"GEN_CANCEL", "Cancel", "Cancel", "Close without saving", "ביטול", "סגירה ללא שמירה"},
    {"GEN_SAVE", "Save", "Save", "Save the changes", "שמירה", "שמירת השינויים"},
    {"GEN_DELETE", "Delete", "Delete", "Delete the selected record", "מחיקה",
     "מחיקת הרשומה המסומנת"},
    {"GEN_SEARCH", "Search", "Search", "Search by name, phone or e-mail", "חיפוש",
     "חיפוש לפי שם, טלפון או דואר אלקטרוני"},
    {"GEN_PRINT", "Print", "Print", "", "הדפסה", ""},
    {"GEN_CLOSE", "Close", "Close", "", "סגירה", ""},
    {"GEN_HELP", "Help", "Help", "Open the online help", "עזרה", "פתיחת העזרה המקוונת"},
    {"CARD_COMPANY", "Company", "Company", "The customer's company name", "חברה",
     "שם החברה של הלקוח"},
    {"CARD_CONTACT", "Contact", "Contact person", "", "איש קשר", ""},
    {"CARD_PHONE", "Phone", "Phone", "Main phone number", "טלפון", "מספר טלפון ראשי"},
    {"CARD_MOBILE", "Mobile", "Mobile phone", "", "טלפון נייד", ""},
    {"CARD_EMAIL", "EMail", "E-mail", "", "דואר אלקטרוני", ""},
    {"CARD_CITY", "City", "City", "City, town or village", "עיר", "עיר, יישוב או כפר"},
    {"CARD_ADDRESS", "Address", "Address", "", "כתובת", ""},
    {"CARD_DOCSFOLDER", "DocsFolder", "Documents folder", "Where the card's documents are kept",
     "תיקיית מסמכים", "היכן נשמרים מסמכי הכרטיס"},
    {"DOC_NAME", "DocName", "Document", "", "מסמך", ""},
    {"DOC_DATE", "DocDate", "Date", "", "תאריך", ""},
    {"DOC_SUBJECT", "Subject", "Subject", "", "נושא", ""},
    {"DOC_DESC", "Description", "Description", "", "תיאור", ""},
    {"DOC_PUBLIC", "Public", "Public", "Visible to every user", "ציבורי", "גלוי לכל המשתמשים"},
    {"DOC_CREATED_BY", "CreatedBy", "Created by", "", "נוצר על ידי", ""},
    {"DOC_OPEN", "Open", "Open document", "", "פתיחת מסמך", ""},
    {"DOC_SCAN", "Scan", "Scan", "Scan a paper document", "סריקה", "סריקת מסמך נייר"},
    {"PRICE_CURRENCY", "Currency", "NIS", "New Israeli Shekel", "ש\"ח", "שקל חדש"},
    {"PRICE_VAT", "VAT", "VAT", "Value added tax", "מע\"מ", "מס ערך מוסף"},
    {"PRICE_TOTAL", "Total", "Total", "", "סה\"כ", ""},
    {"TASK_DUE", "DueDate", "Due date", "", "תאריך יעד", ""},
    {"TASK_STATUS", "Status", "Status", "", "סטטוס", ""},
    {"TASK_OPEN", "OpenTasks", "Open tasks", "", "משימות פתוחות", ""},
    {"USER_NAME", "UserName", "User name", "", "שם משתמש", ""},
    {"USER_PASSWORD", "Password", "Password", "", "סיסמה", ""},
    {"GEN_LANGUAGE", "Language", "Language", "The language of the screens", "שפה", "שפת המסכים"},
};

std::string Quoted(const std::string& text) {
  return "\"" + text + "\"";
}

// One line of quoted values in the header's column order.
std::string Line(const std::string& langId, const TDemoText& t, bool hebrew) {
  const std::string value = hebrew ? t.hebrew : t.english;
  const std::string hint = hebrew ? t.hebrewHint : t.englishHint;
  return Quoted(langId) + "," + Quoted(t.recId) + "," + Quoted(hint) + "," + Quoted(t.name) + "," +
         Quoted(value) + "," + Quoted(value) + "," + Quoted(value);
}

}  // namespace

std::string DemoLanguageMemo(const std::string& langId) {
  const bool hebrew = langId == "LNGHEB";
  std::string memo = R"("LANGID","RECID","HINT","NAME","VALUE","LABEL","COLUMNTITLE")";
  for (const TDemoText& text : kTexts) memo += "\r\n" + Line(langId, text, hebrew);
  return memo + "\r\n";
}

void FillDemoLanguages(TAceConnection& db) {
  const std::string insert = "INSERT INTO SysRec (RECID, MEMO) VALUES (:RecId, :Memo)";
  db.ExecSQL(insert, {{"RecId", "SYSRECLANGENGZZZZZZZ"}, {"Memo", DemoLanguageMemo("LNGENG")}});
  db.ExecSQL(insert, {{"RecId", "SYSRECLANGHEBZZZZZZZ"}, {"Memo", DemoLanguageMemo("LNGHEB")}});
  db.ExecSQL(
      "INSERT INTO LangUser (LANGID, RECID, NAME, VALUE, LABEL, COLUMNTITLE) VALUES ('LNGENG', "
      ":RecId, 'Company', :Value, :Value, :Value)",
      {{"RecId", DemoOverriddenRecId}, {"Value", DemoOverriddenValue}});
}
