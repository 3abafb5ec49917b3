// The search the Find Files dialog runs on its worker thread: files whose
// names match a wildcard pattern and whose contents hold a text, in a folder
// and every folder below it.
//
// Order: folder by folder depth first, each folder's own files (in the
// order the folder lists them) before those of its subfolders. Files in or
// below a folder whose path holds "\History\" are never reported, though
// such folders are still walked.
//
// Contents: the text is converted to the device's code page 1252 and
// compared byte for byte, case-sensitive; a file matches when the text
// occurs anywhere in it. Files are read in blocks, carrying the last bytes
// of each block into the next so a text across two blocks is found; memory
// use does not grow with the file. A file that cannot be opened or fails to
// read before the text is found does not match.
//
// Stopping: stopped() is polled before each folder, after each entry of a
// folder and before each block read; the search then returns at once.
//
// Each folder is listed once, through the platform's basic find level: the
// facts of files are never read, only the names and what is a folder.
#pragma once

#include "platform/DeviceFileReader.h"
#include "platform/WildcardPattern.h"

#include <QByteArray>
#include <QStringList>
#include <QString>
#include <atomic>
#include <functional>
#include <vector>

// A manual-reset event: stays set until reset. Safe to use from any thread.
class StopEvent
{
public:
    void Set() { m_set.store(true); }
    void Reset() { m_set.store(false); }
    bool IsSet() const { return m_set.load(); }

private:
    std::atomic<bool> m_set{false};
};

class FileSearch
{
public:
    static constexpr std::size_t DefaultBlockSize = 64 * 1024;

    using HitSink = std::function<void(const QString &path)>;
    using StopTest = std::function<bool()>;

    // filename: the platform's wildcard pattern for names; containing:
    // the text (empty: every file matches, unread). blockSize: bytes read at
    // a time.
    FileSearch(const QString &filename, const QString &containing, StopTest stopped, HitSink onHit,
               std::size_t blockSize = DefaultBlockSize);

    // Searches folder (a device path; "" and "\" are the root) and all below it.
    void SearchFolder(QString folder);
    // Whether the file name in folder (ending with a backslash) holds the text.
    bool ContentMatches(const QString &folder, const QString &name);

private:
    WildcardPattern m_pattern;
    QByteArray m_text;
    StopTest m_stopped;
    HitSink m_onHit;
    std::size_t m_blockSize;
    std::vector<char> m_buffer;
    DeviceFileReader m_reader;
};
