// NetCDF-C behind wgn::netcdf::File (netcdf_file.hpp).
#include "netcdf/netcdf_file.hpp"

#include "io/platform.hpp"

#include <netcdf.h>
#include <netcdf_meta.h>

#include <utility>

namespace wgn::netcdf {
namespace {

constexpr std::size_t kChunkCacheBytes = 4u << 20;

Type type_of(nc_type type) {
    switch (type) {
        case NC_BYTE: return Type::int8;
        case NC_UBYTE: return Type::uint8;
        case NC_SHORT: return Type::int16;
        case NC_USHORT: return Type::uint16;
        case NC_INT: return Type::int32;
        case NC_UINT: return Type::uint32;
        case NC_INT64: return Type::int64;
        case NC_UINT64: return Type::uint64;
        case NC_FLOAT: return Type::float32;
        case NC_DOUBLE: return Type::float64;
        case NC_CHAR:
        case NC_STRING: return Type::text;
        default: return Type::other;
    }
}

}  // namespace

Problem File::problem(int code, const std::string& what) const {
    return Problem{path_, 0, "", what + ": " + nc_strerror(code)};
}

Result<File> File::open(const std::string& path) {
    // HDF5's cache of chunks, per variable: a grid is read once, slab after
    // slab, each chunk by the tile that holds it, so a chunk is seldom read
    // twice; a small cache keeps a tile's memory the tile's own values.
    nc_set_chunk_cache(kChunkCacheBytes, 1009, 0.75F);
    int id = -1;
    // NetCDF-C takes the system's narrow names: on Windows those of the ANSI
    // code page, which a UTF-8 name beyond it must be made into first.
    const std::optional<std::string> narrow = io::platform::narrow_library_name(io::platform::resolve_file_name(path));
    if (!narrow) {
        return Problem{path, 0, "",
                       "cannot open it: NetCDF-C takes only names of the system's code page (give the file and "
                       "its folders names of plain letters, or a short name)"};
    }
    if (const int code = nc_open(narrow->c_str(), NC_NOWRITE, &id); code != NC_NOERR) {
        std::string why = std::string("cannot open it as NetCDF: ") + nc_strerror(code);
        // A library built without HDF5 (the Windows build's) reads the classic formats only.
        if (code == NC_ENOTNC && NC_HAS_HDF5 == 0)
            why += " (a NetCDF-4 file? this build reads the classic formats: nccopy -k cdf5 IN.nc OUT.nc makes one)";
        return Problem{path, 0, "", why};
    }
    File file(path, id);
    int dimensions = 0, variables = 0, unlimited = -1;
    if (const int code = nc_inq(id, &dimensions, &variables, nullptr, &unlimited); code != NC_NOERR) {
        return file.problem(code, "cannot read its contents");
    }
    // Classic files number dimensions and variables from 0 up; so do the
    // root groups of NetCDF-4 files, which are all this reads.
    for (int d = 0; d < dimensions; ++d) {
        char name[NC_MAX_NAME + 1] = {};
        std::size_t length = 0;
        if (const int code = nc_inq_dim(id, d, name, &length); code != NC_NOERR) {
            return file.problem(code, "cannot read dimension " + std::to_string(d));
        }
        file.dimensions_.push_back({name, length, d == unlimited});
    }
    for (int v = 0; v < variables; ++v) {
        char name[NC_MAX_NAME + 1] = {};
        nc_type type = NC_NAT;
        int count = 0;
        int ids[NC_MAX_VAR_DIMS] = {};
        if (const int code = nc_inq_var(id, v, name, &type, &count, ids, nullptr); code != NC_NOERR) {
            return file.problem(code, "cannot read variable " + std::to_string(v));
        }
        file.variables_.push_back({v, name, type_of(type), std::vector<int>(ids, ids + count)});
    }
    return file;
}

File::File(File&& other) noexcept
    : path_(std::move(other.path_)),
      id_(std::exchange(other.id_, -1)),
      dimensions_(std::move(other.dimensions_)),
      variables_(std::move(other.variables_)) {}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        if (id_ >= 0) nc_close(id_);
        path_ = std::move(other.path_);
        id_ = std::exchange(other.id_, -1);
        dimensions_ = std::move(other.dimensions_);
        variables_ = std::move(other.variables_);
    }
    return *this;
}

