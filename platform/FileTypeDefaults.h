// What a device's registry holds for the outside programs, as the handheld's
// own image would have it: file types (text, pictures, web pages, documents,
// archives, audio, video) under HKEY_CLASSES_ROOT whose open command is the
// host opener stand-in, and the application aliases of the stand-ins under
// HKEY_LOCAL_MACHINE "\Software\Microsoft\Shell\Rai\".
#pragma once

#include <QString>

class FileTypeDefaults
{
public:
    // The open command written for the default types.
    static QString openCommand();

    // Adds the default types and aliases a device is missing, once per device
    // (a version mark under HKEY_LOCAL_MACHINE "\System\Quillmoss" records
    // it, so a registration the user deletes later stays deleted). An
    // extension, class or alias key that exists already is left as it is; an
    // alias is added only for a stand-in present in \Windows.
    static void install();
};
