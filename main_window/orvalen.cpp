// The form Orvalen: builds itself from the control table and answers its events.
#include "main_window/orvalen.h"

#include "analysis_window/qt_text.h"
#include "calc_core/decimal_text.h"
#include "calc_core/design_calculation.h"
#include "calc_core/number_text.h"
#include "calc_core/tab_inputs.h"
#include "main_window/colour_value.h"
#include "main_window/control_fonts.h"
#include "main_window/control_table.h"
#include "main_window/design_files.h"
#include "main_window/design_menu.h"
#include "main_window/form_builder.h"

#include <QApplication>
#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include <span>
#include <vector>

namespace main_window {

using analysis_window::ToQString;
namespace {

calc_core::NumberLocale CurrentNumberLocale() {
    const QLocale locale;
    return {locale.decimalPoint().toStdString(), locale.groupSeparator().toStdString()};
}

// A number as the user writes it: its shortest exact digits with the locale's decimal separator,
// without grouping.
QString LocaleText(double value, const calc_core::NumberLocale& locale) {
    std::string text = calc_core::ShortestText(value);
    if (const std::size_t point = text.find('.'); point != std::string::npos) {
        text.replace(point, 1, locale.decimalSeparator);
    }
    return ToQString(text);
}

template <std::size_t N>
calc_core::TabInputTexts ReadTexts(const std::array<QLineEdit*, N>& boxes) {
    calc_core::TabInputTexts texts;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        texts[i] = boxes[i]->text().toStdString();
    }
    return texts;
}

// A choice on one tab takes the choice away from the other tab's pair.
void Deselect(const std::array<QRadioButton*, 2>& pair) {
    QButtonGroup* group = pair[0]->group();
    group->setExclusive(false);
    for (QRadioButton* button : pair) {
        button->setChecked(false);
    }
    group->setExclusive(true);
}

} // namespace

Orvalen::Orvalen(QWidget* parent) : QWidget(parent), m_locale(CurrentNumberLocale()) {
    setObjectName(ToQString(FormName));
    setWindowTitle(ToQString(FormCaption));
    resize(ToPixels(FormClientWidth), ToPixels(FormClientHeight));
    setFont(FontFor(FontRole::Window));
    m_showMessage = [this](const QString& prompt) {
        QMessageBox box(QMessageBox::NoIcon, ToQString(ApplicationTitle), prompt, QMessageBox::Ok,
                        this);
        box.setFont(QApplication::font());    // the prompt is plain text, not a heading
        box.setAccessibleDescription(prompt); // read out with the title when the box opens
        box.exec();
    };

    BuildControls(this);
    FindControls();
    ConnectEvents();
    AddDesignMenu();
    Form_Load();
}

void Orvalen::FindControls() {
    FindArray(Text1, "Text1");
    FindArray(Text2, "Text2");
    FindArray(Label1, "Label1");
    FindArray(Label2, "Label2");
    FindArray(Label3, "Label3");
    FindArray(Label5, "Label5");
    FindArray(Option1, "Option1");
    FindArray(Option2, "Option2");
    Command1 = FindSingle<QPushButton>("Command1");
    Command2 = FindSingle<QPushButton>("Command2");
    Command3 = FindSingle<QPushButton>("Command3");
    Command4 = FindSingle<QPushButton>("Command4");
}

void Orvalen::ConnectEvents() {
    // The four buttons are one choice across both tabs: the newly selected one takes the
    // selection from the other tab's pair, then raises its array's handler at once, whether
    // the user or the code selected it. A button that loses its selection raises nothing.
    for (int i = 0; i < 2; ++i) {
        connect(Option1[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) {
                Deselect(Option2);
                Option1_Click(i);
            }
        });
        connect(Option2[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) {
                Deselect(Option1);
                Option2_Click(i);
            }
        });
    }
    connect(Command1, &QPushButton::clicked, this, &Orvalen::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Orvalen::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Orvalen::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Orvalen::Command4_Click);
}

