// Typed reading of a request object's members, keeping the first fault as the error's text.
#pragma once

#include <nlohmann/json.hpp>

#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace web_page {

using Json = nlohmann::ordered_json; // members in the order written

// Every reading after the first fault returns nothing, so a handler reads all it needs and then
// looks at failed() once.
class RequestReader {
  public:
    // `where` names the object in the error's text: "request" or "settings".
    RequestReader(const Json& object, std::string where);

    // Faults on any member that is not in `known`.
    void AllowOnly(std::span<const std::string_view> known);
    void AllowOnly(std::initializer_list<std::string_view> known) {
        AllowOnly(std::span<const std::string_view>(known.begin(), known.size()));
    }

    // A member that must be there, or may be absent (then the fallback).
    std::optional<std::string> String(std::string_view name);
    std::optional<std::string> String(std::string_view name, std::string_view fallback);
    // One of the given words; its index in the list.
    std::optional<std::size_t> Word(std::string_view name,
                                    std::initializer_list<std::string_view> words);
    std::optional<bool> Bool(std::string_view name);
    // Absent without a fallback: nothing, and no fault.
    std::optional<double> OptionalNumber(std::string_view name);
    // An array of exactly `count` strings.
    std::optional<std::vector<std::string>> Strings(std::string_view name, std::size_t count);
    // An object, or an empty one when absent.
    std::optional<Json> OptionalObject(std::string_view name);

    void Fail(std::string text);
    bool failed() const { return m_error.has_value(); }
    const std::string& error() const { return *m_error; }

  private:
    // The member, or null after a fault or when absent (then a fault unless `optional`).
    const Json* Find(std::string_view name, bool optional);
    void WrongType(std::string_view name, std::string_view wanted);

    const Json& m_object;
    std::string m_where;
    std::optional<std::string> m_error;
};

} // namespace web_page
