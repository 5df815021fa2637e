// Text decoding never fails, whatever the bytes: a line is UTF-8 exactly
// when the bytes are valid UTF-8 (and then nothing is lost), else
// Windows-1252, which gives every byte back unchanged.

#include "FuzzSupport.h"

#include "text/TextDecoding.h"

#include <QStringDecoder>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));

    const bool valid = TextDecoding::isValidUtf8(bytes);
    // A second opinion on validity: Qt's own decoder reports malformed input.
    QStringDecoder strict(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                      QStringConverter::Flag::ConvertInitialBom);
    const QString viaQt = strict.decode(bytes);
    FUZZ_CHECK(valid == !strict.hasError());

    const QString line = TextDecoding::decodeLine(bytes);
    if (valid) {
        FUZZ_CHECK(line == viaQt);
        FUZZ_CHECK(line.toUtf8() == bytes);
    } else {
        FUZZ_CHECK(line.size() == bytes.size());
        FUZZ_CHECK(TextDecoding::toWindows1252(line) == bytes);
    }
    FUZZ_CHECK(TextDecoding::toWindows1252(TextDecoding::fromWindows1252(bytes)) == bytes);

    // Whole files: a mark decides, else the same rule as a line.
    const QString file = TextDecoding::decodeFile(bytes);
    if (!bytes.startsWith("\xEF\xBB\xBF") && !bytes.startsWith("\xFF\xFE") &&
        !bytes.startsWith("\xFE\xFF"))
        FUZZ_CHECK(file == line);
    return 0;
}
