// The analysis window's undo and redo, on Qt's undo stack: one command a change, holding the
// states before and after it.
#include "analysis_window/analysis_history.h"

#include <QUndoCommand>

#include <algorithm>
#include <utility>

namespace analysis_window {
namespace {

// The only setting that differs between the two, when exactly one does.
const calc_core::SettingRow* OnlyChangedRow(const calc_core::AnalysisSettings& a,
                                            const calc_core::AnalysisSettings& b) {
    const calc_core::SettingRow* changed = nullptr;
    for (const calc_core::SettingRow& row : calc_core::SettingRows()) {
        if (calc_core::SettingText(row, a) != calc_core::SettingText(row, b)) {
            if (changed) {
                return nullptr;
            }
            changed = &row;
        }
    }
    return changed;
}

bool SameState(const AnalysisState& a, const AnalysisState& b) {
    return SameSettings(a.settings, b.settings) && SameFit(a.fit, b.fit) &&
           a.beforeFit.has_value() == b.beforeFit.has_value() &&
           (!a.beforeFit || SameSettings(*a.beforeFit, *b.beforeFit));
}

} // namespace

// One change: undo shows the state before it, redo the state after.
class StateChange : public QUndoCommand {
  public:
    StateChange(AnalysisHistory& history, AnalysisState before, AnalysisState after)
        : m_history(history), m_before(std::move(before)), m_after(std::move(after)) {
        if (SameFit(m_before.fit, m_after.fit)) {
            m_onlyRow = OnlyChangedRow(m_before.settings, m_after.settings);
        }
    }

    int id() const override { return 1; }
    void undo() override { m_history.restore(m_before); }
    void redo() override {
        // Pushing runs redo: the window shows the state already.
        if (std::exchange(m_pushed, true)) {
            m_history.restore(m_after);
        }
    }
    bool mergeWith(const QUndoCommand* other) override {
        const auto* next = static_cast<const StateChange*>(other);
        if (!m_onlyRow || next->m_onlyRow != m_onlyRow) {
            return false;
        }
        m_after = next->m_after;
        setObsolete(SameState(m_before, m_after));
        return true;
    }

  private:
    AnalysisHistory& m_history;
    AnalysisState m_before;
    AnalysisState m_after;
    const calc_core::SettingRow* m_onlyRow = nullptr; // the one setting changed, fit unchanged
    bool m_pushed = false;
};

bool SameSettings(const calc_core::AnalysisSettings& a, const calc_core::AnalysisSettings& b) {
    return std::ranges::all_of(calc_core::SettingRows(), [&](const calc_core::SettingRow& row) {
        return calc_core::SettingText(row, a) == calc_core::SettingText(row, b);
    });
}

bool SameFit(const std::optional<calc_core::FitChoice>& a,
             const std::optional<calc_core::FitChoice>& b) {
    if (!a || !b) {
        return a.has_value() == b.has_value();
    }
    return calc_core::SameFit(*a, *b);
}

AnalysisHistory::AnalysisHistory(QObject* parent) : QObject(parent) {}

void AnalysisHistory::reset(const AnalysisState& state) {
    m_stack.clear();
    m_current = state;
}

bool AnalysisHistory::record(const AnalysisState& state) {
    if (SameState(state, m_current)) {
        return false;
    }
    AnalysisState before = std::exchange(m_current, state);
    m_stack.push(new StateChange(*this, std::move(before), state));
    return true;
}

bool AnalysisHistory::undo() {
    if (!m_stack.canUndo()) {
        return false;
    }
    m_stack.undo();
    return true;
}

bool AnalysisHistory::redo() {
    if (!m_stack.canRedo()) {
        return false;
    }
    m_stack.redo();
    return true;
}

void AnalysisHistory::restore(const AnalysisState& state) {
    m_current = state;
    emit restored(state);
}

} // namespace analysis_window
