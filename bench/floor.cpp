// The floor a whole wgnrain run is held to: the same work done by the
// shortest program we could write, without the record layer, the dialogue's
// generality or any checks.  It takes the same four answers on standard
// input, reads every value, writes each as an F12.2 record into one of
// twelve nameless temporary month files, reads them back and converts them,
// forms the month sums (total, moments, wet and dry pairs) and writes a
// report and two year-by-month tables.  Its numbers are close to wgnrain's,
// not equal: ties and rounded zeros are not looked after.
//
//   printf '%s\n' series.txt report.txt 1991 -99 | floor
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string line_of(std::string_view& text) {
    const std::size_t end = text.find('\n');
    std::string line(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    return line;
}

std::string whole(int fd) {
    std::string bytes;
    const off_t size = lseek(fd, 0, SEEK_END);
    if (size > 0 && lseek(fd, 0, SEEK_SET) == 0) {
        // A file: read at its size, straight into place.
        bytes.resize(static_cast<std::size_t>(size));
        std::size_t done = 0;
        for (long got; done < bytes.size() && (got = read(fd, bytes.data() + done, bytes.size() - done)) > 0;)
            done += static_cast<std::size_t>(got);
        bytes.resize(done);
        return bytes;
    }
    char buffer[65536];
    for (long got; (got = read(fd, buffer, sizeof buffer)) > 0;) bytes.append(buffer, static_cast<std::size_t>(got));
    return bytes;
}

constexpr float kPowers[] = {1e0F, 1e1F, 1e2F, 1e3F, 1e4F, 1e5F, 1e6F, 1e7F, 1e8F, 1e9F, 1e10F};

// Digits, an optional point and sign: significand over a power of ten.
float parse(const char*& at, const char* end) {
    while (at < end && (*at == ' ' || *at == '\t')) ++at;
    const bool negative = at < end && *at == '-';
    if (negative || (at < end && *at == '+')) ++at;
    std::uint64_t significand = 0;
    int fraction = -1;
    for (; at < end; ++at) {
        if (*at == '.') {
            fraction = 0;
        } else if (*at >= '0' && *at <= '9') {
            significand = significand * 10 + static_cast<std::uint64_t>(*at - '0');
            if (fraction >= 0) ++fraction;
        } else {
            break;
        }
    }
    const float value = static_cast<float>(significand) / kPowers[fraction < 0 ? 0 : fraction];
    return negative ? -value : value;
}

// An F12.2 field as written below: blanks, an optional sign, digits, the
// point and two digits, read from its right end.
float parse_field(const char* field) {
    std::int64_t hundredths = (field[11] - '0') + 10 * (field[10] - '0');
    std::int64_t scale = 100;
    const char* at = field + 8;
    for (; at >= field && *at >= '0' && *at <= '9'; --at, scale *= 10) hundredths += scale * (*at - '0');
    const float value = static_cast<float>(hundredths) / 100.0F;
    return at >= field && *at == '-' ? -value : value;
}

// F12.2 from integer arithmetic.
char* format(float value, char* out) {
    const double scaled = static_cast<double>(value) * 100.0;
    auto hundredths = static_cast<std::int64_t>(scaled < 0 ? scaled - 0.5 : scaled + 0.5);
    const bool negative = hundredths < 0;
    if (negative) hundredths = -hundredths;
    char* end = out + 12;
    std::memset(out, ' ', 12);
    char* at = end;
    *--at = static_cast<char>('0' + hundredths % 10);
    *--at = static_cast<char>('0' + hundredths / 10 % 10);
    *--at = '.';
    hundredths /= 100;
    do {
        *--at = static_cast<char>('0' + hundredths % 10);
        hundredths /= 10;
    } while (hundredths != 0);
    if (negative) *--at = '-';
    return end;
}

bool is_leap(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

}  // namespace

int main() {
    // 1. The answers and the series.
    const std::string answers = whole(0);
    std::string_view rest = answers;
    const std::string input = line_of(rest);
    const std::string report = line_of(rest);
    const int first_year = std::atoi(line_of(rest).c_str());
    const float nodata = std::strtof(line_of(rest).c_str(), nullptr);
    const int in = open(input.c_str(), O_RDONLY);
    if (in < 0) return 1;
    const std::string text = whole(in);
    close(in);
    std::vector<float> series;
    float sum = 0.0F;
    int missing = 0;
    for (const char* at = text.data(); at < text.data() + text.size();) {
        const float value = parse(at, text.data() + text.size());
        while (at < text.data() + text.size() && *at++ != '\n') {
        }
        series.push_back(value);
        if (value == nodata) {
            ++missing;
        } else {
            sum += value;
        }
    }
    const float mean = sum / static_cast<float>(series.size() - static_cast<std::size_t>(missing));
    for (float& value : series)
        if (value == nodata) value = mean;
    const int years = static_cast<int>(series.size() / 365);

    // 2. The month files: F12.2 records, written through a buffer each.
    const char* folder = std::getenv("TMPDIR");
    int files[12];
    std::vector<std::string> buffers(12);
    for (int& fd : files) fd = open(folder != nullptr ? folder : "/tmp", O_TMPFILE | O_RDWR, 0600);
    std::vector<float> totals(static_cast<std::size_t>(years) * 12);
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    std::size_t day = 0;
    for (int year = 0; year < years; ++year) {
        for (int month = 0; month < 12; ++month) {
            const int days = month == 1 && is_leap(first_year + year) ? 29 : kDays[month];
            std::string& buffer = buffers[static_cast<std::size_t>(month)];
            const std::size_t at = buffer.size();
            buffer.resize(at + static_cast<std::size_t>(days) * 14);
            char* out = buffer.data() + at;
            float total = 0.0F;
            for (int k = 0; k < days && day < series.size(); ++k, ++day) {
                out = format(series[day], out);
                *out++ = '\r';
                *out++ = '\n';
                total += series[day];
            }
            totals[static_cast<std::size_t>(year) * 12 + static_cast<std::size_t>(month)] = total;
            if (buffer.size() >= 65536) {
                if (write(files[month], buffer.data(), buffer.size()) < 0) return 1;
                buffer.clear();
            }
        }
    }

    // 3. Back from each month file: the sums of the month's parameters.
    std::string lines;
    char row[256];
    for (int month = 0; month < 12; ++month) {
        const std::string& buffer = buffers[static_cast<std::size_t>(month)];
        if (write(files[month], buffer.data(), buffer.size()) < 0) return 1;
        lseek(files[month], 0, SEEK_SET);
        const std::string records = whole(files[month]);
        close(files[month]);
        double total = 0;
        double squares = 0;
        double cubes = 0;
        int wet = 0;
        int wet_after_dry = 0;
        int wet_after_wet = 0;
        bool previous_wet = false;
        std::size_t n = 0;
        for (const char* at = records.data(); at < records.data() + records.size(); at += 14, ++n) {
            const float value = parse_field(at);
            total += value;
            squares += static_cast<double>(value) * value;
            cubes += static_cast<double>(value) * value * value;
            const bool is_wet = value > 0.0F;
            wet += is_wet;
            wet_after_dry += !previous_wet && is_wet;
            wet_after_wet += previous_wet && is_wet;
            previous_wet = is_wet;
        }
        const double mean_daily = total / static_cast<double>(n);
        const double deviation = std::sqrt((squares - total * mean_daily) / static_cast<double>(n - 1));
        const double skew = (cubes / static_cast<double>(n)) / (deviation * deviation * deviation);
        std::snprintf(row, sizeof row, "    %3d.%10.2f%12.4f%12.4f%12.4f%12.4f%10.2f\r\n", month + 1, total / years,
                      deviation, skew, wet_after_dry / static_cast<double>(n - static_cast<std::size_t>(wet)),
                      wet_after_wet / static_cast<double>(wet), wet / static_cast<double>(years));
        lines += row;
    }

    // 4. The report and both tables, each record written the moment it is
    //    complete, as wgnrain must (a failure or an interrupt keeps them).
    const int out = open(report.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    const int title = std::snprintf(row, sizeof row, "Statistical Analysis of Daily Precipitation Data (%4d - %4d)\r\n",
                                    first_year, first_year + years - 1);
    if (write(out, row, static_cast<std::size_t>(title)) < 0) return 1;
    for (std::size_t at = 0; at < lines.size(); at += 78) {
        if (write(out, lines.data() + at, std::min<std::size_t>(78, lines.size() - at)) < 0) return 1;
    }
    close(out);
    for (const char* name : {"mean_pcp.sta", "totalpcp.sta"}) {
        const int table = open(name, O_WRONLY | O_CREAT | O_TRUNC, 0666);
        for (int year = 0; year < years; ++year) {
            int length = std::snprintf(row, sizeof row, "%12d", first_year + year);
            for (int month = 0; month < 12; ++month) {
                const float total = totals[static_cast<std::size_t>(year) * 12 + static_cast<std::size_t>(month)];
                char* end = format(total, row + length);
                length = static_cast<int>(end - row);
            }
            row[length++] = '\r';
            row[length++] = '\n';
            if (write(table, row, static_cast<std::size_t>(length)) < 0) return 1;
        }
        close(table);
    }
    return 0;
}