// The right-click menu and shortcut of the design analysis; owned by the form.
void Orvalen::AddDesignMenu() {
    std::vector<QWidget*> ownMenus(Text1.begin(), Text1.end());
    ownMenus.insert(ownMenus.end(), Text2.begin(), Text2.end());
    ownMenus.insert(ownMenus.end(), Label2.begin(), Label2.end());
    ownMenus.insert(ownMenus.end(), Label3.begin(), Label3.end());
    // The CAL buttons and result labels say where the analysis is.
    std::vector<QWidget*> hinted{Command1, Command3};
    hinted.insert(hinted.end(), Label2.begin(), Label2.end());
    hinted.insert(hinted.end(), Label3.begin(), Label3.end());
    m_tabs = FindSingle<QTabWidget>("SSTab1");
    auto* menu = new DesignMenu(this, m_tabs, &m_designs, ownMenus, hinted);
    m_files = new DesignFiles(this, menu);
    menu->setDesignFiles(m_files);
}

template <typename T, std::size_t N>
void Orvalen::FindArray(std::array<T*, N>& array, const char* name) {
    for (std::size_t i = 0; i < N; ++i) {
        array[i] = FindSingle<T>(QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(i).toUtf8());
    }
}

template <typename T> T* Orvalen::FindSingle(const char* name) {
    T* control = findChild<T*>(QLatin1String(name));
    Q_ASSERT_X(control, "Orvalen", name);
    return control;
}

void Orvalen::SelectOption(QRadioButton* button) {
    button->setChecked(true);
}

void Orvalen::ShowMessage(const QString& prompt) {
    m_showMessage(prompt);
}

void Orvalen::Form_Load() {
    SelectOption(Option1[1]);
    Label1[8]->hide();
    Text1[4]->hide();
    SelectOption(Option2[1]);
    Label1[9]->hide();
    Text2[4]->hide();
}

void Orvalen::Option1_Click(int index) {
    ApplyDiodeLayout(calc_core::DiodeLayout(calc_core::Tab::Calc), index == 0);
}

void Orvalen::Option2_Click(int index) {
    ApplyDiodeLayout(calc_core::DiodeLayout(calc_core::Tab::Check), index == 0);
}

// Sets the rows' visibility in table order; a layout never touches texts or colours.
void Orvalen::ApplyDiodeLayout(std::span<const calc_core::DiodeLayoutRow> layout, bool diode) {
    for (const calc_core::DiodeLayoutRow& row : layout) {
        FindSingle<QWidget>(std::string(row.control).c_str())
            ->setVisible(diode ? row.withDiode : row.withoutDiode);
    }
}

void Orvalen::Command1_Click() {
    using calc_core::DiodeChoice;
    using calc_core::FlaggedElement;
    const auto press = calc_core::CalcPress(Option1[0]->isChecked(), Option1[1]->isChecked(),
                                            ReadTexts(Text1), m_locale);
    // The rows follow the choice before the inputs are judged, and stay so if they fail.
    for (const calc_core::PressLayoutRow& row :
         calc_core::PressLayout(calc_core::Tab::Calc, press.layout)) {
        FindSingle<QWidget>(std::string(row.control).c_str())->setVisible(row.shown);
    }

    const auto& result = press.result;
    if (result.r1Text) {
        Label2[0]->setText(ToQString(*result.r1Text));
    }
    if (result.r3Text) {
        Label2[1]->setText(ToQString(*result.r3Text));
    }
    if (result.voMidText) {
        Label2[2]->setText(ToQString(*result.voMidText));
    }
    m_designs.recordCalc(press);
    switch (result.flagged) {
    case FlaggedElement::VoMaxBox:
        SetBackColor(Text1[2], ColourRed);
        break;
    case FlaggedElement::VoMidResult:
        SetBackColor(Label2[2], ColourRed);
        break;
    case FlaggedElement::VoMinBox:
        SetBackColor(Text1[3], ColourRed);
        break;
    case FlaggedElement::None:
        break;
    }
    if (result.message != calc_core::PressMessage::None) {
        ShowMessage(ToQString(calc_core::MessageText(result.message)));
    }
}

