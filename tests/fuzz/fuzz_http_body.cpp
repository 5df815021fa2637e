// HTTP body decoding: any body under any Content-Type becomes text without
// failing; the charset is named in lower case, a single-byte charset gives
// one character per byte, and an unknown one reads byte for byte.

#include "FuzzSupport.h"

#include "net/HttpBodyDecoding.h"

namespace {

const char* const kContentTypes[] = {
    "text/plain",
    "text/html",
    "application/xhtml+xml",
    "text/xml",
    "application/rss+xml",
    "application/json",
    "",
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    const quint8 choice = in.byte();
    // Either one of the usual types or a header of the fuzzer's making.
    QString contentType;
    if (choice < 200)
        contentType = QString::fromLatin1(kContentTypes[choice % std::size(kContentTypes)]);
    else
        contentType = QString::fromLatin1(in.bytes(in.byte() % 80));
    const QByteArray body = in.rest();

    const QString charset = HttpBodyDecoding::charsetFor(contentType, body);
    FUZZ_CHECK(charset == charset.toLower());
    const QString text = HttpBodyDecoding::decodeBody(body, contentType);
    FUZZ_CHECK(text == HttpBodyDecoding::decode(body, charset));

    for (const char* single : {"iso-8859-1", "us-ascii", "windows-1252", "x-unknown", ""})
        FUZZ_CHECK(HttpBodyDecoding::decode(body, QString::fromLatin1(single)).size() == body.size());
    FUZZ_CHECK(HttpBodyDecoding::decode(body, QStringLiteral("x-unknown")) == QString::fromLatin1(body));
    return 0;
}
