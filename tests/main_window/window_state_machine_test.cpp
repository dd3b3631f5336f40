// Random walks through the calculator window, checked after every step against a small model.
#include "calc_core/check_calculation.h"
#include "calc_core/design_calculation.h"
#include "main_window/orvalen.h"

#include "window_fixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>

#include <algorithm>
#include <array>
#include <bit>
#include <map>

using namespace window_test;

namespace {

constexpr int MaxLength = 32767; // what a text box takes; longer typing or pasting is cut

// The four diode buttons, one exclusive group across the Calc and Check tabs.
const QString Options[] = {"Option1(0)", "Option1(1)", "Option2(0)", "Option2(1)"};
enum Option { CalcYes, CalcNo, CheckYes, CheckNo };
enum Tab { CalcTab = 0, SchematicTab = 1, CheckTab = 3 };

// The three controls a failed design check may mark red.
const QString Markable[] = {"Text1(2)", "Text1(3)", "Label2(2)"};

const QStringList Text1 = Range("Text1", 5);
const QStringList Text2 = Range("Text2", 5);
const QStringList Label2 = Range("Label2", 3);
const QStringList Label3 = Range("Label3", 4);
// Every label and box whose visibility a handler could touch.
const QStringList Rows =
    Range("Label1", 10) + Range("Label5", 7) + Range("Label6", 2) + Text1 + Text2 + Label2 + Label3;

calc_core::NumberLocale NumberLocaleOf(const QLocale& locale) {
    return {locale.decimalPoint().toStdString(), locale.groupSeparator().toStdString()};
}

template <std::size_t N> calc_core::TabInputTexts Utf8(const std::array<QString, N>& texts) {
    calc_core::TabInputTexts utf8;
    for (std::size_t i = 0; i < N; ++i) {
        utf8[i] = texts[i].toStdString();
    }
    return utf8;
}

// A text short enough to read in a failure report, with its invisible characters spelled out.
QString Shown(const QString& text) {
    QString out;
    for (QChar c : text.left(24)) {
        if (c == '\t') {
            out += "\\t";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c.unicode() < 0x20 || c.unicode() > 0x7E) {
            out += QString("\\u%1").arg(c.unicode(), 4, 16, QChar('0'));
        } else {
            out += c;
        }
    }
    return text.size() > 24 ? QString("'%1...' (%2 characters)").arg(out).arg(text.size())
                            : "'" + out + "'";
}

bool SameBits(double a, double b) {
    return std::bit_cast<quint64>(a) == std::bit_cast<quint64>(b);
}

// The window as its user should see it, kept by the window's rules; the arithmetic of a press
// comes from the calculation core, since what is checked here is where its outcome lands.
struct Model {
    int selected = CheckNo; // one of the four is always selected; at start the Check tab's "No"
    bool calcVfRow = false;
    bool calcVoMidRow = true;
    bool checkDiodeLayout = false; // the Check tab's rows as "Yes" left them
    std::array<QString, 5> text1, text2;
    std::array<QString, 3> label2;
    std::array<QString, 4> label3;
    std::array<bool, 3> red{}; // as Markable
    calc_core::CheckResults checkResults;
    int frontTab = SchematicTab;

    bool Shows(const QString& name) const {
        if (name == "Label1(8)" || name == "Text1(4)") {
            return calcVfRow;
        }
        if (name == "Label5(2)" || name == "Label2(2)") {
            return calcVoMidRow;
        }
        if (name == "Label1(9)" || name == "Text2(4)") {
            return checkDiodeLayout;
        }
        if (name == "Label5(4)" || name == "Label5(6)" || name == "Label3(1)" ||
            name == "Label3(3)") {
            return !checkDiodeLayout;
        }
        return true;
    }
    QString& Box(const QString& name) {
        const int i = name[name.size() - 2].digitValue(); // "Text1(3)"
        return name.startsWith("Text1") ? text1[i] : text2[i];
    }

