// The analysis window of the Calc worked example (R2 10 kΩ, Vref 2.5 V, Vo_max 40 V, Vo_min
// 30 V) as the tests of its parts to buy and its yield drive it: finding its controls, and
// reading the report's cells as text and as numbers.
#pragma once

#include "analysis_report/analysis_report.h"
#include "analysis_window/analysis_window.h"
#include "analysis_window/design_record.h"
#include "calc_core/design_calculation.h"

#include <QString>
#include <QTest>

#include <memory>
#include <string>

namespace window_test {

struct WindowUnderTest {
    analysis_window::DesignRecord record;
    std::unique_ptr<analysis_window::AnalysisWindow> window;

    // Records the worked example's CAL and shows its analysis.
    void ShowCalcExample() {
        record.recordCalc(calc_core::CalcPress(false, true, {"10000", "2.5", "40", "30", ""}, {}));
        window = std::make_unique<analysis_window::AnalysisWindow>(&record, nullptr);
        window->showDesign(calc_core::Tab::Calc);
    }

    template <typename T = QWidget> T* Find(const QString& name) const {
        T* found = window->findChild<T*>(name);
        if (!found) {
            qFatal("no %s", qPrintable(name));
        }
        return found;
    }

    const analysis_report::Section* Section(const char* name) const {
        return analysis_report::FindSection(window->report(), name);
    }

    // The cell of the section's row whose first cell is rowName, or an empty text.
    QString Cell(const char* section, const QString& rowName, const char* column) const {
        const auto* found = Section(section);
        const std::string* cell =
            found ? analysis_report::FindCell(*found, rowName.toStdString(), column) : nullptr;
        return cell ? QString::fromStdString(*cell) : QString();
    }

    QString Notes(const char* section) const {
        QString text;
        if (const auto* found = Section(section)) {
            for (const analysis_report::Note& note : found->notes) {
                text += QString::fromStdString(note.text) + '\n';
            }
        }
        return text;
    }
};

// The number a cell starts with once its "± " is cut off: "0.171 V" is 0.171, "± 4.43 %" 4.43.
inline double Number(QString cell) {
    cell.remove(QStringLiteral("\u00b1 "));
    return cell.section(' ', 0, 0).toDouble();
}

} // namespace window_test
