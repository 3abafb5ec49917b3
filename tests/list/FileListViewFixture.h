// A file list over a fresh temporary device, shown offscreen, with every
// message box scripted.
#pragma once

#include "Panes.h"

#include "list/CFileListViewEx.h"
#include "platform/Files.h"

#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QHeaderView>
#include <QTest>
#include <gtest/gtest.h>

class FileListViewFixture : public Panes
{
protected:
    FileListViewFixture()
    {
        m_list.resize(600, 400);
        m_list.show();
    }

    QStringList rows() const { return ::rows(m_list); }
    void tapHeader(int column)
    {
        QHeaderView *header = m_list.header();
        const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                        header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }

    // A file of size bytes, last changed at time, with the attributes.
    void makeFile(const QString &devicePath, int size, const QDateTime &time, DWORD attributes)
    {
        device.writeFile(devicePath, QByteArray(size, 'x'));
        QFile file(device.host(devicePath));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(time, QFileDevice::FileModificationTime));
        ASSERT_TRUE(SetFileAttributesW(wide(devicePath), attributes));
    }

    CFileListViewEx m_list;
};
