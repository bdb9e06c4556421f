// A strict RFC 4180 reader, for the round trips of the CSV the programs write: records end with
// CR LF (the last one may end without), fields are separated by commas, a field is either plain
// (no comma, quote, CR or LF) or quoted with its quotes doubled. Anything else is malformed.
#pragma once

#include <optional>
#include <string>
#include <vector>

using TCsvRows = std::vector<std::vector<std::string>>;

inline std::optional<TCsvRows> ReadCsv(const std::string& text) {
  TCsvRows rows;
  std::vector<std::string> row;
  size_t i = 0;
  while (i < text.size()) {
    std::string field;
    if (text[i] == '"') {
      for (++i;; ++i) {
        if (i == text.size()) return std::nullopt;  // never closed
        if (text[i] == '"') {
          if (i + 1 < text.size() && text[i + 1] == '"') {
            ++i;
          } else {
            ++i;
            break;
          }
        }
        field += text[i];
      }
    } else {
      for (; i < text.size() && text[i] != ',' && text[i] != '\r' && text[i] != '\n'; ++i) {
        if (text[i] == '"') return std::nullopt;  // a quote inside a plain field
        field += text[i];
      }
    }
    row.push_back(std::move(field));
    if (i == text.size()) break;
    if (text[i] == ',') {
      ++i;
      if (i == text.size()) row.emplace_back();  // an empty last field
      continue;
    }
    if (text.compare(i, 2, "\r\n") != 0) return std::nullopt;  // a lone CR or LF, or text
    i += 2;                                                    // after a closing quote
    rows.push_back(std::move(row));
    row.clear();
  }
  if (!row.empty()) rows.push_back(std::move(row));
  return rows;
}