File::~File() {
    if (id_ >= 0) nc_close(id_);
}

const Variable* File::variable(const std::string& name) const {
    for (const Variable& variable : variables_) {
        if (variable.name == name) return &variable;
    }
    return nullptr;
}

std::optional<std::string> File::text_attribute(int variable, const std::string& name) const {
    const int v = variable < 0 ? NC_GLOBAL : variable;
    nc_type type = NC_NAT;
    std::size_t length = 0;
    if (nc_inq_att(id_, v, name.c_str(), &type, &length) != NC_NOERR) return std::nullopt;
    if (type == NC_CHAR) {
        std::string text(length, '\0');
        if (length > 0 && nc_get_att_text(id_, v, name.c_str(), text.data()) != NC_NOERR) return std::nullopt;
        while (!text.empty() && text.back() == '\0') text.pop_back();
        return text;
    }
    if (type == NC_STRING && length == 1) {
        char* value = nullptr;
        if (nc_get_att_string(id_, v, name.c_str(), &value) != NC_NOERR) return std::nullopt;
        std::string text = value == nullptr ? "" : value;
        nc_free_string(1, &value);
        return text;
    }
    return std::nullopt;
}

std::optional<Numbers> File::number_attribute(int variable, const std::string& name) const {
    const int v = variable < 0 ? NC_GLOBAL : variable;
    nc_type type = NC_NAT;
    std::size_t length = 0;
    if (nc_inq_att(id_, v, name.c_str(), &type, &length) != NC_NOERR) return std::nullopt;
    const Type kind = type_of(type);
    if (kind == Type::text || kind == Type::other || length == 0) return std::nullopt;
    Numbers numbers{std::vector<double>(length), kind};
    if (nc_get_att_double(id_, v, name.c_str(), numbers.values.data()) != NC_NOERR) return std::nullopt;
    return numbers;
}

Done File::read(const Variable& variable, const std::vector<std::size_t>& start, const std::vector<std::size_t>& count,
                double* into) const {
    if (const int code = nc_get_vara_double(id_, variable.id, start.data(), count.data(), into); code != NC_NOERR) {
        return problem(code, "cannot read " + variable.name);
    }
    return {};
}

std::optional<std::vector<std::size_t>> File::chunks(const Variable& variable) const {
    int storage = NC_CONTIGUOUS;
    std::vector<std::size_t> lengths(variable.dimensions.size());
    if (nc_inq_var_chunking(id_, variable.id, &storage, lengths.data()) != NC_NOERR || storage != NC_CHUNKED)
        return std::nullopt;
    return lengths;
}

Result<std::vector<std::string>> File::read_strings(const Variable& variable) const {
    nc_type type = NC_NAT;
    if (const int code = nc_inq_vartype(id_, variable.id, &type); code != NC_NOERR) {
        return problem(code, "cannot read " + variable.name);
    }
    if (variable.dimensions.empty()) return problem(NC_EINVAL, variable.name + " has no dimension");
    const std::size_t rows = dimensions_[variable.dimensions[0]].length;
    std::vector<std::string> strings;
    if (type == NC_STRING && variable.dimensions.size() == 1) {
        std::vector<char*> values(rows, nullptr);
        if (const int code = nc_get_var_string(id_, variable.id, values.data()); code != NC_NOERR) {
            return problem(code, "cannot read " + variable.name);
        }
        for (char* value : values) strings.emplace_back(value == nullptr ? "" : value);
        nc_free_string(rows, values.data());
        return strings;
    }
    if (type != NC_CHAR || variable.dimensions.size() != 2) {
        return problem(NC_EBADTYPE, variable.name + " is not a list of names");
    }
    const std::size_t width = dimensions_[variable.dimensions[1]].length;
    std::string all(rows * width, '\0');
    if (const int code = nc_get_var_text(id_, variable.id, all.data()); code != NC_NOERR) {
        return problem(code, "cannot read " + variable.name);
    }
    for (std::size_t row = 0; row < rows; ++row) {
        std::string name = all.substr(row * width, width);
        if (const std::size_t end = name.find('\0'); end != std::string::npos) name.resize(end);
        while (!name.empty() && name.back() == ' ') name.pop_back();
        strings.push_back(name);
    }
    return strings;
}

}  // namespace wgn::netcdf
