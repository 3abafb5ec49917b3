// The system information pages over a replaced system source, the General page's look-up thread, and the sheet.
#include "QtApp.h"
#include "TempDevice.h"

#include "platform/SystemInfo.h"
#include "platform/UiSink.h"
#include "tools/SystemInfoSheet.h"

#include <QGroupBox>
#include <QLabel>
#include <QSemaphore>
#include <QTabWidget>
#include <QTimer>
#include <QTest>
#include <arpa/inet.h>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace {

struct FakeSource : SystemSource {
    OSVERSIONINFOW os;
    bool osOk = true, storeOk = true;
    SYSTEM_INFO system;
    MEMORYSTATUS memory;
    STORE_INFORMATION store;
    SYSTEM_POWER_STATUS_EX power;
    QHash<QByteArray, HostEntry> names;
    QSemaphore gate{1}; // the resolver waits while the test holds the token
    std::atomic<int> lookups = 0, resolving = 0, resolved = 0;

    bool version(OSVERSIONINFOW &info) override { info = os; return osOk; }
    void systemInfo(SYSTEM_INFO &info) override { info = system; }
    bool memoryStatus(MEMORYSTATUS &status) override { status = memory; return true; }
    bool storeInformation(STORE_INFORMATION &info) override { info = store; return storeOk; }
    bool powerStatus(SYSTEM_POWER_STATUS_EX &status) override { status = power; return true; }
    std::optional<QByteArray> hostName() override { ++lookups; return QByteArray("quill"); }
    std::optional<HostEntry> resolve(const QByteArray &name) override
    {
        ++resolving;
        gate.acquire();
        gate.release();
        ++resolved;
        return names.contains(name) ? std::optional(names.value(name)) : std::nullopt;
    }
    void waitResolving() const { while (resolving == 0) std::this_thread::yield(); }
};

// The texts of the page's controls, in the order of ids.
QStringList shown(CDialog &page, std::initializer_list<int> ids)
{
    QStringList texts;
    for (int id : ids)
        texts << page.GetDlgItem<QLabel>(id)->text();
    return texts;
}
QString shown(CDialog &page, int id) { return shown(page, {id}).value(0); }

class SystemInfoPagesTest : public WithQtApp, public ::testing::Test
{
protected:
    TempDevice device;
    FakeSource fake;
    CurrentSystemSource current{fake};
};

} // namespace

