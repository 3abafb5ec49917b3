#include "installer/InstallStrings.h"

#include <QHash>

namespace InstallStrings {

namespace {

QHash<UINT, QString> &table()
{
    static QHash<UINT, QString> strings{
        {103, QStringLiteral("Harrowdeck Installation")},
        {104, QStringLiteral("Can not find ActiveSync. Please reinstall ActiveSync and than run this installation again.\nInstall will now exit.")},
        {105, QStringLiteral("Installing:")},
        {106, QStringLiteral("Finish")},
        {107, QStringLiteral("Install finished")},
        {108, QStringLiteral("Unable to create the extract folder. Please specify another folder.")},
        {109, QStringLiteral("Extraction folder")},
        {112, QStringLiteral("A fatal error occurred while installing.")},
        {114, QStringLiteral("Error installing %s.\nPlease re-run the installation program.")},
        {3001, QStringLiteral("Quillmoss.ini")},
        {3002, QStringLiteral("Windows Mobile")},
        {3003, QStringLiteral("ARM or XScale")},
        {3004, QStringLiteral("FULL")},
        {4001, QStringLiteral("Quillmoss.CAB")},
        {4002, QStringLiteral("Quillmoss.ini")},
        {4003, QStringLiteral("Quillmoss.ico")},
    };
    return strings;
}

} // namespace

QString load(UINT id)
{
    return table().value(id);
}

void replace(UINT id, const QString &text)
{
    table().insert(id, text);
}

} // namespace InstallStrings