    // Selecting a button, even the one already selected, gives its tab's layout.
    void Select(int option) {
        selected = option;
        if (option == CalcYes || option == CalcNo) {
            calcVfRow = option == CalcYes;
            calcVoMidRow = option == CalcNo;
        } else {
            checkDiodeLayout = option == CheckYes;
        }
    }

    // Returns the message the press shows, if any.
    QStringList CalcCal(const calc_core::NumberLocale& locale, QStringList& faults) {
        const auto press =
            calc_core::CalcPress(selected == CalcYes, selected == CalcNo, Utf8(text1), locale);
        const auto& r = press.result;
        if (selected != CalcYes && selected != CalcNo) {
            return {SelectDiode};
        }
        // The rows follow the choice before the fields are judged, whatever they hold.
        calcVfRow = selected == CalcYes;
        if (selected == CalcYes) {
            calcVoMidRow = false;
        }
        const bool gateMessage = r.message == calc_core::PressMessage::InputMissing ||
                                 r.message == calc_core::PressMessage::InputError;
        if (gateMessage &&
            (r.r1Text || r.r3Text || r.voMidText || r.flagged != calc_core::FlaggedElement::None)) {
            faults << "the core gave results together with an input message";
        }
        if (r.flagged != calc_core::FlaggedElement::None &&
            r.message != calc_core::PressMessage::CalError) {
            faults << "the core marked an element without the Cal Error message";
        }
        if (r.r1Text) {
            label2[0] = QString::fromStdString(*r.r1Text);
        }
        if (r.r3Text) {
            label2[1] = QString::fromStdString(*r.r3Text);
        }
        if (r.voMidText) {
            label2[2] = QString::fromStdString(*r.voMidText);
        }
        using enum calc_core::FlaggedElement;
        if (r.flagged != None) {
            red[r.flagged == VoMaxBox ? 0 : r.flagged == VoMinBox ? 1 : 2] = true;
        }
        if (r.message == calc_core::PressMessage::None) {
            return {};
        }
        return {QString::fromUtf8(calc_core::MessageText(r.message))};
    }

    void CalcClear() {
        text1 = {};
        label2 = {};
        red = {};
    }

    QStringList CheckCal(const calc_core::NumberLocale& locale, QStringList& faults) {
        const auto press = calc_core::CheckPress(selected == CheckYes, selected == CheckNo,
                                                 Utf8(text2), locale, checkResults);
        const std::optional<std::string>* const texts[] = {&press.voMaxText, &press.voMidText,
                                                           &press.voMinText, &press.deltaText};
        const bool anyText = std::any_of(std::begin(texts), std::end(texts),
                                         [](const auto* text) { return text->has_value(); });
        if (press.message != calc_core::PressMessage::None && anyText) {
            faults << "the core gave Check results together with a message";
        }
        if (press.message == calc_core::PressMessage::CalError) {
            faults << "the Check tab got the Cal Error message";
        }
        for (std::size_t i = 0; i < std::size(texts); ++i) {
            if (*texts[i]) {
                label3[i] = QString::fromStdString(**texts[i]);
            }
        }
        if (press.message == calc_core::PressMessage::None) {
            return {};
        }
        return {QString::fromUtf8(calc_core::MessageText(press.message))};
    }

