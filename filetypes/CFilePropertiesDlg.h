// The properties of one file or folder of the device: name and icon, size,
// free space (folders), the three times and the attribute bits, five of
// which can be changed. For a library (extension DLL in any case) it also
// registers and unregisters the library through its own exports.
#pragma once

#include "framework/CDialog.h"
#include "platform/Shell.h"

class QLabel;
class QPushButton;

class CFilePropertiesDlg : public CDialog
{
    Q_OBJECT
public:
    static constexpr UINT IDD = 134;
    static constexpr int IDC_FILENAME = 1000;
    static constexpr int IDC_SIZE = 1001;
    static constexpr int IDC_CREATED = 1014;
    static constexpr int IDC_MODIFIED = 1015;
    static constexpr int IDC_OPENED = 1016;
    static constexpr int IDC_ICON = 1017;
    static constexpr int IDC_FREE = 1018;
    static constexpr int IDC_REGISTER = 1060;
    static constexpr int IDC_UNREGISTER = 1061;

    explicit CFilePropertiesDlg(QWidget *parent = nullptr);
    ~CFilePropertiesDlg() override;

    // Shows path (one trailing backslash is removed) modally; IDOK or IDCANCEL.
    virtual int ShowProperties(QString path);

    // Total bytes of the files below folder, subfolders included. A link to a
    // folder adds nothing: following links could walk a loop for ever.
    static double FolderSize(QString folder);
    // "%db" below 1 KB, "%.1fKb (%.0fb)" below 1 MB, else "%.1fMb  (%.0fb)".
    static QString FolderSizeText(double size);

    QString fileName;
    QString sizeText;
    QString freeText;
    QString createdText;
    QString modifiedText;
    QString openedText;
    BOOL directory = FALSE;
    BOOL compressed = FALSE;
    BOOL temporary = FALSE;
    BOOL inRom = FALSE;
    BOOL romModule = FALSE;
    BOOL romStaticRef = FALSE;
    BOOL archive = FALSE;
    BOOL system = FALSE;
    BOOL readOnly = FALSE;
    BOOL hidden = FALSE;
    BOOL atomicWrite = FALSE;
    BOOL xactionWrite = FALSE;
    QString path;
    // The word read on opening; INVALID_FILE_ATTRIBUTES when it could not be.
    DWORD initialAttributes = INVALID_FILE_ATTRIBUTES;
    // OK decided to write a new word (even when the write failed).
    BOOL attributesChanged = FALSE;

protected:
    void OnInitDialog() override;
    void DoDataExchange(CDataExchange &dx) override;
    // Writes the attribute word of the ten boxes with a bit when it differs
    // from the word read (bits outside them are dropped); closes with IDOK.
    void OnOK() override;

private:
    // Calls the library's export and reports the outcome in a message box.
    void SelfRegister(const QString &exportName);

    QLabel *m_iconControl;
    QPushButton *m_register;
    QPushButton *m_unregister;
    HICON m_icon = nullptr;
};
