#include "io/file_names.hpp"

#include <vector>

namespace wgn::io {

std::string trimmed_file_name(std::string_view name) {
    const auto padding = [](char c) { return c == ' ' || c == '\0'; };
    while (!name.empty() && padding(name.front())) name.remove_prefix(1);
    while (!name.empty() && padding(name.back())) name.remove_suffix(1);
    return std::string(name.substr(0, kMaxFileNameLength));
}

std::string full_path(std::string_view name, std::string_view directory) {
    std::string joined;
    if (name.empty() || name.front() != '/') {
        joined.assign(directory);
        joined.push_back('/');
    }
    joined.append(name);

    std::vector<std::string_view> parts;
    std::string_view rest = joined;
    while (!rest.empty()) {
        const std::size_t slash = rest.find('/');
        const std::string_view part = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
            continue;
        }
        parts.push_back(part);
    }
    std::string result;
    for (const std::string_view part : parts) {
        result.push_back('/');
        result.append(part);
    }
    if (result.empty()) result.push_back('/');
    // A trailing separator says "a directory"; keep it so the open still sees it.
    if (joined.size() > 1 && joined.back() == '/' && result != "/") result.push_back('/');
    return result;
}

std::string name_refusal(const platform::ResolvedName& name) {
    if (name.error != 0) return platform::reason_text(name.error);
    switch (name.report) {
        case 42: return "no such drive";
        case 43:
            return name.shown.size() > kMaxFileNameLength ? "the name is too long"
                                                          : "a name that holds a character no file name may hold";
        default: return "the name cannot be used";
    }
}

std::string failure_reason(const platform::ResolvedName& name, int error) {
    return error != 0 ? platform::reason_text(error) : name_refusal(name);
}

}  // namespace wgn::io
