#pragma once

#include <cstdint>

#include <QByteArray>
#include <QList>

// Broken copies of a well-formed input, made the same way on every run (a
// fixed seed and a generator of its own): cut short at evenly spread points,
// and changed by flipped bits, removed, repeated and moved lines, bytes
// copied from elsewhere in the input, and inserted tokens that readers find
// hard (huge numbers, stray punctuation, byte-order marks, NUL bytes).
class InputMutations {
public:
    InputMutations(QByteArray seed, std::uint32_t state) : seed_(std::move(seed)), state_(state | 1u) {}

    // Extra tokens to insert beside the common ones.
    void addTokens(const QList<QByteArray>& tokens) { tokens_ += tokens; }

    // `cuts` prefixes of the input, then `count` changed copies.
    QList<QByteArray> make(int cuts, int count) {
        QList<QByteArray> out;
        const qsizetype n = seed_.size();
        for (int i = 0; i < cuts && n > 0; ++i) out.append(seed_.left(n * i / cuts));
        for (int i = 0; i < count; ++i) {
            QByteArray bytes = seed_;
            const int steps = 1 + int(next(4));
            for (int s = 0; s < steps; ++s) mutate(bytes);
            out.append(bytes);
        }
        return out;
    }

private:
    std::uint32_t next(std::uint32_t bound) {
        // xorshift32: the same sequence on every platform.
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return bound ? state_ % bound : 0;
    }
    qsizetype at(const QByteArray& bytes) { return bytes.isEmpty() ? 0 : qsizetype(next(std::uint32_t(bytes.size()))); }

    // The start of the line holding position `pos` and the position after its end.
    static void lineAround(const QByteArray& bytes, qsizetype pos, qsizetype& from, qsizetype& to) {
        from = pos;
        while (from > 0 && bytes[from - 1] != '\n') --from;
        to = bytes.indexOf('\n', pos);
        to = to < 0 ? bytes.size() : to + 1;
    }

    void mutate(QByteArray& bytes) {
        static const QList<QByteArray> common = {
            "99999999999999999999", "-1", "0", "2147483648", "@", "@@", "=", "|", ",", ":", "(", ")", "<", ">",
            "\"", "'", "\\", "\t", "\r", "\n", "\r\n", QByteArray("\0", 1), "\xEF\xBB\xBF", "\xFF\xFE",
            "\xC3", "\xF0\x9F\x98", "??", "&#", "$"};
        if (bytes.isEmpty()) {
            bytes = common[next(std::uint32_t(common.size()))];
            return;
        }
        qsizetype from = 0, to = 0;
        switch (next(7)) {
        case 0: {  // flip a bit
            const qsizetype pos = at(bytes);
            bytes[pos] = char(bytes[pos] ^ char(1u << next(8)));
            break;
        }
        case 1: {  // remove a run of bytes
            const qsizetype pos = at(bytes);
            bytes.remove(pos, 1 + qsizetype(next(16)));
            break;
        }
        case 2:  // remove a line
            lineAround(bytes, at(bytes), from, to);
            bytes.remove(from, to - from);
            break;
        case 3: {  // repeat a line many times
            lineAround(bytes, at(bytes), from, to);
            const QByteArray line = bytes.mid(from, to - from);
            bytes.insert(to, line.repeated(1 + int(next(40))));
            break;
        }
        case 4: {  // move a line elsewhere
            lineAround(bytes, at(bytes), from, to);
            const QByteArray line = bytes.mid(from, to - from);
            bytes.remove(from, to - from);
            qsizetype f2 = 0, t2 = 0;
            lineAround(bytes, at(bytes), f2, t2);
            bytes.insert(f2, line);
            break;
        }
        case 5: {  // copy a piece of the input over another place
            const qsizetype src = at(bytes);
            const QByteArray piece = bytes.mid(src, 1 + qsizetype(next(24)));
            bytes.replace(at(bytes), piece.size(), piece);
            break;
        }
        default: {  // insert a hard token
            const QList<QByteArray>& list = tokens_.isEmpty() || next(2) ? common : tokens_;
            bytes.insert(at(bytes), list[next(std::uint32_t(list.size()))]);
            break;
        }
        }
    }

    QByteArray seed_;
    std::uint32_t state_;
    QList<QByteArray> tokens_;
};
