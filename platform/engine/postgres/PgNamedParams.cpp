#include "platform/engine/postgres/PgNamedParams.h"

#include <algorithm>
#include <cctype>

#include "common/SysUtils.h"
#include "platform/EADSDatabaseError.h"

namespace {

bool IdentStart(char c) {
  return std::isalpha(static_cast<unsigned char>(c)) || c == '_' ||
         static_cast<unsigned char>(c) >= 0x80;
}

bool IdentChar(char c) {
  return IdentStart(c) || std::isdigit(static_cast<unsigned char>(c)) || c == '$';
}

// The end of a quoted run that starts at i (the opening quote); doubled quotes stay inside,
// and so does a backslash-escaped character when backslashes escape.
size_t SkipQuoted(const std::string& sql, size_t i, char quote, bool backslashes) {
  for (size_t j = i + 1; j < sql.size(); ++j) {
    if (backslashes && sql[j] == '\\') {
      ++j;
    } else if (sql[j] == quote) {
      if (j + 1 < sql.size() && sql[j + 1] == quote)
        ++j;
      else
        return j + 1;
    }
  }
  return sql.size();
}

// A dollar-quoted string "$tag$...$tag$" starting at i; i itself when there is none.
size_t SkipDollarQuoted(const std::string& sql, size_t i) {
  size_t close = sql.find('$', i + 1);
  if (close == std::string::npos) return i;
  for (size_t k = i + 1; k < close; ++k)
    if (!IdentChar(sql[k]) || sql[k] == '$' ||
        (k == i + 1 && std::isdigit(static_cast<unsigned char>(sql[k]))))
      return i;
  const std::string tag = sql.substr(i, close - i + 1);
  size_t end = sql.find(tag, close + 1);
  return end == std::string::npos ? sql.size() : end + tag.size();
}

}  // namespace

TPgStatementText NumberNamedParams(const std::string& sql) {
  TPgStatementText out;
  out.Sql.reserve(sql.size());
  size_t i = 0;
  while (i < sql.size()) {
    const char c = sql[i];
    const bool afterIdent = i > 0 && IdentChar(sql[i - 1]);
    size_t end = i;
    if (c == '\'') {
      const bool escapes =
          i > 0 && (sql[i - 1] == 'E' || sql[i - 1] == 'e') && (i < 2 || !IdentChar(sql[i - 2]));
      end = SkipQuoted(sql, i, '\'', escapes);
    } else if (c == '"') {
      end = SkipQuoted(sql, i, '"', false);
    } else if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
      end = sql.find('\n', i);
      if (end == std::string::npos) end = sql.size();
    } else if (c == '/' && i + 1 < sql.size() && sql[i + 1] == '*') {
      end = sql.find("*/", i + 2);
      end = end == std::string::npos ? sql.size() : end + 2;
    } else if (c == '$' && !afterIdent) {
      end = SkipDollarQuoted(sql, i);
    } else if (c == ':' && i + 1 < sql.size() && sql[i + 1] == ':') {
      end = i + 2;  // a cast
    } else if (c == ':' && i + 1 < sql.size() && IdentStart(sql[i + 1])) {
      size_t j = i + 1;
      while (j < sql.size() && IdentChar(sql[j]) && sql[j] != '$') ++j;
      const std::string name = sql.substr(i + 1, j - i - 1);
      auto found = std::find_if(out.Names.begin(), out.Names.end(),
                                [&](const std::string& n) { return SameText(n, name); });
      if (found == out.Names.end()) found = out.Names.insert(out.Names.end(), name);
      out.Sql += "$" + std::to_string(found - out.Names.begin() + 1);
      i = j;
      continue;
    }
    if (end <= i) end = i + 1;
    out.Sql.append(sql, i, end - i);
    i = end;
  }
  return out;
}

std::vector<const char*> ParamValues(const TPgStatementText& statement, const TAceParams& params) {
  std::vector<const char*> values;
  values.reserve(statement.Names.size());
  for (const std::string& name : statement.Names) {
    auto param = std::find_if(params.begin(), params.end(),
                              [&](const auto& p) { return SameText(name, p.first); });
    if (param == params.end())
      throw EADSDatabaseError("No value for parameter '" + name + "'", AdsErrParamNotSet);
    values.push_back(param->second.c_str());
  }
  return values;
}
