#include "FakeClusterNode.h"
#include "MainWindowFixture.h"
#include "TestContext.h"

#include "app/LampShape.h"
#include "app/Tform1.h"
#include "session/LineOffsets.h"
#include "session/TerminalPane.h"
#include "session/TerminalPaneTextEvents.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QtTest>

#include <memory>

namespace {

QAccessibleTextInterface* textOf(QObject* o)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(o);
    return iface ? iface->textInterface() : nullptr;
}

// What a screen reader would be told about the panes, recorded instead of
// going to the platform's bridge.
struct TextEvent
{
    QAccessible::Event type;
    int position;
    QString text;
};

QList<TextEvent>& recorded()
{
    static QList<TextEvent> events;
    return events;
}

void record(QAccessibleEvent* e)
{
    if (e->type() == QAccessible::TextInserted) {
        auto* insert = static_cast<QAccessibleTextInsertEvent*>(e);
        recorded().append({e->type(), insert->changePosition(), insert->textInserted()});
    } else if (e->type() == QAccessible::TextRemoved) {
        auto* remove = static_cast<QAccessibleTextRemoveEvent*>(e);
        recorded().append({e->type(), remove->changePosition(), remove->textRemoved()});
    } else if (e->type() == QAccessible::TextCaretMoved) {
        auto* caret = static_cast<QAccessibleTextCursorEvent*>(e);
        recorded().append({e->type(), caret->cursorPosition(), {}});
    }
}

// A pane of its own, sized like the terminal pane, with a few lines.
struct PaneFixture
{
    TerminalPane pane;
    explicit PaneFixture(const QStringList& lines)
    {
        pane.resize(400, 120);
        for (const QString& l : lines)
            pane.appendEntry(l);
        pane.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pane));
    }
    QAccessibleTextInterface* text() { return textOf(&pane); }
};

const QStringList kThreeLines = {QStringLiteral("DX de Q1AAA:     14025.0  Q9ZZZ        CW 599"),
                                 QString(),
                                 QString::fromUtf8("To ALL de I2ABC: caff\u00e8 \U0001F600 QRV")};

QString accessibleName(QObject* o)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(o);
    return iface ? iface->text(QAccessible::Name) : QStringLiteral("<no interface>");
}

} // namespace

class TestAccess : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void bothPanesReadThroughAccessibility();
    void textAtOffset_data();
    void textAtOffset();
    void caretAndSelection();
    void offsetsFollowLinesTakenFromTheFront();
    void appendedLinesAnnouncedTogether();
    void lampsSayTheirState();
    void everyLampAndPictureButtonIsNamed();
};

void TestAccess::cleanup()
{
    TerminalPaneTextEvents::setSink({});
    recorded().clear();
}