    // Only with one of the Check tab's own buttons selected.
    void CheckClear() {
        if (selected == CheckYes || selected == CheckNo) {
            text2 = {};
            label3 = {};
        }
    }
};

// Texts a user might type or paste, weighted towards ones that let a press compute.
const QStringList WorkedNumbers{"10000", "2.5",   "40",   "30",  "0.6",   "1000",  "1.0",
                                "35",    "10",    "2",    "100", "2.0",   "101.2", "40.2",
                                "0.5",   "240.6", "90.8", "470", "1.2",   "300",   "4",
                                "37",    "1.25",  "330",  "12",  "64955", "7210"};
// Whole worked examples, as a user enters a known design: four fields, then the diode's Vf.
const QStringList CalcExamples[] = {
    {"10000", "2.5", "40", "30", "0.6"},    {"1000", "1.0", "35", "10", "0.6"},
    {"10000", "2.5", "30", "40", "0.6"},    {"10000", "2.5", "40", "2", "0.6"},
    {"100", "2.0", "101.2", "40.2", "0.6"}, {"2", "0.5", "240.6", "90.8", "0.6"}};
const QStringList CheckExamples[] = {{"470", "10", "100", "1.2", "0.6"},
                                     {"300", "4", "37", "1.25", "0.6"},
                                     {"330", "10", "1000", "1.0", "0.6"},
                                     {"100", "100", "12", "0.5", "0.6"}};
// clang-format off
const QStringList OddTexts{
    // units, grouping, a decimal comma, non-ASCII group separators
    "12.5V", "10k", "4.7k\u03A9", "2.5 V", "$5", "100 ohm", "1,000", "10,000", "1,000.5",
    "1.000", "1.000,5", "1 000", "10\u202F000", "1\u00A0000", "2,5", "0,6", "1,25",
    // exponents, at and past the ends of the double range
    "1e3", "1E+3", "2.5e0", "1e308", "-1e308", "1e-320", "4.9e-324", "1e999", "1e-999", "1e",
    "e5",
    // signs, zeros, blanks, tabs and line feeds
    ".5", "5.", "0", "-5", "0.0", "+3", "-0", " 7 ", "\t8\t", "", " ", "   ", "\t", "\n", "\t\t",
    " \n ", "\r\n", "10000\n", "2.5\n40",
    // no number at all, or one in a notation the window does not read
    "abc", "x", "NaN", "inf", "-Infinity", "0x1A", "&H10", "(5)", "5-", "\u0661\u0662\u0663",
    "\uFF11\uFF12", "\U0001F600", "\u00B5", "\u200B5", "1\u20282"};
// clang-format on
const QString Alphabet = "0123456789..,,eE+- \t\nVk\u03A9\u00B5\u202F\u00A0";

} // namespace

class WindowStateMachineTest : public QObject, WindowFixture {
    Q_OBJECT

    std::map<QString, std::uint32_t> startColours;

    void Open(const QLocale& locale) {
        QLocale::setDefault(locale); // the window takes its separators from it when created
        QVERIFY(OpenForm());
        startColours.clear();
        for (const QString& name : Text2 + Label3) {
            startColours[name] = Colour(name);
        }
    }

