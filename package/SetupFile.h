// The setup member (".000") of a device installation cabinet: what the
// device's cabinet installer does with the other members. Texts are the
// device's ANSI bytes; folder paths are lists of components whose first may
// be a folder macro such as "%CE1%".
#pragma once

#include <QByteArray>
#include <QList>

struct SetupFile {
    struct Dir {
        QList<QByteArray> parts;
        bool operator==(const Dir &) const = default;
    };
    struct File {
        quint16 id = 0;  // the member whose extension is this number (".001")
        quint16 dir = 0; // index into dirs
        quint32 flags = 0;
        QByteArray name;
        bool operator==(const File &) const = default;
    };
    enum Root : quint16 { ClassesRoot = 1, CurrentUser = 2, LocalMachine = 3, Users = 4 };
    struct RegValue {
        quint16 root = LocalMachine;
        QList<QByteArray> key;
        quint32 typeFlags = 0; // 0 string, 0x10000 multi-string, 0x10001 DWORD, 1 binary
        QByteArray name;       // empty: the key's default value
        QByteArray data;       // the payload after the name (a string ends in NUL)
        bool operator==(const RegValue &) const = default;
    };
    struct Link {
        quint16 baseDir = 0;    // 0 the installation folder, else the folder macro number
        quint16 fileId = 0;     // the file it points to
        QList<QByteArray> path; // below baseDir, ending in the link's name
        bool operator==(const Link &) const = default;
    };

    QByteArray appName;
    QByteArray provider;
    QList<QByteArray> unsupported; // platform names the package refuses
    quint32 processor = 0;         // 0: any
    quint32 minMajor = 0, minMinor = 0, maxMajor = 0, maxMinor = 0, minBuild = 0, maxBuild = 0;
    QList<Dir> dirs;
    QList<File> files;
    QList<RegValue> values;
    QList<Link> links;

    bool operator==(const SetupFile &) const = default;

    static constexpr int HeaderSize = 100;
    static constexpr quint32 StringType = 0;

    // The ".000" bytes: header, names, then the sections back to back.
    QByteArray write() const;
};
