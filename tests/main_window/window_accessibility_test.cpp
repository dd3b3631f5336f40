// Accessibility tests of the calculator window: what assistive technology reads and reaches.
#include "main_window/orvalen.h"

#include "window_fixture.h"

#include <QAccessible>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <algorithm>

using main_window::Orvalen;

namespace {

QAccessibleInterface* Iface(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
}

bool HasLabel(QAccessibleInterface* iface, QObject* label) {
    const auto relations = iface->relations(QAccessible::Label);
    return std::any_of(relations.begin(), relations.end(),
                       [&](const auto& r) { return r.first && r.first->object() == label; });
}

// A node's children; empty, with a warning, where a child does not lead back to the node.
QList<QAccessibleInterface*> Children(QAccessibleInterface* node) {
    QList<QAccessibleInterface*> children;
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface* child = node->child(i);
        if (!child || !child->isValid() || child->parent() != node ||
            node->indexOfChild(child) != i) {
            qWarning("child %d of '%s' is broken", i, qPrintable(node->text(QAccessible::Name)));
            return {};
        }
        children << child;
    }
    return children;
}

void Walk(QAccessibleInterface* node, QHash<QString, int>& met) {
    for (QAccessibleInterface* child : Children(node)) {
        if (child->object()) {
            ++met[child->object()->objectName()];
        }
        Walk(child, met);
    }
}

} // namespace

class WindowAccessibilityTest : public QObject, window_test::WindowFixture {
    Q_OBJECT

    // The control with the keyboard focus; the tab strip stands for the tab control.
    QString FocusName() const {
        QWidget* focus = QApplication::focusWidget();
        return focus == Tabs()->tabBar() ? "SSTab1" : focus ? focus->objectName() : "(none)";
    }

  private slots:
    void init() { QVERIFY(OpenForm()); }
    void cleanup() { CloseForm(); }

    void treeHoldsEveryControlOnceHiddenOnesIncluded() {
        QHash<QString, int> met;
        Walk(Iface(form.get()), met);
        const auto controls = form->findChildren<QWidget*>(
            QRegularExpression(R"(^(SSTab1|Command\d|Picture\d|\w+\d\(\d\))$)"));
        QCOMPARE(controls.size(), 51);
        QStringList wrong;
        for (QWidget* control : controls) {
            if (met.value(control->objectName()) != 1) {
                wrong << control->objectName();
            }
        }
        QCOMPARE(wrong, QStringList());
    }

