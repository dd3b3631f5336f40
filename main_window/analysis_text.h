// The design analysis as text: its number formats, its tables, and the plain text of Copy.
#pragma once

#include "calc_core/design_analysis.h"

#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace main_window {

// Volts to 1 mV in the locale's notation without grouping: "41.261 V"; never "-0.000 V".
QString FormatVolts(double volts, const QLocale& locale);

// A value with the SI prefix that leaves 1 to 999 before the separator, and at most `digits`
// significant digits: "64.955 kΩ", "7.21 kΩ", "596.7 µA". Never "-0".
QString FormatPrefixed(double value, const QString& unit, const QLocale& locale, int digits);

// Resistances to six significant digits, so that a whole-ohm value of up to 999,999 stays exact.
QString FormatOhms(double ohms, const QLocale& locale);

// A share of 0 to 1 as a percentage with one decimal: "61.2 %".
QString FormatShare(double share, const QLocale& locale);

// A line under a table; a warning is one the user must not miss.
struct ReportNote {
    QString text;
    bool warning = false;
};

struct ReportTable {
    QString name; // its heading, and its accessible name in the window
    QStringList header;
    QList<QStringList> rows;
    std::vector<std::pair<int, int>> flagged; // (row, column) of cells that warn
};

// Everything the analysis window shows, as texts; the window and Copy both use it.
struct AnalysisReport {
    QString heading;
    ReportTable design;   // quantity, value
    ReportTable settings; // setting, value
    QString reason;       // why the design cannot be analysed; then nothing below is filled
    ReportTable levels;
    QList<ReportNote> levelNotes;
    ReportTable faults;
    QList<ReportNote> faultNotes;
    ReportTable preferred;
    QList<ReportNote> preferredNotes;
    ReportTable tolerance;
    QList<ReportNote> toleranceNotes;
};

// `checkTargets`: the targets are the set's own outputs (a Check design), not wanted values.
AnalysisReport MakeReport(const QString& tabName, bool checkTargets,
                          const calc_core::AnalysisDesign& design,
                          const calc_core::AnalysisSettings& settings,
                          const calc_core::AnalysisOutcome& outcome, const QLocale& locale);

// Plain text: sections apart by a blank line, each table as a header line and rows with their
// cells separated by tabs, then the section's notes.
QString ReportText(const AnalysisReport& report);

} // namespace main_window