TEST_F(SystemInfoPagesTest, EachPageShowsItsTextsAndTheSheetTimesOnlyTheVisibleOne)
{
    const struct { WORD architecture, level, revision; DWORD type; const char *text; } rows[] = {
        {0, 4, 0, 486, "INTEL 80486"}, {0, 5, 0, 586, "INTEL Pentium"}, {0, 6, 0, 586, "INTEL Pentium Pro"},
        {0, 7, 0, 586, ""}, {1, 0x104, 0x0203, 4000, "MIPS R4000\nRevision 3"},
        {2, 21164, 0x0102, 21064, "ALPHA 21164\nRevision: Model B, Pass 2"}, {3, 4, 0x0102, 604, "PPC 604\nRevision 1.2"},
        {3, 6, 0x0304, 603, "PPC 603+\nRevision 3.4"}, {3, 9, 0x0304, 604, "PPC 604+\nRevision 3.4"}, {3, 5, 0, 0, ""},
        {5, 4, 0, 2577, "Strong ARM\nSA1110"}, {9, 6, 0x9E0A, 8664, "Unknown"},
    };
    fake.os = {sizeof fake.os, 4, 20, 1081, VER_PLATFORM_WIN32_CE};
    copyToWide("Service Pack 2", fake.os.szCSDVersion, 128);
    CGeneralInfo page;
    for (const auto &row : rows) {
        std::tie(fake.system.wProcessorArchitecture, fake.system.wProcessorLevel, fake.system.wProcessorRevision,
                 fake.system.dwProcessorType) = std::tuple(row.architecture, row.level, row.revision, row.type);
        page.Refresh();
        EXPECT_EQ(QStringList({shown(page, CGeneralInfo::IDC_PROCESSOR),
                               page.GetDlgItem<QGroupBox>(CGeneralInfo::IDC_PROCESSOR_FRAME)->title()}),
                  QStringList({row.text, QString("Processor type (%1)").arg(row.type)}));
    }
    const auto os = [&] { page.Refresh(); return shown(page, {CGeneralInfo::IDC_OS, CGeneralInfo::IDC_PROCESSOR}); };
    EXPECT_EQ(os(), QStringList({"Windows CE\nversion 4.20.1081 Service Pack 2", "Unknown"}));
    fake.os.dwPlatformId = 2;
    EXPECT_EQ(os(), QStringList({"Application is not running on Windows CE.", "Unknown"}));
    fake.osOk = false;
    EXPECT_EQ(os(), QStringList({"Application is not running on Windows CE.", ""}));
    // A failing store query keeps the store's figures and makes up no total; nothing wraps near 4 GB.
    CMemoryInfo memory;
    const auto texts = [&memory] {
        memory.Refresh();
        return shown(memory, {CMemoryInfo::IDC_TOTAL_PHYS, CMemoryInfo::IDC_USED_PHYS, CMemoryInfo::IDC_AVAIL_PHYS,
                              CMemoryInfo::IDC_TOTAL_STORE, CMemoryInfo::IDC_USED_STORE, CMemoryInfo::IDC_AVAIL_STORE,
                              CMemoryInfo::IDC_TOTAL_MEM});
    };
    fake.memory = {0, 0, 32 * 1048576, 12 * 1048576 + 524288};
    fake.store = {16 * 1048576, 4 * 1048576 + 1023};
    EXPECT_EQ(texts(), QStringList({"32768", "19968", "12800", "16384", "12287", "4096", "48.0 MB"}));
    fake.storeOk = false;
    fake.memory.dwAvailPhys = 8 * 1048576;
    EXPECT_EQ(texts(), QStringList({"32768", "24576", "8192", "16384", "12287", "4096", "Unable to obtain"}));
    fake.storeOk = true;
    fake.memory.dwTotalPhys = 3u << 30;
    fake.store = {2u << 30, 0};
    EXPECT_EQ(texts().last(), "5120.0 MB");
    // Power texts for each flag; a flag or percent outside the table leaves the text as it was.
    CPowerInfo power;
    const struct { BYTE ac, flag, percent; DWORD seconds; BYTE backupFlag, backupPercent; DWORD backupSeconds;
        const char *texts; // source, status, percent, time; backup status, percent, time
    } steps[] = {
        {0, 0x09, 80, 3599, 1, 100, 59, "Internal power|High|80 % of full battery|Estimated time remaining \n59 minutes|"
                                        "High|100 % of full battery|Estimated time remaining\n0 minutes "},
        {1, 0x02, 150, 0xFFFFFFFF, 2, 254, 0xFFFFFFFF, "External power|Low|80 % of full battery||Low|100 % of full battery|"},
        {255, 0x04, 255, 60, 0, 255, 120, "Unknown|Critical||Estimated time remaining \n1 minutes|"
                                          "Low||Estimated time remaining\n2 minutes "},
        {1, 0x08, 0, 0, 4, 0, 0, "External power|Charging|0 % of full battery|Estimated time remaining \n0 minutes|"
                                 "Critical|0 % of full battery|Estimated time remaining\n0 minutes "},
        {1, 0x80, 5, 0xFFFFFFFF, 8, 255, 0xFFFFFFFF, "External power|No system battery|5 % of full battery||Charging||"},
        {1, 0x40, 5, 0xFFFFFFFF, 128, 255, 0xFFFFFFFF, "External power|Unknown status|5 % of full battery||No battery||"},
        {1, 0x00, 5, 0xFFFFFFFF, 255, 255, 0xFFFFFFFF, "External power||5 % of full battery||Unknown||"},
    };
    for (const auto &step : steps) {
        fake.power = {step.ac, step.flag, step.percent, 0, step.seconds, 0, 0, step.backupFlag, step.backupPercent,
                      0, step.backupSeconds, 0};
        power.Refresh();
        EXPECT_EQ(shown(power, {CPowerInfo::IDC_AC_LINE, CPowerInfo::IDC_MAIN_STATUS, CPowerInfo::IDC_MAIN_PERCENT,
                                CPowerInfo::IDC_MAIN_TIME, CPowerInfo::IDC_BACKUP_STATUS, CPowerInfo::IDC_BACKUP_PERCENT,
                                CPowerInfo::IDC_BACKUP_TIME}).join('|'), step.texts);
    }
    // The sheet has no caption and times only its visible page.
    fake.power.ACLineStatus = AC_LINE_ONLINE;
    SystemInfoSheet sheet;
    ScopedModalHook hook([&](CDialog &open) {
        EXPECT_EQ(open.windowTitle(), "");
        auto *tabs = open.findChild<QTabWidget *>();
        ASSERT_EQ(tabs->count(), 3);
        EXPECT_EQ(QStringList({tabs->tabText(0), tabs->tabText(1), tabs->tabText(2)}),
                  QStringList({"General", "Memory", "Power"}));
        EXPECT_EQ(sheet.GetActivePage(), &sheet.general());
        sheet.SetActivePage(2);
        EXPECT_EQ(sheet.GetActivePage(), &sheet.power());
        EXPECT_EQ(shown(sheet.power(), CPowerInfo::IDC_AC_LINE), "External power");
        EXPECT_EQ(sheet.power().findChildren<QTimer *>().size(), 1);
        EXPECT_TRUE(sheet.general().findChildren<QTimer *>().isEmpty());
        open.EndDialog(IDOK);
    });
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_TRUE(sheet.power().findChildren<QTimer *>().isEmpty());
}

