#pragma once

// Shared by the fuzz targets: a check that stops the run with a message
// (libFuzzer then keeps the input as a crash), and a reader that takes
// small decisions and pieces out of the fuzzer's bytes.

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

class FuzzInput
{
public:
    FuzzInput(const uint8_t* data, size_t size)
        : m_data(reinterpret_cast<const char*>(data)), m_size(qsizetype(size))
    {
    }

    bool atEnd() const { return m_pos >= m_size; }
    qsizetype remaining() const { return m_size - m_pos; }

    // One byte, 0 when the input is used up.
    quint8 byte() { return atEnd() ? 0 : quint8(m_data[m_pos++]); }

    // Up to n bytes.
    QByteArray bytes(qsizetype n)
    {
        n = qMin(n, remaining());
        const QByteArray out(m_data + m_pos, n);
        m_pos += n;
        return out;
    }

    QByteArray rest() { return bytes(remaining()); }

    // Text as a node or a user could hand it over: UTF-8 decoding of the
    // bytes, or (when raw is set) the bytes taken as UTF-16 code units, which
    // may hold lone surrogates.
    static QString text(const QByteArray& bytes, bool raw)
    {
        if (!raw)
            return QString::fromUtf8(bytes);
        return QString(reinterpret_cast<const QChar*>(bytes.constData()), bytes.size() / 2);
    }

private:
    const char* m_data;
    qsizetype m_size;
    qsizetype m_pos = 0;
};

// The ways the same bytes may be cut into reads: whole, one byte at a time,
// and pieces of sizes taken from the seed.
template <typename Feed>
void forEachChunking(const QByteArray& bytes, quint8 seed, Feed feed)
{
    for (int way = 0; way < 3; ++way) {
        QList<QByteArray> chunks;
        if (way == 0) {
            chunks << bytes;
        } else {
            quint32 state = seed * 2654435761u + 1;
            for (qsizetype at = 0; at < bytes.size();) {
                qsizetype size = 1;
                if (way == 2) {
                    state = state * 1103515245u + 12345u;
                    size = 1 + qsizetype((state >> 16) % 97);
                }
                chunks << bytes.mid(at, size);
                at += size;
            }
        }
        feed(way, chunks);
    }
}
