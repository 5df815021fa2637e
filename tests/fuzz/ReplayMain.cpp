// Without libFuzzer (the gcc builds of ./dev test and ./dev sanitize), a
// fuzz target replays the files of its corpus folders, so every saved input
// and every crash turned into a seed runs with the unit tests.

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv)
{
    int files = 0;
    for (int i = 1; i < argc; ++i) {
        const QFileInfo info(QString::fromLocal8Bit(argv[i]));
        QStringList paths;
        if (info.isDir()) {
            const QDir dir(info.filePath());
            for (const QString& name : dir.entryList(QDir::Files, QDir::Name))
                paths << dir.filePath(name);
        } else {
            paths << info.filePath();
        }
        for (const QString& path : paths) {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
                return 1;
            }
            const QByteArray bytes = file.readAll();
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                   size_t(bytes.size()));
            ++files;
        }
    }
    std::printf("%d inputs replayed\n", files);
    return files > 0 ? 0 : 1;
}
