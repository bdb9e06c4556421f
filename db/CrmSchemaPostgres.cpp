#include "db/CrmSchemaPostgres.h"

#include <regex>
#include <stdexcept>

#include "common/SysUtils.h"
#include "db/CrmSchema.h"

namespace {

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// The statements of sql without their comments, trimmed, empty ones left out.
std::vector<std::string> Statements(const std::string& sql) {
  std::string code;
  for (size_t pos = 0; pos < sql.size();) {
    if (sql.compare(pos, 2, "--") == 0) {
      pos = sql.find('\n', pos);
      if (pos == std::string::npos) break;
    } else {
      if (sql[pos] == '\'' || sql[pos] == '"')
        throw std::invalid_argument("the schema translation knows no quoted text or names");
      code += sql[pos++];
    }
  }
  std::vector<std::string> statements;
  size_t start = 0;
  for (size_t end; (end = code.find(';', start)) != std::string::npos; start = end + 1)
    if (auto statement = Trimmed(code.substr(start, end - start)); !statement.empty())
      statements.push_back(statement);
  if (!Trimmed(code.substr(start)).empty())
    throw std::invalid_argument("the schema ends in a statement without ';'");
  return statements;
}

// The column definitions of a table body, split at the commas outside parentheses.
std::vector<std::string> Columns(const std::string& body) {
  std::vector<std::string> columns;
  std::string current;
  int depth = 0;
  for (char c : body) {
    if (c == '(') ++depth;
    if (c == ')') --depth;
    if (c == ',' && depth == 0) {
      columns.push_back(Trimmed(current));
      current.clear();
    } else {
      current += c;
    }
  }
  columns.push_back(Trimmed(current));
  return columns;
}

// The table a CREATE TABLE statement creates and its column list; false for other statements.
bool MatchCreateTable(const std::string& statement, std::string& table, std::string& body) {
  const std::regex head(R"(^CREATE\s+TABLE\s+(\w+)\s*\()", std::regex::icase);
  std::smatch parts;
  if (!std::regex_search(statement, parts, head) || statement.back() != ')') return false;
  table = parts[1];
  body = statement.substr(parts.length(0), statement.size() - parts.length(0) - 1);
  return true;
}

bool IsCreateIndex(const std::string& statement) {
  const std::regex index(R"(^CREATE\s+(UNIQUE\s+)?INDEX\s+\w+\s+ON\s+\w+\s*\([\w\s,]+\)$)",
                         std::regex::icase);
  return std::regex_match(statement, index);
}

std::string TranslateColumn(const std::string& table, const std::string& column) {
  // Its name, its type (with an optional width) and the rest (NOT NULL or nothing).
  const std::regex columnParts(R"(^(\w+)\s+(\w+)(\s*\(\s*\d+\s*\))?(\s+.*)?$)");
  const std::regex notNull(R"(^(\s+NOT\s+NULL)?$)", std::regex::icase);
  std::smatch parts;
  if (!std::regex_match(column, parts, columnParts))
    throw std::invalid_argument("cannot translate column \"" + column + "\" of table " + table);
  const std::string name = parts[1], type = UpperCase(parts[2]), width = parts[3], rest = parts[4];
  if (UpperCase(name) == RemoteRowIdColumn)
    throw std::invalid_argument("table " + table + " already has a column " + name);
  if (!std::regex_match(rest, notNull))
    throw std::invalid_argument("cannot translate \"" + Trimmed(rest) + "\" of column " + name +
                                " in table " + table);
  std::string translated;
  if (type == "INTEGER" && width.empty())
    translated = "BIGINT";
  else if (type == "TEXT" && width.empty())
    translated = "TEXT";
  else if (type == "VARCHAR" && !width.empty())
    translated = "VARCHAR" + width;
  else
    throw std::invalid_argument("no remote type for " + type + width + " (column " + name +
                                " in table " + table + ")");
  return name + " " + translated + (rest.empty() ? "" : " NOT NULL");
}

}  // namespace

std::string TranslateSchemaToPostgres(const std::string& schemaSql) {
  std::string out;
  for (const std::string& statement : Statements(schemaSql)) {
    std::string table, body;
    if (MatchCreateTable(statement, table, body)) {
      out += "CREATE TABLE " + table + " (\n  " + RemoteRowIdColumn +
             " BIGINT GENERATED ALWAYS AS IDENTITY PRIMARY KEY";
      for (const std::string& column : Columns(body))
        out += ",\n  " + TranslateColumn(table, column);
      out += "\n);\n";
    } else if (IsCreateIndex(statement)) {
      out += std::regex_replace(statement, std::regex(R"(\s+)"), " ") + ";\n";
    } else {
      throw std::invalid_argument("the schema translation knows no statement \"" +
                                  statement.substr(0, 60) + "\"");
    }
  }
  return out;
}

const std::string& CrmSchemaPostgresSql() {
  static const std::string schema = TranslateSchemaToPostgres(CrmSchemaSql());
  return schema;
}

std::vector<std::string> SchemaTableNames(const std::string& schemaSql) {
  std::vector<std::string> names;
  for (const std::string& statement : Statements(schemaSql))
    if (std::string table, body; MatchCreateTable(statement, table, body)) names.push_back(table);
  return names;
}
