// A NetCDF file read through NetCDF-C, the only place the programs use it:
// open a file read-only, list its dimensions and variables, read attributes
// as text or numbers, and read a hyperslab of a variable into the caller's
// buffer.
//
//   Result<File> file = File::open("/d/era5.nc");      // missing: "No such file or directory"
//   file->dimensions()  -> {{"time", 365, true}, {"latitude", 3, false}, ...}
//   file->variables()   -> {{"tp", Type::float32, {0, 1, 2}}, ...}
//   file->text_attribute(var, "units")            -> "m"
//   file->number_attribute(var, "scale_factor")   -> {0.1}, as stored (float attributes flagged)
//   std::vector<double> slab(10 * 3 * 4);
//   file->read(var, {0, 0, 0}, {10, 3, 4}, slab.data());
//
// A problem's text names the file and gives NetCDF's own reason
// (nc_strerror).  The file is closed when the File ends.  Files are opened
// with HDF5's chunk cache at 4 MB a variable (NetCDF's own default is larger).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "problem/problem.hpp"

namespace wgn::netcdf {

enum class Type { int8, uint8, int16, uint16, int32, uint32, int64, uint64, float32, float64, text, other };

struct Dimension {
    std::string name;
    std::size_t length = 0;
    bool unlimited = false;
};

struct Variable {
    int id = 0;
    std::string name;
    Type type = Type::other;
    std::vector<int> dimensions;  // ids into File::dimensions()
};

// A numeric attribute's values, each exactly as stored (every type NetCDF
// has but the 64-bit integers beyond 2^53 is exact in a double), and whether
// it was stored as a float (its shortest text is then the float's).
struct Numbers {
    std::vector<double> values;
    Type type = Type::other;
};

class File {
  public:
    static Result<File> open(const std::string& path);
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    ~File();

    const std::string& path() const { return path_; }
    const std::vector<Dimension>& dimensions() const { return dimensions_; }
    const std::vector<Variable>& variables() const { return variables_; }
    // The variable of that name; nothing when the file has none.
    const Variable* variable(const std::string& name) const;

    // A text attribute of a variable (the global attributes: variable id -1);
    // nothing when absent or not text.
    std::optional<std::string> text_attribute(int variable, const std::string& name) const;
    // A numeric attribute; nothing when absent or text.
    std::optional<Numbers> number_attribute(int variable, const std::string& name) const;

    // The values of `variable` from `start`, `count` long in each dimension,
    // into `into` (count's product of them), converted to double by NetCDF.
    Done read(const Variable& variable, const std::vector<std::size_t>& start, const std::vector<std::size_t>& count,
              double* into) const;
    // The variable's chunk lengths, a dimension each, for a chunked
    // (NetCDF-4) variable; nothing for a contiguous one (classic files).
    std::optional<std::vector<std::size_t>> chunks(const Variable& variable) const;
    // A character variable's strings (its last dimension the string length),
    // one per index of its first dimension.
    Result<std::vector<std::string>> read_strings(const Variable& variable) const;

  private:
    File(std::string path, int id) : path_(std::move(path)), id_(id) {}
    Problem problem(int code, const std::string& what) const;
    std::string path_;
    int id_ = -1;  // -1: closed or moved from
    std::vector<Dimension> dimensions_;
    std::vector<Variable> variables_;
};

}  // namespace wgn::netcdf
