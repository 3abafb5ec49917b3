// A file list over a fresh temporary device, shown offscreen, with every
// message box scripted.
#pragma once

#include "QtApp.h"
#include "ScriptedSink.h"
#include "TempDevice.h"

#include "list/CFileListViewEx.h"
#include "platform/Files.h"

#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QHeaderView>
#include <QTest>
#include <gtest/gtest.h>

// A temporary device with every message box scripted, for widget tests.
class DeviceTest : public WithQtApp, public ::testing::Test
{
protected:
    TempDevice m_device;
    ScriptedSink m_sink;
};

class FileListViewFixture : public DeviceTest
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

    CFileListViewEx m_list;
};
