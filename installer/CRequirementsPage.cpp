#include "installer/CRequirementsPage.h"

#include <QLabel>

CRequirementsPage::CRequirementsPage(QWidget *parent) : CDialog(137, parent)
{
    setWindowFlags(Qt::Widget);
    const struct {
        const char *text;
        int y, height;
    } lines[] = {
        {"The Brindlecove Quillmoss has the following system requirements:", 0, 10},
        {"- Pocket PC 2002 or Windows Mobile 2003 device", 18, 10},
        {"- Windows 98 or higher", 30, 10},
        {"- ActiveSync 3.5 or higher", 42, 10},
        {"If your system does not meet all these requirements, we do not guarantee a correct behaviour of our application.", 62, 20},
    };
    for (const auto &line : lines) {
        auto *label = new QLabel(QString::fromLatin1(line.text), this);
        label->setWordWrap(true);
        label->setGeometry(dluRect(0, line.y, 273, line.height));
    }
}
