// Reading and writing the parts list and the parts catalogue.
#include "calc_core/parts_list.h"

#include "calc_core/decimal_text.h"
#include "calc_core/part_grades.h"
#include "calc_core/preferred_values.h"
#include "calc_core/value_text.h"

#include <algorithm>
#include <variant>

namespace calc_core {
namespace {

constexpr std::optional<double> CataloguePart::*Figures[] = {
    &CataloguePart::tolerancePct, &CataloguePart::tcrPpm, &CataloguePart::lifeDriftPct,
    &CataloguePart::price, &CataloguePart::powerW};

// Why a field is not a resistance of the list, as a sentence without the line's number; empty
// when it is one.
std::string ValueRefusal(std::string_view field, double& ohms) {
    const ValueRead value = ReadValue(field, ValueKind::Resistance);
    if (const auto* problem = std::get_if<ValueProblem>(&value)) {
        return QuotedForMessage(field) + " " + std::string(ValueProblemText(*problem)) + ".";
    }
    ohms = std::get<double>(value);
    if (!(ohms >= LowestSeriesOhms && ohms <= HighestSeriesOhms)) {
        return QuotedForMessage(field) + " must be from " + SeriesRangeText() + ".";
    }
    return {};
}

// A catalogue's columns: a figure's index in GradeColumns, or one of these.
enum class Place : std::size_t { Value = 100, Mpn = 101, Manufacturer = 102 };
using Layout = std::vector<std::size_t>;

// The columns a catalogue's header may name, in the order its refusal lists them.
std::vector<ListColumn> CatalogueColumns() {
    std::vector<ListColumn> columns = {{CatalogueValueColumn, std::size_t(Place::Value)}};
    for (std::size_t i = 0; i < GradeColumns().size(); ++i) {
        columns.push_back({GradeColumns()[i].header, i});
    }
    columns.push_back({CatalogueMpnColumn, std::size_t(Place::Mpn)});
    columns.push_back({CatalogueManufacturerColumn, std::size_t(Place::Manufacturer)});
    return columns;
}

// The layout a header names, or the refusal of its first unknown or repeated column, or of a
// header without the value.
std::string ReadHeader(std::string_view entry, const std::vector<ListColumn>& columns,
                       Layout& layout) {
    if (std::string refusal = ReadHeaderLine(entry, columns, "parts catalogue", layout);
        !refusal.empty()) {
        return refusal;
    }
    if (std::find(layout.begin(), layout.end(), std::size_t(Place::Value)) == layout.end()) {
        return "the header must name the column " + std::string(CatalogueValueColumn) + ".";
    }
    return {};
}

// One part from a line's entry by the layout; the refusal without the line's number.
std::string ReadPart(std::string_view entry, const Layout& layout, CataloguePart& part) {
    const std::size_t fields = std::size_t(std::count(entry.begin(), entry.end(), ',')) + 1;
    const std::size_t needed =
        std::size_t(std::find(layout.begin(), layout.end(), std::size_t(Place::Value)) -
                    layout.begin()) +
        1;
    if (fields < needed || fields > layout.size()) {
        return QuotedForMessage(entry) + " does not give the header's " +
               std::to_string(layout.size()) + " columns, separated by commas.";
    }
    for (const std::size_t place : layout) {
        const std::string_view field = NextField(entry);
        std::string refusal;
        if (place == std::size_t(Place::Value)) {
            refusal = ValueRefusal(field, part.ohms);
        } else if (place == std::size_t(Place::Mpn)) {
            part.mpn = std::string(field);
        } else if (place == std::size_t(Place::Manufacturer)) {
            part.manufacturer = std::string(field);
        } else if (!field.empty()) {
            double value = 0;
            refusal = ReadColumnFigure(field, GradeColumns()[place], value);
            part.*Figures[place] = value;
        }
        if (!refusal.empty()) {
            return refusal;
        }
    }
    return {};
}

std::vector<double> OhmsOf(const std::vector<CataloguePart>& parts) {
    std::vector<double> values;
    values.reserve(parts.size());
    for (const CataloguePart& part : parts) {
        values.push_back(part.ohms);
    }
    return values;
}

} // namespace

std::span<std::optional<double> CataloguePart::*const> CatalogueFigures() {
    return Figures;
}

PartsList PartsListOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
    return {std::move(values), {}};
}

PartsList PartsListOf(std::vector<CataloguePart> catalogue) {
    PartsList list = PartsListOf(OhmsOf(catalogue));
    list.catalogue = std::move(catalogue);
    return list;
}

PartsRead ReadPartsList(std::string_view text) {
    PartsRead read;
    // A list of values alone is a catalogue whose lines give nothing but the value.
    std::vector<CataloguePart> lines;
    Layout layout;
    const std::vector<ListColumn> columns = CatalogueColumns();
    const bool whole = ForEachEntry(text, [&](const EntryLine& line) {
        std::string refusal;
        if (lines.empty() && layout.empty() && IsHeaderLine(line.text, columns)) {
            refusal = ReadHeader(line.text, columns, layout);
        } else if (!layout.empty()) {
            refusal = ReadPart(line.text, layout, lines.emplace_back());
        } else {
            refusal = ValueRefusal(line.text, lines.emplace_back().ohms);
        }
        read.error = refusal.empty() ? "" : LineMessage(line.number) + refusal;
        return refusal.empty();
    });
    if (!whole) {
        return read;
    }
    const bool catalogue = !layout.empty();
    if (catalogue) {
        read.list = PartsListOf(std::move(lines));
    } else {
        read.list = PartsListOf(OhmsOf(lines));
    }
    if (read.list.empty()) {
        read.error = catalogue ? "The parts catalogue holds no part."
                               : "The parts list holds no resistance.";
    }
    return read;
}

std::string PartsListText(const PartsList& list) {
    std::string text;
    if (list.catalogue.empty()) {
        for (const double value : list.values) {
            text += ShortestText(value) + "\n";
        }
        return text;
    }
    const auto any = [&](auto given) {
        return std::any_of(list.catalogue.begin(), list.catalogue.end(), given);
    };
    std::vector<std::size_t> figures;
    for (std::size_t i = 0; i < std::size(Figures); ++i) {
        if (any([&](const CataloguePart& part) { return (part.*Figures[i]).has_value(); })) {
            figures.push_back(i);
        }
    }
    const bool mpn = any([](const CataloguePart& part) { return !part.mpn.empty(); });
    const bool maker = any([](const CataloguePart& part) { return !part.manufacturer.empty(); });
    text += std::string(CatalogueValueColumn);
    for (const std::size_t i : figures) {
        text += ", " + std::string(GradeColumns()[i].header);
    }
    text += (mpn ? ", " + std::string(CatalogueMpnColumn) : "") +
            (maker ? ", " + std::string(CatalogueManufacturerColumn) : "") + "\n";
    for (const CataloguePart& part : list.catalogue) {
        text += ShortestText(part.ohms);
        for (const std::size_t i : figures) {
            const std::optional<double>& figure = part.*Figures[i];
            text += ", " + (figure ? ShortestText(*figure) : std::string());
        }
        text += (mpn ? ", " + part.mpn : "") + (maker ? ", " + part.manufacturer : "") + "\n";
    }
    return text;
}

} // namespace calc_core
