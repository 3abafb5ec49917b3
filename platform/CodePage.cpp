#include "platform/CodePage.h"

namespace {

// Bytes 0x80 to 0x9F; the undefined ones are their own C1 control.
constexpr char16_t HighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool knownCodePage(UINT codePage)
{
    return codePage == CP_ACP || codePage == CP_1252;
}

int failSize(DWORD error)
{
    SetLastError(error);
    return 0;
}

} // namespace

char16_t CodePage::toUnicode(unsigned char byte)
{
    return byte >= 0x80 && byte < 0xA0 ? HighControls[byte - 0x80] : char16_t(byte);
}

bool CodePage::fromUnicode(char16_t c, unsigned char &byte)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        byte = static_cast<unsigned char>(c);
        return true;
    }
    for (int i = 0; i < 32; ++i) {
        if (HighControls[i] == c) {
            byte = static_cast<unsigned char>(0x80 + i);
            return true;
        }
    }
    return false;
}

int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR src, int srcLen, char *dst, int dstSize,
                        const char *defaultChar, BOOL *usedDefaultChar)
{
    if (!knownCodePage(codePage) || !src || srcLen == 0 || srcLen < -1 || dstSize < 0 || (dstSize > 0 && !dst))
        return failSize(ERROR_INVALID_PARAMETER);
    if (srcLen == -1)
        srcLen = int(std::char_traits<char16_t>::length(src)) + 1;
    if (usedDefaultChar)
        *usedDefaultChar = FALSE;
    if (dstSize > 0 && dstSize < srcLen)
        return failSize(ERROR_INSUFFICIENT_BUFFER);
    const char fallback = defaultChar ? *defaultChar : '?';
    for (int i = 0; i < srcLen; ++i) {
        unsigned char byte;
        if (!CodePage::fromUnicode(src[i], byte)) {
            byte = static_cast<unsigned char>(fallback);
            if (usedDefaultChar)
                *usedDefaultChar = TRUE;
        }
        if (dstSize > 0)
            dst[i] = static_cast<char>(byte);
    }
    return srcLen;
}

int MultiByteToWideChar(UINT codePage, DWORD flags, const char *src, int srcLen, LPWSTR dst, int dstSize)
{
    if (!knownCodePage(codePage) || !src || srcLen == 0 || srcLen < -1 || dstSize < 0 || (dstSize > 0 && !dst))
        return failSize(ERROR_INVALID_PARAMETER);
    if (srcLen == -1)
        srcLen = int(std::char_traits<char>::length(src)) + 1;
    if (dstSize == 0)
        return srcLen;
    if (dstSize < srcLen)
        return failSize(ERROR_INSUFFICIENT_BUFFER);
    for (int i = 0; i < srcLen; ++i)
        dst[i] = CodePage::toUnicode(static_cast<unsigned char>(src[i]));
    return srcLen;
}

QByteArray CodePage::toAnsi(const QString &text)
{
    if (text.isEmpty())
        return QByteArray();
    QByteArray bytes(text.size(), Qt::Uninitialized);
    WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<LPCWSTR>(text.utf16()), int(text.size()), bytes.data(),
                        int(bytes.size()), nullptr, nullptr);
    return bytes;
}

QString CodePage::fromAnsi(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return QString();
    QString text(bytes.size(), Qt::Uninitialized);
    MultiByteToWideChar(CP_ACP, 0, bytes.constData(), int(bytes.size()), reinterpret_cast<LPWSTR>(text.data()),
                        int(text.size()));
    return text;
}
