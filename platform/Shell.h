// Shell services of the handheld platform: file icons and shortcut targets.
//
// Icons come from the freedesktop icon theme: folders show "folder", .exe
// files a program icon, other files the icon of their MIME type (by name,
// by content when the name says nothing); a shortcut (.lnk) shows its
// target's icon, following one level only. When no desktop session names an
// icon theme, Adwaita is used as the fallback theme.
#pragma once

#include "platform/Types.h"

class QIcon;

// An icon handle. Whoever receives one owns it and frees it with DestroyIcon.
using HICON = QIcon *;
using DWORD_PTR = std::uintptr_t;

struct SHFILEINFO {
    HICON hIcon = nullptr;
    int iIcon = 0;
    DWORD dwAttributes = 0;
    WCHAR szDisplayName[MAX_PATH] = {};
    WCHAR szTypeName[80] = {};
};

constexpr UINT SHGFI_LARGEICON = 0x0;
constexpr UINT SHGFI_SMALLICON = 0x1;
constexpr UINT SHGFI_USEFILEATTRIBUTES = 0x10;
constexpr UINT SHGFI_ICON = 0x100;

// With SHGFI_ICON, sets info->hIcon to the icon of path, 16 pixels square with
// SHGFI_SMALLICON, else 32. With SHGFI_USEFILEATTRIBUTES the file is not
// touched: only the name and fileAttributes (FILE_ATTRIBUTE_DIRECTORY) count,
// so a bare ".txt" works. Otherwise the path must exist.
// Returns non-zero on success; 0 with GetLastError set when the file cannot be
// found, the flags ask for nothing this shell provides, infoSize is too small,
// or no icon can be drawn (no GUI application running).
DWORD_PTR SHGetFileInfo(LPCWSTR path, DWORD fileAttributes, SHFILEINFO *info, UINT infoSize, UINT flags);

// Frees an icon handle from SHGetFileInfo. FALSE for a null handle.
BOOL DestroyIcon(HICON icon);

// Reads the target of the shortcut file at path into target (capacity in
// characters, terminator included; a longer target is cut). A shortcut is one
// line of code page 1252 text: a decimal count, "#", the target, possibly in
// double quotes; a "?" ends the target early. Without "#" the whole text is
// the target. FALSE with GetLastError set when the file cannot be read.
BOOL SHGetShortcutTarget(LPCWSTR path, LPWSTR target, int capacity);
