#include "input/ask_settings.hpp"

#include "driver/shared_records.hpp"
#include "input/credit.hpp"
#include "io/units.hpp"

namespace wgn {
namespace {

using io::Advance;
using io::kConsoleInput;
using io::kConsoleOutput;

// True when `name` denotes one of the tables that the run writes into the
// working directory, whether it exists yet or not: the table would overwrite
// that input or report.
bool names_a_table(const std::string& name) {
    return io::same_file(name, kMeanTableName) || io::same_file(name, kTotalTableName);
}

// The output name must not be the input name: equal as 255-character texts,
// or two names of one existing file (a relative and an absolute path, a link),
// which would let the report overwrite the input.  Nor may it name a table.
bool output_refused() {
    return run_settings.output_file_name == run_settings.input_file_name ||
           io::same_existing_file(run_settings.input_file_name, run_settings.output_file_name) ||
           names_a_table(run_settings.output_file_name);
}

// The units the two names are connected to, for the report of a name too long.
constexpr int kInputUnit = 10;
constexpr int kReportUnit = 400;
// A typed name is read this far, so that one longer than the dialogue keeps
// is seen as such.
constexpr std::size_t kLongestTypedName = 4096;

// Reads a name into its 255-character text.  A typed name longer than that
// is refused with report 43 on that name, before anything is created: cut, it
// would name another file.
void read_name(std::string& name, int unit) {
    std::string typed = name;
    typed.resize(kLongestTypedName, ' ');
    io::read_list(kConsoleInput, {io::TextItem{&typed, kLongestTypedName}});
    const std::size_t last = typed.find_last_not_of(' ');
    if (last != std::string::npos && last >= kFileNameLength) {
        io::fail_name_too_long(unit, std::string_view(typed).substr(0, last + 1));
    }
    name.assign(typed, 0, kFileNameLength);
}

}  // namespace

void ask_settings(std::int32_t& first_year, float& nodata_value) {
    static const io::FieldList a80("(A80)");
    static const io::FieldList a30("(A30)");
    static const io::FieldList a37("(A37)");
    static const io::FieldList a38("(A38)");

    // 1-7. Banner and explanation.
    io::write_formatted(kConsoleOutput, a80, {kConsoleCredit});
    io::write_list_record(kConsoleOutput, "");
    io::write_list_record(kConsoleOutput, "This program calculates statistical parameters of average daily");
    io::write_list_record(kConsoleOutput, "precipitation data used by SWAT in the <userwgn.dbf>.");
    io::write_list_record(kConsoleOutput, "The first value in the precipitation input file must have the value");
    io::write_list_record(kConsoleOutput, "of January 1st and the last one of December 31st!");
    io::write_list_record(kConsoleOutput, "");

    // 8. Input file name, asked again while it names one of the tables.
    io::write_formatted(kConsoleOutput, a30, {std::string_view("Input Filename: ")}, Advance::no);
    read_name(run_settings.input_file_name, kInputUnit);
    while (names_a_table(run_settings.input_file_name)) {
        io::write_formatted(kConsoleOutput, a37, {std::string_view("Please choose another Input Filename!")});
        io::write_formatted(kConsoleOutput, a30, {std::string_view("Input Filename: ")}, Advance::no);
        read_name(run_settings.input_file_name, kInputUnit);
    }

    // 9-10. Output file name: starts equal to the input name, so the prompt
    //       is always shown; asked again until the names differ and it names
    //       no table.
    run_settings.output_file_name = run_settings.input_file_name;
    while (output_refused()) {
        io::write_formatted(kConsoleOutput, a30, {std::string_view("Output Filename: ")}, Advance::no);
        read_name(run_settings.output_file_name, kReportUnit);
        if (output_refused())
            io::write_formatted(kConsoleOutput, a38, {std::string_view("Please choose another Output Filename!")});
    }

    // 11-12. First year and NoData value, taken as typed.
    io::write_formatted(kConsoleOutput, a30, {std::string_view("First year of period (yyyy): ")}, Advance::no);
    io::read_list(kConsoleInput, {&first_year});
    io::write_formatted(kConsoleOutput, a30, {std::string_view("NoData value = ")}, Advance::no);
    io::read_list(kConsoleInput, {&nodata_value});
}

}  // namespace wgn
