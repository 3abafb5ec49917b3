#include "package/QuillmossPackage.h"

#include "package/AppManagerIni.h"
#include "package/Cabinet.h"
#include "package/IconFile.h"

namespace QuillmossPackage {

namespace {

const QByteArray appKey[] = {"Software", "Brindlecove", "Quillmoss"};

SetupFile::RegValue defaultValue(SetupFile::Root root, const QList<QByteArray> &key, const QByteArray &text)
{
    return {root, key, SetupFile::StringType, "Default", text + '\0'};
}

} // namespace

SetupFile setupFile()
{
    SetupFile setup;
    setup.appName = "Quillmoss";
    setup.provider = "Brindlecove";
    setup.unsupported = {"'HPC'", "'HPC PRO'"};
    setup.processor = 2577; // StrongARM: every ARM and XScale device
    setup.minMajor = 3;
    setup.maxMajor = 1000;
    setup.dirs = {{{"%CE1%", "Quillmoss"}}, {{"%CE11%"}}};
    setup.files = {{1, 0, 0, "quillmoss.exe"}};
    const QList<QByteArray> key(std::begin(appKey), std::end(appKey));
    setup.values = {
        defaultValue(SetupFile::CurrentUser, key, "Quillmoss"),
        defaultValue(SetupFile::CurrentUser, key + QList<QByteArray>{"quillmoss"}, "Quillmoss"),
        defaultValue(SetupFile::LocalMachine, key, "Quillmoss"),
        defaultValue(SetupFile::LocalMachine, key + QList<QByteArray>{"FileFilter"}, ""),
        defaultValue(SetupFile::LocalMachine, key + QList<QByteArray>{"NetPaths"}, ""),
        defaultValue(SetupFile::LocalMachine, key + QList<QByteArray>{"Bookmarks"}, ""),
    };
    setup.links = {{11, 1, {"Quillmoss.lnk"}}};
    return setup;
}

QByteArray cabinet(const QByteArray &program, const QDateTime &time)
{
    // Only the numbered extensions matter to the installer; the setup file goes first.
    return Cabinet::write({{"Quillmos.000", setupFile().write(), time}, {"quillmos.001", program, time}});
}

QByteArray ini()
{
    return AppManagerIni::write("Brindlecove Quillmoss for Pocket PC: application manager description",
                                {{"CEAppManager", {{"Version", "1.0"}, {"Component", "Quillmoss"}}},
                                 {"Quillmoss",
                                  {{"Description", "Quillmoss"},
                                   {"IconFile", IconName},
                                   {"IconIndex", "0"},
                                   {"DeviceFile", "quillmoss.exe"},
                                   {"CabFiles", QByteArray("\"") + CabName + '"'},
                                   {"Uninstall", "Quillmoss "}}}});
}

QByteArray icon(const QImage &small, const QImage &large)
{
    return IconFile::write({small, large});
}

} // namespace QuillmossPackage
