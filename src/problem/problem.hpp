// The one way the companion programs tell their caller that something cannot
// be done: a `Problem` (what is wrong, and the place in a file it is about),
// returned in a `Result` beside the value it replaces.
//
//   Problem{"/d/a.csv", 12, "tmax", "\"--\" is not a number"}.message()
//       -> "/d/a.csv, line 12, column tmax: \"--\" is not a number"
//   Problem{"", 0, "", "no precipitation column"}.message()
//       -> "no precipitation column"
//
//   Result<int> r = year_of(text);
//   if (!r) return r.problem();       // passes the problem on unchanged
//   use(*r);
//
// Deep inside a parser, where every level would otherwise pass the result
// on by hand, `fail(problem)` throws a `ProblemError`; the parser's public
// function catches it (`catch_problem`) and returns it as a Result, so no
// exception leaves a companion's interface.
#pragma once

#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>

namespace wgn {

struct Problem {
    std::string file;    // the file's name as shown to the user; empty: none
    int line = 0;        // 0: the file as a whole
    std::string column;  // a column's name or a character position; empty: the line as a whole
    std::string text;    // what is wrong

    // "/d/a.csv, line 12, column tmax": the parts that are set, in that order.
    std::string place() const {
        std::string where(file);
        const auto part = [&where](std::string_view what) { where.append(where.empty() ? "" : ", ").append(what); };
        if (line > 0) part("line " + std::to_string(line));
        if (!column.empty()) part("column " + column);
        return where;
    }
    // The place, ": ", and the text; the text alone where there is no place.
    std::string message() const {
        const std::string where = place();
        return where.empty() ? text : where + ": " + text;
    }
    // The same problem as found in `shown_file` (a reader knows the line, its
    // caller the file).
    Problem in_file(std::string_view shown_file) const {
        Problem moved = *this;
        moved.file = shown_file;
        return moved;
    }
};

// A problem about no place in particular.
inline Problem problem_text(std::string text) {
    return Problem{"", 0, "", std::move(text)};
}

// A value, or the problem that stands in its place.
template <typename T>
class [[nodiscard]] Result {
  public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}            // NOLINT: implicit by design
    Result(Problem problem) : state_(std::in_place_index<1>, std::move(problem)) {}  // NOLINT

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    // The value; asking a problem for one is a fault of the program, which
    // ends it rather than go on with no value.
    T& value() & { return *checked(std::get_if<0>(&state_)); }
    const T& value() const& { return *checked(std::get_if<0>(&state_)); }
    T&& value() && { return std::move(*checked(std::get_if<0>(&state_))); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }
    T&& operator*() && { return std::move(*this).value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }

    const Problem& problem() const { return *checked(std::get_if<1>(&state_)); }

  private:
    template <typename U>
    static U* checked(U* held) noexcept {
        if (held == nullptr) std::terminate();
        return held;
    }
    std::variant<T, Problem> state_;
};

// Done, or the problem that prevented it.
template <>
class [[nodiscard]] Result<void> {
  public:
    Result() = default;
    Result(Problem problem) : problem_(std::move(problem)) {}  // NOLINT: implicit by design

    bool ok() const { return !problem_; }
    explicit operator bool() const { return ok(); }
    const Problem& problem() const {
        if (!problem_) std::terminate();  // asked of a success: a fault of the program
        return *problem_;
    }

  private:
    std::optional<Problem> problem_;
};
using Done = Result<void>;

// Carries a problem out of a parser's depths to its public function.
struct ProblemError : std::exception {
    explicit ProblemError(Problem found) : problem(std::move(found)) {}
    const char* what() const noexcept override { return problem.text.c_str(); }
    Problem problem;
};
[[noreturn]] inline void fail(Problem problem) {
    throw ProblemError(std::move(problem));
}
[[noreturn]] inline void fail(int line, std::string column, std::string text) {
    throw ProblemError(Problem{"", line, std::move(column), std::move(text)});
}

// Runs `body` (which returns a T, or nothing for Result<void>) and returns
// its value, or the problem it failed with.
template <typename Body>
auto catch_problem(Body&& body) -> Result<std::invoke_result_t<Body>> {
    try {
        if constexpr (std::is_void_v<std::invoke_result_t<Body>>) {
            body();
            return {};
        } else {
            return body();
        }
    } catch (const ProblemError& error) {
        return error.problem;
    }
}

}  // namespace wgn
