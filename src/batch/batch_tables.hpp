// The three tables a batch writes into its output folder, one row per
// station in the list's order, whatever order the runs finished in.  They
// are made a station at a time (header, then rows), so that a list of any
// length needs no more memory than one station's results.
//
//   summary.csv       every station: status, counts, warnings, the values the
//                     report could not show, the failure's last report line,
//                     (for a list with dated files) the coverage, then the
//                     list's own further columns, and last (for a list with
//                     the complete record's columns) interval_notes, what
//                     record_intervals.hpp notes of the station's intervals
//   userwgn_pcp.csv   every successful station, the precipitation columns of
//                     SWAT's userwgn table: STATION,PCPMM1..PCPMM12,...,PCPD12
//   wgn_mon_pcp.csv   the same values for SWAT+, one row per station and month:
//                     wgn_id,month,pcp_ave,pcp_sd,pcp_skew,wet_dry,wet_wet,pcp_days
// Values are the report's characters: "64.17" stays "64.17".
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "batch/station_list.hpp"
#include "batch/station_run.hpp"

namespace wgn::batch {

std::string summary_header(const StationList& list);
// `swat2012_file`: the station's .wgn under the name SWAT 2012's .sub files
// hold ("swat2012/000000003.wgn"), empty when it has none.
std::string summary_row(const StationList& list, const Station& station, const StationOutcome& outcome,
                        std::string_view swat2012_file = {});
std::string userwgn_header();
// Empty for a station that did not succeed.
std::string userwgn_row(const Station& station, const StationOutcome& outcome);
std::string monthly_header();
std::string monthly_rows(const Station& station, const StationOutcome& outcome);
// intervals.csv: station,month,variable,value,low,high, the 14 values of
// every month of a successful station with the complete record.
std::string intervals_header();
std::string intervals_rows(const Station& station, const StationOutcome& outcome);

// The userwgn names of the values a report could not show: "PCPSKW4 PR_W2_4".
std::string values_not_shown(const ReportFigures& figures);

}  // namespace wgn::batch
