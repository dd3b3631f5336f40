// A checker of JSON against the part of JSON Schema (draft 2020-12) that the design file's
// schema uses: type, const, enum, required, properties, additionalProperties, oneOf, minimum,
// maximum and exclusiveMinimum.
#pragma once

#include <nlohmann/json.hpp>

#include <string>

namespace schema_check {

// Where the value breaks the schema ("/fit: no alternative of oneOf fits"); empty when it keeps
// to it. Keywords outside that part fail the check, so the schema cannot outgrow it unnoticed.
std::string Violation(const nlohmann::json& schema, const nlohmann::json& value,
                      const std::string& where = "");

} // namespace schema_check
