// The design analysis as text: number formats, tables and the plain text of Copy.
#include "main_window/analysis_text.h"

#include "calc_core/number_text.h"
#include "main_window/qt_text.h"

#include <QStringBuilder>

#include <algorithm>
#include <cmath>

namespace main_window {
namespace {

// A quantity the core could not give as a finite number; the window never shows inf or nan.
const QString NoValue = QStringLiteral("\u2014");

// Numbers are written whole, without group separators, as the result labels show them.
QLocale Plain(const QLocale& locale) {
    QLocale plain = locale;
    plain.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return plain;
}

QString PlusMinus(const QString& text) {
    return QStringLiteral("\u00b1 ") + text;
}

// A setting as the user typed it: "1", "0.25".
QString SettingNumber(double value, const QLocale& locale) {
    return Plain(locale).toString(value, 'g', 6);
}

ReportTable DesignTable(const calc_core::AnalysisDesign& design, bool checkTargets,
                        const QLocale& locale) {
    const calc_core::Circuit& c = design.circuit;
    ReportTable table;
    table.name = QStringLiteral("Design");
    table.header = QStringList{QStringLiteral("Quantity"), QStringLiteral("Value")};
    table.rows = {{QStringLiteral("R1"), FormatOhms(c.r1, locale)},
                  {QStringLiteral("R2"), FormatOhms(c.r2, locale)},
                  {QStringLiteral("R3"), FormatOhms(c.r3, locale)},
                  {QStringLiteral("Vref"), FormatVolts(c.vref, locale)},
                  {QStringLiteral("Diode"), c.vf
                                                ? QStringLiteral("Vf ") + FormatVolts(*c.vf, locale)
                                                : QStringLiteral("none")}};
    const QString own = checkTargets ? QStringLiteral(" (the set's own)") : QString();
    if (design.targetVoMax) {
        table.rows.append(
            {QStringLiteral("Vo_max target"), FormatVolts(*design.targetVoMax, locale) + own});
    }
    if (design.targetVoMin) {
        table.rows.append(
            {QStringLiteral("Vo_min target"), FormatVolts(*design.targetVoMin, locale) + own});
    }
    return table;
}

ReportTable SettingsTable(const calc_core::AnalysisSettings& s, bool diode, const QLocale& locale) {
    ReportTable table;
    table.name = QStringLiteral("Settings");
    table.header = QStringList{QStringLiteral("Setting"), QStringLiteral("Value")};
    const auto percent = [&](double value) {
        return PlusMinus(SettingNumber(value, locale) + QStringLiteral(" %"));
    };
    const auto name = calc_core::SeriesName(s.series);
    table.rows = {
        {QStringLiteral("Series"), QString::fromLatin1(name.data(), qsizetype(name.size()))},
        {QStringLiteral("Resistor tolerance"), percent(s.resistorTolerancePct)},
        {QStringLiteral("Vref tolerance"), percent(s.vrefTolerancePct)},
        {QStringLiteral("Pin level accuracy"),
         PlusMinus(SettingNumber(s.levelAccuracyMv, locale) + QStringLiteral(" mV"))}};
    if (diode) {
        table.rows.append(
            {QStringLiteral("Vf spread"), PlusMinus(FormatVolts(s.vfSpreadV, locale))});
    }
    table.rows.append({QStringLiteral("Pin voltage"), FormatVolts(s.pinVoltage, locale)});
    return table;
}

void AddLevels(AnalysisReport& report, const calc_core::DesignAnalysis& a, const QLocale& locale) {
    const bool diode = a.design.circuit.diode();
    ReportTable& table = report.levels;
    table.name = QStringLiteral("Levels");
    table.header = QStringList{QStringLiteral("Pin level"), QStringLiteral("Vo")};
    if (diode) {
        table.header << QStringLiteral("Diode") << QStringLiteral("Vo by the tabs' formula");
    }
    table.header << QStringLiteral("I(R1)") << QStringLiteral("I(R2)") << QStringLiteral("I(R3)");
    for (const calc_core::LevelAnalysis& level : a.levels) {
        QStringList row{FormatVolts(level.pinV, locale), FormatVolts(level.vo, locale)};
        if (diode) {
            if (!level.diodeConducts) {
                table.flagged.emplace_back(int(table.rows.size()), int(row.size()));
            }
            row << (level.diodeConducts ? QStringLiteral("conducts") : QStringLiteral("blocks"))
                << FormatVolts(level.voFormula, locale);
        }
        row << FormatPrefixed(level.iR1, QStringLiteral("A"), locale, 4)
            << FormatPrefixed(level.iR2, QStringLiteral("A"), locale, 4)
            << FormatPrefixed(level.iR3, QStringLiteral("A"), locale, 4);
        table.rows.append(row);
    }

    auto& notes = report.levelNotes;
    notes.append(
        {QStringLiteral("Span, Vo at %1 minus Vo at %2: %3")
             .arg(FormatVolts(a.levels.front().pinV, locale),
                  FormatVolts(a.levels.back().pinV, locale), FormatVolts(a.span, locale))});
    notes.append({QStringLiteral("Highest power in R1: %1; in R2: %2")
                      .arg(FormatPrefixed(a.pR1Max, QStringLiteral("W"), locale, 4),
                           FormatPrefixed(a.pR2Max, QStringLiteral("W"), locale, 4))});
    notes.append({QStringLiteral("Currents: I(R1) from the output into the node, I(R2) from the "
                                 "node to ground, I(R3) from the node towards the pin.")});
    for (const calc_core::LevelAnalysis& level : a.levels) {
        if (!level.diodeConducts) {
            notes.append({QStringLiteral("At %1 the diode blocks, as Vf plus the pin level is not "
                                         "below Vref: no current flows through R3, and the output "
                                         "sits at %2, not at the %3 of the Calc and Check tabs' "
                                         "formula.")
                              .arg(FormatVolts(level.pinV, locale), FormatVolts(level.vo, locale),
                                   FormatVolts(level.voFormula, locale)),
                          true});
        }
    }
}

QString FaultName(calc_core::FaultState state) {
    switch (state) {
    case calc_core::FaultState::PinAtZero:
        return QStringLiteral("At 0 V");
    case calc_core::FaultState::PinOpen:
        return QStringLiteral("Open");
    case calc_core::FaultState::PinAtUserVoltage:
        return QStringLiteral("At the set voltage");
    }
    return {};
}

void AddFaults(AnalysisReport& report, const calc_core::DesignAnalysis& a, const QLocale& locale) {
    ReportTable& table = report.faults;
    table.name = QStringLiteral("Pin faults");
    table.header = QStringList{QStringLiteral("Pin"), QStringLiteral("Pin voltage"),
                               QStringLiteral("Vo"), QStringLiteral("Against the normal levels")};
    for (const calc_core::FaultAnalysis& fault : a.faults) {
        if (fault.overvoltage) {
            table.flagged.emplace_back(int(table.rows.size()), 3);
        }
        table.rows.append(
            {FaultName(fault.state),
             fault.pinV ? FormatVolts(*fault.pinV, locale) : QStringLiteral("not driven"),
             FormatVolts(fault.vo, locale),
             fault.overvoltage ? QStringLiteral("overvoltage risk")
                               : QStringLiteral("not higher")});
    }
    const auto highest =
        std::max_element(a.levels.begin(), a.levels.end(),
                         [](const calc_core::LevelAnalysis& x, const calc_core::LevelAnalysis& y) {
                             return x.vo < y.vo;
                         });
    report.faultNotes.append(
        {QStringLiteral("Highest output at the normal levels: %1, with the "
                        "pin at %2.")
             .arg(FormatVolts(highest->vo, locale), FormatVolts(highest->pinV, locale))});
    if (std::any_of(a.faults.begin(), a.faults.end(),
                    [](const auto& f) { return f.overvoltage; })) {
        report.faultNotes.append({QStringLiteral("A pin state marked \"overvoltage risk\" drives "
                                                 "the output above its highest normal level."),
                                  true});
    }
}

void AddPreferred(AnalysisReport& report, const calc_core::DesignAnalysis& a, bool checkTargets,
                  const QLocale& locale) {
    ReportTable& table = report.preferred;
    table.name = QStringLiteral("Preferred values");
    table.header = QStringList{QStringLiteral("Rank"), QStringLiteral("R1"), QStringLiteral("R3")};
    for (const calc_core::LevelAnalysis& level : a.levels) {
        table.header << QStringLiteral("Vo at %1").arg(FormatVolts(level.pinV, locale));
    }
    table.header << QStringLiteral("Vo_max error") << QStringLiteral("Vo_min error")
                 << QStringLiteral("Worst error");
    for (std::size_t i = 0; i < a.preferred.size(); ++i) {
        const calc_core::PreferredPair& pair = a.preferred[i];
        QStringList row{QString::number(i + 1), FormatOhms(pair.r1, locale),
                        FormatOhms(pair.r3, locale)};
        for (double vo : pair.levels) {
            row << FormatVolts(vo, locale);
        }
        row << FormatVolts(pair.errorVoMax, locale) << FormatVolts(pair.errorVoMin, locale)
            << FormatVolts(pair.worstError, locale);
        table.rows.append(row);
    }
    const auto series = calc_core::SeriesName(a.settings.series);
    const QString targets =
        QStringLiteral("%1 %2 at %3 and %4 at %5")
            .arg(checkTargets ? QStringLiteral("the set's own outputs,") : QStringLiteral("Vo_max"),
                 FormatVolts(a.design.targetVoMax.value_or(NAN), locale),
                 FormatVolts(a.levels.front().pinV, locale),
                 (checkTargets ? QString() : QStringLiteral("Vo_min ")) +
                     FormatVolts(a.design.targetVoMin.value_or(NAN), locale),
                 FormatVolts(a.levels.back().pinV, locale));
    report.preferredNotes.append(
        {QStringLiteral("Pairs of %1 values from 1 \u03a9 to 10 M\u03a9 with R2 = %2, ranked by "
                        "the worst error against %3; ties go to the smaller sum of both errors, "
                        "then the smaller R1, then the smaller R3.")
             .arg(QString::fromLatin1(series.data(), qsizetype(series.size())),
                  FormatOhms(a.design.circuit.r2, locale), targets)});
}

void AddTolerance(AnalysisReport& report, const calc_core::DesignAnalysis& a,
                  const QLocale& locale) {
    const bool diode = a.design.circuit.diode();
    ReportTable& table = report.tolerance;
    table.name = QStringLiteral("Tolerances");
    // One column a level, so that the bands of neighbouring levels stand side by side.
    table.header = QStringList{QStringLiteral("Pin level")};
    QStringList vo{QStringLiteral("Vo")};
    QStringList min{QStringLiteral("Worst-case min")};
    QStringList max{QStringLiteral("Worst-case max")};
    QStringList rss{QStringLiteral("RSS")};
    for (std::size_t i = 0; i < a.tolerance.size() && i < a.levels.size(); ++i) {
        const calc_core::ToleranceLevel& t = a.tolerance[i];
        table.header << FormatVolts(t.pinV, locale);
        vo << FormatVolts(a.levels[i].vo, locale);
        min << FormatVolts(t.min, locale);
        max << FormatVolts(t.max, locale);
        rss << PlusMinus(FormatVolts(t.rss, locale));
    }
    table.rows = {vo, min, max, rss};
    const QString quantities[] = {QStringLiteral("R1"),        QStringLiteral("R2"),
                                  QStringLiteral("R3"),        QStringLiteral("Vref"),
                                  QStringLiteral("pin level"), QStringLiteral("I(FB)"),
                                  QStringLiteral("Vf")};
    const int shares =
        diode ? calc_core::ToleranceQuantityCount : calc_core::ToleranceQuantityCount - 1;
    for (int q = 0; q < shares; ++q) {
        QStringList row{QStringLiteral("Share of ") + quantities[q]};
        for (const calc_core::ToleranceLevel& t : a.tolerance) {
            row << FormatShare(t.shares[std::size_t(q)], locale);
        }
        table.rows.append(row);
    }
    const calc_core::AnalysisSettings& s = a.settings;
    QString box = QStringLiteral("R1, R2 and R3 %1 %, Vref %2 %, the pin level %3 mV")
                      .arg(PlusMinus(SettingNumber(s.resistorTolerancePct, locale)),
                           PlusMinus(SettingNumber(s.vrefTolerancePct, locale)),
                           PlusMinus(SettingNumber(s.levelAccuracyMv, locale)));
    if (diode) {
        box += QStringLiteral(", Vf ") + PlusMinus(FormatVolts(s.vfSpreadV, locale));
    }
    report.toleranceNotes.append(
        {QStringLiteral("Worst case over every corner of %1. RSS: each quantity's half swing, "
                        "added in quadrature; the shares are of its sum of squares.")
             .arg(box)});
    report.toleranceNotes.append(
        a.bandsOverlap
            ? ReportNote{QStringLiteral("The worst-case bands of neighbouring levels overlap: "
                                        "their output steps can no longer be told apart."),
                         true}
            : ReportNote{QStringLiteral("The worst-case bands of neighbouring levels are apart.")});
}

void AppendTable(QString& text, const ReportTable& table) {
    text += table.name % u'\n' % table.header.join(u'\t') % u'\n';
    for (const QStringList& row : table.rows) {
        text += row.join(u'\t') % u'\n';
    }
}

void AppendNotes(QString& text, const QList<ReportNote>& notes) {
    for (const ReportNote& note : notes) {
        text += note.text % u'\n';
    }
}

} // namespace

QString FormatVolts(double volts, const QLocale& locale) {
    if (!std::isfinite(volts)) {
        return NoValue;
    }
    // Below half a millivolt the value shows as zero, and must not keep its sign.
    if (std::fabs(volts) < 0.0005) {
        volts = 0;
    }
    return Plain(locale).toString(volts, 'f', 3) + QStringLiteral(" V");
}

QString FormatPrefixed(double value, const QString& unit, const QLocale& locale, int digits) {
    if (!std::isfinite(value)) {
        return NoValue;
    }
    const calc_core::PrefixedValue prefixed = calc_core::WithDecimalPrefix(value, digits);
    return Plain(locale).toString(prefixed.scaled, 'g', digits) % u' ' %
           ToQString(prefixed.symbol) % unit;
}

QString FormatOhms(double ohms, const QLocale& locale) {
    return FormatPrefixed(ohms, QStringLiteral("\u03a9"), locale, 6);
}

QString FormatShare(double share, const QLocale& locale) {
    if (!std::isfinite(share)) {
        return NoValue;
    }
    return Plain(locale).toString(std::max(share, 0.0) * 100, 'f', 1) + QStringLiteral(" %");
}

AnalysisReport MakeReport(const QString& tabName, bool checkTargets,
                          const calc_core::AnalysisDesign& design,
                          const calc_core::AnalysisSettings& settings,
                          const calc_core::AnalysisOutcome& outcome, const QLocale& locale) {
    AnalysisReport report;
    report.heading = QStringLiteral("Design analysis of the %1 tab's last CAL").arg(tabName);
    const calc_core::DesignAnalysis* a = outcome.analysis ? &*outcome.analysis : nullptr;
    report.design = DesignTable(a ? a->design : design, checkTargets, locale);
    report.settings = SettingsTable(settings, design.circuit.diode(), locale);
    if (!a || a->levels.empty()) {
        report.reason = outcome.reason.empty() ? QStringLiteral("The design cannot be analysed.")
                                               : QString::fromStdString(outcome.reason);
        return report;
    }
    AddLevels(report, *a, locale);
    AddFaults(report, *a, locale);
    AddPreferred(report, *a, checkTargets, locale);
    AddTolerance(report, *a, locale);
    return report;
}

QString ReportText(const AnalysisReport& report) {
    QString text = report.heading % u'\n' % u'\n';
    AppendTable(text, report.design);
    text += u'\n';
    AppendTable(text, report.settings);
    if (!report.reason.isEmpty()) {
        return text % u'\n' % report.reason % u'\n';
    }
    const std::pair<const ReportTable*, const QList<ReportNote>*> sections[] = {
        {&report.levels, &report.levelNotes},
        {&report.faults, &report.faultNotes},
        {&report.preferred, &report.preferredNotes},
        {&report.tolerance, &report.toleranceNotes}};
    for (const auto& [table, notes] : sections) {
        text += u'\n';
        AppendTable(text, *table);
        AppendNotes(text, *notes);
    }
    return text;
}

} // namespace main_window
