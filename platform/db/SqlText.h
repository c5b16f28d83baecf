// Just enough reading of SQL text to tell whether a select reads one table, so that its rows
// can be edited and appended to, and where the row identifier can be asked for.
// Pure functions over text; safe on any thread.
#pragma once
#include <cstddef>
#include <string>

namespace sqltext {

struct SingleTableSelect {
  std::string table;       // unquoted name
  size_t afterSelect = 0;  // offset just past the leading "select" keyword
};

// True for "select <columns> from <table>" followed by nothing, "where", "order" or "limit".
bool FindSingleTable(const std::string& sql, SingleTableSelect& out);

// A name put into SQL text as an identifier, whatever characters it holds.
std::string QuoteIdentifier(const std::string& name);

}  // namespace sqltext
