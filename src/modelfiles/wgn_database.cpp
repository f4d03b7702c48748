#include "modelfiles/wgn_database.hpp"

#include <algorithm>
#include <map>

#include "readers/number_text.hpp"
#include "readers/plain_decimal.hpp"

namespace wgn::modelfiles {
namespace {

constexpr std::string_view kStationColumns[] = {"id", "name", "lat", "lon", "elev", "rain_yrs"};
constexpr std::string_view kMonthColumns[] = {"wgn_id", "month"};

std::string joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text.append(text.empty() ? "" : ", ").append(name);
    return text.empty() ? "none" : text;
}

// A table's missing columns, by name and any case of their letters.
Result<void> has_columns(const ReadOnlyDatabase& database, const std::string& table,
                         const std::vector<std::string_view>& wanted) {
    Result<std::vector<std::string>> columns = database.columns_of(table);
    if (!columns) return columns.problem();
    std::vector<std::string> missing;
    for (const std::string_view name : wanted) {
        const bool found = std::any_of(columns->begin(), columns->end(), [name](const std::string& column) {
            return column.size() == name.size() &&
                   std::equal(column.begin(), column.end(), name.begin(),
                              [](char a, char b) { return (a >= 'A' && a <= 'Z' ? a - 'A' + 'a' : a) == b; });
        });
        if (!found) missing.emplace_back(name);
    }
    if (missing.empty()) return {};
    return Problem{database.shown(), 0, "", "the table " + table + " has no column " + joined(missing)};
}

// A cell as a plain decimal; nothing for a NULL; a problem for another text.
Result<weather::DecimalText> value_of(const TextCell& cell, std::string_view column) {
    if (!cell) return weather::DecimalText{};
    const std::optional<std::string> plain = readers::plain_decimal(*cell);
    if (!plain) return problem_text(std::string(column) + " \"" + *cell + "\" is not a number");
    return weather::DecimalText::made(*plain);
}

}  // namespace

Result<WgnDatabase> WgnDatabase::open(const io::platform::ResolvedName& file, std::string_view table) {
    Result<ReadOnlyDatabase> database = ReadOnlyDatabase::open(file);
    if (!database) return database.problem();
    Result<std::vector<std::string>> tables = database->table_names();
    if (!tables) return tables.problem();
    const std::string monthly = std::string(table) + "_mon";
    for (const std::string& wanted : {std::string(table), monthly}) {
        if (std::find(tables->begin(), tables->end(), wanted) == tables->end()) {
            return Problem{file.shown, 0, "", "no table " + wanted + " (its tables: " + joined(*tables) + ")"};
        }
    }
    std::vector<std::string_view> month_columns(std::begin(kMonthColumns), std::end(kMonthColumns));
    month_columns.insert(month_columns.end(), weather::kColumns.begin(), weather::kColumns.end());
    if (Result<void> has =
            has_columns(*database, std::string(table), {std::begin(kStationColumns), std::end(kStationColumns)});
        !has) {
        return has.problem();
    }
    if (Result<void> has = has_columns(*database, monthly, month_columns); !has) return has.problem();
    return WgnDatabase(std::move(*database), std::string(table));
}

std::string WgnDatabase::place_of(const weather::ReferenceStation& station) const {
    return shown() + ", table " + table_ + ", id " + std::to_string(station.line);
}

Result<std::vector<DatabaseStation>> WgnDatabase::stations() const {
    Result<std::vector<TextRow>> rows = database_.rows("SELECT id, name, lat, lon, elev, rain_yrs FROM " +
                                                       database::quoted_name(table_) + " ORDER BY id");
    if (!rows) return rows.problem();
    std::vector<DatabaseStation> stations;
    stations.reserve(rows->size());
    for (const TextRow& row : *rows) {
        const std::optional<int> id = readers::whole_number(row[0].value_or(""));
        if (!id) return Problem{shown(), 0, "", "the table " + table_ + " has an id that is not a whole number"};
        DatabaseStation& station = stations.emplace_back();
        station.id = *id;
        station.name = row[1].value_or("");
        // The position and rain_yrs as plain decimals, as a weather-wgn.cli gives them.
        std::string* fields[] = {&station.latitude, &station.longitude, &station.elevation, &station.rain_yrs};
        for (std::size_t f = 0; f < 4; ++f) {
            const TextCell& cell = row[f + 2];
            *fields[f] = cell ? readers::plain_decimal(*cell).value_or(*cell) : std::string();
        }
    }
    return stations;
}

namespace {

weather::ReferenceStation without_months(const DatabaseStation& station) {
    weather::ReferenceStation reference;
    reference.line = station.id;
    reference.name = station.name;
    reference.latitude = station.latitude;
    reference.longitude = station.longitude;
    reference.elevation = station.elevation;
    reference.rain_yrs = station.rain_yrs;
    return reference;
}

}  // namespace

std::string WgnDatabase::monthly_query(std::string_view where) const {
    std::string sql = "SELECT wgn_id, month";
    for (const char* column : weather::kColumns) sql.append(", ").append(column);
    return sql.append(" FROM ").append(database::quoted_name(table_ + "_mon")).append(where);
}

Result<void> WgnDatabase::take_month(const TextRow& row, weather::ReferenceStation& station) const {
    const std::optional<int> month = readers::whole_number(row[1].value_or(""));
    const auto fail = [&](const std::string& why) {
        return problem_text(place_of(station) + ": " + table_ + "_mon: " + why);
    };
    if (!month || *month < 1 || *month > 12) return fail("month \"" + row[1].value_or("") + "\" is not 1 ... 12");
    for (std::size_t c = 0; c < weather::kColumns.size(); ++c) {
        Result<weather::DecimalText> value = value_of(row[c + 2], weather::kColumns[c]);
        if (!value) return fail("month " + std::to_string(*month) + ", " + value.problem().text);
        station.values[static_cast<std::size_t>(*month - 1)][c] = std::move(*value);
    }
    return {};
}

Result<bool> WgnDatabase::months_indexed() const {
    return database_.has_index_on(table_ + "_mon", "wgn_id");
}

Result<weather::ReferenceStation> WgnDatabase::with_months(const DatabaseStation& station) const {
    weather::ReferenceStation reference = without_months(station);
    Result<std::vector<TextRow>> rows = database_.rows(monthly_query(" WHERE wgn_id = ?"), {station.id});
    if (!rows) return rows.problem();
    for (const TextRow& row : *rows) {
        if (Result<void> taken = take_month(row, reference); !taken) return taken.problem();
    }
    return reference;
}

Result<std::vector<weather::ReferenceStation>> WgnDatabase::stations_with_months() const {
    Result<std::vector<DatabaseStation>> heads = stations();
    if (!heads) return heads.problem();
    std::vector<weather::ReferenceStation> all;
    all.reserve(heads->size());
    std::map<int, std::size_t> by_id;
    for (const DatabaseStation& station : *heads) {
        by_id.emplace(station.id, all.size());
        all.push_back(without_months(station));
    }
    Result<std::vector<TextRow>> rows = database_.rows(monthly_query(""));
    if (!rows) return rows.problem();
    for (const TextRow& row : *rows) {
        const std::optional<int> id = readers::whole_number(row[0].value_or(""));
        const auto station = id ? by_id.find(*id) : by_id.end();
        if (station == by_id.end()) continue;  // a month of no station of the table is left alone
        if (Result<void> taken = take_month(row, all[station->second]); !taken) return taken.problem();
    }
    return all;
}

}  // namespace wgn::modelfiles
