#include "list/CFileTypeInfo.h"

#include "framework/CImageList.h"
#include "platform/Shell.h"

#include <vector>

void CFileTypeInfo::SetPath(const QString &path)
{
    m_path = path;
}

QString CFileTypeInfo::GetExtension(const QString &text) const
{
    const QString &source = text.isEmpty() ? m_path : text;
    const qsizetype dot = source.lastIndexOf(QLatin1Char('.'));
    if (dot < 1)
        return QString();
    return source.mid(dot + 1).toUpper();
}

QString CFileTypeInfo::GetFolder() const
{
    const qsizetype slash = m_path.lastIndexOf(QLatin1Char('\\'));
    return slash < 0 ? QString() : m_path.left(slash + 1);
}

LONG CFileTypeInfo::ReadRegString(HKEY root, const QString &subKey, const QString &valueName,
                                  QString &output) const
{
    HKEY key = nullptr;
    LONG result = RegOpenKeyExW(root, reinterpret_cast<LPCWSTR>(subKey.utf16()), 0, 0, &key);
    if (result != ERROR_SUCCESS)
        return result;

    const auto name = reinterpret_cast<LPCWSTR>(valueName.utf16());
    DWORD size = 0;
    result = RegQueryValueExW(key, name, nullptr, nullptr, nullptr, &size);
    if (result == ERROR_SUCCESS && size > 0) {
        // Two spare zero bytes terminate the text even when the stored value
        // lacks its terminator; an even count keeps whole characters.
        std::vector<BYTE> buffer((std::size_t(size) + 2) & ~std::size_t(1), 0);
        result = RegQueryValueExW(key, name, nullptr, nullptr, buffer.data(), &size);
        if (result == ERROR_SUCCESS)
            output = fromWide(reinterpret_cast<const WCHAR *>(buffer.data()));
    }
    RegCloseKey(key);
    return result;
}

QString CFileTypeInfo::GetTypeName() const
{
    const QString extension = GetExtension();
    if (extension.isEmpty())
        return QString();

    QString className;
    if (ReadRegString(HKEY_CLASSES_ROOT, QLatin1Char('.') + extension, QString(), className) != ERROR_SUCCESS)
        return extension + QStringLiteral(" File");
    QString typeName = className;
    ReadRegString(HKEY_CLASSES_ROOT, className, QString(), typeName);
    return typeName;
}

bool CFileTypeInfo::GetIconIndex(CImageList &imageList, int &index, int fallback) const
{
    SHFILEINFO info{};
    int appended = -1;
    if (SHGetFileInfo(reinterpret_cast<LPCWSTR>(m_path.utf16()), 0, &info, sizeof info,
                      SHGFI_ICON | SHGFI_SMALLICON)
        && info.hIcon) {
        appended = imageList.ReplaceIcon(-1, *info.hIcon);
        DestroyIcon(info.hIcon);
    }
    if (appended < 0) {
        index = fallback;
        return false;
    }
    index = appended;
    return true;
}
