// Writing a press's outcome with the window's control names.
#include "web_page/api/press_response.h"

#include "web_page/api/protocol_keys.h"

#include <optional>
#include <string>

namespace web_page {
namespace {

using namespace calc_core;
using Json = nlohmann::ordered_json;

Json MessageJson(PressMessage message) {
    if (message == PressMessage::None) {
        return nullptr;
    }
    return std::string(MessageText(message));
}

Json LayoutJson(DiodeChoice layout) {
    switch (layout) {
    case DiodeChoice::No:
        return keys::LayoutNo;
    case DiodeChoice::Yes:
        return keys::LayoutYes;
    case DiodeChoice::NotSelected:
        break;
    }
    return nullptr;
}

Json RedJson(FlaggedElement flagged) {
    switch (flagged) {
    case FlaggedElement::VoMaxBox:
        return "Text1(2)";
    case FlaggedElement::VoMidResult:
        return "Label2(2)";
    case FlaggedElement::VoMinBox:
        return "Text1(3)";
    case FlaggedElement::None:
        break;
    }
    return nullptr;
}

// The texts the press wrote, by label; a label the press left alone is not named.
template <std::size_t N>
Json TextsJson(const char* label, const std::optional<std::string>* const (&texts)[N]) {
    Json named = Json::object();
    for (std::size_t i = 0; i < N; ++i) {
        if (*texts[i]) {
            named[std::string(label) + "(" + std::to_string(i) + ")"] = **texts[i];
        }
    }
    return named;
}

Json Response(PressMessage message, Json layout, Json texts, Json red, bool recorded) {
    return {{keys::Message, MessageJson(message)},
            {keys::Layout, std::move(layout)},
            {keys::Texts, std::move(texts)},
            {keys::Red, std::move(red)},
            {keys::Recorded, recorded}};
}

} // namespace

Json CalcPressResponse(const CalcPressOutcome& press, bool recorded) {
    const DesignOutcome& result = press.result;
    const std::optional<std::string>* const texts[] = {&result.r1Text, &result.r3Text,
                                                       &result.voMidText};
    return Response(result.message, LayoutJson(press.layout), TextsJson("Label2", texts),
                    RedJson(result.flagged), recorded);
}

Json CheckPressResponse(const CheckOutcome& press, bool recorded) {
    const std::optional<std::string>* const texts[] = {&press.voMaxText, &press.voMidText,
                                                       &press.voMinText, &press.deltaText};
    return Response(press.message, nullptr, TextsJson("Label3", texts), nullptr, recorded);
}

} // namespace web_page
