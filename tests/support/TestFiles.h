#pragma once

#include <QByteArray>
#include <QString>

// Writes the bytes to the file, replacing what it held. A file that cannot
// be written fails the running test (and gives false), so a test never goes
// on from a fixture that is not there.
bool writeFile(const QString& path, const QByteArray& bytes);

// The whole file; empty when it cannot be read.
QByteArray readFile(const QString& path);