void Orvalen::Command2_Click() {
    for (QLineEdit* box : Text1) {
        box->setText(QString());
        SetBackColor(box, ColourWhite);
    }
    for (QLabel* label : Label2) {
        label->setText(QString());
        SetBackColor(label, ColourWhite);
    }
}

void Orvalen::Command3_Click() {
    const auto press = calc_core::CheckPress(Option2[0]->isChecked(), Option2[1]->isChecked(),
                                             ReadTexts(Text2), m_locale, m_checkResults);
    // Each computed result goes to its label, in label order.
    const std::optional<std::string>* const labelTexts[] = {&press.voMaxText, &press.voMidText,
                                                            &press.voMinText, &press.deltaText};
    for (std::size_t i = 0; i < std::size(labelTexts); ++i) {
        if (*labelTexts[i]) {
            Label3[i]->setText(ToQString(**labelTexts[i]));
        }
    }
    m_designs.recordCheck(press);
    if (press.message != calc_core::PressMessage::None) {
        ShowMessage(ToQString(calc_core::MessageText(press.message)));
    }
}

std::optional<design_file::Design> Orvalen::tabDesign(calc_core::Tab tab, QString& why) const {
    const bool calc = tab == calc_core::Tab::Calc;
    const auto& options = calc ? Option1 : Option2;
    const auto& boxes = calc ? Text1 : Text2;
    if (!options[0]->isChecked() && !options[1]->isChecked()) {
        why = QStringLiteral("Select Diode Yes or No on the %1 tab before saving its design.")
                  .arg(ToQString(calc_core::TabName(tab)));
        return std::nullopt;
    }
    design_file::Design design;
    design.tab = tab;
    design.diode = options[0]->isChecked();
    const auto inputs = calc_core::TabInputs(tab);
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        if (i == calc_core::VfInput && !design.diode) {
            continue;
        }
        const std::string text = boxes[i]->text().toStdString();
        const auto value = calc_core::StrictNumber(text, m_locale);
        if (!value) {
            why = QStringLiteral("%1 holds “%2”, which is not a number; the design is "
                                 "not saved.")
                      .arg(ToQString(inputs[i].name), boxes[i]->text());
            return std::nullopt;
        }
        design.inputs[i] = *value;
    }
    return design;
}

std::optional<calc_core::Tab> Orvalen::frontDesignTab() const {
    for (const calc_core::Tab tab : {calc_core::Tab::Calc, calc_core::Tab::Check}) {
        if (m_tabs->currentIndex() == PageIndex(tab)) {
            return tab;
        }
    }
    return std::nullopt;
}

bool Orvalen::enterDesign(const design_file::Design& design) {
    const bool calc = design.tab == calc_core::Tab::Calc;
    m_tabs->setCurrentIndex(PageIndex(design.tab));
    SelectOption((calc ? Option1 : Option2)[design.diode ? 0 : 1]);
    const auto& boxes = calc ? Text1 : Text2;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        if (i != calc_core::VfInput || design.diode) {
            boxes[i]->setText(LocaleText(design.inputs[i], m_locale));
        }
    }
    bool recorded = false;
    const auto watch = connect(
        &m_designs, &analysis_window::DesignRecord::recorded, this,
        [&recorded, &design](calc_core::Tab tab) { recorded = recorded || tab == design.tab; });
    calc ? Command1_Click() : Command3_Click();
    disconnect(watch);
    return recorded;
}

void Orvalen::Command4_Click() {
    // With neither Check button selected (a choice was made on the Calc tab) nothing clears.
    if (!Option2[1]->isChecked() && !Option2[0]->isChecked()) {
        return;
    }
    for (QLineEdit* box : Text2) {
        box->setText(QString());
    }
    for (QLabel* label : Label3) {
        label->setText(QString());
    }
}

} // namespace main_window
