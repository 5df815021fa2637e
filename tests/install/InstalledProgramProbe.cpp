// Loaded with LD_PRELOAD into the installed marvix-terminal by the package
// check (scripts/check-package.sh). The program under test is the installed
// executable with its own main(): this only reads its window as a screen
// reader would (through the accessibility interface of the node grid),
// clicks a node like a user, writes what it saw to $MARVIX_PROBE_OUT and
// ends the program.
//
// Output lines:
//   grid NAME;ADDRESS;PORT      one per grid row, heading row first
//   chose NAME                  the node it clicked
//   message TEXT                a message box the program showed
//   timeout                     the node grid never filled
#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleTableInterface>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

namespace {

QFile* g_out = nullptr;

void say(const QString& line)
{
    g_out->write(line.toUtf8() + '\n');
    g_out->flush();
}

QAbstractItemView* findGrid()
{
    for (QWidget* w : QApplication::allWidgets()) {
        if (w->objectName() == QLatin1String("StringGrid1") && w->isVisible())
            return qobject_cast<QAbstractItemView*>(w);
    }
    return nullptr;
}

QString cellText(QAccessibleTableInterface* table, int row, int column)
{
    QAccessibleInterface* cell = table->cellAt(row, column);
    return cell ? cell->text(QAccessible::Name) : QString();
}

void reportMessageBoxes()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
            say(QStringLiteral("message ") + box->text());
            box->accept();
        }
    }
}

void finish(int code)
{
    g_out->close();
    QCoreApplication::exit(code);
}

void look(int triesLeft)
{
    reportMessageBoxes();
    QAbstractItemView* grid = findGrid();
    QAccessibleInterface* iface = grid ? QAccessible::queryAccessibleInterface(grid) : nullptr;
    QAccessibleTableInterface* table = iface ? iface->tableInterface() : nullptr;
    if (!table || table->rowCount() < 2) {
        if (triesLeft == 0) {
            say(QStringLiteral("timeout"));
            finish(3);
            return;
        }
        QTimer::singleShot(100, qApp, [triesLeft] { look(triesLeft - 1); });
        return;
    }
    for (int row = 0; row < table->rowCount(); ++row)
        say(QStringLiteral("grid %1;%2;%3")
                .arg(cellText(table, row, 0), cellText(table, row, 1), cellText(table, row, 2)));

    // Choose the last node with a click on its name, as a user would.
    const int row = table->rowCount() - 1;
    const QModelIndex index = grid->model()->index(row, 0);
    grid->scrollTo(index);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(index).center());
    say(QStringLiteral("chose ") + cellText(table, row, 0));
    // The node is saved as it is chosen; a refused write shows a box.
    QTimer::singleShot(500, qApp, [] {
        reportMessageBoxes();
        finish(0);
    });
}

void startProbe()
{
    const QString path = qEnvironmentVariable("MARVIX_PROBE_OUT");
    if (path.isEmpty())
        return;
    // The browser's helper processes inherit LD_PRELOAD and are Qt programs
    // too; only the program itself is probed (a helper started after the
    // probe wrote would empty its file).
    if (QFileInfo(QCoreApplication::applicationFilePath()).fileName() !=
        QLatin1String("marvix-terminal"))
        return;
    g_out = new QFile(path);
    if (!g_out->open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("probe: cannot write %s", qPrintable(path));
    // Posted now, run once the program's event loop runs (its window is
    // built and shown by then).
    QMetaObject::invokeMethod(
        qApp, [] { look(600); }, Qt::QueuedConnection);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(startProbe)
