#include "io/list_reader.hpp"

#include "io/decimal_text.hpp"

namespace wgn::io {
namespace {

bool is_blank(char c) {
    return c == ' ' || c == '\t';
}

// One value as typed: its text (quotes removed), and the repeat count of an
// r*c or r* form.
struct Value {
    std::string_view text;  // into the record, or into `quoted_text`
    std::string quoted_text;
    bool quoted = false;
    bool null = false;  // r* without a constant
    std::int32_t repeat = 1;
};

class Scanner {
  public:
    explicit Scanner(RecordSource& source) : source_(source) {}

    ReadStatus next_record() {
        pos_ = 0;
        return source_.next_record(record_);
    }
    void skip_blanks() {
        while (pos_ < record_.size() && is_blank(record_[pos_])) ++pos_;
    }
    bool at_end() const { return pos_ >= record_.size(); }
    std::string_view rest() const { return record_.substr(pos_ < record_.size() ? pos_ : record_.size()); }
    char peek(std::size_t ahead = 0) const { return record_[pos_ + ahead]; }
    bool has(std::size_t ahead) const { return pos_ + ahead < record_.size(); }
    void advance() { ++pos_; }

    // True when the character at `ahead` ends an unquoted value, or when the
    // record ends there.
    bool value_ends(std::size_t ahead, bool text_item) const {
        if (!has(ahead)) return true;
        const char c = peek(ahead);
        if (is_blank(c) || c == ',') return true;
        // A slash ends a number; in a text it ends the value only when nothing
        // of the value follows it, so that paths such as data/in.txt and
        // /home/me/in.txt are read whole while a lone slash keeps its meaning.
        if (c == '/') return !text_item || value_ends_after_slash(ahead + 1);
        return false;
    }

    bool slash_starts_text(bool text_item) const { return text_item && !value_ends_after_slash(1); }

    ReadStatus read_value(bool text_item, Value& value) {
        value.text = {};
        value.quoted_text.clear();
        value.quoted = false;
        value.null = false;
        value.repeat = 1;
        // r*c and r*: digits directly followed by an asterisk.
        std::size_t digits = 0;
        while (has(digits) && peek(digits) >= '0' && peek(digits) <= '9') ++digits;
        if (digits > 0 && has(digits) && peek(digits) == '*') {
            std::int64_t repeat = 0;
            for (std::size_t i = 0; i < digits; ++i) {
                repeat = repeat * 10 + (peek(i) - '0');
                if (repeat > 0x7FFFFFFF) return ReadStatus::syntax_error;
            }
            if (repeat == 0) return ReadStatus::syntax_error;
            value.repeat = static_cast<std::int32_t>(repeat);
            pos_ += digits + 1;
            if (value_ends(0, false)) {
                value.null = true;
                return ReadStatus::ok;
            }
        }
        if (peek() == '\'' || peek() == '"') return read_quoted(value);
        std::size_t length = 0;
        while (!value_ends(length, text_item)) ++length;
        if (length > kMaxUnquotedLength) return ReadStatus::syntax_error;
        value.text = record_.substr(pos_, length);
        pos_ += length;
        return ReadStatus::ok;
    }

  private:
    bool value_ends_after_slash(std::size_t ahead) const {
        return !has(ahead) || is_blank(peek(ahead)) || peek(ahead) == ',';
    }

    // A quoted value ends at the matching mark; a doubled mark stands for one
    // mark, and the value may go on in the next record.
    ReadStatus read_quoted(Value& value) {
        const char mark = peek();
        advance();
        value.quoted = true;
        for (;;) {
            if (at_end()) {
                const ReadStatus status = next_record();
                if (status != ReadStatus::ok) return status;
                continue;
            }
            const char c = peek();
            advance();
            if (c != mark) {
                value.quoted_text.push_back(c);
            } else if (!at_end() && peek() == mark) {
                value.quoted_text.push_back(mark);
                advance();
            } else {
                break;
            }
        }
        value.text = value.quoted_text;
        if (!at_end() && !is_blank(peek()) && peek() != ',' && peek() != '/') return ReadStatus::syntax_error;
        return ReadStatus::ok;
    }

    RecordSource& source_;
    std::string_view record_;
    std::size_t pos_ = 0;
};

bool is_text(const ListItem& item) {
    return std::holds_alternative<TextItem>(item);
}

ReadStatus store(const ListItem& item, const Value& value) {
    if (const auto* text = std::get_if<TextItem>(&item)) {
        text->target->assign(value.text, 0, text->length);
        text->target->resize(text->length, ' ');
        return ReadStatus::ok;
    }
    if (value.quoted) return ReadStatus::conversion_error;
    bool converted = false;
    if (auto* const* integer = std::get_if<std::int32_t*>(&item))
        converted = parse_integer(value.text, **integer);
    else
        converted = parse_real(value.text, *std::get<float*>(item));
    if (converted) return ReadStatus::ok;
    // Parentheses belong to complex constants, which no item here takes: a
    // value with them is malformed rather than merely not a number.
    return value.text.find_first_of("()") != std::string_view::npos ? ReadStatus::syntax_error
                                                                    : ReadStatus::conversion_error;
}

}  // namespace

ReadStatus read_list(RecordSource& source, std::span<const ListItem> items, std::string_view* rest) {
    Scanner scanner(source);
    const auto finished = [&] {
        if (rest != nullptr) *rest = scanner.rest();
        return ReadStatus::ok;
    };
    ReadStatus status = scanner.next_record();
    if (status != ReadStatus::ok) return status;

    std::size_t index = 0;
    bool after_value = false;  // a comma after a value is only its separator
    Value value;
    while (index < items.size()) {
        scanner.skip_blanks();
        if (scanner.at_end()) {
            status = scanner.next_record();
            if (status != ReadStatus::ok) return status;
            continue;
        }
        const char c = scanner.peek();
        if (c == ',') {
            scanner.advance();
            if (!after_value) ++index;  // null value: the item keeps its value
            after_value = false;
            continue;
        }
        if (c == '/' && !scanner.slash_starts_text(is_text(items[index]))) return finished();

        status = scanner.read_value(is_text(items[index]), value);
        if (status != ReadStatus::ok) return status;
        for (std::int32_t k = 0; k < value.repeat && index < items.size(); ++k, ++index) {
            if (value.null) continue;
            status = store(items[index], value);
            if (status != ReadStatus::ok) return status;
        }
        after_value = true;
    }
    return finished();
}

}  // namespace wgn::io
