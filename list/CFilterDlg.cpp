#include "list/CFilterDlg.h"

#include "settings/CRegistryAccess.h"
#include "settings/RegistryLayout.h"
#include "framework/CDataExchange.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace {

// Inserts text where a sorting combo box puts it: before the first entry that
// compares greater, ignoring case.
void addSortedString(QComboBox &combo, const QString &text)
{
    int at = 0;
    while (at < combo.count() && QString::compare(combo.itemText(at), text, Qt::CaseInsensitive) <= 0)
        ++at;
    combo.insertItem(at, text);
}

DWORD readFilterValue(const QString &name)
{
    DWORD value = 0;
    CRegistryAccess().ReadDword(HKEY_LOCAL_MACHINE, RegistryLayout::FileFilterKey, name, value);
    return value;
}

void writeFilterValue(const QString &name, int value)
{
    CRegistryAccess().WriteDword(HKEY_LOCAL_MACHINE, RegistryLayout::FileFilterKey, name, DWORD(value));
}

} // namespace

// The Filter dialog has no resource number of its own.
CFilterDlg::CFilterDlg(QWidget *parent)
    : CDialog(0, parent)
    , m_category(new QComboBox(this))
{
    setWindowTitle(QStringLiteral("Filter"));
    setFixedSize(dluSize(136, 148));

    auto *group = new QGroupBox(QStringLiteral("File filter settings"), this);
    group->setGeometry(dluRect(4, 4, 128, 114));

    auto place = [this](QWidget *control, int id, const QRect &rect) {
        if (id)
            SetDlgCtrlID(control, id);
        control->setGeometry(rect);
    };
    auto *showAll = new QRadioButton(QStringLiteral("Show all files"), this);
    place(showAll, IDC_SHOW_ALL, dluRect(10, 16, 116, 10));
    auto *hideSystem = new QRadioButton(QStringLiteral("Hide these files :"), this);
    place(hideSystem, IDC_HIDE_SYSTEM, dluRect(10, 30, 116, 10));
    place(new QLabel(QStringLiteral(".dll, .cpl, .drv, .htp"), this), 0, dluRect(22, 42, 104, 8));
    auto *showOnly = new QRadioButton(QStringLiteral("Show only :"), this);
    place(showOnly, IDC_SHOW_ONLY, dluRect(10, 56, 116, 10));

    m_category->setEditable(true);
    m_category->setInsertPolicy(QComboBox::NoInsert);
    m_category->view()->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    place(m_category, IDC_CATEGORY, dluRect(22, 70, 104, 14));
    for (const char *label : {"Executables (exe)", "Images (2bp;bmp;jpg;gif;pcx;tif)",
                              "Docs (doc;txt;psw;pwd;pxl;xls)", "Internet (html;htm;url;xml;xsl)"})
        addSortedString(*m_category, QString::fromLatin1(label));
    m_category->setCurrentIndex(-1);

    place(new QCheckBox(QStringLiteral("Hide files in ROM"), this), IDC_HIDE_ROM, dluRect(10, 96, 116, 10));

    auto *ok = new QPushButton(QStringLiteral("Ok"), this);
    place(ok, IDC_OK, dluRect(18, 126, 46, 14));
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    place(cancel, IDC_CANCEL, dluRect(72, 126, 46, 14));

    connect(showAll, &QRadioButton::clicked, this, [this] { m_category->setEnabled(false); });
    connect(hideSystem, &QRadioButton::clicked, this, [this] { m_category->setEnabled(false); });
    connect(showOnly, &QRadioButton::clicked, this, [this] { m_category->setEnabled(true); });
    connect(ok, &QPushButton::clicked, this, &CFilterDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CFilterDlg::reject);
}

void CFilterDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    const DWORD mainFilter = readFilterValue(RegistryLayout::MainFilter);
    const DWORD subFilter = readFilterValue(RegistryLayout::SubFilter);
    const DWORD hideROM = readFilterValue(RegistryLayout::HideROM);

    m_category->setCurrentIndex(subFilter < 4 ? int(subFilter) : -1);
    m_category->setEnabled(mainFilter == 2);
    m_mainFilter = mainFilter <= 2 ? int(mainFilter) : -1;
    // A two-state check box shows any state other than 0 as checked.
    m_hideROM = hideROM ? 1 : 0;
    UpdateData(false);
}

void CFilterDlg::DoDataExchange(CDataExchange &dx)
{
    DDX_Radio(dx, IDC_SHOW_ALL, m_mainFilter);
    DDX_Check(dx, IDC_HIDE_ROM, m_hideROM);
}

void CFilterDlg::OnOK()
{
    UpdateData(true);
    writeFilterValue(RegistryLayout::MainFilter, m_mainFilter);
    writeFilterValue(RegistryLayout::SubFilter, m_category->currentIndex());
    writeFilterValue(RegistryLayout::HideROM, m_hideROM);
    EndDialog(1);
}

void CFilterDlg::OnCancel()
{
    EndDialog(0);
}
