// The settings files: after any file, any written value reads back as it
// was written (line breaks turned to blanks, ends trimmed, as the reader
// trims), every other key keeps its value, the bytes outside the changed
// line stay as they were, and writing the same value again changes nothing.

#include "FuzzSupport.h"

#include "settings/IniDocument.h"

namespace {

struct Target
{
    const char* section;
    const char* key;
};

// The program's own keys, in other cases too, as a user may type them.
const Target kTargets[] = {
    {"Node", "Elemento"}, {"Theme", "SelectedTheme"}, {"Font", "FontName"},
    {"font", "FONTSIZE"}, {"Hosts", "Probe"},         {"Rig1", "Port"},
};

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    const Target target = kTargets[in.byte() % std::size(kTargets)];
    const QString value = QString::fromUtf8(in.bytes(in.byte() % 64));
    const IniDocument before(in.rest());
    const QString section = QString::fromLatin1(target.section);
    const QString key = QString::fromLatin1(target.key);

    const IniDocument after(before.withValue(section, key, value));
    QString expected = value;
    expected.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    FUZZ_CHECK(after.value(section, key) == expected.trimmed());

    for (const IniDocument::Key& other : before.keys()) {
        if (sameName(other.section, section) && sameName(other.key, key))
            continue;
        FUZZ_CHECK(after.value(other.section, other.key) == before.value(other.section, other.key));
    }

    // Unless the file had to be written anew with a mark, only one line's bytes
    // changed: what lies between the common start and the common end holds
    // no line end (byte encodings; in UTF-16 a CR byte can be half a letter).
    const bool byteEncoding = before.encoding() != IniDocument::Encoding::Utf16Le &&
                              before.encoding() != IniDocument::Encoding::Utf16Be;
    const bool rewritten = (after.encoding() == IniDocument::Encoding::Utf8Bom &&
                            before.encoding() != IniDocument::Encoding::Utf8Bom) ||
                           (after.encoding() == IniDocument::Encoding::Utf16Le &&
                            before.encoding() != IniDocument::Encoding::Utf16Le);
    // Only an ANSI file, or a UTF-16 file with an odd byte at its end, may
    // need that.
    FUZZ_CHECK(!rewritten || before.encoding() == IniDocument::Encoding::Windows1252 ||
               !byteEncoding);
    if (!rewritten && byteEncoding) {
        const QByteArray& a = before.bytes();
        const QByteArray& b = after.bytes();
        qsizetype prefix = 0;
        while (prefix < a.size() && prefix < b.size() && a[prefix] == b[prefix])
            ++prefix;
        qsizetype suffix = 0;
        while (suffix < a.size() - prefix && suffix < b.size() - prefix &&
               a[a.size() - 1 - suffix] == b[b.size() - 1 - suffix])
            ++suffix;
        for (qsizetype i = prefix; i < a.size() - suffix; ++i)
            FUZZ_CHECK(!isLineEnd(a[i]));
    }

    FUZZ_CHECK(after.withValue(section, key, value) == after.bytes());
    return 0;
}
