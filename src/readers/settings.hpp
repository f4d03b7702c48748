// Who sets how a station file is read, for the messages that name a
// setting: the batch's station list, or wgnrain-series' command line.
//
//   setting_name(Settings::station_list, "pcp_column") -> "the station list's pcp_column"
//   setting_name(Settings::command_line, "pcp_column") -> "--pcp-column"
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace wgn::readers {

enum class Settings : std::uint8_t { station_list, command_line };

// `column` is the station list's name of the setting.
inline std::string setting_name(Settings settings, std::string_view column) {
    if (settings == Settings::station_list) return "the station list's " + std::string(column);
    std::string option = "--" + std::string(column);
    for (char& c : option) {
        if (c == '_') c = '-';
    }
    return option;
}

}  // namespace wgn::readers
