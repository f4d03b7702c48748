// Comma-separated lines as spreadsheets read them back: a field between
// quotation marks only when it holds a comma, a quotation mark (written
// twice) or a line end; every line ended by CR LF.
//
//   csv_field("a b") -> a b      csv_field("1,5") -> "1,5"
//   csv_field("say \"x\"") -> "say ""x"""
//   csv_line({"id", "1,5"}) -> id,"1,5"\r\n
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace wgn::text {

// One field as written into a CSV file: quoted only when it has to be.
std::string csv_field(std::string_view value);
// The fields joined by commas, ended by CR LF.
std::string csv_line(const std::vector<std::string>& fields);

}  // namespace wgn::text
