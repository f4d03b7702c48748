// The Windows build's own NetCDF-C on a classic file made by ncgen from
// netcdf_smoke.cdl: the record dimension, an attribute, the packed values
// whole and one record of them alone, and the fill value, each checked
// against the CDL text.  Prints what it read; the exit status is 1 at the
// first difference.
//
//   netcdf_smoke.exe FILE.nc
#include <netcdf.h>

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

namespace {

int failures = 0;

void check(bool good, const char* what) {
    if (!good) {
        std::fprintf(stderr, "netcdf_smoke: wrong %s\n", what);
        ++failures;
    }
}

bool ok(int status, const char* call) {
    if (status == NC_NOERR) return true;
    std::fprintf(stderr, "netcdf_smoke: %s: %s\n", call, nc_strerror(status));
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: netcdf_smoke FILE.nc\n");
        return 2;
    }
    int ncid = 0;
    if (!ok(nc_open(argv[1], NC_NOWRITE, &ncid), "nc_open")) return 1;

    int format = 0;
    int record_dim = -1;
    std::size_t records = 0;
    int time = 0;
    int pr = 0;
    std::size_t calendar_length = 0;
    double scale = 0;
    short fill = 0;
    if (!ok(nc_inq_format(ncid, &format), "nc_inq_format") ||
        !ok(nc_inq_unlimdim(ncid, &record_dim), "nc_inq_unlimdim") ||
        !ok(nc_inq_dimlen(ncid, record_dim, &records), "nc_inq_dimlen") ||
        !ok(nc_inq_varid(ncid, "time", &time), "nc_inq_varid time") ||
        !ok(nc_inq_varid(ncid, "pr", &pr), "nc_inq_varid pr") ||
        !ok(nc_inq_attlen(ncid, time, "calendar", &calendar_length), "nc_inq_attlen calendar") ||
        !ok(nc_get_att_double(ncid, pr, "scale_factor", &scale), "nc_get_att_double scale_factor") ||
        !ok(nc_get_att_short(ncid, pr, "_FillValue", &fill), "nc_get_att_short _FillValue"))
        return 1;
    std::string calendar(calendar_length, '\0');
    std::vector<short> values(6);
    std::vector<short> second(3);
    const std::size_t start[] = {1, 0, 0};
    const std::size_t count[] = {1, 1, 3};
    if (!ok(nc_get_att_text(ncid, time, "calendar", calendar.data()), "nc_get_att_text calendar") ||
        !ok(nc_get_var_short(ncid, pr, values.data()), "nc_get_var_short pr") ||
        !ok(nc_get_vara_short(ncid, pr, start, count, second.data()), "nc_get_vara_short pr") ||
        !ok(nc_close(ncid), "nc_close"))
        return 1;

    std::printf("format %d, %zu records, time:calendar = \"%s\", pr:scale_factor = %g, pr:_FillValue = %d\npr =",
                format, records, calendar.c_str(), scale, fill);
    for (const short value : values) {
        if (value == fill) {
            std::printf(" _");
        } else {
            std::printf(" %.1f", value * scale);
        }
    }
    std::printf("\n");

    check(format == NC_FORMAT_CLASSIC, "format");
    check(records == 2, "number of records");
    check(calendar == "noleap", "time:calendar");
    check(scale == 0.1, "pr:scale_factor");
    check(fill == -32767, "pr:_FillValue");
    check(values == std::vector<short>{3338, 6682, 26, -32767, 0, 10}, "pr values");
    check(second == std::vector<short>{-32767, 0, 10}, "pr values of the second record");
    return failures == 0 ? 0 : 1;
}
