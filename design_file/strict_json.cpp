// A SAX handler that builds the document while it judges it, and an input iterator that tells
// how far the parser has read, so that a refusal can be placed.
#include "design_file/strict_json.h"

#include "analysis_report/json_reader.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>
#include <iterator>
#include <unordered_set>
#include <vector>

namespace design_file {
namespace {

// A map-based document while building: finding a repeated member stays fast however many there
// are; the reader's ordered document is made from it at the end.
using Dom = nlohmann::json;

// Reads the text as a plain pointer would, and keeps the furthest point read where the handler
// can see it.
class CountingIterator {
  public:
    using iterator_category = std::input_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char*;
    using reference = const char&;

    CountingIterator(const char* at, const char** furthest) : m_at(at), m_furthest(furthest) {}
    reference operator*() const { return *m_at; }
    CountingIterator& operator++() {
        *m_furthest = ++m_at;
        return *this;
    }
    CountingIterator operator++(int) {
        CountingIterator before = *this;
        ++*this;
        return before;
    }
    bool operator==(const CountingIterator& other) const { return m_at == other.m_at; }

  private:
    const char* m_at;
    const char** m_furthest;
};

// "NaN", "nan", "Infinity", "-inf"...: what a program that writes non-finite numbers writes. The
// parser's last token may begin with what came before the value ("\"vref\":N").
bool LooksNonFinite(std::string token) {
    const std::size_t before = token.find_last_of(" \t\r\n:,[{");
    if (before != std::string::npos) {
        token.erase(0, before + 1);
    }
    if (!token.empty() && (token.front() == '-' || token.front() == '+')) {
        token.erase(0, 1);
    }
    std::transform(token.begin(), token.end(), token.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    const auto prefixOf = [&token](std::string_view word) {
        return !token.empty() && token.size() <= word.size() && word.starts_with(token);
    };
    return prefixOf("nan") || prefixOf("infinity");
}

// The parser's own words after its "while parsing ... - ": "invalid literal", "unexpected '}'".
std::string SyntaxDetail(const std::string& what) {
    const std::size_t dash = what.find(" - ");
    std::string detail = dash == std::string::npos ? "syntax error" : what.substr(dash + 3);
    // Its quotes of the text may hold any byte; a message keeps to printable ASCII.
    for (char& c : detail) {
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F) {
            c = '?';
        }
    }
    return detail;
}

// nlohmann's error for a number beyond the range of doubles: it never hands one over.
constexpr int NumberOverflow = 406;

class StrictSax {
  public:
    explicit StrictSax(std::size_t maxDepth) : m_maxDepth(maxDepth) {}

    bool null() { return Value(nullptr); }
    bool boolean(bool value) { return Value(value); }
    bool number_integer(Dom::number_integer_t value) { return Value(value); }
    bool number_unsigned(Dom::number_unsigned_t value) { return Value(value); }
    bool number_float(Dom::number_float_t value, const std::string&) { return Value(value); }
    bool string(std::string& value) { return Value(std::move(value)); }
    bool binary(Dom::binary_t&) { return Refuse("holds binary data"); } // never in JSON text
    bool start_object(std::size_t) { return Open(Dom::object()); }
    bool start_array(std::size_t) { return Open(Dom::array()); }
    bool end_object() { return Close(); }
    bool end_array() { return Close(); }
    bool key(std::string& name) {
        Frame& frame = m_frames.back();
        if (!frame.keys.insert(name).second) {
            frame.key = name;
            return Refuse("repeats the member " + Path());
        }
        frame.key = name;
        return true;
    }
    bool parse_error(std::size_t position, const std::string& lastToken,
                     const nlohmann::detail::exception& error) {
        m_position = position;
        if (error.id == NumberOverflow) {
            m_problem = "holds a number beyond the range of doubles";
        } else if (LooksNonFinite(lastToken)) {
            m_problem = "holds NaN or Infinity, which are not numbers in JSON";
        } else {
            m_problem = "is not valid JSON (" + SyntaxDetail(error.what()) + ")";
        }
        return false;
    }

    Dom& root() { return m_root; }
    const std::string& problem() const { return m_problem; }
    // The parser's own position of a syntax error, in characters read; 0 for the handler's own.
    std::size_t position() const { return m_position; }

  private:
    struct Frame {
        Dom* value = nullptr;
        std::unordered_set<std::string> keys; // of an object, as read so far
        std::string key;                      // an object's member being read
    };

    bool Refuse(std::string problem) {
        m_problem = std::move(problem);
        return false;
    }

    // Where the value being read goes: the root, an array's end or an object's member.
    Dom* Place() {
        if (m_frames.empty()) {
            return &m_root;
        }
        Frame& frame = m_frames.back();
        if (frame.value->is_array()) {
            frame.value->push_back(nullptr);
            return &frame.value->back();
        }
        return &(*frame.value)[frame.key];
    }

    bool Value(Dom value) {
        *Place() = std::move(value);
        return true;
    }

    bool Open(Dom empty) {
        if (m_frames.size() >= m_maxDepth) {
            return Refuse("nests deeper than " + std::to_string(m_maxDepth) + " levels");
        }
        Dom* place = Place();
        *place = std::move(empty);
        m_frames.push_back({place, {}, {}});
        return true;
    }

    bool Close() {
        m_frames.pop_back();
        return true;
    }

    // The member being read as a key path: settings.spec_pct, or [2] within an array.
    std::string Path() const {
        std::string path;
        for (const Frame& frame : m_frames) {
            if (frame.value->is_array()) {
                path += "[" + std::to_string(frame.value->size() - 1) + "]";
            } else {
                path += (path.empty() ? "" : ".") + analysis_report::KeyPathStep(frame.key);
            }
        }
        return path;
    }

    std::size_t m_maxDepth;
    Dom m_root;
    std::vector<Frame> m_frames;
    std::string m_problem;
    std::size_t m_position = 0;
};

// "line 3, column 12": lines counted by line feeds, columns by characters of UTF-8.
std::string LineAndColumn(std::string_view text, std::size_t offset) {
    offset = std::min(offset, text.size());
    std::size_t line = 1;
    std::size_t column = 1;
    for (std::size_t i = 0; i < offset; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte == '\n') {
            ++line;
            column = 1;
        } else if ((byte & 0xC0) != 0x80) {
            ++column;
        }
    }
    return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

} // namespace

StrictParse ParseStrictJson(std::string_view text, std::size_t maxDepth) {
    StrictSax sax(maxDepth);
    const char* furthest = text.data();
    const CountingIterator first(text.data(), &furthest);
    const CountingIterator last(text.data() + text.size(), &furthest);
    StrictParse parse;
    if (Dom::sax_parse(first, last, &sax)) {
        parse.document = analysis_report::Json(sax.root());
        return parse;
    }
    // The parser counts the characters it read, the faulty one included; the handler refuses
    // with the last character read being the one it judges.
    const std::size_t read =
        sax.position() > 0 ? sax.position() : std::size_t(furthest - text.data());
    parse.fault = LineAndColumn(text, read > 0 ? read - 1 : 0) + " " + sax.problem();
    return parse;
}

} // namespace design_file
