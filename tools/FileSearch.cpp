#include "tools/FileSearch.h"

#include "platform/CodePage.h"
#include "platform/Files.h"

#include <cstring>

FileSearch::FileSearch(const QString &filename, const QString &containing, StopTest stopped, HitSink onHit,
                       std::size_t blockSize)
    : m_pattern(filename)
    , m_text(CodePage::toAnsi(containing))
    , m_stopped(std::move(stopped))
    , m_onHit(std::move(onHit))
    , m_blockSize(blockSize)
{
}

void FileSearch::SearchFolder(QString folder)
{
    if (m_stopped())
        return;
    if (!folder.endsWith(QLatin1Char('\\')))
        folder += QLatin1Char('\\');
    // One listing serves both steps: the folder's own files that match, in
    // its order, then its subfolders in its order. Nothing in or below a
    // History folder is reported.
    const bool reportFiles = !folder.contains(QLatin1String("\\History\\"));
    QStringList subfolders;
    WIN32_FIND_DATAW data;
    const HANDLE find = FindFirstFileExW(wide(folder + QStringLiteral("*.*")), FindExInfoBasic, &data,
                                         FindExSearchNameMatch, nullptr, 0);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const QString name = fromWide(data.cFileName);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                subfolders << name;
            else if (reportFiles && m_pattern.matches(name) && ContentMatches(folder, name))
                m_onHit(folder + name);
        } while (!m_stopped() && FindNextFileW(find, &data));
        FindClose(find);
    }
    for (const QString &name : std::as_const(subfolders)) {
        if (m_stopped())
            return;
        SearchFolder(folder + name);
    }
}

bool FileSearch::ContentMatches(const QString &folder, const QString &name)
{
    if (m_text.isEmpty())
        return true;
    if (m_reader.open(folder, name) != ERROR_SUCCESS)
        return false;
    // Each block is searched together with the text's length less one bytes
    // of the block before: enough for any occurrence that straddles them.
    const std::size_t length = std::size_t(m_text.size());
    const std::size_t carried = length - 1;
    m_buffer.resize(carried + m_blockSize);
    std::size_t held = 0;
    bool found = false;
    while (!found && !m_stopped()) {
        const std::ptrdiff_t count = m_reader.read(m_buffer.data() + held, m_blockSize);
        if (count <= 0)
            break;
        held += std::size_t(count);
        found = held >= length && ::memmem(m_buffer.data(), held, m_text.constData(), length);
        const std::size_t keep = std::min(held, carried);
        std::memmove(m_buffer.data(), m_buffer.data() + held - keep, keep);
        held = keep;
    }
    m_reader.close();
    return found;
}
