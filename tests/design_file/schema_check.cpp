// The schema checker's keywords, one function each.
#include "schema_check.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

namespace schema_check {
namespace {

using nlohmann::json;

bool HasType(const json& value, const std::string& type) {
    if (type == "integer") {
        return value.is_number_integer() ||
               (value.is_number_float() && std::trunc(value.get<double>()) == value.get<double>());
    }
    static const std::map<std::string, json::value_t> types = {{"object", json::value_t::object},
                                                               {"array", json::value_t::array},
                                                               {"string", json::value_t::string},
                                                               {"boolean", json::value_t::boolean},
                                                               {"null", json::value_t::null}};
    if (type == "number") {
        return value.is_number();
    }
    return types.contains(type) && value.type() == types.at(type);
}

std::string Properties(const json& schema, const json& value, const std::string& where) {
    if (!value.is_object()) {
        return {};
    }
    for (const std::string name : schema.value("required", json::array())) {
        if (!value.contains(name)) {
            return std::string(where).append(": ").append(name).append(" is required");
        }
    }
    const json properties = schema.value("properties", json::object());
    for (const auto& member : value.items()) {
        if (properties.contains(member.key())) {
            std::string inner =
                Violation(properties[member.key()], member.value(), where + "/" + member.key());
            if (!inner.empty()) {
                return inner;
            }
        } else if (!schema.value("additionalProperties", true)) {
            return where + ": " + member.key() + " is not allowed";
        }
    }
    return {};
}

std::string Bounds(const json& schema, const json& value, const std::string& where) {
    if (!value.is_number()) {
        return {};
    }
    const double number = value.get<double>();
    if ((schema.contains("minimum") && number < schema["minimum"].get<double>()) ||
        (schema.contains("maximum") && number > schema["maximum"].get<double>()) ||
        (schema.contains("exclusiveMinimum") &&
         number <= schema["exclusiveMinimum"].get<double>())) {
        return where + ": out of bounds";
    }
    return {};
}

} // namespace

std::string Violation(const json& schema, const json& value, const std::string& where) {
    static const std::set<std::string> known = {
        "$schema", "$id",     "title",    "description",      "type",
        "const",   "enum",    "required", "properties",       "additionalProperties",
        "oneOf",   "minimum", "maximum",  "exclusiveMinimum", "items"};
    for (const auto& keyword : schema.items()) {
        if (!known.contains(keyword.key())) {
            return where + ": the checker does not know " + keyword.key();
        }
    }
    if (schema.contains("type") && !HasType(value, schema["type"])) {
        return where + ": not of type " + schema["type"].get<std::string>();
    }
    if (schema.contains("const") && value != schema["const"]) {
        return where + ": not " + schema["const"].dump();
    }
    if (schema.contains("enum") &&
        std::find(schema["enum"].begin(), schema["enum"].end(), value) == schema["enum"].end()) {
        return where + ": not one of " + schema["enum"].dump();
    }
    if (schema.contains("oneOf")) {
        const auto fits = std::count_if(schema["oneOf"].begin(), schema["oneOf"].end(),
                                        [&](const json& s) { return Violation(s, value).empty(); });
        if (fits != 1) {
            return where + ": " + std::to_string(fits) + " alternatives of oneOf fit";
        }
    }
    if (std::string inner = Properties(schema, value, where); !inner.empty()) {
        return inner;
    }
    if (schema.contains("items") && value.is_array()) {
        for (std::size_t i = 0; i < value.size(); ++i) {
            std::string inner =
                Violation(schema["items"], value[i], where + "/" + std::to_string(i));
            if (!inner.empty()) {
                return inner;
            }
        }
    }
    return Bounds(schema, value, where);
}

} // namespace schema_check
