// The form Orvalen: the calculator window and its event handlers.
#pragma once

#include "analysis_window/design_record.h"
#include "calc_core/check_calculation.h"
#include "calc_core/diode_layouts.h"
#include "calc_core/number_locale.h"
#include "design_file/design_file.h"

#include <QWidget>

#include <array>
#include <functional>
#include <optional>
#include <span>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace main_window {

class DesignFiles;

class Orvalen : public QWidget {
  public:
    // Shows one prompt to the user and returns when it is dismissed.
    using MessageSink = std::function<void(const QString& prompt)>;

    explicit Orvalen(QWidget* parent = nullptr);

    // Replaces the message box, for tests; the program uses the real box.
    void setMessageSink(MessageSink sink) { m_showMessage = std::move(sink); }

    const calc_core::CheckResults& checkResults() const { return m_checkResults; }

    // The designs the two CAL buttons last computed, which the design analysis reads.
    const analysis_window::DesignRecord& designRecord() const { return m_designs; }

    // Opening and saving design files, by the menu, the keyboard and dropped files.
    DesignFiles* designFiles() const { return m_files; }

    // The tab's diode choice and boxes as a design file keeps them, read in the user's notation;
    // nullopt with the sentence why when no diode choice of the tab is selected or a box it reads
    // holds no number. The settings, fit and note are left as they are.
    std::optional<design_file::Design> tabDesign(calc_core::Tab tab, QString& why) const;
    // Brings the design's tab forward, selects its diode choice, writes its numbers into the
    // boxes in the user's notation and presses the tab's CAL, as a user would; true when the
    // press recorded a design to analyse.
    bool enterDesign(const design_file::Design& design);

    // The Calc or Check tab when it is in front.
    std::optional<calc_core::Tab> frontDesignTab() const;

    // Shows one prompt to the user, through the sink.
    void ShowMessage(const QString& prompt);

    void Form_Load();
    void Option1_Click(int index);
    void Option2_Click(int index);
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();

  private:
    template <typename T, std::size_t N> void FindArray(std::array<T*, N>& array, const char* name);
    template <typename T> T* FindSingle(const char* name);
    // The parts of building the form, in the constructor's order.
    void FindControls();
    void ConnectEvents();
    void AddDesignMenu();

    void SelectOption(QRadioButton* button);
    void ApplyDiodeLayout(std::span<const calc_core::DiodeLayoutRow> layout, bool diode);

    std::array<QLineEdit*, 5> Text1{};
    std::array<QLineEdit*, 5> Text2{};
    std::array<QLabel*, 10> Label1{};
    std::array<QLabel*, 3> Label2{};
    std::array<QLabel*, 4> Label3{};
    std::array<QLabel*, 7> Label5{};
    std::array<QRadioButton*, 2> Option1{};
    std::array<QRadioButton*, 2> Option2{};
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    QTabWidget* m_tabs = nullptr;
    DesignFiles* m_files = nullptr;

    calc_core::NumberLocale m_locale;
    calc_core::CheckResults m_checkResults;
    analysis_window::DesignRecord m_designs;
    MessageSink m_showMessage;
};

} // namespace main_window
