// A folder tree over a fresh temporary device, with a real file list below
// it, as the main frame wires them (the frame itself is not needed here).
#pragma once

#include "QtApp.h"
#include "ScriptedSink.h"
#include "TempDevice.h"

#include "settings/CRegistryAccess.h"
#include "settings/RegistryLayout.h"
#include "list/CFileListViewEx.h"
#include "tree/CDirTreeView.h"

#include <QApplication>
#include <QDir>
#include <QTreeWidgetItem>
#include <gtest/gtest.h>

// Texts of the item's children, in order.
inline QStringList texts(const QTreeWidgetItem *item)
{
    QStringList result;
    for (int i = 0; i < item->childCount(); ++i)
        result << item->child(i)->text(0);
    return result;
}

inline QTreeWidgetItem *child(const QTreeWidgetItem *item, const QString &text)
{
    for (int i = 0; i < item->childCount(); ++i) {
        if (item->child(i)->text(0) == text)
            return item->child(i);
    }
    return nullptr;
}

class TreeFixture : public ::testing::Test
{
protected:
    void start()
    {
        m_tree.SetListView(&m_list);
        m_tree.OnInitialUpdate();
        m_tree.OnFirstActivate();
    }

    // Expands the device root as a tap on its button would.
    QTreeWidgetItem *openRoot()
    {
        m_tree.DeviceRoot()->setExpanded(true);
        return m_tree.DeviceRoot();
    }

    void mapNetPaths(const QStringList &paths)
    {
        CRegistryAccess registry;
        for (int i = 0; i < paths.size(); ++i)
            registry.WriteString(HKEY_LOCAL_MACHINE, RegistryLayout::NetPathsKey, RegistryLayout::netPath(i), paths[i]);
        registry.WriteDword(HKEY_LOCAL_MACHINE, RegistryLayout::NetPathsKey, RegistryLayout::Count, DWORD(paths.size()));
    }

    // Host folder of a network path below the device's network root.
    void makeShare(const QString &relative)
    {
        QDir().mkpath(m_device.device().networkRoot() + QLatin1Char('/') + relative);
    }

    QApplication &m_app = qtApp(); // before any widget
    TempDevice m_device;
    ScriptedSink m_sink;
    CFileListViewEx m_list;
    CDirTreeView m_tree;
};
