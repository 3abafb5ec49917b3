// The device's ANSI code page, 1252, and the platform's conversion calls.
//
// Every byte maps to a character: the five bytes 1252 leaves undefined (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same number and back.
// A character without a byte becomes the default character ("?" unless the
// caller gives one); there is no best-fit mapping.
#pragma once

#include "platform/Types.h"

#include <QByteArray>
#include <QString>

constexpr UINT CP_ACP = 0;
constexpr UINT CP_1252 = 1252;

// Lengths count characters (wide) or bytes (multibyte). srcLen -1: src is
// zero-terminated and the terminator is converted and counted. dstSize 0:
// nothing is written and the required size is returned. Returns the size
// written, or 0 with GetLastError ERROR_INSUFFICIENT_BUFFER (dst too small) or
// ERROR_INVALID_PARAMETER (unknown code page, bad arguments).
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR src, int srcLen, char *dst, int dstSize,
                        const char *defaultChar, BOOL *usedDefaultChar);
int MultiByteToWideChar(UINT codePage, DWORD flags, const char *src, int srcLen, LPWSTR dst, int dstSize);

class CodePage
{
public:
    static char16_t toUnicode(unsigned char byte);
    // False when c has no byte in the code page.
    static bool fromUnicode(char16_t c, unsigned char &byte);

    // Whole-string conversions through the calls above; unmappable characters become "?".
    static QByteArray toAnsi(const QString &text);
    static QString fromAnsi(const QByteArray &bytes);
};
