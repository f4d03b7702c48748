// The part of a station's section of the check's page that sets the record
// a batch made the table from beside the table and the generated weather:
// what the batch noted of the intervals, and a table of every month and
// variable with the table's value, the record's value, its 90 % interval and
// the generated value, a generated value outside the interval marked.
//
//   Jul  pcp_ave  67.88000  67.88  57.54 … 78.39  69.7452
#pragma once

#include <string>
#include <vector>

#include "check/check_table.hpp"
#include "check/generated_statistics.hpp"

namespace wgn::check {

// Whether a generated value lies outside the record's interval (false without one).
bool outside_interval(const RecordValue& record, double generated);
// Empty for a station without a record.
std::string record_table(const TableStation& station, const std::vector<GeneratedRow>& generated);

}  // namespace wgn::check
