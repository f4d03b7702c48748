// Daily CF NetCDF grids as csv station texts: small grids written from the
// CDL texts in tests/grid by ncgen, one case a row: the cells chosen, their
// names and positions, and their csv texts (or the problem that refuses the
// grid).
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "grid/cf_time.hpp"
#include "grid/exact_decimal.hpp"
#include "grid/grid.hpp"
#include "grid/grid_units.hpp"
#include "readers/read_station_file.hpp"

namespace wgn::grid {
namespace {

// A file of the test's own in its temporary folder, removed at its end.
struct ScratchGrid {
    explicit ScratchGrid(const std::string& stem, const std::string& extension)
        : name(::testing::TempDir() + "unit-test-grid-" + stem + "-" + std::to_string(getpid()) + extension) {}
    ~ScratchGrid() { std::remove(name.c_str()); }
    ScratchGrid(const ScratchGrid&) = delete;
    ScratchGrid& operator=(const ScratchGrid&) = delete;
    std::string name;
};

// The NetCDF file of tests/grid/<stem>.cdl.
std::string generated(const std::string& stem, std::vector<std::unique_ptr<ScratchGrid>>& scratch) {
    scratch.push_back(std::make_unique<ScratchGrid>(stem, ".nc"));
    const std::string command =
        "ncgen -o '" + scratch.back()->name + "' '" + std::string(WGNRAIN_GRID_CASES) + "/" + stem + ".cdl'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return scratch.back()->name;
}

struct GridCase {
    const char* name;
    std::vector<std::string> files;  // CDL stems, in the order given
    std::map<std::string, std::string> variable_names;
    std::optional<std::array<double, 4>> bbox;
    std::string points;              // the points file's text; empty: none
    std::string mask;                // "VAR", or "@stem:VAR" for a file of its own
    std::string elevation;           // the same
    std::string problem;             // a part of the refusal's text; empty: the grid opens
    std::vector<std::string> cells;  // "name lat lon elevation tile" each
    std::size_t cell = 0;            // the cell whose csv text follows
    std::string csv;
    std::vector<std::string> notes;  // parts of some note, each
};

const GridCase kCases[] = {
    {"ERA5-like: m to mm, K to C, fill values, a day with no step",
     {"era5_like"},
     {},
     {},
     "",
     "",
     "",
     "",
     {"52.250N_4.750E 52.25 4.75  0", "52.250N_5.000E 52.25 5  0", "52.250N_5.250E 52.25 5.25  0",
      "52.000N_4.750E 52 4.75  0", "52.000N_5.000E 52 5  0", "52.000N_5.250E 52 5.25  0"},
     3,
     "date,pcp,tmax,tmin\n"
     "2001-01-01,,8,-2\n"
     "2001-01-02,0.1,4.85,-5.15\n"
     "2001-01-04,0.25,0.85,-9.15\n",
     {"pcp: tp in", "m (x 1000)", "tmax: mx2t", "calendar: gregorian"}},
    {"noleap, fluxes, per cent, wind from u and v",
     {"cmip_noleap"},
     {},
     {},
     "",
     "",
     "",
     "",
     {"33.875S_151.000E -33.875 151  0", "33.875S_151.250E -33.875 151.25  0"},
     0,
     "date,pcp,tmax,slr,rh,wnd\n"
     "2000-02-27,1.2000000096,0.5,8.64,0.55,5\n"
     "2000-02-28,,28,0,0.125,1.4142135623730951\n"
     "2000-03-01,0.0000000000000000000000000864,-23.15,0.1728,0.01,0\n",
     {"noleap calendar: 29 February", "slr: rsds", "(x 0.0864)"}},
    {"the second cell of the noleap grid",
     {"cmip_noleap"},
     {},
     {},
     "",
     "",
     "",
     "",
     {},
     1,
     "date,pcp,tmax,slr,rh,wnd\n"
     "2000-02-27,0,26.85,21.6432,1,1.4142135623730951\n"
     "2000-02-28,0.1728,,0.0864,0,0\n"
     "2000-03-01,0,-22.65,0.2592,0.02,0\n",
     {}},
    {"packed precipitation: within a step below 0 a dry day",
     {"packed_offset"},
     {},
     {},
     "",
     "",
     "",
     "",
     {"10.000N_20.000E 10 20  0"},
     0,
     "date,pcp\n"
     "2001-01-01,0.00005\n"  // 0.00320005 - 0.0032 m
     "2001-01-02,0\n"        // -0.00005 mm: within a step of 0.0001 mm
     "2001-01-03,0.00005\n"
     "2001-01-04,-0.00015\n"  // beyond a step: as stored
     "2001-01-05,0.00105\n",
     {}},
    {"packed precipitation: exactly a step below 0 kept",
     {"packed_step"},
     {},
     {},
     "",
     "",
     "",
     "",
     {"10.000N_20.000E 10 20  0"},
     0,
     "date,pcp\n"
     "2001-01-01,0\n"
     "2001-01-02,-0.0001\n",
     {}},
    {"packed shorts on the 360_day calendar",
     {"packed_360"},
     {},
     {},
     "",
     "",
     "",
     "",
     {"45.500N_7.100E 45.5 7.1  0"},
     0,
     "date,pcp,tmax\n"
     "2001-02-27,12.3,-2.34\n"  // 123 x 0.1f, -1234 x 0.01 + 10
     "2001-02-28,,10\n"         // _FillValue
     "2001-03-01,,10.03\n"      // missing_value
     "2001-03-02,,10.04\n"      // beyond valid_range
     "2001-03-03,30,10.05\n",
     {"2 model days of precipitation have no real date", "360_day calendar"}},
    {"a stated _FillValue, not the type's default; no _FillValue, the default",
     {"packed_fill"},
     {},
     {},
     "",
     "",
     "",
     "",
     {"61.000N_129.500E 61 129.5  0"},
     0,
     "date,pcp,tmax,tmin\n"
     "2001-01-01,1,-32.767,\n"  // -32767: tx's value, tn's default fill
     "2001-01-02,2,,32.767\n"   // 32767: tx's stated fill, tn's value
     "2001-01-03,3,0.005,-0.005\n",
     {}},
    {"all_leap: 29 February of 2001 dropped",
     {"all_leap"},
     {},
     {},
     "",
     "",
     "",
     "",
     {"0.063N_0.063W 0.0625 -0.0625  0"},
     0,
     "date,pcp\n"
     "2001-02-28,0.1\n"
     "2001-03-01,0.3\n",
     {"1 model days of precipitation have no real date"}},
    {"2-D coordinates, longitudes 0..360, elevation in m",
     {"cordex_2d"},
     {},
     {},
     "",
     "",
     "orog",
     "",
     {"40.100N_4.500W 40.1 355.5 512.5 0", "40.100N_4.250W 40.1 355.75 600 0", "40.300N_4.500W 40.3 355.5 0 0",
      "40.300N_4.250W 40.3 355.75 1234.25 0"},
     1,
     "date,pcp\n"
     "2000-12-31,1.728\n"
     "2001-01-01,0\n",
     {"grid: 2 x 2 cells"}},
    {"elevation from a geopotential, to 0.1 m",
     {"cordex_2d"},
     {},
     {},
     "",
     "",
     "z",
     "",
     {"40.100N_4.500W 40.1 355.5 1000.0 0", "40.100N_4.250W 40.1 355.75 0.0 0", "40.300N_4.500W 40.3 355.5 102.0 0",
      "40.300N_4.250W 40.3 355.75 10000.0 0"},
     0,
     "",
     {"m**2 s**-2 (a geopotential: / 9.80665, written to 0.1 m)"}},
    {"a station dimension with names and altitudes",
     {"stations"},
     {},
     {},
     "",
     "",
     "",
     "",
     {"De Bilt 52.1 5.18 2 0", "Eelde 53.125 6.585 3.5 0", "Vlissing 51.442 3.596 8 0"},
     1,
     "date,pcp,wnd\n"
     "2001-01-01,2.25,4\n"
     "2001-01-02,0.2,7\n",
     {"stations: 3"}},
    {"split by year and by variable, given in any order",
     {"tmax_2001_2002", "pcp_2002", "pcp_2001"},
     {},
     {},
     "",
     "",
     "",
     "",
     {"10.063N_20.125E 10.0625 20.125  0", "10.063N_20.188E 10.0625 20.1875  0"},
     1,
     "date,pcp,tmax\n"
     "2001-01-01,2.2,31.5\n"
     "2001-01-02,,\n"
     "2002-01-01,6.6,33.5\n"
     "2002-01-02,8.8,\n",
     {"pcp: rr in"}},
    {"yearly files, each packed its own way: one stored value, two values",
     {"packed_2002", "packed_2001"},
     {},
     {},
     "",
     "",
     "",
     "",
     {"1.000N_2.000E 1 2  0"},
     0,
     "date,pcp\n"
     "2001-01-01,0.06\n"  // 5 x 1.2e-05 m
     "2001-01-02,0.06\n"
     "2002-01-01,0.0135\n"  // (5 x 2.5e-06 + 1e-06) m
     "2002-01-02,0.0135\n",
     {"packed"}},
    {"a mask (time, Y, X) of land fractions; the variable named",
     {"land_mask"},
     {{"pcp", "precip"}},
     {},
     "",
     "lsm",
     "",
     "",
     {"1.025S_30.025E -1.025 30.025  0", "1.025S_30.075E -1.025 30.075  0", "1.075S_30.075E -1.075 30.075  0"},
     1,
     "date,pcp\n"
     "1961-01-01,\n"
     "1961-01-02,\n",
     {"takes 3 cells"}},
    {"a mask from a file of its own",
     {"land_mask"},
     {{"pcp", "precip"}},
     {},
     "",
     "@land_mask:lsm",
     "",
     "",
     {"1.025S_30.025E -1.025 30.025  0", "1.025S_30.075E -1.025 30.075  0", "1.075S_30.075E -1.075 30.075  0"},
     2,
     "date,pcp\n"
     "1961-01-01,2.5\n"
     "1961-01-02,5.5\n",
     {}},
    {"a bounding box in -180..180 over longitudes stored as 0..360",
     {"cordex_2d"},
     {},
     std::array<double, 4>{40, 40.2, -4.4, -4},
     "",
     "",
     "",
     "",
     {"40.100N_4.250W 40.1 355.75  0"},
     0,
     "",
     {}},
    {"a bounding box whose edges are cells: all four edges inside",
     {"era5_like"},
     {},
     std::array<double, 4>{52, 52.25, 4.75, 5},
     "",
     "",
     "",
     "",
     {"52.250N_4.750E 52.25 4.75  0", "52.250N_5.000E 52.25 5  0", "52.000N_4.750E 52 4.75  0",
      "52.000N_5.000E 52 5  0"},
     0,
     "",
     {}},
    {"a bounding box across the antimeridian",
     {"same_names"},
     {},
     std::array<double, 4>{-1, 1, 179, -179},
     "",
     "",
     "",
     "",
     {"0.000N_180.000E 0 180  0", "0.000N_180.000E_2 0 -180  0", "0.000N_179.500W 0 180.5  0"},
     0,
     "",
     {}},
    {"points: the nearest cell of each, with their own names and positions",
     {"era5_like"},
     {},
     {},
     "name,lat,lon,elev\nNorth,52.3,5.2,12.5\nSouth,52.01,4.76,\nAlso north,52.24,5.26\n",
     "",
     "",
     "",
     {"North 52.3 5.2 12.5 0", "Also north 52.24 5.26  0", "South 52.01 4.76  0"},
     2,
     "date,pcp,tmax,tmin\n"
     "2001-01-01,,8,-2\n"
     "2001-01-02,0.1,4.85,-5.15\n"
     "2001-01-04,0.25,0.85,-9.15\n",
     {"points: 3"}},
    {"tiles: a small memory bound puts each cell in a tile of its own",
     {"all_leap"},
     {},
     {},
     "",
     "",
     "",
     "",
     {"0.063N_0.063W 0.0625 -0.0625  0"},
     0,
     "",
     {"cells: 1 in 1 tile"}},
    {"names alike at 3 decimals; longitudes as -180..180",
     {"same_names"},
     {},
     {},
     "",
     "",
     "",
     "",
     {"0.000N_180.000E 0 180  0", "0.000N_180.000E_2 0 -180  0", "0.000N_0.000W 0 359.9996  0",
      "0.000N_0.000W_2 0 -0.0001  0", "0.000N_179.500W 0 180.5  0"},
     0,
     "",
     {}},
    {"a point far from every cell",
     {"era5_like"},
     {},
     {},
     "far,40,5\n",
     "",
     "",
     "from its nearest cell",
     {},
     0,
     "",
     {}},
    {"a point beyond the north pole",
     {"era5_like"},
     {},
     {},
     "north,95,5\n",
     "",
     "",
     "the position 95, 5 is on no map",
     {},
     0,
     "",
     {}},
    {"a point beyond the south pole",
     {"era5_like"},
     {},
     {},
     "south,-90.5,5\n",
     "",
     "",
     "the position -90.5, 5 is on no map",
     {},
     0,
     "",
     {}},
    {"an unsafe point name", {"era5_like"}, {}, {}, "a/b,52,5\n", "", "", "the name \"a/b\"", {}, 0, "", {}},
    {"an unknown unit",
     {"bad_unit"},
     {},
     {},
     "",
     "",
     "",
     "(\"furlongs\") are not one of kg m-2 s-1, mm",
     {},
     0,
     "",
     {}},
    {"the julian calendar", {"julian"}, {}, {}, "", "", "", "the julian calendar is refused", {}, 0, "", {}},
    {"two steps on one day",
     {"hourly"},
     {},
     {},
     "",
     "",
     "",
     "two time steps of pr on 2000-01-01: not a daily file",
     {},
     0,
     "",
     {}},
    {"time going back", {"backwards"}, {}, {}, "", "", "", "does not increase at step 2", {}, 0, "", {}},
    {"days before 1582-10-15 on the standard calendar",
     {"before_gregorian"},
     {},
     {},
     "",
     "",
     "",
     "before 1582-10-15",
     {},
     0,
     "",
     {}},
    {"two precipitations, none named",
     {"two_pcp"},
     {},
     {},
     "",
     "",
     "",
     "two variables could be pcp: pr and prc",
     {},
     0,
     "",
     {}},
    {"two precipitations, one named",
     {"two_pcp"},
     {{"pcp", "prc"}},
     {},
     "",
     "",
     "",
     "",
     {"1.000N_1.000E 1 1  0"},
     0,
     "date,pcp\n2000-01-01,1.728\n",
     {}},
    {"a named variable the files lack",
     {"two_pcp"},
     {{"tmax", "tx"}},
     {},
     "",
     "",
     "",
     "they have lat, lon, pr, prc, time",
     {},
     0,
     "",
     {}},
    {"no precipitation", {"land_mask"}, {}, {}, "", "", "", "no precipitation in the grid files", {}, 0, "", {}},
    {"dimensions in another order",
     {"lon_first"},
     {},
     {},
     "",
     "",
     "",
     "has the dimensions (lat, lon, time)",
     {},
     0,
     "",
     {}},
    {"files on different grids",
     {"pcp_2001", "other_grid"},
     {},
     {},
     "",
     "",
     "",
     "differ: their cells are not at the same",
     {},
     0,
     "",
     {}},
};

std::string shown(const GridCell& cell) {
    return cell.name + " " + cell.latitude + " " + cell.longitude + " " + cell.elevation + " " +
           std::to_string(cell.tile);
}

TEST(GridCases, EachGridAsCsvStations) {
    for (const GridCase& test : kCases) {
        SCOPED_TRACE(test.name);
        std::vector<std::unique_ptr<ScratchGrid>> scratch;
        GridChoice choice;
        for (const std::string& stem : test.files) choice.files.push_back(generated(stem, scratch));
        choice.variable_names = test.variable_names;
        choice.bbox = test.bbox;
        const auto own_file = [&scratch](const std::string& option) {
            if (option.empty() || option[0] != '@') return option;
            const std::size_t colon = option.find(':');
            return generated(option.substr(1, colon - 1), scratch) + option.substr(colon);
        };
        choice.mask = own_file(test.mask);
        choice.elevation = own_file(test.elevation);
        if (!test.points.empty()) {
            scratch.push_back(std::make_unique<ScratchGrid>("points", ".csv"));
            std::ofstream(scratch.back()->name, std::ios::binary) << test.points;
            choice.points_file = scratch.back()->name;
        }
        if (std::string(test.name).rfind("tiles", 0) == 0) choice.memory_bytes = 1;
        Result<Grid> grid = Grid::open(choice);
        if (!test.problem.empty()) {
            ASSERT_FALSE(grid.ok());
            EXPECT_NE(grid.problem().message().find(test.problem), std::string::npos) << grid.problem().message();
            continue;
        }
        ASSERT_TRUE(grid.ok()) << grid.problem().message();
        if (!test.cells.empty()) {
            std::vector<std::string> cells;
            for (const GridCell& cell : grid->cells()) cells.push_back(shown(cell));
            EXPECT_EQ(cells, test.cells);
        }
        std::string notes;
        for (const std::string& note : grid->notes()) notes += note + "\n";
        for (const std::string& part : test.notes)
            EXPECT_NE(notes.find(part), std::string::npos) << part << "\n" << notes;
        // Every cell's text reads in the batch's csv reader as written: every
        // column, no unit stated, no value refused.
        for (std::size_t tile = 0; tile < grid->tiles(); ++tile) {
            Result<TileValues> values = grid->read_tile(tile);
            ASSERT_TRUE(values.ok()) << values.problem().message();
            for (std::size_t cell = values->first_cell(); cell < values->first_cell() + values->cell_count(); ++cell) {
                const std::string text = values->csv_text(cell);
                readers::ReadOptions options;
                options.format = readers::Format::csv;
                Result<readers::StationRecord> record = readers::read_station_file("cell.csv", text, options);
                if (values->all_missing(cell)) continue;
                ASSERT_TRUE(record.ok()) << record.problem().message() << "\n" << text;
                EXPECT_TRUE(record->refused.empty()) << text;
                EXPECT_TRUE(record->units.empty()) << text;
                EXPECT_EQ(record->variables.size(),
                          static_cast<std::size_t>(std::count(text.begin(), text.begin() + text.find('\n'), ',')))
                    << text;
                std::size_t written = 0, read = 0;
                for (const auto& [variable, days] : record->variables) {
                    for (const readers::DailyValue& day : days) read += day.text.empty() ? 0 : 1;
                }
                for (std::size_t at = text.find('\n'); at < text.size(); ++at) {
                    written += text[at] == ',' && at + 1 < text.size() && text[at + 1] != ',' && text[at + 1] != '\n';
                }
                EXPECT_EQ(read, written) << text;
            }
        }
        if (test.csv.empty()) continue;
        const GridCell& cell = grid->cells()[test.cell];
        Result<TileValues> values = grid->read_tile(cell.tile);
        ASSERT_TRUE(values.ok()) << values.problem().message();
        EXPECT_EQ(values->csv_text(test.cell), test.csv);
    }
}

TEST(GridCases, SeaCellsHaveNoPrecipitation) {
    std::vector<std::unique_ptr<ScratchGrid>> scratch;
    GridChoice choice;
    choice.files = {generated("land_mask", scratch)};
    choice.variable_names = {{"pcp", "precip"}};
    Result<Grid> grid = Grid::open(choice);
    ASSERT_TRUE(grid.ok()) << grid.problem().message();
    Result<TileValues> values = grid->read_tile(0);
    ASSERT_TRUE(values.ok());
    std::vector<bool> missing;
    for (std::size_t cell = 0; cell < grid->cells().size(); ++cell) missing.push_back(values->all_missing(cell));
    EXPECT_EQ(missing, (std::vector<bool>{false, true, false, false}));
}

// The grid of tests/grid/<stem>.cdl opened with a bound on a tile's values.
Result<Grid> bounded(const std::string& stem, std::size_t memory_bytes,
                     std::vector<std::unique_ptr<ScratchGrid>>& scratch) {
    GridChoice choice;
    choice.files = {generated(stem, scratch)};
    choice.memory_bytes = memory_bytes;
    return Grid::open(choice);
}

TEST(GridCases, TilesBoundTheValuesHeld) {
    // 6 cells x 3 days x 3 variables x 8 bytes: a bound of two cells' values
    // makes tiles of two cells, row-major, each read alone.
    std::vector<std::unique_ptr<ScratchGrid>> scratch;
    Result<Grid> grid = bounded("era5_like", 2 * 3 * 3 * 8, scratch);
    ASSERT_TRUE(grid.ok()) << grid.problem().message();
    ASSERT_EQ(grid->tiles(), 4u);
    std::vector<std::size_t> tiles;
    for (const GridCell& cell : grid->cells()) tiles.push_back(cell.tile);
    EXPECT_EQ(tiles, (std::vector<std::size_t>{0, 0, 1, 2, 2, 3}));
    Result<TileValues> last = grid->read_tile(3);
    ASSERT_TRUE(last.ok());
    EXPECT_EQ(last->first_cell(), 5u);
    EXPECT_EQ(last->csv_text(5),
              "date,pcp,tmax,tmin\n2001-01-01,2,8.2,-1.8\n2001-01-02,0.1,5.85,-4.15\n2001-01-04,0.01,2.85,-7.15\n");
}

TEST(GridCases, TilesFollowTheChunks) {
    // Chunks of 2 x 2 cells, a bound of four cells' values: tiles of whole
    // chunks, 2 x 2 and then 2 x 1.
    std::vector<std::unique_ptr<ScratchGrid>> scratch;
    Result<Grid> grid = bounded("chunked", 4 * 2 * 1 * 8, scratch);
    ASSERT_TRUE(grid.ok()) << grid.problem().message();
    std::vector<std::string> cells;
    for (const GridCell& cell : grid->cells()) cells.push_back(cell.name + " " + std::to_string(cell.tile));
    EXPECT_EQ(cells, (std::vector<std::string>{"1.000N_1.000E 0", "1.000N_2.000E 0", "2.000N_1.000E 0",
                                               "2.000N_2.000E 0", "1.000N_3.000E 1", "2.000N_3.000E 1"}));
    Result<TileValues> last = grid->read_tile(1);
    ASSERT_TRUE(last.ok());
    EXPECT_EQ(last->csv_text(5), "date,pcp\n2010-06-01,6\n2010-06-02,12\n");
}

// Exact decimal steps: a value's text, a unit's factor and offset.
TEST(GridDecimals, ExactSteps) {
    struct Row {
        std::string value, factor, offset, expected;
    };
    const Row rows[] = {
        {shortest_text(1.3888889e-05F), "86400", "0", "1.2000000096"},
        {"123", "0.1", "0", "12.3"},
        {shortest_text(273.65F), "1", "-273.15", "0.5"},
        {shortest_text(0.1F), "1000", "0", "100"},
        {"-1234", "0.01", "10", "-2.34"},
        {"1e-30", "86400", "0", "0.0000000000000000000000000864"},
        {"250.5", "0.0864", "0", "21.6432"},
        {"5", "0.000001", "0", "0.000005"},
        {"-0", "1", "0", "0"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(plain_text(*decimal(row.value) * *decimal(row.factor) + *decimal(row.offset)), row.expected)
            << row.value;
    }
    EXPECT_EQ(divided_rounded(*decimal("9806.65"), 980665, 5, 1), "1000.0");
    EXPECT_EQ(divided_rounded(*decimal("0.490332"), 980665, 5, 1), "0.0");
    EXPECT_EQ(divided_rounded(*decimal("-0.4903325"), 980665, 5, 1), "-0.1");
    EXPECT_EQ(rounded_text(*decimal("52.1255"), 3), "52.126");
    EXPECT_EQ(rounded_text(*decimal("0.0625"), 3), "0.063");
}

TEST(GridUnits, Spellings) {
    const std::pair<const char*, const char*> rows[] = {
        {"kg m-2 s-1", "kg m-2 s-1"},
        {"kg/m2/s", "kg m-2 s-1"},
        {"kg m**-2 s**-1", "kg m-2 s-1"},
        {"W/m2", "W m-2"},
        {"W m**-2", "W m-2"},
        {"m/s", "m s-1"},
        {"m s**-1", "m s-1"},
        {"mm/day", "mm d-1"},
        {"percent", "%"},
        {"\xC2\xB0"
         "C",
         "degC"},
        {"J m**-2", "J m-2"},
        {"m^2 s^-2", "m2 s-2"},
    };
    for (const auto& [units, canonical] : rows) EXPECT_EQ(canonical_unit(units), canonical) << units;
    EXPECT_FALSE(conversion(Quantity::precipitation, "K"));
    EXPECT_FALSE(conversion(Quantity::temperature, "degF"));
}

TEST(GridTime, UnitsAndCalendars) {
    struct Row {
        const char* units;
        const char* calendar;
        double value;
        const char* expected;  // "" dropped; "!" refused
    };
    const Row rows[] = {
        {"days since 2000-01-01", "standard", 59, "2000-02-29"},
        {"days since 2000-01-01", "noleap", 59, "2000-03-01"},
        {"days since 2001-01-01", "all_leap", 59, ""},
        {"days since 2001-01-01", "all_leap", 60, "2001-03-01"},
        {"days since 2000-01-01", "360_day", 59, "2000-02-30"},  // shown below as dropped
        {"days since 2000-01-01", "360_day", 58, "2000-02-29"},
        {"days since 2000-01-01", "360_day", 360, "2001-01-01"},
        {"hours since 1900-01-01 00:00:00.0", "gregorian", 886920, "2001-03-07"},
        {"hours since 2000-01-01 12:00", "standard", 11.9, "2000-01-01"},
        {"hours since 2000-01-01 12:00", "standard", 12, "2000-01-02"},
        {"seconds since 1970-01-01T00:00:00Z", "proleptic_gregorian", -1, "1969-12-31"},
        {"days since 2000-01-01 00:00 +06:00", "standard", 0, "1999-12-31"},
        {"minutes since 2000-01-01", "", 1440, "2000-01-02"},
        {"days since 1000-01-01", "proleptic_gregorian", 0, "1000-01-01"},
        {"days since 1500-01-01", "standard", 0, "!"},
        {"days since 2000-01-01", "julian", 0, "!"},
        {"months since 2000-01-01", "standard", 0, "!"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.units) + " " + row.calendar);
        Result<TimeAxis> axis = TimeAxis::open(row.units, row.calendar);
        if (std::string(row.expected) == "!") {
            EXPECT_FALSE(axis.ok());
            continue;
        }
        ASSERT_TRUE(axis.ok()) << axis.problem().message();
        Result<std::optional<Date>> date = axis->date_of(row.value);
        ASSERT_TRUE(date.ok());
        const std::string expected = row.expected;
        if (expected.empty() || expected == "2000-02-30") {
            EXPECT_FALSE(date->has_value());
        } else {
            ASSERT_TRUE(date->has_value());
            EXPECT_EQ(date_text(**date), expected);
        }
    }
}

}  // namespace
}  // namespace wgn::grid
