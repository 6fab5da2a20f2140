// UTF-8 names with undecodable bytes carried as lone surrogates U+DC80..U+DCFF.
#include "NativeName.h"

#include <cstdint>

namespace Platform {

namespace {

constexpr char16_t kEscapeBase = 0xDC00;

bool IsAscii(const char* bytes, qsizetype length) {
    for (qsizetype i = 0; i < length; ++i) {
        if (static_cast<unsigned char>(bytes[i]) >= 0x80) return false;
    }
    return true;
}

// Length of the valid UTF-8 sequence at `s` (1 to 4) with its code point, or 0 when the bytes
// there are not valid UTF-8 (overlong forms, surrogates and values above U+10FFFF included).
int DecodeSequence(const unsigned char* s, qsizetype available, char32_t& codePoint) {
    const unsigned char lead = s[0];
    int length;
    char32_t minimum;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1F;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0F;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (available < length) return 0;
    for (int i = 1; i < length; ++i) {
        if ((s[i] & 0xC0) != 0x80) return 0;
        codePoint = (codePoint << 6) | (s[i] & 0x3F);
    }
    if (codePoint < minimum || codePoint > 0x10FFFF) return 0;
    if (codePoint >= 0xD800 && codePoint <= 0xDFFF) return 0;
    return length;
}

void AppendUtf8(QByteArray& out, char32_t c) {
    if (c < 0x80) {
        out.append(static_cast<char>(c));
    } else if (c < 0x800) {
        out.append(static_cast<char>(0xC0 | (c >> 6)));
        out.append(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.append(static_cast<char>(0xE0 | (c >> 12)));
        out.append(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.append(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.append(static_cast<char>(0xF0 | (c >> 18)));
        out.append(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.append(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.append(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

}  // namespace

QString FromNativeName(const char* bytes, qsizetype length) {
    if (IsAscii(bytes, length)) return QString::fromLatin1(bytes, length);

    QString result;
    result.reserve(length);
    const auto* s = reinterpret_cast<const unsigned char*>(bytes);
    qsizetype i = 0;
    while (i < length) {
        char32_t codePoint;
        const int sequence = DecodeSequence(s + i, length - i, codePoint);
        if (sequence == 0) {
            result.append(QChar(static_cast<char16_t>(kEscapeBase + s[i])));
            ++i;
            continue;
        }
        if (codePoint < 0x10000) {
            result.append(QChar(static_cast<char16_t>(codePoint)));
        } else {
            result.append(QChar(QChar::highSurrogate(codePoint)));
            result.append(QChar(QChar::lowSurrogate(codePoint)));
        }
        i += sequence;
    }
    return result;
}

QByteArray ToNativeName(const QString& name) {
    const qsizetype length = name.size();
    const char16_t* u = reinterpret_cast<const char16_t*>(name.utf16());
    bool ascii = true;
    for (qsizetype i = 0; i < length && ascii; ++i)
        ascii = u[i] < 0x80;
    if (ascii) return name.toLatin1();

    QByteArray out;
    out.reserve(length * 3);
    for (qsizetype i = 0; i < length; ++i) {
        const char16_t c = u[i];
        if (QChar::isHighSurrogate(c) && i + 1 < length && QChar::isLowSurrogate(u[i + 1])) {
            AppendUtf8(out, QChar::surrogateToUcs4(c, u[i + 1]));
            ++i;
        } else if (c >= kEscapeBase + 0x80 && c <= kEscapeBase + 0xFF) {
            out.append(static_cast<char>(c - kEscapeBase));  // an escaped raw byte
        } else if (QChar::isSurrogate(c)) {
            AppendUtf8(out, 0xFFFD);  // a stray surrogate no listed name can hold
        } else {
            AppendUtf8(out, c);
        }
    }
    return out;
}

}  // namespace Platform