    static bool Typable(const QString& text) {
        return text.size() <= 24 && std::all_of(text.begin(), text.end(), [](QChar c) {
                   return c.unicode() >= 0x20 && !c.isSurrogate() && c.isPrint();
               });
    }
    // Everything that differs between the window and the model, one line each.
    QStringList Differences(const Model& m, const QLocale& locale) const {
        QStringList diffs;
        const auto expect = [&](const QString& name, const QString& actual,
                                const QString& expected) {
            if (actual != expected) {
                diffs << QString("%1 is %2, expected %3").arg(name, Shown(actual), Shown(expected));
            }
        };
        for (int i = 0; i < 4; ++i) {
            if (C<QRadioButton>(Options[i])->isChecked() != (m.selected == i)) {
                diffs << Options[i] +
                             (m.selected == i ? " should be selected" : " should not be selected");
            }
        }
        for (const QString& name : Rows) {
            if (C(name)->isHidden() == m.Shows(name)) {
                diffs << name + (m.Shows(name) ? " should be shown" : " should be hidden");
            }
        }
        for (int i = 0; i < 5; ++i) {
            expect(Text1[i], Text(Text1[i]), m.text1[i]);
            expect(Text2[i], Text(Text2[i]), m.text2[i]);
        }
        for (int i = 0; i < 3; ++i) {
            expect(Label2[i], Text(Label2[i]), m.label2[i]);
        }
        for (int i = 0; i < 4; ++i) {
            expect(Label3[i], Text(Label3[i]), m.label3[i]);
        }
        for (const QString& name : Text1 + Label2) {
            const int mark = int(std::find(std::begin(Markable), std::end(Markable), name) -
                                 std::begin(Markable));
            const bool red = mark < 3 && m.red[std::size_t(mark)];
            if (Colour(name) != (red ? Red : White)) {
                diffs << name + (red ? " should be red" : " should be white");
            }
        }
        for (const auto& [name, colour] : startColours) {
            if (Colour(name) != colour) {
                diffs << name + " changed colour";
            }
        }
        const calc_core::CheckResults& r = form->checkResults();
        const calc_core::CheckResults& e = m.checkResults;
        if (!SameBits(r.voMax, e.voMax) || !SameBits(r.voMid, e.voMid) ||
            !SameBits(r.voMin, e.voMin) || !SameBits(r.delta, e.delta)) {
            diffs << QString("checkResults are %1 %2 %3 %4, expected %5 %6 %7 %8")
                         .arg(r.voMax)
                         .arg(r.voMid)
                         .arg(r.voMin)
                         .arg(r.delta)
                         .arg(e.voMax)
                         .arg(e.voMid)
                         .arg(e.voMin)
                         .arg(e.delta);
        }
        if (C<QTabWidget>("SSTab1")->currentIndex() != m.frontTab) {
            diffs << QString("tab %1 is in front, expected %2")
                         .arg(C<QTabWidget>("SSTab1")->currentIndex())
                         .arg(m.frontTab);
        }
        diffs << Malformed(locale);
        return diffs;
    }

    // Result labels hold whole numbers, Delta one decimal; never "inf", "nan" or "-0".
    QStringList Malformed(const QLocale& locale) const {
        static const QRegularExpression whole("^(-?[1-9][0-9]*|0)?$");
        const QRegularExpression oneDecimal(
            QString("^(-?(0|[1-9][0-9]*)%1[0-9])?$")
                .arg(QRegularExpression::escape(locale.decimalPoint())));
        QStringList bad;
        for (const QString& name : Label2 + Label3) {
            const QString text = Text(name);
            const bool wellFormed = name == "Label3(3)"
                                        ? oneDecimal.match(text).hasMatch() &&
                                              !text.startsWith("-0" + locale.decimalPoint() + "0")
                                        : whole.match(text).hasMatch();
            if (!wellFormed || text.contains("inf", Qt::CaseInsensitive) ||
                text.contains("nan", Qt::CaseInsensitive)) {
                bad << name + " shows " + Shown(text);
            }
        }
        return bad;
    }

    static QString EnvOr(const char* name, const QString& fallback) {
        const QString value = qEnvironmentVariable(name);
        return value.isEmpty() ? fallback : value;
    }

  private slots:
    void cleanup() { CloseForm(); }

