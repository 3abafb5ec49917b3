// A file list over a fresh temporary device, shown offscreen, with every
// message box scripted.
#pragma once

#include "QtApp.h"
#include "ScriptedSink.h"
#include "TempDevice.h"

#include "settings/CRegistryAccess.h"
#include "settings/RegistryLayout.h"
#include "list/CFileListViewEx.h"
#include "platform/Files.h"

#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QHeaderView>
#include <QTest>
#include <gtest/gtest.h>

// Other tests of this program may already have made the application.
inline QCoreApplication *listTestApp()
{
    if (QCoreApplication::instance())
        return QCoreApplication::instance();
    return &qtApp();
}

class FileListViewFixture : public ::testing::Test
{
protected:
    FileListViewFixture()
    {
        m_list.resize(600, 400);
        m_list.show();
    }

    // The Name column, top to bottom.
    QStringList rows() const
    {
        QStringList names;
        for (int row = 0; row < m_list.GetItemCount(); ++row)
            names << m_list.GetItemText(row, CFileListCore::NameColumn);
        return names;
    }

    // A tap on the column's header section.
    void tapHeader(int column)
    {
        QHeaderView *header = m_list.header();
        const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                        header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }

    void setFilter(const QString &name, DWORD value)
    {
        CRegistryAccess().WriteDword(HKEY_LOCAL_MACHINE, RegistryLayout::FileFilterKey, name, value);
    }

    void setModified(const QString &devicePath, const QDateTime &time)
    {
        QFile file(m_device.host(devicePath));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(time, QFileDevice::FileModificationTime));
    }

    void setAttributes(const QString &devicePath, DWORD attributes)
    {
        ASSERT_TRUE(SetFileAttributesW(reinterpret_cast<LPCWSTR>(devicePath.utf16()), attributes));
    }

    QCoreApplication *m_app = listTestApp();
    TempDevice m_device;
    ScriptedSink m_sink;
    CFileListViewEx m_list;
};
