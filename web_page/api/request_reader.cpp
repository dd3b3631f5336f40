// Reading a request's members with the first fault kept as the error's text.
#include "web_page/api/request_reader.h"

#include <algorithm>

namespace web_page {
namespace {

std::string Quoted(std::string_view name) {
    return "\"" + std::string(name) + "\"";
}

} // namespace

RequestReader::RequestReader(const Json& object, std::string where)
    : m_object(object), m_where(std::move(where)) {
    if (!m_object.is_object()) {
        Fail("the " + m_where + " is not a JSON object");
    }
}

void RequestReader::AllowOnly(std::span<const std::string_view> known) {
    if (failed()) {
        return;
    }
    for (const auto& member : m_object.items()) {
        if (std::find(known.begin(), known.end(), member.key()) == known.end()) {
            // The name is the request's own text: dumping it escapes what a message must not hold.
            Fail("the " + m_where + " has an unknown member " +
                 Json(member.key()).dump(-1, ' ', false, Json::error_handler_t::replace));
            return;
        }
    }
}

const Json* RequestReader::Find(std::string_view name, bool optional) {
    if (failed()) {
        return nullptr;
    }
    const auto member = m_object.find(name);
    if (member == m_object.end()) {
        if (!optional) {
            Fail("the " + m_where + " has no member " + Quoted(name));
        }
        return nullptr;
    }
    return &*member;
}

void RequestReader::WrongType(std::string_view name, std::string_view wanted) {
    Fail(Quoted(name) + " must be " + std::string(wanted));
}

std::optional<std::string> RequestReader::String(std::string_view name) {
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

std::optional<std::string> RequestReader::String(std::string_view name, std::string_view fallback) {
    if (!failed() && !m_object.contains(name)) {
        return std::string(fallback);
    }
    return String(name);
}

std::optional<std::size_t> RequestReader::Word(std::string_view name,
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

std::optional<bool> RequestReader::Bool(std::string_view name) {
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

std::optional<double> RequestReader::OptionalNumber(std::string_view name) {
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

std::optional<std::vector<std::string>> RequestReader::Strings(std::string_view name,
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

std::optional<Json> RequestReader::OptionalObject(std::string_view name) {
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

void RequestReader::Fail(std::string text) {
    if (!m_error) {
        m_error = std::move(text);
    }
}

} // namespace web_page