void TestAccess::bothPanesReadThroughAccessibility()
{
    FakeClusterNode node;
    MainWindowFixture w;
    Tform1& form = *w.form;
    QVERIFY(w.connectTo(node));
    QByteArray burst;
    for (int i = 0; i < 60; ++i)
        burst += "To ALL de EA8ABC: line " + QByteArray::number(i) + "\r\n";
    burst += "To ALL de I2ABC: caff\xC3\xA8 \xF0\x9F\x98\x80 QRV\r\n";
    node.send(burst);
    const QString last = QString::fromUtf8("To ALL de I2ABC: caff\u00e8 \U0001F600 QRV");
    QTRY_COMPARE(form.Re1->line(form.Re1->lineCount() - 1), last);

    QAccessibleInterface* re1 = QAccessible::queryAccessibleInterface(form.Re1);
    QVERIFY(re1);
    QCOMPARE(re1->role(), QAccessible::EditableText);
    QVERIFY(re1->state().readOnly);
    QCOMPARE(re1->text(QAccessible::Name), QString("Terminal"));
    QAccessibleTextInterface* t1 = re1->textInterface();
    QVERIFY(t1);
    const QString whole = t1->text(0, t1->characterCount());
    QVERIFY(whole.startsWith("Press 'Connect'\nTrying Connection...if fail try another node or "
                             "RESTART APP\nTo ALL de EA8ABC: line 0\n"));
    QVERIFY(whole.endsWith("line 59\n" + last));
    // The smiley is two UTF-16 code units.
    QCOMPARE(t1->characterCount(), whole.size());
    QCOMPARE(whole.count('\n'), form.Re1->lineCount() - 1);

    // A line by an offset inside it.
    const int lineStart = int(whole.indexOf("To ALL de EA8ABC: line 7\n"));
    int start = -1;
    int end = -1;
    QCOMPARE(t1->textAtOffset(lineStart + 5, QAccessible::LineBoundary, &start, &end),
             QString("To ALL de EA8ABC: line 7"));
    QCOMPARE(start, lineStart);
    QCOMPARE(end, lineStart + 24);

    // The last line is in view, and so is each of its characters.
    const int qrv = int(whole.size()) - 3;
    const QRect rect = t1->characterRect(qrv);
    const QRect viewport(form.Re1->viewport()->mapToGlobal(QPoint(0, 0)),
                         form.Re1->viewport()->size());
    QVERIFY2(viewport.contains(rect), qPrintable(QString("%1,%2 %3x%4")
                                                     .arg(rect.x())
                                                     .arg(rect.y())
                                                     .arg(rect.width())
                                                     .arg(rect.height())));
    QCOMPARE(t1->offsetAtPoint(rect.center()), qrv);
    QCOMPARE(t1->offsetAtPoint(viewport.bottomRight() + QPoint(5, 5)), -1);

    QAccessibleInterface* re3 = QAccessible::queryAccessibleInterface(form.Re3);
    QVERIFY(re3);
    QCOMPARE(re3->text(QAccessible::Name), QString("DX spots"));
    QAccessibleTextInterface* t3 = re3->textInterface();
    QCOMPARE(t3->text(0, t3->characterCount()),
             QString("Press CONNECT BUTTON, then WRITE your CALL SIGN and press ENTER\n"
                     "Remember also that you must SET ACTIVE LIVE CHECK option"));
    QCOMPARE(t3->textAtOffset(70, QAccessible::LineBoundary, &start, &end),
             QString("Remember also that you must SET ACTIVE LIVE CHECK option"));
    const QRect r3 = t3->characterRect(70);
    QVERIFY(QRect(form.Re3->viewport()->mapToGlobal(QPoint(0, 0)), form.Re3->viewport()->size())
                .contains(r3));
}

void TestAccess::textAtOffset_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<QAccessible::TextBoundaryType>("boundary");
    QTest::addColumn<QString>("at");
    QTest::addColumn<int>("start");
    QTest::addColumn<QString>("before"); // "-" when not checked
    QTest::addColumn<QString>("after");

    // 45 units, the line end at 45, the empty line at 46 with its line end,
    // and the third line from 47.
    const QString l0 = kThreeLines[0];
    const QString l2 = kThreeLines[2];
    const int third = 47;
    const int smiley = third + int(l2.indexOf(QChar(0xD83D)));
    QTest::newRow("line, first") << 3 << QAccessible::LineBoundary << l0 << 0 << ""
                                 << "";
    QTest::newRow("line, on its line end") << 45 << QAccessible::LineBoundary << l0 << 0 << ""
                                           << "";
    QTest::newRow("line, empty") << 46 << QAccessible::LineBoundary << "" << 46 << l0 << l2;
    QTest::newRow("line, last, at the very end")
        << int(third + l2.size()) << QAccessible::LineBoundary << l2 << third << "-"
        << "";
    QTest::newRow("word") << 28 << QAccessible::WordBoundary << "Q9ZZZ" << 26 << "  "
                          << "        ";
    QTest::newRow("character, pair of code units")
        << smiley + 1 << QAccessible::CharBoundary << QString::fromUtf8("\U0001F600") << smiley
        << " "
        << " ";
    QTest::newRow("character, line end") << 45 << QAccessible::CharBoundary << "\n"
                                         << 45 << "9"
                                         << "\n";
    QTest::newRow("whole text") << 10 << QAccessible::NoBoundary << kThreeLines.join('\n') << 0
                                << "-"
                                << "-";
}

