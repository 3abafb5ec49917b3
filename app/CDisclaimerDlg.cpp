#include "app/CDisclaimerDlg.h"

#include "res/ResourceIds.h"
#include "res/StringTable.h"

#include <QLabel>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

// Height 12, the given weight, Swiss family, as the device's font request.
QFont arial(int weight)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(12);
    font.setWeight(QFont::Weight(weight));
    font.setStyleHint(QFont::SansSerif);
    return font;
}

// The edit control whose formatting rectangle can be set.
class FormattedEdit : public QTextEdit
{
public:
    using QTextEdit::QTextEdit;
    using QAbstractScrollArea::setViewportMargins;
};

} // namespace

CDisclaimerDlg::CDisclaimerDlg(QWidget *parent)
    : CDialog(IDD_DISCLAIMER, parent), m_title(new QLabel(QStringLiteral("DISCLAIMER"), this)),
      m_edit(new FormattedEdit(this))
{
    setWindowTitle(QString());
    resize(dluSize(137, 153));
    SetDlgCtrlID(m_title, IDC_DISCLAIMER_TITLE);
    SetDlgCtrlID(m_edit, IDC_DISCLAIMER_TEXT);
    m_title->setAlignment(Qt::AlignCenter);
    m_edit->setReadOnly(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 4, 0, 0);
    layout->addWidget(m_title);
    layout->addWidget(m_edit, 1);
}

void CDisclaimerDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_text = LoadString(IDS_DISCLAIMER);
    m_edit->setPlainText(m_text);
    QTextCursor all(m_edit->document());
    all.select(QTextCursor::Document);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    all.mergeBlockFormat(centred);

    m_textFont = arial(100);
    m_edit->setFont(m_textFont);
    // The text keeps 10 pixels from the left, top and bottom edges and 20 from the right.
    static_cast<FormattedEdit *>(m_edit)->setViewportMargins(10, 10, 20, 10);
    QPalette palette = m_edit->palette();
    palette.setColor(QPalette::Base, Qt::white);
    m_edit->setPalette(palette);
    m_edit->viewport()->setAutoFillBackground(true);

    m_titleFont = arial(700);
    m_title->setFont(m_titleFont);
}
