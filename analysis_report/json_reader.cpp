// Reading an object's members with the first fault kept as the error's text.
#include "analysis_report/json_reader.h"

#include <algorithm>

namespace analysis_report {
namespace {

std::string Quoted(std::string_view name) {
    return "\"" + std::string(name) + "\"";
}

// A name from the text read: dumping it escapes what a message must not hold.
std::string Escaped(std::string_view name) {
    return Json(name).dump(-1, ' ', false, Json::error_handler_t::replace);
}

} // namespace

std::string KeyPathStep(std::string_view key) {
    const bool word = !key.empty() && std::all_of(key.begin(), key.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '_';
    });
    return word ? std::string(key) : Escaped(key);
}

JsonReader::JsonReader(const Json& object, std::string where)
    : JsonReader(object, std::move(where), Naming::Quoted) {}

JsonReader JsonReader::AtPath(const Json& object, std::string path) {
    return JsonReader(object, std::move(path), Naming::KeyPath);
}

JsonReader::JsonReader(const Json& object, std::string where, Naming naming)
    : m_object(object), m_where(std::move(where)), m_naming(naming) {
    if (m_object.is_object()) {
        return;
    }
    if (m_naming == Naming::Quoted) {
        Fail("the " + m_where + " is not a JSON object");
    } else {
        Fail(m_where.empty() ? "the file does not hold a JSON object"
                             : m_where + " must be an object");
    }
}

JsonReader JsonReader::Nested(const Json& object, std::string_view member) const {
    return m_naming == Naming::Quoted ? JsonReader(object, std::string(member))
                                      : AtPath(object, Name(member));
}

std::string JsonReader::Name(std::string_view member) const {
    if (m_naming == Naming::Quoted) {
        return Quoted(member);
    }
    return m_where.empty() ? KeyPathStep(member) : m_where + "." + KeyPathStep(member);
}

std::string JsonReader::ObjectName() const {
    return m_naming == Naming::Quoted ? "the " + m_where : m_where;
}

void JsonReader::AllowOnly(std::span<const std::string_view> known) {
    if (failed()) {
        return;
    }
    for (const auto& member : m_object.items()) {
        if (std::find(known.begin(), known.end(), member.key()) == known.end()) {
            Fail(m_naming == Naming::Quoted
                     ? "the " + m_where + " has an unknown member " + Escaped(member.key())
                     : Name(member.key()) + " is not a member it can have");
            return;
        }
    }
}

const Json* JsonReader::Find(std::string_view name, bool optional) {
    if (failed()) {
        return nullptr;
    }
    const auto member = m_object.find(name);
    if (member == m_object.end()) {
        if (!optional) {
            Fail(m_naming == Naming::Quoted ? "the " + m_where + " has no member " + Quoted(name)
                                            : Name(name) + " is missing");
        }
        return nullptr;
    }
    return &*member;
}

void JsonReader::WrongType(std::string_view name, std::string_view wanted) {
    Fail(Name(name) + " must be " + std::string(wanted));
}

std::optional<std::string> JsonReader::String(std::string_view name) {
    const Json* member = Find(name, false);
    if (member == nullptr) {
        return std::nullopt;
    }
    if (!member->is_string()) {
        WrongType(name, "a string");
        return std::nullopt;
    }
    return member->get_ref<const std::string&>();
}

std::optional<std::string> JsonReader::String(std::string_view name, std::string_view fallback) {
    if (!failed() && !m_object.contains(name)) {
        return std::string(fallback);
    }
    return String(name);
}

std::optional<std::size_t> JsonReader::Word(std::string_view name,
                                            std::initializer_list<std::string_view> words) {
    const auto text = String(name);
    if (!text) {
        return std::nullopt;
    }
    const auto* const found = std::find(words.begin(), words.end(), *text);
    if (found == words.end()) {
        std::string list;
        for (std::string_view word : words) {
            list += (list.empty() ? "" : ", ") + Quoted(word);
        }
        WrongType(name, "one of " + list);
        return std::nullopt;
    }
    return std::size_t(found - words.begin());
}

std::optional<bool> JsonReader::Bool(std::string_view name) {
    const Json* member = Find(name, false);
    if (member == nullptr) {
        return std::nullopt;
    }
    if (!member->is_boolean()) {
        WrongType(name, "true or false");
        return std::nullopt;
    }
    return member->get<bool>();
}

std::optional<bool> JsonReader::Bool(std::string_view name, bool fallback) {
    if (!failed() && !m_object.contains(name)) {
        return fallback;
    }
    return Bool(name);
}

std::optional<double> JsonReader::Number(std::string_view name) {
    if (!failed() && !m_object.contains(name)) {
        Find(name, false);
        return std::nullopt;
    }
    return OptionalNumber(name);
}

std::optional<double> JsonReader::OptionalNumber(std::string_view name) {
    const Json* member = Find(name, true);
    if (member == nullptr) {
        return std::nullopt;
    }
    if (!member->is_number()) {
        WrongType(name, "a number");
        return std::nullopt;
    }
    return member->get<double>();
}

std::optional<std::vector<std::string>> JsonReader::Strings(std::string_view name,
                                                            std::size_t count) {
    const Json* member = Find(name, false);
    if (member == nullptr) {
        return std::nullopt;
    }
    const std::string wanted = "an array of " + std::to_string(count) + " strings";
    if (!member->is_array() || member->size() != count) {
        WrongType(name, wanted);
        return std::nullopt;
    }
    std::vector<std::string> texts;
    for (const Json& item : *member) {
        if (!item.is_string()) {
            WrongType(name, wanted);
            return std::nullopt;
        }
        texts.push_back(item.get_ref<const std::string&>());
    }
    return texts;
}

std::optional<Json> JsonReader::OptionalObject(std::string_view name) {
    const Json* member = Find(name, true);
    if (failed()) {
        return std::nullopt;
    }
    if (member == nullptr) {
        return Json::object();
    }
    if (!member->is_object()) {
        WrongType(name, "an object");
        return std::nullopt;
    }
    return *member;
}

void JsonReader::Fail(std::string text) {
    if (!m_error) {
        m_error = std::move(text);
    }
}

} // namespace analysis_report
