#include "livecheck/DxpeditionList.h"

#include "net/TIdHTTP.h"
#include "net/TIdSSLIOHandlerSocketOpenSSL.h"
#include "text/TextDecoding.h"

#include <QBuffer>

namespace {

// Blanks and control characters, as a grid cell may hold them around a
// callsign: "  VP8/G4ABC \t" -> "VP8/G4ABC".
QString trimBlanksAndControls(const QString& cell)
{
    qsizetype begin = 0;
    qsizetype end = cell.size();
    while (begin < end && cell[begin].unicode() <= 0x20)
        ++begin;
    while (end > begin && cell[end - 1].unicode() <= 0x20)
        --end;
    return cell.mid(begin, end - begin);
}

} // namespace

void DxpeditionList::ricevilistadolv(const QString& url)
{
    StringListDolv.clear();
    FinalstringListDolv.clear();
    StringListShort.clear();
    try {
        DownloadAndReadFileDolv(url, StringListDolv, m_connectTimeoutMs, m_requestTimeoutMs);
    } catch (...) {
        // No list this month: the calendar list and the user's own
        // callsigns still work, and nobody needs to be told.
        StringListDolv.clear();
    }
    FinalstringListDolv = StringListDolv;
    m_indexedCount = -1;
}

void DxpeditionList::DownloadAndReadFileDolv(const QString& url, QStringList& list,
                                             int connectTimeoutMs, int requestTimeoutMs)
{
    TIdHTTP http;
    TIdSSLIOHandlerSocketOpenSSL tls;
    tls.SSLOptions().setMethod(TIdSSLVersion::sslvTLSv1_2);
    http.setIOHandler(&tls);
    http.setConnectTimeoutMs(connectTimeoutMs);
    http.setRequestTimeoutMs(requestTimeoutMs);
    // A real list is a few KB; anything past 4 MiB is not a list, and
    // failing here leaves the list empty like any failed download.
    http.setMaxBodyBytes(4 * 1024 * 1024);

    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    http.Get(url, buffer);
    buffer.seek(0);
    list = linesOfListFile(buffer.readAll());
}

void DxpeditionList::leggoshorteaggiungoadolv(const QStringList& gridCells)
{
    for (const QString& cell : gridCells) {
        const QString callsign = trimBlanksAndControls(cell);
        if (!callsign.isEmpty())
            StringListShort.append(callsign);
    }
    FinalstringListDolv.append(StringListShort);
    m_indexedCount = -1;
}

const CallsignIndex& DxpeditionList::checkIndex() const
{
    if (m_indexedCount != FinalstringListDolv.size()) {
        m_index.rebuild(FinalstringListDolv);
        m_indexedCount = FinalstringListDolv.size();
    }
    return m_index;
}

QStringList DxpeditionList::linesOfListFile(const QByteArray& bytes)
{
    // "3Y0K\r\nTX5S\nE51D\r9N7AA" -> 3Y0K, TX5S, E51D, 9N7AA
    const QString text = TextDecoding::decodeFile(bytes);
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines.append(text.mid(start, i - start));
        if (c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    // A break at the very end closes the last line; it opens no new one.
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

void DxpeditionList::setTimeouts(int connectTimeoutMs, int requestTimeoutMs)
{
    m_connectTimeoutMs = connectTimeoutMs;
    m_requestTimeoutMs = requestTimeoutMs;
}
