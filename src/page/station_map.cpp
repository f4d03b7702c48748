#include "page/station_map.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>

#include "page/svg_writer.hpp"
#include "readers/number_text.hpp"
#include "weather/weather_record.hpp"

namespace wgn::page {
namespace {

constexpr const auto& kNames = weather::kColumns;
constexpr std::size_t kColumnCount = 14, kSlots = 13;  // 12 months and the year
constexpr const char* kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
// The shading without script: pcp_ave of the year.
constexpr std::size_t kDefaultSlot = weather::kPcpAve * kSlots + 12;
// The largest map, in pixels, without the squares' margin.
constexpr double kWidth = 640, kHeight = 460, kMargin = 4;

// The ramp's stops, evenly spaced from the lowest value to the highest
// (sampled from viridis).  The page's script is written from this table.
constexpr int kRamp[][3] = {{68, 1, 84}, {59, 82, 139}, {33, 145, 140}, {94, 201, 98}, {253, 231, 37}};
constexpr std::size_t kStops = sizeof kRamp / sizeof kRamp[0];

// The recolouring on a choice.  R: the stops; each square's data-v its texts,
// data-n its station, its <title> "NAME, LABEL: TEXT".  The colour as
// ramp_colour and station_map make it, operation by operation, so that a
// value takes the same colour with script and without.
constexpr const char* kScriptHead = "(function(){var R=";
constexpr const char* kScriptBody =
    ",sel=document.getElementById('map-value');"
    "function num(x){var v=x===''?NaN:Number(x);return isFinite(v)?v:NaN;}"
    "function colour(t){t=Math.min(1,Math.max(0,t));var s=t*(R.length-1),k=Math.min(Math.floor(s),R.length-2),"
    "f=s-k,o='#';for(var j=0;j<3;j++){var c=Math.floor(R[k][j]+(R[k+1][j]-R[k][j])*f+0.5);"
    "o+=('0'+c.toString(16)).slice(-2);}return o;}"
    "sel.addEventListener('change',function(){var i=+sel.value,label=sel.options[sel.selectedIndex].text,"
    "sq=Array.from(document.querySelectorAll('#map-stations rect')),lo=Infinity,hi=-Infinity,lt='',ht='',"
    "texts=sq.map(function(r){return r.getAttribute('data-v').split(',')[i]||'';});"
    "texts.forEach(function(x){var v=num(x);if(isNaN(v))return;if(v<lo){lo=v;lt=x;}if(v>hi){hi=v;ht=x;}});"
    "sq.forEach(function(r,n){var x=texts[n],v=num(x),has=!isNaN(v);"
    "r.setAttribute('fill',has?colour(hi>lo?(v-lo)/(hi-lo):0.5):'none');r.setAttribute('stroke',has?'none':'#999');"
    "r.firstChild.textContent=r.getAttribute('data-n')+', '+label+': '+(has?x:'no value');});"
    "document.getElementById('map-low').textContent=lt===''?'no values':lt;"
    "document.getElementById('map-high').textContent=ht;"
    "document.getElementById('map-label').textContent=label;});})();";

// The decimals a table text is written with: "64.17" -> 2, "12" -> 0.
int decimals_of(const std::string& text) {
    const std::size_t dot = text.find('.');
    if (dot == std::string::npos) return 0;
    std::size_t end = dot + 1;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
    return static_cast<int>(std::min<std::size_t>(end - dot - 1, 6));
}

std::string slot_label(std::size_t slot) {
    const std::size_t c = slot / kSlots, m = slot % kSlots;
    if (m < 12) return std::string(kNames[c]) + ", " + kMonths[m];
    const bool sum = c == weather::kPcpAve || c == weather::kPcpDays;
    return std::string(kNames[c]) + ", year (" + (sum ? "sum" : "mean") + ")";
}

// A station's texts by slot (column-major, the year after the months).
std::array<std::string, kColumnCount * kSlots> slot_texts(const PageStation& s) {
    std::array<std::string, kColumnCount * kSlots> texts;
    for (std::size_t c = 0; c < kColumnCount; ++c) {
        std::array<std::string, 12> months;
        std::string* column = texts.data() + c * kSlots;  // the column's 13 slots
        for (std::size_t m = 0; m < 12; ++m) months[m] = column[m] = s.values[m][c];
        column[12] = year_text(months, c);
    }
    return texts;
}

struct Placed {
    std::size_t station;
    double x, y;  // degrees: east of the westernmost (times the cosine), south of the northernmost
};

}  // namespace

std::string ramp_colour(double t) {
    t = std::min(1.0, std::max(0.0, t));
    const double s = t * static_cast<double>(kStops - 1);
    const std::size_t k = std::min(static_cast<std::size_t>(std::floor(s)), kStops - 2);
    const double f = s - static_cast<double>(k);
    std::string colour = "#";
    for (std::size_t j = 0; j < 3; ++j) {
        const double a = kRamp[k][j], b = kRamp[k + 1][j];
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02x", static_cast<int>(std::floor(a + (b - a) * f + 0.5)));
        colour.append(hex);
    }
    return colour;
}

std::string year_text(const std::array<std::string, 12>& months, std::size_t column) {
    double total = 0;
    int decimals = 0;
    for (const std::string& text : months) {
        const std::optional<double> v = readers::finite_number(text);
        if (!v) return {};
        total += *v;
        decimals = std::max(decimals, decimals_of(text));
    }
    if (column != weather::kPcpAve && column != weather::kPcpDays) total /= 12;
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, total);
    // A mean that rounds to nothing is 0, not -0.
    std::string shown = text;
    if (shown[0] == '-' && shown.find_first_not_of("-0.") == std::string::npos) return shown.substr(1);
    return shown;
}

