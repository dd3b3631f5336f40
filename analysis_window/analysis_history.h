// The analysis window's undo and redo: the settings and the pair fitted as whole states, each
// change one step back, whatever the setting and however it was typed.
#pragma once

#include "calc_core/analysis_settings.h"
#include "calc_core/design_analysis.h"

#include <QObject>
#include <QUndoStack>

#include <optional>

namespace analysis_window {

struct AnalysisState {
    calc_core::AnalysisSettings settings;
    std::optional<calc_core::FitChoice> fit;
    // The settings before a row's fit brought its grade's tolerance and TCR into them; As
    // designed gives those back. Absent when no fit changed a setting.
    std::optional<calc_core::AnalysisSettings> beforeFit;
};

// Whether two hold the same value of every setting, as the settings' table writes it.
bool SameSettings(const calc_core::AnalysisSettings& a, const calc_core::AnalysisSettings& b);
// Whether two fits choose the same pair: the same rank, or the same typed values; or are both
// none.
bool SameFit(const std::optional<calc_core::FitChoice>& a,
             const std::optional<calc_core::FitChoice>& b);

class AnalysisHistory : public QObject {
    Q_OBJECT

  public:
    explicit AnalysisHistory(QObject* parent = nullptr);

    // Starts again from this state with nothing to undo, as when a design file is opened.
    void reset(const AnalysisState& state);
    // The state after a change, one step after the one before unless it is the same. A change of
    // the same one setting right after another joins it, as typing a number changes it digit by
    // digit. False when it is the same.
    bool record(const AnalysisState& state);
    // A step back or forward; false, and nothing restored, when there is none.
    bool undo();
    bool redo();

    const AnalysisState& current() const { return m_current; }

  signals:
    // Undo or redo: the window shows this state, without recording it.
    void restored(const AnalysisState& state);

  private:
    friend class StateChange;
    void restore(const AnalysisState& state);

    QUndoStack m_stack;
    AnalysisState m_current;
};

} // namespace analysis_window