    // clang-format off
    void randomWalkKeepsWindowAndModelInStep_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<int>("share"); // percent of the steps
        QTest::newRow("en_US") << QLocale(QLocale::English, QLocale::UnitedStates) << 60;
        QTest::newRow("de_DE decimal comma") << QLocale(QLocale::German, QLocale::Germany) << 20;
        QTest::newRow("fr_FR narrow space groups")
            << QLocale(QLocale::French, QLocale::France) << 20;
    }
    // clang-format on

    // ORVALEN_STEPS (shared out over the locales) and ORVALEN_SEED choose the walks;
    // ORVALEN_TRACE=1 prints every step.
    void randomWalkKeepsWindowAndModelInStep() {
        QFETCH(QLocale, locale);
        QFETCH(int, share);
        const int total = EnvOr("ORVALEN_STEPS", "5000").toInt();
        const int steps = total * share / 100;
        const quint32 seed = EnvOr("ORVALEN_SEED", "20261207").toUInt();
        const bool trace = qEnvironmentVariableIntValue("ORVALEN_TRACE") != 0;
        qInfo("seed %u, %d steps; repeat with ORVALEN_SEED=%u ORVALEN_STEPS=%d", seed, steps, seed,
              total);
        Open(locale);
        const calc_core::NumberLocale numbers = NumberLocaleOf(locale);
        QRandomGenerator rng(seed);
        const auto pick = [&](int n) { return int(rng.bounded(n)); };
        const auto chance = [&](int percent) { return pick(100) < percent; };
        // The worked numbers as this locale writes them; the plain ones differ where the
        // locale's decimal separator is not a point.
        QStringList local = WorkedNumbers;
        local.replaceInStrings(".", locale.decimalPoint());
        const auto worked = [&](bool inLocale) {
            return (inLocale ? local : WorkedNumbers)[pick(int(WorkedNumbers.size()))];
        };
        const auto randomText = [&]() -> QString {
            const int kind = pick(100);
            if (kind < 60) {
                return worked(chance(50));
            }
            if (kind < 80) {
                return OddTexts[pick(int(OddTexts.size()))];
            }
            if (kind < 90) {
                QString text;
                for (int n = pick(13); n > 0; --n) {
                    text += Alphabet[pick(int(Alphabet.size()))];
                }
                return text;
            }
            if (kind < 99) {
                return worked(chance(50)) + OddTexts[pick(int(OddTexts.size()))];
            }
            // Up to the longest a box takes: a number padded on either side.
            const int lengths[] = {MaxLength - 1, MaxLength, 1000 + pick(MaxLength - 1000)};
            const QString number = worked(chance(50));
            const QString pad(lengths[pick(3)] - int(number.size()), QString(" 0\t9x")[pick(5)]);
            return chance(50) ? pad + number : number + pad;
        };

        Model m;
        // After a message the user mostly does what it asks for, then presses again.
        enum class Next { Anything, Select, Correct, Press } next = Next::Anything;
        int nextTab = CalcTab;
        QStringList recent; // the last steps, for the failure report
        std::map<QString, int> tally;
        for (int step = 1; step <= steps; ++step) {
            QString did;
            QStringList expectedPrompts;
            QStringList faults;
            prompts.clear();

            // A user mostly works on the tab in front and now and then turns to the other.
            const int front = m.frontTab == CalcTab || m.frontTab == CheckTab
                                  ? m.frontTab
                                  : (chance(50) ? CalcTab : CheckTab);
            int tab = chance(85) ? front : CalcTab + CheckTab - front;
            int kind = pick(100);
            const Next reaction = chance(80) ? next : Next::Anything;
            if (reaction != Next::Anything) {
                tab = nextTab;
                kind = reaction == Next::Select ? 0 : reaction == Next::Correct ? 20 : 70;
            }
            next = Next::Anything;
            const bool calc = tab == CalcTab;
            const QStringList& boxes = calc ? Text1 : Text2;

            const int fields = m.selected == (calc ? CalcYes : CheckYes) ? 5 : 4;
            if (reaction == Next::Correct && chance(30)) {
                const int example = pick(calc ? 6 : 4);
                QStringList texts = (calc ? CalcExamples : CheckExamples)[example];
                texts.replaceInStrings(".", locale.decimalPoint());
                ClickTab(tab);
                m.frontTab = tab;
                for (int i = 0; i < fields; ++i) {
                    Enter(C<QLineEdit>(boxes[i]), texts[i], true, Entry::Typed);
                    m.Box(boxes[i]) = texts[i];
                }
                did = QString("type worked example %1 into %2").arg(example).arg(boxes[0]);
                ++tally["type worked example"];
                next = Next::Press;
                nextTab = tab;
            } else if (kind < 12) {
                const int option = (calc ? CalcYes : CheckYes) + pick(2);
                ClickTab(tab);
                Click(Options[option]);
                m.frontTab = tab;
                m.Select(option);
                did = "select " + Options[option];
                ++tally["select diode"];
            } else if (kind < 62) {
                QString name = boxes[pick(5)];
                QString text = randomText();
                if (reaction == Next::Correct) {
                    // The first field the gate reads that does not hold a worked number.
                    for (int i = fields - 1; i >= 0; --i) {
                        if (!local.contains(m.Box(boxes[i]))) {
                            name = boxes[i];
                        }
                    }
                    text = worked(true);
                    next = Next::Press;
                    nextTab = tab;
                }
                auto* box = C<QLineEdit>(name);
                QString& held = m.Box(name);
                if (!m.Shows(name)) {
                    // A hidden box cannot be reached; its user left this text there while its
                    // row was shown, which the option handlers must not disturb.
                    box->setText(text);
                    held = text.left(MaxLength);
                    did = QString("set %1 to %2 (hidden)").arg(name, Shown(text));
                    ++tally["set hidden box"];
                } else {
                    // Long texts replace: pasting past the longest a box takes is slow in the
                    // toolkit, and the cut at the longest has its own test below.
                    const bool replace = text.size() > 100 || chance(75);
                    // Keys go one at a time; a long text comes from the clipboard.
                    const Entry entry = Typable(text) && held.size() < 100 && chance(60)
                                            ? Entry::Typed
                                            : Entry::Pasted;
                    ClickTab(tab);
                    m.frontTab = tab;
                    Enter(box, text, replace, entry);
                    held = ((replace ? QString() : held) + text).left(MaxLength);
                    did = QString("%1 %2 into %3%4")
                              .arg(entry == Entry::Typed ? "type" : "paste", Shown(text), name,
                                   replace ? "" : " (appended)");
                    ++tally[entry == Entry::Typed ? "type" : "paste"];
                }
            } else if (kind < 87) {
                ClickTab(tab);
                m.frontTab = tab;
                Click(calc ? "Command1" : "Command3");
                expectedPrompts = calc ? m.CalcCal(numbers, faults) : m.CheckCal(numbers, faults);
                did = calc ? "press Calc CAL" : "press Check CAL";
                ++tally[did + ": " + (expectedPrompts.isEmpty() ? "results" : expectedPrompts[0])];
                if (!expectedPrompts.isEmpty() && expectedPrompts[0] != CalError) {
                    next = expectedPrompts[0] == SelectDiode ? Next::Select : Next::Correct;
                    nextTab = tab;
                }
            } else if (kind < 92) {
                ClickTab(tab);
                m.frontTab = tab;
                Click(calc ? "Command2" : "Command4");
                if (calc) {
                    m.CalcClear();
                } else {
                    m.CheckClear();
                }
                did = calc ? "press Calc CLEAR" : "press Check CLEAR";
                ++tally[did];
            } else {
                // Changing tabs runs nothing of the window's own.
                const int shown = pick(4);
                ClickTab(shown);
                m.frontTab = shown;
                did = QString("show tab %1").arg(shown);
                ++tally["show tab"];
            }
            if (trace) {
                qInfo("step %d: %s", step, qPrintable(did));
            }
            recent << QString("%1: %2").arg(step).arg(did);
            if (recent.size() > 12) {
                recent.removeFirst();
            }

            QStringList diffs = faults + Differences(m, locale);
            if (prompts != expectedPrompts) {
                diffs << QString("messages were [%1], expected [%2]")
                             .arg(prompts.join(" | "), expectedPrompts.join(" | "));
            }
            QVERIFY2(
                diffs.isEmpty(),
                qPrintable(QString("seed %1, step %2 of %3, locale %4:\n  %5\nlast steps:\n  %6")
                               .arg(seed)
                               .arg(step)
                               .arg(steps)
                               .arg(locale.name(), diffs.join("\n  "), recent.join("\n  "))));
        }
        for (const auto& [what, count] : tally) {
            qInfo("%6d  %s", count, qPrintable(what));
        }
    }

    // clang-format off
    void edgeTextGivesOneDefinedOutcome_data() {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("typed"); // typed after the paste, at the end of the text
        QTest::addColumn<QString>("held");  // what the box then holds
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("results"); // patterns for the result labels
        QTest::addColumn<QString>("marked");

        // Each row first presses with a worked example, whose results a failing press keeps.
        const QStringList calcBase{"64955", "7210", "35"};
        const QStringList checkBase{"63", "60", "57", "3\\.0"};
        const QString blanks(MaxLength - 5, ' ');
        const QString zeros(MaxLength, '0');
        const QString no1 = "Option1(1)";
        const QString no2 = "Option2(1)";
        const auto row = [](const char* name, const QString& option, const QString& box,
                            const QString& pasted, const QString& typed, const QString& held,
                            const QString& message, const QStringList& results,
                            const QString& marked = {}) {
            QTest::newRow(name) << option << box << pasted << typed << held << message << results
                                << marked;
        };
        row("longest text: worked example after blanks", no1, "Text1(0)", blanks + "10000", "",
            blanks + "10000", "", calcBase);
        row("paste past the longest is cut", no1, "Text1(0)", "10000" + blanks + "x", "",
            "10000" + blanks, "", calcBase);
        row("typing into a full box adds nothing", no1, "Text1(0)", "10000" + blanks, "x",
            "10000" + blanks, "", calcBase);
        row("the last digit cut leaves only zeros", no1, "Text1(0)", zeros + "1", "", zeros,
            InputError, calcBase);
        row("only blanks", no1, "Text1(1)", "", "   ", "   ", InputError, calcBase);
        row("only tabs", no1, "Text1(2)", "\t\t", "", "\t\t", InputError, calcBase);
        row("only line feeds", no1, "Text1(3)", "\n\n", "", "\n\n", InputError, calcBase);
        row("number with a line feed pasted", no1, "Text1(0)", "10000\n", "", "10000\n", InputError,
            calcBase);
        row("two lines pasted", no1, "Text1(0)", "10000\r\n2.5", "", "10000\r\n2.5", InputError,
            calcBase);
        row("R2 1e308 overflows", no1, "Text1(0)", "1e308", "", "1e308", CalError, calcBase);
        row("Vref 1e308 overflows", no1, "Text1(1)", "1e308", "", "1e308", CalError, calcBase);
        row("R2 1e-320 gives R3 0", no1, "Text1(0)", "1e-320", "", "1e-320", CalError,
            {"0", "0", "35"});
        row("R2 4.9e-324 gives R3 0", no1, "Text1(0)", "4.9e-324", "", "4.9e-324", CalError,
            {"0", "0", "29"});
        row("Vo_min 1e-320", no1, "Text1(3)", "1e-320", "", "1e-320", CalError,
            {"190180", "-4750", "-22"}, "Text1(2)");
        row("R2 1e999 is no number", no1, "Text1(0)", "1e999", "", "1e999", InputError, calcBase);
        row("Vo_mid offset past 2^31", no1, "Text1(2)", "1e10", "", "1e10", CalError,
            {"45045044799910", "-5000", "-4954954886"}, "Text1(2)");
        row("Vf 4.9e-324 leaves Vo_mid", "Option1(0)", "Text1(4)", "4.9e-324", "", "4.9e-324", "",
            {"18571", "1463", "35"});
        row("Vf 1e308 overflows", "Option1(0)", "Text1(4)", "1e308", "", "1e308", CalError,
            calcBase);

        row("longest text: Vref after blanks", no2, "Text2(3)", blanks + "  1.2", "",
            blanks + "  1.2", "", checkBase);
        row("longest text: R3 only zeros", no2, "Text2(2)", zeros + "100", "", zeros, InputError,
            checkBase);
        row("Check only line feeds", no2, "Text2(0)", "\n", "", "\n", InputError, checkBase);
        row("R1 1e308 shows every digit", no2, "Text2(0)", "1e308", "", "1e308", "",
            {"1305999[0-9]{301}", "1249999[0-9]{301}", "1194999[0-9]{301}",
             "5550000[0-9]{299}\\.0"});
        row("R2 1e-320 overflows", no2, "Text2(1)", "1e-320", "", "1e-320", InputError, checkBase);
        row("R3 4.9e-324 overflows", no2, "Text2(2)", "4.9e-324", "", "4.9e-324", InputError,
            checkBase);
        row("Check Vref 1e308 overflows", no2, "Text2(3)", "1e308", "", "1e308", InputError,
            checkBase);
        row("Check Vref 1e-320", no2, "Text2(3)", "1e-320", "", "1e-320", "",
            {"-1", "-3", "-6", "3\\.0"});
        row("R1 4.9e-324", no2, "Text2(0)", "4.9e-324", "", "4.9e-324", "",
            {"1", "1", "1", "0\\.0"});
        row("Delta past 2^31", no2, "Text2(0)", "1e12", "", "1e12", "",
            {"130600000001", "125000000001", "119500000001", "5550000000\\.0"});
        row("R3 1e999 is no number", no2, "Text2(2)", "1e999", "", "1e999", InputError, checkBase);
        row("Check Vf 1e308 overflows", "Option2(0)", "Text2(4)", "1e308", "", "1e308", InputError,
            checkBase);
        row("Check Vf only blanks", "Option2(0)", "Text2(4)", "", "  ", "  ", InputError,
            checkBase);
    }
    // clang-format on

    void edgeTextGivesOneDefinedOutcome() {
        QFETCH(QString, option);
        QFETCH(QString, box);
        QFETCH(QString, pasted);
        QFETCH(QString, typed);
        QFETCH(QString, held);
        QFETCH(QString, message);
        QFETCH(QStringList, results);
        QFETCH(QString, marked);
        Open(QLocale(QLocale::English, QLocale::UnitedStates));
        const bool calc = box.startsWith("Text1");
        const int tab = calc ? CalcTab : CheckTab;
        const QStringList base =
            calc ? QStringList{"10000", "2.5", "40", "30"} : QStringList{"470", "10", "100", "1.2"};
        const QStringList labels = calc ? Label2 : Label3;
        const QString cal = calc ? "Command1" : "Command3";
        ClickTab(tab);
        Click(calc ? "Option1(1)" : "Option2(1)");
        for (int i = 0; i < 4; ++i) {
            Enter(C<QLineEdit>((calc ? Text1 : Text2)[i]), base[i], true, Entry::Typed);
        }
        Click(cal);
        QCOMPARE(prompts, QStringList());
        Click(option);

        auto* edit = C<QLineEdit>(box);
        QCOMPARE(edit->maxLength(), MaxLength);
        Enter(edit, pasted, true, Entry::Pasted);
        if (!typed.isEmpty()) {
            Enter(edit, typed, false, Entry::Typed);
        }
        QCOMPARE(edit->text().size(), held.size());
        QVERIFY2(edit->text() == held, qPrintable(Shown(edit->text())));
        prompts.clear();
        Click(cal);
        QCOMPARE(prompts, message.isEmpty() ? QStringList() : QStringList{message});
        for (int i = 0; i < results.size(); ++i) {
            const QRegularExpression pattern(QRegularExpression::anchoredPattern(results[i]));
            QVERIFY2(pattern.match(Text(labels[i])).hasMatch(),
                     qPrintable(labels[i] + " shows " + Shown(Text(labels[i]))));
        }
        QCOMPARE(Malformed(QLocale()), QStringList());
        for (const QString& name : Markable) {
            QCOMPARE(Colour(name), name == marked ? Red : White);
        }
    }
};

QTEST_MAIN(WindowStateMachineTest)
#include "window_state_machine_test.moc"