void TestAccess::textAtOffset()
{
    QFETCH(int, offset);
    QFETCH(QAccessible::TextBoundaryType, boundary);
    QFETCH(QString, at);
    QFETCH(int, start);
    QFETCH(QString, before);
    QFETCH(QString, after);
    PaneFixture f(kThreeLines);
    QAccessibleTextInterface* t = f.text();
    int s = -1;
    int e = -1;
    QCOMPARE(t->textAtOffset(offset, boundary, &s, &e), at);
    QCOMPARE(s, start);
    QCOMPARE(e, start + at.size());
    QCOMPARE(t->text(s, e), at);
    if (before != "-")
        QCOMPARE(t->textBeforeOffset(offset, boundary, &s, &e), before);
    if (after != "-")
        QCOMPARE(t->textAfterOffset(offset, boundary, &s, &e), after);
}

void TestAccess::caretAndSelection()
{
    PaneFixture f(kThreeLines);
    TerminalPaneTextEvents::setSink(&record);
    QAccessibleTextInterface* t = f.text();
    QCOMPARE(t->selectionCount(), 0);

    // A drag with the mouse over "Q9ZZZ" of the first line.
    const QRect q = t->characterRect(26);
    const QRect z = t->characterRect(30);
    const QPoint from = f.pane.viewport()->mapFromGlobal(q.topLeft()) + QPoint(1, q.height() / 2);
    const QPoint to = f.pane.viewport()->mapFromGlobal(z.topRight()) + QPoint(0, z.height() / 2);
    QTest::mousePress(f.pane.viewport(), Qt::LeftButton, {}, from);
    QTest::mouseMove(f.pane.viewport(), to);
    QTest::mouseRelease(f.pane.viewport(), Qt::LeftButton, {}, to);
    QCOMPARE(f.pane.selectedText(), QString("Q9ZZZ"));
    QCOMPARE(t->selectionCount(), 1);
    int s = -1;
    int e = -1;
    t->selection(0, &s, &e);
    QCOMPARE(s, 26);
    QCOMPARE(e, 31);
    QCOMPARE(t->cursorPosition(), 31);
    QVERIFY(!recorded().isEmpty());
    QCOMPARE(recorded().last().position, 31);

    // A screen reader moves the caret and selects.
    t->setSelection(0, 47, 53);
    QCOMPARE(f.pane.selectedText(), QString("To ALL"));
    t->setCursorPosition(46);
    QCOMPARE(t->selectionCount(), 0);
    QCOMPARE(f.pane.selectionStartLine(), 1);
    QCOMPARE(t->cursorPosition(), 46);
}

void TestAccess::offsetsFollowLinesTakenFromTheFront()
{
    LineOffsets o;
    for (int len : {5, 0, 3, 7})
        o.append(len); // "aaaaa\n\nbbb\nccccccc"
    QCOMPARE(o.characterCount(), 5 + 1 + 0 + 1 + 3 + 1 + 7);
    QCOMPARE(o.positionOf(5), (LineOffsets::Position{0, 5}));
    QCOMPARE(o.positionOf(6), (LineOffsets::Position{1, 0}));
    QCOMPARE(o.positionOf(7), (LineOffsets::Position{2, 0}));
    QCOMPARE(o.positionOf(99), (LineOffsets::Position{3, 7}));
    o.removeFront(2);
    QCOMPARE(o.lineCount(), 2);
    QCOMPARE(o.characterCount(), 3 + 1 + 7);
    QCOMPARE(o.positionOf(4), (LineOffsets::Position{1, 0}));
    QCOMPARE(o.offsetOf({1, 2}), 6);
    o.append(2);
    QCOMPARE(o.lineStart(2), 12);
    o.removeFront(5);
    QCOMPARE(o.characterCount(), 0);
    QCOMPARE(o.positionOf(3), (LineOffsets::Position{0, 0}));
}

