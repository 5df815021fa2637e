#include "TestFiles.h"

#include <QFile>
#include <QTest>

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    const bool written = f.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                         f.write(bytes) == bytes.size() && f.flush();
    if (!written)
        QTest::qFail(qPrintable(QStringLiteral("cannot write %1").arg(path)), __FILE__, __LINE__);
    return written;
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
