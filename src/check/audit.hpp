// The audit of a weather-generator table as the model will read it: one row
// a finding (findings.hpp), for a month or (month 0) the station as a whole.
//
//   station,month,variable,finding,kind,value,detail
//   de_bilt,7,pcp_days,pcp_days_recomputed,change,17.00,the model makes 13.29 wet days for 17.00 (0.78): ...
//   de_bilt,,tmp_max_ave,likely_fahrenheit,suspect,86.00,largest 86.00: 30.00 °C if the table is in °F
#pragma once

#include <string>
#include <vector>

#include "check/check_table.hpp"
#include "check/findings.hpp"

namespace wgn::check {

struct AuditRow {
    std::string station;
    int month = 0;  // 1 ... 12; 0: the station as a whole
    std::string variable;
    Finding finding{};
    std::string value;  // the table's value the finding is about, as written
    std::string detail;
};

// The findings of a station, by month (the station's own first), each month's in the order of the columns.
std::vector<AuditRow> audit_station(const TableStation& station);
std::string audit_csv(const std::vector<AuditRow>& rows);

}  // namespace wgn::check
