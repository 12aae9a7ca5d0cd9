#pragma once

#include <QByteArray>
#include <QList>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// What every fuzz target shares: the input as bytes, its parts, and the invariant check that
// stops the run (libFuzzer then keeps the input as a crash file).
namespace tv::fuzz {

inline QByteArray bytesOf(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// The input cut at its first `count - 1` NUL bytes: always `count` parts, the last ones empty
// when the input has fewer NULs.
inline QList<QByteArray> parts(const QByteArray& input, int count)
{
    QList<QByteArray> out;
    qsizetype start = 0;
    for (int i = 0; i < count - 1; ++i) {
        const qsizetype nul = input.indexOf('\0', start);
        if (nul < 0) {
            out << input.mid(start);
            start = input.size();
            continue;
        }
        out << input.mid(start, nul - start);
        start = nul + 1;
    }
    out << input.mid(start);
    return out;
}

[[noreturn]] inline void fail(const char* condition, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, condition);
    std::abort();
}

} // namespace tv::fuzz

#define FUZZ_CHECK(condition)                                                                                          \
    do {                                                                                                               \
        if (!(condition))                                                                                              \
            ::tv::fuzz::fail(#condition, __FILE__, __LINE__);                                                          \
    } while (false)