std::vector<double> contiguous_longitudes(std::vector<double> longitudes) {
    // Stations over more than half the globe whose widest empty stretch lies
    // between them rather than across +-180: those west of that stretch are
    // taken 360 degrees further east, so that the map has them side by side.
    if (longitudes.size() < 2) return longitudes;
    std::vector<double> sorted = longitudes;
    std::sort(sorted.begin(), sorted.end());
    const double span = sorted.back() - sorted.front();
    if (span <= 180) return longitudes;
    std::size_t widest = 0;
    for (std::size_t i = 1; i + 1 < sorted.size(); ++i) {
        if (sorted[i + 1] - sorted[i] > sorted[widest + 1] - sorted[widest]) widest = i;
    }
    if (sorted[widest + 1] - sorted[widest] <= 360 - span) return longitudes;
    for (double& lon : longitudes) {
        if (lon <= sorted[widest]) lon += 360;
    }
    return longitudes;
}

std::string station_map(const std::vector<PageStation>& stations, std::size_t shown, std::size_t total) {
    // 1. The stations with a position, and the area they cover.
    std::vector<std::size_t> placed_stations;
    std::vector<double> lats, lons;
    for (std::size_t i = 0; i < stations.size(); ++i) {
        const std::optional<double> lat = readers::finite_number(stations[i].latitude),
                                    lon = readers::finite_number(stations[i].longitude);
        if (!lat || !lon) continue;
        placed_stations.push_back(i);
        lats.push_back(*lat);
        lons.push_back(*lon);
    }
    if (placed_stations.size() < 2) return {};
    lons = contiguous_longitudes(lons);
    const auto [south, north] = std::minmax_element(lats.begin(), lats.end());
    const auto [west, east] = std::minmax_element(lons.begin(), lons.end());
    const double pi = std::acos(-1.0);
    const double shrink = std::cos((*south + *north) / 2 * pi / 180);
    std::vector<Placed> placed;
    for (std::size_t k = 0; k < placed_stations.size(); ++k)
        placed.push_back({placed_stations[k], (lons[k] - *west) * shrink, *north - lats[k]});

    // 2. The scale (pixels a degree) and the squares' size.
    const double wide = (*east - *west) * shrink, high = *north - *south;
    double scale = std::numeric_limits<double>::infinity();
    if (wide > 0) scale = kWidth / wide;
    if (high > 0) scale = std::min(scale, kHeight / high);
    if (!std::isfinite(scale)) scale = 1;
    double nearest = std::numeric_limits<double>::infinity();
    for (std::size_t a = 0; a < placed.size(); ++a) {
        for (std::size_t b = a + 1; b < placed.size(); ++b) {
            const double d = std::hypot(placed[a].x - placed[b].x, placed[a].y - placed[b].y);
            if (d > 0) nearest = std::min(nearest, d);
        }
    }
    const double size = std::isfinite(nearest) ? std::clamp(nearest * scale, kMinSquare, kMaxSquare) : kMinSquare;
    const double width = wide * scale + size + 2 * kMargin, height = high * scale + size + 2 * kMargin;

    // 3. The default value's range and the squares.
    std::vector<std::array<std::string, kColumnCount * kSlots>> texts;
    std::optional<double> low, highest;
    std::string low_text, high_text;
    for (const Placed& p : placed) {
        texts.push_back(slot_texts(stations[p.station]));
        if (const std::optional<double> v = readers::finite_number(texts.back()[kDefaultSlot])) {
            if (!low || *v < *low) low = v, low_text = texts.back()[kDefaultSlot];
            if (!highest || *v > *highest) highest = v, high_text = texts.back()[kDefaultSlot];
        }
    }
    const std::string label = slot_label(kDefaultSlot);
    std::string html =
        "<section id=\"map\"><h2>Where the stations are</h2><p><label>Shaded by <select id=\"map-value\" "
        "autocomplete=\"off\">";
    for (std::size_t slot = 0; slot < kColumnCount * kSlots; ++slot) {
        html.append("<option value=\"" + std::to_string(slot) + "\"" + (slot == kDefaultSlot ? " selected=\"\"" : "") +
                    ">" + escaped(slot_label(slot)) + "</option>");
    }
    html.append("</select></label></p><svg class=\"map\" xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                coordinate_text(width) + "\" height=\"" + coordinate_text(height) +
                "\"><rect fill=\"#fafafa\" stroke=\"#ddd\" width=\"" + coordinate_text(width) + "\" height=\"" +
                coordinate_text(height) + "\"/><g id=\"map-stations\">");
    for (std::size_t k = 0; k < placed.size(); ++k) {
        const PageStation& s = stations[placed[k].station];
        const std::string& text = texts[k][kDefaultSlot];
        const std::optional<double> v = readers::finite_number(text);
        const double t = v && *highest > *low ? (*v - *low) / (*highest - *low) : 0.5;
        std::string all;
        for (std::size_t slot = 0; slot < texts[k].size(); ++slot) all.append(slot ? "," : "").append(texts[k][slot]);
        html.append("<rect x=\"" + coordinate_text(kMargin + placed[k].x * scale) + "\" y=\"" +
                    coordinate_text(kMargin + placed[k].y * scale) + "\" width=\"" + coordinate_text(size) +
                    "\" height=\"" + coordinate_text(size) + "\" fill=\"" + (v ? ramp_colour(t) : "none") +
                    "\" stroke=\"" + (v ? "none" : "#999") + "\" data-n=\"" + escaped(s.name) + "\" data-v=\"" +
                    escaped(all) + "\"><title>" + escaped(s.name + ", " + label + ": " + (v ? text : "no value")) +
                    "</title></rect>");
    }
    html.append("</g></svg>");

    // 4. The legend: the ramp from the lowest value to the highest, then what it shades.
    html.append(
        "<p class=\"legend\"><svg xmlns=\"http://www.w3.org/2000/svg\" width=\"300\" height=\"16\" "
        "font-size=\"10\" fill=\"#444\"><text id=\"map-low\" x=\"56\" y=\"12\" text-anchor=\"end\">" +
        escaped(low ? low_text : "no values") + "</text>");
    for (int i = 0; i < 40; ++i) {
        html.append("<rect x=\"" + std::to_string(60 + 4 * i) + "\" y=\"2\" width=\"4\" height=\"12\" fill=\"" +
                    ramp_colour((i + 0.5) / 40) + "\"/>");
    }
    html.append("<text id=\"map-high\" x=\"224\" y=\"12\" text-anchor=\"start\">" + escaped(high_text) +
                "</text></svg> <span id=\"map-label\">" + escaped(label) + "</span></p>");
    html.append(
        "<p>North up, a degree east shortened to its length at the middle latitude; a station without the value "
        "hollow. The year: the mean of the twelve months, for pcp_ave and pcp_days their sum.");
    if (shown < total) {
        html.append(" The map shows the first " + grouped(static_cast<long>(shown)) + " of " +
                    grouped(static_cast<long>(total)) + " stations.");
    }
    html.append("</p>");

    // 5. The script, its stops written from the table above.
    std::string stops = "[";
    for (std::size_t k = 0; k < kStops; ++k) {
        stops.append(k ? ",[" : "[")
            .append(std::to_string(kRamp[k][0]) + "," + std::to_string(kRamp[k][1]) + "," +
                    std::to_string(kRamp[k][2]) + "]");
    }
    stops.append("]");
    html.append(std::string("<script>/*<![CDATA[*/") + kScriptHead + stops + kScriptBody + "/*]]>*/</script>");
    html.append("</section>\n");
    return html;
}

}  // namespace wgn::page
