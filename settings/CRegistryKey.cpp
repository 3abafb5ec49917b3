#include "settings/CRegistryKey.h"

#include <algorithm>
#include <new>

namespace {

HKEY rootNamed(const QString &name)
{
    static const std::pair<const char *, HKEY> roots[] = {
        {"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
        {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
        {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
        {"HKEY_USERS", HKEY_USERS},
    };
    const QString upper = name.toUpper();
    for (const auto &[rootName, root] : roots) {
        if (upper == QLatin1String(rootName))
            return root;
    }
    return nullptr;
}

QString trimBackslashes(const QString &path)
{
    qsizetype begin = 0;
    qsizetype end = path.size();
    while (begin < end && path.at(begin) == QLatin1Char('\\'))
        ++begin;
    while (end > begin && path.at(end - 1) == QLatin1Char('\\'))
        --end;
    return path.mid(begin, end - begin);
}

} // namespace

CRegistryKey::~CRegistryKey()
{
    Close();
}

HRESULT CRegistryKey::Open(const QString &path, bool create)
{
    if (path.isEmpty())
        return E_INVALIDARG;
    Close();

    const qsizetype slash = path.indexOf(QLatin1Char('\\'));
    const HKEY root = rootNamed(slash < 0 ? path : path.left(slash));
    if (!root)
        return E_FAIL;
    const QString subKey = slash < 0 ? QString() : path.mid(slash + 1);
    if (RegOpenKeyExW(root, wide(subKey), 0, KEY_ALL_ACCESS, &m_key) != LONG(ERROR_SUCCESS)) {
        m_key = nullptr;
        if (!create)
            return E_FAIL;
        createPath(root, subKey);
        if (RegOpenKeyExW(root, wide(subKey), 0, KEY_ALL_ACCESS, &m_key) != LONG(ERROR_SUCCESS)) {
            m_key = nullptr;
            return E_FAIL;
        }
    }

    m_path = path;
    DWORD maxSubKeyLength = 0;
    DWORD maxValueNameLength = 0;
    if (RegQueryInfoKeyW(m_key, nullptr, nullptr, nullptr, &m_subKeys, &maxSubKeyLength, nullptr, &m_values,
                         &maxValueNameLength, &m_maxValueLength, nullptr, nullptr)
        != LONG(ERROR_SUCCESS)) {
        Close();
        return E_FAIL;
    }
    m_nameCapacity = std::max(maxSubKeyLength, maxValueNameLength) + 1;
    m_name.reset(new (std::nothrow) WCHAR[m_nameCapacity]());
    if (!m_name) {
        Close();
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

HRESULT CRegistryKey::createPath(HKEY parent, const QString &path)
{
    const QString trimmed = trimBackslashes(path);
    if (trimmed.isEmpty() || !parent)
        return E_INVALIDARG;
    const qsizetype slash = trimmed.indexOf(QLatin1Char('\\'));
    const QString first = slash < 0 ? trimmed : trimmed.left(slash);
    HKEY key = nullptr;
    DWORD disposition = 0;
    WCHAR noClass[] = {0};
    if (RegCreateKeyExW(parent, wide(first), 0, noClass, 0, KEY_ALL_ACCESS, nullptr, &key, &disposition)
        != LONG(ERROR_SUCCESS))
        return E_FAIL;
    const HRESULT result = slash < 0 ? S_OK : createPath(key, trimmed.mid(slash + 1));
    RegCloseKey(key);
    return result;
}

void CRegistryKey::Close()
{
    if (m_key)
        RegCloseKey(m_key);
    m_key = nullptr;
    m_name.reset();
    m_nameCapacity = 0;
    m_path.clear();
    m_index = 0;
    m_subKeys = 0;
    m_values = 0;
    m_maxValueLength = 0;
}

HRESULT CRegistryKey::EnumFirst(QString *name, RegEntryKind *kind)
{
    m_index = 0;
    return EnumNext(name, kind);
}

HRESULT CRegistryKey::EnumNext(QString *name, RegEntryKind *kind)
{
    if (!name || !kind)
        return E_INVALIDARG;
    name->clear();
    *kind = RegKindOther;
    if (m_index > m_subKeys + m_values)
        return E_FAIL;

    DWORD length = m_nameCapacity;
    LONG result;
    RegEntryKind entryKind = RegKindSubKey;
    if (m_index < m_subKeys) {
        result = RegEnumKeyExW(m_key, m_index, m_name.get(), &length, nullptr, nullptr, nullptr, nullptr);
    } else {
        // Past the last value this wraps to an index the platform answers
        // with ERROR_NO_MORE_ITEMS.
        const DWORD valueIndex = m_subKeys + m_values - 1 - m_index;
        result = RegEnumValueW(m_key, valueIndex, m_name.get(), &length, nullptr, nullptr, nullptr, nullptr);
        if (result == LONG(ERROR_SUCCESS)
            && GetValueKind(QString::fromUtf16(m_name.get(), length), &entryKind) != S_OK)
            return E_FAIL;
    }
    if (result == LONG(ERROR_NO_MORE_ITEMS))
        return S_FALSE;
    if (result != LONG(ERROR_SUCCESS))
        return E_FAIL;
    *name = QString::fromUtf16(m_name.get(), length);
    *kind = entryKind;
    ++m_index;
    return S_OK;
}

RegEntryKind CRegistryKey::kindOf(DWORD type)
{
    switch (type) {
    case REG_BINARY:
        return RegKindBinary;
    case REG_DWORD:
        return RegKindDword;
    case REG_DWORD_BIG_ENDIAN:
        return RegKindDwordBigEndian;
    case REG_EXPAND_SZ:
        return RegKindExpandString;
    case REG_MULTI_SZ:
        return RegKindMultiString;
    case REG_RESOURCE_LIST:
        return RegKindResourceList;
    case REG_SZ:
        return RegKindString;
    default:
        return RegKindOther;
    }
}

HRESULT CRegistryKey::GetValueKind(const QString &valueName, RegEntryKind *kind, DWORD *type)
{
    if (!kind)
        return E_INVALIDARG;
    if (!m_key)
        return E_FAIL;
    DWORD platformType = REG_NONE;
    if (RegQueryValueExW(m_key, wide(valueName), nullptr, &platformType, nullptr, nullptr) != LONG(ERROR_SUCCESS))
        return E_FAIL;
    *kind = kindOf(platformType);
    if (type)
        *type = platformType;
    return S_OK;
}

HRESULT CRegistryKey::ReadDword(const QString &valueName, DWORD *value)
{
    if (valueName.isEmpty() || !value)
        return E_INVALIDARG;
    RegEntryKind kind = RegKindOther;
    if (GetValueKind(valueName, &kind) != S_OK || kind != RegKindDword)
        return E_FAIL;
    BYTE bytes[4] = {};
    DWORD size = sizeof bytes;
    if (RegQueryValueExW(m_key, wide(valueName), nullptr, nullptr, bytes, &size) != LONG(ERROR_SUCCESS))
        return E_FAIL;
    *value = DWORD(bytes[0]) | DWORD(bytes[1]) << 8 | DWORD(bytes[2]) << 16 | DWORD(bytes[3]) << 24;
    return S_OK;
}

HRESULT CRegistryKey::ReadString(const QString &valueName, QString *text)
{
    if (!text)
        return E_INVALIDARG;
    RegEntryKind kind = RegKindOther;
    if (GetValueKind(valueName, &kind) != S_OK || kind != RegKindString)
        return E_FAIL;
    // The longest data of the key as taken at Open, plus a terminator.
    std::unique_ptr<WCHAR[]> buffer(new (std::nothrow) WCHAR[m_maxValueLength / sizeof(WCHAR) + 2]());
    if (!buffer)
        return E_OUTOFMEMORY;
    DWORD size = m_maxValueLength;
    if (RegQueryValueExW(m_key, wide(valueName), nullptr, nullptr, reinterpret_cast<BYTE *>(buffer.get()), &size)
        != LONG(ERROR_SUCCESS))
        return E_FAIL;
    *text = QString::fromUtf16(buffer.get());
    return S_OK;
}

HRESULT CRegistryKey::GetPath(QString *path) const
{
    if (!path)
        return E_INVALIDARG;
    *path = m_path;
    return S_OK;
}
