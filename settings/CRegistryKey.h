// One open registry key, named by a textual path that starts with a root name
// ("HKEY_CLASSES_ROOT\.txt"), with enumeration of its subkeys and values.
//
// Calling order: construct, Open, then any number of EnumFirst/EnumNext,
// GetValueKind, ReadDword, ReadString; Open again switches to another key;
// destruction closes. Results are S_OK, S_FALSE (1, end of enumeration),
// E_INVALIDARG, E_FAIL or E_OUTOFMEMORY.
//
// The counts and the name buffer are taken when the key is opened. Entries
// added or removed meanwhile shift the indices; a caller that deletes while
// walking restarts with EnumFirst.
#pragma once

#include "platform/Registry.h"

#include <QString>
#include <memory>

// What an enumerated entry or a value is.
enum RegEntryKind : int {
    RegKindOther = 0,           // REG_NONE, REG_LINK, type 9 and above
    RegKindBinary = 1,
    RegKindDword = 2,
    RegKindDwordBigEndian = 3,
    RegKindExpandString = 4,
    RegKindMultiString = 5,
    RegKindResourceList = 6,
    RegKindSubKey = 7,
    RegKindString = 8,
};

class CRegistryKey
{
public:
    CRegistryKey() = default;
    ~CRegistryKey();
    CRegistryKey(const CRegistryKey &) = delete;
    CRegistryKey &operator=(const CRegistryKey &) = delete;

    // path: root name (compared after upper-casing), a backslash, the subkey
    // path. With create set, a missing key path is created. An empty path is
    // E_INVALIDARG, an unknown root or a key that cannot be opened E_FAIL.
    HRESULT Open(const QString &path, bool create);
    void Close();

    // Subkeys first (kind RegKindSubKey) in the platform's order, then the
    // values in reverse platform order. At the end S_FALSE; at the end and on
    // any failure *name is emptied and *kind is RegKindOther.
    HRESULT EnumFirst(QString *name, RegEntryKind *kind);
    HRESULT EnumNext(QString *name, RegEntryKind *kind);

    // Kind of a value of the open key; type, when given, receives the
    // platform's type code.
    HRESULT GetValueKind(const QString &valueName, RegEntryKind *kind, DWORD *type = nullptr);
    // Only for a value of kind RegKindDword; the default value is not addressable.
    HRESULT ReadDword(const QString &valueName, DWORD *value);
    // Only for a value of kind RegKindString.
    HRESULT ReadString(const QString &valueName, QString *text);
    HRESULT GetPath(QString *path) const;

    static RegEntryKind kindOf(DWORD type);

private:
    static HRESULT createPath(HKEY parent, const QString &path);

    HKEY m_key = nullptr;
    std::unique_ptr<WCHAR[]> m_name;
    DWORD m_nameCapacity = 0;
    QString m_path;
    DWORD m_index = 0;
    DWORD m_subKeys = 0;
    DWORD m_values = 0;
    DWORD m_maxValueLength = 0;
};