TEST_F(SystemInfoPagesTest, ABlockingResolverHoldsOneLookUpWhichAClosedPageOutlives)
{
    const auto texts = [](CGeneralInfo &page) { return shown(page, {CGeneralInfo::IDC_HOST, CGeneralInfo::IDC_PEER}); };
    fake.names.insert("quill", {"quill.lan", inet_addr("10.0.0.7")});
    fake.names.insert("ppp_peer", {"desktop.lan", inet_addr("192.168.55.100")});
    fake.gate.acquire();
    {
        CGeneralInfo page;
        page.OnTimer(1);
        fake.waitResolving();
        page.OnTimer(1);
        page.OnTimer(1);
        EXPECT_TRUE(page.isLookingUp());
        fake.gate.release();
        const QStringList both = {"quill (10.0.0.7)", "desktop.lan (192.168.55.100)"};
        EXPECT_TRUE(QTest::qWaitFor([&] { return texts(page) == both; })) << texts(page).join('|').toStdString();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !page.isLookingUp(); }));
        // A refresh shows what arrived since the last one, then forgets it.
        page.Refresh();
        EXPECT_EQ(texts(page), both);
        page.Refresh();
        EXPECT_EQ(texts(page), QStringList({"", ""}));
        // An unknown peer leaves its line blank.
        fake.names.remove("ppp_peer");
        page.OnTimer(1);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !page.isLookingUp() && texts(page).value(0) != ""; }));
        QCoreApplication::processEvents();
        EXPECT_EQ(texts(page), QStringList({"quill (10.0.0.7)", ""}));
    }
    EXPECT_EQ(fake.lookups.load(), 2);
    // A page closed while its look-up runs outlives it.
    fake.resolving = fake.resolved = 0;
    fake.gate.acquire();
    auto page = std::make_unique<CGeneralInfo>();
    page->OnTimer(1);
    fake.waitResolving();
    // Released a little later, so the page is most likely waiting by then;
    // either way it must not be gone before its look-up has ended.
    std::thread releaser([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        fake.gate.release();
    });
    page.reset();
    EXPECT_EQ(fake.resolved.load(), 2);
    releaser.join();
    QCoreApplication::processEvents(); // a text queued for the page is dropped
}