    // Inputs and results alike are named by the caption label left of them, their buddy, and
    // read out their value, also where the diode layout hides them.
    // clang-format off
    void valuesAreNamedByTheirCaptionLabel_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("label");
        auto row = [](const char* control, const char* caption, const char* label) {
            QTest::newRow(control) << QString(caption) << QString(label);
        };
        row("Text1(0)", "R2 [ohm]", "Label1(0)");
        row("Text1(1)", "Vref [V]", "Label1(1)");
        row("Text1(2)", "Vo_max [V]", "Label1(2)");
        row("Text1(3)", "Vo_min  [V]", "Label1(3)");
        row("Text1(4)", "Diode Vf [V]", "Label1(8)");
        row("Text2(0)", "R1 [ohm]", "Label1(7)");
        row("Text2(1)", "R2 [ohm]", "Label1(6)");
        row("Text2(2)", "R3 [ohm]", "Label1(5)");
        row("Text2(3)", "Vref [V]", "Label1(4)");
        row("Text2(4)", "Diode Vf [V]", "Label1(9)");
        row("Label2(0)", "R1 [ohm]", "Label5(0)");
        row("Label2(1)", "R3 [ohm]", "Label5(1)");
        row("Label2(2)", "Vo_mid [V]", "Label5(2)");
        row("Label3(0)", "Vo max [V]", "Label5(3)");
        row("Label3(1)", "Vo mid [V]", "Label5(4)");
        row("Label3(2)", "Vo min [V]", "Label5(5)");
        row("Label3(3)", "Delta -/+ [V]", "Label5(6)");
    }
    // clang-format on

    void valuesAreNamedByTheirCaptionLabel() {
        QFETCH(QString, caption);
        QFETCH(QString, label);
        QWidget* control = C(QTest::currentDataTag());
        const bool input = control->inherits("QLineEdit");
        Front(control);
        QCOMPARE(C<QLabel>(label)->buddy(), control);
        QAccessibleInterface* iface = Iface(control);
        QCOMPARE(iface->text(QAccessible::Name), caption);
        QVERIFY(HasLabel(iface, C(label)));
        QCOMPARE(iface->role(), input ? QAccessible::EditableText : QAccessible::StaticText);
        QCOMPARE(bool(iface->state().focusable), input);
        QCOMPARE(bool(iface->state().readOnly), !input);
        QCOMPARE(bool(iface->state().invisible), control->isHidden());

        control->setProperty("text", "-12.5");
        QCOMPARE(iface->text(QAccessible::Value), QStringLiteral("-12.5"));
        QAccessibleTextInterface* text = iface->textInterface();
        QVERIFY(text);
        QCOMPARE(text->text(0, text->characterCount()), QStringLiteral("-12.5"));
    }

    // On screen the four buttons stand loose on their tabs; a reader gets one group a tab.
    // clang-format off
    void diodeButtonsFormAGroupNamedDiodeOnTheirTab_data() {
        QTest::addColumn<QStringList>("buttons"); // Yes, No, then the other tab's No
        QTest::newRow("Label6(0)") << QStringList{"Option1(0)", "Option1(1)", "Option2(1)"};
        QTest::newRow("Label6(1)") << QStringList{"Option2(0)", "Option2(1)", "Option1(1)"};
    }
    // clang-format on

    void diodeButtonsFormAGroupNamedDiodeOnTheirTab() {
        QFETCH(QStringList, buttons);
        QWidget* page = C(buttons[0])->parentWidget();
        QList<QAccessibleInterface*> groups;
        for (QAccessibleInterface* child : Children(Iface(page))) {
            QVERIFY(child->role() != QAccessible::RadioButton);
            // The frames are groups too, named by their titles.
            if (child->role() == QAccessible::Grouping &&
                child->text(QAccessible::Name) == "Diode") {
                groups << child;
            }
        }
        QCOMPARE(groups.size(), 1);
        QAccessibleInterface* group = groups[0];
        QVERIFY(HasLabel(group, C(QTest::currentDataTag())));
        const QList<QAccessibleInterface*> pair = Children(group);
        QCOMPARE(pair.size(), 2);
        QCOMPARE(pair[0]->object(), C(buttons[0]));
        QCOMPARE(pair[1]->object(), C(buttons[1]));
        QCOMPARE(pair[0]->text(QAccessible::Name), QStringLiteral("Yes"));
        QCOMPARE(pair[1]->text(QAccessible::Name), QStringLiteral("No"));
        QVERIFY(pair[0]->role() == QAccessible::RadioButton && pair[0]->state().checkable);

        Front(page);
        QVERIFY(!group->state().invisible && group->rect().contains(pair[1]->rect()));
        pair[0]->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        QVERIFY(C<QRadioButton>(buttons[0])->isChecked() && pair[0]->state().checked);
        // A choice on the other tab leaves this pair with none, as the reader must hear.
        C<QRadioButton>(buttons[2])->setChecked(true);
        QVERIFY(!pair[0]->state().checked && !pair[1]->state().checked);
        Tabs()->setCurrentIndex(1);
        QVERIFY(group->state().invisible);
    }

    // The controls with no caption label: CAL and CLEAR are on two tabs each, so their
    // description names the tab; the pictures say what they show.
    // clang-format off
    void namesAndDescriptionsTellControlsApart_data() {
        QTest::addColumn<QAccessible::Role>("role");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("description");
        QTest::newRow("Command1") << QAccessible::Button << "CAL"
                                  << "Calc tab: designs";
        QTest::newRow("Command2") << QAccessible::Button << "CLEAR"
                                  << "Calc tab: clears";
        QTest::newRow("Command3") << QAccessible::Button << "CAL"
                                  << "Check tab: computes";
        QTest::newRow("Command4") << QAccessible::Button << "CLEAR"
                                  << "Check tab: clears";
        QTest::newRow("Picture1") << QAccessible::Graphic << "Schematic"
                                  << "DC/DC converter";
        QTest::newRow("Picture2") << QAccessible::Graphic << "Preferred values"
                                  << "Table";
    }
    // clang-format on

    void namesAndDescriptionsTellControlsApart() {
        QFETCH(QAccessible::Role, role);
        QFETCH(QString, name);
        QFETCH(QString, description);
        QAccessibleInterface* iface = Iface(C(QTest::currentDataTag()));
        QCOMPARE(iface->role(), role);
        QCOMPARE(iface->text(QAccessible::Name), name);
        QVERIFY2(iface->text(QAccessible::Description).startsWith(description),
                 qPrintable(iface->text(QAccessible::Description)));
    }

    // clang-format off
    void resultsSelectByMouseWithoutTakingFocus_data() {
        QTest::addColumn<QString>("value");
        QTest::newRow("Label2(0)") << "10234";
        QTest::newRow("Label2(2)") << "-12";
        QTest::newRow("Label3(0)") << "12.5";
        QTest::newRow("Label3(3)") << "0.1";
    }
    // clang-format on

    void resultsSelectByMouseWithoutTakingFocus() {
        QFETCH(QString, value);
        auto* result = C<QLabel>(QTest::currentDataTag());
        QCOMPARE(result->textInteractionFlags(), Qt::TextSelectableByMouse);
        QCOMPARE(result->focusPolicy(), Qt::NoFocus);
        Front(result);
        result->setText(value);
        QWidget* before = QApplication::focusWidget();
        // A drag across the box selects the whole value, ready to copy.
        const QRect box = result->contentsRect();
        const int y = box.center().y();
        QTest::mousePress(result, Qt::LeftButton, {}, QPoint(box.left() + 1, y));
        QTest::mouseMove(result, QPoint(box.right() - 1, y));
        QTest::mouseRelease(result, Qt::LeftButton, {}, QPoint(box.right() - 1, y));
        QCOMPARE(result->selectedText(), value);
        QCOMPARE(Iface(result)->textInterface()->selectionCount(), 1);
        QCOMPARE(QApplication::focusWidget(), before);
    }

    // From the tab strip, whose arrow keys bring a tab to the front, Tab walks the tab's
    // controls in focus order back to the strip. The diode pair is one stop, entered at "Yes".
    // clang-format off
    void tabKeyReachesEveryStopInFocusOrder_data() {
        QTest::addColumn<QString>("diode");
        QTest::addColumn<QStringList>("order");
        const QStringList calc{"Command2", "Command1", "Text1(3)",  "Text1(2)",
                               "Text1(0)", "Text1(1)", "Option1(0)"};
        const QStringList check{"Text2(1)", "Text2(0)", "Text2(2)",
                                "Text2(3)", "Command3", "Command4"};
        QTest::newRow("Calc without diode") << "Option1(1)" << calc;
        QTest::newRow("Calc with diode") << "Option1(0)" << calc + QStringList{"Text1(4)"};
        QTest::newRow("Check without diode") << "Option2(1)" << check + QStringList{"Option2(0)"};
        QTest::newRow("Check with diode")
            << "Option2(0)" << check + QStringList{"Text2(4)", "Option2(0)"};
    }
    // clang-format on

    void tabKeyReachesEveryStopInFocusOrder() {
        QFETCH(QString, diode);
        QFETCH(QStringList, order);
        C<QRadioButton>(diode)->setChecked(true);
        const int tab = Tabs()->indexOf(C(diode)->parentWidget());
        Tabs()->tabBar()->setFocus(Qt::OtherFocusReason);
        while (Tabs()->currentIndex() != tab) {
            const int was = Tabs()->currentIndex();
            QTest::keyClick(Tabs()->tabBar(), tab < was ? Qt::Key_Left : Qt::Key_Right);
            QVERIFY(Tabs()->currentIndex() != was);
        }
        QStringList visited;
        for (qsizetype i = 0; i <= order.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << FocusName();
        }
        QCOMPARE(visited, order + QStringList{"SSTab1"});
    }

    // The arrow keys move focus and choice between the tab's two buttons, never over to the
    // other tab's hidden pair that stands at the same place: Left and Up to "Yes", Right and
    // Down to "No". The choice moves along only when the button left behind was chosen.
    // clang-format off
    void arrowKeysMoveTheDiodeChoiceWithinItsTab_data() {
        QTest::addColumn<QString>("no");
        QTest::addColumn<int>("toNo");
        QTest::addColumn<int>("toYes");
        QTest::newRow("Option1(0) Right Left") << "Option1(1)" << int(Qt::Key_Right) << int(Qt::Key_Left);
        QTest::newRow("Option1(0) Down Up") << "Option1(1)" << int(Qt::Key_Down) << int(Qt::Key_Up);
        QTest::newRow("Option2(0) Right Left") << "Option2(1)" << int(Qt::Key_Right) << int(Qt::Key_Left);
        QTest::newRow("Option2(0) Down Up") << "Option2(1)" << int(Qt::Key_Down) << int(Qt::Key_Up);
    }
    // clang-format on

    void arrowKeysMoveTheDiodeChoiceWithinItsTab() {
        QFETCH(QString, no);
        QFETCH(int, toNo);
        QFETCH(int, toYes);
        const QString yes = QString(QTest::currentDataTag()).section(' ', 0, 0);
        // A choice on the other tab leaves this tab's pair unchosen.
        C<QRadioButton>(yes.startsWith("Option1") ? "Option2(1)" : "Option1(1)")->setChecked(true);
        Front(C(yes));
        C(yes)->setFocus(Qt::TabFocusReason);
        // Unchosen, the focus moves alone; toward the side it stands on, nothing moves.
        QTest::keyClick(C(yes), Qt::Key(toYes));
        QCOMPARE(FocusName(), yes);
        QTest::keyClick(C(yes), Qt::Key(toNo));
        QCOMPARE(FocusName(), no);
        QVERIFY(!C<QRadioButton>(no)->isChecked());
        QTest::keyClick(C(no), Qt::Key(toYes));
        QCOMPARE(FocusName(), yes);
        QVERIFY(!C<QRadioButton>(yes)->isChecked());
        // Chosen, the choice moves with the focus.
        QTest::keyClick(C(yes), Qt::Key_Space);
        QTest::keyClick(C(yes), Qt::Key(toNo));
        QCOMPARE(FocusName(), no);
        QVERIFY(C<QRadioButton>(no)->isChecked());
        QTest::keyClick(C(no), Qt::Key(toYes));
        QCOMPARE(FocusName(), yes);
        QVERIFY(C<QRadioButton>(yes)->isChecked());
    }

    void messageBoxAnnouncesItsPrompt() {
        Orvalen real; // with the window's own box
        real.show();
        QVERIFY(QTest::qWaitForWindowExposed(&real));
        QAccessible::Role role = QAccessible::NoRole;
        QString name;
        QString description;
        QStringList texts;
        ExpectModal([&](QWidget* box) {
            QAccessibleInterface* iface = Iface(box);
            role = iface->role();
            name = iface->text(QAccessible::Name);
            description = iface->text(QAccessible::Description);
            for (QAccessibleInterface* child : Children(iface)) {
                texts << child->text(QAccessible::Name);
            }
        });
        real.findChild<QPushButton*>("Command1")->click(); // no diode chosen yet
        QCOMPARE(role, QAccessible::AlertMessage);
        QCOMPARE(name, QStringLiteral("Orvalex_KEP"));
        QCOMPARE(description, window_test::SelectDiode);
        QVERIFY(texts.contains(window_test::SelectDiode));
    }
};

QTEST_MAIN(WindowAccessibilityTest)
#include "window_accessibility_test.moc"
