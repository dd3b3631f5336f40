// Typed reading of a JSON object's members, keeping the first fault as the error's text: the
// page's requests and the design file read their members with it.
#pragma once

#include "analysis_report/analysis_json.h"

#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace analysis_report {

// A key as a key path writes it: plain when it is a word, else quoted and escaped.
std::string KeyPathStep(std::string_view key);

// Every reading after the first fault returns nothing, so a caller reads all it needs and then
// looks at failed() once.
class JsonReader {
  public:
    // A request's object: a fault names the object as `where` ("request", "settings") and a
    // member by its name in quotes ("pin_v").
    JsonReader(const Json& object, std::string where);

    // A member object of a file: a fault names a member by its key path below `path`
    // (settings.pin_v); an empty path is the document itself.
    static JsonReader AtPath(const Json& object, std::string path);

    // A reader of a member object in the same naming: "settings" below the request, or
    // settings below the file's top.
    JsonReader Nested(const Json& object, std::string_view member) const;

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
    std::optional<bool> Bool(std::string_view name, bool fallback);
    std::optional<double> Number(std::string_view name);
    // Absent without a fallback: nothing, and no fault.
    std::optional<double> OptionalNumber(std::string_view name);
    // An array of exactly `count` strings.
    std::optional<std::vector<std::string>> Strings(std::string_view name, std::size_t count);
    // An object, or an empty one when absent.
    std::optional<Json> OptionalObject(std::string_view name);
    // Any member that must be there, whatever its type.
    const Json* Member(std::string_view name) { return Find(name, false); }
    // The same, or null and no fault when it is absent.
    const Json* OptionalMember(std::string_view name) { return Find(name, true); }

    // How a fault names one of the object's members, and the object itself.
    std::string Name(std::string_view member) const;
    std::string ObjectName() const;

    void Fail(std::string text);
    // Fails with "<member's name> must be <wanted>".
    void WrongType(std::string_view name, std::string_view wanted);
    bool failed() const { return m_error.has_value(); }
    const std::string& error() const { return *m_error; }

  private:
    enum class Naming { Quoted, KeyPath };
    JsonReader(const Json& object, std::string where, Naming naming);

    // The member, or null after a fault or when absent (then a fault unless `optional`).
    const Json* Find(std::string_view name, bool optional);

    const Json& m_object;
    std::string m_where; // the object's name, or its key path
    Naming m_naming;
    std::optional<std::string> m_error;
};

} // namespace analysis_report
