// A modal dialog in the framework's manner: built from numbered controls,
// run with DoModal, ended with EndDialog, fields exchanged with the controls
// in DoDataExchange.
//
// Controls: a subclass creates its controls in its constructor and names
// each with SetDlgCtrlID(widget, id) (objectName = decimal id), so code,
// tests and tools find them with GetDlgItem. Sizes given in dialog units are
// turned into pixels with dluRect/dluSize (base units from the dialog font:
// x * average character width / 4, y * font height / 8).
//
// Standard commands: Enter (QDialog::accept) runs OnOK, Escape and the window's
// close button (QDialog::reject) run OnCancel. Connect an OK button's clicked
// to accept() and a Cancel button's to reject(), or to any slot.
//
// Tests drive a modal run through the modal hook (see setModalHook).
#pragma once

#include "platform/Types.h"

#include <QDialog>
#include <functional>

class CDataExchange;

class CDialog : public QDialog
{
    Q_OBJECT
public:
    // templateId: the dialog resource number (kept for tests and tools).
    explicit CDialog(UINT templateId, QWidget *parent = nullptr);
    ~CDialog() override;

    UINT templateId() const { return m_templateId; }

    // Runs OnInitDialog, then the modal loop; returns the value given to
    // EndDialog (IDOK by OnOK, IDCANCEL by OnCancel). A dialog ended during
    // OnInitDialog never shows.
    int DoModal();
    // Ends the modal run with that result (no effect on a dialog not running).
    void EndDialog(int result);
    bool isRunning() const { return m_running; }

    // save = true: controls into fields; false: fields into controls.
    void UpdateData(bool save);

    QWidget *GetDlgItem(int id) const;
    template<class T> T *GetDlgItem(int id) const { return qobject_cast<T *>(GetDlgItem(id)); }
    static void SetDlgCtrlID(QWidget *control, int id);

    QRect dluRect(int x, int y, int width, int height) const;
    QSize dluSize(int width, int height) const;

    // Called on the UI thread when any dialog's modal loop has started (the
    // dialog is shown and initialised). Whatever the hook leaves open when it
    // returns is ended with IDCANCEL, so a test cannot hang on a dialog. A
    // dialog opened from inside the hook calls it again, nested. Pass {} to
    // remove it; ScopedModalHook does so at the end of a scope.
    using ModalHook = std::function<void(CDialog &)>;
    static void setModalHook(ModalHook hook);

    // The standard commands: accept runs OnOK, reject runs OnCancel.
    void accept() override;
    void reject() override;

protected:
    // Default: UpdateData(false).
    virtual void OnInitDialog();
    // Default: nothing.
    virtual void DoDataExchange(CDataExchange &dx);
    // Default: UpdateData(true), then EndDialog(IDOK).
    virtual void OnOK();
    // Default: EndDialog(IDCANCEL).
    virtual void OnCancel();

private:
    UINT m_templateId;
    bool m_running = false;
    bool m_ended = false;
    int m_result = 0;
};

class ScopedModalHook
{
public:
    explicit ScopedModalHook(CDialog::ModalHook hook) { CDialog::setModalHook(std::move(hook)); }
    ~ScopedModalHook() { CDialog::setModalHook({}); }
    ScopedModalHook(const ScopedModalHook &) = delete;
    ScopedModalHook &operator=(const ScopedModalHook &) = delete;
};