// A node sends a line every 20 ms; a screen reader hears of them at most
// twice a second, and what it hears adds up to the pane's text.
void TestAccess::appendedLinesAnnouncedTogether()
{
    PaneFixture f({QStringLiteral("Press 'Connect'")});
    QAccessibleTextInterface* t = f.text();
    TerminalPaneTextEvents::setSink(&record);
    QString expected = t->text(0, t->characterCount());
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 60; ++i) {
        f.pane.appendEntry(QStringLiteral("To ALL de EA8ABC: line %1").arg(i));
        QTest::qWait(20);
    }
    const qint64 elapsed = clock.elapsed();
    QTRY_VERIFY(!recorded().isEmpty() && recorded().last().text.endsWith("line 59"));
    QVERIFY2(recorded().size() <= elapsed / TerminalPaneTextEvents::kInsertEventIntervalMs + 2,
             qPrintable(QString::number(recorded().size())));
    QVERIFY(recorded().size() >= 2);
    for (const TextEvent& e : recorded()) {
        QCOMPARE(e.type, QAccessible::TextInserted);
        QCOMPARE(e.position, expected.size());
        expected += e.text;
    }
    QCOMPARE(expected, t->text(0, t->characterCount()));

    // Lines taken away are told with their place and length.
    recorded().clear();
    const int count = t->characterCount();
    f.pane.clear();
    QCOMPARE(recorded().size(), 2); // removal, then the caret at 0
    QCOMPARE(recorded().first().type, QAccessible::TextRemoved);
    QCOMPARE(recorded().first().position, 0);
    QCOMPARE(recorded().first().text.size(), count);
    QCOMPARE(t->characterCount(), 0);
    int s = -1;
    int e = -1;
    QCOMPARE(t->textAtOffset(0, QAccessible::LineBoundary, &s, &e), QString());
    QCOMPARE(e, 0);
}

void TestAccess::lampsSayTheirState()
{
    FakeClusterNode node;
    MainWindowFixture w;
    Tform1& form = *w.form;
    QCOMPARE(accessibleName(form.ShapeLED), QString("Session: not connected"));
    QCOMPARE(accessibleName(form.ShapeLED2), QString("Live check: not active"));
    QCOMPARE(accessibleName(form.Shape1), QString("Dx sound: on"));
    QCOMPARE(accessibleName(form.Shape2), QString("Rig control: not connected"));

    QVERIFY(w.connectTo(node));
    QTRY_COMPARE(accessibleName(form.ShapeLED), QString("Session: connected"));

    // The name follows the colour, whoever paints the lamp.
    form.Shape1->setBrushColor(QColor(255, 0, 0));
    QCOMPARE(accessibleName(form.Shape1), QString("Dx sound: muted"));
}

// Controls that show only a picture or a colour still have words for a
// screen reader: picture buttons their hint, lamps their subject and state.
void TestAccess::everyLampAndPictureButtonIsNamed()
{
    TestContext ctx;
    Tform1 form(ctx.make());
    form.show();
    const auto buttons = form.findChildren<QAbstractButton*>();
    QVERIFY(!buttons.isEmpty());
    for (QAbstractButton* b : buttons) {
        if (!b->text().isEmpty() || !b->isVisibleTo(&form))
            continue;
        QVERIFY2(!b->toolTip().isEmpty(),
                 qPrintable(b->objectName() + " in " + b->parent()->objectName() + " " +
                            b->metaObject()->className()));
        QCOMPARE(accessibleName(b), b->toolTip());
    }
    const auto lamps = form.findChildren<LampShape*>();
    QCOMPARE(lamps.size(), 4);
    for (LampShape* lamp : lamps) {
        QVERIFY2(!lamp->stateText().isEmpty(), qPrintable(lamp->objectName()));
        QCOMPARE(accessibleName(lamp), lamp->stateText());
    }
}

QTEST_MAIN(TestAccess)
#include "tst_access.moc"
